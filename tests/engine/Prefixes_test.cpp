// SPDX-License-Identifier: MIT
// Separable and inseparable prefixes, stress and the ge-/zu- positions, through the whole
// analysis on small verb lists (tests/fixtures/prefixes).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"
#include "tests/GermanText.h"

namespace {

// One verb object on the named fixture; the lists are loaded for it and freed after it.
class PrefixesTest : public ::testing::Test {
 protected:
  void Load(const char* name) {
    const std::filesystem::path path = std::filesystem::path(BEUGWERK_FIXTURES) / "prefixes" / name;
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    verb_.reset();
    VerbListsPath = path;
    verb_ = std::make_unique<TVerbGen>();
  }
  void TearDown() override { verb_.reset(); }
  TVerbGen& V() { return *verb_; }

 private:
  std::unique_ptr<TVerbGen> verb_;
};

struct Row {
  const char* input;
  bool result;
  const char* praef;
  const char* stamm;  // nullptr: not checked
  int GEpos;
  int fuegstelle;
};

void CheckRows(TVerbGen& v, const Row* begin, const Row* end) {
  for (const Row* r = begin; r != end; ++r) {
    SCOPED_TRACE(r->input);
    EXPECT_EQ(v.newVerbA(Ansi(r->input), unsp), r->result);
    EXPECT_EQ(Utf8(v.praef), r->praef);
    if (r->stamm) {
      EXPECT_EQ(Utf8(v.stamm), r->stamm);
    }
    EXPECT_EQ(v.GEpos, r->GEpos);
    EXPECT_EQ(v.fuegstelle, r->fuegstelle);
  }
}

// Prefix table: aufeinander, über, um, auf, wieder, hin, hinter, zurück, unter.
// Onsets: s f k sch b h tr v m. One entry: bieg.
TEST_F(PrefixesTest, Decisions) {
  Load("Prefixes.VLX");
  const Row rows[] = {
      // doubly usable prefixes: the stress decides, without it nothing is decided
      {"übersetzen", false, "", "übersetz", -1, 0},
      {"'übersetzen", true, "'über", "setz", 1, 0},
      {"über'setzen", true, "", "über'setz", 0, 0},
      {"umfahren", false, "", "umfahr", -1, 0},
      {"'umfahren", true, "'um", "fahr", 1, 0},
      {"um'fahren", true, "", "um'fahr", 0, 0},
      // a plain separable prefix, and two of them stacked
      {"zurückfahren", true, "zurück", "fahr", 1, 0},
      {"wiederaufbauen", true, "wiederauf", "bau", 1, 0},
      // no separable prefix: inseparable be-, -ieren, ur-, unknown stress
      {"besuchen", true, "", "besuch", -1, 0},
      {"studieren", true, "", "studier", 0, 0},
      // two syllables that no prefix explains: built on a noun, ge- before the whole word
      {"arbeiten", true, "", "arbeit", 1, 0},
      {"urteilen", true, "", "urteil", 1, 0},
      {"'mißbrauchen", true, "", "'mißbrauch", 5, 0},
      {"mißverstehen", true, "", "mißversteh", 0, 0},
      // the Fügestelle marked with '_'
      {"wasserstrahl_biegen", true, "", "wasserstrahlbieg", 13, 12},
      {"wasserstrahl_verbiegen", true, "", "wasserstrahlverbieg", 0, 12},
      // undecidable unter-, saved by the ver- rule; zu goes behind "unter"
      {"untervermieten", true, "", "untervermiet", -1, 5},
      {"etwas unterversichern", true, "etwas ", "unterversicher", -1, 11},
      // wiederhol is split only when the stress is on wieder
      {"wiederholen", false, "", "wiederhol", -1, 0},
      {"'wiederholen", true, "'wieder", "hol", 1, 0},
      {"aufeinandertreffen", true, "aufeinander", "treff", 1, 0},
  };
  CheckRows(V(), std::begin(rows), std::end(rows));
}

TEST_F(PrefixesTest, EinanderMeansPluralOnly) {
  Load("Prefixes.VLX");
  ASSERT_TRUE(V().newVerbA("aufeinandertreffen", unsp));
  EXPECT_TRUE(V().NurPlural());
  ASSERT_TRUE(V().newVerbA(Ansi("zurückfahren"), unsp));
  EXPECT_FALSE(V().NurPlural());
}

// Sound where a separable prefix meets other decisions.
TEST_F(PrefixesTest, PrefixWithOtherDecisions) {
  Load("Prefixes.VLX");
  const Row rows[] = {
      // an undecidable second prefix puts the first one back: no letter of the verb is lost
      {"wiederübersetzen", false, "", "wiederübersetz", -1, 0},
      // the '_' mark moves with the split prefix; fuegstelle keeps counting infin
      {"zurückfeuerwehr_fahren", true, "zurück", "feuerwehrfahr", 10, 15},
      {"ab/wasserstrahl_biegen", true, "ab", "wasserstrahlbieg", 13, 14},
      {"etwas ab/wasserstrahl_biegen", true, "etwas ab", "wasserstrahlbieg", 13, 20},
      // a mark inside the split prefix leaves the base without a Fügestelle of its own
      {"zurü_ckfahren", true, "zurück", "fahr", 1, 4},
      // a mark in the infinitive ending is no place in the stem: the noun compound decides,
      // ge- and zu- before its strong base
      {"wasserstrahlbieg_en", true, "", "wasserstrahlbieg", 13, 12},
  };
  CheckRows(V(), std::begin(rows), std::end(rows));
}

// The entry is looked up at the Fügestelle: the whole stem has none, its base has one.
TEST_F(PrefixesTest, EntryAtTheFuegestelle) {
  Load("Prefixes.VLX");
  for (const char* input : {"wasserstrahl_biegen", "wasserstrahl_verbiegen"}) {
    V().newVerbA(input, unsp);
    ASSERT_NE(V().unRegel, nullptr) << input;
    EXPECT_EQ(V().unRegel->uStamm, "bieg") << input;
  }
  V().newVerbA("untervermieten", unsp);
  EXPECT_EQ(V().unRegel, nullptr);
}

// The same lists with arbeit1 (stress), wasserstrahlbieg4 (gap) and auf before aufeinander.
TEST_F(PrefixesTest, DecisionsFromTables) {
  Load("PrefixesVariant.VLX");
  const Row rows[] = {
      {"arbeiten", true, "", "arbeit", 1, 0},
      {"wasserstrahlbiegen", true, "", "wasserstrahlbieg", 13, 12},
      // the first pass takes "auf"; the rest, no prefix it knows, reads as built on a noun
      {"aufeinandertreffen", true, "auf", "einandertreff", 1, 0},
  };
  CheckRows(V(), std::begin(rows), std::end(rows));
  EXPECT_EQ(StressSyllable("arbeit"), 1);
  EXPECT_EQ(StressSyllable("ar'beit"), 2);  // the mark wins over the table
  EXPECT_EQ(GapFromTable("wasserstrahlbieg"), 12);
  EXPECT_EQ(GapFromTable("wasserstrahlbiege"), 0);
}

// Prefix table: wunder, wund, wett, voll, wider, hinter, über, unter, um, auf; stress: umsteig1.
TEST_F(PrefixesTest, ParticlesThatBeginSimpleVerbs) {
  Load("PrefixesRules.VLX");
  const Row rows[] = {
      // the -er ending alone is no base: wettern, wundern are no wett + ern
      {"wettern", true, "", "wetter", 1, 0},
      {"wundern", true, "", "wunder", 1, 0},
      {"wettmachen", true, "wett", "mach", 1, 0},
      {"wundliegen", true, "wund", "lieg", 1, 0},
      {"wundernehmen", true, "wunder", "nehm", 1, 0},
      // a base with its own vowel before -ern stays a split
      {"aufheitern", true, "auf", "heiter", 1, 0},
      {"aufscheren", true, "auf", "scher", 1, 0},
  };
  CheckRows(V(), std::begin(rows), std::end(rows));
}

// A doubly usable prefix without stress information: voll separable, wider and hinter
// inseparable; über and unter before be-/ent- inseparable, um there separable; anything else
// (and unterver-, with its own rule) stays open unless the stress table tells.
TEST_F(PrefixesTest, DoublyUsablePrefixByRule) {
  Load("PrefixesRules.VLX");
  const Row rows[] = {
      {"volltanken", true, "voll", "tank", 1, 0},
      {"widerlegen", true, "", "widerleg", 0, 0},
      {"hinterfragen", true, "", "hinterfrag", 0, 0},
      {"überbelichten", true, "", "überbelicht", 0, 0},
      {"unterbewerten", true, "", "unterbewert", 0, 0},
      {"überentwickeln", true, "", "überentwickel", 0, 0},
      {"umbenennen", true, "um", "benenn", -1, 0},
      {"umerziehen", true, "um", "erzieh", -1, 0},
      {"untervermieten", true, "", "untervermiet", -1, 5},
      {"übergeben", false, "", "übergeb", -1, 0},
      {"umgeben", false, "", "umgeb", -1, 0},
      {"übersetzen", false, "", "übersetz", -1, 0},
      {"umsteigen", true, "um", "steig", 1, 0},
      // the stress mark still wins
      {"voll'enden", true, "", "voll'end", 0, 0},
      {"'widerspiegeln", true, "'wider", "spiegel", 1, 0},
  };
  CheckRows(V(), std::begin(rows), std::end(rows));
}

TEST_F(PrefixesTest, OnsetAllowed) {
  Load("Prefixes.VLX");
  struct OnsetRow {
    const char* s;
    int k;
    bool allowed;
  };
  const OnsetRow rows[] = {
      {"umfahr", 2, true},
      {"umstell", 2, false},
      {"abtrag", 2, true},
      {"abschreib", 2, false},
      {"aufeinander", 3, true},
      {"azz", 1, false},
      {"abx", 1, true},  // the last letter never joins the onset
      {"ab", 1, true},
      {"ab", 2, true},
      {"ab", 9, true},
      {"ab", -3, true},
      {"", 0, true},
  };
  for (const OnsetRow& r : rows) EXPECT_EQ(OnsetAllowed(r.s, r.k), r.allowed) << r.s << " " << r.k;
  EXPECT_EQ(StressSyllable("arbeit"), 0);
}

// Odd inputs reach the prefix analysis without reading outside a string.
TEST_F(PrefixesTest, OddInputsStayInside) {
  Load("Prefixes.VLX");
  V().SetOnErrMsg([](const std::u16string&) {});
  std::string longGap(300, 'a');
  longGap[280] = '_';
  longGap += "en";
  const std::string inputs[] = {
      "'n",
      "`n",
      "_n",
      "/n",
      "'_n",
      "über_n",
      "'mißn",
      "'missn",
      "mißn",
      "unterver_n",
      "'hintern",
      "`hintergehen",
      "'hintergehen",
      "hintergehen",
      "zzz_'an",
      longGap,
      std::string(300, 'u') + "n",
      "a b c d e f g _ n",
  };
  for (const std::string& in : inputs) {
    V().newVerbA(Ansi(in), unsp);
    EXPECT_LE(V().GEpos, static_cast<int>(V().stamm.size()) + 1) << in;
  }
}

}  // namespace
