// SPDX-License-Identifier: MIT
// Partizip I and II, Infinitiv I and II over the shared form fixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

namespace {

enum Kind { P1, P2, I1, I2 };

const char* KindName(Kind k) {
  switch (k) {
    case P1:
      return "Partizip I";
    case P2:
      return "Partizip II";
    case I1:
      return "Infinitiv I";
    case I2:
      return "Infinitiv II";
  }
  return "";
}

class ParticiplesTest : public FormsFixture {
 protected:
  static TVerbGen& Verb(std::string_view verb, TSchwSt cls = unsp, TOrthoTyp ortho = NeuOrtho) {
    return Analyse(verb, cls, ortho);
  }
  // The form in UTF-8, as the rows spell it.
  static std::string Form(TVerbGen& v, Kind k) {
    switch (k) {
      case P1:
        return Utf8(v.PartizipA(1));
      case P2:
        return Utf8(v.PartizipA(2));
      case I1:
        return Utf8(v.InfinitivA(1));
      case I2:
        return Utf8(v.InfinitivA(2));
    }
    return {};
  }
};

struct Row {
  const char* verb;
  TSchwSt cls;
  Kind kind;
  const char* form;
  const char* form2;
};

// New orthography.
const Row kRows[] = {
    // "ge" at the analysed position, none for inseparable and -ieren verbs.
    {"lesen", unsp, P2, "gelesen", ""},
    {"essen", unsp, P2, "gegessen", ""},  // the ending token replaces the ge- as well
    {"arbeiten", unsp, P2, "gearbeitet", ""},
    {"ankommen", unsp, P2, "angekommen", ""},
    {"besuchen", unsp, P2, "besucht", ""},
    {"studieren", unsp, P2, "studiert", ""},
    {"sich waschen", unsp, P2, "sich gewaschen", ""},
    {"sich anziehen", unsp, P2, "sich angezogen", ""},
    {"mit dem Taxi fahren", unsp, P2, "mit dem Taxi gefahren", ""},
    {"wasserstrahlbiegen", unsp, P2, "wasserstrahlgebogen", ""},
    {"werden", unsp, P2, "geworden", ""},
    // -ien only: -ieen is the old orthography's second spelling (below).
    {"schreien", unsp, P2, "geschrien", ""},
    {"anschreien", unsp, P2, "angeschrien", ""},
    // An entry that allows regular forms, and the class requests.
    {"schleifen", unsp, P2, "geschliffen", "geschleift"},
    {"schleifen", stark, P2, "geschliffen", ""},
    {"schleifen", schwach, P2, "geschleift", ""},
    // Stored participle with alternative; a separable prefix goes on both.
    {"hauen", unsp, P2, "gehauen", "gehaut"},
    {"ab/hauen", unsp, P2, "abgehauen", "abgehaut"},
    // Ersatzinfinitiv after a lower-case word in n; not after a capital or another letter.
    {"arbeiten müssen", unsp, P2, "arbeiten müssen", ""},
    {"müssen", unsp, P2, "gemusst", ""},
    {"kommen sehen", unsp, P2, "kommen sehen", "kommen gesehen"},
    {"Kuchen machen", unsp, P2, "Kuchen gemacht", ""},
    {"gut können", unsp, P2, "gut gekonnt", ""},

    {"lesen", unsp, P1, "lesend", ""},
    {"ankommen", unsp, P1, "ankommend", ""},
    {"sich waschen", unsp, P1, "sich waschend", ""},
    {"sammeln", unsp, P1, "sammelnd", ""},
    {"wandern", unsp, P1, "wandernd", ""},
    {"mit der Nachbarin tuscheln", unsp, P1, "mit der Nachbarin tuschelnd", ""},

    {"lesen", unsp, I1, "lesen", ""},
    {"sich waschen", unsp, I1, "sich waschen", ""},
    {"(sich) waschen", unsp, I1, "(sich) waschen", ""},
    {"mit dem Taxi fahren", unsp, I1, "mit dem Taxi fahren", ""},

    {"lesen", unsp, I2, "zu lesen", ""},
    {"besuchen", unsp, I2, "zu besuchen", ""},
    {"ankommen", unsp, I2, "anzukommen", ""},
    {"sich waschen", unsp, I2, "sich zu waschen", ""},
    {"sich anziehen", unsp, I2, "sich anzuziehen", ""},
    {"mit dem Taxi fahren", unsp, I2, "mit dem Taxi zu fahren", ""},
    {"wasserstrahlbiegen", unsp, I2, "wasserstrahlzubiegen", ""},
    {"wasserstrahl_biegen", unsp, I2, "wasserstrahlzubiegen", ""},
    // A leading '/' (no prefix) must not put "zu" inside the word.
    {"/umfahren", unsp, I2, "zu umfahren", ""},
};

TEST_F(ParticiplesTest, FormsAndAlternatives) {
  for (const Row& r : kRows) {
    TVerbGen& v = Verb(r.verb, r.cls);
    const std::string name = std::string(r.verb) + ", " + KindName(r.kind) +
                             (r.cls == stark     ? " (stark)"
                              : r.cls == schwach ? " (schwach)"
                                                 : "");
    EXPECT_EQ(Form(v, r.kind), r.form) << name;
    EXPECT_EQ(Utf8(v.Form2), r.form2) << name;
  }
}

struct OrthoRow {
  const char* verb;
  Kind kind;
  const char* neu;
  const char* alt;
};

// ß and ss: a long vowel keeps ß, a short one keeps ss before the e of -end.
const OrthoRow kOrthoRows[] = {
    {"heißen", P1, "heißend", "heißend"},
    {"lassen", P1, "lassend", "lassend"},
    {"müssen", P2, "gemusst", "gemußt"},
    // Both spellings of the modal participle find their infinitive.
    {"arbeiten müssen", P2, "arbeiten müssen", "arbeiten müssen"},
};

TEST_F(ParticiplesTest, Orthographies) {
  for (const OrthoRow& r : kOrthoRows) {
    EXPECT_EQ(Form(Verb(r.verb, unsp, NeuOrtho), r.kind), r.neu) << r.verb << ", NeuOrtho";
    EXPECT_EQ(Form(Verb(r.verb, unsp, AltOrtho), r.kind), r.alt) << r.verb << ", AltOrtho";
  }
}

// The old orthography also wrote -ieen (geschrieen), the prefix on both forms; the reformed
// and the Swiss ones write geschrien only.
TEST_F(ParticiplesTest, IeenIsAnOldSpelling) {
  struct IeenRow {
    const char* verb;
    TOrthoTyp ortho;
    const char* form;
    const char* form2;
  };
  const IeenRow rows[] = {
      {"schreien", AltOrtho, "geschrien", "geschrieen"},
      {"anschreien", AltOrtho, "angeschrien", "angeschrieen"},
      {"schreien", ChOrtho, "geschrien", ""},
      {"anschreien", NeuOrtho, "angeschrien", ""},
  };
  for (const IeenRow& r : rows) {
    TVerbGen& v = Verb(r.verb, unsp, r.ortho);
    EXPECT_EQ(Form(v, P2), r.form) << r.verb << " " << r.ortho;
    EXPECT_EQ(Utf8(v.Form2), r.form2) << r.verb << " " << r.ortho;
  }
}

TEST_F(ParticiplesTest, InfiStattPart2ChoosesTheOrder) {
  struct {
    TInfiStattPart2 isp;
    const char* form;
    const char* form2;
  } const rows[] = {
      {ISP_InfiPart, "kommen sehen", "kommen gesehen"},
      {ISP_PartInfi, "kommen gesehen", "kommen sehen"},
      {ISP_nurInfi, "kommen sehen", ""},
  };
  for (const auto& r : rows) {
    TVerbGen& v = Verb("kommen sehen");
    v.InfiStattPart2 = r.isp;
    EXPECT_EQ(v.PartizipA(2), r.form) << "InfiStattPart2 " << r.isp;
    EXPECT_EQ(Utf8(v.Form2), r.form2) << "InfiStattPart2 " << r.isp;
  }
  // The modal verbs take the infinitive whatever the setting.
  TVerbGen& v = Verb("arbeiten müssen");
  v.InfiStattPart2 = ISP_PartInfi;
  EXPECT_EQ(Utf8(v.PartizipA(2)), "arbeiten müssen");
}

TEST_F(ParticiplesTest, WerdenKeepsItsGePosition) {
  TVerbGen& v = Verb("werden");
  EXPECT_EQ(v.PartizipA(2), "geworden");
  EXPECT_EQ(v.GEpos, 1);
  EXPECT_EQ(v.PartizipA(2), "geworden");
}

TEST_F(ParticiplesTest, NoFormWithoutStemOrForOtherNumbers) {
  TVerbGen& v = Verb("lesen");
  EXPECT_EQ(v.PartizipA(0), "-");
  EXPECT_EQ(v.PartizipA(3), "-");
  EXPECT_EQ(v.InfinitivA(7), "lesen");  // any other number is Infinitiv I
  Verb("lesex");                        // rejected: the stem is emptied
  for (int nr : {1, 2}) {
    EXPECT_EQ(v.PartizipA(nr), "-") << nr;
    EXPECT_EQ(v.InfinitivA(nr), "-") << nr;
    EXPECT_EQ(v.Form2, "") << nr;
  }
  Verb("lesen");
  Verb("  ");  // empty after trimming: no infinitive
  EXPECT_EQ(v.InfinitivA(1), "-");
  EXPECT_EQ(v.InfinitivA(2), "-");
}

TEST_F(ParticiplesTest, Utf16Twins) {
  TVerbGen& v = Verb("sich anziehen");
  EXPECT_EQ(v.Partizip(2), u"sich angezogen");
  EXPECT_EQ(v.Infinitiv(2), u"sich anzuziehen");
  Verb("müssen");
  EXPECT_EQ(v.Infinitiv(1), u"müssen");
}

}  // namespace
