// SPDX-License-Identifier: MIT
#include "python/Engine.h"

#include <atomic>
#include <system_error>
#include <utility>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/VerbGenerator.h"

namespace beugwerk_py {

namespace {

// Conjugations read under it, a change of the verb lists writes. The engine's own lock is
// taken only when the lists came from a file: a change from the built-in copy to a file must
// still wait for the conjugations in work. Writers first, so a stream does not starve it.
TSharedReentrantLock gUse;
std::atomic<bool> gReady{false};  // VerbListsPath resolved
std::filesystem::path gOption;    // the last set_verb_lists path; empty: the default search

// Generators in no one's hands, one pool per orthography. They are kept for the life of the
// process, which keeps the lists loaded too; never freed, as Python may still run threads at
// exit.
std::mutex gPoolMutex;
std::vector<TVerbGenerator*> gPool[3];

// Under the write side of gUse.
void Resolve() {
  VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(gOption));
  gReady = true;
}

void EnsureReady() {
  if (gReady) return;
  TWriteLock lock(gUse);
  if (!gReady) Resolve();
}

// A generator of the pool for one conjugation, or a new one.
class TBorrowed {
 public:
  explicit TBorrowed(TOrthoTyp ortho) : pool_(gPool[static_cast<int>(ortho)]) {
    {
      std::lock_guard<std::mutex> lock(gPoolMutex);
      if (!pool_.empty()) {
        g_ = pool_.back();
        pool_.pop_back();
      }
    }
    if (g_ == nullptr) {
      g_ = new TVerbGenerator;  // joins the lists: never under their read lock
      g_->Verb.SetOrthoTyp(ortho);
    }
  }
  ~TBorrowed() {
    std::lock_guard<std::mutex> lock(gPoolMutex);
    pool_.push_back(g_);
  }
  TBorrowed(const TBorrowed&) = delete;
  TBorrowed& operator=(const TBorrowed&) = delete;
  TVerbGenerator& operator*() const { return *g_; }

 private:
  std::vector<TVerbGenerator*>& pool_;
  TVerbGenerator* g_ = nullptr;
};

// The table `beugwerk PHRASE` and `beugwerk --json PHRASE` are made from, on a generator that
// is used again: ConjugatePhrase's steps, with the lists held for all of the table's forms
// (their own read locks then only count up, as in a full-form run).
TConjTable Table(const std::u16string& phrase, TOrthoTyp ortho, TConjScope scope) {
  try {
    EnsureReady();
    TReadLock use(gUse);
    TBorrowed borrowed(ortho);
    TVerbGenerator& g = *borrowed;
    TVerbListsReadLock lists;
    std::u16string trimmed = phrase;
    TrimBlanksW(trimmed);
    return g.Conjugate(trimmed, ortho, scope);
  } catch (const EError&) {
    throw;
  } catch (const std::exception& e) {
    throw EError(e.what());
  }
}

}  // namespace

std::string PhraseJson(const std::u16string& phrase, TOrthoTyp ortho) {
  return ConjugationJson(Table(phrase, ortho, TConjScope::data));
}

std::string PhraseText(const std::u16string& phrase, TOrthoTyp ortho) {
  const TConjTable t = Table(phrase, ortho, TConjScope::table);
  if (t.status == TConjStatus::cs_error || t.status == TConjStatus::cs_empty)
    throw EError(UniToUtf8(t.message));
  return UniToUtf8(ConjugationText(t));
}

void UseVerbLists(const std::filesystem::path& path) {
  if (!path.empty()) {
    std::error_code ec;
    // The engine would fall back to its built-in copy; a named file that is not there is a
    // mistake to report.
    if (!std::filesystem::is_regular_file(path, ec))
      throw EError("Verblistendatei nicht gefunden: " + path.string());
    // Read once aside first: a file that cannot be read leaves the lists in use untouched.
    try {
      TVerbListsTables scratch;
      InspectVerbLists(path, scratch);
    } catch (const std::exception& e) {
      throw EError(path.string() + ": " + e.what());
    }
  }
  TWriteLock lock(gUse);
  gOption = path;
  if (!gReady) {
    Resolve();
    return;
  }
  {
    TWriteLock tables(VerbListsLock);
    VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(gOption));
  }
  try {
    ReloadVerbLists();
  } catch (const std::exception& e) {
    throw EError(e.what());
  }
}

TJsonStream::TJsonStream(TOrthoTyp ortho, int jobs) : ortho_(ortho) {
  for (int i = 0; i < jobs; ++i) threads_.emplace_back([this] { Work(); });
}

TJsonStream::~TJsonStream() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  work_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void TJsonStream::Submit(std::vector<std::u16string> phrases) {
  auto batch = std::make_unique<TBatch>();
  batch->results.resize(phrases.size());
  batch->phrases = std::move(phrases);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    batches_.push_back(std::move(batch));
  }
  work_.notify_all();
}

std::vector<TJsonResult> TJsonStream::Take() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (batches_.empty()) return {};
  TBatch& front = *batches_.front();
  // The caller would only wait: it conjugates the front batch's phrases no thread has taken
  // yet itself. With one job, the Python thread and the worker then share the engine's work
  // between building the objects of the batch before.
  while (front.next < front.phrases.size()) RunOne(lock, front);
  finished_.wait(lock, [&front] { return front.done == front.phrases.size(); });
  std::vector<TJsonResult> results = std::move(front.results);
  batches_.pop_front();
  return results;
}

std::size_t TJsonStream::Pending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return batches_.size();
}

void TJsonStream::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    TBatch* batch = nullptr;
    work_.wait(lock, [&] {
      if (stop_) return true;
      for (const std::unique_ptr<TBatch>& b : batches_)
        if (b->next < b->phrases.size()) {
          batch = b.get();
          return true;
        }
      return false;
    });
    if (stop_) return;
    RunOne(lock, *batch);
  }
}

void TJsonStream::RunOne(std::unique_lock<std::mutex>& lock, TBatch& batch) {
  const std::size_t i = batch.next++;
  lock.unlock();
  TJsonResult r;
  try {
    r.events = TJsonEvents(PhraseJson(batch.phrases[i], ortho_));
  } catch (const std::exception& e) {
    r.error = e.what();
  }
  lock.lock();
  // The batch stays: Take removes it only when every phrase is done.
  batch.results[i] = std::move(r);
  if (++batch.done == batch.phrases.size()) finished_.notify_all();
}

}  // namespace beugwerk_py
