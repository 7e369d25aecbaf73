// SPDX-License-Identifier: MIT
// Conjugation class: exception lookup, form limits, auxiliary, stem vowel, slot completion
// and the weak/strong request, on the small lists in fixtures/analysis/conjclass*.VLX
// (prefixes "ab", "an" with the onsets "f", "h"; entries "handhab \", "?halt", "fahr", "hab",
// "back" with regular forms beside, "kriech" with the sein flag; auxiliary entry "fahr2"; form
// limits of "xy*").
#include <gtest/gtest.h>

#include <filesystem>
#include <latch>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "tests/GermanText.h"

namespace {

std::filesystem::path Fixture(std::string_view name) {
  return std::filesystem::path(BEUGWERK_FIXTURES) / "analysis" / name;
}

const unRegRec* Entry(std::string_view stem) {
  for (const unRegRec& e : unRegList)
    if (e.uStamm == stem) return &e;
  return nullptr;
}

std::string StemOf(const TVerbGen& v) {
  return v.unRegel ? v.unRegel->uStamm : "-";
}

class ConjClassTest : public ::testing::Test {
 protected:
  void SetUp() override { VerbListsPath = Fixture("conjclass.VLX"); }
  // Collects messages so that an analysis never throws in the tables below.
  void Quiet(TVerbGen& v) {
    v.SetOnErrMsg([this](const std::u16string& m) { messages.push_back(UniToUtf8(m)); });
  }
  std::vector<std::string> messages;
};

struct EntryRow {
  const char* input;
  TSchwSt request;
  const char* entry;  // uStamm after the analysis, "-" for none
  bool regelsperre;
};

constexpr EntryRow kEntryRows[] = {
    {"fahren", unsp, "fahr", false},
    {"abfahren", unsp, "fahr", false},
    {"anfahren", unsp, "fahr", false},
    {"erfahren", unsp, "fahr", false},  // "er" is inseparable
    {"befahren", unsp, "fahr", false},
    // "zu" is no known prefix here: the whole stem has no entry, the compound rule finds the
    // strong base behind its first part
    {"zufahren", unsp, "fahr", false},
    {"halten", unsp, "-", false},  // "?halt" needs a compound
    {"anhalten", unsp, "?halt", false},
    {"an/halten", unsp, "?halt", false},  // ... or a split prefix
    {"haben", unsp, "hab", false},
    {"handhaben", unsp, "-", false},     // the longer "handhab \" wins and is then dropped
    {"fahren", schwach, "fahr", false},  // no regular forms beside: stays irregular
    {"backen", unsp, "back", false},
    {"backen", schwach, "-", false},
    {"backen", stark, "back", true},
};

TEST_F(ConjClassTest, ExceptionEntryAndClassRequest) {
  TVerbGen v;
  Quiet(v);
  for (const EntryRow& row : kEntryRows) {
    v.newVerbA(row.input, row.request);
    std::string name = std::string(row.input) + "/" + std::to_string(row.request);
    EXPECT_EQ(StemOf(v), row.entry) << name;
    EXPECT_EQ(v.regelsperre, row.regelsperre) << name;
    EXPECT_EQ(v.schwst, row.request) << name;
  }
  EXPECT_TRUE(messages.empty());
}

struct LimitRow {
  const char* input;
  TFormenSet suppressed;
  const char* infinitivII;
  const char* partizipI;
  const char* partizipII;
  bool reported;
};

constexpr LimitRow kLimitRows[] = {
    {"xyzen", FiniteFormsAndImperatives, "", "", "", false},
    {"xyken", 0, "def", "", "abc", false},
    {"xymen", FormBit(PartizipII), "", "", "", false},  // ';' ends the line
    {"xyqen", 0, "", "", "", true},
    {"xywen", FormBit(InfinitivII), "", "", "", true},  // items before the bad letter stay
    {"lesen", 0, "", "", "", false},
};

TEST_F(ConjClassTest, FormLimits) {
  TVerbGen v;
  Quiet(v);
  for (const LimitRow& row : kLimitRows) {
    messages.clear();
    v.newVerbA(row.input, unsp);
    EXPECT_EQ(v.UnterdrueckteFormen(), row.suppressed) << row.input;
    EXPECT_EQ(v.ausnahmeformen[1], row.infinitivII) << row.input;
    EXPECT_EQ(v.ausnahmeformen[2], row.partizipI) << row.input;
    EXPECT_EQ(v.ausnahmeformen[3], row.partizipII) << row.input;
    if (row.reported) {
      ASSERT_EQ(messages.size(), 1u) << row.input;
      EXPECT_EQ(messages[0], "Liste für eingeschränkten Formenumfang und Ausnahmen");
    } else {
      EXPECT_TRUE(messages.empty()) << row.input;
    }
  }
}

// A compound whose ge-/zu- position no rule finds is still decided when the lists leave it no
// finite forms and give or suppress both forms that would need the position. Stems built on a
// noun are decided by rule in any case; a particle the analysis does not split (an before an
// onset it does not know) leaves the position open.
TEST_F(ConjClassTest, FormLimitsSettleTheGePosition) {
  struct {
    const char* input;
    bool decided;
    const char* partizipII;
  } rows[] = {
      {"wettlaufen", true, "-"},
      {"kopfrechnen", true, "kopfgerechnet"},
      {"sonnenbaden", true, nullptr},
      {"wettrennen", true, nullptr},
      {"schwimmsteigen", true, nullptr},
      {"anwettlaufen", true, "-"},
      {"ansonnenbaden", false, nullptr},     // finite forms suppressed, participle still built
      {"anwettrennen", false, nullptr},      // participle settled, finite forms still built
      {"anschwimmsteigen", false, nullptr},  // no limits at all
  };
  TVerbGen v;
  Quiet(v);
  for (const auto& row : rows) {
    EXPECT_EQ(v.newVerbA(row.input, unsp), row.decided) << row.input;
    if (row.partizipII != nullptr) {
      EXPECT_EQ(v.PartizipA(2), row.partizipII) << row.input;
      EXPECT_EQ(v.PraesensA(1, false), "-") << row.input;
    }
  }
}

TEST_F(ConjClassTest, FormLimitErrorWithoutHandlerThrows) {
  TVerbGen v;
  EXPECT_THROW(v.newVerbA("xyqen", unsp), EVerbGenError);
  EXPECT_NO_THROW(ReloadVerbLists());  // the read lock was released
  EXPECT_TRUE(v.newVerbA("fahren", unsp));
}

struct AuxRow {
  const char* lists;
  const char* input;
  habseityp aux;
};

constexpr AuxRow kAuxRows[] = {
    {"conjclass.VLX", "fahren", sein},
    {"conjclass.VLX", "abfahren", sein},          // through the stem without its prefix
    {"conjclass_abfahr.VLX", "abfahren", haben},  // prefix and stem are looked up first
    {"conjclass.VLX", "sich waschen", haben},
    {"conjclass.VLX", "verlaufen", sein},        // der Weg ist verlaufen
    {"conjclass.VLX", "sich verlaufen", haben},  // the reflexive verb beats the table entry
    {"conjclass.VLX", "(sich) verlaufen", haben},
    {"conjclass.VLX", "sich abfahren", haben},  // the entry found through the stem alone
    {"conjclass.VLX", "kriechen", sein},        // the entry's flag
    {"conjclass.VLX", "lesen", haben},
};

TEST_F(ConjClassTest, Auxiliary) {
  for (const AuxRow& row : kAuxRows) {
    VerbListsPath = Fixture(row.lists);
    TVerbGen v;
    Quiet(v);
    v.newVerbA(row.input, unsp);
    EXPECT_EQ(v.habsein(), row.aux) << row.lists << " " << row.input;
    EXPECT_EQ(v.habenSein(), row.aux) << row.lists << " " << row.input;
  }
}

struct VowelRow {
  const char* input;
  const char* vowel;
  int vpos;
  bool isLong;
};

constexpr VowelRow kVowelRows[] = {
    {"fahren", "a", 2, true},   {"helfen", "e", 2, false},
    {"lesen", "e", 2, true},    {"schreiben", "ei", 5, true},
    {"wandern", "a", 2, false}, {"beschäftigen", "ä", 6, false},
    {"knien", "ie", 3, true},   {"freuen", "eu", 3, true},
    {"tun", "u", 2, true},      {"sitzen", "i", 2, false},
    {"nehmen", "e", 2, true},   {"igen", "i", 1, true},  // starts on the first letter
    {"angeln", "a", 1, false},
};

TEST_F(ConjClassTest, StemVowel) {
  TVerbGen v;
  Quiet(v);
  for (const VowelRow& row : kVowelRows) {
    v.newVerbA(Ansi(row.input), unsp);
    EXPECT_EQ(Utf8(v.stammvokal), row.vowel) << row.input;
    EXPECT_EQ(v.vpos, row.vpos) << row.input;
    EXPECT_EQ(v.stammvokalLang, row.isLong) << row.input;
  }
}

TEST_F(ConjClassTest, EmptySlotsAreCompletedOnce) {
  TVerbGen v;
  Quiet(v);
  v.newVerbA("anhalten", unsp);
  const unRegRec* halt = Entry("?halt");
  ASSERT_NE(halt, nullptr);
  EXPECT_EQ(halt->ablaut[3], "a");  // the stem vowel of the first verb
  EXPECT_FALSE(halt->ablautLang[3]);
  EXPECT_EQ(halt->ablaut[4], "ie");  // Konjunktiv II from the Präteritum
  EXPECT_TRUE(halt->ablautLang[4]);
  EXPECT_EQ(halt->endung[4], halt->endung[1]);
  v.newVerbA("handhaben", unsp);
  for (const unRegRec& e : unRegList) {
    if (e.dochRegel) {
      EXPECT_TRUE(e.ablaut[1].empty()) << e.uStamm;  // never completed
    }
  }
  v.newVerbA("fahren", unsp);
  EXPECT_EQ(Utf8(Entry("fahr")->ablaut[4]), "ü");  // a given slot stays
}

// Two analyses on two threads complete the same shared entry at the same moment.
TEST_F(ConjClassTest, ConcurrentCompletionOfOneEntry) {
  TVerbGen a, b;
  Quiet(a);
  Quiet(b);
  for (int round = 0; round < 20; ++round) {
    ReloadVerbLists();  // fresh records with empty slots
    std::latch start(2);
    auto run = [&start](TVerbGen& v, const char* input) {
      start.arrive_and_wait();
      v.newVerbA(input, unsp);
    };
    std::thread ta(run, std::ref(a), "anhalten");
    std::thread tb(run, std::ref(b), "abhalten");
    ta.join();
    tb.join();
    ASSERT_EQ(a.unRegel, b.unRegel);
    ASSERT_NE(a.unRegel, nullptr);
    EXPECT_EQ(a.unRegel->ablaut[3], "a");
    EXPECT_EQ(a.unRegel->ablaut[4], "ie");
  }
}

}  // namespace
