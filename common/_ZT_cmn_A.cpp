// SPDX-License-Identifier: MIT
#include "common/_ZT_cmn_A.h"

#include <iconv.h>
#include <sys/stat.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstring>
#include <system_error>

namespace {

// --- Windows-1252 tables -------------------------------------------------------------------
// 0x80-0x9F are the only bytes that differ from Latin-1; the five unassigned ones keep the C1
// code point of the same value so that every byte survives a round trip.
constexpr std::array<char16_t, 32> kWin1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<char16_t, 256> kWin1252ToUni = [] {
  std::array<char16_t, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<char16_t>(i);
  for (int i = 0; i < 32; ++i) t[0x80 + i] = kWin1252High[i];
  return t;
}();

// Case maps: A-Z, the four Windows-1252 pairs and the whole 192-222 range (× and ÷ included).
constexpr bool IsUpperByte(int c) {
  return (c >= 'A' && c <= 'Z') || c == 138 || c == 140 || c == 142 || c == 159 ||
         (c >= 192 && c <= 222);
}

constexpr std::array<unsigned char, 256> kLower = [] {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 'A'; i <= 'Z'; ++i) t[i] = static_cast<unsigned char>(i + 32);
  for (int i = 192; i <= 222; ++i) t[i] = static_cast<unsigned char>(i + 32);
  t[138] = 154;
  t[140] = 156;
  t[142] = 158;
  t[159] = 255;
  return t;
}();

constexpr std::array<unsigned char, 256> kUpper = [] {
  std::array<unsigned char, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int i = 0; i < 256; ++i)
    if (IsUpperByte(i)) t[kLower[i]] = static_cast<unsigned char>(i);
  return t;
}();

constexpr std::array<bool, 256> kIsUpper = [] {
  std::array<bool, 256> t{};
  for (int i = 0; i < 256; ++i) t[i] = IsUpperByte(i);
  return t;
}();

int Len(std::string_view s) {
  return static_cast<int>(s.size());
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// --- iconv ---------------------------------------------------------------------------------
// iconv handles keep shift state, so each call opens its own; code page conversions are not on
// the engine's hot path.
class TIconv {
 public:
  TIconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("Unbekannte Codepage: ") + from + " -> " + to);
  }
  ~TIconv() { iconv_close(cd_); }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;
  // Converts as much as possible; returns false with errno set when it stopped early.
  bool Run(const char*& in, std::size_t& inLeft, std::string& out) {
    char buf[4096];
    for (;;) {
      char* o = buf;
      std::size_t oLeft = sizeof buf;
      char* i = const_cast<char*>(in);
      std::size_t r = iconv(cd_, in ? &i : nullptr, in ? &inLeft : nullptr, &o, &oLeft);
      int err = errno;
      if (in) in = i;
      out.append(buf, o - buf);
      if (r != static_cast<std::size_t>(-1)) return true;
      if (err != E2BIG) {
        errno = err;
        return false;
      }
    }
  }

 private:
  iconv_t cd_;
};

const char* Utf16Native() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

std::u16string BytesToU16(const std::string& b) {
  std::u16string u(b.size() / 2, u'\0');
  std::memcpy(u.data(), b.data(), u.size() * 2);
  return u;
}

void ReplaceAll(std::u16string& s, char16_t from, char16_t to) {
  for (char16_t& c : s)
    if (c == from) c = to;
}

}  // namespace

// --- 8-bit strings -------------------------------------------------------------------------
bool BeginsWith(std::string_view prefix, std::string_view s) {
  return s.starts_with(prefix);
}
bool EndsWith(std::string_view suffix, std::string_view s) {
  return s.ends_with(suffix);
}

void DeleteLastChar(std::string& s) {
  if (!s.empty()) s.pop_back();
}

void TrimLeadingBlanks(std::string& s) {
  std::size_t n = s.find_first_not_of(' ');
  s.erase(0, n == std::string::npos ? s.size() : n);
}

void TrimTrailingBlanks(std::string& s) {
  std::size_t n = s.find_last_not_of(' ');
  s.erase(n == std::string::npos ? 0 : n + 1);
}

unsigned char FirstChar(std::string_view s) {
  return s.empty() ? ' ' : static_cast<unsigned char>(s.front());
}
unsigned char LastChar(std::string_view s) {
  return s.empty() ? ' ' : static_cast<unsigned char>(s.back());
}

