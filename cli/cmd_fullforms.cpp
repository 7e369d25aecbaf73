// SPDX-License-Identifier: MIT
// `beugwerk fullforms [--ortho neu|alt|ch] [--utf8] [--json] [--jobs N] FILE`: writes the
// full-form list of an infinitive list into FILE with the extension ".txf" ("-": standard
// input to standard output), the records on N threads (default 1); with --json one
// conjugation object a line into FILE.jsonl. Opens the files and prints; the records come
// from app/FullForms and app/FullFormsJson. Exits 0 once the list is written (a line the
// engine cannot analyse is marked in its record), 3 when a file cannot be read or written.
#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "app/FullForms.h"
#include "app/FullFormsJson.h"
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

// More threads than this only wait for each other.
constexpr int kMaxJobs = 64;

int Usage(std::string_view message) {
  return UsageError("fullforms", message,
                    "beugwerk fullforms [--ortho neu|alt|ch] [--verb-lists PATH] [--utf8] [--json] "
                    "[--jobs N] FILE");
}

bool ParseJobs(std::string_view text, int& jobs) {
  if (text.empty() || text.size() > 2) return false;
  int n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < 1 || n > kMaxJobs) return false;
  jobs = n;
  return true;
}

// 0 when parsed, else the exit code of the usage error already reported.
int ParseArgs(const std::vector<std::string>& args, TFullFormsArgs& out) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (a == "--jobs" || a.starts_with("--jobs=")) {
      std::string_view n = a.substr(6);
      if (a == "--jobs") {
        if (++i == args.size()) return Usage("--jobs needs a number from 1 to 64");
        n = args[i];
      } else {
        n.remove_prefix(1);
      }
      if (!ParseJobs(n, out.jobs)) return Usage("--jobs needs a number from 1 to 64");
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

// The whole list: its encoding is decided on all of its bytes.
bool ReadAll(std::FILE* f, std::string& bytes) {
  // A file's size is known: room at once, instead of a copy and new pages at every doubling.
  struct stat st {};
  if (::fstat(::fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
    bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  return !std::ferror(f);
}

int ReadInput(const std::string& file, std::string& bytes) {
  if (file == "-") return ReadAll(stdin, bytes) ? 0 : Failure("-", errno);
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return Failure(file, errno);
  const bool ok = ReadAll(f, bytes);
  const int error = errno;
  std::fclose(f);
  return ok ? 0 : Failure(file, error);
}

// An old list is replaced by a new file instead of being cut to nothing and written again:
// ext4 pushes a file truncated that way to disk when it is closed, which cost a tenth of a
// run over the development verbs. Removing a large file takes milliseconds of its own, so it
// is renamed aside at once and removed on another thread while the records are made. Only a
// plain file of one link that we may write: a link, a shared or a read-only file is opened as
// before (and a read-only one refused).
class TOldOutputRemoval {
 public:
  explicit TOldOutputRemoval(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(fs::symlink_status(path, ec)) || ec) return;
    if (fs::hard_link_count(path, ec) != 1 || ec) return;
    if (::access(path.c_str(), W_OK) != 0) return;
    fs::path aside = path;
    aside += ".beugwerk-old-" + std::to_string(::getpid());
    fs::rename(path, aside, ec);
    if (ec) return;
    remover_ = std::thread([aside] {
      // Only on a core nothing else wants: a worker started meanwhile takes its place.
      sched_param idle{};
      pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
      std::error_code ignored;
      std::filesystem::remove(aside, ignored);
    });
  }
  ~TOldOutputRemoval() {
    if (remover_.joinable()) remover_.join();
  }
  TOldOutputRemoval(const TOldOutputRemoval&) = delete;
  TOldOutputRemoval& operator=(const TOldOutputRemoval&) = delete;

 private:
  std::thread remover_;
};

void PrepareVerb(TVerbGen& verb, TOrthoTyp ortho) {
  verb.SetOrthoTyp(ortho);
  // As in the window: analysis messages are kept, never shown.
  verb.SetOnErrMsg([&verb](const std::u16string& m) { verb.StoreErrMsg(m); });
}

// Writes the records (.txf, or JSON Lines with --json); the output keeps what was written
// before a failure.
int WriteRecords(const TFullFormsArgs& a, std::string bytes, std::ostream& out,
                 const std::string& outName, int& count) {
  const bool utf8 = IsUtf8List(bytes);
  try {
    if (a.json) {
      TVerbGenerator g;
      g.Verb.SetOrthoTyp(a.ortho);
      TFullFormsRun run;
      run.inputUtf8 = utf8;
      run.jobs = a.jobs;
      run.makeProducer = JsonRecordMaker(a.ortho);
      count = WriteFullForms(JsonRecords(g), std::move(bytes), out, run);
    } else {
      TVerbGen verb;
      PrepareVerb(verb, a.ortho);
      TFullFormsRun run;
      run.inputUtf8 = utf8;
      run.outputUtf8 = a.utf8;
      run.jobs = a.jobs;
      // Each further thread owns its verb object through its producer.
      run.makeProducer = [ortho = a.ortho] {
        auto v = std::make_shared<TVerbGen>();
        PrepareVerb(*v, ortho);
        return TRecordProducer([v](const std::string& line) { return FullFormRecord(*v, line); });
      };
      count = WriteFullForms(TxfRecords(verb), std::move(bytes), out, run);
    }
  } catch (const EFullFormsIoError& e) {
    return Failure(outName, e.SystemError);
  }
  return 0;
}

int Run(const TFullFormsArgs& a) {
  std::string bytes;
  if (int rc = ReadInput(a.file, bytes)) return rc;
  const bool toStdout = a.file == "-";
  const std::filesystem::path outPath = toStdout ? "-"
                                        : a.json ? FullFormsJsonPath(a.file)
                                                 : FullFormsOutputPath(a.file);
  std::error_code ec;
  // An input already named ".txf" would be overwritten by its own list.
  if (!toStdout && std::filesystem::equivalent(a.file, outPath, ec))
    return FileError("fullforms", a.file + ": Eingabe und Ausgabe sind dieselbe Datei");
  int count = 0;
  if (toStdout) {
    if (int rc = WriteRecords(a, std::move(bytes), std::cout, "-", count)) return rc;
    std::cerr << FullFormsMessage(count, "") << "\n";
    return 0;
  }
  const TOldOutputRemoval removal(outPath);
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  if (!out) return Failure(outPath.string(), errno);
  if (int rc = WriteRecords(a, std::move(bytes), out, outPath.string(), count)) return rc;
  out.close();
  if (!out) return Failure(outPath.string(), errno);
  std::cout << FullFormsMessage(count, outPath.string()) << "\n";
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
