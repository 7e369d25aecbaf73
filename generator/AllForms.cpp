// SPDX-License-Identifier: MIT
// The blocks beyond the table of eight tenses: the past and future tenses of both subjunctives,
// assembled as the compound tenses of the table are; the imperative for wir and Sie; the perfect
// infinitives; and the passive (Vorgangspassiv with werden, Zustandspassiv with sein) or the
// reason why a verb has none.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/TableParts.h"
#include "generator/VerbGenerator.h"

using namespace table_parts;

namespace {

constexpr std::u16string_view kBlank = u" ";

struct TMoreTenseInfo {
  std::u16string_view name;
  TFormen first;  // the auxiliary's person forms ich .. sie from here
  TCompoundKind kind;
  bool auxHint;  // the heading carries the "haben oder sein?" hint when the verb needs it
};

constexpr TMoreTenseInfo kMore[kMoreTenses] = {
    {u"Konjunktiv I Perfekt", KonjPraes1S, ck_perfect, true},
    {u"Konjunktiv I Futur I", KonjPraes1S, ck_future1, false},
    {u"Konjunktiv I Futur II", KonjPraes1S, ck_future2, true},
    {u"Konjunktiv II Plusquamperfekt", KonjPraet1S, ck_perfect, true},
    {u"Konjunktiv II Futur I (würde-Form)", KonjPraet1S, ck_future1, false},
    {u"Konjunktiv II Futur II", KonjPraet1S, ck_future2, true}};

// One passive tense: the auxiliary (werden, or sein) in the person forms from `first`, the
// participle, then the words that close the verb cluster ("worden", "worden sein").
struct TPassiveTenseInfo {
  std::u16string_view name;
  bool sein;
  TFormen first;
  std::u16string_view tail;
  std::u16string_view conj;
};

constexpr TPassiveTenseInfo kVorgang[kVorgangTenses] = {
    {u"Präsens", false, IndikPraes1S, u"", kWenn},
    {u"Präteritum", false, IndikPraet1S, u"", kAls},
    {u"Perfekt", true, IndikPraes1S, u"worden", kAls},
    {u"Plusquamperfekt", true, IndikPraet1S, u"worden", kAls},
    {u"Futur I", false, IndikPraes1S, u"werden", kWenn},
    {u"Futur II", false, IndikPraes1S, u"worden sein", kWenn},
    {u"Konjunktiv I", false, KonjPraes1S, u"", kAlsOb},
    {u"Konjunktiv II", false, KonjPraet1S, u"", kAlsOb},
    {u"Konjunktiv I Perfekt", true, KonjPraes1S, u"worden", kAlsOb},
    {u"Konjunktiv I Futur I", false, KonjPraes1S, u"werden", kAlsOb},
    {u"Konjunktiv I Futur II", false, KonjPraes1S, u"worden sein", kAlsOb},
    {u"Konjunktiv II Plusquamperfekt", true, KonjPraet1S, u"worden", kAlsOb},
    {u"Konjunktiv II Futur I (würde-Form)", false, KonjPraet1S, u"werden", kAlsOb},
    {u"Konjunktiv II Futur II", false, KonjPraet1S, u"worden sein", kAlsOb}};

constexpr TPassiveTenseInfo kZustand[kZustandTenses] = {
    {u"Präsens", true, IndikPraes1S, u"", kWenn},
    {u"Präteritum", true, IndikPraet1S, u"", kAls},
    {u"Perfekt", true, IndikPraes1S, u"gewesen", kAls},
    {u"Plusquamperfekt", true, IndikPraet1S, u"gewesen", kAls},
    {u"Futur I", false, IndikPraes1S, u"sein", kWenn},
    {u"Futur II", false, IndikPraes1S, u"gewesen sein", kWenn},
    {u"Konjunktiv I", true, KonjPraes1S, u"", kAlsOb},
    {u"Konjunktiv II", true, KonjPraet1S, u"", kAlsOb}};

constexpr std::u16string_view kPassiveNote =
    u"Das persönliche Passiv setzt eine transitive Verwendung voraus; intransitiv gebraucht "
    u"bildet ein Verb nur das unpersönliche Passiv (es wird getanzt).";

constexpr std::u16string_view kModals[] = {u"dürfen", u"können", u"mögen",
                                           u"müssen", u"sollen", u"wollen"};

bool IsModal(std::u16string_view verb) {
  return std::find(std::begin(kModals), std::end(kModals), verb) != std::end(kModals);
}

// The verb of the phrase as written in the infinitive, without stress marks: "können" of
// "lesen können".
std::u16string VerbWord(const std::string& infin) {
  std::u16string w = Latin1ToUni(std::string_view(infin).substr(infin.rfind(' ') + 1));
  std::erase_if(w, [](char16_t c) { return c == u'\'' || c == u'`'; });
  return w;
}

// Why a verb gets no passive, or empty when it gets one. The personal passive needs a verb
// used transitively; what the analysis can tell is what rules it out.
std::u16string_view NoPassiveReason(const TConjTable& t, std::u16string_view verb) {
  const TConjAnalysis& a = t.analysis;
  if (IsBareForm(t.nonFiniteForms[3].form)) return u"Ohne Partizip II gibt es kein Passiv.";
  if (verb == u"haben" || verb == u"sein" || verb == u"werden")
    return u"Die Hilfsverben haben, sein und werden bilden kein Passiv.";
  if (IsModal(verb)) return u"Modalverben bilden kein Passiv.";
  if (a.reflexive) return u"Reflexive Verben bilden kein Passiv.";
  if (a.impersonal) return u"Unpersönliche Verben (es regnet) bilden kein Passiv.";
  if (a.pluralOnly) return u"Verben, deren Subjekt nur im Plural steht, bilden hier kein Passiv.";
  if (!a.phraseWords.empty())
    return u"Zu einer Phrase mit Objekt oder Ergänzung wird kein Passiv gebildet.";
  // An undecided auxiliary may be haben: the passive is shown, as both auxiliaries are.
  if (a.auxiliary == sein) return u"Verben mit dem Hilfsverb sein bilden kein Passiv.";
  return {};
}

// The finite verb leads a main-clause form; the pronoun of the imperative follows it: "ziehen
// uns an" gives "ziehen wir uns an".
std::u16string AfterFirstWord(std::u16string_view form, std::u16string_view pronoun) {
  const std::size_t blank = std::min(form.find(u' '), form.size());
  return Join({form.substr(0, blank), kBlank, pronoun, form.substr(blank)});
}

TConjForm Imperative(const TConjForm& konjunktiv, std::u16string_view pronoun) {
  TConjForm r;
  r.form = AfterFirstWord(konjunktiv.form, pronoun);
  const std::vector<std::u16string> alternatives = Alternatives(konjunktiv);
  for (std::size_t i = 0; i < alternatives.size(); ++i) {
    if (i > 0) r.alt += u',';
    r.alt += AfterFirstWord(alternatives[i], pronoun);
  }
  return r;
}

// "zu" before the last verb of a cluster: "lesen können" gives "lesen zu können".
std::u16string WithZu(std::u16string_view cluster) {
  const std::size_t last = cluster.rfind(u' ') + 1;
  return Join({cluster.substr(0, last), u"zu ", cluster.substr(last)});
}

// TVerbHabenSein does not tell its choice; its infinitive shows it ("sein?/haben?" undecided,
// "sein/haben" both).
habseityp ChoiceShownBy(std::u16string_view infinitive) {
  if (infinitive.ends_with(u'?')) return unspe;
  if (infinitive.find(u'/') != infinitive.npos) return habensein;
  return infinitive == u"sein" ? sein : haben;
}

// A passive spelling: the words that are not empty, one blank between them, in one string.
std::u16string PassiveSpelling(std::initializer_list<std::u16string_view> words) {
  std::size_t size = 0;
  for (std::u16string_view w : words) size += w.empty() ? 0 : w.size() + 1;
  std::u16string r(size - (size > 0), u' ');
  char16_t* out = r.data();
  for (std::u16string_view w : words) {
    if (w.empty()) continue;
    if (out != r.data()) ++out;  // the blank is there already
    out = std::copy(w.begin(), w.end(), out);
  }
  return r;
}

}  // namespace

