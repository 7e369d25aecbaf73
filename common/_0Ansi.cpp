// SPDX-License-Identifier: MIT
#include "common/_0Ansi.h"

#include <unicode/coll.h>
#include <unicode/locid.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <istream>
#include <mutex>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

constexpr const char* kDuplicateMsg = "In der String-Liste sind Duplikate nicht zulässig";
constexpr const char* kSortedMsg = "Operation für sortierte Listen nicht zulässig";

[[noreturn]] void ThrowWithIndex(const char* text, int index) {
  throw EAnsiStringListError(std::string(text) + " (" + std::to_string(index) + ")");
}

// Windows-1252 text as UTF-16 for the collator; short strings stay on the stack.
class TUniBuffer {
 public:
  TUniBuffer(std::string_view a, bool lower) {
    char16_t* d = small_.data();
    if (a.size() > small_.size()) {
      big_.resize(a.size());
      d = big_.data();
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
      unsigned char b = static_cast<unsigned char>(a[i]);
      d[i] = Latin1CharToUni(lower ? LowerLatin1(b) : b);
    }
    data_ = d;
    len_ = static_cast<int32_t>(a.size());
  }
  const char16_t* data() const { return data_; }
  int32_t size() const { return len_; }

 private:
  std::array<char16_t, 128> small_;
  std::u16string big_;
  const char16_t* data_;
  int32_t len_;
};

int Ordinal(std::string_view a, std::string_view b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int OrdinalLower(std::string_view a, std::string_view b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = LowerLatin1(static_cast<unsigned char>(a[i]));
    unsigned char y = LowerLatin1(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool EqualLower(std::string_view a, std::string_view b) {
  return a.size() == b.size() && OrdinalLower(a, b) == 0;
}

// Lines end at CR, LF or CR LF (LF CR is two breaks); the text ends at its first NUL; a final
// break adds no empty line. Shared by the 8-bit and the UTF-16 lists.
template <class Char, class AddFn>
void SplitLines(std::basic_string_view<Char> text, AddFn add) {
  std::size_t nul = text.find(Char(0));
  if (nul != text.npos) text = text.substr(0, nul);
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t e = p;
    while (e < text.size() && text[e] != Char('\r') && text[e] != Char('\n')) ++e;
    add(text.substr(p, e - p));
    if (e == text.size()) break;
    p = (text[e] == Char('\r') && e + 1 < text.size() && text[e + 1] == Char('\n')) ? e + 2 : e + 1;
  }
}

std::string ReadAll(std::istream& stream) {
  std::ostringstream ss;
  if (stream.peek() != std::char_traits<char>::eof()) ss << stream.rdbuf();
  return std::move(ss).str();
}

std::string PathText(const std::filesystem::path& p) {
  return std::string(reinterpret_cast<const char*>(p.u8string().c_str()));
}

class TUpdateGuard {
 public:
  explicit TUpdateGuard(TAnsiStringList& l) : l_(l) { l_.BeginUpdate(); }
  ~TUpdateGuard() { l_.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  TAnsiStringList& l_;
};

}  // namespace

// --- TAnsiEncoding -------------------------------------------------------------------------
std::string TAnsiEncoding::GetAnsiString(std::string_view bytes, std::size_t byteIndex,
                                         std::size_t byteCount) const {
  if (byteIndex > bytes.size()) byteIndex = bytes.size();
  return GetAnsiString(bytes.substr(byteIndex, byteCount));
}

// --- collation -----------------------------------------------------------------------------
// One ICU collator per list, made when first needed; call_once keeps concurrent readers of a
// shared list safe. Case-insensitive lists compare at secondary strength (case ignored).
struct TAnsiStringList::TCollation {
  std::string locale;
  bool caseSensitive = false;
  std::once_flag once;
  std::unique_ptr<icu::Collator> collator;

  icu::Collator* Get() {
    std::call_once(once, [this] {
      UErrorCode err = U_ZERO_ERROR;
      icu::Locale loc = locale.empty() ? icu::Locale::getDefault() : icu::Locale(locale.c_str());
      collator.reset(icu::Collator::createInstance(loc, err));
      if (U_FAILURE(err)) collator.reset();
      if (collator)
        collator->setStrength(caseSensitive ? icu::Collator::TERTIARY : icu::Collator::SECONDARY);
    });
    return collator.get();
  }
};

void TAnsiStringList::ResetCollation() {
  FCollation = std::make_unique<TCollation>();
  FCollation->locale = FLocale;
  FCollation->caseSensitive = FCaseSensitive;
}

int TAnsiStringList::Collate(std::string_view s1, std::string_view s2) const {
  icu::Collator* c = FCollation->Get();
  if (!c) return 0;  // no collator for the locale: the ordinal tie-break decides
  // Case-insensitive lists collate the lower-cased strings: whatever a locale does with case
  // (the POSIX locale orders it at the primary level), the order then agrees with EqualItems.
  TUniBuffer u1(s1, !FCaseSensitive), u2(s2, !FCaseSensitive);
  UErrorCode err = U_ZERO_ERROR;
  int r = c->compare(u1.data(), u1.size(), u2.data(), u2.size(), err);
  return U_FAILURE(err) ? 0 : r;
}

// Equality needs no collator: strings are equal exactly when they differ at most in letter case
// (case-insensitive) or are identical (case-sensitive).
bool TAnsiStringList::EqualItems(std::string_view s1, std::string_view s2) const {
  return FCaseSensitive ? s1 == s2 : EqualLower(s1, s2);
}

// The collation orders; its ties (strings it treats alike, such as those differing only in case
// when it ignores case, or only in case order when it does not) are broken by the bytes, so
// only equal items in the sense of EqualItems compare as 0.
int TAnsiStringList::CompareItems(std::string_view s1, std::string_view s2) const {
  if (EqualItems(s1, s2)) return 0;
  int c = Collate(s1, s2);
  if (c != 0) return c < 0 ? -1 : 1;
  return FCaseSensitive ? Ordinal(s1, s2) : OrdinalLower(s1, s2);
}

// --- construction ----------------------------------------------------------------------------
TAnsiStringList::TAnsiStringList() : TAnsiStringList(false) {}

TAnsiStringList::TAnsiStringList(bool ownsObjects) : FOwnsObjects(ownsObjects) {
  ResetCollation();
}

TAnsiStringList::~TAnsiStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  Clear();
}

// --- notifications ---------------------------------------------------------------------------
void TAnsiStringList::NotifyChanged() {
  if (FUpdateCount == 0 && OnChange) OnChange(this);
}

void TAnsiStringList::NotifyChanging() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(this);
}

