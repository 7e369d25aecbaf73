// SPDX-License-Identifier: MIT
#include "server/Query.h"

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
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
  // Strict UTF-8 (no overlong forms or surrogates) is read as UTF-8, anything else as 1252.
  if (bytes.empty() || IsPlausibleUtf8(bytes)) {
    text = Utf8ToUni(bytes);
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
