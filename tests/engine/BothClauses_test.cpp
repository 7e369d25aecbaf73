// SPDX-License-Identifier: MIT
// A request of both clause orders answers as the two requests it stands for: the subordinate
// form, the main-clause form and the alternative after the main-clause request, for every
// finite form of verbs of every kind, in the three orthographies.
#include <string>
#include <vector>

#include "tests/GermanText.h"
#include "tests/engine/TestSupport.h"

namespace {

class BothClausesTest : public FormsFixture {};

TEST_F(BothClausesTest, AnswersAsTheSubordinateThenTheMainClauseRequest) {
  const std::vector<std::string> verbs = {"lesen",
                                          "sich anziehen",
                                          "'übersetzen",
                                          "3 regnen",
                                          "sammeln",
                                          "wandern",
                                          "essen",
                                          "finden",
                                          "hängen",
                                          "mit dem Taxi fahren",
                                          "schreien",
                                          "heißen",
                                          "sich3 etwas merken",
                                          "ab/fahren",
                                          "sein",
                                          "auf/hängen",
                                          "an/sammeln",
                                          "ein/wandern",
                                          "sich an/schleichen",
                                          "ab/backen",
                                          "aus/finden"};
  // A switch rather than an array of member pointers: GCC 12's bounds sanitizer misreads the
  // index of such an array and reports it out of range.
  const auto sequential = [](TVerbGen& v, int tense, int person, bool sub) {
    switch (tense) {
      case ftPraesens:
        return v.PraesensA(person, sub);
      case ftPraeteritum:
        return v.PraeteritumA(person, sub);
      case ftKonjunktivG:
        return v.KonjunktivGA(person, sub);
      default:
        return v.KonjunktivVA(person, sub);
    }
  };
  for (TOrthoTyp ortho : {NeuOrtho, AltOrtho, ChOrtho}) {
    for (const std::string& utf8 : verbs) {
      TVerbGen& v = Analyse(Ansi(utf8).c_str(), unsp, ortho);
      for (int t = ftPraesens; t <= ftKonjunktivV; ++t) {
        for (int person = 1; person <= 6; ++person) {
          const std::string sub = sequential(v, t, person, true);
          const std::string main = sequential(v, t, person, false);
          const std::string alt = v.Form2;
          std::string bothSub = "x";
          const std::string bothMain =
              v.BothClausesA(static_cast<TFiniteTense>(t), person, bothSub);
          const std::string row = utf8 + " tense " + std::to_string(t) + " person " +
                                  std::to_string(person) + " ortho " + std::to_string(ortho);
          EXPECT_EQ(Utf8(bothSub), Utf8(sub)) << row;
          EXPECT_EQ(Utf8(bothMain), Utf8(main)) << row;
          EXPECT_EQ(Utf8(v.Form2), Utf8(alt)) << row;
        }
      }
    }
  }
}

}  // namespace
