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
#include <sstream>
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
constexpr std::size_t kBlockLines = 128;
constexpr std::size_t kBlocksAheadPerJob = 4;

void CheckStream(const std::ios& stream, const char* message) {
  if (stream.bad() || (stream.fail() && !stream.eof())) {
    throw EFullFormsIoError(message, errno);
  }
}

// The rest of the input.
std::string ReadList(std::istream& in) {
  std::ostringstream text;
  if (in.peek() != std::istream::traits_type::eof()) text << in.rdbuf();
  CheckStream(in, "Die Liste kann nicht gelesen werden.");
  return std::move(text).str();
}

// The next line of text from position from on, as std::getline gives it; false at the end.
bool NextLine(std::string_view text, std::size_t& from, std::string_view& line) {
  if (from >= text.size()) return false;
  const std::size_t end = std::min(text.find('\n', from), text.size());
  line = text.substr(from, end - from);
  from = end + 1;
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  lines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::size_t from = 0;
  for (std::string_view line; NextLine(text, from, line);) lines.push_back(line);
  return lines;
}

// A record (8-bit text) in the output's encoding, appended.
void AppendRecord(std::string& out, std::string_view record, bool utf8) {
  if (utf8)
    AppendLatin1AsUtf8(out, record);
  else
    out.append(record);
}

