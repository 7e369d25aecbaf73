// SPDX-License-Identifier: MIT
// The verb object the engine targets share: the shipped lists, loaded once per process, and
// no exception for an input the analysis rejects (the message is dropped).
#pragma once

#include <string>

#include "engine/_ZTVerb.h"
#include "tests/fuzz/FuzzSupport.h"

inline TVerbGen& FuzzVerb() {
  static TVerbGen* verb = [] {
    VerbListsPath = FuzzVerbListsPath();
    auto* v = new TVerbGen;
    v->SetOnErrMsg([](const std::u16string&) {});
    return v;
  }();
  return *verb;
}
