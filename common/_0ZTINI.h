// SPDX-License-Identifier: MIT
// Settings files: a document of [sections] with key=value lines (TIniStream), bound to a file
// (TIni), the per-user settings object of the program (TUserSettings, GetUserSettings), the
// window placement kept there, the folders the program uses and a small file-backed
// replacement of the Windows registry (RegReadString, RegWriteString).
//
// Section and key names compare case-insensitively (ICU); sections are written in collated
// order; a document starting with the line ";$C" compares section names exactly.
//
//   TIniStream doc;
//   doc.LoadFromText(u"[Form1]\r\nLeft=10\r\n");
//   doc.ReadInteger(u"FORM1", u"left", 0)             -> 10
//   GetUserSettings().writeString(u"MAINWIN", u"InfiListFile", u"/home/a/verben.txt");
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_Unicd.h"

// The UTF-16 string list of the settings operations (lines of a section, section names).
using TUniStrings = std::vector<std::u16string>;

// Errors of this module; what() is UTF-8.
struct ESettingsError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Holds the value of a line inside a section.
class TStringObject {
 public:
  explicit TStringObject(std::u16string s = {}) : FString(std::move(s)) {}
  std::u16string FString;
};

// Name comparison: ICU collation with case ignored, ties broken by case folding, so that
// equality means "equal after case folding" and the order is the collated one. With
// caseSensitive the tie is broken by code units (exact equality).
int IniCompareNames(std::u16string_view a, std::u16string_view b, bool caseSensitive = false);
bool IniSameKey(std::u16string_view a, std::u16string_view b);  // case folding

// One section: lines in file order. A line with an empty key (comment, line without '=',
// line set through WriteSectionLines) keeps the whole line as its value.
class TIniSection {
 public:
  struct TLine {
    std::u16string Key;
    TStringObject Object;
  };

  int Count() const { return static_cast<int>(FLines.size()); }
  const std::u16string& Keys(int i) const { return FLines.at(i).Key; }
  const std::u16string& Values(int i) const { return FLines.at(i).Object.FString; }
  void SetValue(int i, std::u16string v) { FLines.at(i).Object.FString = std::move(v); }
  // Case-insensitive, first match wins; -1 when missing. Never finds lines without key.
  int IndexOf(std::u16string_view key) const;
  void Add(std::u16string key, std::u16string value);
  void Delete(int i) { FLines.erase(FLines.begin() + i); }
  void Clear() { FLines.clear(); }
  bool HasValue() const;  // some line with a non-empty value
  std::vector<TLine>& Lines() { return FLines; }
  const std::vector<TLine>& Lines() const { return FLines; }

 private:
  std::vector<TLine> FLines;
};

// Section name to section, kept sorted by IniCompareNames.
class TIniSectionList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const std::u16string& Names(int i) const { return FItems.at(i).Name; }
  TIniSection& Sections(int i) { return *FItems.at(i).Section; }
  const TIniSection& Sections(int i) const { return *FItems.at(i).Section; }
  int IndexOf(std::u16string_view name) const;  // -1 when missing
  // The section of that name, created when missing.
  TIniSection& Obtain(std::u16string_view name);
  void Put(std::u16string_view name, std::unique_ptr<TIniSection> s);  // replaces
  void Delete(int i) { FItems.erase(FItems.begin() + i); }
  void Clear() { FItems.clear(); }
  bool CaseSensitive() const { return FCaseSensitive; }
  // Re-sorts; switching to case-insensitive merges sections that become equal.
  void SetCaseSensitive(bool v);

 private:
  struct TItem {
    std::u16string Name;
    std::unique_ptr<TIniSection> Section;
  };
  std::size_t LowerBound(std::u16string_view name) const;
  std::vector<TItem> FItems;
  bool FCaseSensitive = false;
};

class TIni;
// Called once after a load in which lines could not be decoded; lineNr is the last such line.
using TEncodingErrorHandler = std::function<void(TIni& sender, int lineNr)>;
// Maps a settings file in a write-protected folder to the path where it is kept instead.
using TVirtualizeFunction = std::function<std::filesystem::path(const std::filesystem::path&)>;
// Where library messages for the user go (UTF-8); the front end sets it.
using TSettingsMessageCallback = std::function<void(const std::string& message)>;
void SetSettingsMessageCallback(TSettingsMessageCallback cb);

struct TIniPoint {
  int x = 0;
  int y = 0;
  bool operator==(const TIniPoint&) const = default;
};

