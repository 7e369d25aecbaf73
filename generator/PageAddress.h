// SPDX-License-Identifier: MIT
// The query of the online generator page, from the raw bytes after '?' to a phrase and an
// orthography. Links in the wild come in two encodings: the page's form submits UTF-8, while
// the page's own canonical link escapes Windows-1252 bytes (%FC for ü); a value that is valid
// UTF-8 is read as UTF-8, any other as Windows-1252.
//
//   TPageQuery q;
//   ParsePageQuery("infi=sich%20%FCbergeben&ortho=alt", q);  // q.phrase u"sich übergeben"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"

struct TPageQuery {
  bool hasPhrase = false;  // an "infi" key was given (its value may still be blank)
  std::u16string phrase;
  TOrthoTyp ortho = NeuOrtho;
};

enum class TQueryError {
  qe_none,
  qe_malformed,  // a broken %-escape, a repeated key, an unknown orthography
  qe_notText,    // control characters or bytes no encoding reads as text
  qe_tooLong     // longer than the form's maxlength
};

// The form's maxlength: a browser counts UTF-16 code units, so do we.
inline constexpr std::size_t kMaxPhraseLength = 160;

// Keys other than "infi" and "ortho" (tracking tags and the like) are ignored.
TQueryError ParsePageQuery(std::string_view rawQuery, TPageQuery& query);

// Percent-decoding of one key or value ('+' is a blank); false for a broken escape.
bool PercentDecode(std::string_view in, std::string& out);
// Bytes as text: UTF-8 when they are valid UTF-8, else Windows-1252. False when the text holds
// control characters or bytes Windows-1252 leaves undefined.
bool DecodeQueryText(std::string_view bytes, std::u16string& text);

// The German message for a query error, one sentence.
std::u16string_view QueryErrorText(TQueryError e);
