// SPDX-License-Identifier: MIT
#include "engine/Syllables.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/GermanText.h"

namespace {

TEST(Syllables, IsVowel) {
  for (unsigned char c : Ansi("aeiouyäéöü")) EXPECT_TRUE(IsVowel(c)) << c;
  // the accented e of loans (crèmen, fêtieren)
  for (unsigned char c : Ansi("èê")) EXPECT_TRUE(IsVowel(c)) << int(c);
  for (unsigned char c : Ansi("AEbcqz'`ÄÜßà ÿ") + '\0') EXPECT_FALSE(IsVowel(c)) << int(c);
}

TEST(Syllables, CountSyllables) {
  struct Row {
    const char* s;
    int n;
    int expected;
  };
  const Row rows[] = {
      {"schreib", 255, 1},
      {"bau", 255, 1},
      {"quatsch", 255, 1},
      {"freu", 255, 1},
      {"see", 255, 1},
      {"koalier", 255, 3},
      {"boykottier", 255, 4},
      {"knie", 255, 1},
      {"häu", 255, 1},
      {"yacht", 255, 1},
      {"wander", 4, 1},
      {"wander", 5, 2},
      {"wander", 0, 0},
      {"wander", -5, 0},
      {"", 255, 0},
      {"pfn", 255, 0},
      // the look at the next letter passes n: "ie" at the limit is still one vowel
      {"studier", 5, 2},
      {"arbeit", 2, 1},
  };
  for (const Row& r : rows)
    EXPECT_EQ(CountSyllables(Ansi(r.s), r.n), r.expected) << r.s << " n=" << r.n;
}

TEST(Syllables, RemoveStressMarks) {
  const std::pair<const char*, const char*> rows[] = {
      {"'übersetz", "übersetz"},
      {"über`setz", "übersetz"},
      {"ab'", "ab'"},  // a mark in the last position stays
      {"'", "'"},
      {"", ""},
      {"plain", "plain"},
  };
  for (const auto& [in, out] : rows) EXPECT_EQ(Utf8(RemoveStressMarks(Ansi(in))), out) << in;
}

TEST(Syllables, StressSyllableFromMarks) {
  const std::pair<const char*, int> rows[] = {
      {"'übersetz", 1}, {"über'setz", 3}, {"übers'etz", 3},
      {"über`setz", 3}, {"`um'fahr", 2},  // the apostrophe wins over the backquote
      {"'", 1},
  };
  for (const auto& [in, t] : rows) EXPECT_EQ(StressSyllable(Ansi(in)), t) << in;
}

TEST(Syllables, IsDoubleUsePrefix) {
  for (const char* p : {"durch", "hinter", "über", "unter", "um", "voll", "wider", "ter"})
    EXPECT_TRUE(IsDoubleUsePrefix(Ansi(p))) << p;
  for (const char* p : {"", "auf", "wieder", "hin", "durch,", ",", "unte", "widerx"})
    EXPECT_FALSE(IsDoubleUsePrefix(Ansi(p))) << p;
}

}  // namespace
