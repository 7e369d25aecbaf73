// SPDX-License-Identifier: MIT
#include "common/_ZT_Unicd.h"

#include <array>

#include "common/_ZT_cmn_A.h"

// --- Encoding objects ------------------------------------------------------------------------

TCodePageEncoding::TCodePageEncoding(int codePage, const char* iconvName, int charset)
    : codePage_(codePage), iconvName_(iconvName), charset_(charset) {
  for (char c : std::string("ANSI (") + iconvName + ")") name_ += static_cast<char16_t>(c);
}

// 1252 goes through the program's own tables so that the five bytes Windows-1252 leaves
// unassigned survive a round trip instead of turning into U+FFFD.
std::u16string TCodePageEncoding::GetChars(std::string_view bytes) const {
  if (codePage_ == 1252) return Latin1ToUni(bytes);
  return DecodeCodePage(bytes, iconvName_);
}

std::string TCodePageEncoding::GetBytes(std::u16string_view text) const {
  if (codePage_ == 1252) return UniToLatin1(text);
  return EncodeCodePage(text, iconvName_);
}

TEncodingAnsiWestern::TEncodingAnsiWestern() : TCodePageEncoding(1252, "CP1252", 0) {}
TEncodingAnsiRussian::TEncodingAnsiRussian() : TCodePageEncoding(1251, "CP1251", 204) {}

std::u16string TUTF8NoBomEncoding::GetChars(std::string_view bytes) const {
  return Utf8ToUni(bytes);
}
std::string TUTF8NoBomEncoding::GetBytes(std::u16string_view text) const {
  return UniToUtf8(text);
}

std::u16string TRAW16Encoding::GetChars(std::string_view) const {
  throw EAssertionFailed("TRAW16Encoding.GetChars");
}
std::string TRAW16Encoding::GetBytes(std::u16string_view) const {
  throw EAssertionFailed("TRAW16Encoding.GetBytes");
}

// Function-local statics: the first use creates the object once, also under concurrent
// first uses, and it lives until program end.
const TEncodingAnsiWestern& TEncodingU::AnsiWestern() {
  static const TEncodingAnsiWestern e;
  return e;
}
const TEncodingAnsiRussian& TEncodingU::AnsiRussian() {
  static const TEncodingAnsiRussian e;
  return e;
}
const TUTF8NoBomEncoding& TEncodingU::UTF8NoBom() {
  static const TUTF8NoBomEncoding e;
  return e;
}
const TRAW16Encoding& TEncodingU::RAW16() {
  static const TRAW16Encoding e;
  return e;
}

// --- Code page table -------------------------------------------------------------------------

namespace {

struct CodePageRow {
  int codePage;       // the key asked for
  int decodesAs;      // the code page that decodes it
  const char* iconv;  // glibc iconv name of decodesAs
  int charset;
};

// Keys 1031 and 1049 are the language identifiers of German and Russian.
constexpr std::array<CodePageRow, 16> kCodePages{{
    {1251, 1251, "CP1251", 204},
    {1252, 1252, "CP1252", 0},
    {1250, 1250, "CP1250", 238},
    {1253, 1253, "CP1253", 161},
    {1254, 1254, "CP1254", 162},
    {1255, 1255, "CP1255", 177},
    {1256, 1256, "CP1256", 178},
    {1257, 1257, "CP1257", 186},
    {850, 850, "CP850", 255},
    {437, 437, "CP437", 254},
    {932, 932, "CP932", 128},
    {949, 949, "CP949", 129},
    {936, 936, "CP936", 134},
    {950, 950, "CP950", 136},
    {1031, 1252, "CP1252", 0},
    {1049, 1251, "CP1251", 204},
}};
constexpr std::size_t kRow1252 = 1;

struct CodePageDecoders {
  std::array<const TCodePageEncoding*, kCodePages.size()> rows{};
  CodePageDecoders() {
    for (std::size_t i = 0; i < kCodePages.size(); ++i) {
      const CodePageRow& r = kCodePages[i];
      if (r.decodesAs == 1252)
        rows[i] = &TEncodingU::AnsiWestern();
      else if (r.decodesAs == 1251)
        rows[i] = &TEncodingU::AnsiRussian();
      else
        rows[i] = new TCodePageEncoding(r.decodesAs, r.iconv, r.charset);
    }
  }
  ~CodePageDecoders() {
    for (std::size_t i = 0; i < kCodePages.size(); ++i)
      if (kCodePages[i].decodesAs != 1252 && kCodePages[i].decodesAs != 1251) delete rows[i];
  }
};

}  // namespace

const TCodePageEncoding& EncodingForCodePage(int codePage) {
  static const CodePageDecoders decoders;
  for (std::size_t i = 0; i < kCodePages.size(); ++i)
    if (kCodePages[i].codePage == codePage) return *decoders.rows[i];
  return *decoders.rows[kRow1252];
}

// --- Stress notation -------------------------------------------------------------------------

namespace {

bool IsLowerAscii(char16_t c) {
  return c >= u'a' && c <= u'z';
}
bool IsEscapeChar(char16_t c) {
  return IsLowerAscii(c) || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-';
}

// Which stress escape starts at i ('a' acu, 'g' gra, 'd' dot), or 0.
char StressEscapeAt(std::u16string_view s, std::size_t i) {
  if (i + 5 > s.size() || s[i] != u'\\' || s[i + 4] != u' ') return 0;
  if (!IsLowerAscii(s[i + 1]) || !IsLowerAscii(s[i + 2]) || !IsLowerAscii(s[i + 3])) return 0;
  const std::u16string_view word = s.substr(i + 1, 3);
  if (word == u"acu") return 'a';
  if (word == u"gra") return 'g';
  if (word == u"dot") return 'd';
  return 0;
}

// Length of another escape at i: a doubled backslash, or a backslash with letters, digits or
// hyphens up to a blank (taken along, as in the stress escapes), a backslash or a brace.
std::size_t OtherEscapeAt(std::u16string_view s, std::size_t i) {
  if (s[i] != u'\\' || i + 1 >= s.size()) return 0;
  if (s[i + 1] == u'\\') return 2;
  std::size_t j = i + 1;
  while (j < s.size() && IsEscapeChar(s[j])) ++j;
  if (j == i + 1) return 0;
  if (j < s.size() && s[j] == u' ') ++j;
  return j - i;
}

char16_t MarkFor(char escape, char16_t next, int flags) {
  switch (escape) {
    case 'a':
      return 0x0301;
    case 'g':
      return (flags & sn_GraveAsAcute) ? 0x0301 : 0x0300;
    default:
      if (flags & sn_DropDot) return 0;
      return (next == 0x00F3 || next == 0x0443) ? 0x0307 : 0x0323;
  }
}

}  // namespace

// Marks wait in `pending` (in escape order) until the next plain character has been copied.
// The dot's mark depends on that character, so the escape letter is kept, not the mark.
std::u16string StressNotationToUni(std::u16string_view s, int flags) {
  std::u16string out;
  out.reserve(s.size());
  std::string pending;
  auto flush = [&](char16_t next) {
    for (char e : pending)
      if (char16_t mark = MarkFor(e, next, flags)) out += mark;
    pending.clear();
  };
  std::size_t i = 0;
  while (i < s.size()) {
    if (char e = StressEscapeAt(s, i)) {
      pending += e;
      i += 5;
    } else if (std::size_t n = OtherEscapeAt(s, i)) {
      out.append(s.substr(i, n));
      i += n;
    } else {
      out += s[i];
      flush(s[i]);
      ++i;
    }
  }
  flush(0);
  return out;
}
