// SPDX-License-Identifier: MIT
// The request frame of the public form operations (internal to the engine).
//
// Every framed operation first re-analyses the verb when the shared verb lists were reloaded
// since its analysis, then runs its builder under the read lock (file mode only), released on
// every exit, exceptions included.
//
//   std::string TVerbGen::PraesensA(int person, bool nebensatz) {
//     return Framed([&] { return BuildPraesens(person, nebensatz); });
//   }
#pragma once

#include <string>
#include <utility>

#include "engine/_ZTVerb.h"

// Swiss spelling has no ß; the verb lists' ending tokens and stems written with ß would
// otherwise carry it into Swiss forms (saß for sass).
inline void SwissSharpS(std::string& s) {
  for (std::size_t i = s.find('\xDF'); i != std::string::npos; i = s.find('\xDF', i + 2))
    s.replace(i, 1, "ss");
}

// The result is built in place and returned without a move: a short form moved is still a
// copy of its bytes, and every form passes through here.
template <class Builder>
std::string TVerbGen::Framed(Builder&& build) {
  const bool fileMode = VerbListsNeedLock();
  if (fileMode) {
    // The reload check comes before the lock: the re-analysis takes the lock itself.
    RefreshIfListsChanged();
    VerbListsLock.BeginRead();
  }
  struct TEndRead {
    bool on;
    ~TEndRead() {
      if (on) VerbListsLock.EndRead();
    }
  } endRead{fileMode};
  std::string result = build();
  if (hasSplitReading_ && !inSplitReading_) AddSplitReading(result, build);
  if (FOrthoTyp == ChOrtho) {
    SwissSharpS(result);
    SwissSharpS(Form2);
  }
  return result;
}

// The same builder once more in the split reading of a compound with both orders; its forms
// follow the joined ones in Form2. A subordinate form it finishes for BothClausesA is dropped:
// that clause keeps the joined form.
template <class Builder>
void TVerbGen::AddSplitReading(const std::string& joined, Builder& build) {
  std::string joinedAlternatives = std::move(Form2);
  std::string dropped;
  std::string* const sub = bothClausesSub_;
  const bool subDone = bothClausesDone_;
  struct TScope {
    TVerbGen& verb;
    std::string* sub;
    bool subDone;
    ~TScope() {
      verb.SwapSplitReading();
      verb.inSplitReading_ = false;
      verb.bothClausesSub_ = sub;
      verb.bothClausesDone_ = subDone;
    }
  };
  std::string split, splitAlternatives;
  {
    SwapSplitReading();
    inSplitReading_ = true;
    if (sub != nullptr) bothClausesSub_ = &dropped;
    TScope scope{*this, sub, subDone};
    split = build();
    splitAlternatives = std::move(Form2);
  }
  MergeSplitAlternatives(joined, std::move(joinedAlternatives), split, splitAlternatives);
}

// finish(form, nebensatz) completes a form in place. Within BothClausesA the subordinate
// clause is finished on a copy first.
template <class Finish>
std::string TVerbGen::FinishClause(std::string& form, bool Nebensatzform, Finish&& finish) {
  if (bothClausesSub_ == nullptr) {
    finish(form, Nebensatzform);
    return std::move(form);
  }
  // As two requests would: each clause starts from the same form and alternative, and the
  // subordinate one gets the frame's Swiss spelling here (its alternative is not kept).
  const std::string alternative = Form2;
  *bothClausesSub_ = form;
  finish(*bothClausesSub_, true);
  if (FOrthoTyp == ChOrtho) SwissSharpS(*bothClausesSub_);
  bothClausesDone_ = true;
  Form2 = alternative;
  finish(form, false);
  return std::move(form);
}
