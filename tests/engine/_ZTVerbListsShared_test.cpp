// SPDX-License-Identifier: MIT
// Life of the shared verb lists: file and resource mode, users, reload, concurrent readers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"

namespace {

namespace fs = std::filesystem;

// Two versions of a small file that differ in three tables at once, so that a reader can tell
// a torn state from either version.
std::string Version(int v) {
  return v == 1 ? "fahr u\ngeh i\n@\nab\n@\n@\narbeit1\n@\n@\n@\n@\n@\n@\n@\nstillegen 5\n@\n"
                : "fahr u\n@\nan\nauf\n@\n@\narbeit2\n@\n@\n@\n@\n@\n@\n@\n@\n";
}

class SharedLists : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = fs::temp_directory_path() /
            ("beugwerk-h2-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".vlx");
    Write(1, 0);
    VerbListsPath = file_;
  }
  void TearDown() override {
    FreeVerbLists();
    VerbListsPath.clear();
    VerbListsResourceName = "VERBLISTS";
    fs::remove(file_);
  }
  // Writes a version and moves its time by seconds, so that every write is seen as a change.
  void Write(int v, int seconds) {
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << Version(v);
    fs::last_write_time(file_, base_ + std::chrono::seconds(seconds));
  }
  fs::path file_;
  fs::file_time_type base_ = fs::file_time_type::clock::now() - std::chrono::hours(1);
};

TEST_F(SharedLists, FileModeLoadsOnceForAllUsers) {
  JoinVerbLists();
  JoinVerbLists();
  EXPECT_EQ(VerbListsUsers, 2);
  EXPECT_TRUE(VerbListsFileMode());
  EXPECT_EQ(VerbListsPath, file_);
  EXPECT_EQ(VerbListsFileDate.load(), FileWriteTime(file_));
  EXPECT_EQ(unRegList.size(), 2u);
  LeaveVerbLists();
  EXPECT_EQ(unRegList.size(), 2u);
  LeaveVerbLists();
  EXPECT_TRUE(unRegList.empty());
  EXPECT_TRUE(prefixTable.empty());
  EXPECT_EQ(formLimitList, nullptr);
}

TEST_F(SharedLists, ReloadKeepsUsersAndShowsTheNewTables) {
  JoinVerbLists();
  JoinVerbLists();
  EXPECT_EQ(StressDigit("arbeit"), 1);
  EXPECT_FALSE(CheckVerbListsFile());
  Write(2, 10);
  EXPECT_TRUE(CheckVerbListsFile());
  EXPECT_EQ(VerbListsUsers, 2);
  EXPECT_EQ(StressDigit("arbeit"), 2);
  EXPECT_EQ(unRegList.size(), 1u);
  EXPECT_EQ(RespellPosition("stillegen"), 0);
  EXPECT_EQ(VerbListsFileDate.load(), FileWriteTime(file_));
  EXPECT_FALSE(CheckVerbListsFile());
  LeaveVerbLists();
  LeaveVerbLists();
}

TEST_F(SharedLists, ResourceModeWithoutTheFile) {
  VerbListsPath = file_.string() + ".missing";
  JoinVerbLists();
  EXPECT_TRUE(VerbListsPath.empty());
  EXPECT_FALSE(VerbListsFileMode());
  EXPECT_FALSE(unRegList.empty());
  EXPECT_FALSE(CheckVerbListsFile());  // resource mode: no reload checks
  LeaveVerbLists();
}

TEST_F(SharedLists, AFolderIsNoFile) {
  VerbListsPath = fs::temp_directory_path();
  JoinVerbLists();
  EXPECT_TRUE(VerbListsPath.empty());
  LeaveVerbLists();
}

TEST_F(SharedLists, NeitherFileNorResourceThrows) {
  VerbListsPath = file_.string() + ".missing";
  VerbListsResourceName = "NOPE";
  try {
    JoinVerbLists();
    ADD_FAILURE() << "no exception";
  } catch (const EVerbListsMissing& e) {
    EXPECT_STREQ(e.what(), "Verblistenressource fehlt! einbinden!");
  }
  EXPECT_EQ(VerbListsUsers, 0);
  EXPECT_EQ(formLimitList, nullptr);  // a later user may try again
}

