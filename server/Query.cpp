// SPDX-License-Identifier: MIT
#include "server/Query.h"

#include <array>
#include <optional>

#include "common/_ZT_cmn_A.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The code points of UTF-8 bytes; nothing when they are not valid UTF-8 (overlong forms and
// surrogates included).
std::optional<std::u16string> StrictUtf8(std::string_view s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    int more;
    if (c < 0x80) {
      cp = c, more = 0;
    } else if (c >= 0xC2 && c <= 0xDF) {
      cp = c & 0x1F, more = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      cp = c & 0x0F, more = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      cp = c & 0x07, more = 3;
    } else {
      return std::nullopt;
    }
    for (int k = 1; k <= more; ++k) {
      if (i + k >= s.size()) return std::nullopt;
      const unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return std::nullopt;
      cp = (cp << 6) | (d & 0x3F);
    }
    constexpr std::array<char32_t, 4> kLeast = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += 1 + more;
  }
  return out;
}

bool IsUndefinedIn1252(unsigned char c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

bool IsText(char16_t c) {
  return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F) && c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

bool PercentDecode(std::string_view in, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char c = in[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%') {
      if (i + 2 >= in.size()) return false;
      const int hi = HexValue(in[i + 1]), lo = HexValue(in[i + 2]);
      if (hi < 0 || lo < 0) return false;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      out += c;
    }
  }
  return true;
}

bool DecodeQueryText(std::string_view bytes, std::u16string& text) {
  if (std::optional<std::u16string> u = StrictUtf8(bytes)) {
    text = std::move(*u);
  } else {
    for (char c : bytes)
      if (IsUndefinedIn1252(static_cast<unsigned char>(c))) return false;
    text = Latin1ToUni(bytes);
  }
  for (char16_t c : text)
    if (!IsText(c)) return false;
  return true;
}

TQueryError ParsePageQuery(std::string_view rawQuery, TPageQuery& query) {
  query = TPageQuery();
  bool hasOrtho = false;
  while (!rawQuery.empty()) {
    const std::size_t amp = rawQuery.find('&');
    const std::string_view pair = rawQuery.substr(0, amp);
    rawQuery.remove_prefix(amp == std::string_view::npos ? rawQuery.size() : amp + 1);
    if (pair.empty()) continue;
    const std::size_t eq = pair.find('=');
    std::string key, value;
    if (!PercentDecode(pair.substr(0, eq), key)) return TQueryError::qe_malformed;
    if (eq != std::string_view::npos && !PercentDecode(pair.substr(eq + 1), value))
      return TQueryError::qe_malformed;
    if (key == "infi") {
      if (query.hasPhrase) return TQueryError::qe_malformed;
      query.hasPhrase = true;
      if (!DecodeQueryText(value, query.phrase)) return TQueryError::qe_notText;
      if (query.phrase.size() > kMaxPhraseLength) return TQueryError::qe_tooLong;
    } else if (key == "ortho") {
      if (hasOrtho) return TQueryError::qe_malformed;
      hasOrtho = true;
      if (value == "alt")
        query.ortho = AltOrtho;
      else if (value == "ch")
        query.ortho = ChOrtho;
      else if (value.empty() || value == "neu")
        query.ortho = NeuOrtho;
      else
        return TQueryError::qe_malformed;
    }
  }
  return TQueryError::qe_none;
}

std::u16string_view QueryErrorText(TQueryError e) {
  switch (e) {
    case TQueryError::qe_malformed:
      return u"Die Adresse der Anfrage ist fehlerhaft.";
    case TQueryError::qe_notText:
      return u"Die Eingabe enthält Zeichen, die kein Text sind.";
    case TQueryError::qe_tooLong:
      return u"Die Eingabe ist länger als 160 Zeichen. Bitte geben Sie einen Infinitiv oder "
             u"eine kurze Infinitivphrase ein.";
    case TQueryError::qe_none:
      break;
  }
  return {};
}
