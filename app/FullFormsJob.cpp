// SPDX-License-Identifier: MIT
#include "app/FullFormsJob.h"

#include <pthread.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "app/FullFormsJson.h"

namespace {

using TFailure = TFullFormsResult::TFailure;

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

// 0 when read, else errno.
int ReadInput(const std::filesystem::path& file, std::string& bytes) {
  if (file == "-") return ReadAll(stdin, bytes) ? 0 : (errno != 0 ? errno : EIO);
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return errno;
  const bool ok = ReadAll(f, bytes);
  const int error = errno;
  std::fclose(f);
  return ok ? 0 : (error != 0 ? error : EIO);
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

// The lines that become records, for the share of a progress report.
int RecordLines(const std::string& bytes) {
  int n = 0;
  std::string line;
  for (std::size_t from = 0; from < bytes.size();) {
    const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
    line.assign(bytes, from, end - from);
    n += CleanListLine(line);
    from = end + 1;
  }
  return n;
}

// The records into out; the output keeps what was written before a failure.
int WriteRecords(const TFullFormsJob& job, std::string bytes, std::ostream& out,
                 const TFullFormsJobProgress& progress) {
  TFullFormsRun run;
  run.inputUtf8 = IsUtf8List(bytes);
  run.jobs = job.jobs;
  if (progress) {
    const double total = std::max(1, RecordLines(bytes));
    run.afterRecord = [&progress, total](int n) { progress(n, std::min(1.0, n / total)); };
  }
  if (job.json) {
    // JSON Lines are UTF-8 already.
    TVerbGenerator g;
    g.Verb.SetOrthoTyp(job.ortho);
    run.makeProducer = JsonRecordMaker(job.ortho);
    return WriteFullForms(JsonRecords(g), std::move(bytes), out, run);
  }
  run.outputUtf8 = job.outputUtf8;
  // Each further thread owns its verb object through its producer.
  run.makeProducer = [ortho = job.ortho] {
    auto v = std::make_shared<TVerbGen>();
    PrepareVerb(*v, ortho);
    return TRecordProducer([v](const std::string& line) { return FullFormRecord(*v, line); });
  };
  std::unique_ptr<TVerbGen> own;
  TVerbGen* verb = job.verb;
  if (verb == nullptr) {
    own = std::make_unique<TVerbGen>();
    PrepareVerb(*own, job.ortho);
    verb = own.get();
  }
  return WriteFullForms(TxfRecords(*verb), std::move(bytes), out, run);
}

}  // namespace

TFullFormsResult RunFullFormsFile(const TFullFormsJob& job, const TFullFormsJobProgress& progress) {
  TFullFormsResult r;
  const bool toStdout = job.input == "-";
  r.output = toStdout   ? std::filesystem::path("-")
             : job.json ? FullFormsJsonPath(job.input)
                        : FullFormsOutputPath(job.input);
  const auto fail = [&r](TFailure failure, const std::filesystem::path& path, int error) {
    r.failure = failure;
    r.failedPath = path;
    r.systemError = error;
    return r;
  };
  std::string bytes;
  if (const int error = ReadInput(job.input, bytes)) return fail(TFailure::read, job.input, error);
  std::error_code ec;
  // An input already named ".txf" would be overwritten by its own list.
  if (!toStdout && std::filesystem::equivalent(job.input, r.output, ec))
    return fail(TFailure::sameFile, job.input, 0);
  try {
    if (toStdout) {
      r.count = WriteRecords(job, std::move(bytes), std::cout, progress);
      return r;
    }
    const TOldOutputRemoval removal(r.output);
    std::ofstream out(r.output, std::ios::binary | std::ios::trunc);
    if (!out) return fail(TFailure::write, r.output, errno);
    r.count = WriteRecords(job, std::move(bytes), out, progress);
    out.close();
    if (!out) return fail(TFailure::write, r.output, errno);
  } catch (const EFullFormsIoError& e) {
    return fail(TFailure::write, r.output, e.SystemError);
  }
  return r;
}
