// SPDX-License-Identifier: MIT
// Settings bound to files: saving, deleting, the save-before-read rule, a failing write, the
// user settings file and its location, the registry replacement, window placement.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace fs = std::filesystem;

namespace {

std::string A(std::u16string_view u) {
  return UniToUtf8(u);
}

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const fs::path& p, std::string_view bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Age(const fs::path& p, int seconds) {
  fs::last_write_time(p, fs::last_write_time(p) - std::chrono::seconds(seconds));
}

// A private folder per test, with the environment pointing into it.
class IniFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/ini-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    setenv("BEUGWERK_SYSTEM_CONFIG", (dir_ / "etc").c_str(), 1);
    SetProgramFile(dir_ / "bin" / "beugwerk");
  }
  void TearDown() override {
    ReleaseUserSettings();
    SetProgramFile({});
    SetSettingsMessageCallback({});
    fs::remove_all(dir_);
  }
  fs::path dir_;
};

TEST_F(IniFiles, SavedFileMatchesGolden) {
  fs::path fixtures = BEUGWERK_FIXTURES "/settings";
  TIni ini(fixtures / "mixed.ini", {}, {}, et_UTF8);
  EXPECT_EQ(A(ini.ReadString(u"form1", u"title", u"")), " 'Beugwerk' ");
  ini.ChangeFileName(dir_ / "out.ini");
  ini.Save();
  EXPECT_EQ(Slurp(dir_ / "out.ini"), Slurp(fixtures / "mixed_saved.ini"));
  EXPECT_FALSE(ini.Modified());
}

TEST_F(IniFiles, AllValuesRemovedDeletesTheFile) {
  fs::path f = dir_ / "a.ini";
  Spit(f, "[S]\r\nk=1\r\n");
  {
    TIni ini(f);
    ini.WriteString(u"S", u"k", u"");
    ini.Save();
  }
  EXPECT_FALSE(fs::exists(f));
}

TEST_F(IniFiles, PendingChangesAreSavedBeforeReadingWhenTheFileIsOld) {
  fs::path f = dir_ / "a.ini";
  Spit(f, "k=1\r\n");
  TIni fresh(f);
  fresh.WriteString(u"", u"k", u"2");
  EXPECT_EQ(A(fresh.ReadString(u"", u"k", u"")), "2");
  EXPECT_EQ(Slurp(f), "k=1\r\n");  // less than 10 s since the file was read
  fresh.SetModified(false);

  Age(f, 60);
  TIni old(f);
  old.WriteString(u"", u"k", u"3");
  EXPECT_EQ(old.ReadInteger(u"", u"k", 0), 3);
  EXPECT_EQ(Slurp(f), "k=3\r\n\r\n");
  EXPECT_FALSE(old.Modified());
}

TEST_F(IniFiles, AutoMaintainRereadsAChangedFile) {
  fs::path f = dir_ / "a.ini";
  Spit(f, "k=1\r\n");
  TIni ini(f);
  ini.SetAutoMaintain(true);
  Spit(f, "k=2\r\n");
  Age(f, 5);
  EXPECT_EQ(A(ini.ReadString(u"", u"k", u"")), "2");
}

