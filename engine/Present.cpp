// SPDX-License-Identifier: MIT
// Präsens and Imperativ of the analysed verb.
#include <utility>

#include "common/_ZT_cmn_A.h"
#include "engine/Endings.h"
#include "engine/EngineText.h"
#include "engine/VerbTables.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbFrame.h"

namespace {

using verb_tables::ImperativeAlternative;

// stem without its last n letters, then tail (sei -> bin, werd -> wird).
void ReplaceTail(std::string& s, std::size_t n, std::string_view tail) {
  s.resize(s.size() - std::min(n, s.size()));
  s.append(tail);
}

// The imperative row of this kind for the stem (WithE: the whole stem, else its end).
const verb_tables::ImperativeStem* FindImperativeStem(ImperativeAlternative kind,
                                                      std::string_view stem) {
  for (const auto& r : verb_tables::kImperativeStems) {
    if (r.alternative != kind) continue;
    if (kind == ImperativeAlternative::WithE ? stem == r.stem : stem.ends_with(r.stem)) return &r;
  }
  return nullptr;
}
}  // namespace

// Regular Präsens of one person. S leaves with the e-elision and ß/ss change that the irregular
// formation builds on; Form2 may receive the alternative of an -eln/-ern verb.
std::string TVerbGen::RegularPraesens(int person, std::string& S, bool lang) {
  bool elnErn = _eln || _ern;
  if (person == 1 && _eln != _ern) {
    Form2 = S;
    ElideStemE(_eln ? S : Form2);  // -eln: sammle (sammele); -ern: wandere (wandre)
    Form2 = ReduceTripleLetters(Form2 + "e");
  }
  TEnding E = PresentEnding(person, S, false, elnErn);
  if (person == 1 && _eln && _ern && E.ends_with('e')) E.pop_back();  // ich schlumperl
  AdjustSharpS(S, static_cast<char>(FirstChar(E)), lang);
  std::string F = S;
  MarkVowelLength(F, lang);
  AppendBareEnding(F, E, lang);
  ReduceTripleLettersIn(F);
  return F;
}

// Persons 2 and 3 with the vowel (and ending token) of the entry's Präsens slot.
void TVerbGen::IrregularPraesens23(int person, std::string& S, bool& lang) {
  const unRegRec& U = *unRegel;
  bool elnErn = _eln || _ern;
  bool modal = IsModalStem(S);
  lang = U.ablautLang[3];
  std::string S2 = S;
  ReplaceStemVowel(S, U.ablaut[3], U.ablautLang[3]);
  MarkVowelLength(S, U.ablautLang[3]);
  if (!U.ablaut2[3].empty()) {
    ReplaceStemVowel(S2, U.ablaut2[3], U.ablautlang2[3]);
    MarkVowelLength(S2, U.ablautlang2[3]);
    AppendBareEnding(S2, PresentEnding(person, S2, U.ablaut2[3] != stammvokal, elnErn),
                     U.ablautlang2[3]);
    Form2 = S2;
  }
  if (modal && person == 3) {
    AppendEnding(S, "-", lang);  // er kann, er weiß
    return;
  }
  AppendEnding(S, U.endung[3], lang);
  // A changed vowel takes no linking e: hältst, hält, rät, lädt.
  AppendBareEnding(S, PresentEnding(person, S, U.ablaut[3] != stammvokal, elnErn), lang);
}

std::string TVerbGen::IrregularPraesens(int person, std::string S, bool lang) {
  const unRegRec& U = *unRegel;
  bool elnErn = _eln || _ern;
  const auto* row = verb_tables::FindByEnd(verb_tables::kPresentStems, S);
  const std::string_view form =
      row != nullptr ? row->forms[static_cast<std::size_t>(person - 1)] : std::string_view();
  if (person == 1 && IsModalStem(S)) {
    if (U.ablaut[3] != stammvokal) {
      lang = U.ablautLang[3];
      ReplaceStemVowel(S, U.ablaut[3], lang);
    }
    AppendEnding(S, "-", lang);  // kann, darf, mag, muss, will, weiß, soll
  } else if (!form.empty()) {
    if (person == 1) S = stamm;  // ich bin
    ReplaceTail(S, row->stem.size(), form);
  } else if (person == 1) {
    AppendBareEnding(S, PresentEnding(1, S, false, elnErn), lang);
  } else if (person <= 3) {
    IrregularPraesens23(person, S, lang);
  } else {
    MarkVowelLength(S, lang);
    AppendBareEnding(S, PresentEnding(person, S, false, elnErn), lang);
  }
  ReduceTripleLettersIn(S);
  return S;
}

std::string TVerbGen::BuildPraesens(int person, bool Nebensatzform) {
  Form2.clear();
  if (stamm.empty() || person < 1 || person > 6) return "-";
  std::string R = refPartikel(person);
  if (personblocked(person)) return "-";
  std::string S = stamm;
  bool lang = stammvokalLang;
  std::string F;
  const unRegRec* U = unRegel;
  if (!U || (U->auchregel && !regelsperre)) {
    F = RegularPraesens(person, S, lang);
    if (U) {
      Form2 = std::move(F);  // the regular form becomes the alternative
      F = IrregularPraesens(person, S, lang);
    }
  } else {
    F = IrregularPraesens(person, S, lang);
  }
  if (U && !Form2.empty()) {
    if (F.find(Form2) != std::string::npos)
      Form2.clear();
    else if (U->regelBesser && !regelsperre)
      std::swap(F, Form2);
  }
  return FinishClause(F, Nebensatzform, [&](std::string& f, bool nebensatz) {
    PlacePrefixAndReflexive(f, nebensatz, R);
    FinishAlternative(nebensatz);
    AdaptStressMarker(f);
  });
}