bool IsUpperLatin1(unsigned char c) {
  return kIsUpper[c];
}
unsigned char UpperLatin1(unsigned char c) {
  return kUpper[c];
}
unsigned char LowerLatin1(unsigned char c) {
  return kLower[c];
}

void LowerStrLatin1(std::string& s) {
  for (char& c : s) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

int PosChar(unsigned char c, std::string_view s, int from) {
  if (from <= 0 || from > Len(s)) return 0;
  std::size_t p = s.find(static_cast<char>(c), from - 1);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

int PosCharOrEnd(unsigned char c, std::string_view s, int from) {
  int p = PosChar(c, s, from);
  return p == 0 ? Len(s) + 1 : p;
}

int LastPosChar(unsigned char c, std::string_view s, int limit) {
  if (limit <= 0 || limit > Len(s)) limit = Len(s);
  for (int p = limit; p >= 1; --p)
    if (static_cast<unsigned char>(s[p - 1]) == c) return p;
  return 0;
}

int LastPosStrFrom(std::string_view sub, std::string_view s, int from) {
  if (sub.empty() || from < 1 || sub.size() > s.size()) return -1;
  int last = Len(s) - Len(sub) + 1;
  for (int p = from < last ? from : last; p >= 1; --p)
    if (s.substr(p - 1, sub.size()) == sub) return p;
  return -1;
}

int LastPosStr(std::string_view sub, std::string_view s) {
  return LastPosStrFrom(sub, s, Len(s));
}

int ParenthesisStart(std::string_view s) {
  int n = Len(s);
  if (n == 0 || s[n - 1] != ')') return n;
  int depth = 1;
  for (int p = n - 1; p >= 1; --p) {
    char c = s[p - 1];
    if (c == ')') {
      ++depth;
    } else if (c == '(') {
      if (depth == 1) return (p >= 2 && s[p - 2] == ' ') ? p - 2 : p - 1;
      --depth;
    }
  }
  return n;
}

std::string GetParenthesis(std::string_view s) {
  std::size_t start = static_cast<std::size_t>(ParenthesisStart(s));
  if (start == s.size()) return {};
  while (start < s.size() && s[start] == ' ') ++start;
  if (s.back() != ')')
    throw EAssertionFailed("Assertion fehlgeschlagen (_ZT_cmn.GetParenthesis 1)");
  if (start >= s.size() || s[start] != '(')
    throw EAssertionFailed("Assertion fehlgeschlagen (_ZT_cmn.GetParenthesis 2)");
  return std::string(s.substr(start + 1, s.size() - start - 2));
}

int ParseIntA(std::string_view& cursor, int base) {
  bool negative = false;
  if (!cursor.empty() && cursor.front() == '-') {
    negative = true;
    cursor.remove_prefix(1);
  } else if (!cursor.empty() && cursor.front() == '$') {
    base = 16;
    cursor.remove_prefix(1);
  }
  // Unsigned arithmetic: an overflow wraps around instead of being undefined.
  unsigned value = 0;
  while (!cursor.empty()) {
    unsigned char c = static_cast<unsigned char>(cursor.front());
    int digit = -1;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    if (digit < 0 || digit >= base) break;
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    cursor.remove_prefix(1);
  }
  return static_cast<int>(negative ? 0u - value : value);
}

int ParseIntA(std::string_view s) {
  return ParseIntA(s, 10);
}

// --- Conversions -----------------------------------------------------------------------------
char16_t Latin1CharToUni(unsigned char c) {
  return kWin1252ToUni[c];
}

unsigned char UniCharToLatin1(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<unsigned char>(u);
  for (int i = 0; i < 32; ++i)
    if (kWin1252High[i] == u) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

std::u16string Latin1ToUni(std::string_view a) {
  std::u16string u(a.size(), u'\0');
  for (std::size_t i = 0; i < a.size(); ++i) u[i] = kWin1252ToUni[static_cast<unsigned char>(a[i])];
  return u;
}

std::string UniToLatin1(std::u16string_view u) {
  std::string a(u.size(), '\0');
  std::size_t n = 0;
  for (std::size_t i = 0; i < u.size(); ++i) {
    // A character outside the BMP is one character: one question mark for the pair.
    if (IsHighSurrogate(u[i]) && i + 1 < u.size() && IsLowSurrogate(u[i + 1])) ++i;
    a[n++] = static_cast<char>(UniCharToLatin1(u[i]));
  }
  a.resize(n);
  return a;
}

std::u16string DecodeCodePage(std::string_view bytes, const char* iconvName) {
  TIconv cv(Utf16Native(), iconvName);
  std::string out;
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  static constexpr char kFffd[2] = {std::endian::native == std::endian::little ? '\xFD' : '\xFF',
                                    std::endian::native == std::endian::little ? '\xFF' : '\xFD'};
  while (left > 0) {
    if (cv.Run(in, left, out)) break;
    out.append(kFffd, 2);  // undecodable or truncated byte
    ++in;
    --left;
  }
  const char* flush = nullptr;
  std::size_t none = 0;
  cv.Run(flush, none, out);
  return BytesToU16(out);
}

std::string EncodeCodePage(std::u16string_view text, const char* iconvName) {
  TIconv cv(iconvName, Utf16Native());
  std::string out;
  const char* in = reinterpret_cast<const char*>(text.data());
  std::size_t left = text.size() * 2;
  while (left > 0) {
    if (cv.Run(in, left, out)) break;
    // The character at `in` has no place in the code page: one '?' for it.
    const char16_t* u = reinterpret_cast<const char16_t*>(in);
    std::size_t units = (IsHighSurrogate(u[0]) && left >= 4 && IsLowSurrogate(u[1])) ? 2 : 1;
    out.push_back('?');
    in += units * 2;
    left -= units * 2;
  }
  const char* flush = nullptr;
  std::size_t none = 0;
  cv.Run(flush, none, out);
  return out;
}

std::u16string Cp1251ToUni(std::string_view a) {
  std::u16string u = DecodeCodePage(a, "CP1251");
  ReplaceAll(u, u'\u00B7', u'\u02BC');
  return u;
}

std::string UniToCp1251(std::u16string_view u) {
  std::u16string t(u);
  ReplaceAll(t, u'\u02BC', u'\u00B7');
  return EncodeCodePage(t, "CP1251");
}

std::string UniToLatin1Direct(std::u16string_view u) {
  std::string a(u.size(), '?');
  for (std::size_t i = 0; i < u.size(); ++i) {
    char16_t c = u[i];
    if (c <= 0xFF)
      a[i] = static_cast<char>(c);
    else if (c == 0x02BC)
      a[i] = '\xB7';
    else if (c == 0x2013)
      a[i] = '\x96';
    else if (c == 0x2019)
      a[i] = '\x92';
    else if (c == 0x2022)
      a[i] = '\x95';
    else if (c == 0x2026)
      a[i] = '\x85';
  }
  return a;
}

std::u16string UrlEscape(std::u16string_view u, bool escapeAmpEq) {
  static constexpr std::string_view kPlain = "!#$%'()*+./:;?@[]";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::u16string r;
  r.reserve(u.size());
  for (char16_t c : u) {
    bool alnum = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c > 0xFF) {
      r.push_back(u'*');
    } else if (alnum || (c < 0x80 && kPlain.find(static_cast<char>(c)) != kPlain.npos) ||
               (!escapeAmpEq && (c == '&' || c == '='))) {
      r.push_back(c);
    } else {
      r.push_back(u'%');
      r.push_back(static_cast<char16_t>(kHex[c >> 4]));
      r.push_back(static_cast<char16_t>(kHex[c & 15]));
    }
  }
  return r;
}

std::u16string Utf8ToUni(std::string_view utf8) {
  if (utf8.size() > INT32_MAX) throw std::length_error("Utf8ToUni: Text zu lang");
  std::u16string u(utf8.size(), u'\0');
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8WithSub(u.data(), static_cast<int32_t>(u.size()), &len, utf8.data(),
                       static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
  u.resize(U_SUCCESS(err) ? static_cast<std::size_t>(len) : 0);
  return u;
}

// By hand rather than through ICU: pages are converted once per request, and the ICU call
// wants a zeroed buffer of three bytes per code unit first. Two passes: the length, then the
// bytes written straight into place.
std::string UniToUtf8(std::u16string_view u) {
  const auto codePoint = [&u](std::size_t& i) -> char32_t {
    const char32_t c = u[i];
    if (c < 0xD800 || c > 0xDFFF) return c;
    // A surrogate pair is one code point; a lone surrogate becomes U+FFFD.
    if (c <= 0xDBFF && i + 1 < u.size() && u[i + 1] >= 0xDC00 && u[i + 1] <= 0xDFFF)
      return 0x10000 + ((c - 0xD800) << 10) + (u[++i] - 0xDC00);
    return 0xFFFD;
  };
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < u.size(); ++i) {
    const char32_t c = codePoint(i);
    bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  }
  std::string a(bytes, '\0');
  char* out = a.data();
  for (std::size_t i = 0; i < u.size(); ++i) {
    const char32_t c = codePoint(i);
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
      continue;
    }
    if (c < 0x800) {
      *out++ = static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
      *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
      *out++ = static_cast<char>(0xF0 | (c >> 18));
      *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return a;
}

// Through a small buffer: a capacity check per byte cost more than the encoding (a full-form
// list is tens of megabytes).
void AppendLatin1AsUtf8(std::string& out, std::string_view a) {
  out.reserve(out.size() + a.size() + a.size() / 8);
  char buf[4096];
  std::size_t n = 0;
  for (char b : a) {
    if (n > sizeof buf - 3) {
      out.append(buf, n);
      n = 0;
    }
    const char16_t c = kWin1252ToUni[static_cast<unsigned char>(b)];
    if (c < 0x80) {
      buf[n++] = static_cast<char>(c);
    } else if (c < 0x800) {
      buf[n++] = static_cast<char>(0xC0 | (c >> 6));
      buf[n++] = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      buf[n++] = static_cast<char>(0xE0 | (c >> 12));
      buf[n++] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buf[n++] = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out.append(buf, n);
}

std::string Latin1ToUtf8(std::string_view a) {
  std::string r;
  AppendLatin1AsUtf8(r, a);
  return r;
}

std::string Utf8ToLatin1(std::string_view utf8) {
  return UniToLatin1(Utf8ToUni(utf8));
}

// --- UTF-16 relatives ------------------------------------------------------------------------
bool BeginsWithW(std::u16string_view prefix, std::u16string_view s) {
  return s.starts_with(prefix);
}

char16_t FirstCharW(std::u16string_view s) {
  return s.empty() ? u' ' : s.front();
}

void TrimBlanksW(std::u16string& s) {
  std::size_t b = s.find_first_not_of(u' ');
  if (b == std::u16string::npos) {
    s.clear();
    return;
  }
  s.erase(s.find_last_not_of(u' ') + 1);
  s.erase(0, b);
}

void AddBackslash(std::u16string& folder) {
  if (!folder.empty() && folder.back() != u':' && folder.back() != u'\\') folder.push_back(u'\\');
}

void UpperStrW(std::u16string& s) {
  icu::UnicodeString us(s.data(), static_cast<int32_t>(s.size()));
  us.toUpper(icu::Locale::getDefault());
  s.assign(us.getBuffer(), static_cast<std::size_t>(us.length()));
}

bool DirectoryExistsW(const std::filesystem::path& p) {
  // Paths built with AddBackslash end in a backslash; drop one as the Windows test does.
  std::string s = p.native();
  if (s.size() > 1 && (s.back() == '\\' || s.back() == '/')) s.pop_back();
  std::error_code ec;
  return std::filesystem::is_directory(s, ec);
}

// --- Files -----------------------------------------------------------------------------------
std::int64_t FileWriteTime(const std::filesystem::path& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return 0;
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

int CompareFileTime(std::int64_t a, std::int64_t b) {
  return a < b ? -1 : (a > b ? 1 : 0);
}

std::u16string XmlEscape(std::u16string_view text, bool quotes) {
  // Most texts (the cells of a page) need no escape at all: one scan, one copy.
  const auto special = [quotes](char16_t c) {
    return c < 0x20 || c == u'&' || c == u'<' || c == u'>' || (quotes && c == u'"');
  };
  if (std::none_of(text.begin(), text.end(), special)) return std::u16string(text);
  std::u16string r;
  r.reserve(text.size());
  for (char16_t c : text) {
    switch (c) {
      case u'&':
        r += u"&amp;";
        break;
      case u'<':
        r += u"&lt;";
        break;
      case u'>':
        r += u"&gt;";
        break;
      case u'"':
        if (quotes) {
          r += u"&quot;";
          break;
        }
        [[fallthrough]];
      default:
        // XML allows no other C0 control; a stray one would make the whole document invalid.
        r += c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' ? u'\uFFFD' : c;
    }
  }
  return r;
}
