// SPDX-License-Identifier: MIT
// The settings document: name comparison, sections, parsing and producing the text.
#include "common/_0ZTINI.h"

#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <istream>
#include <iterator>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

// German collation with case differences ignored. Created once and never freed, so that
// settings saved during program end can still compare; ICU collators are safe for
// concurrent comparisons.
const UCollator* NameCollator() {
  static const UCollator* coll = [] {
    UErrorCode err = U_ZERO_ERROR;
    UCollator* c = ucol_open("de", &err);
    if (U_FAILURE(err)) {
      err = U_ZERO_ERROR;
      c = ucol_open("", &err);
    }
    if (U_FAILURE(err)) throw ESettingsError("ICU-Sortierung nicht verfügbar");
    ucol_setStrength(c, UCOL_SECONDARY);
    return c;
  }();
  return coll;
}

int Sign(int v) {
  return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int FoldCompare(std::u16string_view a, std::u16string_view b) {
  UErrorCode err = U_ZERO_ERROR;
  int r = u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                           static_cast<int32_t>(b.size()),
                           U_FOLD_CASE_DEFAULT | U_COMPARE_CODE_POINT_ORDER, &err);
  return Sign(r);
}

bool HasC1(std::u16string_view s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return c >= 0x80 && c <= 0x9F; });
}

// Names holding U+0080..U+009F are Windows-1252 bytes that were read as Latin-1. Only the
// characters that go back to a byte are decoded again: any other (which would become '?')
// stays, or a name with one of the five unassigned bytes would lose it on every load.
std::u16string RepairName(std::u16string_view name) {
  if (!HasC1(name)) return std::u16string(name);
  std::u16string repaired(name);
  for (char16_t& c : repaired) {
    const unsigned char byte = static_cast<unsigned char>(UniToLatin1Direct({&c, 1})[0]);
    if (byte != '?' || c == u'?') c = Latin1CharToUni(byte);
  }
  return repaired;
}

bool IsComment(std::u16string_view line) {
  return !line.empty() && line.front() == u';';
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  std::size_t b = s.find_first_not_of(u' ');
  if (b == std::u16string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(u' ') + 1 - b);
}

bool Quoted(std::u16string_view v) {
  return v.size() >= 2 && v.front() == '\'' && v.back() == '\'';
}

// A value the reader would unquote is written in one more pair of apostrophes, so that it
// reads back as it was stored.
void AppendLine(std::u16string& out, const TIniSection::TLine& l, std::u16string_view lb) {
  const std::u16string& v = l.Object.FString;
  if (l.Key.empty()) {
    out += v;
  } else {
    // A key that would read as a header or a comment keeps a blank before it; keys are
    // trimmed on reading.
    if (l.Key.front() == u'[' || l.Key.front() == u';') out += u' ';
    out += l.Key;
    out += u'=';
    if (Quoted(v)) {
      out += u'\'';
      out += v;
      out += u'\'';
    } else {
      out += v;
    }
  }
  out += lb;
}

void AppendSection(std::u16string& out, const TIniSection& s, std::u16string_view lb) {
  for (const auto& l : s.Lines())
    if (!l.Object.FString.empty()) AppendLine(out, l, lb);
  out += lb;
}

// Stable sort by key, lines without key first.
bool SortLines(TIniSection& s) {
  auto& lines = s.Lines();
  auto less = [](const TIniSection::TLine& a, const TIniSection::TLine& b) {
    return IniCompareNames(a.Key, b.Key) < 0;
  };
  if (std::is_sorted(lines.begin(), lines.end(), less)) return false;
  std::stable_sort(lines.begin(), lines.end(), less);
  return true;
}

}  // namespace

// --- names -----------------------------------------------------------------------------------
int IniCompareNames(std::u16string_view a, std::u16string_view b, bool caseSensitive) {
  UCollationResult r = ucol_strcoll(NameCollator(), a.data(), static_cast<int32_t>(a.size()),
                                    b.data(), static_cast<int32_t>(b.size()));
  if (r != UCOL_EQUAL) return r == UCOL_LESS ? -1 : 1;
  if (caseSensitive) return Sign(a.compare(b));
  return FoldCompare(a, b);
}

bool IniSameKey(std::u16string_view a, std::u16string_view b) {
  return FoldCompare(a, b) == 0;
}

// --- TIniSection -----------------------------------------------------------------------------
int TIniSection::IndexOf(std::u16string_view key) const {
  if (key.empty()) return -1;
  for (std::size_t i = 0; i < FLines.size(); ++i)
    if (!FLines[i].Key.empty() && IniSameKey(FLines[i].Key, key)) return static_cast<int>(i);
  return -1;
}

void TIniSection::Add(std::u16string key, std::u16string value) {
  FLines.push_back({std::move(key), TStringObject(std::move(value))});
}

bool TIniSection::HasValue() const {
  return std::any_of(FLines.begin(), FLines.end(),
                     [](const TLine& l) { return !l.Object.FString.empty(); });
}

