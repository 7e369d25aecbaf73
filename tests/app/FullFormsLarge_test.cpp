// SPDX-License-Identifier: MIT
// The full forms of a large list stay byte for byte what they were: a guard for changes that
// should only make the engine faster. large.txt (14,001 words and phrases, see
// make-large-list.sh) runs over frozen.VLX, a copy of the verb lists that later edits of
// data/Beugwerk.VLX do not touch; large.hashes holds a line per list line: the hash of its
// records in the reformed, the old and the Swiss orthography, two blanks and the line, so a
// change shows in a diff as the verbs it touched.
//
// A deliberate change of the forms (a new rule) rewrites the file, like every golden:
//   BEUGWERK_UPDATE_GOLDEN=1 build/tests/app/app_fullforms_large_test
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/FullForms.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "tests/golden/Golden.h"

namespace {

namespace fs = std::filesystem;

fs::path Fixture(std::string_view name) {
  return fs::path(BEUGWERK_FIXTURES) / "fullforms" / name;
}

// The list's infinitives in the engine's 8-bit text, comment and empty lines dropped.
std::vector<std::string> LargeList() {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileBytes(Fixture("large.txt")));
  std::string line;
  while (std::getline(in, line)) {
    line = Utf8ToLatin1(line);
    if (CleanListLine(line)) lines.push_back(line);
  }
  return lines;
}

// FNV-1a, 64 bits, of which the golden file keeps the lower 32 as eight hex digits.
std::uint64_t Hash(std::string_view bytes, std::uint64_t h = 14695981039346656037ull) {
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

std::string Hex32(std::uint64_t h) {
  char buf[9];
  std::snprintf(buf, sizeof buf, "%08x", static_cast<unsigned>(h & 0xFFFFFFFFu));
  return buf;
}

class FullFormsLargeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = Fixture("frozen.VLX");
    list_ = LargeList();
  }
  static TVerbGen& Verb(TOrthoTyp ortho) {
    auto& v = verbs_[ortho];
    if (!v) {
      v = std::make_unique<TVerbGen>();
      v->SetOrthoTyp(ortho);
      v->SetOnErrMsg([p = v.get()](const std::u16string& m) { p->StoreErrMsg(m); });
    }
    return *v;
  }
  static void TearDownTestSuite() {
    for (auto& v : verbs_) v.reset();
  }
  inline static std::vector<std::string> list_;
  inline static std::unique_ptr<TVerbGen> verbs_[3];
};

TEST_F(FullFormsLargeTest, RecordsKeepTheirHashes) {
  ASSERT_EQ(list_.size(), 14001u);
  golden::Case c;
  c.out = Fixture("large.hashes");
  std::string actual;
  std::string changed;
  int shown = 0;
  std::istringstream expected(ReadFileBytes(c.out));
  for (const std::string& line : list_) {
    std::uint64_t h = Hash("");
    std::string records;
    for (TOrthoTyp ortho : {NeuOrtho, AltOrtho, ChOrtho}) {
      const std::string record = FullFormRecord(Verb(ortho), line);
      h = Hash(record, h);
      records += record;
    }
    const std::string row = Hex32(h) + "  " + Latin1ToUtf8(line);
    actual += row + "\n";
    std::string want;
    std::getline(expected, want);
    if (want != row && ++shown <= 3)
      changed += "records of \"" + Latin1ToUtf8(line) + "\":\n" + Latin1ToUtf8(records);
  }
  EXPECT_TRUE(golden::Matches(c, actual)) << changed;
}

}  // namespace

namespace {

// The large list as one input text, and its records written by WriteFullForms.
std::string WriteLarge(TVerbGen& verb, int jobs, bool utf8Out) {
  std::istringstream in(ReadFileBytes(Fixture("large.txt")));
  std::ostringstream out;
  TFullFormsRun run;
  run.inputUtf8 = true;
  run.outputUtf8 = utf8Out;
  run.jobs = jobs;
  const TOrthoTyp ortho = verb.OrthoTyp();
  run.makeProducer = [ortho] {
    auto v = std::make_shared<TVerbGen>();
    v->SetOrthoTyp(ortho);
    v->SetOnErrMsg([p = v.get()](const std::u16string& m) { p->StoreErrMsg(m); });
    return TRecordProducer([v](const std::string& line) { return FullFormRecord(*v, line); });
  };
  EXPECT_EQ(WriteFullForms(TxfRecords(verb), in, out, run), 14001) << jobs << " jobs";
  return out.str();
}

TEST_F(FullFormsLargeTest, ThreadsWriteTheSameBytesInListOrder) {
  const struct {
    TOrthoTyp ortho;
    int jobs;
  } rows[] = {{NeuOrtho, 2}, {NeuOrtho, 3}, {ChOrtho, 2}};
  for (const auto& row : rows) {
    TVerbGen& verb = Verb(row.ortho);
    const bool utf8 = row.ortho == ChOrtho;
    const std::string one = WriteLarge(verb, 1, utf8);
    const std::string lastInfin = verb.infin;
    verb.newVerbA("lesen", unsp);
    EXPECT_TRUE(WriteLarge(verb, row.jobs, utf8) == one)
        << row.jobs << " jobs, ortho " << row.ortho;
    // Afterwards the caller's verb object holds the last line, as after one thread.
    EXPECT_EQ(verb.infin, lastInfin);
  }
}

TEST_F(FullFormsLargeTest, ThreadsStopOnAFailingRecord) {
  const TRecordProducer produce = [](const std::string& line) -> std::string {
    if (line == "v40") throw std::runtime_error("kaputt");
    return line + "\n";
  };
  TFullFormsRun run;
  run.jobs = 2;
  run.makeProducer = [produce] { return produce; };
  std::string list;
  for (int i = 0; i < 200; ++i) list += "v" + std::to_string(i) + "\n";
  std::istringstream in(list);
  std::ostringstream out;
  try {
    WriteFullForms(produce, in, out, run);
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "kaputt");
  }
  // What was written is the beginning of the list, in order.
  std::string expected;
  for (int i = 0; i < 200 && expected.size() < out.str().size(); ++i)
    expected += "v" + std::to_string(i) + "\n";
  EXPECT_EQ(out.str(), expected);
  EXPECT_EQ(out.str().find("v40\n"), std::string::npos);
}

}  // namespace
