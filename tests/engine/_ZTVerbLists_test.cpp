// SPDX-License-Identifier: MIT
// Parsing the verb lists, the packed tables, the lookups, the embedded copy and the file search.
#include "engine/_ZTVerbLists.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/ZT.Resources.h"
#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const fs::path kFixtures = fs::path(BEUGWERK_FIXTURES) / "verblists";
const std::string kEightEmptySections = "@\n@\n@\n@\n@\n@\n@\n@\n";

TVerbListsReport Parse(const std::string& text, TVerbListsTables& tables) {
  TAnsiStringList lines;
  lines.SetText(text);
  TVerbListsReport report;
  ParseVerbLists(lines, tables, &report);
  return report;
}

// Puts parsed text into the shared tables, which the lookups read.
TVerbListsReport LoadShared(const std::string& text) {
  FreeVerbLists();
  TVerbListsTables tables;
  TVerbListsReport report = Parse(text, tables);
  VerbLists = std::move(tables);
  return report;
}

class SharedTables : public ::testing::Test {
 protected:
  void TearDown() override { FreeVerbLists(); }
};

// --- Entry lines -------------------------------------------------------------------------------

struct EntryRow {
  std::string line;
  std::string stem;
  bool dochRegel, auchregel, regelBesser, P2nurUnreg;
  std::array<std::string, 4> ablaut, endung, ablaut2;
  std::array<bool, 4> lang, lang2;
  std::uint16_t flags;
};

TEST(EntryLine, FieldsFromTheLine) {
  const EntryRow rows[] = {
      {"stamm \\", "stamm", true, false, false, false, {}, {}, {}, {}, {}, 0},
      {"stamm R\\ a -e", "stamm", false, true, true, true, {"a"}, {"-e"}, {}, {}, {}, 0},
      {"schleif r i -1ff i -1ffen !h",
       "schleif",
       false,
       true,
       false,
       false,
       {"i", "i"},
       {"-1ff", "-1ffen"},
       {},
       {},
       {},
       1},
      // Without a class letter nothing is removed: an empty vowel shows as two blanks.
      {"sei  -3war  -3wesen  \xE4: -3w\xE4r !i",
       "sei",
       false,
       false,
       false,
       false,
       {"", "", "", "\xE4"},
       {"-3war", "-3wesen", "", "-3w\xE4r"},
       {},
       {false, false, false, true},
       {},
       2},
      // 'ie:' keeps its colon: only a ':' in second place cuts the text.
      {"x i|ie: u: ie o|a:",
       "x",
       false,
       false,
       false,
       false,
       {"i", "u", "ie", "o"},
       {},
       {"ie:", "", "", "a"},
       {false, true, true, false},
       {true, false, false, true},
       0},
      {"?ginn a o  \xE4|\xF6 !h",
       "?ginn",
       false,
       false,
       false,
       false,
       {"a", "o", "", "\xE4"},
       {},
       {"", "", "", "\xF6"},
       {},
       {},
       1},
  };
  for (const EntryRow& r : rows) {
    TVerbListsTables t;
    const TVerbListsReport rep = Parse(r.line + "\n@\n" + kEightEmptySections + "@\n@\n", t);
    ASSERT_EQ(t.unRegList.size(), 1u) << r.line;
    const unRegRec& e = t.unRegList[0];
    EXPECT_EQ(e.uStamm, r.stem) << r.line;
    EXPECT_EQ(e.dochRegel, r.dochRegel) << r.line;
    EXPECT_EQ(e.auchregel, r.auchregel) << r.line;
    EXPECT_EQ(e.regelBesser, r.regelBesser) << r.line;
    EXPECT_EQ(e.P2nurUnreg, r.P2nurUnreg) << r.line;
    EXPECT_EQ(e.flags, r.flags) << r.line;
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(e.ablaut[i], r.ablaut[i - 1]) << r.line << " slot " << i;
      EXPECT_EQ(e.endung[i], r.endung[i - 1]) << r.line << " slot " << i;
      EXPECT_EQ(e.ablaut2[i], r.ablaut2[i - 1]) << r.line << " slot " << i;
      EXPECT_EQ(e.ablautLang[i], r.lang[i - 1]) << r.line << " slot " << i;
      EXPECT_EQ(e.ablautlang2[i], r.lang2[i - 1]) << r.line << " slot " << i;
    }
    EXPECT_TRUE(rep.problems.empty()) << r.line;
  }
}