// Gathers the records and hands them to the stream 64 KiB at a time: a file stream's own
// buffer is a few KiB, and every record larger than what was left of it cost a write call.
class TOutput {
 public:
  TOutput(std::ostream& out, bool utf8) : out_(out), utf8_(utf8) {
    buffer_.reserve(2 * kFlushBytes);
  }
  // What was gathered before a failure still reaches the stream.
  ~TOutput() {
    if (!buffer_.empty()) out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  }
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;
  bool Utf8() const { return utf8_; }
  // A record in 8-bit text.
  void Write(std::string_view record) {
    AppendRecord(buffer_, record, utf8_);
    if (buffer_.size() >= kFlushBytes) Flush();
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

// The list in 8-bit text, line by line as std::getline gives them.
int WriteOnOneThread(const TRecordProducer& produce, std::string_view list, TOutput& out,
                     const TFullFormsRun& run) {
  int count = 0;
  std::string line;
  std::size_t from = 0;
  for (std::string_view raw; NextLine(list, from, raw);) {
    line.assign(raw);
    if (!CleanListLine(line)) continue;
    ++count;
    out.Write(MakeRecord(produce, line));
    if (run.afterRecord) run.afterRecord(count);
  }
  out.Flush();
  return count;
}

// The blocks of the list, made by the workers and the writer in any order and handed to the
// writer in order. A block is a run of the list's lines as read: each maker converts and
// cleans its own lines and gives the records in the output's encoding, so the writer, whose
// work cannot be shared, only reads the list and writes.
class TBlockQueue {
 public:
  TBlockQueue(const std::vector<std::string_view>& lines, std::size_t jobs, bool utf8In,
              bool utf8Out)
      : lines_(lines),
        utf8In_(utf8In),
        utf8Out_(utf8Out),
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
    std::string bytes = TakeSpare();
    int records = 0;
    const std::size_t start = block * kBlockLines;
    const std::size_t end = std::min(lines_.size(), start + kBlockLines);
    // The block's lines stand together in the list: converted in one piece, which keeps
    // their line breaks.
    const char* first = lines_[start].data();
    const std::string_view raw(first, lines_[end - 1].data() + lines_[end - 1].size() - first);
    const std::string text = utf8In_ ? Utf8ToLatin1(raw) : std::string(raw);
    std::string line;
    std::size_t from = 0;
    for (std::string_view piece; NextLine(text, from, piece);) {
      line.assign(piece);
      if (!CleanListLine(line)) continue;
      ++records;
      AppendRecord(bytes, MakeRecord(produce, line), utf8Out_);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    blocks_[block].bytes = std::move(bytes);
    blocks_[block].records = records;
    blocks_[block].done = true;
    // Only the writer waits for a made block; the workers wait for written ones.
    if (block == written_) writerWaits_.notify_one();
  }
  // The writer's turn: the bytes and record count of the next block in order when they are
  // made, else a block to make itself while it would only wait; Stopped once stopped.
  enum class TTurn { Write, Make, Stopped };
  TTurn WriterTurn(std::string& bytes, int& records, std::size_t& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    writerWaits_.wait(lock, [&] {
      return stop_ || blocks_[written_].done || (next_ < blocks_.size() && CanTake());
    });
    if (stop_) return TTurn::Stopped;
    if (!blocks_[written_].done) {
      block = next_++;
      return TTurn::Make;
    }
    // The writer's last buffer goes back for a block still to make: a block's buffer is big
    // enough to come from fresh pages of its own, page faults every time.
    if (bytes.capacity() > 0 && next_ < blocks_.size()) {
      bytes.clear();
      spare_.push_back(std::move(bytes));
    }
    bytes = std::exchange(blocks_[written_].bytes, std::string());
    records = blocks_[written_].records;
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
    int records = 0;
    bool done = false;
  };
  bool CanTake() const { return next_ < written_ + ahead_; }
  std::string TakeSpare() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (spare_.empty()) return {};
    std::string s = std::move(spare_.back());
    spare_.pop_back();
    return s;
  }
  const std::vector<std::string_view>& lines_;
  bool utf8In_;
  bool utf8Out_;
  std::mutex mutex_;
  std::condition_variable changed_;      // a block was written, or the run stopped
  std::condition_variable writerWaits_;  // the block the writer needs was made, or stopped
  std::vector<TBlock> blocks_;
  std::vector<std::string> spare_;  // emptied buffers of written blocks
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
int WriteOnThreads(const TRecordProducer& produce, std::string_view list, TOutput& out,
                   const TFullFormsRun& run) {
  const std::vector<std::string_view> lines = SplitLines(list);
  std::vector<TRecordProducer> others;
  for (int j = 1; j < run.jobs; ++j) others.push_back(run.makeProducer());
  TBlockQueue queue(lines, static_cast<std::size_t>(run.jobs), run.inputUtf8, out.Utf8());
  std::vector<std::thread> threads;
  for (const TRecordProducer& p : others) threads.emplace_back(Work, std::ref(queue), std::cref(p));
  int count = 0;
  std::exception_ptr writeError;
  try {
    std::string bytes;
    int records = 0;
    std::size_t block = 0;
    for (std::size_t written = 0; written < queue.Blocks();) {
      const TBlockQueue::TTurn turn = queue.WriterTurn(bytes, records, block);
      if (turn == TBlockQueue::TTurn::Stopped) break;
      if (turn == TBlockQueue::TTurn::Make) {
        queue.Make(block, produce);
        continue;
      }
      out.WriteEncoded(bytes);
      ++written;
      count += records;
      if (run.afterRecord) run.afterRecord(count);
    }
    out.Flush();
  } catch (...) {
    writeError = std::current_exception();
  }
  queue.Stop();
  for (std::thread& t : threads) t.join();
  if (writeError) std::rethrow_exception(writeError);
  if (std::exception_ptr e = queue.Error()) std::rethrow_exception(e);
  // The caller's verb object is left with the last infinitive, as after one thread.
  std::string line;
  for (auto raw = lines.rbegin(); raw != lines.rend(); ++raw) {
    line = run.inputUtf8 ? Utf8ToLatin1(*raw) : std::string(*raw);
    if (!CleanListLine(line)) continue;
    MakeRecord(produce, line);
    break;
  }
  return count;
}

}  // namespace

int WriteFullForms(const TRecordProducer& produce, std::string list, std::ostream& out,
                   const TFullFormsRun& run) {
  std::string_view text = list;
  if (run.inputUtf8 && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  TOutput output(out, run.outputUtf8);
  if (run.jobs > 1 && run.makeProducer) return WriteOnThreads(produce, text, output, run);
  // One conversion of the whole list: one a line cost more than the reading itself.
  if (run.inputUtf8) {
    list = Utf8ToLatin1(text);
    text = list;
  }
  return WriteOnOneThread(produce, text, output, run);
}

int WriteFullForms(const TRecordProducer& produce, std::istream& in, std::ostream& out,
                   const TFullFormsRun& run) {
  return WriteFullForms(produce, ReadList(in), out, run);
}

int WriteFullForms(TVerbGen& verb, std::istream& in, std::ostream& out, bool inputUtf8,
                   bool outputUtf8, const TFullFormsProgress& afterRecord) {
  TFullFormsRun run;
  run.inputUtf8 = inputUtf8;
  run.outputUtf8 = outputUtf8;
  run.afterRecord = afterRecord;
  return WriteFullForms(TxfRecords(verb), in, out, run);
}
