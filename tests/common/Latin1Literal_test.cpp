// SPDX-License-Identifier: MIT
// The compile-time literal gives the bytes the run-time conversion gives.
#include "common/Latin1Literal.h"

#include <gtest/gtest.h>

#include <string_view>

#include "common/_ZT_cmn_A.h"

namespace {

static_assert("heißen"_latin1 == std::string_view("hei\xDF"
                                                  "en"));
static_assert("Ärger"_latin1.size() == 5);

TEST(Latin1Literal, EqualsTheRunTimeConversion) {
  const struct {
    std::string_view literal, utf8;
  } rows[] = {
      {"heißen"_latin1, "heißen"},
      {"müssen"_latin1, "müssen"},
      {"ÄÖÜäöüß"_latin1, "ÄÖÜäöüß"},
      {"café àéè"_latin1, "café àéè"},
      {"ÿ ¤ « »"_latin1, "ÿ ¤ « »"},
      {"plain"_latin1, "plain"},
      {""_latin1, ""},
  };
  for (const auto& r : rows) EXPECT_EQ(r.literal, Utf8ToLatin1(r.utf8)) << r.utf8;
}

}  // namespace