// --- TIniSectionList -------------------------------------------------------------------------
std::size_t TIniSectionList::LowerBound(std::u16string_view name) const {
  auto it = std::lower_bound(FItems.begin(), FItems.end(), name,
                             [this](const TItem& item, std::u16string_view n) {
                               return IniCompareNames(item.Name, n, FCaseSensitive) < 0;
                             });
  return static_cast<std::size_t>(it - FItems.begin());
}

int TIniSectionList::IndexOf(std::u16string_view name) const {
  std::u16string repaired = RepairName(name);
  std::size_t i = LowerBound(repaired);
  if (i < FItems.size() && IniCompareNames(FItems[i].Name, repaired, FCaseSensitive) == 0)
    return static_cast<int>(i);
  return -1;
}

TIniSection& TIniSectionList::Obtain(std::u16string_view name) {
  std::u16string repaired = RepairName(name);
  std::size_t i = LowerBound(repaired);
  if (i < FItems.size() && IniCompareNames(FItems[i].Name, repaired, FCaseSensitive) == 0)
    return *FItems[i].Section;
  auto it = FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(i),
                          TItem{std::move(repaired), std::make_unique<TIniSection>()});
  return *it->Section;
}

void TIniSectionList::Put(std::u16string_view name, std::unique_ptr<TIniSection> s) {
  int i = IndexOf(name);
  if (i >= 0) {
    FItems[static_cast<std::size_t>(i)].Section = std::move(s);
    return;
  }
  Obtain(name);
  FItems[static_cast<std::size_t>(IndexOf(name))].Section = std::move(s);
}

void TIniSectionList::SetCaseSensitive(bool v) {
  if (v == FCaseSensitive) return;
  FCaseSensitive = v;
  std::stable_sort(FItems.begin(), FItems.end(), [v](const TItem& a, const TItem& b) {
    return IniCompareNames(a.Name, b.Name, v) < 0;
  });
  if (v) return;
  // Sections that only differed in case become one, keeping the first name.
  std::vector<TItem> merged;
  for (auto& item : FItems) {
    if (!merged.empty() && IniCompareNames(merged.back().Name, item.Name) == 0) {
      auto& dst = merged.back().Section->Lines();
      auto& src = item.Section->Lines();
      dst.insert(dst.end(), std::make_move_iterator(src.begin()),
                 std::make_move_iterator(src.end()));
    } else {
      merged.push_back(std::move(item));
    }
  }
  FItems = std::move(merged);
}

// --- TIniStream: reading ---------------------------------------------------------------------
TIniSection* TIniStream::SectionByName(std::u16string_view name) {
  int i = FSections.IndexOf(name);
  return i < 0 ? nullptr : &FSections.Sections(i);
}

std::u16string TIniStream::Lookup(std::u16string_view section, std::u16string_view key) {
  const TIniSection* s = SectionByName(section);
  if (!s) return {};
  int i = s->IndexOf(key);
  return i < 0 ? std::u16string() : s->Values(i);
}

std::u16string TIniStream::ReadString(std::u16string_view section, std::u16string_view key,
                                      std::u16string_view deflt) {
  std::u16string v = Lookup(section, key);
  return v.empty() ? std::u16string(deflt) : v;
}

void TIniStream::ReadSectionLines(std::u16string_view section, TUniStrings& list,
                                  bool withCommentLines) {
  list.clear();
  const TIniSection* s = SectionByName(section);
  if (!s) return;
  for (const auto& l : s->Lines()) {
    if (l.Key.empty()) {
      if (withCommentLines || !IsComment(l.Object.FString)) list.push_back(l.Object.FString);
    } else {
      list.push_back(l.Key + u"=" + l.Object.FString);
    }
  }
}

void TIniStream::ReadSectionLineNames(std::u16string_view section, TUniStrings& list) {
  list.clear();
  const TIniSection* s = SectionByName(section);
  if (!s) return;
  for (const auto& l : s->Lines())
    if (!l.Key.empty()) list.push_back(l.Key);
}

void TIniStream::ReadSectionNames(TUniStrings& list) const {
  list.clear();
  for (int i = 0; i < FSections.Count(); ++i) list.push_back(FSections.Names(i));
}

// --- TIniStream: writing ---------------------------------------------------------------------
void TIniStream::WriteString(std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
  if (key.empty() || Lookup(section, key) == value) return;
  TIniSection& s = FSections.Obtain(section);
  int i = s.IndexOf(key);
  if (value.empty()) {
    if (i >= 0) s.Delete(i);
  } else if (i >= 0) {
    s.SetValue(i, std::u16string(value));
  } else {
    s.Add(std::u16string(key), std::u16string(value));
  }
  FModified = true;
}

void TIniStream::WriteSectionLines(std::u16string_view section, const TUniStrings& list,
                                   bool withCommentLines) {
  TIniSection& s = FSections.Obtain(section);
  s.Clear();
  for (const auto& line : list)
    if (withCommentLines || !IsComment(line)) s.Add({}, line);
  FModified = true;
}