TEST(EntryLine, UnsoundLinesAreSkippedAndReported) {
  const std::string rejected[] = {"stamm",      "stamm ",   "stamm  ", "stamm r",  "stamm R\\",
                                  "stamm r\\ ", " stamm a", "!h",      "stamm !hS"};
  for (const std::string& line : rejected) {
    TVerbListsTables t;
    const TVerbListsReport rep =
        Parse("geh i -1ng\n" + line + "\n@\n" + kEightEmptySections + "@\n@\n", t);
    EXPECT_EQ(t.unRegList.size(), 1u) << '"' << line << '"';
    ASSERT_EQ(rep.problems.size(), 1u) << '"' << line << '"';
    EXPECT_EQ(rep.problems[0].line, 2) << '"' << line << '"';
    EXPECT_EQ(rep.problems[0].section, vlsEntries) << '"' << line << '"';
    EXPECT_EQ(rep.counts[vlsEntries], 1) << '"' << line << '"';
  }
}

TEST(EntryLine, FlagLetters) {
  const struct {
    const char* text;
    std::uint16_t flags;
  } rows[] = {{"hS", 0x8001},  {"b", 3},         {"aj", 0x0200}, {"ae", 0x0400}, {"a", 0x0600},
              {"Aj", 0x0300},  {"Dj", 0x3000},   {"de", 0x4000}, {"d", 0x6000},  {"u3", 0x0016},
              {"r45", 0x0034}, {"?x h", 0x0001}, {"", 0}};
  for (const auto& r : rows) EXPECT_EQ(ParseFlagLetters(r.text), r.flags) << r.text;
}

TEST(EntryLine, SortByStemLengthKeepsFileOrderWithinALength) {
  TVerbListsTables t;
  Parse("fahr u\nhab a\n?fahr u\ngeh i\nab a\nhandhab \\\n@\n" + kEightEmptySections + "@\n@\n", t);
  std::string order;
  for (unRegPtr e = &t.unRegList.front(); e; e = e->next) order += e->uStamm + ",";
  EXPECT_EQ(order, "handhab,?fahr,fahr,hab,geh,ab,");
}

// --- Tables ------------------------------------------------------------------------------------

TEST(PackedTables, BytesOfEverySection) {
  TVerbListsTables t;
  const TVerbListsReport rep = Parse(
      "geh i\n@\n"
      "* prefixes\nab\n\n\xFC"
      "ber free text\n@\n"
      "bet\n@\n"
      "telefonier3 comment\narbeit1\n@\n"
      "kennenlern4\n@\n"
      "wasserstrahlbieg4\nabc12\n@\n"
      "sch\n@\n"
      "regn\n@\n"
      "geh2\n@\n"
      "xyz F\\\n@\n"
      "stillegen 5\n@\n",
      t);
  EXPECT_EQ(t.prefixTable,
            "\x02"
            "ab"
            "\x04\xFC"
            "ber"
            "\0"s);
  EXPECT_EQ(t.notPrefixedTable,
            "\x03"
            "bet"
            "\0"s);
  EXPECT_EQ(t.stressTable,
            "\x0A"
            "telefonier3"
            "\x06"
            "arbeit1"
            "\0"s);
  EXPECT_EQ(t.splitTable,
            "\x0B"
            "kennenlern4"
            "\0"s);
  EXPECT_EQ(t.gapTable,
            "\x11"
            "wasserstrahlbieg4"
            "\x05"
            "abc12"
            "\0"s);
  EXPECT_EQ(t.onsetTable,
            "\x03"
            "sch"
            "\0"s);
  EXPECT_EQ(t.esVerbTable,
            "\x04"
            "regn"
            "\0"s);
  EXPECT_EQ(t.habenSeinTable,
            "\x03"
            "geh2"
            "\0"s);
  ASSERT_EQ(t.formLimitList->Count(), 1);
  EXPECT_EQ(t.formLimitList->Get(0), "xyz F\\");
  EXPECT_EQ(t.respellList->Count(), 1);
  const std::array<int, kVerbListsSections> counts = {1, 2, 1, 2, 1, 2, 1, 1, 1, 1, 1};
  EXPECT_EQ(rep.counts, counts);
  EXPECT_TRUE(rep.problems.empty());
}

