// SPDX-License-Identifier: MIT
// Folders and the registry replacement. Keys keep their Windows paths so that values written
// by the maker's other programs are found under the same names; each root is one settings
// file whose sections are key paths and whose keys are value names ("@": the default value).
#include <unicode/uchar.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_programMutex;
fs::path g_programFile;  // set by tests; empty: /proc/self/exe

// An absolute folder from the environment, else empty (relative values are ignored, as
// the XDG rules say).
fs::path EnvFolder(const char* var) {
  const char* v = std::getenv(var);
  if (v && *v == '/') return fs::path(v);
  return {};
}

fs::path WithSlash(fs::path p) {
  std::string s = p.native();
  if (!s.empty() && s.back() != '/') s.push_back('/');
  return fs::path(s);
}

fs::path HomeSub(const char* sub) {
  fs::path home = EnvFolder("HOME");
  return home.empty() ? fs::path() : home / sub;
}

fs::path FromUni(std::u16string_view s) {
  return fs::path(UniToUtf8(s));
}

// "beugwerk" -> "Beugwerk": the program's key name under \Software\Tivor\.
std::u16string ExeKeyName() {
  std::u16string n = Utf8ToUni(ProgramFile().filename().string());
  for (char16_t& c : n) c = static_cast<char16_t>(u_tolower(c));
  if (!n.empty()) n[0] = static_cast<char16_t>(u_toupper(n[0]));
  return n;
}

struct TSelector {
  char16_t Letter;
  TRegRoot Root;
  const char16_t* Base;
  bool WithProject;
};

// Classes root keys are kept under the machine's Software\Classes, where Windows merges
// them from as well.
constexpr TSelector kSelectors[] = {
    {u'A', TRegRoot::CurrentUser, u"\\Software\\Tivor\\Telmar.Exe\\Projects\\", true},
    {u'C', TRegRoot::LocalMachine, u"\\Software\\Classes", false},
    {u'E', TRegRoot::CurrentUser, u"\\Software\\Tivor", false},
    {u'F', TRegRoot::CurrentUser,
     u"\\Software\\Microsoft\\Windows\\Currentversion\\Explorer\\Shell Folders", false},
    {u'H', TRegRoot::LocalMachine, u"\\Software\\Tivor\\Telmar.Exe", false},
    {u'K', TRegRoot::LocalMachine, u"\\Software\\Classes", false},
    {u'M', TRegRoot::LocalMachine, u"", false},
    {u'P', TRegRoot::LocalMachine, u"\\Software\\Tivor\\Telmar.Exe\\Projects\\", true},
    {u'R', TRegRoot::LocalMachine, u"\\Software\\Tivor", false},
    {u'U', TRegRoot::CurrentUser, u"", false},
    {u'V', TRegRoot::LocalMachine, u"\\Software\\Microsoft\\Windows\\Currentversion", false},
    {u'Z', TRegRoot::CurrentUser, u"\\Software\\Classes", false},
};

// Empty parts dropped: "\a\\b\" and "a\b" name the same key.
std::u16string NormalizeKey(std::u16string_view p) {
  std::u16string r;
  std::size_t pos = 0;
  while (pos <= p.size()) {
    std::size_t end = p.find(u'\\', pos);
    if (end == std::u16string_view::npos) end = p.size();
    if (end > pos) {
      if (!r.empty()) r.push_back(u'\\');
      r.append(p.substr(pos, end - pos));
    }
    pos = end + 1;
  }
  return r;
}

std::u16string ValueKey(std::u16string_view valueName) {
  return valueName.empty() ? std::u16string(u"@") : std::u16string(valueName);
}

}  // namespace

// --- program and folders ---------------------------------------------------------------------
fs::path ProgramFile() {
  {
    std::lock_guard lock(g_programMutex);
    if (!g_programFile.empty()) return g_programFile;
  }
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec);
}

void SetProgramFile(const fs::path& exe) {
  std::lock_guard lock(g_programMutex);
  g_programFile = exe;
}

std::u16string ProgramBaseName() {
  return Utf8ToUni(ProgramFile().stem().string());
}

fs::path RoamingAppDataFolder() {
  fs::path p = EnvFolder("XDG_CONFIG_HOME");
  if (p.empty()) p = HomeSub(".config");
  if (p.empty()) throw ESettingsError("can't obtain AppDataFolder");
  return WithSlash(p);
}

