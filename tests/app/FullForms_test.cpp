// SPDX-License-Identifier: MIT
// Full-form lists: list reading, the record layout and its separators, encodings, stream
// failures, a golden list and the command line front end.
#include "app/FullForms.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "tests/golden/Golden.h"

namespace {

namespace fs = std::filesystem;

fs::path Fixture(std::string_view folder, std::string_view name) {
  return fs::path(BEUGWERK_FIXTURES) / folder / name;
}

std::vector<std::string> RecordLines(std::string_view record) {
  std::vector<std::string> lines;
  while (!record.empty()) {
    std::size_t end = record.find("\r\n");
    if (end == std::string_view::npos) end = record.size();
    lines.emplace_back(record.substr(0, end));
    record.remove_prefix(std::min(record.size(), end + 2));
  }
  return lines;
}

class FullFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VerbListsPath = Fixture("forms", "forms.VLX");
    verb = std::make_unique<TVerbGen>();
    verb->SetOnErrMsg([this](const std::u16string& m) { verb->StoreErrMsg(m); });
  }
  std::string Record(const std::string& line) { return FullFormRecord(*verb, line); }
  std::unique_ptr<TVerbGen> verb;
};

TEST(FullFormsPaths, OutputPathReplacesOrAppendsTheExtension) {
  struct Row {
    const char* input;
    const char* expected;
  } rows[] = {
      {"list.txt", "list.txf"},
      {"list", "list.txf"},
      {"/tmp/a.b/list", "/tmp/a.b/list.txf"},
      {"dir/verbs.2024.txt", "dir/verbs.2024.txf"},
      {"list.", "list.txf"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FullFormsOutputPath(row.input).string(), row.expected) << row.input;
  }
}

TEST(FullFormsLines, CleaningAndComments) {
  struct Row {
    const char* input;
    const char* expected;
  } kept[] = {
      {"lesen", "lesen"},     {"  sich waschen   ", "sich waschen"},
      {"lesen\r", "lesen"},   {"lesen \r", "lesen"},
      {"\tlesen", "\tlesen"},  // only blanks are stripped
      {"a*b", "a*b"},
  };
  for (const Row& row : kept) {
    std::string line = row.input;
    EXPECT_TRUE(CleanListLine(line)) << row.input;
    EXPECT_EQ(line, row.expected) << row.input;
  }
  const char* skipped[] = {"", "   ", "\r", "* Kommentar", "   ;lesen", ";", "*"};
  for (const char* input : skipped) {
    std::string line = input;
    EXPECT_FALSE(CleanListLine(line)) << '"' << input << '"';
  }
}

TEST(FullFormsLines, Utf8ListDetection) {
  struct Row {
    const char* bytes;
    bool utf8;
  } rows[] = {
      {"lesen\r\n", false},  // ASCII: stays Windows-1252
      {"zur\xC3\xBC"
       "ckkommen\n",
       true},  // ü in UTF-8
      {"zur\xFC"
       "ckkommen\n",
       false},                                // ü in Windows-1252
      {"\xC3\xA4rgern\n\xE4rgern\n", false},  // mixed: not valid UTF-8
      {"", false},
  };
  for (const Row& row : rows) EXPECT_EQ(IsUtf8List(row.bytes), row.utf8) << row.bytes;
}

TEST(FullFormsLines, Message) {
  EXPECT_EQ(FullFormsMessage(0, "/tmp/list.txf"), "0 Verben verarbeitet\n/tmp/list.txf erstellt.");
  EXPECT_EQ(FullFormsMessage(12, "l.txf"), "12 Verben verarbeitet\nl.txf erstellt.");
  EXPECT_EQ(FullFormsMessage(7, ""), "7 Verben verarbeitet");
}

TEST_F(FullFormsTest, OnlyCommentsAndBlanksGiveAnEmptyOutput) {
  std::istringstream in("* Verben\r\n; noch ein Kommentar\r\n   \r\n\r\n   * eingerueckt\n");
  std::ostringstream out;
  EXPECT_EQ(WriteFullForms(*verb, in, out, false, false), 0);
  EXPECT_EQ(out.str(), "");
}

