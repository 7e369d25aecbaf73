// SPDX-License-Identifier: MIT
// The request service: single forms and their letters, the word-form lists in both modes,
// prefixed verbs and the reset of unPrefixed, macro lines, analysis errors, and the command
// line front end.
#include "app/Request.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_cmn_A.h"

namespace {

namespace fs = std::filesystem;

const std::string kUnknown = "** unbekannter Formname! **";

fs::path Fixture() {
  return fs::path(BEUGWERK_FIXTURES) / "request" / "request.VLX";
}

std::vector<std::string> Utf8Lines(const std::vector<std::u16string>& lines) {
  std::vector<std::string> out;
  for (const std::u16string& l : lines) out.push_back(UniToUtf8(l));
  return out;
}

class RequestTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { VerbListsPath = Fixture(); }
  std::vector<std::string> Answer(std::string_view request) {
    service.Poke(Utf8ToUni(request));
    return Utf8Lines(service.Item());
  }
  TRequestService service;
};

TEST_F(RequestTest, StartsWithTheInitialRequest) {
  EXPECT_EQ(service.Item(), std::vector<std::u16string>{u"A:gehen"});
}

TEST_F(RequestTest, SingleForms) {
  struct Row {
    const char* request;
    const char* answer;
    bool refused = false;  // no form: the text is no request
  } rows[] = {
      {"G2:lesen", "liest"},
      {"G1:lesen", "lese"},
      {"V3:lesen", "las"},
      {"K2:lesen", "lesest"},
      {"J1:lesen", "läse"},
      {"S:lesen", "lies!"},
      {"P:lesen", "lest!"},
      {"1:lesen", "lesend"},
      {"2:lesen", "gelesen"},
      {"J1:gehen", "ginge"},
      {"G2lesen", "liest"},  // no ":": the infinitive starts at the third character
      {"G3:sich waschen", "wäscht sich"},
      {"G1:ankommen", "komme an"},
      {"V3:anfangen", "fing an"},
      {"2:ankommen", "angekommen"},
      {"G3:3 regnen", "regnet"},
      // the phrase's separated words leave no blank at the end
      {"G1:mit dem Taxi fahren", "fahre mit dem Taxi"},
      {"S:mit dem Taxi fahren", "fahre mit dem Taxi!"},
      // a missing form stays "-", also for the imperative
      {"S:3 regnen", "-"},
      {"G1:3 regnen", "-"},
      {"S", "-", true},
      {"", "-", true},
      {"G2", "-", true},
      {"G7:lesen", kUnknown.c_str(), true},
      {"G0:lesen", kUnknown.c_str(), true},
      {"V:lesen", kUnknown.c_str(), true},
      {"Q1:lesen", kUnknown.c_str(), true},
      {"g2:lesen", kUnknown.c_str(), true},  // letters are case-sensitive
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Answer(row.request), std::vector<std::string>{row.answer}) << row.request;
    EXPECT_EQ(service.Refused(), row.refused) << row.request;
  }
}

TEST_F(RequestTest, OnlyTheFirstLineCounts) {
  EXPECT_EQ(Answer("G2:lesen\r\nG1:gehen"), std::vector<std::string>{"liest"});
  EXPECT_EQ(Answer("G2:lesen\nQ"), std::vector<std::string>{"liest"});
}

TEST_F(RequestTest, AnalysisErrorAnswersWithTheMessage) {
  struct Row {
    const char* request;
    const char* answer;
  } rows[] = {
      {"G2:lesex", "lesex ist kein Infinitiv!"},
      {"A1:lesex", "lesex ist kein Infinitiv!"},
      {"G2:'le'sen", "Bitte nur EIN Betonungszeichen eingeben!"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Answer(row.request), std::vector<std::string>{row.answer}) << row.request;
    EXPECT_TRUE(service.Refused()) << row.request;
  }
  EXPECT_EQ(Answer("G2:lesen"), std::vector<std::string>{"liest"}) << "after an error";
  EXPECT_FALSE(service.Refused());
}

TEST_F(RequestTest, DistinctListHasNoDashesAndNoDuplicates) {
  const std::vector<std::string> expected = {"gehe",   "gehst",  "geht",    "gehen",   "ging",
                                             "gingst", "gingen", "gingt",   "gehest",  "gehet",
                                             "ginge",  "gänge",  "gingest", "gängest", "gängen",
                                             "ginget", "gänget", "geh",     "gehend",  "gegangen"};
  EXPECT_EQ(Answer("A1:gehen"), expected);
  // persons without forms give no "-" line
  for (const std::string& line : Answer("A1:3 regnen")) EXPECT_NE(line, "-");
}