// The in-memory document.
class TIniStream {
 public:
  TIniStream() = default;
  TIniStream(const TIniStream&) = delete;
  TIniStream& operator=(const TIniStream&) = delete;
  virtual ~TIniStream() = default;

  // --- properties
  TIniSection& Sections(int i) { return FSections.Sections(i); }
  TIniSection* SectionByName(std::u16string_view name);  // nullptr when missing
  const std::u16string& SectionNames(int i) const { return FSections.Names(i); }
  bool CaseSensitive() const { return FSections.CaseSensitive(); }
  void SetCaseSensitive(bool v) { FSections.SetCaseSensitive(v); }
  int Count() const { return FSections.Count(); }
  TEncodingType Encoding() const { return FEncoding; }  // et_none: not known yet
  void SetEncoding(TEncodingType e) { FEncoding = e; }
  bool Modified() const { return FModified; }
  void SetModified(bool v) { FModified = v; }
  TIniSectionList& SectionList() { return FSections; }
  const TEncodingErrorHandler& OnEncodingError() const { return FOnEncodingError; }
  void SetOnEncodingError(TEncodingErrorHandler h) { FOnEncodingError = std::move(h); }

  // --- reads; typed reads go through the virtual ReadString
  virtual std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view deflt);
  int ReadInteger(std::u16string_view section, std::u16string_view key, int deflt);
  std::int64_t ReadInt64(std::u16string_view section, std::u16string_view key, std::int64_t deflt);
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool deflt);
  double ReadFloat(std::u16string_view section, std::u16string_view key, double deflt);
  double ReadDouble(std::u16string_view section, std::u16string_view key, double deflt);
  TIniPoint ReadPoint(std::u16string_view section, std::u16string_view key,
                      std::u16string_view deflt);

  // --- writes
  void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value);
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int64_t value);
  void WriteDouble(std::u16string_view section, std::u16string_view key, double value);

  // --- whole sections
  void ReadSectionLines(std::u16string_view section, TUniStrings& list, bool withCommentLines);
  void WriteSectionLines(std::u16string_view section, const TUniStrings& list,
                         bool withCommentLines);
  void ReadSectionLineNames(std::u16string_view section, TUniStrings& list);
  void ReadSectionNames(TUniStrings& list) const;
  void ClearSection(std::u16string_view sectionName);
  void AddSection(std::u16string_view nm, std::unique_ptr<TIniSection> aSection);
  void DelDupLines();
  void SortKeywords();

  // --- text and bytes
  void Clear() { FSections.Clear(); }
  // Parses the lines of text (CR, LF or CR LF) into this document, which is cleared first.
  void LoadFromText(std::u16string_view text);
  // Detects the encoding of the bytes (a UTF-8 signature sets Encoding when it is unset).
  // Bytes the reader rejects are decoded line by line (DecodeIniLines); the result is the
  // number of the last line that could not be decoded, 0 when all could.
  int LoadFromBytes(std::string_view bytes);
  void LoadFromStream(std::istream& in);
  // The file format: ";$C", sorted sections, CR LF after every line.
  std::u16string FileText() const;
  // FileText encoded with aEncoding (et_none: Encoding), signature first.
  std::string SaveToBytes(TEncodingType aEncoding = et_none);
  void SaveToStream(std::ostream& out, TEncodingType aEncoding = et_none);
  // Every section with its header (also "[]" for the empty name) and an empty line after it.
  std::u16string GetText(std::u16string_view lineBreak = u"\r\n") const;
  bool isEmpty() const;

 protected:
  // The stored value or empty; no side effects.
  std::u16string Lookup(std::u16string_view section, std::u16string_view key);
  void ParseLine(std::u16string_view line, TIniSection*& current);

  TIniSectionList FSections;
  TEncodingType FEncoding = et_none;
  TEncodingErrorHandler FOnEncodingError;
  bool FModified = false;
};

// Bytes of text in an encoding; et_none and unknown types choose Windows-1252 when every
// character fits, UTF-8 with signature otherwise.
std::string EncodeIniText(std::u16string_view text, TEncodingType encoding);

// Splits bytes at CR (a following LF belongs to the break) and decodes each line strictly with
// the encoding; a line that fails is decoded as Windows-1252 and *lastBadLine (1-based) set.
std::u16string DecodeIniLines(std::string_view bytes, TEncodingType encoding, int* lastBadLine);

// A document bound to a file.
class TIni : public TIniStream {
 public:
  explicit TIni(std::filesystem::path fn);
  TIni(std::filesystem::path fn, TVirtualizeFunction aVirtualizeFunction,
       TEncodingErrorHandler aEncodingErrorHandler, TEncodingType aEncoding);
  ~TIni() override;

