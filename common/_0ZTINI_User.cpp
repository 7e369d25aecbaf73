// SPDX-License-Identifier: MIT
// The program's per-user settings: the settings object, where its file lives, the values the
// program keeps there (window placement, the batch input file).
#include <cstdlib>
#include <mutex>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_userMutex;
std::unique_ptr<TUserSettingsFile> g_user;

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

}  // namespace

// --- line breaks -----------------------------------------------------------------------------
std::u16string EscapeLineBreaks(std::u16string_view s) {
  std::u16string r(s.substr(0, s.find(u'\0')));
  for (char16_t& c : r) {
    if (c == u'\r') c = u'\uFFF1';
    if (c == u'\n') c = u'\uFFF2';
  }
  return r;
}

std::u16string UnescapeLineBreaks(std::u16string_view s) {
  std::u16string r(s);
  for (char16_t& c : r) {
    if (c == u'\uFFF1') c = u'\r';
    if (c == u'\uFFF2') c = u'\n';
  }
  return r;
}

// --- TUserSettingsFile -----------------------------------------------------------------------
TUserSettingsFile::TUserSettingsFile(const fs::path& fn)
    : FIni(fn, {}, &TIni::DefaultOnEncodingError, et_UTF8) {}

void TUserSettingsFile::ClearSection(std::u16string_view sect) {
  FIni.ClearSection(sect);
}

bool TUserSettingsFile::readBool(std::u16string_view sect, std::u16string_view key, bool deflt) {
  return FIni.ReadBool(sect, key, deflt);
}

double TUserSettingsFile::readDouble(std::u16string_view sect, std::u16string_view key,
                                     double deflt) {
  return FIni.ReadDouble(sect, key, deflt);
}

int TUserSettingsFile::readInteger(std::u16string_view sect, std::u16string_view key, int deflt) {
  return FIni.ReadInteger(sect, key, deflt);
}

void TUserSettingsFile::readList(std::u16string_view sect, TUniStrings& list) {
  FIni.ReadSectionLines(sect, list, true);
}

std::u16string TUserSettingsFile::readString(std::u16string_view sect, std::u16string_view key,
                                             std::u16string_view deflt) {
  return UnescapeLineBreaks(FIni.ReadString(sect, key, deflt));
}

void TUserSettingsFile::Save() {
  FIni.Save();
}

void TUserSettingsFile::SaveBackup() {
  fs::path backup = FIni.FileName();
  backup.replace_extension();
  backup += "_bkup.ini";
  FIni.SaveToFile(backup, FIni.Encoding());
}

void TUserSettingsFile::writeBool(std::u16string_view sect, std::u16string_view key, bool value) {
  FIni.WriteBool(sect, key, value);
}

void TUserSettingsFile::writeDouble(std::u16string_view sect, std::u16string_view key,
                                    double value) {
  FIni.WriteDouble(sect, key, value);
}

void TUserSettingsFile::writeInteger(std::u16string_view sect, std::u16string_view key, int value) {
  FIni.WriteInteger(sect, key, value);
}

void TUserSettingsFile::writeList(std::u16string_view sect, const TUniStrings& list) {
  FIni.WriteSectionLines(sect, list, true);
}

void TUserSettingsFile::writeString(std::u16string_view sect, std::u16string_view key,
                                    std::u16string_view value) {
  FIni.WriteString(sect, key, EscapeLineBreaks(value));
}

// --- the program's settings file -------------------------------------------------------------
fs::path UserSettingsPath() {
  fs::path name = UniToUtf8(ProgramBaseName()) + ".ini";
  fs::path roaming = RoamingAppDataFolder() / "Tivor" / name;
  if (fs::exists(roaming)) return roaming;
  // A file left in the local data folder moves along to the roaming one.
  fs::path local;
  try {
    local = LocalAppDataFolder() / "Tivor" / name;
  } catch (const ESettingsError&) {
    return roaming;
  }
  if (IsFile(local)) {
    std::error_code ec;
    fs::create_directories(roaming.parent_path(), ec);
    fs::copy_file(local, roaming, ec);
  }
  return roaming;
}