std::shared_ptr<const TConjAllForms> TVerbGenerator::AllForms(const TConjTable& t,
                                                              TCompoundBasis& basis) {
  auto all = std::make_shared<TConjAllForms>();
  for (int k = 0; k < kMoreTenses; ++k) {
    TConjTense& tense = all->tenses[k];
    tense.name = kMore[k].name;
    tense.auxHint = kMore[k].auxHint && !t.hintHtml.empty();
    // The subjunctive auxiliaries have alternatives of their own (wärest, wärst).
    const TCompoundSpec spec{kMore[k].kind, kAlsOb, true};
    for (int p = 0; p < 6; ++p) {
      const TFormen f = static_cast<TFormen>(kMore[k].first + p);
      TConjRow& row = tense.rows[p];
      const std::u16string pron = Verb.getPersPronF(f);
      row.pronoun = pron;
      TrimTrailing(row.pronoun);
      if (DashRow(f, true)) {
        row.dash = true;
        row.main = row.sub = u"-";
      } else {
        CompoundRow(row, spec, f, pron, basis);
      }
    }
  }
  MoreNonFinite(t, *all, basis);
  const std::u16string_view reason = NoPassiveReason(t, VerbWord(Verb.infin));
  all->hasPassive = reason.empty();
  all->passiveNote = all->hasPassive ? kPassiveNote : reason;
  if (all->hasPassive) BuildPassive(all->passive, basis);
  return all;
}