  const std::filesystem::path& FileName() const { return FFileName; }
  bool AutoMaintain() const { return FAutoMaintain; }
  void SetAutoMaintain(bool v) { FAutoMaintain = v; }
  std::int64_t FileTime() const { return FFileTime; }

  void LoadFromFile(const std::filesystem::path& fn);
  void ReadFromFile() { LoadFromFile(FFileName); }
  // Maintains when AutoMaintain, and saves pending changes older than 10 s on disk first.
  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view deflt) override;
  void Save();
  // Write errors are swallowed (the document still counts as saved).
  void SaveToFile(const std::filesystem::path& fileName, TEncodingType aEncoding = et_none);
  // As SaveToFile, but reports whether the file (or its virtualized copy) was written or,
  // for an empty document, deleted.
  bool TrySaveToFile(const std::filesystem::path& fileName, TEncodingType aEncoding = et_none);
  bool Maintain();
  void ChangeFileName(std::filesystem::path newFileName);

  static void DefaultOnEncodingError(TIni& sender, int lineNr);
  static void IgnoreOnErrorEncoding(TIni& sender, int lineNr);

  // 8-bit names and default, Windows-1252.
  std::string AnsiReadString(std::string_view section, std::string_view key,
                             std::string_view deflt);
  int AnsiReadInteger(std::string_view section, std::string_view key, int deflt);

 private:
  std::filesystem::path FFileName;
  std::int64_t FFileTime = 0;  // ns since the epoch; 0: no file
  bool FAutoMaintain = false;
  bool FVirtualizeWriteprotectedFolders = false;
  TVirtualizeFunction FVirtualFolder;
};

// Writes bytes to path through a temporary file in the same folder, flushed to disk and
// renamed over the old file; on failure the old file is untouched and false is returned.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The per-user settings interface.
class TUserSettings {
 public:
  virtual ~TUserSettings() = default;
  virtual void ClearSection(std::u16string_view sect) = 0;
  virtual bool readBool(std::u16string_view sect, std::u16string_view key, bool deflt) = 0;
  virtual double readDouble(std::u16string_view sect, std::u16string_view key, double deflt) = 0;
  virtual int readInteger(std::u16string_view sect, std::u16string_view key, int deflt) = 0;
  virtual void readList(std::u16string_view sect, TUniStrings& list) = 0;
  virtual std::u16string readString(std::u16string_view sect, std::u16string_view key,
                                    std::u16string_view deflt) = 0;
  virtual void Save() = 0;
  virtual void SaveBackup() = 0;
  virtual void writeBool(std::u16string_view sect, std::u16string_view key, bool value) = 0;
  virtual void writeDouble(std::u16string_view sect, std::u16string_view key, double value) = 0;
  virtual void writeInteger(std::u16string_view sect, std::u16string_view key, int value) = 0;
  virtual void writeList(std::u16string_view sect, const TUniStrings& list) = 0;
  virtual void writeString(std::u16string_view sect, std::u16string_view key,
                           std::u16string_view value) = 0;
};

// Line breaks of user strings: the value is cut at U+0000, CR stored as U+FFF1, LF as U+FFF2.
std::u16string EscapeLineBreaks(std::u16string_view s);
std::u16string UnescapeLineBreaks(std::u16string_view s);

class TUserSettingsFile : public TUserSettings {
 public:
  // Opens (and reads) the file; UTF-8 with signature, the default encoding-error handler.
  explicit TUserSettingsFile(const std::filesystem::path& fn);
  const std::filesystem::path& FileName() const { return FIni.FileName(); }
  TIni& Ini() { return FIni; }

  void ClearSection(std::u16string_view sect) override;
  bool readBool(std::u16string_view sect, std::u16string_view key, bool deflt) override;
  double readDouble(std::u16string_view sect, std::u16string_view key, double deflt) override;
  int readInteger(std::u16string_view sect, std::u16string_view key, int deflt) override;
  void readList(std::u16string_view sect, TUniStrings& list) override;
  std::u16string readString(std::u16string_view sect, std::u16string_view key,
                            std::u16string_view deflt) override;
  void Save() override;
  void SaveBackup() override;  // "<name>_bkup.ini"; the settings file itself is not written
  void writeBool(std::u16string_view sect, std::u16string_view key, bool value) override;
  void writeDouble(std::u16string_view sect, std::u16string_view key, double value) override;
  void writeInteger(std::u16string_view sect, std::u16string_view key, int value) override;
  void writeList(std::u16string_view sect, const TUniStrings& list) override;
  void writeString(std::u16string_view sect, std::u16string_view key,
                   std::u16string_view value) override;

