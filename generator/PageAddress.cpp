// SPDX-License-Identifier: MIT
#include "generator/PageAddress.h"

#include <array>

#include "common/SiteConfig.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

struct TOrthoName {
  TOrthoTyp ortho;
  std::u16string_view name;
};
constexpr std::array<TOrthoName, 3> kOrthoNames = {
    {{NeuOrtho, u"neu"}, {AltOrtho, u"alt"}, {ChOrtho, u"ch"}}};

// A decoded key against one of the page's key names (plain ASCII both).
bool IsKey(std::string_view key, std::u16string_view name) {
  if (key.size() != name.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (static_cast<unsigned char>(key[i]) != name[i]) return false;
  return true;
}

void AppendPercentEncoded(std::u16string& out, std::u16string_view text) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  for (unsigned char c : UniToUtf8(text)) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~';
    if (plain) {
      out += static_cast<char16_t>(c);
    } else {
      out += u'%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

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

TQueryError ParsePageQuery(std::string_view rawQuery, TPageQuery& query,
                           std::u16string_view phraseKey) {
  query = TPageQuery();
  bool hasOrtho = false, hasAll = false;
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
    if (IsKey(key, phraseKey)) {
      if (query.hasPhrase) return TQueryError::qe_malformed;
      query.hasPhrase = true;
      if (!DecodeQueryText(value, query.phrase)) return TQueryError::qe_notText;
      if (query.phrase.size() > kMaxPhraseLength) return TQueryError::qe_tooLong;
    } else if (IsKey(key, site::kOrthoKey)) {
      if (hasOrtho) return TQueryError::qe_malformed;
      hasOrtho = true;
      // An empty value means the default.
      if (!value.empty() && !OrthoFromName(value, query.ortho)) return TQueryError::qe_malformed;
    } else if (IsKey(key, site::kAllFormsKey)) {
      if (hasAll || !(value.empty() || value == "0" || value == "1"))
        return TQueryError::qe_malformed;
      hasAll = true;
      query.allForms = value == "1";
    }
  }
  return TQueryError::qe_none;
}

std::u16string_view OrthoName(TOrthoTyp ortho) {
  for (const TOrthoName& n : kOrthoNames)
    if (n.ortho == ortho) return n.name;
  return kOrthoNames[0].name;
}

bool OrthoFromName(std::string_view name, TOrthoTyp& ortho) {
  for (const TOrthoName& n : kOrthoNames) {
    if (IsKey(name, n.name)) {
      ortho = n.ortho;
      return true;
    }
  }
  return false;
}

std::u16string PageQuery(std::u16string_view phrase, TOrthoTyp ortho, bool allForms) {
  std::u16string q(site::kQueryKey);
  q += u'=';
  AppendPercentEncoded(q, phrase);
  if (ortho != NeuOrtho) {
    q += u'&';
    q += site::kOrthoKey;
    q += u'=';
    q += OrthoName(ortho);
  }
  if (allForms) {
    q += u'&';
    q += site::kAllFormsKey;
    q += u"=1";
  }
  return q;
}

std::u16string PageAddress(std::u16string_view origin, std::u16string_view phrase, TOrthoTyp ortho,
                           bool allForms) {
  std::u16string a(origin);
  a += site::kGeneratorPath;
  a += u'?';
  a += PageQuery(phrase, ortho, allForms);
  return a;
}

std::u16string_view GeneratorPageName() {
  return site::kGeneratorPath.substr(site::kGeneratorPath.rfind(u'/') + 1);
}

std::u16string PageLink(std::u16string_view phrase, TOrthoTyp ortho, bool allForms) {
  std::u16string a(GeneratorPageName());
  a += u'?';
  a += PageQuery(phrase, ortho, allForms);
  return a;
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
