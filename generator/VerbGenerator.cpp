// SPDX-License-Identifier: MIT
// The conjugation of one phrase as a TConjTable: simple forms from the verb object, compound
// tenses assembled word by word from pronoun, auxiliary, reflexive pronoun and participle or
// infinitive.
#include "generator/VerbGenerator.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/Syllables.h"
#include "generator/TableParts.h"

using namespace table_parts;

namespace {

enum TTense { tPraesens, tPraeteritum, tPerfekt, tPlusquam, tFutur1, tFutur2, tKonj1, tKonj2 };

struct TTenseInfo {
  std::u16string_view name;
  TFormen first;  // person forms ich .. sie from here
  bool auxHint;   // the heading may carry the "haben oder sein?" hint
};

constexpr TTenseInfo kTenses[kConjTenses] = {
    {u"Präsens", IndikPraes1S, false},     {u"Präteritum", IndikPraet1S, false},
    {u"Perfekt", IndikPraes1S, true},      {u"Plusquamperfekt", IndikPraet1S, true},
    {u"Futur I", IndikPraes1S, false},     {u"Futur II", IndikPraes1S, true},
    {u"Konjunktiv I", KonjPraes1S, false}, {u"Konjunktiv II", KonjPraet1S, false}};

// Perfekt, Plusquamperfekt, Futur I, Futur II.
constexpr TCompoundSpec kCompound[4] = {{ck_perfect, kAls, false},
                                        {ck_perfect, kAls, false},
                                        {ck_future1, kWenn, false},
                                        {ck_future2, kWenn, false}};

constexpr bool IsSingular(TFormen f) {
  return static_cast<int>(f) % 6 < 3;
}
// "sich einander helfen", "sich aneinander gewöhnen": a phrase word in einander asks for a
// plural subject, whatever the analysis decided; a verb particle does not (Steine
// aufeinanderlegen), nor do auseinander and durcheinander.
bool EinanderStandsAlone(std::string_view infin) {
  for (std::size_t blank = infin.find(' '); blank != std::string_view::npos;
       blank = infin.find(' ')) {
    if (IsReciprocalEinander(infin.substr(0, blank), std::string_view::npos)) return true;
    infin.remove_prefix(blank + 1);
  }
  return false;
}

std::u16string WithoutStressMarks(std::u16string s) {
  std::erase_if(s, [](char16_t c) { return c == u'\'' || c == u'`'; });
  return s;
}

// The inseparable prefix of the stem of a decided analysis whose participle takes no "ge": one of
// the inseparable prefixes, "miss"/"miß", or a doubly usable prefix read inseparably. A verb in
// -ieren whose rest still has two syllables is no prefixed verb ("erodieren", "generieren").
std::string InseparablePrefix(const TVerbGen& v) {
  if (v.GEpos > 0) return {};
  std::string stem = v.stamm;
  std::erase_if(stem, [](char c) { return IsStressMark(static_cast<unsigned char>(c)); });
  std::vector<std::string_view> words(prefix_words::kInseparable.begin(),
                                      prefix_words::kInseparable.end());
  words.push_back(prefix_words::kMissNew);
  words.push_back(prefix_words::kMissOld);
  for (std::string_view list = prefix_words::kDoubleUse; !list.empty();) {
    const std::size_t comma = list.find(',');
    words.push_back(list.substr(0, comma));
    list.remove_prefix(comma + 1);
  }
  for (std::string_view w : words) {
    if (!stem.starts_with(w) || stem.size() == w.size()) continue;
    const std::string_view rest = std::string_view(stem).substr(w.size());
    if (CountSyllables(rest, 255) < 1) continue;
    if (rest.ends_with("ier") && CountSyllables(rest, 255) > 1) continue;
    return std::string(w);
  }
  return {};
}

// Partizip II in -n: strong (gefahren, getan). In -t: weak when the past tense keeps the stem
// (sammelte), mixed when it changes it (brannte, dachte, hatte). Empty when there is none.
std::u16string_view ConjugationClass(const TConjForm& partizipII, const TConjTense& praeteritum,
                                     const TVerbGen& v) {
  const std::u16string p2 = WithoutStressMarks(partizipII.form);
  if (p2 == u"-" || p2.empty()) return {};
  if (p2.back() == u'n') return u"strong";
  const std::u16string stem = WithoutStressMarks(Latin1ToUni(v.stamm));
  for (const TConjRow& row : praeteritum.rows) {
    if (row.dash || row.mainForm.form == u"-") continue;
    const std::u16string form = WithoutStressMarks(row.mainForm.form);
    return form.substr(0, form.find(u' ')).starts_with(stem) ? u"weak" : u"mixed";
  }
  return u"weak";
}

}  // namespace