void TAnsiStringList::SwitchUpdateState(bool updating) {
  if (updating)
    NotifyChanging();
  else
    NotifyChanged();
}

void TAnsiStringList::BeginUpdate() {
  if (FUpdateCount == 0) SwitchUpdateState(true);
  ++FUpdateCount;
}

void TAnsiStringList::EndUpdate() {
  if (FUpdateCount == 0) return;
  --FUpdateCount;
  if (FUpdateCount == 0) SwitchUpdateState(false);
}

// --- storage ---------------------------------------------------------------------------------
void TAnsiStringList::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit)
    ThrowWithIndex("Listenindex außerhalb des gültigen Bereichs", index);
}

void TAnsiStringList::SetCapacity(int newCapacity) {
  if (newCapacity < FCount) ThrowWithIndex("Kapazität der Liste ist erschöpft", newCapacity);
  FList.resize(static_cast<std::size_t>(newCapacity));
  FList.shrink_to_fit();
  FCapacity = newCapacity;
}

void TAnsiStringList::Grow() {
  int delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
  FList.resize(static_cast<std::size_t>(FCapacity + delta));
  FCapacity += delta;
}

void TAnsiStringList::InsertAt(int index, std::string_view s, TObject* aObject) {
  NotifyChanging();
  if (FCount == FCapacity) Grow();
  for (int i = FCount; i > index; --i) FList[i] = std::move(FList[i - 1]);
  FList[index].FString.assign(s);
  FList[index].FObject = aObject;
  ++FCount;
  NotifyChanged();
}

void TAnsiStringList::RemoveAt(int index) {
  for (int i = index; i + 1 < FCount; ++i) FList[i] = std::move(FList[i + 1]);
  --FCount;
  FList[FCount] = TAnsiStringItem{};
}

