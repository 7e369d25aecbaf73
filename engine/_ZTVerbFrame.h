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

template <class Builder>
std::string TVerbGen::Framed(Builder&& build) {
  if (!VerbListsFileMode()) return std::forward<Builder>(build)();
  // The reload check comes before the lock: the re-analysis takes the lock itself.
  RefreshIfListsChanged();
  TReadLock lock(VerbListsLock);
  return std::forward<Builder>(build)();
}