// A section that was not there changes nothing, so it leaves the document unmodified.
void TIniStream::ClearSection(std::u16string_view sectionName) {
  int i = FSections.IndexOf(sectionName);
  if (i < 0) return;
  FSections.Delete(i);
  FModified = true;
}

void TIniStream::AddSection(std::u16string_view nm, std::unique_ptr<TIniSection> aSection) {
  if (!aSection) aSection = std::make_unique<TIniSection>();
  if (aSection->Count() == 0) aSection->Add(u"?", u"?");
  FSections.Put(nm, std::move(aSection));
  FModified = true;
}

void TIniStream::SortKeywords() {
  for (int i = 0; i < FSections.Count(); ++i)
    if (SortLines(FSections.Sections(i))) FModified = true;
}

void TIniStream::DelDupLines() {
  for (int i = 0; i < FSections.Count(); ++i) {
    TIniSection& s = FSections.Sections(i);
    if (SortLines(s)) FModified = true;
    auto& lines = s.Lines();
    auto dup = [](const TIniSection::TLine& a, const TIniSection::TLine& b) {
      return IniCompareNames(a.Key, b.Key) == 0 && a.Object.FString == b.Object.FString;
    };
    auto end = std::unique(lines.begin(), lines.end(), dup);
    if (end != lines.end()) {
      lines.erase(end, lines.end());
      FModified = true;
    }
  }
}

// --- TIniStream: text ------------------------------------------------------------------------
void TIniStream::ParseLine(std::u16string_view line, TIniSection*& current) {
  if (line.empty()) return;
  if (line == u";$C") {
    FSections.SetCaseSensitive(true);
    return;
  }
  if (line.front() == u'[') {
    std::u16string_view name = line.substr(1);
    if (!name.empty() && name.back() == u']') name.remove_suffix(1);
    current = &FSections.Obtain(name);
    return;
  }
  if (!current) current = &FSections.Obtain(u"");
  std::size_t eq = IsComment(line) ? std::u16string_view::npos : line.find(u'=');
  if (eq == std::u16string_view::npos) {
    current->Add({}, std::u16string(line));
    return;
  }
  std::u16string_view value = line.substr(eq + 1);
  if (value.empty()) return;
  std::u16string_view key = TrimBlanks(line.substr(0, eq));
  // "=x" has no key to address; it is kept as a line and written back unchanged.
  if (key.empty()) {
    current->Add({}, std::u16string(line));
    return;
  }
  if (Quoted(value)) value = value.substr(1, value.size() - 2);
  current->Add(std::u16string(key), std::u16string(value));
}

void TIniStream::LoadFromText(std::u16string_view text) {
  FSections.Clear();
  FSections.SetCaseSensitive(false);
  TIniSection* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", pos);
    if (end == std::u16string_view::npos) {
      ParseLine(text.substr(pos), current);
      break;
    }
    ParseLine(text.substr(pos, end - pos), current);
    pos = end + 1;
    if (text[end] == u'\r' && pos < text.size() && text[pos] == u'\n') ++pos;
  }
  FModified = false;
}

int TIniStream::LoadFromBytes(std::string_view bytes) {
  if (FEncoding == et_none && bytes.starts_with("\xEF\xBB\xBF")) FEncoding = et_UTF8;
  int bad = 0;
  std::u16string text;
  try {
    text = ReadTextBytes(bytes);
  } catch (const std::exception&) {
    text = DecodeIniLines(bytes, FEncoding, &bad);
  }
  LoadFromText(text);
  return bad;
}

void TIniStream::LoadFromStream(std::istream& in) {
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LoadFromBytes(bytes);
}

std::u16string TIniStream::FileText() const {
  std::u16string out;
  if (CaseSensitive()) out += u";$C\r\n";
  for (int i = 0; i < FSections.Count(); ++i) {
    const TIniSection& s = FSections.Sections(i);
    if (!s.HasValue()) continue;
    const std::u16string& name = FSections.Names(i);
    if (!name.empty()) out += u"[" + name + u"]\r\n";
    AppendSection(out, s, u"\r\n");
  }
  return out;
}

std::u16string TIniStream::GetText(std::u16string_view lineBreak) const {
  std::u16string out;
  for (int i = 0; i < FSections.Count(); ++i) {
    out += u"[";
    out += FSections.Names(i);
    out += u"]";
    out += lineBreak;
    AppendSection(out, FSections.Sections(i), lineBreak);
  }
  return out;
}

bool TIniStream::isEmpty() const {
  for (int i = 0; i < FSections.Count(); ++i)
    if (FSections.Sections(i).HasValue()) return false;
  return true;
}

std::string TIniStream::SaveToBytes(TEncodingType aEncoding) {
  if (aEncoding != et_none) FEncoding = aEncoding;
  return EncodeIniText(FileText(), FEncoding);
}

void TIniStream::SaveToStream(std::ostream& out, TEncodingType aEncoding) {
  std::string bytes = SaveToBytes(aEncoding);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