// --- core operations -------------------------------------------------------------------------
int TAnsiStringList::Add(std::string_view s) {
  return AddObject(s, nullptr);
}

int TAnsiStringList::AddObject(std::string_view s, TObject* aObject) {
  int index = FCount;
  if (FSorted && Find(s, index)) {
    if (FDuplicates == dupIgnore) return -1;
    if (FDuplicates == dupError) throw EAnsiStringListError(kDuplicateMsg);
  }
  InsertAt(index, s, aObject);
  return index;
}

const std::string& TAnsiStringList::Get(int index) const {
  CheckIndex(index, FCount);
  return FList[index].FString;
}

TObject* TAnsiStringList::GetObject(int index) const {
  CheckIndex(index, FCount);
  return FList[index].FObject;
}

void TAnsiStringList::Clear() {
  if (FCount == 0) return;
  NotifyChanging();
  if (FOwnsObjects)
    for (int i = 0; i < FCount; ++i) delete std::exchange(FList[i].FObject, nullptr);
  FCount = 0;
  FList.clear();
  FList.shrink_to_fit();
  FCapacity = 0;
  NotifyChanged();
}

// Called per analysis on the engine's unsorted lookup list: a plain scan without the collator.
int TAnsiStringList::IndexOf(std::string_view s) const {
  if (FSorted) {
    int index;
    return Find(s, index) ? index : -1;
  }
  for (int i = 0; i < FCount; ++i)
    if (EqualItems(FList[i].FString, s)) return i;
  return -1;
}

bool TAnsiStringList::Find(std::string_view s, int& index) const {
  bool found = false;
  int lo = 0, hi = FCount - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareItems(FList[mid].FString, s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TAnsiStringList::SetText(std::string_view text) {
  TUpdateGuard guard(*this);
  Clear();
  SplitLines(text, [this](std::string_view line) { Add(line); });
}

std::string TAnsiStringList::GetText() const {
  std::size_t size = 0;
  for (int i = 0; i < FCount; ++i) size += FList[i].FString.size() + FLineBreak.size();
  std::string text;
  text.reserve(size);
  for (int i = 0; i < FCount; ++i) {
    if (i > 0) text += FLineBreak;
    text += FList[i].FString;
  }
  return text;
}

void TAnsiStringList::LoadFromFile(const std::filesystem::path& fileName) {
  LoadFromFile(fileName, nullptr);
}

void TAnsiStringList::LoadFromFile(const std::filesystem::path& fileName,
                                   const TAnsiEncoding* enc) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    throw EFOpenError("Datei \"" + PathText(fileName) + "\" kann nicht geöffnet werden (" +
                      SystemErrorText(errno) + ")");
  }
  LoadFromStream(in, enc);
}

void TAnsiStringList::LoadFromStream(std::istream& stream) {
  LoadFromStream(stream, nullptr);
}

// An encoding that finds its own preamble at the start skips it; the plain form keeps every
// byte (a UTF-8 byte order mark stays at the front of the first line).
void TAnsiStringList::LoadFromStream(std::istream& stream, const TAnsiEncoding* enc) {
  TUpdateGuard guard(*this);
  std::string bytes = ReadAll(stream);
  if (enc) {
    std::string preamble = enc->GetPreamble();
    std::size_t skip = BeginsWith(preamble, bytes) ? preamble.size() : 0;
    SetText(enc->GetAnsiString(bytes, skip, bytes.size() - skip));
  } else {
    SetText(bytes);
  }
  SetCapacity(FCount);
}

void TAnsiStringList::SaveToFile(const std::filesystem::path& fileName) const {
  SaveToFile(fileName, nullptr);
}

void TAnsiStringList::SaveToFile(const std::filesystem::path& fileName,
                                 const TAnsiEncoding* enc) const {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw EFOpenError("Datei \"" + PathText(fileName) + "\" kann nicht erstellt werden (" +
                      SystemErrorText(errno) + ")");
  }
  SaveToStream(out, enc);
  out.close();
  if (!out) throw EFOpenError("Datei \"" + PathText(fileName) + "\" kann nicht geschrieben werden");
}