fs::path LocalAppDataFolder() {
  fs::path p = EnvFolder("XDG_DATA_HOME");
  if (p.empty()) p = HomeSub(".local/share");
  if (p.empty()) throw ESettingsError("can't obtain AppDataFolder");
  return WithSlash(p);
}

fs::path AppDataPath(std::u16string_view name) {
  return RoamingAppDataFolder() / FromUni(name);
}

fs::path DocumentsFolder() {
  fs::path p = EnvFolder("XDG_DOCUMENTS_DIR");
  if (p.empty()) p = HomeSub("Documents");
  return p.empty() ? TempFolder() : WithSlash(p);
}

fs::path CommonAppDataFolder() {
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  if (dirs && *dirs == '/') {
    std::string first(dirs);
    first = first.substr(0, first.find(':'));
    return WithSlash(first);
  }
  return fs::path("/usr/share/");
}

fs::path TempFolder() {
  fs::path p = EnvFolder("TMPDIR");
  return WithSlash(p.empty() ? fs::path("/tmp") : p);
}

// --- registry --------------------------------------------------------------------------------
TRegKey ResolveRegPath(std::u16string_view pathSpec, std::u16string_view project) {
  TRegKey k;
  if (pathSpec.size() >= 2 && pathSpec[1] == u'\\') {
    char16_t letter = static_cast<char16_t>(u_toupper(pathSpec[0]));
    std::u16string base;
    for (const TSelector& s : kSelectors) {
      if (s.Letter != letter) continue;
      k.Root = s.Root;
      base = s.Base;
      if (s.WithProject) base += project;
    }
    k.Path = NormalizeKey(base + std::u16string(pathSpec.substr(1)));
  } else {
    k.Path = NormalizeKey(u"\\Software\\Tivor\\" + ExeKeyName() + u"\\" + std::u16string(pathSpec));
  }
  return k;
}

fs::path RegistryFile(TRegRoot root) {
  if (root == TRegRoot::CurrentUser) return RoamingAppDataFolder() / "Tivor" / "registry.ini";
  fs::path folder = EnvFolder("BEUGWERK_SYSTEM_CONFIG");
  if (folder.empty()) folder = "/etc/xdg/Tivor";
  return folder / "registry.ini";
}

std::u16string RegReadString(std::u16string_view pathSpec, std::u16string_view valueName,
                             std::u16string_view deflt, std::u16string_view project) {
  TRegKey k = ResolveRegPath(pathSpec, project);
  fs::path file;
  try {
    file = RegistryFile(k.Root);
  } catch (const ESettingsError&) {
    return std::u16string(deflt);
  }
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return std::u16string(deflt);
  TIni ini(file, {}, &TIni::IgnoreOnErrorEncoding, et_UTF8);
  std::u16string v = UnescapeLineBreaks(ini.ReadString(k.Path, ValueKey(valueName), u""));
  return v.empty() ? std::u16string(deflt) : v;
}

bool RegWriteString(std::u16string_view pathSpec, std::u16string_view valueName,
                    std::u16string_view value, std::u16string_view project) {
  TRegKey k = ResolveRegPath(pathSpec, project);
  if (k.Path.empty()) return false;  // a root itself holds no values
  fs::path file;
  try {
    file = RegistryFile(k.Root);
  } catch (const ESettingsError&) {
    return false;
  }
  TIni ini(file, {}, &TIni::IgnoreOnErrorEncoding, et_UTF8);
  ini.WriteString(k.Path, ValueKey(valueName), EscapeLineBreaks(value));
  if (!ini.Modified()) return true;
  return ini.TrySaveToFile(file, et_UTF8);
}

bool IsDeveloperMachine(bool reread) {
  static std::atomic<int> cached{-1};
  int v = cached.load();
  if (v < 0 || reread) {
    v = RegReadString(u"R\\", u"", u"") == u"JX" ? 1 : 0;
    cached.store(v);
  }
  return v == 1;
}

// The key keeps the ".exe" of the Windows installations; the file beside this program has
// no extension on Linux.
fs::path FindSiblingProgram(std::u16string_view name) {
  std::u16string recorded = RegReadString(u"R\\" + std::u16string(name) + u".exe", u"", u"");
  if (!recorded.empty()) {
    fs::path p = FromUni(recorded);
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p;
  }
  return ProgramFile().parent_path() / FromUni(name);
}

fs::path ViewerProgramFolder() {
  std::u16string recorded = RegReadString(u"H\\", u"", u"");
  if (recorded.empty()) return {};
  return WithSlash(FromUni(recorded).parent_path());
}
