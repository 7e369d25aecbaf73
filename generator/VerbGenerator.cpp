// SPDX-License-Identifier: MIT
// The conjugation of one phrase as a TConjTable: simple forms from the verb object, compound
// tenses assembled word by word from pronoun, auxiliary, reflexive pronoun and participle or
// infinitive.
#include "generator/VerbGenerator.h"

#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/Syllables.h"

namespace {

constexpr std::u16string_view kWenn = u"wenn ";
constexpr std::u16string_view kAls = u"als ";
constexpr std::u16string_view kAlsOb = u"als ob ";

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
bool IsBareForm(const std::u16string& form) {
  return form.empty() || form == u"-";
}

void StripSich(std::u16string& form) {
  if (BeginsWithW(u"sich ", form)) form.erase(0, 5);
}

}  // namespace

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

void TVerbGenerator::SimpleRow(TConjRow& row, TFormen f, std::u16string_view conj,
                               bool indicative) {
  row.main = Verb.getForm(f, u"MP");
  // A blocked impersonal form has no subordinate clause at all; the subjunctives show
  // whatever the engine gives.
  if (indicative && Verb.EsVerbBlocked(f)) {
    row.sub = u"-";
    return;
  }
  row.sub = Verb.getForm(f, u"MPN");
  if (!IsBareForm(row.sub)) row.conj = conj;
}

void TVerbGenerator::CompoundRow(TConjRow& row, int tense, TFormen f, const std::u16string& p2,
                                 const std::u16string& inf1) {
  const std::u16string pron = Verb.getPersPronF(f);
  const std::u16string refl = Verb.refPartikel(f);
  const std::u16string blank = u" ";
  switch (tense) {
    case tPerfekt:
    case tPlusquam:
      row.main = WrapForm(pron + blank + VerbHabenSein.getForm(f, u"M") + blank + refl, p2, u"");
      row.sub = WrapForm(pron + blank + refl, p2, blank + VerbHabenSein.getForm(f, u"MN"));
      if (!IsBareForm(p2)) row.conj = kAls;
      break;
    case tFutur1: {
      const std::u16string w = VerbWerden.getForm(f, u"M");
      row.main = pron + blank + w + refl + blank + inf1;
      row.sub = WrapForm(pron + refl + blank, inf1, blank + w);
      if (!IsBareForm(inf1)) row.conj = kWenn;
      break;
    }
    default: {  // Futur II
      const std::u16string w = VerbWerden.getForm(f, u"M");
      row.main = pron + blank +
                 WrapForm(w + blank + refl, p2, blank + VerbHabenSein.getForm(InfinitivI, u"M"));
      row.sub = WrapForm(pron + blank + refl, p2,
                         blank + VerbHabenSein.getForm(InfinitivI, u"") + blank + w);
      if (!IsBareForm(p2)) row.conj = kWenn;
      break;
    }
  }
}

TConjTable TVerbGenerator::Conjugate(const std::u16string& InfinitivPhrase) {
  TConjTable t;
  Verb.ErrMsg.clear();
  std::u16string phrase = InfinitivPhrase;
  TrimBlanksW(phrase);
  if (phrase.empty()) {
    t.status = TConjStatus::cs_empty;
    t.message = u"Geben Sie bitte einen Verbinfinitiv ein!";
    return t;
  }
  const bool decided = Verb.newVerb(phrase, unsp);
  if (!Verb.ErrMsg.empty()) {
    t.status = TConjStatus::cs_error;
    t.message = Verb.ErrMsg;
    return t;
  }
  t.status = decided ? TConjStatus::cs_ok : TConjStatus::cs_undecided;
  if (!decided) {
    t.message = u"nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!";
    t.readings = PrefixReadings(phrase, Verb.OrthoTyp());
  }

  std::u16string p2 = Verb.getForm(PartizipII, u"M");
  std::u16string inf1 = Verb.getForm(InfinitivI, u"M");
  t.nonFinite = {inf1,
                 Verb.getForm(InfinitivII, u"M"),
                 Verb.getForm(PartizipI, u"M"),
                 p2,
                 EinanderStandsAlone(Verb.infin)
                     ? std::u16string(u"-")  // no "hilf dir einander"
                     : WrapForm(u"", Verb.getForm(ImperativS, u"M"), u"!"),
                 WrapForm(u"", Verb.getForm(ImperativP, u"M"), u"!")};
  // The compound tenses place the reflexive pronoun by person (refPartikel), so the "sich" of
  // the non-finite forms goes.
  StripSich(p2);
  StripSich(inf1);
  t.hintHtml = Verb.HabenSeinHint();

  for (int k = 0; k < kConjTenses; ++k) {
    TConjTense& tense = t.tenses[k];
    tense.name = kTenses[k].name;
    tense.auxHint = kTenses[k].auxHint && !t.hintHtml.empty();
    const bool compound = k >= tPerfekt && k <= tFutur2;
    for (int p = 0; p < 6; ++p) {
      const TFormen f = static_cast<TFormen>(kTenses[k].first + p);
      TConjRow& row = tense.rows[p];
      if (DashRow(f, compound)) {
        row.dash = true;
        row.main = row.sub = u"-";
      } else if (compound) {
        CompoundRow(row, k, f, p2, inf1);
      } else {
        const bool indicative = k < tPerfekt;
        SimpleRow(row, f, k == tPraesens ? kWenn : indicative ? kAls : kAlsOb, indicative);
      }
    }
  }

  if (Verb.hasMeaningDifferences())
    t.meaningNote = Verb.ohneUnterschiedMeldung ? u"evtl. nicht alle Formen sinnvoll"
                                                : u"mit Bedeutungsunterschieden!";
  return t;
}

void TVerbGenerator::Formen(const std::u16string& InfinitivPhrase, std::u16string& Msg,
                            std::u16string& s1, std::u16string& s2) {
  Msg.clear();
  s1.clear();
  s2.clear();
  ConjTableHtml(Conjugate(InfinitivPhrase), Msg, s1, s2);
}

TConjTable ConjugatePhrase(const std::u16string& phrase, TOrthoTyp ortho) {
  TVerbGenerator g;
  g.Verb.SetOrthoTyp(ortho);
  g.Verb.newVerb(phrase, unsp);
  g.VerbHabenSein.newVerb(g.Verb.FHabsei);
  return g.Conjugate(phrase);
}
