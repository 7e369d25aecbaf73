// SPDX-License-Identifier: MIT
// Writing a full-form list: line by line on the caller's verb object, or on several threads
// that each make the records of blocks of lines while the calling thread writes the blocks
// in list order.
#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <exception>
#include <istream>
#include <memory>
#include <mutex>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "app/FullForms.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// A flush per record cost a write call per verb; this much is written at once instead.
constexpr std::size_t kFlushBytes = std::size_t{1} << 16;
// Lines per block of work, and how many blocks may wait ahead of the writer per thread.
constexpr std::size_t kBlockLines = 32;
constexpr std::size_t kBlocksAheadPerJob = 4;

void CheckStream(const std::ios& stream, const char* message) {
  if (stream.bad() || (stream.fail() && !stream.eof())) {
    throw EFullFormsIoError(message, errno);
  }
}

// The next infinitive of the list in 8-bit text; false at the end of the input.
class TListReader {
 public:
  TListReader(std::istream& in, bool utf8) : in_(in), utf8_(utf8) {}
  bool Next(std::string& line) {
    while (std::getline(in_, line)) {
      if (utf8_) {
        if (first_ && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
        line = Utf8ToLatin1(line);
      }
      first_ = false;
      if (CleanListLine(line)) return true;
    }
    CheckStream(in_, "Die Liste kann nicht gelesen werden.");
    return false;
  }

 private:
  std::istream& in_;
  bool utf8_;
  bool first_ = true;
};

class TOutput {
 public:
  TOutput(std::ostream& out, bool utf8) : out_(out), utf8_(utf8) {}
  void Write(const std::string& bytes) {
    if (utf8_)
      out_ << Latin1ToUtf8(bytes);
    else
      out_ << bytes;
    pending_ += bytes.size();
    if (pending_ >= kFlushBytes) Flush();
    CheckStream(out_, "Die Ausgabe kann nicht geschrieben werden.");
  }
  void Flush() {
    out_.flush();
    pending_ = 0;
    CheckStream(out_, "Die Ausgabe kann nicht geschrieben werden.");
  }

 private:
  std::ostream& out_;
  bool utf8_;
  std::size_t pending_ = 0;
};

// One record with the verb lists held for all of its forms: the forms' own read locks then
// only count up, and a reload waits for the record instead of falling between two forms.
std::string MakeRecord(const TRecordProducer& produce, const std::string& line) {
  TVerbListsReadLock lock;
  return produce(line);
}

int WriteOnOneThread(const TRecordProducer& produce, TListReader& list, TOutput& out,
                     const TFullFormsRun& run) {
  int count = 0;
  std::string line;
  while (list.Next(line)) {
    ++count;
    out.Write(MakeRecord(produce, line));
    if (run.afterRecord) run.afterRecord(count);
  }
  out.Flush();
  return count;
}

// The blocks of the list, made by the workers in any order and handed to the writer in order.
class TBlockQueue {
 public:
  TBlockQueue(const std::vector<std::string>& lines, std::size_t jobs)
      : lines_(lines),
        blocks_((lines.size() + kBlockLines - 1) / kBlockLines),
        ahead_(jobs * kBlocksAheadPerJob) {}

  // The next block to make, waiting while too many wait for the writer; false when none.
  bool Take(std::size_t& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock,
                  [&] { return stop_ || next_ >= blocks_.size() || next_ < written_ + ahead_; });
    if (stop_ || next_ >= blocks_.size()) return false;
    block = next_++;
    return true;
  }
  void Make(std::size_t block, const TRecordProducer& produce) {
    std::string bytes;
    const std::size_t end = std::min(lines_.size(), (block + 1) * kBlockLines);
    for (std::size_t i = block * kBlockLines; i < end; ++i) bytes += MakeRecord(produce, lines_[i]);
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_[block].bytes = std::move(bytes);
    blocks_[block].done = true;
    changed_.notify_all();
  }
  // The bytes of the next block in order, waiting until it is made; false once stopped.
  bool NextInOrder(std::string& bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || blocks_[written_].done; });
    if (stop_) return false;
    // Taken out whole: a move assignment would leave the writer's old buffer in the block.
    bytes = std::exchange(blocks_[written_].bytes, std::string());
    ++written_;
    changed_.notify_all();
    return true;
  }
  std::size_t Blocks() const { return blocks_.size(); }
  void Stop(std::exception_ptr error = nullptr) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (error && !error_) error_ = error;
    stop_ = true;
    changed_.notify_all();
  }
  std::exception_ptr Error() {
    std::lock_guard<std::mutex> lock(mutex_);
    return error_;
  }

 private:
  struct TBlock {
    std::string bytes;
    bool done = false;
  };
  const std::vector<std::string>& lines_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TBlock> blocks_;
  std::size_t ahead_;
  std::size_t next_ = 0;
  std::size_t written_ = 0;
  bool stop_ = false;
  std::exception_ptr error_;
};

void Work(TBlockQueue& queue, const TRecordProducer& produce) {
  try {
    for (std::size_t block; queue.Take(block);) queue.Make(block, produce);
  } catch (...) {
    queue.Stop(std::current_exception());
  }
}

int WriteOnThreads(const TRecordProducer& produce, TListReader& list, TOutput& out,
                   const TFullFormsRun& run) {
  std::vector<std::string> lines;
  for (std::string line; list.Next(line);) lines.push_back(std::move(line));
  std::vector<TRecordProducer> others;
  for (int j = 1; j < run.jobs; ++j) others.push_back(run.makeProducer());
  TBlockQueue queue(lines, static_cast<std::size_t>(run.jobs));
  std::vector<std::thread> threads;
  threads.emplace_back(Work, std::ref(queue), std::cref(produce));
  for (const TRecordProducer& p : others) threads.emplace_back(Work, std::ref(queue), std::cref(p));
  std::exception_ptr writeError;
  try {
    std::string bytes;
    for (std::size_t b = 0; b < queue.Blocks() && queue.NextInOrder(bytes); ++b) {
      out.Write(bytes);
      if (run.afterRecord)
        run.afterRecord(static_cast<int>(std::min(lines.size(), (b + 1) * kBlockLines)));
    }
    out.Flush();
  } catch (...) {
    writeError = std::current_exception();
  }
  queue.Stop();
  for (std::thread& t : threads) t.join();
  if (writeError) std::rethrow_exception(writeError);
  if (std::exception_ptr e = queue.Error()) std::rethrow_exception(e);
  if (!lines.empty()) MakeRecord(produce, lines.back());
  return static_cast<int>(lines.size());
}

}  // namespace

int WriteFullForms(const TRecordProducer& produce, std::istream& in, std::ostream& out,
                   const TFullFormsRun& run) {
  TListReader list(in, run.inputUtf8);
  TOutput output(out, run.outputUtf8);
  if (run.jobs <= 1 || !run.makeProducer) return WriteOnOneThread(produce, list, output, run);
  return WriteOnThreads(produce, list, output, run);
}

int WriteFullForms(TVerbGen& verb, std::istream& in, std::ostream& out, bool inputUtf8,
                   bool outputUtf8, const TFullFormsProgress& afterRecord) {
  TFullFormsRun run;
  run.inputUtf8 = inputUtf8;
  run.outputUtf8 = outputUtf8;
  run.afterRecord = afterRecord;
  return WriteFullForms(TxfRecords(verb), in, out, run);
}