// Single lines of records: {input, line number (0 = "> " line), expected}.
TEST_F(FullFormsTest, RecordLines) {
  struct Row {
    const char* input;
    std::size_t line;
    const char* expected;
  } rows[] = {
      {"lesen", 0, "> lesen"},
      {"lesen", 1, ":lese;liest;liest;lesen;lest;lesen;"},
      {"lesen", 2, ":las;last,lasest;las;lasen;last;lasen;"},
      {"lesen", 3, ":lese;lesest;lese;lesen;leset;lesen;"},
      {"lesen", 4, ":l\xE4se;l\xE4sest;l\xE4se;l\xE4sen;l\xE4set;l\xE4sen;"},
      {"lesen", 5, ":zu lesen;lesend;gelesen;lies;"},
      {"anfangen", 1,
       ":anfange/fange an;anf\xE4ngst/f\xE4ngst an;anf\xE4ngt/f\xE4ngt an;"
       "anfangen/fangen an;anfangt/fangt an;anfangen/fangen an;"},
      {"sammeln", 1, ":sammele,sammle;sammelst;sammelt;sammeln;sammelt;sammeln;"},
      {"3 regnen", 1, ":-;-;regnet;-;-;-;"},
      // The particle ends the imperative: no blank before the separators.
      {"wiederkommen", 5, ":wiederzukommen;wiederkommend;wiedergekommen;komm wieder,komme wieder;"},
      {"auseinandergehen", 5,
       ":auseinanderzugehen;auseinandergehend;auseinandergegangen;geh auseinander,gehe "
       "auseinander;"},
      {"sich3 etwas merken", 5,
       ":sich etwas zu merken;sich etwas merkend;sich etwas gemerkt;merk dir etwas,merke dir "
       "etwas;"},
      {"lesem", 0, "* lesem nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einf\xFCgung!"},
      {"lesem", 1, "> lesem"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> lines = RecordLines(Record(row.input));
    ASSERT_GT(lines.size(), row.line) << row.input;
    EXPECT_EQ(lines[row.line], row.expected) << row.input << " line " << row.line;
  }
}

// Every record: optional warning, "> " line, five form lines, one empty line; the finite
// lines hold six entries, the non-finite line four.
TEST_F(FullFormsTest, RecordLayout) {
  for (const char* input : {"lesen", "sich waschen", "lesem", "3 regnen", "anfangen"}) {
    const std::string record = Record(input);
    ASSERT_TRUE(record.ends_with("\r\n\r\n")) << input;
    std::vector<std::string> lines = RecordLines(record);
    std::size_t first = lines.size() == 8 ? 1 : 0;
    ASSERT_EQ(lines.size(), first + 7) << input;
    EXPECT_EQ(lines[first], std::string("> ") + input) << input;
    for (std::size_t i = first + 1; i <= first + 5; ++i) {
      const std::size_t entries = i == first + 5 ? 4 : 6;
      EXPECT_EQ(lines[i].front(), ':') << input << " line " << i;
      EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ';'), entries)
          << input << " line " << i;
    }
    EXPECT_EQ(lines.back(), "") << input;
  }
}

TEST_F(FullFormsTest, Utf8InAndOut) {
  std::istringstream in(
      "\xEF\xBB\xBF  zur\xC3\xBC"
      "ckkommen \r\n");
  std::ostringstream latin1, utf8;
  EXPECT_EQ(WriteFullForms(*verb, in, latin1, true, false), 1);
  EXPECT_TRUE(
      latin1.str().starts_with("> zur\xFC"
                               "ckkommen\r\n:zur\xFC"
                               "ckkomme/komme zur\xFC"
                               "ck;"))
      << latin1.str();
  std::istringstream again(
      "zur\xC3\xBC"
      "ckkommen\n");
  WriteFullForms(*verb, again, utf8, true, true);
  EXPECT_EQ(utf8.str(), Latin1ToUtf8(latin1.str()));
}

// Accepts a fixed number of bytes, then fails like a full disk.
class TFullBuf : public std::streambuf {
 public:
  explicit TFullBuf(std::size_t room) : room_(room) {}
  std::string written;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (written.size() >= room_) return traits_type::eof();
    written.push_back(traits_type::to_char_type(c));
    return c;
  }

 private:
  std::size_t room_;
};

TEST_F(FullFormsTest, WriteFailureStopsAfterTheRecordsWritten) {
  const std::string first = Record("lesen");
  TFullBuf buf(first.size() + 10);
  std::ostream out(&buf);
  std::istringstream in("lesen\nlesen\nlesen\n");
  EXPECT_THROW(WriteFullForms(*verb, in, out, false, false), EFullFormsIoError);
  EXPECT_TRUE(buf.written.starts_with(first));
}

// tests/golden/txf: options lists=<fixture folder> (its .VLX), ortho=neu|alt|ch, in=utf8,
// out=utf8; the input is the list, byte for byte.
class TxfGolden : public ::testing::TestWithParam<golden::Case> {};

