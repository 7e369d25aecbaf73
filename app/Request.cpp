// SPDX-License-Identifier: MIT
#include "app/Request.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <algorithm>

#include "common/_ZT_cmn_A.h"

namespace {

bool SameIgnoringCase(const std::u16string& a, const std::u16string& b) {
  UErrorCode status = U_ZERO_ERROR;
  return u_strCaseCompare(a.data(), static_cast<int32_t>(a.size()), b.data(),
                          static_cast<int32_t>(b.size()), U_FOLD_CASE_DEFAULT, &status) == 0;
}

// The builders may leave a blank at the end (a phrase's separated words, "fahre mit dem
// Taxi "); an answer goes out without it, as the table's forms do.
std::u16string Trimmed(std::u16string form) {
  while (!form.empty() && form.back() == u' ') form.pop_back();
  return form;
}

// The imperative answers carry an exclamation mark; a missing form stays "-" so that clients
// can test every answer for "-" alike.
std::u16string Exclaimed(std::u16string form) {
  form = Trimmed(std::move(form));
  if (form != u"-") form += u'!';
  return form;
}

// An answer that is not a list stays one line: the line breaks of a message become blanks
// ("lesex" CR "ist kein Infinitiv!" reads "lesex ist kein Infinitiv!").
std::u16string OneLine(std::u16string s) {
  for (char16_t& c : s)
    if (c == u'\r' || c == u'\n') c = u' ';
  return s;
}

std::u16string FirstLine(std::u16string_view text) {
  return std::u16string(text.substr(0, text.find_first_of(u"\r\n")));
}

// At most kMaxPhrase code units, without cutting a surrogate pair in two.
std::u16string LimitedPhrase(std::u16string_view s) {
  std::size_t n = std::min(s.size(), TRequestService::kMaxPhrase);
  if (n < s.size() && n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
  return std::u16string(s.substr(0, n));
}

// Resets unPrefixed after a list even when a builder throws, so that later single-form
// requests give the main-clause forms with their particle again.
class TUnPrefixedScope {
 public:
  explicit TUnPrefixedScope(TVerbGen& v) : FVerb(v), FOld(v.unPrefixed) { v.unPrefixed = true; }
  ~TUnPrefixedScope() { FVerb.unPrefixed = FOld; }
  TUnPrefixedScope(const TUnPrefixedScope&) = delete;
  TUnPrefixedScope& operator=(const TUnPrefixedScope&) = delete;

 private:
  TVerbGen& FVerb;
  bool FOld;
};

}  // namespace

std::vector<std::u16string> SplitLinesW(std::u16string_view text) {
  std::vector<std::u16string> lines;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of(u"\r\n"), text.size());
    lines.emplace_back(text.substr(0, end));
    std::size_t next = end;
    if (next < text.size() && text[next] == u'\r') ++next;
    if (next < text.size() && text[next] == u'\n') ++next;
    text.remove_prefix(next);
  }
  return lines;
}

TRequestService::TRequestService() : FOwnVerb(std::make_unique<TVerbGen>()), FVerb(*FOwnVerb) {}

TRequestService::TRequestService(TVerbGen& verb) : FVerb(verb) {}

std::u16string TRequestService::ItemText() const {
  std::u16string text;
  for (std::size_t i = 0; i < FItem.size(); ++i) {
    if (i > 0) text += u"\r\n";
    text += FItem[i];
  }
  return text;
}

void TRequestService::ExecuteMacro(std::u16string_view text) {
  std::u16string line = FirstLine(text);
  if (!line.empty() && line.front() == u'[') line.erase(0, 1);
  if (!line.empty() && line.back() == u']') line.pop_back();
  std::u16string word = line.substr(0, 4);
  UpperStrW(word);
  if (!FOnMacro) return;
  if (word == u"INF=")
    FOnMacro(rm_Show, LimitedPhrase(std::u16string_view(line).substr(4)));
  else if (line.size() == 3 && word == u"MIN")
    FOnMacro(rm_Minimize, {});
  else if (line.size() == 3 && word == u"RES")
    FOnMacro(rm_Restore, {});
  else if (word == u"CLOS")
    FOnMacro(rm_Close, {});
}

