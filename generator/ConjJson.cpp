// SPDX-License-Identifier: MIT
// The conjugation table as one JSON object for other programs. Reads the data twins of the
// table (TConjForm), never the cells made for people; schema/conjugation.schema.json describes
// the layout. Strings are UTF-8, escaped as JSON requires (quote, backslash, controls).
#include <algorithm>
#include <array>
#include <cstdio>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/JsonWriter.h"
#include "generator/TableParts.h"
#include "generator/VerbGenerator.h"

namespace {

constexpr std::u16string_view kTenseKeys[kConjTenses] = {
    u"praesens", u"praeteritum", u"perfekt",     u"plusquamperfekt",
    u"futurI",   u"futurII",     u"konjunktivI", u"konjunktivII"};
constexpr std::string_view kNonFiniteKeys[kNonFiniteForms] = {
    "infinitivI", "infinitivII", "partizipI", "partizipII", "imperativSingular", "imperativPlural"};

void FormString(TJsonWriter& w, std::u16string_view form, bool marked) {
  if (marked)
    w.String(form);
  else
    w.PlainString(form);
}

// A form or null ("-": the verb has no such form); marks removed unless `marked`.
void FormValue(TJsonWriter& w, std::u16string_view form, bool marked) {
  if (form == u"-" || form.empty())
    w.Null();
  else
    FormString(w, form, marked);
}

// How the alternatives of a form are written: as the engine gives them, or completed to whole
// forms. In main-clause order the engine's alternative of a simple form stands without what
// follows the verb ("bandst" beside "bandest ab"), in subordinate order without the reflexive
// pronoun before it ("einmogele" beside "mich einmogle"); the imperative of gebären holds two
// forms in one ("gebäre! gebier").
enum class TWhole { asGiven, mainClause, subClause };

int Words(std::u16string_view s) {
  int n = s.empty() ? 0 : 1;
  for (char16_t c : s) n += c == u' ';
  return n;
}

// The words the form has beyond the alternative, which make it whole: after it in main-clause
// order, before it in subordinate order.
struct TWholeParts {
  std::u16string_view before, after;
};

TWholeParts WholeParts(std::u16string_view form, std::u16string_view alt, TWhole how) {
  TWholeParts r;
  switch (how) {
    case TWhole::mainClause: {
      // An alternative with a blank is whole already (saugst Staub beside staubsaugst).
      const std::size_t blank = form.find(u' ');
      if (blank != form.npos && alt.find(u' ') == alt.npos) r.after = form.substr(blank);
      break;
    }
    case TWhole::subClause: {
      // The words the form has more than the alternative stand before the verb.
      int missing = Words(form) - Words(alt);
      std::size_t end = 0;
      while (missing-- > 0 && (end = form.find(u' ', end)) != form.npos) ++end;
      if (end != 0 && end != form.npos) r.before = form.substr(0, end);
      break;
    }
    case TWhole::asGiven:
      break;
  }
  return r;
}

// The alternatives as the engine lists them: comma-separated, blanks at the end trimmed, empty
// ones left out; two imperatives in one ("gebäre! gebier") stand apart.
void AlternativesValue(TJsonWriter& w, const TConjForm& f, bool marked,
                       TWhole how = TWhole::asGiven) {
  w.BeginArray();
  const std::u16string_view all(f.alt);
  for (std::size_t from = 0; from < all.size();) {
    const std::size_t comma = std::min(all.find(u',', from), all.size());
    std::u16string_view a = all.substr(from, comma - from);
    a = a.substr(0, a.find_last_not_of(u' ') + 1);
    from = comma + 1;
    if (a.empty()) continue;
    const TWholeParts parts = WholeParts(f.form, a, how);
    if (a.find(u"! ") == a.npos) {
      w.String({parts.before, a, parts.after}, !marked);
      continue;
    }
    const std::u16string whole = table_parts::Join({parts.before, a, parts.after});
    std::u16string_view rest(whole);
    for (std::size_t cut; (cut = rest.find(u"! ")) != rest.npos;) {
      w.String({rest.substr(0, cut)}, !marked);
      rest.remove_prefix(cut + 2);
    }
    w.String({rest}, !marked);
  }
  w.EndArray();
}

void FormObject(TJsonWriter& w, const TConjForm& f, bool withMarked, TWhole how) {
  w.BeginObject();
  w.Key("form");
  FormValue(w, f.form, false);
  w.Key("alternatives");
  AlternativesValue(w, f, false, how);
  if (withMarked) {
    w.Key("marked");
    w.BeginObject();
    w.Key("form");
    FormValue(w, f.form, true);
    w.Key("alternatives");
    AlternativesValue(w, f, true, how);
    w.EndObject();
  }
  w.EndObject();
}

// simple: a tense of simple forms, whose alternatives the engine gives in its short notation;
// the compound tenses spell theirs out already.
void PersonForms(TJsonWriter& w, const TConjRow& row, bool marked, bool simple) {
  // References, not a conditional of a form and a temporary: that would copy every form.
  static const TConjForm kNone;
  const TConjForm& main = row.dash ? kNone : row.mainForm;
  const TConjForm& sub = row.dash ? kNone : row.subForm;
  w.Key("main");
  FormValue(w, main.form, marked);
  w.Key("mainAlternatives");
  AlternativesValue(w, main, marked, simple ? TWhole::mainClause : TWhole::asGiven);
  w.Key("sub");
  FormValue(w, sub.form, marked);
  w.Key("subAlternatives");
  AlternativesValue(w, sub, marked, simple ? TWhole::subClause : TWhole::asGiven);
}

void Person(TJsonWriter& w, const TConjRow& row, int person, bool withMarked, bool simple) {
  w.BeginObject();
  w.Key("person");
  w.Int(person);
  w.Key("pronoun");
  w.String(row.pronoun);
  PersonForms(w, row, false, simple);
  if (withMarked) {
    w.Key("marked");
    w.BeginObject();
    PersonForms(w, row, true, simple);
    w.EndObject();
  }
  w.EndObject();
}

// The engine's message as the page shows it: its line break (after the quoted input of
// "ist kein Infinitiv!") is a blank there.
std::u16string MessageAsShown(std::u16string_view message) {
  std::u16string r;
  for (std::size_t i = 0; i < message.size(); ++i) {
    const char16_t c = message[i];
    if (c == u'\r' && i + 1 < message.size() && message[i + 1] == u'\n') continue;
    r += c == u'\r' || c == u'\n' ? u' ' : c;
  }
  return r;
}

void TextOrNull(TJsonWriter& w, std::string_view key, const std::u16string& text) {
  w.Key(key);
  if (text.empty())
    w.Null();
  else
    w.String(text);
}

std::u16string_view AuxiliaryName(habseityp h) {
  switch (h) {
    case haben:
      return u"haben";
    case sein:
      return u"sein";
    case habensein:
      return u"both";
    default:
      return u"undecided";
  }
}

std::u16string_view OrthographyName(TOrthoTyp o) {
  switch (o) {
    case AltOrtho:
      return u"alt";
    case ChOrtho:
      return u"ch";
    default:
      return u"neu";
  }
}

void AnalysisObject(TJsonWriter& w, const TConjAnalysis& a) {
  w.BeginObject();
  w.Key("infinitive");
  if (std::all_of(a.infinitive.begin(), a.infinitive.end(),
                  [](char16_t c) { return c == u'\'' || c == u'`'; }))
    w.Null();
  else
    w.PlainString(a.infinitive);
  TextOrNull(w, "phrase", a.phraseWords);
  TextOrNull(w, "separablePrefix", a.separablePrefix);
  TextOrNull(w, "inseparablePrefix", a.inseparablePrefix);
  w.Key("reflexive");
  if (!a.reflexive) {
    w.Null();
  } else {
    w.BeginObject();
    w.Key("case");
    w.String(a.reflexiveCase == u'D' ? u"dative" : u"accusative");
    w.Key("optional");
    w.Bool(a.reflexiveOptional);
    w.EndObject();
  }
  w.Key("impersonal");
  w.Bool(a.impersonal);
  w.Key("pluralOnly");
  w.Bool(a.pluralOnly);
  TextOrNull(w, "conjugation", std::u16string(a.conjugation));
  w.Key("auxiliary");
  w.String(AuxiliaryName(a.auxiliary));
  w.Key("meaningDifferences");
  w.Bool(a.meaningDifferences);
  w.EndObject();
}

void Readings(TJsonWriter& w, const std::vector<TConjReading>& readings) {
  // The separable reading comes first.
  w.BeginArray();
  for (std::size_t i = 0; i < readings.size(); ++i) {
    w.BeginObject();
    w.Key("input");
    w.String(readings[i].phrase);
    w.Key("separable");
    w.Bool(i == 0);
    w.Key("gloss");
    w.String(readings[i].gloss);
    w.EndObject();
  }
  w.EndArray();
}

// --- the further blocks: keys the table of eight tenses does not have ---

constexpr std::u16string_view kMoreTenseKeys[kMoreTenses] = {
    u"konjunktivIPerfekt",          u"konjunktivIFuturI",  u"konjunktivIFuturII",
    u"konjunktivIIPlusquamperfekt", u"konjunktivIIFuturI", u"konjunktivIIFuturII"};
// In the order of the key list; the table keeps the imperatives first.
constexpr std::string_view kMoreNonFiniteKeys[kMoreNonFiniteForms] = {
    "infinitivPerfekt", "infinitivPerfektZu", "imperativWir", "imperativSie"};
constexpr int kMoreNonFiniteIndex[kMoreNonFiniteForms] = {2, 3, 0, 1};

void TenseMembers(TJsonWriter& w, std::span<const std::u16string_view> keys,
                  std::span<const TConjTense> tenses, bool marked) {
  for (std::size_t k = 0; k < keys.size(); ++k) {
    w.Key(keys[k]);
    w.BeginArray();
    // Compound forms all: their alternatives are spelt out whole.
    for (int p = 0; p < 6; ++p) Person(w, tenses[k].rows[p], p + 1, marked, false);
    w.EndArray();
  }
}

void MoreNonFiniteMembers(TJsonWriter& w, const TConjTable& t) {
  if (!t.all) return;
  for (int i = 0; i < kMoreNonFiniteForms; ++i) {
    w.Key(kMoreNonFiniteKeys[i]);
    FormObject(w, t.all->nonFiniteForms[kMoreNonFiniteIndex[i]], t.stressMarked, TWhole::asGiven);
  }
}

void MoreTenseMembers(TJsonWriter& w, const TConjTable& t) {
  if (t.all) TenseMembers(w, kMoreTenseKeys, t.all->tenses, t.stressMarked);
}

// "passive": null with the reason in "passiveNote", or the two passives with their note.
void PassiveMembers(TJsonWriter& w, const TConjTable& t) {
  if (!t.all) return;
  const TConjAllForms& all = *t.all;
  w.Key("passive");
  if (!all.hasPassive) {
    w.Null();
    w.Key("passiveNote");
    w.String(all.passiveNote);
    return;
  }
  w.BeginObject();
  w.Key("note");
  w.String(all.passiveNote);
  w.Key("vorgangspassiv");
  w.BeginObject();
  const std::span<const TConjTense> vorgang(all.passive.vorgang);
  TenseMembers(w, kTenseKeys, vorgang.first(kConjTenses), t.stressMarked);
  TenseMembers(w, kMoreTenseKeys, vorgang.subspan(kConjTenses), t.stressMarked);
  w.Key("infinitiv");
  FormObject(w, all.passive.infinitives[0], t.stressMarked, TWhole::asGiven);
  w.Key("infinitivPerfekt");
  FormObject(w, all.passive.infinitives[1], t.stressMarked, TWhole::asGiven);
  w.EndObject();
  w.Key("zustandspassiv");
  w.BeginObject();
  TenseMembers(w, kTenseKeys, all.passive.zustand, t.stressMarked);
  w.EndObject();
  w.EndObject();
  w.Key("passiveNote");
  w.Null();
}

}  // namespace

