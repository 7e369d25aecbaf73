// SPDX-License-Identifier: MIT
// The full-form job on files as the window and the command line run it.
#include "app/FullFormsJob.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/FullFormsJson.h"
#include "engine/_ZTVerbLists.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class FullFormsJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VerbListsPath = fs::path(BEUGWERK_FIXTURES) / "forms" / "forms.VLX";
    dir = fs::temp_directory_path() / ("beugwerk-job-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    list = dir / "verbs.txt";
    std::ofstream(list, std::ios::binary) << "lesen\r\n* comment\r\n\r\ngehen\r\nsagen\r\n";
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir, list;
};

// The window's run: its own verb object, left analysed with the last line; the progress
// reaches the whole list; an old output is replaced, not appended to.
TEST_F(FullFormsJobTest, WritesTheCompanionAndReportsProgress) {
  std::ofstream(dir / "verbs.txf") << "old content that must go";
  TVerbGen verb;
  verb.SetOnErrMsg([&verb](const std::u16string& m) { verb.StoreErrMsg(m); });
  TFullFormsJob job;
  job.input = list;
  job.verb = &verb;
  std::vector<std::pair<int, double>> seen;
  const TFullFormsResult r =
      RunFullFormsFile(job, [&](int n, double share) { seen.emplace_back(n, share); });
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.count, 3);
  EXPECT_EQ(r.output, dir / "verbs.txf");
  const std::string txf = Read(r.output);
  EXPECT_EQ(txf.rfind("> lesen\r\n", 0), 0u) << txf;
  EXPECT_EQ(txf.find("old content"), std::string::npos);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), std::make_pair(3, 1.0));
  EXPECT_EQ(verb.infin, "sagen");

  // The same list as JSON Lines on two threads: one line per infinitive, in list order.
  job.verb = nullptr;
  job.json = true;
  job.jobs = 2;
  const TFullFormsResult j = RunFullFormsFile(job);
  ASSERT_TRUE(j.ok());
  EXPECT_EQ(j.output, FullFormsJsonPath(list));
  const std::string jsonl = Read(j.output);
  EXPECT_EQ(std::count(jsonl.begin(), jsonl.end(), '\n'), 3);
  EXPECT_LT(jsonl.find("\"input\":\"lesen\""), jsonl.find("\"input\":\"sagen\""));
}

TEST_F(FullFormsJobTest, Failures) {
  TFullFormsJob job;
  job.input = dir / "missing.txt";
  TFullFormsResult r = RunFullFormsFile(job);
  EXPECT_EQ(r.failure, TFullFormsResult::TFailure::read);
  EXPECT_EQ(r.failedPath, job.input);
  EXPECT_EQ(r.systemError, ENOENT);

  // A list named like its own output would be overwritten by it.
  job.input = dir / "verbs.txf";
  fs::copy_file(list, job.input);
  r = RunFullFormsFile(job);
  EXPECT_EQ(r.failure, TFullFormsResult::TFailure::sameFile);
  EXPECT_EQ(Read(job.input), Read(list));

  // An output folder in place of the file cannot be written.
  job.input = list;
  fs::remove(dir / "verbs.txf");
  fs::create_directory(dir / "verbs.txf");
  r = RunFullFormsFile(job);
  EXPECT_EQ(r.failure, TFullFormsResult::TFailure::write);
  EXPECT_EQ(r.failedPath, dir / "verbs.txf");
}

}  // namespace