TEST_F(SharedLists, LoadingTwiceIsAProgrammingError) {
  TWriteLock lock(VerbListsLock);
  LoadVerbLists();
  EXPECT_THROW(LoadVerbLists(), EAssertionFailed);
}

TEST_F(SharedLists, ReadLockIsReentrantAndRefusesAnUpgrade) {
  JoinVerbLists();
  {
    TVerbListsReadLock outer;
    TVerbListsReadLock inner;
    EXPECT_EQ(StressDigit("arbeit"), 1);
    EXPECT_THROW(VerbListsLock.BeginWrite(), EAssertionFailed);
  }
  LeaveVerbLists();  // takes the write lock: the read locks are all released
}

// Four readers check under the read lock that all tables belong to one version while a fifth
// thread rewrites the file and reloads it.
TEST_F(SharedLists, ReadersNeverSeeATornReload) {
  JoinVerbLists();
  JoinVerbLists();
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::atomic<long> reads{0};
  auto reader = [&] {
    while (!stop) {
      TVerbListsReadLock lock;
      const int stress = StressDigit("arbeit");
      TVerbListsReadLock again;  // the analysis re-takes the lock
      std::string prefixes;
      for (const TPackedEntry& e : PrefixEntries()) prefixes += std::string(e.text) + ",";
      std::size_t entries = 0;
      for (unRegPtr e = unRegList.empty() ? nullptr : &unRegList.front(); e; e = e->next) ++entries;
      const bool v1 = stress == 1 && prefixes == "ab," && entries == 2;
      const bool v2 = stress == 2 && prefixes == "an,auf," && entries == 1;
      if (!v1 && !v2) ++torn;
      ++reads;
    }
  };
  std::vector<std::thread> readers;
  for (int i = 0; i < 4; ++i) readers.emplace_back(reader);
  int reloads = 0;
  std::thread writer([&] {
    for (int i = 1; i <= 60; ++i) {
      Write(i % 2 == 0 ? 1 : 2, i * 10);
      if (CheckVerbListsFile()) ++reloads;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stop = true;
  });
  writer.join();
  for (std::thread& t : readers) t.join();
  EXPECT_EQ(torn.load(), 0);
  EXPECT_EQ(reloads, 60);
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(VerbListsUsers, 2);
  LeaveVerbLists();
  LeaveVerbLists();
}

}  // namespace

namespace {

// A pinned snapshot is what the lookups read, without the lock and without joining the shared
// lists; pins nest, and the shared lists come back when the last one ends.
TEST_F(SharedLists, APinnedSnapshotIsReadInsteadOfTheSharedLists) {
  JoinVerbLists();
  const auto snapshotOf = [this](int v) {
    Write(v, v * 10);
    auto t = std::make_shared<TVerbListsTables>();
    InspectVerbLists(file_, *t);
    return std::shared_ptr<const TVerbListsTables>(std::move(t));
  };
  const auto second = snapshotOf(2), first = snapshotOf(1);
  {
    TVerbListsPin pin(second);
    EXPECT_TRUE(VerbListsPinned());
    EXPECT_FALSE(VerbListsNeedLock());
    EXPECT_EQ(StressDigit("arbeit"), 2);
    EXPECT_TRUE(IsInPrefixTable("an"));
    {
      TVerbListsPin inner(first);
      EXPECT_EQ(StressDigit("arbeit"), 1);
    }
    EXPECT_EQ(StressDigit("arbeit"), 2);
    {
      TVerbGen verb;
      EXPECT_EQ(VerbListsUsers, 1);
    }
    EXPECT_EQ(VerbListsUsers, 1);
  }
  EXPECT_FALSE(VerbListsPinned());
  EXPECT_TRUE(VerbListsNeedLock());
  TVerbListsReadLock lock;
  EXPECT_EQ(StressDigit("arbeit"), 1);
  EXPECT_TRUE(IsInPrefixTable("ab"));
}

}  // namespace