std::u16string CollapseBlanks(std::u16string_view s) {
  return Collapsed({s});
}

std::vector<std::u16string> Alternatives(const TConjForm& f) {
  std::vector<std::u16string> r;
  if (f.alt.empty()) return r;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = f.alt.find(u',', from);
    std::u16string a = f.alt.substr(from, comma == f.alt.npos ? f.alt.npos : comma - from);
    TrimTrailing(a);
    if (!a.empty()) r.push_back(std::move(a));
    if (comma == f.alt.npos) return r;
    from = comma + 1;
  }
}

TVerbGenerator::TVerbGenerator() {
  Verb.SetOnErrMsg([this](const std::u16string& m) { Verb.StoreErrMsg(m); });
  VerbWerden.newVerbA("werden", unsp);
}

TVerbGenerator::~TVerbGenerator() = default;

std::u16string TVerbGenerator::WrapForm(std::u16string_view prefix, const std::u16string& form,
                                        std::u16string_view suffix) {
  if (IsBareForm(form)) return form;
  std::u16string r(prefix);
  r += form;
  r += suffix;
  return r;
}

bool TVerbGenerator::DashRow(TFormen f, bool compound) const {
  // Plural-only verbs (aufeinandertreffen) and einander as a word; a particle with einander
  // alone does not decide (Steine aufeinanderlegen, sich auseinandersetzen).
  if (IsSingular(f) && (Verb.NurPlural() || EinanderStandsAlone(Verb.infin))) return true;
  return compound && Verb.EsVerbBlocked(f);
}

TConjForm TVerbGenerator::Fetch(TFormen f, std::u16string_view options) {
  TConjForm r;
  r.form = Verb.getForm(f, options);  // without "M": the alternative stays in Form2
  r.alt = Latin1ToUni(Verb.Form2);
  return r;
}

void TVerbGenerator::SimpleRow(TConjRow& row, TFormen f, const std::u16string& pron,
                               std::u16string_view conj, bool indicative) {
  row.mainForm = Fetch(f, u"");
  row.main = Shown(row.mainForm, pron);
  // A blocked impersonal form has no subordinate clause at all; the subjunctives show
  // whatever the engine gives.
  if (indicative && Verb.EsVerbBlocked(f)) {
    row.sub = u"-";
    return;
  }
  row.subForm = Fetch(f, u"N");
  row.sub = Shown(row.subForm, pron);
  if (!IsBareForm(row.sub)) row.conj = conj;
}

