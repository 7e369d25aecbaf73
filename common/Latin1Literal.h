// SPDX-License-Identifier: MIT
// German letters in 8-bit literals, written as they read: "heißen"_latin1 is the
// string_view of the Windows-1252 bytes "hei\xDF" "en", converted at compile time (a letter
// outside Latin-1 or broken UTF-8 does not compile). The bytes live in a static array per
// literal, so the view may be stored in constexpr tables.
//
//   constexpr std::string_view kHeissen = "heißen"_latin1;   // 6 bytes
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <utility>

namespace latin1_literal {

// The UTF-8 source text as a template argument.
template <std::size_t N>
struct Utf8Text {
  char bytes[N]{};
  consteval Utf8Text(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
};

// One byte per code point; throwing here stops the compilation.
template <std::size_t N>
consteval std::pair<std::array<char, N>, std::size_t> Convert(const char (&s)[N]) {
  std::array<char, N> out{};
  std::size_t n = 0;
  for (std::size_t i = 0; i + 1 < N; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out[n++] = static_cast<char>(c);
    } else if ((c == 0xC2 || c == 0xC3) && i + 2 < N &&
               (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
      out[n++] =
          static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
      ++i;
    } else {
      throw "not a Latin-1 letter in UTF-8";
    }
  }
  return {out, n};
}

template <Utf8Text T>
inline constexpr auto kConverted = Convert(T.bytes);

}  // namespace latin1_literal

template <latin1_literal::Utf8Text T>
consteval std::string_view operator""_latin1() {
  return {latin1_literal::kConverted<T>.first.data(), latin1_literal::kConverted<T>.second};
}
