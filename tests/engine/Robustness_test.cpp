// SPDX-License-Identifier: MIT
// Malformed inputs through the analysis: random bytes and soups of the input markers. Each
// is analysed or rejected with a message; nothing may crash, read outside a string or hang.
// Meant to run under AddressSanitizer and UndefinedBehaviorSanitizer (BEUGWERK_SANITIZE).
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

namespace {

// Pieces of the marker soup: stress marks, separators, gap marks, parentheses, the
// impersonal and case digits, pronouns, blanks, letters and whole endings.
constexpr std::array<std::string_view, 24> kPieces = {
    "'", "`", "/",    "_",   "(", ")",  "3",   "4",    "sich",   "sich3", " ",   "  ",
    "a", "e", "\xFC", "ber", "n", "en", "ern", "igen", "lichen", "\\+",   "\\.", "einander"};

std::string Soup(std::mt19937& rng, int length) {
  std::string s = MarkerSoup(rng, length, kPieces);
  // Most real inputs end in 'n': give the analysis a chance to get far.
  if (length > 0 && rng() % 2 == 0) s.back() = 'n';
  return s;
}

// Every input twice: with a handler (the analysis continues after a form-limits message)
// and without (the message becomes an EVerbGenError; any other exception fails the test).
// Returns the result of the analysis with the handler.
bool Feed(TVerbGen& quiet, TVerbGen& loud, const std::string& input) {
  SCOPED_TRACE(testing::PrintToString(input));
  bool result = false;
  EXPECT_NO_THROW(result = quiet.newVerbA(input, unsp));
  try {
    loud.newVerbA(input, stark);
  } catch (const EVerbGenError&) {
  }
  return result;
}

TEST(Robustness, MalformedInputsAreAnalysedOrRejected) {
  VerbListsPath = Fixture("analysis", "rich.VLX");
  TVerbGen quiet, loud;
  quiet.SetOnErrMsg([](const std::u16string&) {});
  std::mt19937 rng(20240611);
  std::uniform_int_distribution<int> length(0, 300);
  for (std::string_view fixed : {"",       " ",         "sich",
                                 "sich ",  "(sich",     "sich)",
                                 "sich3)", "3 ",        "3 sich3 sich4 n",
                                 "((((n",  "))))n",     "/n",
                                 "_n",     "/_/_n",     "'",
                                 "''n",    "\\+\\+\\+", "\\.\\.",
                                 "igen",   "ig/en",     "e/rln"}) {
    Feed(quiet, loud, std::string(fixed));
  }
  int decided = 0;
  for (int i = 0; i < 4000; ++i) {
    int n = length(rng);
    decided += Feed(quiet, loud, i % 2 == 0 ? RandomBytes(rng, n) : Soup(rng, n));
  }
  // The soup must reach the end of the analysis, not only its early rejections.
  EXPECT_GT(decided, 50);
}

}  // namespace
