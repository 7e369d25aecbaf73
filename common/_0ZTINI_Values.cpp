// SPDX-License-Identifier: MIT
// Typed values of the settings document: booleans "1"/"0", decimal integers, doubles as the
// 16 hexadecimal digits of their bit pattern (so that they read back bit for bit).
#include <bit>
#include <charconv>
#include <cstdint>
#include <limits>

#include "common/_0ZTINI.h"

namespace {

// Optional sign and decimal digits, nothing else; false on overflow.
bool ParseDecimal(std::u16string_view s, std::int64_t lo, std::int64_t hi, std::int64_t& out) {
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) neg = s[i++] == u'-';
  if (i == s.size()) return false;
  // Accumulate negatively so that the lowest value fits.
  std::int64_t v = 0;
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return false;
    int d = s[i] - u'0';
    if (v < (kMin + d) / 10) return false;
    v = v * 10 - d;
  }
  if (!neg) {
    if (v == kMin) return false;
    v = -v;
  }
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Leading blanks, optional minus sign, digits; no digits give 0.
int ParsePointPart(std::u16string_view s, std::size_t& i) {
  while (i < s.size() && s[i] == u' ') ++i;
  bool neg = i < s.size() && s[i] == u'-';
  if (neg) ++i;
  std::int64_t v = 0;
  for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i)
    if (v < std::numeric_limits<int>::max()) v = v * 10 + (s[i] - u'0');
  if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
  return static_cast<int>(neg ? -v : v);
}

}  // namespace

int TIniStream::ReadInteger(std::u16string_view section, std::u16string_view key, int deflt) {
  std::u16string s = ReadString(section, key, u"");
  if (s.empty()) return deflt;
  std::int64_t v = 0;
  if (!ParseDecimal(s, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), v))
    return 0;
  return static_cast<int>(v);
}

std::int64_t TIniStream::ReadInt64(std::u16string_view section, std::u16string_view key,
                                   std::int64_t deflt) {
  std::u16string s = ReadString(section, key, u"");
  std::int64_t v = 0;
  if (s.empty() || !ParseDecimal(s, std::numeric_limits<std::int64_t>::min(),
                                 std::numeric_limits<std::int64_t>::max(), v))
    return deflt;
  return v;
}

bool TIniStream::ReadBool(std::u16string_view section, std::u16string_view key, bool deflt) {
  std::u16string s = ReadString(section, key, u"");
  if (s.empty()) return deflt;
  return s > u"0";
}

// Both the point and the comma are taken as the decimal separator: files move between users
// with either number format.
double TIniStream::ReadFloat(std::u16string_view section, std::u16string_view key, double deflt) {
  std::u16string s = ReadString(section, key, u"");
  if (s.empty()) return deflt;
  std::string a;
  for (char16_t c : s) {
    if (c > 0x7F) return deflt;
    a.push_back(c == u',' ? '.' : static_cast<char>(c));
  }
  double v = 0;
  auto [end, ec] = std::from_chars(a.data(), a.data() + a.size(), v);
  if (ec != std::errc() || end != a.data() + a.size()) return deflt;
  return v;
}

// A value that is not 1 to 16 hexadecimal digits gives the default.
double TIniStream::ReadDouble(std::u16string_view section, std::u16string_view key, double deflt) {
  std::u16string s = ReadString(section, key, u"");
  std::u16string_view d = s;
  if (!d.empty() && d.front() == u'$') d.remove_prefix(1);
  if (d.empty() || d.size() > 16) return deflt;
  std::uint64_t bits = 0;
  for (char16_t c : d) {
    int h = HexDigit(c);
    if (h < 0) return deflt;
    bits = bits << 4 | static_cast<std::uint64_t>(h);
  }
  return std::bit_cast<double>(bits);
}

TIniPoint TIniStream::ReadPoint(std::u16string_view section, std::u16string_view key,
                                std::u16string_view deflt) {
  std::u16string s = ReadString(section, key, deflt);
  std::size_t i = 0;
  TIniPoint p;
  p.x = ParsePointPart(s, i);
  while (i < s.size() && s[i] == u' ') ++i;
  if (i < s.size() && s[i] == u',') ++i;
  p.y = ParsePointPart(s, i);
  return p;
}

void TIniStream::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

void TIniStream::WriteInteger(std::u16string_view section, std::u16string_view key,
                              std::int64_t value) {
  std::string a = std::to_string(value);
  WriteString(section, key, std::u16string(a.begin(), a.end()));
}

void TIniStream::WriteDouble(std::u16string_view section, std::u16string_view key, double value) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  std::u16string s(16, u'0');
  for (int i = 15; i >= 0; --i, bits >>= 4) s[static_cast<std::size_t>(i)] = kHex[bits & 15];
  WriteString(section, key, s);
}