 private:
  TIni FIni;
};

// --- the program's settings and locations ----------------------------------------------------

// The executable (from /proc/self/exe). Tests set another one; an empty path restores it.
std::filesystem::path ProgramFile();
void SetProgramFile(const std::filesystem::path& exe);
std::u16string ProgramBaseName();  // file name without extension

// <roaming>/Tivor/<program base name>.ini; a file only at <local>/Tivor/ is copied over first.
std::filesystem::path UserSettingsPath();
// The program's settings object, created on the first call. ReleaseUserSettings saves and
// frees it (program end, tests); the next GetUserSettings opens it again.
TUserSettingsFile& GetUserSettings();
void ReleaseUserSettings();

// The remembered input file of the batch run (section "MAINWIN", value "InfiListFile").
std::filesystem::path ReadInfiListFile();
void WriteInfiListFile(const std::filesystem::path& path);

// Folders, each ending with '/'. Throw ESettingsError "can't obtain AppDataFolder" when
// neither XDG_CONFIG_HOME nor HOME names a folder.
std::filesystem::path RoamingAppDataFolder();  // $XDG_CONFIG_HOME or ~/.config
std::filesystem::path LocalAppDataFolder();    // $XDG_DATA_HOME or ~/.local/share
std::filesystem::path AppDataPath(std::u16string_view name);
std::filesystem::path DocumentsFolder();      // $XDG_DOCUMENTS_DIR or ~/Documents
std::filesystem::path CommonAppDataFolder();  // first of $XDG_DATA_DIRS, or /usr/share
std::filesystem::path TempFolder();           // $TMPDIR or /tmp

// --- registry replacement ---------------------------------------------------------------------
// pathSpec "X\rest" picks a root and base key by the letter X (see _0ZTINI_Reg.cpp); any other
// pathSpec is a subkey of the program's own key \Software\Tivor\<Exe name>\ under the current
// user. The current user's keys live in <roaming>/Tivor/registry.ini, the machine's in
// /etc/xdg/Tivor/registry.ini (folder overridable by $BEUGWERK_SYSTEM_CONFIG).
enum class TRegRoot { CurrentUser, LocalMachine };
struct TRegKey {
  TRegRoot Root = TRegRoot::CurrentUser;
  std::u16string Path;  // "Software\Tivor\Telmar.exe": no leading or trailing backslash
};
TRegKey ResolveRegPath(std::u16string_view pathSpec, std::u16string_view project);
std::filesystem::path RegistryFile(TRegRoot root);

std::u16string RegReadString(std::u16string_view pathSpec, std::u16string_view valueName,
                             std::u16string_view deflt, std::u16string_view project = {});
bool RegWriteString(std::u16string_view pathSpec, std::u16string_view valueName,
                    std::u16string_view value, std::u16string_view project = {});

// Machine key Software\Tivor has the default value "JX". Read once; reread for tests.
bool IsDeveloperMachine(bool reread = false);
// The file named by the machine key Software\Tivor\<name>.exe, else <program folder>/<name>.
std::filesystem::path FindSiblingProgram(std::u16string_view name);
// Folder (ending with '/') of the viewer program Telmar as recorded by its installation;
// empty when not recorded.
std::filesystem::path ViewerProgramFolder();

// --- window placement -------------------------------------------------------------------------
// A toolkit-independent picture of a window; the desktop program copies to and from its forms.
enum TWinState { ws_Normal = 0, ws_Minimized = 1, ws_Maximized = 2 };
struct TFormPlacement {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::u16string FontName;
  int FontSize = 0;
  int FontStyle = 0;  // bit set, 0..15
  int CharSet = 0;
  int WindowState = ws_Normal;
  bool Visible = false;
  bool Busy = false;  // being loaded, streamed or destroyed
};
struct TScreenRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};
enum TPlacementFlags { pf_Size = 1, pf_Position = 2, pf_Font = 4 };

// The section of a form: its class name without the first letter ("TForm1" -> "Form1").
std::u16string PlacementSection(std::u16string_view className);
// Fits the rectangle into the screen: sizes limited, then moved left/up, then right/down.
void FitIntoScreen(TFormPlacement& p, const TScreenRect& screen);
// Without settings only the bounds are fitted.
void RestoreFormPlacement(TFormPlacement& p, std::u16string_view section, const TScreenRect& screen,
                          TUserSettings* settings);
void SaveFormPlacement(const TFormPlacement& p, std::u16string_view section, int flags,
                       TUserSettings* settings);