TEST_F(IniFiles, FailedWriteLeavesTheOldFileIntact) {
  fs::path f = dir_ / "a.ini";
  const std::string before = "\xEF\xBB\xBF[S]\r\nk=1\r\n\r\n";
  Spit(f, before);
  // The temporary file's name is taken by a folder, so the write cannot even start.
  fs::create_directories(dir_ / ("a.ini." + std::to_string(getpid()) + ".tmp"));
  TIni ini(f, {}, {}, et_UTF8);
  ini.WriteString(u"S", u"k", u"2");
  EXPECT_FALSE(ini.TrySaveToFile(f));
  EXPECT_EQ(Slurp(f), before);
  EXPECT_FALSE(ini.Modified());  // counts as saved; the value stays in memory
  EXPECT_EQ(A(ini.ReadString(u"S", u"k", u"")), "2");
  EXPECT_FALSE(ini.Maintain());  // the unchanged file is not read back over it

  fs::remove(dir_ / ("a.ini." + std::to_string(getpid()) + ".tmp"));
  ini.WriteString(u"S", u"k", u"3");
  EXPECT_TRUE(ini.TrySaveToFile(f));
  EXPECT_EQ(Slurp(f), "\xEF\xBB\xBF[S]\r\nk=3\r\n\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(IniFiles, UndecodableLinesReachTheMessageCallback) {
  std::string message;
  SetSettingsMessageCallback([&](const std::string& m) { message = m; });
  fs::path f = dir_ / "damaged.ini";
  Spit(f, std::string("DLZTU8\0\1", 8) + "\r\nk=\xFF\r\nm=2\r\n");
  TIni ini(f, {}, {}, et_UTF8);
  EXPECT_EQ(message, "Die Datei \r" + f.string() +
                         "\r enth\xC3\xA4lt in Zeile 2 ein nicht interpretierbares Zeichen.");
  EXPECT_EQ(A(ini.ReadString(u"", u"m", u"")), "2");
}

TEST_F(IniFiles, UserSettingsFileLocationFormatAndLineBreaks) {
  TUserSettingsFile& s = GetUserSettings();
  EXPECT_EQ(s.FileName(), dir_ / "cfg" / "Tivor" / "beugwerk.ini");
  s.writeString(u"MAINWIN", u"Note", u"zwei\r\nZeilen");
  s.writeList(u"History", {u"lesen", u"sich anziehen"});
  WriteInfiListFile(dir_ / "verben.txt");
  ReleaseUserSettings();
  EXPECT_EQ(Slurp(dir_ / "cfg" / "Tivor" / "beugwerk.ini"),
            "\xEF\xBB\xBF[History]\r\nlesen\r\nsich anziehen\r\n\r\n"
            "[MAINWIN]\r\nNote=zwei\xEF\xBF\xB1\xEF\xBF\xB2Zeilen\r\nInfiListFile=" +
                (dir_ / "verben.txt").string() + "\r\n\r\n");
  EXPECT_EQ(A(GetUserSettings().readString(u"mainwin", u"note", u"")), "zwei\r\nZeilen");
  EXPECT_EQ(ReadInfiListFile(), dir_ / "verben.txt");
  TUniStrings history;
  GetUserSettings().readList(u"HISTORY", history);
  EXPECT_EQ(history, (TUniStrings{u"lesen", u"sich anziehen"}));
}

TEST_F(IniFiles, SaveBackupLeavesTheSettingsFileAlone) {
  TUserSettingsFile& s = GetUserSettings();
  s.writeInteger(u"S", u"i", 4);
  s.SaveBackup();
  EXPECT_EQ(Slurp(dir_ / "cfg" / "Tivor" / "beugwerk_bkup.ini"), "\xEF\xBB\xBF[S]\r\ni=4\r\n\r\n");
  EXPECT_FALSE(fs::exists(dir_ / "cfg" / "Tivor" / "beugwerk.ini"));
  EXPECT_FALSE(s.Ini().Modified());
}

TEST_F(IniFiles, LocalSettingsFileIsCopiedToRoaming) {
  Spit(dir_ / "data" / "Tivor" / "beugwerk.ini", "[S]\r\nx=1\r\n");
  EXPECT_EQ(GetUserSettings().readInteger(u"S", u"x", 0), 1);
  EXPECT_EQ(Slurp(dir_ / "cfg" / "Tivor" / "beugwerk.ini"), "[S]\r\nx=1\r\n");
  // Once there, the roaming file wins.
  ReleaseUserSettings();
  Spit(dir_ / "data" / "Tivor" / "beugwerk.ini", "[S]\r\nx=2\r\n");
  EXPECT_EQ(GetUserSettings().readInteger(u"S", u"x", 0), 1);
}

TEST_F(IniFiles, NoAppDataFolder) {
  std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("HOME");
  try {
    AppDataPath(u"x");
    ADD_FAILURE() << "no error";
  } catch (const ESettingsError& e) {
    EXPECT_STREQ(e.what(), "can't obtain AppDataFolder");
  }
  setenv("HOME", home.c_str(), 1);
  if (home.empty()) unsetenv("HOME");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  if (!home.empty()) {
    EXPECT_EQ(RoamingAppDataFolder(), fs::path(home) / ".config/");
  }
}

// --- registry ----------------------------------------------------------------------------------

TEST_F(IniFiles, RegistryPathSpecifications) {
  const struct {
    const char* pathSpec;
    TRegRoot root;
    const char* path;
  } rows[] = {
      {"A\\x", TRegRoot::CurrentUser, "Software\\Tivor\\Telmar.Exe\\Projects\\Pr\\x"},
      {"c\\.txt", TRegRoot::LocalMachine, "Software\\Classes\\.txt"},
      {"E\\", TRegRoot::CurrentUser, "Software\\Tivor"},
      {"F\\", TRegRoot::CurrentUser,
       "Software\\Microsoft\\Windows\\Currentversion\\Explorer\\Shell Folders"},
      {"H\\", TRegRoot::LocalMachine, "Software\\Tivor\\Telmar.Exe"},
      {"K\\a", TRegRoot::LocalMachine, "Software\\Classes\\a"},
      {"M\\Software\\X\\", TRegRoot::LocalMachine, "Software\\X"},
      {"P\\", TRegRoot::LocalMachine, "Software\\Tivor\\Telmar.Exe\\Projects\\Pr"},
      {"r\\Beugwerk.exe", TRegRoot::LocalMachine, "Software\\Tivor\\Beugwerk.exe"},
      {"U\\Software", TRegRoot::CurrentUser, "Software"},
      {"V\\", TRegRoot::LocalMachine, "Software\\Microsoft\\Windows\\Currentversion"},
      {"Z\\b", TRegRoot::CurrentUser, "Software\\Classes\\b"},
      {"Q\\b", TRegRoot::CurrentUser, "b"},
      {"Recent", TRegRoot::CurrentUser, "Software\\Tivor\\Beugwerk\\Recent"},
      {"", TRegRoot::CurrentUser, "Software\\Tivor\\Beugwerk"},
  };
  for (const auto& r : rows) {
    TRegKey k = ResolveRegPath(Utf8ToUni(r.pathSpec), u"Pr");
    EXPECT_EQ(k.Root, r.root) << r.pathSpec;
    EXPECT_EQ(A(k.Path), r.path) << r.pathSpec;
  }
}

TEST_F(IniFiles, RegistryValues) {
  EXPECT_EQ(A(RegReadString(u"Recent", u"File", u"none")), "none");
  EXPECT_TRUE(RegWriteString(u"Recent", u"File", u"a\r\nb"));
  EXPECT_TRUE(RegWriteString(u"R\\Telmar.exe", u"", u"/opt/telmar/telmar"));
  EXPECT_EQ(A(RegReadString(u"recent\\", u"FILE", u"")), "a\r\nb");
  EXPECT_EQ(A(RegReadString(u"H\\", u"", u"")), "/opt/telmar/telmar");
  EXPECT_EQ(ViewerProgramFolder(), fs::path("/opt/telmar/"));
  EXPECT_EQ(Slurp(dir_ / "etc" / "registry.ini"),
            "\xEF\xBB\xBF[Software\\Tivor\\Telmar.exe]\r\n@=/opt/telmar/telmar\r\n\r\n");
  EXPECT_TRUE(fs::exists(dir_ / "cfg" / "Tivor" / "registry.ini"));
}

TEST_F(IniFiles, DeveloperMachineAndSiblings) {
  EXPECT_FALSE(IsDeveloperMachine(true));
  EXPECT_EQ(ViewerProgramFolder(), fs::path());
  const struct {
    const char* value;
    bool developer;
  } rows[] = {{"JX", true}, {"jx", false}, {"JX ", false}};
  for (const auto& r : rows) {
    Spit(dir_ / "etc" / "registry.ini", std::string("[SOFTWARE\\tivor]\r\n@=") + r.value + "\r\n");
    EXPECT_EQ(IsDeveloperMachine(true), r.developer) << r.value;
  }
  EXPECT_TRUE(RegWriteString(u"R\\Quenda.exe", u"", Utf8ToUni((dir_ / "q" / "quenda").string())));
  EXPECT_EQ(FindSiblingProgram(u"Quenda"), dir_ / "bin" / "Quenda");  // recorded file missing
  Spit(dir_ / "q" / "quenda", "#!");
  EXPECT_EQ(FindSiblingProgram(u"Quenda"), dir_ / "q" / "quenda");
}

// --- window placement --------------------------------------------------------------------------

TEST(IniPlacement, FitIntoScreen) {
  const TScreenRect screen{0, 0, 1920, 1080};
  const struct {
    TFormPlacement in;
    int left, top, width, height;
  } rows[] = {
      {{100, 100, 800, 600, {}}, 100, 100, 800, 600},
      {{1500, 900, 800, 600, {}}, 1120, 480, 800, 600},
      {{-50, -20, 800, 600, {}}, 0, 0, 800, 600},
      {{10, 10, 4000, 3000, {}}, 0, 0, 1920, 1080},
  };
  for (const auto& r : rows) {
    TFormPlacement p = r.in;
    FitIntoScreen(p, screen);
    EXPECT_EQ(p.Left, r.left) << r.in.Left << "," << r.in.Top;
    EXPECT_EQ(p.Top, r.top) << r.in.Left << "," << r.in.Top;
    EXPECT_EQ(p.Width, r.width) << r.in.Width;
    EXPECT_EQ(p.Height, r.height) << r.in.Height;
  }
}

TEST_F(IniFiles, PlacementRoundTripAndLimits) {
  TUserSettingsFile& s = GetUserSettings();
  EXPECT_EQ(PlacementSection(u"TForm1"), u"Form1");
  TFormPlacement p{10, 20, 700, 500, u"Segoe UI", -12, 3, 1, ws_Normal, true, false};
  SaveFormPlacement(p, u"Form1", pf_Size | pf_Position | pf_Font, &s);
  TFormPlacement q{0, 0, 100, 100, u"x", 8, 0, 0, ws_Normal, true, false};
  RestoreFormPlacement(q, u"Form1", {0, 0, 1920, 1080}, &s);
  EXPECT_EQ(q.Left, 10);
  EXPECT_EQ(q.Top, 20);
  EXPECT_EQ(q.Width, 700);
  EXPECT_EQ(q.Height, 500);
  EXPECT_EQ(q.FontStyle, 3);
  EXPECT_EQ(q.CharSet, 1);
  EXPECT_EQ(q.FontSize, 12);
  EXPECT_EQ(A(q.FontName), "Segoe UI");

  // Maximised or hidden windows keep their last normal bounds in the file.
  TFormPlacement max = p;
  max.Left = 999;
  max.WindowState = ws_Maximized;
  SaveFormPlacement(max, u"Form1", pf_Size | pf_Position, &s);
  EXPECT_EQ(s.readInteger(u"Form1", u"Left", 0), 10);
  EXPECT_EQ(s.readInteger(u"Form1", u"WinState", 0), 2);

  const struct {
    const char *key, *value;
    int style, charset, state;
  } rows[] = {{"FONTSTYLE", "16", 0, 1, 2},
              {"CharSet", "256", 3, 0, 2},
              {"WinState", "1", 3, 1, 0},
              {"WinState", "2", 3, 1, 2}};
  for (const auto& r : rows) {
    s.writeInteger(u"Form1", u"FONTSTYLE", 3);
    s.writeInteger(u"Form1", u"CharSet", 1);
    s.writeInteger(u"Form1", u"WinState", 2);
    s.writeString(u"Form1", Utf8ToUni(r.key), Utf8ToUni(r.value));
    TFormPlacement t;
    RestoreFormPlacement(t, u"Form1", {0, 0, 1920, 1080}, &s);
    EXPECT_EQ(t.FontStyle, r.style) << r.key << "=" << r.value;
    EXPECT_EQ(t.CharSet, r.charset) << r.key << "=" << r.value;
    EXPECT_EQ(t.WindowState, r.state) << r.key << "=" << r.value;
  }
}

// --- two program runs ------------------------------------------------------------------------

std::string RunCommand(const std::string& cmd) {
  std::string out;
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return "popen failed";
  char buf[256];
  while (std::fgets(buf, sizeof buf, f)) out += buf;
  pclose(f);
  return out;
}

TEST_F(IniFiles, ValuesSurviveTwoProgramRuns) {
  std::string env = "XDG_CONFIG_HOME='" + (dir_ / "cfg").string() + "' ";
  EXPECT_EQ(RunCommand(env + SETTINGS_TOOL " write"), "");
  EXPECT_TRUE(fs::exists(dir_ / "cfg" / "Tivor" / "settings_roundtrip_tool.ini"));
  EXPECT_EQ(RunCommand(env + SETTINGS_TOOL " read"),
            "text=Zeile 1|Zeile 2 \xC3\xA4\xE2\x82\xAC\xCE\xA9\n"
            "int=-2147483648\nbool=1\nnan=7FF8000000000123\nnegzero=8000000000000000\n"
            "list=lesen;sich anziehen;\n");
}

}  // namespace
