// SPDX-License-Identifier: MIT
// Life of the verb object, error reporting and the reload check.
#include "engine/_ZTVerb.h"

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbFrame.h"

EVerbGenError::EVerbGenError(const std::u16string& message)
    : std::runtime_error(UniToUtf8(message)), FMessage(message) {}

// A verb object made while a snapshot is pinned reads that snapshot and keeps no shared lists.
TVerbGen::TVerbGen() : joinedLists_(!VerbListsPinned()) {
  if (joinedLists_) JoinVerbLists();
  InfiStattPart2 = ISP_InfiPart;
  FOrthoTyp = NeuOrtho;
  FSlashAsSeparator = true;
  FUnderScoreAsGapPosition = true;
}

TVerbGen::~TVerbGen() {
  if (joinedLists_) LeaveVerbLists();
}

void TVerbGen::ReportError(const std::u16string& message) {
  if (FOnErrMsg) {
    FOnErrMsg(message);
    return;
  }
  // Raised through the analysis: the read lock guard of newVerbA releases the lock.
  throw EVerbGenError(message);
}

void TVerbGen::RefreshIfListsChanged() {
  if (VerbListsNeedLock() && FMyVerbListsFileDate != VerbListsFileDate.load())
    newVerbA(infin, schwst);
}

habseityp TVerbGen::habenSein() {
  if (!VerbListsNeedLock()) return EffectiveHabenSein();
  RefreshIfListsChanged();
  TReadLock lock(VerbListsLock);
  return EffectiveHabenSein();
}
