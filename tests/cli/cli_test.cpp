// SPDX-License-Identifier: MIT
// The beugwerk program as a user runs it: output, error output and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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
// override of the verb lists but the one in env ("NAME=value", quoted for the shell).
TRun RunBeugwerk(const std::string& args, const std::string& env = "") {
  const fs::path dir = fs::temp_directory_path();
  const fs::path out = dir / ("beugwerk-cli-" + std::to_string(getpid()) + ".out");
  const fs::path err = dir / ("beugwerk-cli-" + std::to_string(getpid()) + ".err");
  const std::string cmd = "cd '" BEUGWERK_SOURCE_DIR "' && env -u BEUGWERK_VERBLISTS " + env +
                          " '" BEUGWERK_EXE "' " + args + " >'" + out.string() + "' 2>'" +
                          err.string() + "'";
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
  const TRun builtIn = RunBeugwerk("lists-check");
  EXPECT_EQ(builtIn.status, 0) << builtIn.out << builtIn.err;
  EXPECT_NE(builtIn.out.find("built-in copy"), std::string::npos) << builtIn.out;
}

// Options in any position, options a command does not take, and the one rule of exit
// statuses: 0 done, 1 rejected or nothing found (the output still printed), 2 usage, 3 file.
TEST(Cli, CommandLines) {
  const std::string lists = "--verb-lists tests/fixtures/generator/generator.VLX";
  const struct {
    const char* args;  // "@" stands for the fixture lists' option
    int status;
    const char* out;  // a piece of standard output; "" for none at all
    const char* err;  // a piece of standard error; "" for none at all
  } rows[] = {
      // the global options before or after the command name
      {"@ --ortho alt request V1:hassen", 0, "haßte\n", ""},
      {"@ request V1:hassen --ortho alt", 0, "haßte\n", ""},
      {"@ request V1:hassen", 0, "hasste\n", ""},
      {"request --ortho=alt V1:hassen @", 0, "haßte\n", ""},
      {"@ --ortho alt page hassen", 0, "<tr><td>ich haßte</td>", ""},
      {"@ page hassen --ortho alt", 0, "<tr><td>ich haßte</td>", ""},
      {"@ --json sich waschen", 0, "{\"input\":\"sich waschen\"", ""},
      {"@ sich --json waschen", 0, "{\"input\":\"sich waschen\"", ""},
      {"@ --ortho ch --json grüßen", 0, "\"orthography\":\"ch\"", ""},
      {"--utf8 fullforms @ - </dev/null", 0, "", "0 Verben verarbeitet\n"},
      {"@ fullforms --json - </dev/null", 0, "", "0 Verben verarbeitet\n"},
      // --all: the further blocks after the table, on the page the page of all forms
      {"@ --all lesen", 0, "\nKonjunktiv II Futur I (würde-Form)\n  ich würde lesen", ""},
      {"@ lesen --all", 0, "Vorgangspassiv", ""},
      {"@ page --all lesen", 0, "Konjunktiv I Perfekt", ""},
      {"@ --all request G2:lesen", 2, "", "beugwerk request: --all is not an option"},
      // options the command does not take, and unknown ones
      {"@ --json request G2:lesen", 2, "", "beugwerk request: --json is not an option"},
      {"@ --utf8 lesen", 2, "", "beugwerk: --utf8 is not an option"},
      {"@ page --json lesen", 2, "", "beugwerk page: --json is not an option"},
      {"@ --ortho alt lists-check", 2, "", "beugwerk lists-check: --ortho is not an option"},
      {"@ --ortho alt serve", 2, "", "beugwerk serve: --ortho is not an option"},
      {"@ --frob lesen", 2, "", "unknown option --frob"},
      {"--frobnicate lists-check", 2, "", "unknown option --frobnicate"},
      {"@ page --frob lesen", 2, "", "unknown option --frob"},
      {"@ lesen --online", 2, "", "unknown option --online"},
      {"@ request --frob G2:lesen", 2, "", "unknown option --frob"},
      {"@ --ortho xx lesen", 2, "", "--ortho needs neu, alt or ch"},
      {"@ lesen --ortho", 2, "", "--ortho needs neu, alt or ch"},
      {"lesen --verb-lists", 2, "", "--verb-lists needs a PATH"},
      {"lists-check --verb-lists", 2, "", "--verb-lists needs a PATH"},
      {"lists-check a b", 2, "", "takes at most one PATH"},
      {"@ --ortho neu", 2, "", "no PHRASE given"},
      {"", 2, "", "no command given"},
      // rejected input: exit 1, the page and the JSON still printed
      {"@ '<b>'", 1, "", "ist kein Infinitiv!"},
      {"@ frobnicate", 1, "", "weder ein Befehl noch ein Infinitiv"},
      {"@ --json 'xyz!'", 1, "{\"input\":\"xyz!\",\"error\":", ""},
      {"@ page '<b>'", 1, "<title>Deutsche Verbformen: &lt;b&gt;</title>", ""},
      {"@ analyse '<b>'", 1, "\nresult: false\n", ""},
      {"@ request G7:lesen", 1, "** unbekannter Formname! **\n", ""},
      {"@ request G2:lesex", 1, "lesex ist kein Infinitiv!\n", ""},
      {"lists-check tests/fixtures/verblists/bad.vlx", 1, "line 3 (unRegList)", ""},
      // done, also for a verb left open by its prefix
      {"@ request G2:lesen", 0, "liest\n", ""},
      {"@ übersetzen", 0, "nicht eindeutig", ""},
      {"@ analyse übersetzen", 0, "\nresult: false\n", ""},
      {"@ page", 0, "den Generator ausprobieren", ""},
      // files that cannot be read
      {"@ fullforms /nonexistent/list.txt", 3, "",
       "/nonexistent/list.txt: Datei oder Verzeichnis nicht gefunden"},
      {"@ sitemap /nonexistent/list.txt /tmp/never.xml", 3, "",
       "\"/nonexistent/list.txt\" kann nicht gelesen werden: Datei oder Verzeichnis nicht "
       "gefunden"},
      {"lists-check /nonexistent/Beugwerk.VLX", 3, "", "Datei oder Verzeichnis nicht gefunden"},
      {"lists-check tests", 3, "", "Ist ein Verzeichnis"},
      // the help names the rule
      {"--help", 0, "Exit status: 0 done; 1 the input was rejected", ""},
      {"page --help", 0, "Usage: beugwerk [OPTIONS] COMMAND", ""},
  };
  for (const auto& r : rows) {
    std::string args = r.args;
    if (const std::size_t at = args.find('@'); at != std::string::npos) args.replace(at, 1, lists);
    const TRun run = RunBeugwerk(args);
    EXPECT_EQ(run.status, r.status) << r.args << "\n" << run.err;
    if (*r.out)
      EXPECT_NE(run.out.find(r.out), std::string::npos) << r.args << "\n" << run.out;
    else
      EXPECT_EQ(run.out, "") << r.args;
    if (*r.err)
      EXPECT_NE(run.err.find(r.err), std::string::npos) << r.args << "\n" << run.err;
    else
      EXPECT_EQ(run.err, "") << r.args;
  }
}

}  // namespace