void TVerbGenerator::CompoundRow(TConjRow& row, const TCompoundSpec& spec, TFormen f,
                                 const std::u16string& pron, TCompoundBasis& basis) {
  const std::u16string refl = Verb.refPartikel(f);
  constexpr std::u16string_view blank = u" ";
  const std::u16string& p2 = basis.p2;
  const std::u16string& inf1 = basis.inf1;
  const bool ersatz = basis.ersatz;
  // The data spell out each auxiliary with each participle (or infinitive) spelling.
  TSpellings mainData, subData;
  const auto combine = [&](const std::vector<std::u16string_view>& aux, const TConjForm& form,
                           const std::vector<std::u16string>& spellings, auto&& main, auto&& sub) {
    // The page shows the cells only; an Ersatzinfinitiv's cells are made from the data.
    if (IsBareForm(form.form) || (!dataTwins_ && !ersatz)) return;
    for (std::u16string_view a : aux)
      for (std::u16string_view b : spellings) {
        mainData.Add(main(a, b));
        subData.Add(sub(a, b));
      }
  };
  std::u16string_view before, cluster;
  switch (spec.kind) {
    case ck_perfect: {
      std::string plainA, withAltA;  // "" and "M" differ only by the alternative: one build
      VerbHabenSein.MainFormsA(f, plainA, withAltA);
      const std::u16string hsM = Latin1ToUni(withAltA);
      // haben and sein have no particle: the subordinate clause takes the same form.
      const std::u16string& hsMN = hsM;
      row.main = Wrapped({pron, blank, hsM, blank, refl}, p2, {});
      row.sub = Wrapped({pron, blank, refl}, p2, {blank, hsMN});
      if (!IsBareForm(p2)) row.conj = spec.conj;
      const std::u16string aux = spec.auxAlternatives ? hsM : Latin1ToUni(plainA);
      combine(
          AuxWords(aux), basis.p2Form, basis.p2Spellings,
          [&](std::u16string_view a, std::u16string_view b) {
            return Collapsed({a, blank, refl, b});
          },
          [&](std::u16string_view a, std::u16string_view b) {
            if (ersatz && SplitVerbCluster(b, inf1, before, cluster))
              return Collapsed({refl, blank, before, a, blank, cluster});
            return Collapsed({refl, blank, b, blank, a});
          });
      if (ersatz && !subData.empty()) row.sub = subData.Cell(pron);
      break;
    }
    case ck_future1: {
      const std::u16string& w = Werden(f, basis);
      row.main = Join({pron, blank, w, refl, blank, inf1});
      row.sub = Wrapped({pron, refl, blank}, inf1, {blank, w});
      if (!IsBareForm(inf1)) row.conj = spec.conj;
      combine(
          AuxWords(w), basis.inf1Form, basis.inf1Spellings,
          [&](std::u16string_view a, std::u16string_view b) {
            return Collapsed({a, refl, blank, b});
          },
          [&](std::u16string_view a, std::u16string_view b) {
            return Collapsed({refl, blank, b, blank, a});
          });
      break;
    }
    case ck_future2: {
      const std::u16string& w = Werden(f, basis);
      if (!basis.habenSeinInf) {
        basis.habenSeinInf = VerbHabenSein.getForm(InfinitivI, u"");
        basis.habenSeinInfM = VerbHabenSein.getForm(InfinitivI, u"M");
      }
      const std::u16string& hs = *basis.habenSeinInf;
      row.main = Join({pron, blank, Wrapped({w, blank, refl}, p2, {blank, *basis.habenSeinInfM})});
      row.sub = Wrapped({pron, blank, refl}, p2, {blank, hs, blank, w});
      if (!IsBareForm(p2)) row.conj = spec.conj;
      // werden's own alternatives, if it had any, each with each haben/sein word.
      const std::vector<std::u16string_view> ws = AuxWords(w);
      for (std::u16string_view wv : ws)
        combine(
            AuxWords(hs), basis.p2Form, basis.p2Spellings,
            [&](std::u16string_view a, std::u16string_view b) {
              if (ersatz && SplitVerbCluster(b, inf1, before, cluster))
                return Collapsed({wv, blank, refl, before, a, blank, cluster});
              return Collapsed({wv, blank, refl, b, blank, a});
            },
            [&](std::u16string_view a, std::u16string_view b) {
              if (ersatz && SplitVerbCluster(b, inf1, before, cluster))
                return Collapsed({refl, blank, before, wv, blank, a, blank, cluster});
              return Collapsed({refl, blank, b, blank, a, blank, wv});
            });
      if (ersatz && !mainData.empty()) {
        row.main = mainData.Cell(pron);
        row.sub = subData.Cell(pron);
      }
      break;
    }
  }
  if (!mainData.empty()) {
    row.mainForm = std::move(mainData.form());
    row.subForm = std::move(subData.form());
  }
}

