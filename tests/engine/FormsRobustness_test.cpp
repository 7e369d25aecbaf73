// SPDX-License-Identifier: MIT
// Malformed inputs through the analysis and then through every one of the 30 forms, in all
// three orthographies: whatever the analysis made of an input, the form builders must not
// crash, read outside a string or throw. Meant to run under AddressSanitizer and
// UndefinedBehaviorSanitizer (BEUGWERK_SANITIZE).
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
// impersonal and case digits, pronouns, blanks and letters.
constexpr std::array<std::string_view, 22> kPieces = {
    "'", "`", "/", "_", "(", ")", "3", "4",    "sich", " ",  "  ",
    "a", "e", "n", "l", "r", "t", "s", "\xDF", "\xFC", "ge", "en"};

// Real verbs of the fixture lists: markers put into them reach the builders far more often
// than random text does.
constexpr std::array<std::string_view, 16> kVerbs = {
    "lesen",    "anfangen", "sich waschen", "sammeln",          "wandern",  "k\xF6nnen",
    "sein",     "gehen",    "schleifen",    "bersten",          "arbeiten", "3 regnen",
    "schreien", "essen",    "stillegen",    "auseinanderhalten"};

std::string Soup(std::mt19937& rng, int length) {
  std::string s = MarkerSoup(rng, length, kPieces);
  if (length > 1 && rng() % 2 == 0) s.replace(s.size() - 2, 2, "en");
  return s;
}

// A real verb with a few pieces (or random bytes) put in at random places.
std::string MarkedVerb(std::mt19937& rng) {
  std::string s(kVerbs[rng() % kVerbs.size()]);
  const int inserts = static_cast<int>(rng() % 4);
  for (int i = 0; i < inserts; ++i) {
    const std::size_t at = rng() % (s.size() + 1);
    if (rng() % 4 == 0) {
      s.insert(at, 1, static_cast<char>(rng() % 256));
    } else {
      s.insert(at, kPieces[rng() % kPieces.size()]);
    }
  }
  return s;
}

constexpr std::array<TOrthoTyp, 3> kOrthos = {NeuOrtho, AltOrtho, ChOrtho};
constexpr std::array<std::u16string_view, 2> kOptions = {u"MPN", u"M"};

int Feed(TVerbGen& verb, const std::string& input) {
  int analysed = 0;
  SCOPED_TRACE(testing::PrintToString(input));
  for (TOrthoTyp ortho : kOrthos) {
    verb.SetOrthoTyp(ortho);
    try {
      analysed += verb.newVerbA(input, unsp) ? 1 : 0;
      for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
        for (std::u16string_view options : kOptions) {
          verb.getFormA(static_cast<TFormen>(f), options);
        }
      }
    } catch (const std::exception& e) {
      ADD_FAILURE() << "ortho " << ortho << ": " << e.what();
    }
  }
  return analysed;
}

TEST(FormsRobustness, EveryFormOfMalformedInputs) {
  VerbListsPath = std::filesystem::path(BEUGWERK_FIXTURES) / "forms" / "forms.VLX";
  TVerbGen verb;
  int analysed = 0;
  verb.SetOnErrMsg([](const std::u16string&) {});
  for (std::string_view fixed :
       {"", " ", "n", "en", "sich", "3 ", "3 sich n", "'", "/en", "_en", "ge_en", "(sich) en",
        "\xDF\xDF\xDF"
        "en"}) {
    analysed += Feed(verb, std::string(fixed));
  }
  std::mt19937 rng(4711);
  std::uniform_int_distribution<int> length(0, 300);
  for (int i = 0; i < 3000; ++i) {
    switch (i % 3) {
      case 0:
        analysed += Feed(verb, RandomBytes(rng, length(rng)));
        break;
      case 1:
        analysed += Feed(verb, Soup(rng, length(rng)));
        break;
      default:
        analysed += Feed(verb, MarkedVerb(rng));
    }
  }
  // A good share must get through the analysis, or the builders go untested (1725 of the
  // 9039 runs when this was written).
  EXPECT_GT(analysed, 1000);
}

}  // namespace