void TVerbGenerator::MoreNonFinite(const TConjTable& t, TConjAllForms& all, TCompoundBasis& basis) {
  // wir and Sie take the Konjunktiv I form with the pronoun after the verb (seien wir, lesen
  // Sie). A verb without imperative has none of them, nor has a modal verb.
  const bool imperative = !IsBareForm(t.nonFiniteForms[5].form) && !IsModal(VerbWord(Verb.infin));
  all.nonFinite[2] = all.nonFinite[3] = u"-";
  constexpr std::u16string_view kPronouns[2] = {u"wir", u"Sie"};
  for (int i = 0; i < 2; ++i) {
    const TConjRow& row = t.tenses[6].rows[i == 0 ? 3 : 5];
    TConjForm& out = all.nonFiniteForms[i];
    if (imperative && !row.dash && !IsBareForm(row.mainForm.form))
      out = Imperative(row.mainForm, kPronouns[i]);
    all.nonFinite[i] = WrapForm(u"", Shown(out, u""), u"!");
  }

  // Infinitiv Perfekt: participle and the auxiliary's infinitive, the infinitive's "sich"
  // before both; an Ersatzinfinitiv puts the auxiliary before the verb cluster (haben lesen
  // können, haben lesen zu können).
  if (IsBareForm(basis.p2Form.form)) return;
  if (!basis.habenSeinInf) {
    basis.habenSeinInf = VerbHabenSein.getForm(InfinitivI, u"");
    basis.habenSeinInfM = VerbHabenSein.getForm(InfinitivI, u"M");
  }
  const std::u16string hsZu = VerbHabenSein.getForm(InfinitivII, u"");
  const std::u16string& inf = t.nonFiniteForms[0].form;
  std::u16string stripped = inf;
  StripSich(stripped);
  const std::u16string_view sich = std::u16string_view(inf).substr(0, inf.size() - stripped.size());
  const std::vector<std::u16string_view> aux = AuxWords(*basis.habenSeinInf);
  const std::vector<std::u16string_view> auxZu = AuxWords(hsZu);
  std::u16string_view before, cluster;
  for (int zu = 0; zu < 2; ++zu) {
    TSpellings data;
    bool clustered = false;
    for (std::size_t j = 0; j < aux.size() && j < auxZu.size(); ++j)
      for (std::u16string_view b : basis.p2Spellings) {
        if (basis.ersatz && SplitVerbCluster(b, basis.inf1, before, cluster)) {
          clustered = true;
          data.Add(zu ? Collapsed({sich, before, aux[j], kBlank, WithZu(cluster)})
                      : Collapsed({sich, before, aux[j], kBlank, cluster}));
        } else {
          data.Add(Collapsed({sich, b, kBlank, zu ? auxZu[j] : aux[j]}));
        }
      }
    if (data.empty()) continue;
    all.nonFinite[2 + zu] =
        clustered ? data.Cell(u"")
                  : Join({sich, basis.p2, kBlank,
                          zu ? VerbHabenSein.getForm(InfinitivII, u"M") : *basis.habenSeinInfM});
    all.nonFiniteForms[2 + zu] = std::move(data.form());
  }
}

