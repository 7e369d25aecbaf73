// SPDX-License-Identifier: MIT
// `beugwerk fullforms [--ortho neu|alt|ch] [--utf8] [--json] [--jobs N] FILE`: writes the
// full-form list of an infinitive list into FILE with the extension ".txf" ("-": standard
// input to standard output), the records on N threads (default 1); with --json one
// conjugation object a line into FILE.jsonl. Parses its arguments and prints; the job is
// app/FullFormsJob's. Exits 0 once the list is written (a line the
// engine cannot analyse is marked in its record), 3 when a file cannot be read or written.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/FullFormsJob.h"
#include "cli/CommandLine.h"
#include "common/ZT.Files.h"
#include "engine/_ZTVerbLists.h"

namespace {

struct TFullFormsArgs {
  TOrthoTyp ortho = NeuOrtho;
  bool utf8 = false;
  bool json = false;
  int jobs = 1;
  std::string file;
};

constexpr std::string_view kUsage =
    "beugwerk fullforms [--ortho neu|alt|ch] [--verb-lists PATH] [--utf8] [--json] [--jobs N] FILE";

int Usage(std::string_view message) {
  return UsageError("fullforms", message, kUsage);
}

// 0 when parsed, else the exit code of the usage error already reported.
int ParseArgs(const std::vector<std::string>& args, TFullFormsArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (const int rc = TakeJobsOption("fullforms", kUsage, args, i, out.jobs); rc >= 0) {
      if (rc != 0) return rc;
    } else if (a.starts_with("-") && a.size() > 1) {
      return Usage("unknown option " + std::string(a));
    } else if (out.file.empty()) {
      out.file = a;
    } else {
      return Usage("only one FILE");
    }
  }
  return out.file.empty() ? Usage("no FILE given") : 0;
}

int Failure(std::string_view what, int systemError) {
  return FileError("fullforms", std::string(what) + ": " + SystemErrorText(systemError));
}

int Run(const TFullFormsArgs& a) {
  TFullFormsJob job;
  job.input = a.file;
  job.ortho = a.ortho;
  job.outputUtf8 = a.utf8;
  job.json = a.json;
  job.jobs = a.jobs;
  const TFullFormsResult r = RunFullFormsFile(job);
  switch (r.failure) {
    case TFullFormsResult::TFailure::none:
      break;
    case TFullFormsResult::TFailure::sameFile:
      return FileError("fullforms", a.file + ": Eingabe und Ausgabe sind dieselbe Datei");
    case TFullFormsResult::TFailure::read:
    case TFullFormsResult::TFailure::write:
      return Failure(r.failedPath.string(), r.systemError);
  }
  if (r.output == "-")
    std::cerr << FullFormsMessage(r.count, "") << "\n";
  else
    std::cout << FullFormsMessage(r.count, r.output.string()) << "\n";
  return 0;
}

}  // namespace

int RunFullForms(const TGlobalOptions& o, const std::vector<std::string>& args) {
  TFullFormsArgs a;
  if (int rc = ParseArgs(args, a)) return rc;
  a.ortho = o.ortho;
  a.utf8 = o.utf8;
  a.json = o.json;
  if (int rc = UseVerbLists(o, "fullforms")) return rc;
  try {
    return Run(a);
  } catch (const std::exception& e) {
    return FileError("fullforms", e.what());
  }
}
