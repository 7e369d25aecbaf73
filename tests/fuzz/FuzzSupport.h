// SPDX-License-Identifier: MIT
// What the fuzz targets share: the verb lists they analyse with, and a small reader that
// takes the input apart (a few leading bytes choose options, the rest is the text).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"

// The shipped lists: the targets then reach every irregular verb and prefix rule.
inline std::filesystem::path FuzzVerbListsPath() {
  return std::filesystem::path(BEUGWERK_SOURCE_DIR) / "data" / "Beugwerk.VLX";
}

// A property the target checks: a broken one stops the run with its name, as a crash would.
inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// Holds the shipped lists for the whole run, so each input does not load them again.
inline void KeepListsLoaded() {
  static TVerbGen* keeper = [] {
    VerbListsPath = FuzzVerbListsPath();
    return new TVerbGen;
  }();
  (void)keeper;
}

class TFuzzInput {
 public:
  TFuzzInput(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  // The next byte, 0 when none is left.
  unsigned Byte() {
    if (rest_.empty()) return 0;
    const unsigned b = static_cast<unsigned char>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::string_view Rest() const { return rest_; }
  // The rest read as UTF-16 code units (little-endian pairs; an odd last byte is dropped),
  // so lone surrogates and every BMP character are reachable.
  std::u16string RestUtf16() const {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < rest_.size(); i += 2)
      s.push_back(static_cast<char16_t>(static_cast<unsigned char>(rest_[i]) |
                                        static_cast<unsigned char>(rest_[i + 1]) << 8));
    return s;
  }

 private:
  std::string_view rest_;
};