const std::u16string& TVerbGenerator::Werden(TFormen f, TCompoundBasis& basis) {
  // Futur I and II take werden of the same person: one engine call for both tenses.
  std::optional<std::u16string>& w = basis.werden[f - IndikPraes1S];
  if (!w) w = VerbWerden.getForm(f, u"M");
  return *w;
}

void TVerbGenerator::Analysis(TConjTable& t) {
  TConjAnalysis& a = t.analysis;
  a.infinitive = t.nonFiniteForms[0].form;
  const std::string& infin = Verb.infin;
  const std::size_t lastBlank = infin.rfind(' ');
  std::string phraseWords;
  if (lastBlank != std::string::npos) phraseWords = infin.substr(0, lastBlank);
  a.phraseWords = WithoutStressMarks(Latin1ToUni(phraseWords));
  std::string separable = Verb.praef;
  if (!phraseWords.empty() && separable.starts_with(phraseWords))
    separable.erase(0, phraseWords.size());
  TrimLeadingBlanks(separable);
  TrimTrailingBlanks(separable);
  a.separablePrefix = WithoutStressMarks(Latin1ToUni(separable));
  if (t.status == TConjStatus::cs_ok) a.inseparablePrefix = Latin1ToUni(InseparablePrefix(Verb));
  a.reflexive = Verb.refl;
  a.reflexiveOptional = Verb.refl && Verb.auchunrefl;
  a.reflexiveCase = Verb.refKasus == 'D' ? u'D' : u'A';
  a.impersonal = Verb.ESverb;
  a.pluralOnly = Verb.NurPlural() || EinanderStandsAlone(Verb.infin);
  a.conjugation = ConjugationClass(t.nonFiniteForms[3], t.tenses[tPraeteritum], Verb);
  a.auxiliary = Verb.habenSein();
}

TConjTable TVerbGenerator::Conjugate(const std::u16string& InfinitivPhrase, TOrthoTyp ortho,
                                     TConjScope scope) {
  return Build(InfinitivPhrase, ortho, nullptr, scope);
}

TConjTable TVerbGenerator::ConjugateWithAuxiliary(const std::u16string& InfinitivPhrase,
                                                  TOrthoTyp ortho, habseityp auxiliary,
                                                  TConjScope scope) {
  return Build(InfinitivPhrase, ortho, &auxiliary, scope);
}