void TAnsiStringList::SaveToStream(std::ostream& stream) const {
  SaveToStream(stream, nullptr);
}

void TAnsiStringList::SaveToStream(std::ostream& stream, const TAnsiEncoding* enc) const {
  if (enc) {
    std::string bytes = enc->GetPreamble() + enc->GetBytesFromAnsi(GetText());
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  } else {
    std::string text = GetText();
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
}

// --- sorting ---------------------------------------------------------------------------------
void TAnsiStringList::Sort() {
  CustomSort([](TAnsiStringList& l, int i, int j) {
    return l.CompareItems(l.FList[i].FString, l.FList[j].FString);
  });
  FSorted = true;
}

void TAnsiStringList::CustomSort(const TAnsiStringListSortCompare& compare) {
  if (FSorted || FCount < 2) return;
  NotifyChanging();
  FHighestProgress = 0;
  FContinue = true;
  QuickSort(0, FCount - 1, compare);
  NotifyChanged();
}

bool TAnsiStringList::ReportProgress(int l) {
  if (OnProgress && l > FHighestProgress) {
    FHighestProgress = l;
    if (!OnProgress(l, FCount)) FContinue = false;
  }
  return FContinue;
}

// Quicksort whose depth stays below log2(Count) whatever the order of the items: a left part
// smaller than the right one is sorted by recursion, a larger one in this loop while the right
// part waits in `waiting`. The work is done in the same order as plain recursion into every
// left part, so every comparison, swap and progress report, and the resulting order, stay.
void TAnsiStringList::QuickSort(int l, int r, const TAnsiStringListSortCompare& compare) {
  struct TWaiting {
    int reportFrom;  // the start of the range whose left part is being sorted
    int l, r;        // its right part
  };
  std::vector<TWaiting> waiting;
  for (;;) {
    int i = l;
    int j = r, p = (l + r) / 2;
    do {
      while (compare(*this, i, p) < 0) ++i;
      while (compare(*this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(FList[i], FList[j]);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) {
      if (j - l <= r - i) {
        QuickSort(l, j, compare);
      } else {
        // Without a right part the report after the left one repeats one the left part
        // makes itself (its own start is l), so nothing needs to wait.
        if (i < r) waiting.push_back({l, i, r});
        r = j;
        continue;
      }
    }
    if (!ReportProgress(l)) throw ESortCancelled();
    if (i < r) {
      l = i;
      continue;
    }
    // This range is sorted: on to the right part that waited for it.
    if (waiting.empty()) return;
    const TWaiting next = waiting.back();
    waiting.pop_back();
    if (!ReportProgress(next.reportFrom)) throw ESortCancelled();
    l = next.l;
    r = next.r;
  }
}

void TAnsiStringList::SetSorted(bool v) {
  if (v && !FSorted) Sort();
  FSorted = v;
}

void TAnsiStringList::SetCaseSensitive(bool v) {
  if (v == FCaseSensitive) return;
  FCaseSensitive = v;
  ResetCollation();
  if (FSorted) {
    FSorted = false;
    Sort();
  }
}

void TAnsiStringList::SetLocale(std::string_view locale) {
  FLocale = locale;
  ResetCollation();
  if (FSorted) {
    FSorted = false;
    Sort();
  }
}

void TAnsiStringList::NeedSorted() {
  for (int i = 1; i < FCount; ++i)
    if (CompareItems(FList[i - 1].FString, FList[i].FString) > 0) {
      FSorted = false;
      Sort();
      return;
    }
  FSorted = true;
}

// --- the rest of the interface -----------------------------------------------------------------
void TAnsiStringList::Add0(std::string_view s) {
  if (!s.empty()) Add(s);
}

void TAnsiStringList::AddStrings(const TAnsiStringList& list) {
  TUpdateGuard guard(*this);
  if (FCapacity < FCount + list.FCount) SetCapacity(FCount + list.FCount);
  for (int i = 0; i < list.FCount; ++i) Add(list.FList[i].FString);
}

void TAnsiStringList::AddStringsAndObjects(const TAnsiStringList& list) {
  TUpdateGuard guard(*this);
  for (int i = 0; i < list.FCount; ++i) AddObject(list.FList[i].FString, list.FList[i].FObject);
}

void TAnsiStringList::AddUnicodeStrings(const std::vector<std::u16string>& list,
                                        TUniToAnsi uniToAnsi) {
  TUpdateGuard guard(*this);
  for (const std::u16string& u : list) Add(uniToAnsi(u));
}

void TAnsiStringList::ClearObjects() {
  if (FOwnsObjects) throw EAssertionFailed("Assertion fehlgeschlagen (_0Ansi.ClearObjects)");
  for (int i = 0; i < FCount; ++i) delete std::exchange(FList[i].FObject, nullptr);
}

void TAnsiStringList::Delete(int index) {
  CheckIndex(index, FCount);
  NotifyChanging();
  if (FOwnsObjects) delete FList[index].FObject;
  RemoveAt(index);
  NotifyChanged();
}

void TAnsiStringList::DelKwLine(std::u16string_view kw) {
  int i = FindKwLine(UniToLatin1Direct(kw));
  if (i >= 0) Delete(i);
}

void TAnsiStringList::Exchange(int index1, int index2) {
  CheckIndex(index1, FCount);
  CheckIndex(index2, FCount);
  NotifyChanging();
  std::swap(FList[index1], FList[index2]);
  NotifyChanged();
}

int TAnsiStringList::FindKwLine(std::string_view kw) const {
  for (int i = 0; i < FCount; ++i) {
    const std::string& line = FList[i].FString;
    if (line.size() < kw.size()) continue;
    std::size_t k = 0;
    while (k < kw.size() && UpperLatin1(static_cast<unsigned char>(line[k])) ==
                                UpperLatin1(static_cast<unsigned char>(kw[k])))
      ++k;
    if (k == kw.size()) return i;
  }
  return -1;
}

int TAnsiStringList::IndexOfName(std::string_view name) const {
  for (int i = 0; i < FCount; ++i) {
    std::string_view line = FList[i].FString;
    std::size_t eq = line.find('=');
    if (eq != line.npos && EqualItems(line.substr(0, eq), name)) return i;
  }
  return -1;
}

std::string TAnsiStringList::GetValue(std::string_view name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::string() : FList[i].FString.substr(name.size() + 1);
}

// A sorted list takes the new line by a sorted add, since Put is refused there.
void TAnsiStringList::SetValue(std::string_view name, std::string_view value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (FSorted) {
    TUpdateGuard guard(*this);
    if (i >= 0) Delete(i);
    Add(line);
    return;
  }
  if (i < 0) i = Add("");
  Put(i, line);
}

bool TAnsiStringList::hasObjects() const {
  for (int i = 0; i < FCount; ++i)
    if (FList[i].FObject) return true;
  return false;
}

int TAnsiStringList::IndexOfObject(const TObject* aObject) const {
  for (int i = 0; i < FCount; ++i)
    if (FList[i].FObject == aObject) return i;
  return -1;
}

void TAnsiStringList::Insert(int index, std::string_view s) {
  if (index < FCount)
    InsertObject(index, s, nullptr);
  else
    AddObject(s, nullptr);
}

void TAnsiStringList::InsertObject(int index, std::string_view s, TObject* aObject) {
  if (FSorted) throw EAnsiStringListError(kSortedMsg);
  CheckIndex(index, FCount + 1);
  InsertAt(index, s, aObject);
}

std::string TAnsiStringList::LastLine() const {
  return FCount == 0 ? std::string() : FList[FCount - 1].FString;
}

// Moving keeps the object, also on an owning list; a sorted list refuses as Insert does.
void TAnsiStringList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (FSorted) throw EAnsiStringListError(kSortedMsg);
  CheckIndex(curIndex, FCount);
  CheckIndex(newIndex, FCount);
  TUpdateGuard guard(*this);
  TAnsiStringItem item = std::move(FList[curIndex]);
  RemoveAt(curIndex);
  InsertAt(newIndex, item.FString, item.FObject);
}

void TAnsiStringList::Put(int index, std::string_view s) {
  if (FSorted) throw EAnsiStringListError(kSortedMsg);
  CheckIndex(index, FCount);
  NotifyChanging();
  FList[index].FString.assign(s);
  NotifyChanged();
}

void TAnsiStringList::PutObject(int index, TObject* aObject) {
  CheckIndex(index, FCount);
  NotifyChanging();
  TObject* old = std::exchange(FList[index].FObject, aObject);
  if (FOwnsObjects && old != aObject) delete old;
  NotifyChanged();
}

void TAnsiStringList::rtfHexOut(const void* buffer, int l) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const unsigned char* b = static_cast<const unsigned char*>(buffer);
  for (int i = 0; i < l; ++i) {
    FRtfHex.push_back(kHex[b[i] >> 4]);
    FRtfHex.push_back(kHex[b[i] & 15]);
  }
}

void TAnsiStringList::rtfHexOutEnd() {
  Add(FRtfHex);
  FRtfHex.clear();
}

void TAnsiStringList::binFileOut(const std::filesystem::path& fn) {
  std::string bytes;
  bytes.reserve(FRtfHex.size() / 2);
  for (std::size_t i = 0; i + 1 < FRtfHex.size(); i += 2) {
    std::string_view hi(FRtfHex.data() + i, 1), lo(FRtfHex.data() + i + 1, 1);
    bytes.push_back(static_cast<char>(ParseIntA(hi, 16) * 16 + ParseIntA(lo, 16)));
  }
  std::ofstream out(fn, std::ios::binary | std::ios::trunc);
  if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (out) out.close();
  if (!out) throw EAnsiStringListError("TAnsiStringList.binFileOut " + PathText(fn));
}

void TAnsiStringList::RuAnsiListToUni(std::vector<std::u16string>& liU) const {
  liU.clear();
  std::u16string text = Cp1251ToUni(GetText());
  SplitLines(std::u16string_view(text), [&liU](std::u16string_view l) { liU.emplace_back(l); });
}

void TAnsiStringList::SaveToFileUTF8(const std::filesystem::path& fileName, int codePage,
                                     bool withBOM, bool unicodeStressed, bool utf8cCoding) const {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) {
    throw EFOpenError("Datei \"" + PathText(fileName) + "\" kann nicht erstellt werden (" +
                      SystemErrorText(errno) + ")");
  }
  SaveToUTF8Stream(out, codePage, withBOM, unicodeStressed, utf8cCoding);
  out.close();
  if (!out) throw EFOpenError("Datei \"" + PathText(fileName) + "\" kann nicht geschrieben werden");
}

