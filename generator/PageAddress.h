// SPDX-License-Identifier: MIT
// The address of the online generator page, both ways: the one builder every link to the page
// is made with (the page's canonical link and its reading links, the sitemap), and the one
// parser the server and the window read a query with.
//
// Built addresses carry the phrase as UTF-8, percent-encoded. Links in the wild come in two
// encodings: the page's form submits UTF-8, while older copies of the page escaped
// Windows-1252 bytes (%FC for ü); a value that is valid UTF-8 is read as UTF-8, any other as
// Windows-1252.
//
//   PageAddress(u"https://beugwerk.de", u"sich übergeben", AltOrtho)
//     // ...verbformen-deutsch.htm?infi=sich%20%C3%BCbergeben&ortho=alt
//   TPageQuery q;
//   ParsePageQuery("infi=sich%20%FCbergeben&ortho=alt", q);  // q.phrase u"sich übergeben"
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "engine/_ZTVerb.h"

// --- Building --------------------------------------------------------------------------------

// The query of the page for a phrase: the key "infi" and the phrase as UTF-8, every byte but
// the unreserved ones (A-Z a-z 0-9 - . _ ~) percent-encoded; then "&ortho=alt" or "&ortho=ch"
// unless the orthography is the default one; "&alle=1" for the page of all forms.
std::u16string PageQuery(std::u16string_view phrase, TOrthoTyp ortho = NeuOrtho,
                         bool allForms = false);
// The page of a phrase under origin (scheme and host without a trailing slash; empty for an
// address relative to the site's root): origin, the page's path, "?" and PageQuery.
std::u16string PageAddress(std::u16string_view origin, std::u16string_view phrase,
                           TOrthoTyp ortho = NeuOrtho, bool allForms = false);
// The page of a phrase relative to the page's own folder ("verbformen-deutsch.htm?infi=..."),
// for links from one generator page to another: the window and every deployment follow them
// alike, wherever the pages are served from.
std::u16string PageLink(std::u16string_view phrase, TOrthoTyp ortho = NeuOrtho,
                        bool allForms = false);
// The last part of the page's path: its file name.
std::u16string_view GeneratorPageName();

// The name of an orthography in addresses and on the command line: "neu", "alt", "ch".
std::u16string_view OrthoName(TOrthoTyp ortho);
// The orthography of such a name; false for any other text.
bool OrthoFromName(std::string_view name, TOrthoTyp& ortho);

// --- Reading ---------------------------------------------------------------------------------

struct TPageQuery {
  bool hasPhrase = false;  // an "infi" key was given (its value may still be blank)
  std::u16string phrase;
  TOrthoTyp ortho = NeuOrtho;
  bool allForms = false;  // "alle=1"
};

enum class TQueryError {
  qe_none,
  qe_malformed,  // a broken %-escape, a repeated key, an unknown orthography
  qe_notText,    // control characters or bytes no encoding reads as text
  qe_tooLong     // longer than the form's maxlength
};

// The form's maxlength: a browser counts UTF-16 code units, so do we.
inline constexpr std::size_t kMaxPhraseLength = 160;

// Keys other than "infi", "ortho" and "alle" (tracking tags and the like) are ignored; "alle"
// takes "1" or "0" (empty: 0). The lookup API reads its form under phraseKey "form" by the
// same rules.
TQueryError ParsePageQuery(std::string_view rawQuery, TPageQuery& query,
                           std::u16string_view phraseKey = site::kQueryKey);

// Percent-decoding of one key or value ('+' is a blank); false for a broken escape.
bool PercentDecode(std::string_view in, std::string& out);
// Bytes as text: UTF-8 when they are valid UTF-8, else Windows-1252. False when the text holds
// control characters or bytes Windows-1252 leaves undefined.
bool DecodeQueryText(std::string_view bytes, std::u16string& text);

// The German message for a query error, one sentence.
std::u16string_view QueryErrorText(TQueryError e);
