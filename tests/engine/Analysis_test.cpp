// SPDX-License-Identifier: MIT
// The input analysis: normalisation, markers, reflexive pronoun, stem, ending classes and
// the rejected inputs, on small verb lists written for these tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "tests/GermanText.h"

namespace {

std::filesystem::path Fixture(std::string_view name) {
  return std::filesystem::path(BEUGWERK_FIXTURES) / "analysis" / name;
}

std::string Bool(bool b) {
  return b ? "1" : "0";
}

// The analysis fields the tables below name, as text.
std::optional<std::string> Field(const TVerbGen& v, std::string_view name) {
  if (name == "infin") return v.infin;
  if (name == "stamm") return v.stamm;
  if (name == "praef") return v.praef;
  if (name == "stressMarker") return v.stressMarker;
  if (name == "refl") return Bool(v.refl);
  if (name == "auchunrefl") return Bool(v.auchunrefl);
  if (name == "refKasus") return std::string(1, v.refKasus);
  if (name == "refPraep") return v.refPraep;
  if (name == "transitiv") return Bool(v.transitiv);
  if (name == "ESverb") return Bool(v.ESverb);
  if (name == "NurPlural") return Bool(v.NurPlural());
  if (name == "_eln") return Bool(v._eln);
  if (name == "_ern") return Bool(v._ern);
  if (name == "_igen") return Bool(v._igen);
  if (name == "_lichen") return Bool(v._lichen);
  if (name == "BasisLen") return std::to_string(v.BasisLen);
  if (name == "GEpos") return std::to_string(v.GEpos);
  if (name == "fuegstelle") return std::to_string(v.fuegstelle);
  if (name == "ohneUnterschied") return Bool(v.ohneUnterschiedMeldung);
  return std::nullopt;
}

// "name=value|name=value": values may hold blanks (a trailing blank counts).
void ExpectFields(const TVerbGen& v, std::string_view expectations, const std::string& row) {
  while (!expectations.empty()) {
    std::size_t bar = expectations.find('|');
    std::string_view item = expectations.substr(0, bar);
    expectations.remove_prefix(bar == std::string_view::npos ? expectations.size() : bar + 1);
    std::size_t eq = item.find('=');
    ASSERT_NE(eq, std::string_view::npos) << row;
    std::string_view name = item.substr(0, eq);
    std::optional<std::string> actual = Field(v, name);
    ASSERT_TRUE(actual.has_value()) << row << ": unknown field " << name;
    EXPECT_EQ(Utf8(*actual), item.substr(eq + 1)) << row << ": " << name;
  }
}

// Loads the lists of one fixture for the life of the test's verb objects.
class AnalysisTest : public ::testing::Test {
 protected:
  void UseLists(std::string_view name) { VerbListsPath = Fixture(name); }
};

struct Row {
  const char* input;
  const char* expected;
};

// Normalisation and stem, on lists with no prefixes: the values do not depend on them.
constexpr Row kInputRows[] = {
    {"sich waschen", "infin=waschen|stamm=wasch|refl=1|refKasus=A|transitiv=0|refPraep="},
    {"sich die Hände waschen", "infin=die Hände waschen|refl=1|refKasus=D|transitiv=1"},
    {"sich3 etwas merken", "refl=1|refKasus=D|stamm=merk|transitiv=1"},
    {"(sich) ärgern", "infin=ärgern|refl=1|auchunrefl=1|refKasus=A|_ern=1"},
    {"(sich3) leisten", "infin=leisten|refl=1|auchunrefl=1|refKasus=D"},
    {"sich4 waschen", "infin=waschen|refl=1|refKasus=A"},
    {"etwas mit sich bringen", "refPraep=etwas mit |refKasus=D|infin=bringen|refl=1"},
    {"mit sich4 reden", "refPraep=mit |refKasus=D|infin=reden"},
    {"sich das Haar schneiden lassen", "refKasus=D|transitiv=1|stamm=lass"},
    {"sich Sorgen machen", "refKasus=D"},    // first word ends in "en"
    {"sich zu Tode lachen", "refKasus=A"},   // first word neither article nor "en"/"es"
    {"sich gewaschen haben", "refKasus=A"},  // only the verb before the auxiliary
    {"besichtigen", "refl=0|stamm=besichtig|_igen=1"},
    {"3 regnen", "ESverb=1|infin=regnen|stamm=regn"},
    {"  lesen", "infin=lesen|stamm=les|BasisLen=3"},
    {"knien", "stamm=knie"},
    {"schreien", "stamm=schrei"},
    {"wandern", "stamm=wander|_ern=1|_eln=0|BasisLen=4"},
    {"klingeln", "stamm=klingel|_eln=1|_ern=0"},
    {"angeln", "_eln=1"},
    {"wiehern", "stamm=wieher|_ern=1|_eln=0"},
    {"möchten", "stamm=mög|infin=mögen"},
    {"hangen", "stamm=häng|infin=hängen"},
    {"würden", "stamm=werd|infin=werden"},
    {"beschäftigen", "_igen=1|BasisLen=8"},
    {"verdeutlichen", "_lichen=1|BasisLen=7"},
    {"mit dem Taxi fahren", "transitiv=1|stamm=fahr|praef=mit dem Taxi "},
    {"ab/fahren", "praef=ab|stamm=fahr|infin=abfahren|ohneUnterschied=1"},
    {"/umfahren", "praef= |stamm=umfahr|infin=umfahren"},
    {"Rad/fahren", "praef=Rad|stamm=fahr"},
    {"rad/fahren", "praef=Rad|stamm=fahr"},
    {"wasserstrahl_biegen", "fuegstelle=12|stamm=wasserstrahlbieg|infin=wasserstrahlbiegen"},
    {"gehn", "stamm=geh"},
    {"tun", "stamm=tu"},
    {"stillegen", "infin=stilllegen|stamm=stillleg"},
    {"Stillegen", "infin=stilllegen"},  // the old spelling is found in any letter case
    // The verb is lowered, the words before it keep their capitals.
    {"Lesen", "infin=lesen|stamm=les|BasisLen=3"},
    {"LESEN", "infin=lesen|stamm=les"},
    {"Ändern", "infin=ändern|stamm=änder|_ern=1"},
    {"sich Waschen", "infin=waschen|stamm=wasch|refl=1"},
    {"Sich waschen", "infin=waschen|refl=1|refPraep="},  // as at the start of a sentence
    {"(Sich) ärgern", "infin=ärgern|refl=1|auchunrefl=1"},
    {"Sicherheit geben", "infin=Sicherheit geben|refl=0|stamm=geb"},
    {"mit dem Taxi Fahren", "transitiv=1|stamm=fahr|praef=mit dem Taxi "},
    {"Rad/Fahren", "praef=Rad|stamm=fahr"},
    {"\\+lesen", "infin='lesen|stressMarker=\\+"},
    {"\\+le\\+sen", "infin='lesen|stressMarker=\\+"},  // later "\+" are dropped
    {"\\.lesen", "infin='lesen|stressMarker=\\."},
    {"'über`setzen", "infin='über`setzen"},  // a backquote is no second mark
    {"igen", "stamm=ig|_igen=1|BasisLen=0"},
};

TEST_F(AnalysisTest, NormalisesInputAndStem) {
  UseLists("input.VLX");
  TVerbGen v;
  std::vector<std::u16string> messages;
  v.SetOnErrMsg([&](const std::u16string& m) { messages.push_back(m); });
  for (const Row& row : kInputRows) {
    messages.clear();
    v.newVerbA(Ansi(row.input), unsp);
    EXPECT_TRUE(messages.empty()) << row.input << ": " << UniToUtf8(messages.front());
    ExpectFields(v, row.expected, row.input);
  }
}

// Rejected inputs: the message, or none for an empty input.
constexpr Row kRejectedRows[] = {
    {"'über'setzen", "Bitte nur EIN Betonungszeichen eingeben!"},
    {"\\.le\\.sen", "Bitte nur EIN Betonungszeichen eingeben!"},
    {"((", "((\rist kein Infinitiv!"},
    {"lesem", "lesem\rist kein Infinitiv!"},
    {"sich wäschen lassen ", "wäschen lassen \rist kein Infinitiv!"},
    {"3 ", "\rist kein Infinitiv!"},
    {"n", "ist kein Infinitiv!"},
    {"en", "ist kein Infinitiv!"},
    {"mit /en", "ist kein Infinitiv!"},
    {"pfn", "ist kein Infinitiv!"},
    {"", ""},
    {"    ", ""},
};

TEST_F(AnalysisTest, RejectsWithMessage) {
  UseLists("input.VLX");
  TVerbGen v;
  std::vector<std::string> messages;
  v.SetOnErrMsg([&](const std::u16string& m) { messages.push_back(UniToUtf8(m)); });
  for (const Row& row : kRejectedRows) {
    messages.clear();
    EXPECT_FALSE(v.newVerbA(Ansi(row.input), unsp)) << row.input;
    if (*row.expected == '\0') {
      EXPECT_TRUE(messages.empty()) << row.input;
    } else {
      ASSERT_EQ(messages.size(), 1u) << row.input;
      EXPECT_EQ(messages[0], row.expected) << row.input;
    }
  }
  v.newVerbA("lesem", unsp);
  EXPECT_EQ(v.stamm, "");  // the not-an-infinitive error empties the stem
}

// An input rejected part way ("schrÃ¤nken": a UTF-8 word read as Windows-1252 has no vowel
// the engine knows) gets its forms from what the analysis found of it alone: the verb before
// leaves neither its exception entry nor its stem vowel behind ("suhrÃ¤nk").
TEST_F(AnalysisTest, RejectedInputKeepsNothingOfTheVerbBefore) {
  UseLists("input.VLX");
  const std::string rejected = "schr\xC3\xA4nken";
  TVerbGen fresh;
  fresh.SetOnErrMsg([](const std::u16string&) {});
  EXPECT_FALSE(fresh.newVerbA(rejected, unsp));
  TVerbGen v;
  v.SetOnErrMsg([](const std::u16string&) {});
  ASSERT_TRUE(v.newVerbA("fahren", unsp));
  ASSERT_NE(v.unRegel, nullptr);
  EXPECT_FALSE(v.newVerbA(rejected, unsp));
  EXPECT_EQ(v.unRegel, nullptr);
  EXPECT_EQ(v.stammvokal, fresh.stammvokal);
  EXPECT_EQ(v.vpos, fresh.vpos);
  for (int person = 1; person <= 6; ++person) {
    EXPECT_EQ(v.PraesensA(person, false), fresh.PraesensA(person, false)) << person;
    EXPECT_EQ(v.PraeteritumA(person, false), fresh.PraeteritumA(person, false)) << person;
    EXPECT_EQ(v.KonjunktivVA(person, false), fresh.KonjunktivVA(person, false)) << person;
  }
  EXPECT_EQ(v.PartizipA(2), fresh.PartizipA(2));
}

TEST_F(AnalysisTest, UnloadedListsAreReported) {
  UseLists("empty.VLX");
  TVerbGen v;
  std::u16string message;
  v.SetOnErrMsg([&](const std::u16string& m) { message = m; });
  EXPECT_FALSE(v.newVerbA("lesen", unsp));
  EXPECT_EQ(message, u"init zuvor vergessen");
}

// Without a handler the message is raised; the read lock is released on the way out, so a
// reload (which takes the write lock) and a later analysis still work.
TEST_F(AnalysisTest, ErrorWithoutHandlerThrowsAndReleasesLock) {
  UseLists("input.VLX");
  TVerbGen v;
  try {
    v.newVerbA("'a'b", unsp);
    FAIL() << "no exception";
  } catch (const EVerbGenError& e) {
    EXPECT_EQ(e.Message(), u"Bitte nur EIN Betonungszeichen eingeben!");
    EXPECT_STREQ(e.what(), "Bitte nur EIN Betonungszeichen eingeben!");
  }
  EXPECT_THROW(v.newVerb(u"lesem", unsp), EVerbGenError);
  ASSERT_TRUE(VerbListsFileMode());
  EXPECT_NO_THROW(ReloadVerbLists());
  v.newVerbA("lesen", unsp);
  EXPECT_EQ(v.stamm, "les");
}

// The UTF-16 entry converts to Windows-1252 at the border.
TEST_F(AnalysisTest, Utf16InputIsConverted) {
  UseLists("input.VLX");
  TVerbGen v;
  v.newVerb(u"sich \u00E4rgern", unsp);
  EXPECT_EQ(Utf8(v.infin), "ärgern");
  EXPECT_TRUE(v.refl);
}

// A re-analysis passes the object's own infin; the previous result must not leak in.
TEST_F(AnalysisTest, ReanalysisOfOwnInfinitive) {
  UseLists("input.VLX");
  TVerbGen v;
  v.newVerbA("sich3 ab/fahren", unsp);
  EXPECT_EQ(v.infin, "abfahren");
  v.newVerbA(v.infin, v.schwst);
  EXPECT_EQ(v.infin, "abfahren");
  EXPECT_FALSE(v.refl);
}

}  // namespace