TEST(PackedTables, EmptySectionsGiveTheZeroByteAlone) {
  TVerbListsTables t;
  const TVerbListsReport rep = Parse("geh i\n@\n" + kEightEmptySections + "@\n@\n", t);
  for (int s = vlsPrefixes; s <= vlsHabenSein; ++s)
    EXPECT_EQ(t.Table(static_cast<TVerbListsSection>(s)), "\0"s) << VerbListsSectionName(s);
  EXPECT_EQ(t.formLimitList->Count(), 0);
  EXPECT_EQ(t.respellList->Count(), 0);
  EXPECT_TRUE(rep.problems.empty());
}

TEST(PackedTables, NoEntriesLoadsNothing) {
  TVerbListsTables t;
  const TVerbListsReport rep = Parse("* only a comment\n@\nab\n@\n", t);
  EXPECT_TRUE(t.unRegList.empty());
  EXPECT_TRUE(t.prefixTable.empty());
  EXPECT_EQ(t.formLimitList->Count(), 0);
  ASSERT_EQ(rep.problems.size(), 1u);
  EXPECT_EQ(rep.problems[0].line, 0);
}

TEST(PackedTables, MissingAtLinesReadTheSameLinesAgain) {
  {  // no '@' after the entries: the prefix section starts at the first line again
    TVerbListsTables t;
    const TVerbListsReport rep = Parse("geh i\nab\n", t);
    EXPECT_EQ(t.unRegList.size(), 1u);
    EXPECT_EQ(t.prefixTable,
              "\x03"
              "geh"
              "\x02"
              "ab"
              "\0"s);
    EXPECT_EQ(t.notPrefixedTable, t.prefixTable);
    EXPECT_EQ(t.formLimitList->Count(), 2);
    EXPECT_FALSE(rep.problems.empty());
  }
  {  // no '@' after section 1: sections 2 to 8 and list 1 read its lines as well
    TVerbListsTables t;
    Parse("geh i\n@\nab\nan\n", t);
    EXPECT_EQ(t.prefixTable,
              "\x02"
              "ab"
              "\x02"
              "an"
              "\0"s);
    EXPECT_EQ(t.esVerbTable, t.prefixTable);
    EXPECT_EQ(t.stressTable,
              "\x01"
              "ab"
              "\x01"
              "an"
              "\0"s);
    EXPECT_EQ(t.formLimitList->Count(), 2);
    EXPECT_EQ(t.respellList->Count(), 0);
  }
}

// --- Fixture with unsound lines ----------------------------------------------------------------