TUserSettingsFile& GetUserSettings() {
  std::lock_guard lock(g_userMutex);
  if (!g_user) {
    fs::path p = UserSettingsPath();
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    g_user = std::make_unique<TUserSettingsFile>(p);
  }
  return *g_user;
}

void ReleaseUserSettings() {
  std::lock_guard lock(g_userMutex);
  g_user.reset();
}

fs::path ReadInfiListFile() {
  return fs::path(UniToUtf8(GetUserSettings().readString(u"MAINWIN", u"InfiListFile", u"")));
}

void WriteInfiListFile(const fs::path& path) {
  GetUserSettings().writeString(u"MAINWIN", u"InfiListFile", Utf8ToUni(path.string()));
}

// --- window placement ------------------------------------------------------------------------
std::u16string PlacementSection(std::u16string_view className) {
  return std::u16string(className.empty() ? className : className.substr(1));
}

void FitIntoScreen(TFormPlacement& p, const TScreenRect& s) {
  if (p.Width > s.Width) p.Width = s.Width;
  if (p.Height > s.Height) p.Height = s.Height;
  if (p.Left + p.Width > s.Left + s.Width) p.Left = s.Left + s.Width - p.Width;
  if (p.Top + p.Height > s.Top + s.Height) p.Top = s.Top + s.Height - p.Height;
  if (p.Left < s.Left) p.Left = s.Left;
  if (p.Top < s.Top) p.Top = s.Top;
}

// Style and character set outside their ranges (also negative ones) fall back to 0.
void RestoreFormPlacement(TFormPlacement& p, std::u16string_view sect, const TScreenRect& screen,
                          TUserSettings* settings) {
  if (!settings) {
    FitIntoScreen(p, screen);
    return;
  }
  p.Left = settings->readInteger(sect, u"Left", p.Left);
  p.Top = settings->readInteger(sect, u"Top", p.Top);
  p.Width = settings->readInteger(sect, u"Width", p.Width);
  p.Height = settings->readInteger(sect, u"Height", p.Height);
  FitIntoScreen(p, screen);
  p.FontName = settings->readString(sect, u"FONT", p.FontName);
  p.FontSize = settings->readInteger(sect, u"FONTSIZE", p.FontSize);
  p.FontStyle = settings->readInteger(sect, u"FONTSTYLE", p.FontStyle);
  if (p.FontStyle < 0 || p.FontStyle > 15) p.FontStyle = 0;
  p.CharSet = settings->readInteger(sect, u"CharSet", 0);
  if (p.CharSet < 0 || p.CharSet > 255) p.CharSet = 0;
  int ws = settings->readInteger(sect, u"WinState", 0);
  p.WindowState = ws == ws_Maximized ? ws_Maximized : ws_Normal;
}

void SaveFormPlacement(const TFormPlacement& p, std::u16string_view sect, int flags,
                       TUserSettings* settings) {
  if (!settings) return;
  if (flags & pf_Font) {
    settings->writeString(sect, u"Font", p.FontName);
    settings->writeInteger(sect, u"Fontsize", std::abs(p.FontSize));
    settings->writeInteger(sect, u"Fontstyle", p.FontStyle);
    settings->writeInteger(sect, u"CharSet", p.CharSet);
  }
  bool placeable = p.Visible && p.WindowState == ws_Normal && !p.Busy;
  if (flags & pf_Size) {
    if (p.Visible) settings->writeInteger(sect, u"WinState", p.WindowState);
    if (placeable) {
      settings->writeInteger(sect, u"Width", p.Width);
      settings->writeInteger(sect, u"Height", p.Height);
    }
  }
  if ((flags & pf_Position) && placeable) {
    settings->writeInteger(sect, u"Left", p.Left);
    settings->writeInteger(sect, u"Top", p.Top);
  }
}