// A verb lists file that is named but cannot be used stops every command that conjugates,
// with the path and the reason; the built-in copy serves only when no file is named.
TEST(Cli, VerbListsThatCannotBeUsed) {
  const fs::path dir =
      fs::temp_directory_path() / ("beugwerk-cli-verblists-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder.vlx");
  std::ofstream(dir / "empty.vlx") << "";
  std::ofstream(dir / "list.txt") << "lesen\n";
  const std::string d = dir.string();
  const struct {
    std::string env;    // BEUGWERK_VERBLISTS=..., or empty
    std::string lists;  // --verb-lists ..., or empty
    std::string message;
  } files[] = {
      {"", "--verb-lists " + d + "/missing.vlx",
       "\"" + d +
           "/missing.vlx\" kann nicht gelesen werden: Datei oder Verzeichnis nicht gefunden."},
      {"BEUGWERK_VERBLISTS=" + d + "/missing.vlx", "",
       "\"" + d +
           "/missing.vlx\" (BEUGWERK_VERBLISTS) kann nicht gelesen werden: Datei oder "
           "Verzeichnis nicht gefunden."},
      {"", "--verb-lists=" + d + "/folder.vlx", "kann nicht gelesen werden: Ist ein Verzeichnis."},
      {"", "--verb-lists tests/fixtures/verblists/bad.vlx",
       "\"tests/fixtures/verblists/bad.vlx\" ist fehlerhaft (Zeile 3); Einzelheiten zeigt: "
       "beugwerk lists-check tests/fixtures/verblists/bad.vlx"},
      {"BEUGWERK_VERBLISTS=tests/fixtures/verblists/bad.vlx", "", "ist fehlerhaft (Zeile 3)"},
      {"", "--verb-lists " + d + "/empty.vlx", "\" enthält keine Einträge; Einzelheiten zeigt"},
  };
  const std::string commands[] = {"lesen",
                                  "--json lesen",
                                  "page lesen",
                                  "analyse lesen",
                                  "request G2:lesen",
                                  "fullforms - </dev/null",
                                  "fullforms " + d + "/list.txt",
                                  "sitemap " + d + "/list.txt " + d + "/sitemap.xml"};
  for (const auto& f : files) {
    for (const std::string& c : commands) {
      const TRun run = RunBeugwerk(f.lists + " " + c, f.env);
      const std::string name = f.env + f.lists + " " + c;
      EXPECT_EQ(run.status, 3) << name;
      EXPECT_EQ(run.out, "") << name;
      EXPECT_NE(run.err.find("Die Verblistendatei"), std::string::npos) << name << run.err;
      EXPECT_NE(run.err.find(f.message), std::string::npos) << name << "\n" << run.err;
      EXPECT_EQ(run.err.find("init zuvor vergessen"), std::string::npos) << name;
    }
  }
  EXPECT_FALSE(fs::exists(dir / "list.txf"));
  EXPECT_FALSE(fs::exists(dir / "sitemap.xml"));
  // Named and usable, or nothing named: the command works.
  EXPECT_EQ(RunBeugwerk("request G2:lesen", "BEUGWERK_VERBLISTS=data/Beugwerk.VLX").out, "liest\n");
  EXPECT_EQ(RunBeugwerk("request G2:lesen").out, "liest\n");
  fs::remove_all(dir);
}

// A second run replaces the list's output; an output that is a link is written through and
// stays a link, so a list may point its output elsewhere.
TEST(Cli, FullFormsReplacesItsOutputAndWritesThroughALink) {
  const fs::path dir =
      fs::temp_directory_path() / ("beugwerk-cli-fullforms-" + std::to_string(getpid()));
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