void TVerbGenerator::BuildPassive(TConjPassive& passive, TCompoundBasis& basis) {
  // sein of every finite form, whatever auxiliary the verb's own perfect takes: the choice of
  // VerbHabenSein is switched for the fetch and set back. Each auxiliary form is taken apart
  // into its words once, not once per tense.
  if (!basis.habenSeinInf) basis.habenSeinInf = VerbHabenSein.getForm(InfinitivI, u"");
  const habseityp choice = ChoiceShownBy(*basis.habenSeinInf);
  constexpr int kFinite = 24;
  std::array<std::u16string, kFinite> seinForms;
  VerbHabenSein.newVerb(sein);
  for (int i = 0; i < kFinite; ++i)
    seinForms[i] = VerbHabenSein.getForm(static_cast<TFormen>(IndikPraes1S + i), u"M");
  VerbHabenSein.newVerb(choice);
  std::array<const std::u16string*, kFinite> werdenForms;
  for (int i = 0; i < kFinite; ++i)
    werdenForms[i] = &Werden(static_cast<TFormen>(IndikPraes1S + i), basis);
  // The data: each auxiliary word with each participle spelling, its blanks as shown.
  std::array<std::vector<std::u16string_view>, kFinite> seinWords, werdenWords;
  std::vector<std::u16string> participles;
  if (dataTwins_) {
    for (int i = 0; i < kFinite; ++i) {
      seinWords[i] = AuxWords(seinForms[i]);
      werdenWords[i] = AuxWords(*werdenForms[i]);
    }
    for (const std::u16string& b : basis.p2Spellings) participles.push_back(CollapseBlanks(b));
  }
  std::array<std::u16string, 6> pronouns;
  for (int p = 0; p < 6; ++p)
    pronouns[p] = Verb.getPersPronF(static_cast<TFormen>(IndikPraes1S + p));

  const auto tenses = [&](const TPassiveTenseInfo* info, TConjTense* out, int count) {
    for (int k = 0; k < count; ++k) {
      const TPassiveTenseInfo& x = info[k];
      out[k].name = x.name;
      const std::u16string_view sep = x.tail.empty() ? u"" : kBlank;
      for (int p = 0; p < 6; ++p) {
        const int i = x.first - IndikPraes1S + p;
        const std::u16string& aux = x.sein ? seinForms[i] : *werdenForms[i];
        const std::u16string& pron = pronouns[p];
        TConjRow& row = out[k].rows[p];
        row.pronoun = pron;
        TrimTrailing(row.pronoun);
        if (passiveCells_) {
          row.main = Join({pron, kBlank, aux, kBlank, basis.p2, sep, x.tail});
          row.sub = Join({pron, kBlank, basis.p2, sep, x.tail, kBlank, aux});
        }
        row.conj = x.conj;
        if (!dataTwins_) continue;
        TSpellings mainData, subData;
        for (std::u16string_view a : x.sein ? seinWords[i] : werdenWords[i])
          for (std::u16string_view b : participles) {
            mainData.Add(PassiveSpelling({a, b, x.tail}));
            subData.Add(PassiveSpelling({b, x.tail, a}));
          }
        row.mainForm = std::move(mainData.form());
        row.subForm = std::move(subData.form());
      }
    }
  };
  tenses(kVorgang, passive.vorgang.data(), kVorgangTenses);
  tenses(kZustand, passive.zustand.data(), kZustandTenses);

  constexpr std::u16string_view kInfinitiveTails[2] = {u"werden", u"worden sein"};
  for (int i = 0; i < 2; ++i) {
    TSpellings data;
    for (std::u16string_view b : participles) data.Add(PassiveSpelling({b, kInfinitiveTails[i]}));
    passive.infinitivesShown[i] = Join({basis.p2, kBlank, kInfinitiveTails[i]});
    passive.infinitives[i] = std::move(data.form());
  }
}
