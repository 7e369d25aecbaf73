// SPDX-License-Identifier: MIT
// TAnsiStringList: an ordered list of 8-bit (Windows-1252) strings, each with an optional
// associated object. Files are read and written byte for byte, never through a code page.
//
//   TAnsiStringList l;
//   l.SetText("lesen\r\nschreiben");   // two lines
//   l.IndexOf("LESEN");               // 0: case-insensitive by default (ICU collation)
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

// Root of the objects a list can own; lists that store small integers use IntToObject.
class TObject {
 public:
  virtual ~TObject() = default;
};
inline TObject* IntToObject(std::intptr_t n) {
  return reinterpret_cast<TObject*>(n);
}
inline std::intptr_t ObjectToInt(const TObject* o) {
  return reinterpret_cast<std::intptr_t>(o);
}

// Errors carry the German message, UTF-8 in what().
struct EAnsiStringListError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A file that cannot be opened or created; what() names the file and the system's reason.
struct EFOpenError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
struct ESortCancelled : std::runtime_error {
  ESortCancelled() : std::runtime_error("Sortierung abgebrochen") {}
};

enum TDuplicates { dupIgnore, dupAccept, dupError };
enum TSearchMode { sm_eqOnly, sm_Max_LE, sm_Max_LT, sm_Min_GE, sm_Min_GT };

struct TAnsiStringItem {
  std::string FString;
  TObject* FObject = nullptr;
};

// Bytes <-> one 8-bit string, for the load and save variants that take an encoding.
class TAnsiEncoding {
 public:
  virtual ~TAnsiEncoding() = default;
  virtual std::string GetAnsiString(std::string_view bytes) const = 0;
  std::string GetAnsiString(std::string_view bytes, std::size_t byteIndex,
                            std::size_t byteCount) const;
  virtual std::string GetBytesFromAnsi(std::string_view chars) const = 0;
  virtual std::size_t GetMaxByteCount(std::size_t charCount) const = 0;
  virtual std::size_t GetMaxCharCount(std::size_t byteCount) const = 0;
  virtual std::string GetPreamble() const = 0;
};

using TUniToAnsi = std::string (*)(std::u16string_view);
using TNotifyEvent = std::function<void(class TAnsiStringList*)>;
using TProgressEvent = std::function<bool(int i, int max)>;  // false: stop the sort
using TAnsiStringListSortCompare = std::function<int(class TAnsiStringList&, int, int)>;

class TAnsiStringList {
 public:
  TAnsiStringList();
  explicit TAnsiStringList(bool ownsObjects);
  virtual ~TAnsiStringList();
  TAnsiStringList(const TAnsiStringList&) = delete;
  TAnsiStringList& operator=(const TAnsiStringList&) = delete;

  // --- what the engine and the batch tools rely on ---
  int Add(std::string_view s);
  virtual int AddObject(std::string_view s, TObject* aObject);
  virtual const std::string& Get(int index) const;
  virtual TObject* GetObject(int index) const;
  virtual int Count() const { return FCount; }
  virtual void Clear();
  virtual int IndexOf(std::string_view s) const;
  virtual bool Find(std::string_view s, int& index) const;
  virtual void LoadFromFile(const std::filesystem::path& fileName);
  virtual void LoadFromFile(const std::filesystem::path& fileName, const TAnsiEncoding* enc);
  virtual void LoadFromStream(std::istream& stream);
  virtual void LoadFromStream(std::istream& stream, const TAnsiEncoding* enc);
  void SetText(std::string_view text);
  std::string GetText() const;
  std::string Text() const { return GetText(); }

  // --- the rest of the interface ---
  void Add0(std::string_view s);
  void AddStrings(const TAnsiStringList& list);
  void AddStringsAndObjects(const TAnsiStringList& list);
  void AddUnicodeStrings(const std::vector<std::u16string>& list, TUniToAnsi uniToAnsi);
  void BeginUpdate();
  void EndUpdate();
  void ClearObjects();
  virtual void CustomSort(const TAnsiStringListSortCompare& compare);
  virtual void Delete(int index);
  void DelKwLine(std::u16string_view kw);
  void Exchange(int index1, int index2);
  int FindKwLine(std::string_view kw) const;
  std::string GetValue(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);
  bool hasObjects() const;
  virtual int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* aObject) const;
  void Insert(int index, std::string_view s);
  virtual void InsertObject(int index, std::string_view s, TObject* aObject);
  std::string LastLine() const;
  void Move(int curIndex, int newIndex);
  void NeedSorted();
  virtual void Put(int index, std::string_view s);
  virtual void PutObject(int index, TObject* aObject);
  void rtfHexOut(const void* buffer, int l);
  void rtfHexOutEnd();
  void binFileOut(const std::filesystem::path& fn);
  void RuAnsiListToUni(std::vector<std::u16string>& liU) const;
  void SaveToFile(const std::filesystem::path& fileName) const;
  void SaveToFile(const std::filesystem::path& fileName, const TAnsiEncoding* enc) const;
  virtual void SaveToStream(std::ostream& stream) const;
  virtual void SaveToStream(std::ostream& stream, const TAnsiEncoding* enc) const;
  void SaveToFileUTF8(const std::filesystem::path& fileName, int codePage, bool withBOM,
                      bool unicodeStressed = false, bool utf8cCoding = false) const;
  void SaveToUTF8Stream(std::ostream& stream, int codePage, bool withBOM,
                        bool unicodeStressed = false, bool utf8cCoding = false) const;
  int SearchIndex(std::string_view toSearch, TSearchMode mode) const;
  void SetDelimitedTextStr(std::string_view value, char delimiter);
  virtual void Sort();

  // --- properties ---
  virtual int Capacity() const { return FCapacity; }
  virtual void SetCapacity(int newCapacity);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool v);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates d) { FDuplicates = d; }
  const std::string& LineBreak() const { return FLineBreak; }
  void SetLineBreak(std::string_view lb) { FLineBreak = lb; }
  bool OwnsObjects() const { return FOwnsObjects; }
  // An ICU locale name ("de_DE"); empty means the user's default locale from the environment.
  const std::string& Locale() const { return FLocale; }
  void SetLocale(std::string_view locale);
  TNotifyEvent OnChange, OnChanging;
  TProgressEvent OnProgress;
  char SortSeparator = ' ';
  std::string SortUnsigCharsA;

  // -1, 0, +1 under the list's collation; equal only when the strings differ at most in case
  // (case-insensitive) or not at all (case-sensitive).
  virtual int CompareItems(std::string_view s1, std::string_view s2) const;

 protected:
  virtual void NotifyChanged();
  virtual void NotifyChanging();
  virtual void SwitchUpdateState(bool updating);
  virtual void InsertAt(int index, std::string_view s, TObject* aObject);

 private:
  std::vector<TAnsiStringItem> FList;
  int FCount = 0;
  int FCapacity = 0;
  int FUpdateCount = 0;
  int FHighestProgress = 0;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
  std::string FLineBreak = "\r\n";
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  bool FContinue = true;
  std::string FLocale;
  std::string FRtfHex;
  // The ICU collator for FLocale and FCaseSensitive, created on first use.
  struct TCollation;
  std::unique_ptr<TCollation> FCollation;

  void CheckIndex(int index, int limit) const;
  void Grow();
  void RemoveAt(int index);
  void QuickSort(int l, int r, const TAnsiStringListSortCompare& compare);
  bool ReportProgress(int l);
  bool EqualItems(std::string_view s1, std::string_view s2) const;
  int Collate(std::string_view s1, std::string_view s2) const;
  void ResetCollation();
};
