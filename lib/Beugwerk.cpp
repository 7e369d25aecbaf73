// SPDX-License-Identifier: MIT
// The embedding facade: the generator's table turned into the plain structs of the public
// header. The table's data twins are read, as the JSON writer reads them.
#include "beugwerk/beugwerk.h"

#include <mutex>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/Lookup.h"
#include "generator/VerbGenerator.h"

namespace beugwerk {

namespace {

std::mutex gListsMutex;
std::string gListsOption;  // SetVerbListsPath
bool gListsResolved = false;
std::string gListsProblem;  // why the lists named cannot be used; empty when they can

// The message of lists that cannot be used, empty when they can: a file named by the caller
// or $BEUGWERK_VERBLISTS is used or reported, never quietly replaced by the built-in copy.
std::string ResolveLists() {
  std::lock_guard<std::mutex> lock(gListsMutex);
  if (!gListsResolved) {
    const TVerbListsSource source = ExamineVerbLists(DefaultVerbListsSearch(gListsOption));
    gListsProblem = VerbListsSourceMessage(source);
    VerbListsPath = source.Usable() ? source.choice.path : std::filesystem::path();
    gListsResolved = true;
  }
  return gListsProblem;
}

std::string Plain(const std::u16string& s) {
  std::u16string r;
  for (char16_t c : s)
    if (c != u'\'' && c != u'`') r += c;
  return UniToUtf8(r);
}

Form ToForm(const TConjForm& f, bool marked) {
  Form r;
  if (f.form == u"-" || f.form.empty()) return r;
  r.text = Plain(f.form);
  for (const std::u16string& a : Alternatives(f)) r.alternatives.push_back(Plain(a));
  if (marked) r.marked = UniToUtf8(f.form);
  return r;
}

TOrthoTyp EngineOrtho(Orthography o) {
  return o == Orthography::alt ? AltOrtho : o == Orthography::ch ? ChOrtho : NeuOrtho;
}

Auxiliary ToAuxiliary(habseityp h) {
  switch (h) {
    case haben:
      return Auxiliary::haben;
    case sein:
      return Auxiliary::sein;
    case habensein:
      return Auxiliary::both;
    default:
      return Auxiliary::undecided;
  }
}

}  // namespace

void SetVerbListsPath(const std::string& path) {
  std::lock_guard<std::mutex> lock(gListsMutex);
  gListsOption = path;
  gListsResolved = false;
}

Conjugation Conjugate(std::string_view phrase, Orthography orthography) {
  TConjTable t;
  if (const std::string problem = ResolveLists(); !problem.empty()) {
    // Reported as a rejected input is, so a caller checking ok() learns it.
    std::u16string input = Utf8ToUni(phrase);
    TrimBlanksW(input);
    t.status = TConjStatus::cs_error;
    t.input = input;
    t.message = Utf8ToUni(problem);
  } else {
    t = ConjugatePhrase(Utf8ToUni(phrase), EngineOrtho(orthography), TConjScope::data);
  }
  Conjugation c;
  c.json_ = ConjugationJson(t);
  c.input = UniToUtf8(t.input);
  c.orthography = orthography;
  if (t.status == TConjStatus::cs_empty || t.status == TConjStatus::cs_error) {
    c.error = UniToUtf8(t.message);
    return c;
  }
  c.decided = t.status == TConjStatus::cs_ok;
  for (std::size_t i = 0; i < t.readings.size(); ++i)
    c.readings.push_back({UniToUtf8(t.readings[i].phrase), i == 0, UniToUtf8(t.readings[i].gloss)});
  const TConjAnalysis& a = t.analysis;
  c.analysis.infinitive = Plain(a.infinitive);
  c.analysis.phrase = UniToUtf8(a.phraseWords);
  c.analysis.separablePrefix = UniToUtf8(a.separablePrefix);
  c.analysis.inseparablePrefix = UniToUtf8(a.inseparablePrefix);
  c.analysis.reflexive = a.reflexive;
  c.analysis.reflexiveOptional = a.reflexiveOptional;
  c.analysis.reflexiveDative = a.reflexive && a.reflexiveCase == u'D';
  c.analysis.impersonal = a.impersonal;
  c.analysis.pluralOnly = a.pluralOnly;
  c.analysis.conjugation = UniToUtf8(a.conjugation);
  c.analysis.auxiliary = ToAuxiliary(a.auxiliary);
  c.analysis.meaningDifferences = a.meaningDifferences;
  c.meaningNote = UniToUtf8(t.meaningNote);
  for (int i = 0; i < kNonFiniteForms; ++i)
    c.nonFinite[i] = ToForm(t.nonFiniteForms[i], t.stressMarked);
  for (int k = 0; k < kConjTenses; ++k)
    for (int p = 0; p < 6; ++p) {
      const TConjRow& row = t.tenses[k].rows[p];
      PersonForms& out = c.tenses[k][p];
      out.person = p + 1;
      out.pronoun = UniToUtf8(row.pronoun);
      if (row.dash) continue;
      out.main = ToForm(row.mainForm, t.stressMarked);
      out.sub = ToForm(row.subForm, t.stressMarked);
    }
  return c;
}

std::string ToJson(const Conjugation& conjugation) {
  return conjugation.json_;
}

LookupResult Lookup(std::string_view form, Orthography orthography) {
  LookupResult out;
  TLookupResult r;
  if (const std::string problem = ResolveLists(); !problem.empty()) {
    r.input = Utf8ToUni(form);
    TrimBlanksW(r.input);
    r.error = Utf8ToUni(problem);
  } else {
    r = ::LookupForm(Utf8ToUni(form), EngineOrtho(orthography));
  }
  out.input = UniToUtf8(r.input);
  out.error = UniToUtf8(r.error);
  out.json_ = LookupResultJson(r);
  for (const TLookupHit& h : r.hits) {
    LookupVerb v;
    v.infinitive = UniToUtf8(h.infinitive);
    v.listed = h.listed;
    for (const TLookupForm& f : h.forms) {
      LookupForm o;
      o.tense = std::string(LookupTenseKey(f.tense));
      if (f.person > 0) o.mood = f.konjunktiv ? "konjunktiv" : "indikativ";
      o.person = f.person;
      if (f.person > 0 || f.tense == TLookupTense::imperativ)
        o.number = f.plural ? "plural" : "singular";
      o.subordinate = f.subordinate;
      o.passive = f.passive;
      o.text = UniToUtf8(f.shown);
      v.forms.push_back(std::move(o));
    }
    out.verbs.push_back(std::move(v));
  }
  return out;
}

std::string ToJson(const LookupResult& result) {
  return result.json_;
}

}  // namespace beugwerk