void TRequestService::Poke(std::u16string_view text) {
  FItem = SplitLinesW(text);
  FRefused = false;
  const std::u16string r = FirstLine(text);
  if (!r.empty() && r.front() == u'[') {
    ExecuteMacro(text);
    return;
  }
  if (r.size() < 3) {
    FItem = {u"-"};
    FRefused = true;
    return;
  }
  const std::size_t colon = r.find(u':');
  const std::u16string infinitive = r.substr(colon == std::u16string::npos ? 2 : colon + 1);
  // The verb object has no error callback: an analysis error arrives as an exception, and
  // its message is the answer, so the client learns why there is no form. A borrowed object
  // with a callback reports there instead, and the forms of the failed analysis answer.
  try {
    FVerb.newVerb(infinitive, unsp);
    if (r[0] == u'A') {
      AddWordForms(r[1] == u'1');
    } else {
      FItem = {Trimmed(SingleForm(r[0], r[1]))};
      FRefused = FItem[0] == kUnknownForm;
    }
  } catch (const EVerbGenError& e) {
    FItem = {OneLine(e.Message())};
    FRefused = true;
  }
}

std::u16string TRequestService::SingleForm(char16_t letter, char16_t digit) {
  const int person = digit - u'0';
  const bool personOk = person >= 1 && person <= 6;
  switch (letter) {
    case u'G':
      return personOk ? FVerb.Praesens(person, false) : std::u16string(kUnknownForm);
    case u'V':
      return personOk ? FVerb.Praeteritum(person, false) : std::u16string(kUnknownForm);
    case u'K':
      return personOk ? FVerb.KonjunktivG(person, false) : std::u16string(kUnknownForm);
    case u'J':
      return personOk ? FVerb.KonjunktivV(person, false) : std::u16string(kUnknownForm);
    case u'S':
      return Exclaimed(FVerb.Imperativ(1));
    case u'P':
      return Exclaimed(FVerb.Praesens(5, false));
    case u'1':
      return FVerb.Partizip(1);
    case u'2':
      return FVerb.Partizip(2);
    default:
      return std::u16string(kUnknownForm);
  }
}

void TRequestService::AddLine(std::u16string line, bool isAlternative, bool distinct) {
  if (distinct) {
    if (isAlternative ? line.empty() : line == u"-") return;
    for (const std::u16string& l : FItem)
      if (SameIgnoringCase(l, line)) return;
  }
  FItem.push_back(std::move(line));
}

// Form2 must be read right after the builder that produced form.
void TRequestService::AddFormAndAlternative(std::u16string form, bool distinct) {
  std::u16string alternative = Trimmed(Latin1ToUni(FVerb.Form2));
  AddLine(Trimmed(std::move(form)), false, distinct);
  AddLine(std::move(alternative), true, distinct);
}

void TRequestService::AddWordForms(bool distinct) {
  FItem.clear();
  TUnPrefixedScope scope(FVerb);
  using TBuilder = std::u16string (TVerbGen::*)(int, bool);
  static constexpr TBuilder kTenses[] = {&TVerbGen::Praesens, &TVerbGen::Praeteritum,
                                         &TVerbGen::KonjunktivG, &TVerbGen::KonjunktivV};
  auto addTenses = [&] {
    for (TBuilder build : kTenses)
      for (int person = 1; person <= 6; ++person)
        AddFormAndAlternative((FVerb.*build)(person, false), distinct);
  };
  addTenses();
  AddFormAndAlternative(FVerb.Imperativ(1), distinct);
  AddFormAndAlternative(FVerb.Partizip(1), distinct);
  AddFormAndAlternative(FVerb.Partizip(2), distinct);
  if (!FVerb.praef.empty()) {
    // The same calls again with unPrefixed still set, so this block repeats the first; the
    // list keeps its fixed shape for clients that count lines.
    addTenses();
    AddLine(Latin1ToUni(FVerb.praef) + u"-", false, distinct);
  }
}