TEST(Report, NamesEverySkippedLine) {
  TVerbListsTables t;
  const TVerbListsReport rep = InspectVerbLists(kFixtures / "bad.vlx", t);
  EXPECT_EQ(rep.path, kFixtures / "bad.vlx");
  const std::array<int, kVerbListsSections> counts = {2, 1, 0, 4, 0, 0, 0, 0, 1, 0, 1};
  EXPECT_EQ(rep.counts, counts);
  const struct {
    int line;
    TVerbListsSection section;
  } expected[] = {{3, vlsEntries}, {4, vlsEntries},    {5, vlsEntries},  {9, vlsPrefixes},
                  {14, vlsStress}, {21, vlsHabenSein}, {25, vlsRespell}, {26, vlsRespell}};
  ASSERT_EQ(rep.problems.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(rep.problems[i].line, expected[i].line) << rep.problems[i].reason;
    EXPECT_EQ(rep.problems[i].section, expected[i].section) << rep.problems[i].reason;
  }
  // The one-character stress word is kept byte for byte and ends the table.
  EXPECT_EQ(t.stressTable,
            "\x01"
            "x3"
            "\x06"
            "arbeit1"
            "\x00"
            "7"
            "\x07"
            "antwort1"
            "\0"s);
}

TEST_F(SharedTables, LookupsOfTheFixtureWithUnsoundLines) {
  TAnsiStringList lines;
  lines.LoadFromFile(kFixtures / "bad.vlx");
  FreeVerbLists();
  ParseVerbLists(lines, VerbLists, nullptr);
  EXPECT_EQ(StressDigit("arbeit"), 1);
  EXPECT_EQ(StressDigit("x"), 3);
  EXPECT_EQ(StressDigit("antwort"), 0);        // behind the zero length byte
  EXPECT_EQ(HabenSeinFromTable("fahren"), 0);  // digit 9 is no auxiliary
  EXPECT_EQ(RespellPosition("stillegen"), 5);
  EXPECT_EQ(RespellPosition("schiffahren"), 0);
}

// --- Lookups -----------------------------------------------------------------------------------

TEST_F(SharedTables, Lookups) {
  LoadShared(
      "fahr u\n@\n"
      "aufeinander\nab\nan\n@\n"
      "bet\nerb\n@\n"
      "telefonier3 comment\narbeit1\n@\n"
      "kennenlern4\n@\n"
      "wasserstrahlbieg4\nabc12\nnodigit\n@\n"
      "sch\nst\n@\n"
      "regn\nschnei\n@\n"
      "geh\xF6r1\ngeh2\nfahr3\n@\n"
      "xyz F\\\nxy P\\\n@\n"
      "stillegen 5\n@\n");
  const struct {
    const char* word;
    int got, expected;
  } rows[] = {
      {"StressDigit telefonier", StressDigit("telefonier"), 3},
      {"StressDigit telefonie", StressDigit("telefonie"), 0},
      {"StressDigit arbeit", StressDigit("arbeit"), 1},
      {"SplitFromTable kennenlern", SplitFromTable("kennenlern"), 4},
      {"SplitFromTable kennenler", SplitFromTable("kennenler"), 0},
      {"GapNumber wasserstrahlbieg", GapNumberFromTable("wasserstrahlbieg"), 4},
      {"GapNumber abc", GapNumberFromTable("abc"), 12},
      {"GapNumber nodigi", GapNumberFromTable("nodigi"), 0},
      {"HabenSein geh\xF6ren", HabenSeinFromTable("geh\xF6ren"), 1},
      {"HabenSein gehen", HabenSeinFromTable("gehen"), 2},
      {"HabenSein ge", HabenSeinFromTable("ge"), 0},
      {"HabenSein abfahr", HabenSeinFromTable("abfahr"), 0},
      {"HabenSein fahr", HabenSeinFromTable("fahr"), 3},
      {"IsInNotPrefixed bet", IsInNotPrefixed("bet"), 1},
      {"IsInNotPrefixed be", IsInNotPrefixed("be"), 0},
      {"IsInOnsetTable sch", IsInOnsetTable("sch"), 1},
      {"IsInOnsetTable sc", IsInOnsetTable("sc"), 0},
      {"IsEsVerb schnei", IsEsVerb("schnei"), 1},
      {"IsEsVerb schneid", IsEsVerb("schneid"), 0},
      {"RespellPosition STILLEGEN", RespellPosition("STILLEGEN"), 5},
      {"RespellPosition stilllegen", RespellPosition("stilllegen"), 0},
  };
  for (const auto& r : rows) EXPECT_EQ(r.got, r.expected) << r.word;

  std::string prefixes;
  for (const TPackedEntry& e : PrefixEntries()) prefixes += std::string(e.text) + ",";
  EXPECT_EQ(prefixes, "aufeinander,ab,an,");
  ASSERT_NE(FormLimitLine("xyz"), nullptr);
  EXPECT_EQ(*FormLimitLine("xyz"), "xyz F\\");
  EXPECT_EQ(FormLimitLine("x"), nullptr);
}