TEST_P(TxfGolden, MatchesTheGoldenList) {
  const golden::Case& c = GetParam();
  const std::string lists = c.Option("lists", "forms");
  VerbListsPath = fs::path(BEUGWERK_FIXTURES) / lists / (lists + ".VLX");
  TVerbGen verb;
  verb.SetOnErrMsg([&verb](const std::u16string& m) { verb.StoreErrMsg(m); });
  const std::string o = c.Option("ortho", "neu");
  verb.SetOrthoTyp(o == "alt" ? AltOrtho : o == "ch" ? ChOrtho : NeuOrtho);
  std::istringstream in(c.input);
  std::ostringstream out;
  WriteFullForms(verb, in, out, c.Option("in") == "utf8", c.Option("out") == "utf8");
  EXPECT_TRUE(golden::Matches(c, out.str()));
}

INSTANTIATE_TEST_SUITE_P(Cases, TxfGolden, ::testing::ValuesIn(golden::Cases("txf")),
                         golden::TestName);

// An input the analysis rejects part way still gets its forms, from what the analysis found
// of it, never from the verb before it ("schrÃ¤nken" after "lesen" was "sahrÃ¤nk", after
// "fahren" "suhrÃ¤nk"): so threads, which start their blocks after other lines than one
// thread does, give the same records. Every 64th line is such a verb, and the verbs before
// them repeat in threes, so whatever the block size (a multiple of 64), a thread that made
// any block but the one just before starts its block elsewhere.
TEST_F(FullFormsTest, RejectedVerbsDoNotDependOnTheLineBefore) {
  static constexpr const char* kBefore[] = {"machen", "lesen", "fahren"};
  std::string list;  // read as Windows-1252: the run says so
  for (int group = 0; group < 24; ++group) {
    list += "schr\xC3\xA4nken\n";
    for (int i = 2; i < 64; ++i) list += i % 2 ? "machen\n" : "lesen\n";
    list += kBefore[(group + 1) % 3] + std::string("\n");
  }
  auto write = [&](int jobs) {
    TVerbGen caller;  // every verb object fresh, as in the command line
    std::istringstream in(list);
    std::ostringstream out;
    TFullFormsRun run;
    run.jobs = jobs;
    run.makeProducer = [] {
      auto v = std::make_shared<TVerbGen>();
      return TRecordProducer([v](const std::string& line) { return FullFormRecord(*v, line); });
    };
    WriteFullForms(TxfRecords(caller), in, out, run);
    return out.str();
  };
  const std::string one = write(1);
  ASSERT_NE(one.find("* schr\xC3\xA4nken nicht eindeutig"), std::string::npos);
  // The same record after each of the three verbs, the first one included.
  const std::string first = one.substr(0, one.find("\r\n\r\n") + 4);
  for (const char* before : kBefore) {
    TVerbGen v;
    FullFormRecord(v, before);
    EXPECT_EQ(FullFormRecord(v, "schr\xC3\xA4nken"), first) << "after " << before;
  }
  for (int jobs : {2, 3}) EXPECT_TRUE(write(jobs) == one) << jobs << " jobs";
}

// --- the command line front end ---------------------------------------------------------------

struct TRun {
  int rc;
  std::string out, err;
};

class FullFormsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() /
        ("beugwerk-fullforms-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs "beugwerk ARGS" through the shell; stdin from a file when given.
  TRun Run(const std::string& args, const std::string& stdinBytes = "") {
    const fs::path in = dir / "stdin", out = dir / "stdout", err = dir / "stderr";
    Write(in, stdinBytes);
    const std::string cmd = std::string("'") + BEUGWERK_EXE + "' " + args + " <'" + in.string() +
                            "' >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFileBytes(out), ReadFileBytes(err)};
  }
  static void Write(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::string FormsLists() const {
    return "--verb-lists '" + Fixture("forms", "forms.VLX").string() + "'";
  }
  fs::path dir;
};

TEST_F(FullFormsCliTest, FileGivesCompanionFileAndMessage) {
  const golden::Case dozen = golden::ReadCase(golden::Dir("txf") / "dozen.in");
  struct Row {
    const char* input;
    const char* output;
    const char* options;
  } rows[] = {{"list.txt", "list.txf", ""},
              {"liste", "liste.txf", ""},
              {"jobs.txt", "jobs.txf", "--jobs 2 "},
              {"jobs3.txt", "jobs3.txf", "--jobs=3 "}};
  for (const Row& row : rows) {
    Write(dir / row.input, dozen.input);
    TRun r = Run("fullforms " + std::string(row.options) + FormsLists() + " '" +
                 (dir / row.input).string() + "'");
    EXPECT_EQ(r.rc, 0) << row.input << r.err;
    EXPECT_EQ(r.out, "12 Verben verarbeitet\n" + (dir / row.output).string() + " erstellt.\n")
        << row.input;
    EXPECT_EQ(ReadFileBytes(dir / row.output), ReadFileBytes(dozen.out)) << row.input;
  }
}

TEST_F(FullFormsCliTest, OnlyComments) {
  Write(dir / "c.txt", "* nur\r\n\r\n  ; Kommentare\r\n");
  TRun r = Run("fullforms " + FormsLists() + " '" + (dir / "c.txt").string() + "'");
  EXPECT_EQ(r.rc, 0);
  EXPECT_TRUE(r.out.starts_with("0 Verben verarbeitet\n")) << r.out;
  EXPECT_TRUE(fs::exists(dir / "c.txf"));
  EXPECT_EQ(ReadFileBytes(dir / "c.txf"), "");
}

// The shipped lists, standard input to standard output, the message on standard error.
TEST_F(FullFormsCliTest, StdinWithShippedLists) {
  const std::string shipped = std::string(BEUGWERK_SOURCE_DIR) + "/data/Beugwerk.VLX";
  TRun r = Run("--verb-lists '" + shipped + "' fullforms -", "lesen\n");
  EXPECT_EQ(r.rc, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("> lesen\r\n:lese;liest;liest;lesen;lest;lesen;\r\n")) << r.out;
  EXPECT_EQ(r.err, "1 Verben verarbeitet\n");
}

TEST_F(FullFormsCliTest, Utf8ListAndOutput) {
  const std::string utf8List =
      "zur\xC3\xBC"
      "ckkommen\n";
  TRun latin1 = Run("fullforms " + FormsLists() + " -", utf8List);
  TRun utf8 = Run("fullforms --utf8 " + FormsLists() + " -", utf8List);
  EXPECT_TRUE(
      latin1.out.starts_with("> zur\xFC"
                             "ckkommen\r\n"))
      << latin1.out;
  EXPECT_EQ(utf8.out, Latin1ToUtf8(latin1.out));
  // The orthography reaches the verb object: ß/ss after a short vowel, ss for ß in Switzerland.
  struct Row {
    const char* ortho;
    const char* line;
  } rows[] = {
      {"neu", ":lasse;l\xE4sst;l\xE4sst;lassen;lasst;lassen;"},
      {"alt", ":lasse;l\xE4\xDFt;l\xE4\xDFt;lassen;la\xDFt;lassen;"},
      {"ch", ":liess;liesst,liessest;liess;liessen;liesst;liessen;"},
  };
  for (const Row& row : rows) {
    TRun r =
        Run("fullforms --ortho " + std::string(row.ortho) + " " + FormsLists() + " -", "lassen\n");
    EXPECT_NE(r.out.find(row.line), std::string::npos) << row.ortho << "\n" << r.out;
  }
}

TEST_F(FullFormsCliTest, Failures) {
  TRun missing = Run("fullforms " + FormsLists() + " '" + (dir / "fehlt.txt").string() + "'");
  EXPECT_EQ(missing.rc, 3);
  EXPECT_NE(missing.err.find("fehlt.txt: Datei oder Verzeichnis nicht gefunden"), std::string::npos)
      << missing.err;
  EXPECT_FALSE(fs::exists(dir / "fehlt.txf"));
  // A list already named .txf is not overwritten by its own output.
  Write(dir / "self.txf", "lesen\n");
  EXPECT_EQ(Run("fullforms " + FormsLists() + " '" + (dir / "self.txf").string() + "'").rc, 3);
  EXPECT_EQ(ReadFileBytes(dir / "self.txf"), "lesen\n");
  EXPECT_EQ(Run("fullforms --ortho xx -").rc, 2);
  for (const char* jobs : {"--jobs 0", "--jobs 65", "--jobs x", "--jobs=", "--jobs"})
    EXPECT_EQ(Run("fullforms " + std::string(jobs) + " -").rc, 2) << jobs;
  EXPECT_EQ(Run("fullforms").rc, 2);
  if (fs::exists("/dev/full")) {
    Write(dir / "dozen.txt", golden::ReadCase(golden::Dir("txf") / "dozen.in").input);
    const std::string cmd = std::string("'") + BEUGWERK_EXE + "' fullforms " + FormsLists() +
                            " - <'" + (dir / "dozen.txt").string() + "' >/dev/full 2>/dev/null";
    const int status = std::system(cmd.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 3);
  }
}

}  // namespace