TConjTable TVerbGenerator::Build(const std::u16string& InfinitivPhrase, TOrthoTyp ortho,
                                 const habseityp* auxiliary, TConjScope scope) {
  TConjTable t;
  Verb.SetOrthoTyp(ortho);
  Verb.ErrMsg.clear();
  std::u16string phrase = InfinitivPhrase;
  TrimBlanksW(phrase);
  if (phrase.empty()) {
    t.status = TConjStatus::cs_empty;
    t.message = u"Geben Sie bitte einen Verbinfinitiv ein!";
    return t;
  }
  t.input = phrase;
  t.ortho = Verb.OrthoTyp();
  t.stressMarked = phrase.find_first_of(u"'`") != phrase.npos ||
                   phrase.find(u"\\+") != phrase.npos || phrase.find(u"\\.") != phrase.npos;
  const bool decided = Verb.newVerb(phrase, unsp);
  VerbHabenSein.newVerb(auxiliary ? *auxiliary : Verb.FHabsei);
  if (!Verb.ErrMsg.empty()) {
    t.status = TConjStatus::cs_error;
    t.message = Verb.ErrMsg;
    return t;
  }
  t.status = decided ? TConjStatus::cs_ok : TConjStatus::cs_undecided;
  if (Verb.infinitivBefund != IB_Infinitiv) {
    const std::string& infin = Verb.infin;
    const std::u16string word = Latin1ToUni(infin.substr(infin.rfind(' ') + 1));
    t.warning = NotInfinitiveMessage(WithoutStressMarks(word), Verb.infinitivBefund);
  }
  if (!decided) {
    t.message = u"nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!";
    t.readings = PrefixReadings(phrase, t.ortho, VerbReadings);
  }

  const TFormen nonFinite[kNonFiniteForms] = {InfinitivI, InfinitivII, PartizipI,
                                              PartizipII, ImperativS,  ImperativP};
  for (int i = 0; i < kNonFiniteForms; ++i) {
    t.nonFiniteForms[i] = Fetch(nonFinite[i], u"");
    t.nonFinite[i] = Shown(t.nonFiniteForms[i], u"");
  }
  if (EinanderStandsAlone(Verb.infin)) t.nonFiniteForms[4] = {};  // no "hilf dir einander"
  t.nonFinite[4] = WrapForm(u"", Shown(t.nonFiniteForms[4], u""), u"!");
  t.nonFinite[5] = WrapForm(u"", t.nonFinite[5], u"!");
  std::u16string p2 = t.nonFinite[3];
  std::u16string inf1 = t.nonFinite[0];
  StripSich(p2);
  StripSich(inf1);
  TCompoundBasis basis(std::move(p2), std::move(inf1), t.nonFiniteForms[3], t.nonFiniteForms[0]);
  // Set by the participle just built; the further blocks are built after other forms.
  basis.ersatz = Verb.ersatzInfinitiv;
  t.hintHtml = Verb.HabenSeinHint();

  for (int k = 0; k < kConjTenses; ++k) {
    TConjTense& tense = t.tenses[k];
    tense.name = kTenses[k].name;
    tense.auxHint = kTenses[k].auxHint && !t.hintHtml.empty();
    const bool compound = k >= tPerfekt && k <= tFutur2;
    for (int p = 0; p < 6; ++p) {
      const TFormen f = static_cast<TFormen>(kTenses[k].first + p);
      TConjRow& row = tense.rows[p];
      const std::u16string pron = Verb.getPersPronF(f);  // the cells take it untrimmed
      row.pronoun = pron;
      TrimTrailing(row.pronoun);
      if (DashRow(f, compound)) {
        row.dash = true;
        row.main = row.sub = u"-";
      } else if (compound) {
        CompoundRow(row, kCompound[k - tPerfekt], f, pron, basis);
      } else {
        const bool indicative = k < tPerfekt;
        SimpleRow(row, f, pron, k == tPraesens ? kWenn : indicative ? kAls : kAlsOb, indicative);
      }
    }
  }

  Analysis(t);
  t.analysis.meaningDifferences = Verb.hasMeaningDifferences();
  if (t.analysis.meaningDifferences)
    t.meaningNote = Verb.ohneUnterschiedMeldung ? u"evtl. nicht alle Formen sinnvoll"
                                                : u"mit Bedeutungsunterschieden!";
  if (scope != TConjScope::table) {
    passiveCells_ = scope == TConjScope::allForms;
    t.all = AllForms(t, basis);
    passiveCells_ = true;
  }
  return t;
}

void TVerbGenerator::Formen(const std::u16string& InfinitivPhrase, std::u16string& Msg,
                            std::u16string& s1, std::u16string& s2) {
  Msg.clear();
  s1.clear();
  s2.clear();
  ConjTableHtml(Conjugate(InfinitivPhrase, Verb.OrthoTyp(), TConjScope::table), Msg, s1, s2);
}

std::u16string NotInfinitiveMessage(std::u16string_view word, TInfinitivBefund finding,
                                    std::u16string_view infinitive) {
  std::u16string text = u"\u201E";
  text += word;
  text += u"\u201C ";
  if (!infinitive.empty()) {
    text += u"ist kein Infinitiv, sondern eine Form von \u201E";
    text += infinitive;
    text += u"\u201C.";
  } else if (finding == IB_Partizip) {
    text += u"sieht nicht wie ein Infinitiv aus, sondern wie ein Partizip II.";
  } else {
    text += u"sieht nicht wie ein Infinitiv aus.";
  }
  return text;
}

TConjTable ConjugatePhrase(const std::u16string& phrase, TOrthoTyp ortho, TConjScope scope) {
  TVerbGenerator g;
  return g.Conjugate(phrase, ortho, scope);
}