// The stress-mark conversion and the scrambled UTF-8 variant have no user in this program:
// with those options the text is written as plain UTF-8.
void TAnsiStringList::SaveToUTF8Stream(std::ostream& stream, int codePage, bool withBOM,
                                       bool /*unicodeStressed*/, bool /*utf8cCoding*/) const {
  std::string text = GetText();
  std::string bytes = withBOM ? "\xEF\xBB\xBF" : "";
  if (codePage == 0) {
    bytes += Latin1ToUtf8(text);
  } else if (codePage == 204) {
    bytes += UniToUtf8(Cp1251ToUni(text));
  } else {
    for (char& c : text)
      if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    bytes += text;
  }
  stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A binary search under CompareItems: the dictionary order for Cyrillic headwords is not part
// of this program. An equal item wins in every mode; otherwise the neighbour below (Max_*) or
// above (Min_*) the place where toSearch would stand.
int TAnsiStringList::SearchIndex(std::string_view toSearch, TSearchMode mode) const {
  int lo = 0, hi = FCount - 1;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareItems(FList[mid].FString, toSearch);
    if (c == 0) return mid;
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid - 1;
  }
  switch (mode) {
    case sm_Max_LE:
    case sm_Max_LT:
      return lo - 1;
    case sm_Min_GE:
    case sm_Min_GT:
      return lo < FCount ? lo : -1;
    default:
      return -1;
  }
}

void TAnsiStringList::SetDelimitedTextStr(std::string_view value, char delimiter) {
  TUpdateGuard guard(*this);
  Clear();
  std::size_t p = 0;
  while (p < value.size()) {
    std::size_t e = value.find(delimiter, p);
    if (e == value.npos) e = value.size();
    Add(value.substr(p, e - p));
    p = e + 1;
  }
}