TEST_F(RequestTest, DistinctListOfAReflexiveVerb) {
  // "sich waschen": the Konjunktiv I "wasche mich" equals the Präsens; Konjunktiv II in the
  // list comes without pronoun.
  const std::vector<std::string> list = Answer("A1:sich waschen");
  EXPECT_EQ(std::count(list.begin(), list.end(), "wasche mich"), 1);
  EXPECT_EQ(list.back(), "sich gewaschen");
}

TEST_F(RequestTest, FullListHasOneLinePerFormAndAlternative) {
  const std::vector<std::string> list = Answer("A0:gehen");
  ASSERT_EQ(list.size(), 54u);  // 27 forms, each followed by its alternative
  const std::array<std::string_view, 6> praesens = {"gehe",  "gehst", "geht",
                                                    "gehen", "geht",  "gehen"};
  for (std::size_t p = 0; p < 6; ++p) {
    EXPECT_EQ(list[2 * p], praesens[p]) << p;
    EXPECT_EQ(list[2 * p + 1], "") << p;
  }
  EXPECT_EQ(list[36], "ginge");  // Konjunktiv II, person 1, and its alternative
  EXPECT_EQ(list[37], "gänge");
  EXPECT_EQ(list[48], "gehe");  // Imperativ singular with its short form
  EXPECT_EQ(list[49], "geh");
  EXPECT_EQ(list[50], "gehend");
  EXPECT_EQ(list[52], "gegangen");
  // "A:" (no digit 1) is the full list too
  EXPECT_EQ(Answer("A:gehen"), list);
  EXPECT_EQ(Answer("Ax:gehen"), list);
}

TEST_F(RequestTest, PrefixedVerbRepeatsTheTensesAndEndsWithThePrefix) {
  const std::vector<std::string> list = Answer("A0:ankommen");
  ASSERT_EQ(list.size(), 54u + 48u + 1u);
  EXPECT_EQ(list[0], "komme");  // without the separated particle
  EXPECT_EQ(list[12], "kam");
  EXPECT_EQ(list[50], "ankommend");
  EXPECT_EQ(list[52], "angekommen");
  for (std::size_t i = 0; i < 48; ++i) EXPECT_EQ(list[54 + i], list[i]) << i;
  EXPECT_EQ(list.back(), "an-");

  const std::vector<std::string> distinct = Answer("A1:anfangen");
  EXPECT_EQ(distinct.front(), "fange");
  EXPECT_EQ(distinct.back(), "an-");
}

TEST_F(RequestTest, SingleFormsAfterAListKeepTheParticle) {
  Answer("A1:ankommen");
  EXPECT_EQ(Answer("G1:ankommen"), std::vector<std::string>{"komme an"});
  EXPECT_EQ(Answer("S:ankommen"), std::vector<std::string>{"komme an!"});
}

TEST_F(RequestTest, BorrowsTheOwnersVerbObject) {
  TVerbGen verb;
  TRequestService borrowed(verb);
  borrowed.Poke(u"A1:ankommen");
  EXPECT_EQ(verb.infin, "ankommen");
  EXPECT_FALSE(verb.unPrefixed);
  service.Poke(u"A1:ankommen");
  EXPECT_EQ(borrowed.Item(), service.Item());
}

struct MacroCall {
  bool called = false;
  TRequestMacro macro = rm_Close;
  std::u16string phrase;
};

TEST_F(RequestTest, MacroCommands) {
  MacroCall call;
  service.SetOnMacro([&call](TRequestMacro m, const std::u16string& p) { call = {true, m, p}; });
  struct Row {
    const char16_t* macro;
    TRequestMacro expected;
    const char16_t* phrase;
  } rows[] = {
      {u"[INF=lesen]", rm_Show, u"lesen"},
      {u"[inf=sich waschen]", rm_Show, u"sich waschen"},
      {u"INF=lesen", rm_Show, u"lesen"},
      {u"[INF=]", rm_Show, u""},
      {u"[min]", rm_Minimize, u""},
      {u"MIN", rm_Minimize, u""},
      {u"[Min", rm_Minimize, u""},
      {u"[RES]", rm_Restore, u""},
      {u"[CLOS]", rm_Close, u""},
      {u"[close]", rm_Close, u""},
      {u"[min]\r\n[CLOS]", rm_Minimize, u""},
  };
  for (const Row& row : rows) {
    call = {};
    service.ExecuteMacro(row.macro);
    EXPECT_TRUE(call.called) << UniToUtf8(row.macro);
    EXPECT_EQ(call.macro, row.expected) << UniToUtf8(row.macro);
    EXPECT_EQ(call.phrase, row.phrase) << UniToUtf8(row.macro);
  }
  const char16_t* ignored[] = {u"[MINIMIZE]", u"[RESTORE]", u"[MI]",   u"[XYZ]",    u"",
                               u"[]",         u"[INF",      u" [MIN]", u"\r\n[MIN]"};
  for (const char16_t* macro : ignored) {
    call = {};
    service.ExecuteMacro(macro);
    EXPECT_FALSE(call.called) << UniToUtf8(macro);
  }
}

