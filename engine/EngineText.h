// SPDX-License-Identifier: MIT
// Small text helpers inside the engine: 1-based positions that never read or write outside a
// string, the last word of a phrase, and the ending-token notation.
//
//   At("les", 2) -> 'e';  At("les", 9) -> 0
//   InsertAt(s = "lesen", 1, "ge") -> "gelesen";  LastWord("mit dem Taxi") -> "Taxi"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr char kSz = '\xDF';  // ß

inline int Len(std::string_view s) {
  return static_cast<int>(s.size());
}
// 1-based character of s, 0 outside the string.
inline unsigned char At(std::string_view s, int pos) {
  return pos >= 1 && pos <= Len(s) ? static_cast<unsigned char>(s[pos - 1]) : 0;
}
inline bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
// Inserts text before the 1-based position pos; a position beyond the end appends.
inline void InsertAt(std::string& s, int pos, std::string_view text) {
  std::size_t at = pos < 1 ? 0 : static_cast<std::size_t>(pos - 1);
  if (at > s.size()) at = s.size();
  s.insert(at, text);
}
// Index where the last word of s begins: after the last blank, 0 when there is none.
inline std::size_t LastWordStart(std::string_view s) {
  const std::size_t b = s.rfind(' ');
  return b == std::string_view::npos ? 0 : b + 1;
}
// The text after the last blank; the whole text when there is none.
inline std::string_view LastWord(std::string_view s) {
  return s.substr(LastWordStart(s));
}
// The ending token of bare ending letters: "-" + ending.
inline std::string Dash(std::string_view ending) {
  std::string token = "-";
  token += ending;
  return token;
}
