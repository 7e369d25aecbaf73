// SPDX-License-Identifier: MIT
// The beugwerk program as a user runs it: output, error output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int status = -1;
  std::string out, err;
};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs the program with the arguments (already quoted for the shell) and no environment
// override of the verb lists.
TRun RunBeugwerk(const std::string& args) {
  const fs::path dir = fs::temp_directory_path();
  const fs::path out = dir / "beugwerk-h2-cli.out";
  const fs::path err = dir / "beugwerk-h2-cli.err";
  const std::string cmd = "cd '" BEUGWERK_SOURCE_DIR "' && env -u BEUGWERK_VERBLISTS '" BEUGWERK_EXE
                          "' " +
                          args + " >'" + out.string() + "' 2>'" + err.string() + "'";
  TRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadAll(out);
  r.err = ReadAll(err);
  return r;
}

int CountLines(const std::string& s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

TEST(Cli, VersionAndHelp) {
  const TRun v = RunBeugwerk("--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "beugwerk 9.0.0\n");
  const TRun h = RunBeugwerk("--help");
  EXPECT_EQ(h.status, 0);
  EXPECT_NE(h.out.find("lists-check"), std::string::npos);
  EXPECT_NE(h.out.find("--verb-lists"), std::string::npos);
}

TEST(Cli, ListsCheckOfTheShippedFile) {
  const TRun r = RunBeugwerk("lists-check data/Beugwerk.VLX");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(CountLines(r.out), 12) << r.out;  // the file's name and eleven sections
  for (const char* section : {"unRegList", "prefixTable", "habenSeinTable", "respellList"})
    EXPECT_NE(r.out.find(section), std::string::npos) << section;
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST(Cli, ListsCheckNamesTheBadLines) {
  const TRun r = RunBeugwerk("lists-check tests/fixtures/verblists/bad.vlx");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("line 3 (unRegList)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("line 14 (stressTable)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("line 26 (respellList)"), std::string::npos) << r.out;
}

TEST(Cli, ListsCheckWithoutPathUsesTheOptionOrTheBuiltInCopy) {
  const TRun option = RunBeugwerk("lists-check --verb-lists tests/fixtures/verblists/bad.vlx");
  EXPECT_EQ(option.status, 1);
  EXPECT_NE(option.out.find("verb lists: tests/fixtures/verblists/bad.vlx"), std::string::npos);
  const TRun builtIn = RunBeugwerk("--verb-lists /nonexistent/Beugwerk.VLX lists-check");
  EXPECT_EQ(builtIn.status, 0) << builtIn.out << builtIn.err;
  EXPECT_NE(builtIn.out.find("built-in copy"), std::string::npos) << builtIn.out;
}

TEST(Cli, RejectedCalls) {
  const struct {
    const char* args;
    int status;
  } rows[] = {
      {"lists-check /nonexistent/Beugwerk.VLX", 2},
      {"lists-check tests", 2},  // a folder
      {"frobnicate", 2},
      {"", 2},
      {"--frobnicate lists-check", 2},
      {"lists-check --verb-lists", 2},
      {"lists-check a b", 2},
  };
  for (const auto& r : rows) {
    const TRun run = RunBeugwerk(r.args);
    EXPECT_EQ(run.status, r.status) << r.args;
    EXPECT_FALSE(run.err.empty()) << r.args;
    EXPECT_TRUE(run.out.empty()) << r.args;
  }
}

}  // namespace

// A second run replaces the list's output; an output that is a link is written through and
// stays a link, so a list may point its output elsewhere.
TEST(Cli, FullFormsReplacesItsOutputAndWritesThroughALink) {
  const fs::path dir = fs::temp_directory_path() / "beugwerk-cli-fullforms";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path list = dir / "list.txt";
  const fs::path txf = dir / "list.txf";
  std::ofstream(list, std::ios::binary) << "lesen\n";
  std::ofstream(txf, std::ios::binary) << "old contents that are longer than nothing\n";
  TRun r = RunBeugwerk("fullforms '" + list.string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(ReadAll(txf).starts_with("> lesen\r\n:lese;liest;")) << ReadAll(txf);
  // The old file, moved aside while the new one was written, is gone.
  for (const fs::directory_entry& e : fs::directory_iterator(dir))
    EXPECT_TRUE(e.path() == list || e.path() == txf) << e.path();

  const fs::path target = dir / "elsewhere.txf";
  std::ofstream(target, std::ios::binary) << "old";
  fs::remove(txf);
  fs::create_symlink(target, txf);
  r = RunBeugwerk("fullforms '" + list.string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(txf));
  EXPECT_TRUE(ReadAll(target).starts_with("> lesen\r\n")) << ReadAll(target);
  fs::remove_all(dir);
}