std::string ErrorJson(std::u16string_view message) {
  TJsonWriter w;
  w.BeginObject();
  w.Key("error");
  w.String(message);
  w.EndObject();
  return w.Take();
}

std::string ConjugationJson(const TConjTable& t) {
  TJsonWriter w(32 * 1024);
  w.BeginObject();
  w.Key("input");
  w.String(t.input);
  if (t.status == TConjStatus::cs_empty || t.status == TConjStatus::cs_error) {
    w.Key("error");
    w.String(MessageAsShown(t.message));
    w.EndObject();
    return w.Take();
  }
  w.Key("orthography");
  w.String(OrthographyName(t.ortho));
  w.Key("decided");
  w.Bool(t.status == TConjStatus::cs_ok);
  if (!t.warning.empty()) {
    w.Key("warning");
    w.String(t.warning);
  }
  w.Key("readings");
  Readings(w, t.readings);
  w.Key("analysis");
  AnalysisObject(w, t.analysis);
  TextOrNull(w, "meaningNote", t.meaningNote);
  w.Key("nonFinite");
  w.BeginObject();
  for (int i = 0; i < kNonFiniteForms; ++i) {
    w.Key(kNonFiniteKeys[i]);
    // The imperative plural is the Präsens ihr-form in main-clause order.
    FormObject(w, t.nonFiniteForms[i], t.stressMarked,
               i == kNonFiniteForms - 1 ? TWhole::mainClause : TWhole::asGiven);
  }
  MoreNonFiniteMembers(w, t);
  w.EndObject();
  w.Key("tenses");
  w.BeginObject();
  for (int k = 0; k < kConjTenses; ++k) {
    w.Key(kTenseKeys[k]);
    w.BeginArray();
    const bool simple = k < 2 || k >= 6;  // Präsens, Präteritum, Konjunktiv I and II
    for (int p = 0; p < 6; ++p) Person(w, t.tenses[k].rows[p], p + 1, t.stressMarked, simple);
    w.EndArray();
  }
  MoreTenseMembers(w, t);
  w.EndObject();
  PassiveMembers(w, t);
  w.EndObject();
  return w.Take();
}