TEST_F(RequestTest, MacroPhraseIsCutAt255Characters) {
  std::u16string phrase;
  service.SetOnMacro([&phrase](TRequestMacro, const std::u16string& p) { phrase = p; });
  service.ExecuteMacro(u"[INF=" + std::u16string(300, u'a') + u"]");
  EXPECT_EQ(phrase, std::u16string(255, u'a'));
  // a surrogate pair across the limit is not cut in two
  service.ExecuteMacro(u"[INF=" + std::u16string(254, u'a') + u"\U0001F600" + u"]");
  EXPECT_EQ(phrase, std::u16string(254, u'a'));
}

TEST_F(RequestTest, PokedMacroLineKeepsThePokedText) {
  std::u16string phrase;
  service.SetOnMacro([&phrase](TRequestMacro, const std::u16string& p) { phrase = p; });
  service.Poke(u"[INF=lesen]");
  EXPECT_EQ(phrase, u"lesen");
  EXPECT_EQ(service.Item(), std::vector<std::u16string>{u"[INF=lesen]"});
  service.Poke(u"[XYZ]\r\nzweite Zeile\r\n");
  EXPECT_EQ(service.ItemText(), u"[XYZ]\r\nzweite Zeile");
}

TEST(SplitLinesW, BreaksAtCrLfCrAndLf) {
  struct Row {
    std::u16string_view text;
    std::vector<std::u16string> lines;
  } rows[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\rb\nc", {u"a", u"b", u"c"}},
      {u"a\r\n", {u"a"}},
      {u"a\r\n\r\nb", {u"a", u"", u"b"}},
      {u"\n", {u""}},
      {u" a \r\n", {u" a "}},
  };
  for (const Row& row : rows) EXPECT_EQ(SplitLinesW(row.text), row.lines) << UniToUtf8(row.text);
}

// --- the command line ---------------------------------------------------------------------

struct RunResult {
  int status = -1;
  std::string out;
};

RunResult RunRequestCommand(const std::string& text) {
  const std::string cmd = std::string("'") + BEUGWERK_EXE + "' --verb-lists '" +
                          Fixture().string() + "' request '" + text + "' 2>/dev/null";
  RunResult r;
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) r.out.append(buf, n);
  const int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(RequestCommand, PrintsTheItemLineByLine) {
  struct Row {
    const char* text;
    const char* out;
    int status = 0;  // 1: the request was refused
  } rows[] = {
      {"G2:lesen", "liest\n"},
      {"G7:lesen", "** unbekannter Formname! **\n", 1},
      {"S", "-\n", 1},
      {"[INF=lesen]", "[INF=lesen]\n"},
      {"A1:gehen",
       "gehe\ngehst\ngeht\ngehen\nging\ngingst\ngingen\ngingt\ngehest\ngehet\nginge\ngänge\n"
       "gingest\ngängest\ngängen\nginget\ngänget\ngeh\ngehend\ngegangen\n"},
      {"G2:lesex", "lesex ist kein Infinitiv!\n", 1},
  };
  for (const Row& row : rows) {
    const RunResult r = RunRequestCommand(row.text);
    EXPECT_EQ(r.status, row.status) << row.text;
    EXPECT_EQ(r.out, row.out) << row.text;
  }
  const RunResult full = RunRequestCommand("A0:gehen");
  EXPECT_EQ(full.status, 0);
  EXPECT_EQ(std::count(full.out.begin(), full.out.end(), '\n'), 54);
  EXPECT_TRUE(full.out.starts_with("gehe\n\ngehst\n\n")) << full.out;
}

}  // namespace
