// SPDX-License-Identifier: MIT
#include "engine/Endings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "tests/GermanText.h"

namespace {

TEST(Endings, NeedsLinkingE) {
  struct Row {
    std::string_view stem;
    bool expected;
  };
  static constexpr Row rows[] = {
      {"atm", true},       {"rechn", true}, {"zeichn", true}, {"öffn", true},
      {"arbeit", true},    {"red", true},   {"t", true},      {"lehn", false},
      {"komm", false},     {"lern", false}, {"film", false},  {"reis", false},
      {"n", false},        {"", false},     {"bau", false},   {"rhn", true},  // h after a consonant
      {"ahn", false},      {"kenn", false}, {"filmn", true},  {"regn", true},
      {"design", false},  // the English g is silent: er designt
      {"redesign", false},
  };
  for (const Row& r : rows) EXPECT_EQ(NeedsLinkingE(Ansi(r.stem)), r.expected) << r.stem;
}

TEST(Endings, PersonEndings) {
  enum Kind { Pres, PresNoE, PresElnErn, PastWeak, PastStrong, KonjI, KonjIIWeak, KonjIIStrong };
  struct Row {
    Kind kind;
    int person;
    std::string_view stem;
    std::string_view expected;
  };
  static constexpr Row rows[] = {
      {Pres, 1, "mach", "e"},
      {Pres, 2, "mach", "st"},
      {Pres, 2, "reis", "t"},
      {Pres, 2, "box", "t"},
      {Pres, 2, "sitz", "t"},
      {Pres, 2, "heiß", "t"},
      {Pres, 3, "arbeit", "et"},
      {Pres, 2, "atm", "est"},
      {PresNoE, 2, "bind", "st"},
      {PresNoE, 3, "hält", "t"},
      {PresNoE, 5, "bind", "et"},
      {Pres, 5, "mach", "t"},
      {PresElnErn, 4, "sammel", "n"},
      {PresElnErn, 6, "wander", "n"},
      {Pres, 4, "mach", "en"},
      {Pres, 7, "mach", ""},
      {Pres, 0, "mach", ""},
      {PastWeak, 1, "arbeit", "ete"},
      {PastWeak, 2, "atm", "etest"},
      {PastWeak, 4, "mach", "ten"},
      {PastStrong, 1, "fand", ""},
      {PastStrong, 2, "las", "est"},
      {PastStrong, 5, "fand", "et"},
      {PastStrong, 4, "schrie", "n"},
      {PastStrong, 2, "schrie", "st"},
      {PastStrong, 3, "kam", ""},
      {KonjI, 2, "", "est"},
      {KonjI, 5, "", "et"},
      {KonjIIWeak, 1, "arbeit", "ete"},
      {KonjIIWeak, 2, "mach", "test"},
      {KonjIIStrong, 2, "käm", "est"},
      {KonjIIStrong, 4, "käm", "en"},
  };
  for (const Row& r : rows) {
    std::string got;
    switch (r.kind) {
      case Pres:
        got = PresentEnding(r.person, Ansi(r.stem), false, false);
        break;
      case PresNoE:
        got = PresentEnding(r.person, Ansi(r.stem), true, false);
        break;
      case PresElnErn:
        got = PresentEnding(r.person, Ansi(r.stem), false, true);
        break;
      case PastWeak:
        got = PastEnding(r.person, Ansi(r.stem), false);
        break;
      case PastStrong:
        got = PastEnding(r.person, Ansi(r.stem), true);
        break;
      case KonjI:
        got = SubjIEnding(r.person);
        break;
      case KonjIIWeak:
        got = SubjIIEnding(r.person, Ansi(r.stem), false);
        break;
      case KonjIIStrong:
        got = SubjIIEnding(r.person, Ansi(r.stem), true);
        break;
    }
    EXPECT_EQ(got, r.expected) << "kind " << r.kind << " person " << r.person << " " << r.stem;
  }
}

TEST(Endings, ApplyEndingToken) {
  struct Row {
    std::string_view form, token, expected;
  };
  static constexpr Row rows[] = {
      {"les", "", "les"},
      {"les", "-en", "lesen"},
      {"ging", ":e", "ginge"},
      {"nihm", "-2mm", "nimm"},
      {"schnid", "-1tt", "schnitt"},
      {"kann", "-", "kann"},
      {"sei", "ward", "ward"},
      {"ab", "-9x", "x"},
      {"ab", "-0x", "abx"},
      {"ab", "-5", ""},
      {"", "-3war", "war"},
  };
  for (const Row& r : rows) {
    std::string f(r.form);
    ApplyEndingToken(f, r.token);
    EXPECT_EQ(f, r.expected) << r.form << " + " << r.token;
  }
}

TEST(Endings, ModalStems) {
  struct Row {
    std::string_view stem;
    bool modal;
  };
  static constexpr Row rows[] = {
      {"dürf", true}, {"könn", true},   {"mög", true},     {"müss", true},
      {"soll", true}, {"wiss", true},   {"woll", true},    {"abkönn", true},
      {"mü", false},  {"sollt", false}, {"veröff", false}, {"", false},
  };
  for (const Row& r : rows) EXPECT_EQ(IsModalStem(Ansi(r.stem)), r.modal) << r.stem;
}

TEST(Endings, JoinPrefixReduced) {
  struct Row {
    std::string_view prefix, form, expected;
  };
  static constexpr Row rows[] = {
      {"still", "lege", "stillege"},  // three l before a vowel
      {"still", "lst", "stilllst"},   // no vowel change after the second letter
      {"voll", "laufe", "vollaufe"},
      {"an", "nehme", "annehme"},  // prefix too short
      {"all", "l", "alll"},        // form of one letter
      {"ab", "", "ab"},
      {"", "lege", "lege"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(JoinPrefixReduced(r.prefix, r.form), r.expected) << r.prefix << "+" << r.form;
}

TEST(Endings, ShortImperativeBlocked) {
  struct Row {
    std::string_view stem;
    bool blocked;
  };
  static constexpr Row rows[] = {
      {"komm", false},  {"kämpf", false}, {"sitz", false},  {"wachs", false},  {"denk", false},
      {"mach", false},  {"lass", false},  {"zeig", false},  {"spring", false}, {"wasch", false},
      {"geh", false},   {"dräng", false}, {"sag", false},   {"glänz", false},  {"hüpf", false},
      {"trink", false}, {"atm", true},    {"rechn", true},  {"öffn", true},    {"lern", true},
      {"fecht", true},  {"segn", true},   {"qualm", false}, {"pfn", false},  // no vowel
      {"", false},      {"tu", false},
  };
  for (const Row& r : rows) EXPECT_EQ(ShortImperativeBlocked(Ansi(r.stem)), r.blocked) << r.stem;
}

TEST(Endings, FinalClustersDistinctAndLongTailsBounded) {
  for (std::size_t i = 0; i < kFinalClusters.size(); ++i)
    for (std::size_t j = i + 1; j < kFinalClusters.size(); ++j)
      EXPECT_NE(kFinalClusters[i], kFinalClusters[j]) << i << " " << j;
  // Long consonant tails with x and z (which insert letters) stay bounded.
  for (std::string_view s :
       {"axxxxxxxxxxxx", "azzzzzzzzz", "aschschschsch", "ackckcks", "ah", "angngngng", "aphphph"})
    (void)ShortImperativeBlocked(s);  // the sanitizer build catches any read out of range
}

}  // namespace