// Where several entries fit, the lookups answer with the first in file order, as a walk of the
// table would: duplicates, overlapping beginnings and stems ending the same verb.
TEST_F(SharedTables, LookupsTakeTheFirstEntryInFileOrder) {
  LoadShared(
      "ahr u\nfahr u\n?fahr u\nbfahr u\n@\n"
      "aufeinander\nab\nauf\nan\n'um\num\n@\n"
      "@\n"
      "arbeit1\narbeit2\n@\n"
      "kennenlern4\nkennenlern3\n@\n"
      "abc12\nabc3\n@\n"
      "@\n@\n"
      "fahr3\nfa1\nf2\n@\n"
      "@\n@\n");
  const struct {
    const char* what;
    int got, expected;
  } rows[] = {
      {"StressDigit arbeit", StressDigit("arbeit"), 1},
      {"SplitFromTable kennenlern", SplitFromTable("kennenlern"), 4},
      {"GapNumber abc", GapNumberFromTable("abc"), 12},
      {"HabenSein fahren", HabenSeinFromTable("fahren"), 3},
      {"HabenSein fallen", HabenSeinFromTable("fallen"), 1},
      {"HabenSein fangen", HabenSeinFromTable("fangen"), 1},
      {"HabenSein fliegen", HabenSeinFromTable("fliegen"), 2},
  };
  for (const auto& r : rows) EXPECT_EQ(r.got, r.expected) << r.what;

  EXPECT_EQ(FirstPrefixEntryBeginning("aufeinanderfolg"), "aufeinander");
  EXPECT_EQ(FirstPrefixEntryBeginning("auffall"), "auf");
  EXPECT_EQ(FirstPrefixEntryBeginning("zieh"), "");
  auto texts = [](const TEntryHits& hits) {
    std::string s;
    for (const TEntryHit& h : hits) s += std::to_string(h.entry) + ":" + std::string(h.text) + ",";
    return s;
  };
  TEntryHits prefixHits;
  PrefixEntriesBeginning("'umab", "umab", prefixHits);
  EXPECT_EQ(texts(prefixHits), "4:'um,5:um,");
  TEntryHits onlyPlain;
  PrefixEntriesBeginning("aufeinander", "aufeinander", onlyPlain);
  EXPECT_EQ(texts(onlyPlain), "0:aufeinander,2:auf,");
  // The list is sorted by the length of the stem as written, '?' included.
  TEntryHits stemHits;
  StemEntriesEnding("abfahr", stemHits);
  std::string stems;
  for (const TEntryHit& h : stemHits)
    stems += unRegList[static_cast<std::size_t>(h.entry)].uStamm + ",";
  EXPECT_EQ(stems, "?fahr,bfahr,fahr,ahr,");
}

TEST_F(SharedTables, LookupsOnFreedTablesFindNothing) {
  FreeVerbLists();
  EXPECT_EQ(StressDigit("arbeit"), 0);
  EXPECT_FALSE(IsEsVerb("regn"));
  EXPECT_EQ(RespellPosition("stillegen"), 0);
  EXPECT_EQ(FormLimitLine("xyz"), nullptr);
  EXPECT_EQ(PrefixEntries().begin(), PrefixEntries().end());
}

// --- The embedded copy and the shipped file ------------------------------------------------------

