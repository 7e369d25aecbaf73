// SPDX-License-Identifier: MIT
// `beugwerk lookup [--ortho X] [--json] WORDS...`: the verbs a form belongs to, one line a verb
// ("gehen: Präteritum Indikativ, 1. und 3. Person Singular (ich ging, er ging)"), or the JSON
// list. `beugwerk lookup [--jobs N] -`: one form a line from standard input, one JSON line a
// form to standard output, in input order. Exit 0 when something was found, 1 when nothing was
// found or the input cannot be a form (its message on standard error), 2 for a usage error.
#include <atomic>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/CommandLine.h"
#include "common/_ZT_cmn_A.h"
#include "generator/Lookup.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"

namespace {

constexpr std::string_view kUsage =
    "beugwerk lookup [--ortho neu|alt|ch] [--verb-lists PATH] [--json] WORDS... | [--jobs N] -";
constexpr std::size_t kBatch = 4096;

int Usage(std::string_view message) {
  return UsageError("lookup", message, kUsage);
}

// Bytes of a line as text: UTF-8 when valid, else Windows-1252, as the page reads a query.
std::u16string LineText(const std::string& line) {
  std::u16string text;
  if (!DecodeQueryText(line, text)) text = Latin1ToUni(line);
  return text;
}

int RunStream(TOrthoTyp ortho, int jobs) {
  bool found = false;
  std::vector<std::string> lines, out;
  std::string line;
  bool more = true;
  while (more) {
    lines.clear();
    while (lines.size() < kBatch && (more = static_cast<bool>(std::getline(std::cin, line)))) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    out.assign(lines.size(), {});
    std::atomic<std::size_t> next{0};
    std::atomic<bool> any{false};
    auto work = [&] {
      for (std::size_t i; (i = next++) < lines.size();) {
        const TLookupResult r = LookupForm(LineText(lines[i]), ortho);
        if (!r.hits.empty()) any = true;
        out[i] = LookupResultJson(r);
      }
    };
    std::vector<std::thread> pool;
    for (int j = 1; j < jobs; ++j) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    for (const std::string& o : out) std::cout << o << '\n';
    found = found || any;
  }
  std::cout.flush();
  return found ? kExitDone : kExitRejected;
}

}  // namespace

int RunLookup(const TGlobalOptions& o, const std::vector<std::string>& args) {
  int jobs = 1;
  bool stream = false;
  std::string words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (const int rc = TakeJobsOption("lookup", kUsage, args, i, jobs); rc >= 0) {
      if (rc != 0) return rc;
    } else if (a == "-") {
      stream = true;
    } else if (a.starts_with("-") && a.size() > 1) {
      return Usage("unknown option " + std::string(a));
    } else {
      if (!words.empty()) words += ' ';
      words += a;
    }
  }
  if (stream && !words.empty()) return Usage("either WORDS or -, not both");
  if (!stream && words.empty()) return Usage("no WORDS given");
  if (!stream && jobs != 1) return Usage("--jobs only with -");
  if (int rc = UseVerbLists(o, "lookup")) return rc;
  try {
    if (stream) return RunStream(o.ortho, jobs);
    const TLookupResult r = LookupForm(Utf8ToUni(words), o.ortho);
    if (o.json) {
      std::cout << LookupResultJson(r) << "\n";
    } else if (!r.error.empty()) {
      std::cerr << "beugwerk lookup: " << UniToUtf8(r.error) << "\n";
    } else if (r.hits.empty()) {
      std::cerr << "beugwerk lookup: „" << UniToUtf8(r.input) << "“ ist keine Form eines Verbs.\n";
    }
    if (!r.error.empty()) return kExitRejected;
    if (!o.json)
      for (const TLookupHit& h : r.hits) std::cout << UniToUtf8(LookupLine(h)) << "\n";
    return r.hits.empty() ? kExitRejected : kExitDone;
  } catch (const std::exception& e) {
    return FileError("lookup", e.what());
  }
}
