// SPDX-License-Identifier: MIT
// What the Python module asks of the library, with no Python in it: the JSON object of a
// phrase and its terminal table, both from the table the command line makes (the steps of
// ConjugatePhrase, on generators kept for the next phrase as a full-form run keeps its own),
// the verb lists to use, and a stream that conjugates batches of phrases on threads of its own
// and hands their JSON back in order, already read into events. Everything here may run
// without the GIL.
//
//   std::string json = PhraseJson(u"sich anziehen", NeuOrtho);   // {"input":"sich anziehen",...}
//   TJsonStream s(NeuOrtho, 2);
//   s.Submit({u"lesen", u"gehen"});
//   std::vector<TJsonResult> r = s.Take();   // r[1].events: the JSON of gehen
#pragma once

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "engine/_ZTVerb.h"
#include "python/JsonEvents.h"

namespace beugwerk_py {

// A failure of the library (verb lists unreadable, an engine fault); what() is the German
// message, UTF-8. The module raises it as beugwerk.Error.
struct EError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The JSON object of the phrase (schema/conjugation.schema.json), byte for byte what
// `beugwerk --json` prints; a rejected or blank phrase gives {"input", "error"}.
std::string PhraseJson(const std::u16string& phrase, TOrthoTyp ortho);

// The table as `beugwerk PHRASE` prints it (UTF-8). A rejected or blank phrase throws EError
// with the engine's message.
std::string PhraseText(const std::u16string& phrase, TOrthoTyp ortho);

// The verb lists from now on: the file at path, or with an empty path the default search
// ($BEUGWERK_VERBLISTS, the installed file, the built-in copy). Waits for the conjugations in
// work. Throws EError, keeping the lists in use, when the file is missing or unreadable.
void UseVerbLists(const std::filesystem::path& path);

struct TJsonResult {
  TJsonEvents events;
  std::string error;  // an engine failure instead of the JSON (rare: a fault, not bad input)
};

// Conjugates batches of phrases on `jobs` threads of its own; Take hands back the oldest
// batch submitted, in the order of its phrases. One thread submits and takes.
class TJsonStream {
 public:
  TJsonStream(TOrthoTyp ortho, int jobs);
  ~TJsonStream();  // the threads finish the phrase each is on and stop
  TJsonStream(const TJsonStream&) = delete;
  TJsonStream& operator=(const TJsonStream&) = delete;

  void Submit(std::vector<std::u16string> phrases);
  // The oldest batch, once done; empty when none is pending. The caller conjugates the
  // batch's phrases no thread has taken yet itself instead of waiting for them.
  std::vector<TJsonResult> Take();
  std::size_t Pending() const;

 private:
  struct TBatch {
    std::vector<std::u16string> phrases;
    std::vector<TJsonResult> results;
    std::size_t next = 0;  // the first phrase no thread has taken
    std::size_t done = 0;
  };
  // Conjugates the batch's next phrase; called with the lock held, which it lets go meanwhile.
  void RunOne(std::unique_lock<std::mutex>& lock, TBatch& batch);
  void Work();

  const TOrthoTyp ortho_;
  mutable std::mutex mutex_;
  std::condition_variable work_;      // a phrase to take, or stop
  std::condition_variable finished_;  // a batch done
  std::deque<std::unique_ptr<TBatch>> batches_;
  bool stop_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace beugwerk_py
