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
#include <string>
#include <string_view>
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
constexpr std::size_t kBlockLines = 64;
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

// Gathers the records and hands them to the stream 64 KiB at a time: a file stream's own
// buffer is a few KiB, and every record larger than what was left of it cost a write call.
class TOutput {
 public:
  TOutput(std::ostream& out, bool utf8) : out_(out), utf8_(utf8) { buffer_.reserve(2 * kFlushBytes); }
  // What was gathered before a failure still reaches the stream.
  ~TOutput() {
    if (!buffer_.empty()) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  }
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;
  bool Utf8() const { return utf8_; }
  // Records in 8-bit text, converted here when the output is UTF-8.
  void Write(const std::string& bytes) {
    if (utf8_)
      WriteEncoded(Latin1ToUtf8(bytes));
    else
      WriteEncoded(bytes);
  }
  // Records already in the output's encoding.
  void WriteEncoded(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kFlushBytes) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
    out_.flush();
    CheckStream(out_, "Die Ausgabe kann nicht geschrieben werden.");
  }

 private:
  std::ostream& out_;
  bool utf8_;
  std::string buffer_;
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

// The blocks of the list, made by the workers and the writer in any order and handed to the
// writer in order, already in the output's encoding (so the writer, whose work cannot be
// shared, only writes).
class TBlockQueue {
 public:
  TBlockQueue(const std::vector<std::string>& lines, std::size_t jobs, bool utf8)
      : lines_(lines),
        utf8_(utf8),
        blocks_((lines.size() + kBlockLines - 1) / kBlockLines),
        ahead_(jobs * kBlocksAheadPerJob) {}

  // The next block to make, waiting while too many wait for the writer; false when none.
  bool Take(std::size_t& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return stop_ || next_ >= blocks_.size() || CanTake(); });
    if (stop_ || next_ >= blocks_.size()) return false;
    block = next_++;
    return true;
  }
  void Make(std::size_t block, const TRecordProducer& produce) {
    std::string bytes;
    const std::size_t end = std::min(lines_.size(), (block + 1) * kBlockLines);
    for (std::size_t i = block * kBlockLines; i < end; ++i) bytes += MakeRecord(produce, lines_[i]);
    if (utf8_) bytes = Latin1ToUtf8(bytes);
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_[block].bytes = std::move(bytes);
    blocks_[block].done = true;
    // Only the writer waits for a made block; the workers wait for written ones.
    if (block == written_) writerWaits_.notify_one();
  }
  // The writer's turn: the bytes of the next block in order when they are made, else a block
  // to make itself while it would only wait; false once stopped.
  enum class TTurn { Write, Make, Stopped };
  TTurn WriterTurn(std::string& bytes, std::size_t& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    writerWaits_.wait(lock, [&] {
      return stop_ || blocks_[written_].done || (next_ < blocks_.size() && CanTake());
    });
    if (stop_) return TTurn::Stopped;
    if (!blocks_[written_].done) {
      block = next_++;
      return TTurn::Make;
    }
    // Taken out whole: a move assignment would leave the writer's old buffer in the block.
    bytes = std::exchange(blocks_[written_].bytes, std::string());
    ++written_;
    changed_.notify_all();
    return TTurn::Write;
  }
  std::size_t Blocks() const { return blocks_.size(); }
  void Stop(std::exception_ptr error = nullptr) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (error && !error_) error_ = error;
    stop_ = true;
    changed_.notify_all();
    writerWaits_.notify_all();
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
  bool CanTake() const { return next_ < written_ + ahead_; }
  const std::vector<std::string>& lines_;
  bool utf8_;
  std::mutex mutex_;
  std::condition_variable changed_;      // a block was written, or the run stopped
  std::condition_variable writerWaits_;  // the block the writer needs was made, or stopped
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

// The calling thread writes and, while the next block in order is not made yet, makes blocks
// with the caller's producer: jobs threads in all, none of them only waiting.
int WriteOnThreads(const TRecordProducer& produce, TListReader& list, TOutput& out,
                   const TFullFormsRun& run) {
  std::vector<std::string> lines;
  for (std::string line; list.Next(line);) lines.push_back(std::move(line));
  std::vector<TRecordProducer> others;
  for (int j = 1; j < run.jobs; ++j) others.push_back(run.makeProducer());
  TBlockQueue queue(lines, static_cast<std::size_t>(run.jobs), out.Utf8());
  std::vector<std::thread> threads;
  for (const TRecordProducer& p : others) threads.emplace_back(Work, std::ref(queue), std::cref(p));
  std::exception_ptr writeError;
  try {
    std::string bytes;
    std::size_t block = 0;
    for (std::size_t written = 0; written < queue.Blocks();) {
      const TBlockQueue::TTurn turn = queue.WriterTurn(bytes, block);
      if (turn == TBlockQueue::TTurn::Stopped) break;
      if (turn == TBlockQueue::TTurn::Make) {
        queue.Make(block, produce);
        continue;
      }
      out.WriteEncoded(bytes);
      ++written;
      if (run.afterRecord)
        run.afterRecord(static_cast<int>(std::min(lines.size(), written * kBlockLines)));
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
