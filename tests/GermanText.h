// SPDX-License-Identifier: MIT
// Test sources are UTF-8, the engine's strings Windows-1252. Rows spell German as it reads
// ({"laden", N, 2, "lädst"}); the test converts at its boundary: Ansi() for what it feeds in,
// Utf8() for what it compares and prints, so a failure shows readable text on both sides.
#pragma once

#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"

inline std::string Ansi(std::string_view utf8) {
  return Utf8ToLatin1(utf8);
}
inline std::string Utf8(std::string_view ansi) {
  return Latin1ToUtf8(ansi);
}
