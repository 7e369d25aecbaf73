// SPDX-License-Identifier: MIT
// Life of the verb object, error reporting and the reload check.
#include "engine/_ZTVerb.h"

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbFrame.h"

EVerbGenError::EVerbGenError(const std::u16string& message)
    : std::runtime_error(UniToUtf8(message)), FMessage(message) {}

TVerbGen::TVerbGen() {
  JoinVerbLists();
  InfiStattPart2 = ISP_InfiPart;
  FOrthoTyp = NeuOrtho;
  FSlashAsSeparator = true;
  FUnderScoreAsGapPosition = true;
}

TVerbGen::~TVerbGen() {
  LeaveVerbLists();
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
  if (VerbListsFileMode() && FMyVerbListsFileDate != VerbListsFileDate.load())
    newVerbA(infin, schwst);
}

habseityp TVerbGen::habenSein() {
  if (!VerbListsFileMode()) return EffectiveHabenSein();
  RefreshIfListsChanged();
  TReadLock lock(VerbListsLock);
  return EffectiveHabenSein();
}
