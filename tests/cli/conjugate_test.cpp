// SPDX-License-Identifier: MIT
// `beugwerk PHRASE...` and `beugwerk page PHRASE...` as a user runs them, over the generator's
// fixture lists: output, error output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int status = -1;
  std::string out, err;
};

const std::string kLists = "--verb-lists tests/fixtures/generator/generator.VLX ";

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the program from the source folder with the arguments (already quoted for the shell).
TRun RunBeugwerk(const std::string& args) {
  const fs::path dir = fs::temp_directory_path();
  const fs::path out = dir / ("beugwerk-conjugate-" + std::to_string(getpid()) + ".out");
  const fs::path err = dir / ("beugwerk-conjugate-" + std::to_string(getpid()) + ".err");
  const std::string cmd = "cd '" BEUGWERK_SOURCE_DIR "' && '" BEUGWERK_EXE "' " + args + " >'" +
                          out.string() + "' 2>'" + err.string() + "'";
  TRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadAll(out);
  r.err = ReadAll(err);
  return r;
}

TEST(ConjugateCli, TablesOfPhrases) {
  const struct {
    const char* args;
    const char* expected;  // a piece of standard output
  } rows[] = {
      {"'sich waschen'", "Infinitiv I:          sich waschen\n"},
      {"sich waschen", "\nPerfekt\n  ich habe mich gewaschen"},
      {"sich waschen", "  im Hauptsatz"},
      {"3 regnen", "\n  es regnet                wenn es regnet\n"},
      {"--ortho alt mit dem Taxi fahren", "\nPerfekt (haben oder sein?)\n"},
      {"--ortho=ch sich waschen", "du wäschst dich"},
      {"hassen", "\n  ich hasste "},
      {"--ortho alt hassen", "\n  ich haßte "},
      {"page --ortho alt hassen", "<tr><td>ich haßte</td>"},
      {"page hassen", "<tr><td>ich hasste</td>"},
      {"übersetzen", "nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!\n"},
      {"sich aneinander gewöhnen", "\nPräteritum\n  -"},
  };
  for (const auto& r : rows) {
    const TRun run = RunBeugwerk(kLists + r.args);
    EXPECT_EQ(run.status, 0) << r.args << run.err;
    EXPECT_NE(run.out.find(r.expected), std::string::npos) << r.args << "\n" << run.out;
    EXPECT_TRUE(run.err.empty()) << r.args << run.err;
  }
}

TEST(ConjugateCli, PagesMatchTheGoldenFiles) {
  const struct {
    const char* args;
    const char* file;
  } rows[] = {
      {"page sich waschen", "sich_waschen.out"},
      {"page --online mit dem Taxi fahren", "mit_dem_Taxi_fahren_online.out"},
      {"page --ortho neu --online 'mit dem Taxi' fahren", "mit_dem_Taxi_fahren_online.out"},
  };
  for (const auto& r : rows) {
    const TRun run = RunBeugwerk(kLists + r.args);
    EXPECT_EQ(run.status, 0) << r.args << run.err;
    EXPECT_EQ(run.out, ReadAll(fs::path(BEUGWERK_SOURCE_DIR) / "tests/golden/page" / r.file))
        << r.args;
  }
  const TRun blank = RunBeugwerk(kLists + "page");
  EXPECT_NE(blank.out.find("<title>Deutsche Verbformen: den Generator ausprobieren</title>"),
            std::string::npos);
}

TEST(ConjugateCli, RejectedCalls) {
  const struct {
    const char* args;
    const char* message;  // a piece of standard error
    int status = 2;       // 1: the phrase was rejected, 2: the command line
  } rows[] = {
      {"'<b>'", "ist kein Infinitiv!", 1},
      {"frobnicate", "weder ein Befehl noch ein Infinitiv", 1},
      {"--ortho", "--ortho needs neu, alt or ch"},
      {"--ortho neu", "no PHRASE given"},
      {"--ortho xx lesen", "--ortho needs neu, alt or ch"},
      {"lesen --online", "unknown option --online"},
      {"page --ortho", "--ortho needs neu, alt or ch"},
      {"page --frob lesen", "unknown option --frob"},
  };
  for (const auto& r : rows) {
    const TRun run = RunBeugwerk(kLists + r.args);
    EXPECT_EQ(run.status, r.status) << r.args;
    EXPECT_NE(run.err.find(r.message), std::string::npos) << r.args << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << r.args << "\n" << run.out;
  }
}

TEST(ConjugateCli, HelpNamesBothCommands) {
  const TRun run = RunBeugwerk("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\n  [--ortho X] [--all] [--json] PHRASE..."), std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("\n  page [--online] [--all] [--ortho X] PHRASE..."), std::string::npos)
      << run.out;
}

}  // namespace