// An imperative: stem, "e" or nothing, the reflexive pronoun and the separated particle.
static std::string ImperativeForm(std::string_view stem, std::string_view mid, std::string_view R,
                                  std::string_view T) {
  std::string f(stem);
  f += mid;
  f += R;
  f += T;
  return f;
}

// The e/i imperative of a strong verb: gib, lies, nimm, tritt, hilf, sieh (siehe).
std::string TVerbGen::EiImperative(std::string S, std::string_view R, std::string_view T) {
  const unRegRec& U = *unRegel;
  auto with = [&](std::string_view s, std::string_view mid) {
    return ImperativeForm(s, mid, R, T);
  };
  if (FindImperativeStem(ImperativeAlternative::KeepsVowel, S) != nullptr) {
    Form2 = with(S, "e");  // werd (werde)
  } else {
    ReplaceStemVowel(S, U.ablaut[3], U.ablautLang[3]);
    if (const auto* row = FindImperativeStem(ImperativeAlternative::OldVowelTail, S)) {
      Form2 = S.substr(0, S.size() - row->cut);  // birst (berste), without pronoun
      Form2 += row->tail;
      Form2 += T;
    } else {
      AppendEnding(S, U.endung[3], U.ablaut[3].size() > 1);
      if (FindImperativeStem(ImperativeAlternative::WithE, stamm) != nullptr)
        Form2 = with(S, "e");  // sieh (siehe)
    }
  }
  if (FOrthoTyp == AltOrtho) AdjustSharpS(S, ' ', false);  // iß
  std::string result = with(S, "");
  if (U.auchregel && !regelsperre) {
    Form2 = with(stamm, "e");
    if (U.regelBesser) std::swap(result, Form2);
  }
  return result;
}

// The imperative singular from the stem: mache (mach), sammle (sammele), atme.
std::string TVerbGen::RegularImperative(std::string S, std::string_view R, std::string_view T) {
  auto with = [&](std::string_view s, std::string_view mid) {
    return ImperativeForm(s, mid, R, T);
  };
  if (_eln != _ern) {
    Form2 = S;
    ElideStemE(_ern ? Form2 : S);
    Form2 = with(Form2, "e");
    return with(S, "e");
  }
  if (_eln) return with(S, "");               // -erln: schlumperl
  if (S.ends_with("ie")) return with(S, "");  // knie: the ie takes no second e
  std::string result = with(S, "e");
  const verb_tables::ModalStem* modal = verb_tables::FindByEnd(verb_tables::kModalStems, S);
  bool modalLike = modal != nullptr && modal->hasImperative;
  // -ig keeps its e (reinige), except after e (zeig).
  bool igStem = S.ends_with("ig") && !(S.size() >= 3 && S[S.size() - 3] == 'e');
  if (!modalLike && !igStem && !ShortImperativeBlocked(S)) {
    if (FOrthoTyp == AltOrtho) AdjustSharpS(S, ' ', false);  // laß
    Form2 = with(S, "");
  }
  return result;
}

std::string TVerbGen::BuildImperativ(int nr) {
  if (nr == 2) return BuildPraesens(5, false);  // kommt an, wascht euch
  Form2.clear();
  if (nr != 1 || stamm.empty()) return "-";
  std::string R = refPartikel(2);
  if (FNurPlural || ESverb || (FUnterdrueckteFormen & FiniteFormsAndImperatives)) return "-";
  std::string S = ReduceTripleLetters(stamm);
  for (const auto& fixed : verb_tables::kFixedImperatives) {
    if (S == fixed.stem) {
      Form2 = fixed.alternative;
      return std::string(fixed.form);
    }
  }
  if (const verb_tables::ModalStem* modal = verb_tables::FindByEnd(verb_tables::kModalStems, S);
      modal != nullptr && !modal->hasImperative)
    return "-";
  std::string T;
  if (const std::string& particle = SeparatedParticle(); !particle.empty() && !unPrefixed)
    T = " " + particle;
  std::string result;
  // e and ö stems with i in the Präsens: gib, lies; erlisch, verlisch.
  if (unRegel && (stammvokal == "e" || stammvokal == "ö"_latin1) &&
      unRegel->ablaut[3].starts_with('i'))
    result = EiImperative(S, R, T);
  else if (unRegel && S.ends_with("sei"))
    result = S + R + T;  // sei
  else
    result = RegularImperative(S, R, T);
  AdaptStressMarker(result);
  if (!Form2.empty()) AdaptStressMarker(Form2);
  return result;
}

std::string TVerbGen::PraesensA(int person, bool Nebensatzform) {
  return Framed([&] { return BuildPraesens(person, Nebensatzform); });
}

std::u16string TVerbGen::Praesens(int person, bool Nebensatzform) {
  return Latin1ToUni(PraesensA(person, Nebensatzform));
}

std::string TVerbGen::ImperativA(int nr) {
  return Framed([&] { return BuildImperativ(nr); });
}

std::u16string TVerbGen::Imperativ(int nr) {
  return Latin1ToUni(ImperativA(nr));
}