TEST(Resources, TheEmbeddedListsAreTheDataFile) {
  std::ifstream in(fs::path(BEUGWERK_SOURCE_DIR) / "data" / "Beugwerk.VLX", std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string text;
  ASSERT_TRUE(LoadTextResource("VERBLISTS", text));
  EXPECT_EQ(text, file);
  EXPECT_TRUE(LoadTextResource("verblists", text));
  std::string untouched = "x";
  EXPECT_FALSE(LoadTextResource("NOPE", untouched));
  EXPECT_EQ(untouched, "x");
}

TEST(Resources, TheShippedListsLoadWithoutProblems) {
  TVerbListsTables t;
  const TVerbListsReport rep = InspectVerbLists({}, t);
  EXPECT_TRUE(rep.path.empty());
  for (const TVerbListsProblem& p : rep.problems) ADD_FAILURE() << p.line << ": " << p.reason;
  for (int s = 0; s < kVerbListsSections; ++s)
    EXPECT_GT(rep.counts[s], 0) << VerbListsSectionName(s);
}

// --- Locating the file -------------------------------------------------------------------------

// The viewer program's installation records its file under the machine key; its folder is
// searched ahead of the program's own.
TEST(Locating, ViewerFolderFromMachineRegistry) {
  const fs::path dir = fs::temp_directory_path() / "beugwerk-locate-viewer";
  fs::remove_all(dir);
  fs::create_directories(dir / "telmar");
  setenv("BEUGWERK_SYSTEM_CONFIG", (dir / "etc").c_str(), 1);
  EXPECT_TRUE(DefaultVerbListsSearch({}).viewerDir.empty());
  ASSERT_TRUE(RegWriteString(u"H\\", u"", Utf8ToUni((dir / "telmar" / "Telmar").string())));
  EXPECT_EQ(DefaultVerbListsSearch({}).viewerDir, dir / "telmar" / "");
  unsetenv("BEUGWERK_SYSTEM_CONFIG");
  fs::remove_all(dir);
}

TEST(Locating, FirstCandidateWins) {
  const fs::path dir = fs::temp_directory_path() / "beugwerk-h2-locate";
  fs::create_directories(dir / "with");
  fs::create_directories(dir / "without");
  std::ofstream(dir / "with" / "Beugwerk.VLX") << "@\n";
  const fs::path present = dir / "with" / "Beugwerk.VLX";
  const fs::path absent = dir / "without" / "Beugwerk.VLX";
  const struct {
    const char* name;
    TVerbListsSearch search;
    fs::path expected;
    TVerbListsOrigin origin;
  } rows[] = {
      {"option first",
       {"/o/x.vlx", "/e/x.vlx", dir / "with", dir / "with", present, present},
       "/o/x.vlx",
       vo_option},
      {"option even when missing",
       {"/o/x.vlx", "", "", dir / "with", "", ""},
       "/o/x.vlx",
       vo_option},
      {"environment",
       {"", "/e/x.vlx", dir / "with", dir / "with", present, ""},
       "/e/x.vlx",
       vo_environment},
      {"viewer folder before the program's",
       {"", "", dir / "with", dir / "without", present, ""},
       present,
       vo_viewer},
      {"nothing in the viewer folder",
       {"", "", dir / "without", dir / "with", present, ""},
       present,
       vo_program},
      {"beside the program", {"", "", "", dir / "with", present, ""}, present, vo_program},
      {"installed beside the program's folder",
       {"", "", "", dir / "without", present, absent},
       present,
       vo_installed},
      {"the build's prefix when nothing is installed relative to the program",
       {"", "", "", dir / "without", absent, present},
       present,
       vo_prefix},
      {"an installed file that is not there",
       {"", "", "", dir / "without", absent, absent},
       "",
       vo_builtIn},
      {"nothing at all", {"", "", "", "", "", ""}, "", vo_builtIn},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(ResolveVerbListsPath(r.search), r.expected) << r.name;
    EXPECT_EQ(ChooseVerbLists(r.search).origin, r.origin) << r.name;
  }
  fs::remove_all(dir);
}

// The installed file is looked for relative to the running program, so that a relocated
// installation finds its own.
TEST(Locating, InstalledFileRelativeToTheProgram) {
  const TVerbListsSearch search = DefaultVerbListsSearch({});
  ASSERT_FALSE(search.exeDir.empty());
  EXPECT_EQ(search.installFile,
            (search.exeDir / ".." / "share" / "beugwerk" / "Beugwerk.VLX").lexically_normal());
  EXPECT_TRUE(search.prefixFile.is_absolute()) << search.prefixFile;
}

// A file that cannot be used is reported with its path and the reason; the message is German
// throughout and points to lists-check for a malformed file.
TEST(Locating, UnusableFilesAreReported) {
  const fs::path dir = fs::temp_directory_path() / ("beugwerk-examine-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder.vlx");
  std::ofstream(dir / "empty.vlx") << "";
  std::ofstream(dir / "comments.vlx") << "* nothing but a comment\n\n";
  const fs::path good = fs::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX";
  const struct {
    fs::path option, env;
    int systemError;
    const char* message;  // empty: usable
  } rows[] = {
      {good, "", 0, ""},
      {"", good, 0, ""},
      {dir / "missing.vlx", "", ENOENT,
       "Die Verblistendatei \"#/missing.vlx\" kann nicht gelesen werden: Datei "
       "oder Verzeichnis nicht gefunden."},
      {"", dir / "missing.vlx", ENOENT,
       "Die Verblistendatei \"#/missing.vlx\" (BEUGWERK_VERBLISTS) kann nicht gelesen werden: "
       "Datei oder Verzeichnis nicht gefunden."},
      {dir / "folder.vlx", "", EISDIR,
       "Die Verblistendatei \"#/folder.vlx\" kann nicht gelesen werden: Ist ein "
       "Verzeichnis."},
      {kFixtures / "bad.vlx", "", 0,
       "Die Verblistendatei \"" BEUGWERK_FIXTURES
       "/verblists/bad.vlx\" ist fehlerhaft (Zeile 3); Einzelheiten zeigt: beugwerk "
       "lists-check " BEUGWERK_FIXTURES "/verblists/bad.vlx"},
      {dir / "empty.vlx", "", 0,
       "Die Verblistendatei \"#/empty.vlx\" enthält keine Einträge; "
       "Einzelheiten zeigt: beugwerk lists-check #/empty.vlx"},
      {dir / "comments.vlx", "", 0,
       "Die Verblistendatei \"#/comments.vlx\" enthält keine Einträge; "
       "Einzelheiten zeigt: beugwerk lists-check #/comments.vlx"},
  };
  for (const auto& r : rows) {
    TVerbListsSearch search;
    search.optionPath = r.option;
    search.envValue = r.env;
    const TVerbListsSource source = ExamineVerbLists(search);
    std::string expected = r.message;
    for (std::size_t at; (at = expected.find('#')) != std::string::npos;)
      expected.replace(at, 1, dir.string());
    EXPECT_EQ(source.systemError, r.systemError) << r.option << r.env;
    EXPECT_EQ(source.Usable(), expected.empty()) << r.option << r.env;
    EXPECT_EQ(VerbListsSourceMessage(source), expected) << r.option << r.env;
  }
  // Nothing named and nothing found: the built-in copy, which needs no check.
  const TVerbListsSource builtIn = ExamineVerbLists({});
  EXPECT_EQ(builtIn.choice.origin, vo_builtIn);
  EXPECT_TRUE(builtIn.Usable());
  // A blank in the path: the suggested command quotes it.
  std::ofstream(dir / "with blank.vlx") << "";
  TVerbListsSearch blank;
  blank.optionPath = dir / "with blank.vlx";
  EXPECT_TRUE(VerbListsSourceMessage(ExamineVerbLists(blank))
                  .ends_with("lists-check '" + (dir / "with blank.vlx").string() + "'"));
  fs::remove_all(dir);
}

}  // namespace
