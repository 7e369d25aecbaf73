// SPDX-License-Identifier: MIT
// Präteritum, Konjunktiv I and Konjunktiv II, in main and subordinate clause order.
//
// The Präteritum and the Konjunktiv II build the weak form first; an exception entry then
// supplies the strong form from slot 1 (Präteritum) or slot 4 (Konjunktiv II), and the weak
// form survives as the alternative in Form2 only where the entry allows regular forms.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "common/_ZT_cmn_A.h"
#include "engine/Endings.h"
#include "engine/EngineText.h"
#include "engine/VerbTables.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbFrame.h"

namespace {
constexpr int kPastSlot = 1;
constexpr int kSubjIISlot = 4;
// Replaces oldLen letters at the 1-based position pos by text; a position beyond the end
// appends, a position before the first letter leaves the form alone.
void ReplaceAt(std::string& s, int pos, std::size_t oldLen, std::string_view text) {
  if (pos < 1) return;
  const std::size_t at = std::min(static_cast<std::size_t>(pos - 1), s.size());
  s.erase(at, oldLen);
  s.insert(at, text);
}
}  // namespace

// --- shared finish --------------------------------------------------------------------------

// An alternative equal to the main form is dropped; a preferred regular form moves to the front.
void TVerbGen::SettleAlternative(std::string& s) {
  if (Form2 == s) {
    Form2.clear();
  } else if (unRegel && unRegel->regelBesser && !regelsperre && !Form2.empty()) {
    // With an empty alternative the swap would leave no main form at all.
    std::swap(s, Form2);
  }
}

// --- Präteritum -----------------------------------------------------------------------------

// Builds the strong form of slot 1 into s (a copy of the stem). Form2 holds the weak form on
// entry and the alternative on exit; shortForm receives the short du-form (fandst) when the
// weak form already occupies Form2.
void TVerbGen::StrongPraeteritum(int person, std::string& s, std::string& shortForm) {
  const unRegRec& u = *unRegel;
  if (!u.auchregel || regelsperre) Form2.clear();
  const bool lang = u.ablautLang[kPastSlot];
  const std::string& vowel = u.ablaut[kPastSlot];
  const std::string& token = u.endung[kPastSlot];
  ReplaceStemVowel(s, vowel, lang);
  MarkVowelLength(s, lang);
  AppendEnding(s, token, lang);
  const TEnding ending = PastEnding(person, s, true);
  // The short du-form goes beside the long one (second, as after d and t); the weak form, when
  // the entry allows one, already holds Form2.
  auto keepShort = [&](std::string shortened) {
    ReduceTripleLettersIn(shortened);
    (Form2.empty() ? Form2 : shortForm) = std::move(shortened);
  };
  if (person == 2 && std::string_view(ending) == "est") {
    // After s, ß, x and z the short form drops the e and the s (lasest, last; aßest, aßt;
    // rissest, risst, in the old spelling rißt: the ß stays before t).
    std::string shortened = s;
    AdjustSharpS(shortened, 't', lang);
    keepShort(shortened + 't');
  }
  AdjustSharpS(s, static_cast<char>(FirstChar(ending)), lang);
  if (person == 2 && NeedsLinkingE(s)) {
    if (s == "barst") {
      Form2 = "barstest";
      s = "bar";
    } else {
      // Both are standard after d and t; the long form leads, as for every strong stem
      // (fandest, hieltest, rietest, tatest beside fandst, hieltst, rietst, tatst).
      keepShort(s + "st");
      s += 'e';
    }
  }
  if (person == 5 && NeedsLinkingE(s)) s += 'e';
  if ((person == 4 || person == 6) && EndsWith("ie", s)) {
    // schrie + en: the finished form equals this alternative, which the finish then drops.
    Form2 = s;
    Form2 += PastEnding(person, s, true);
    DeleteLastChar(s);
  }
  AppendBareEnding(s, PastEnding(person, s, true), lang);
  if (!u.ablaut2[kPastSlot].empty()) {
    // The same finished form with the second vowel. The first vowel now stands at vpos, so
    // its own length is replaced (not the stem vowel's, which may differ: ie for a).
    Form2 = s;
    ReplaceAt(Form2, vpos, vowel.size(), u.ablaut2[kPastSlot]);
  }
}

std::string TVerbGen::BuildPraeteritum(int person, bool Nebensatzform) {
  Form2.clear();
  std::string shortForm;
  if (stamm.empty() || person < 1 || person > 6) return "-";
  const std::string r = refPartikel(person);
  if (personblocked(person)) return "-";

  Form2 = stamm;
  MarkVowelLength(Form2, stammvokalLang);
  AppendBareEnding(Form2, PastEnding(person, Form2, false), stammvokalLang);
  ReduceTripleLettersIn(Form2);

  std::string s = stamm;
  if (unRegel) {
    StrongPraeteritum(person, s, shortForm);
  } else {
    s = std::move(Form2);
    Form2.clear();
  }
  SettleAlternative(s);
  return FinishClause(s, Nebensatzform, [&](std::string& f, bool nebensatz) {
    PlacePrefixAndReflexive(f, nebensatz, r);
    ReduceTripleLettersIn(f);
    AdaptStressMarker(f);
    if (!shortForm.empty()) {
      std::string shortened = shortForm;
      AdaptStressMarker(shortened);
      // Short form first (fandst,fandete); no dangling comma when the alternative was dropped.
      Form2 = Form2.empty() ? shortened : shortened + "," + Form2;
    }
    FinishAlternative(nebensatz);
  });
}

// --- Konjunktiv I ---------------------------------------------------------------------------

std::string TVerbGen::BuildKonjunktivG(int person, bool Nebensatzform) {
  Form2.clear();
  // A person outside 1 to 6 has no form (and no ending to build one from).
  if (stamm.empty() || person < 1 || person > 6 || personblocked(person)) return "-";
  std::string s = stamm;
  const TEnding ending = SubjIEnding(person);
  if (_eln != _ern && person != 1 && person != 3) {
    // du sammelst, wir wandern: the ending's e merges with the stem's ("sammlen" is no German).
    s += std::string_view(ending).substr(1);
  } else {
    if (_eln != _ern) {
      // -eln: elided main form (sammle), -ern: elided alternative (wandre); full ending.
      Form2 = s;
      ElideStemE(_ern ? Form2 : s);
      Form2 += ending;
      ReduceTripleLettersIn(Form2);
    }
    const auto* row = verb_tables::FindByEnd(verb_tables::kSubjunctiveIStems, s);
    const std::size_t p = static_cast<std::size_t>(person - 1);
    if (row != nullptr && !row->forms[p].empty() && (unRegel || !row->irregularOnly)) {
      s.resize(s.size() - row->stem.size());
      s += row->forms[p];  // ich sei, du seist (seiest); wir tun, sie tun
      if (!row->alternatives[p].empty()) Form2 = row->alternatives[p];
    } else {
      // A stem ending in e keeps its own e in front of an ending that begins with e; the
      // ie of knien is one vowel and takes the ending's e as its own (ich knie, wir knien).
      if (EndsWith("e", s) && !EndsWith("ie", s) && FirstChar(ending) == 'e') s += 'e';
      AppendBareEnding(s, ending, stammvokalLang);
    }
  }
  ReduceTripleLettersIn(s);
  return FinishClause(s, Nebensatzform, [&](std::string& f, bool nebensatz) {
    PlacePrefixAndReflexive(f, nebensatz, refPartikel(person));
    FinishAlternative(nebensatz);
    ReduceTripleLettersIn(f);
    AdaptStressMarker(f);
  });
}

// --- Konjunktiv II --------------------------------------------------------------------------

// Builds the strong form of slot 4 into s (the stem on entry); the second vowel of the slot
// goes to Form2, which holds the weak form on entry.
void TVerbGen::StrongKonjunktivV(int person, std::string& s) {
  const unRegRec& u = *unRegel;
  if (!u.auchregel || regelsperre) Form2.clear();
  const std::string& vowel = u.ablaut[kSubjIISlot];
  const std::string& vowel2 = u.ablaut2[kSubjIISlot];
  const std::string& token = u.endung[kSubjIISlot];
  const bool lang =
      vowel != u.ablaut[kPastSlot] ? u.ablautLang[kSubjIISlot] : u.ablautLang[kPastSlot];
  if (!vowel2.empty()) {
    // The second vowel takes the length flag of the main one.
    Form2 = stamm;
    ReplaceStemVowel(Form2, vowel2, lang);
    AppendEnding(Form2, token, lang);
  }
  ReplaceStemVowel(s, vowel, lang);
  AppendEnding(s, token, lang);
  if ((person == 2 || person == 5) && EndsWith("wär"_latin1, s)) {
    Form2 = s + (person == 2 ? "st" : "t");  // wärst, wärt beside wärest, wäret
  }
  const TEnding ending = SubjIIEnding(person, s, vowel != stammvokal);
  if (EndsWith("e", s) && FirstChar(ending) == 'e') {
    s += 'e';
    if (!vowel2.empty()) Form2 += 'e';
  }
  AppendBareEnding(s, ending, lang);
  if (!vowel2.empty()) AppendBareEnding(Form2, ending, lang);
}

std::string TVerbGen::BuildKonjunktivV(int person, bool Nebensatzform) {
  Form2.clear();
  if (stamm.empty() || person < 1 || person > 6 || personblocked(person)) return "-";
  const std::string r = refPartikel(person);

  Form2 = stamm;
  AppendBareEnding(Form2, SubjIIEnding(person, Form2, false), stammvokalLang);
  ReduceTripleLettersIn(Form2);

  std::string s = stamm;
  if (unRegel) {
    StrongKonjunktivV(person, s);
  } else {
    s = std::move(Form2);
    Form2.clear();
  }
  SettleAlternative(s);
  return FinishClause(s, Nebensatzform, [&](std::string& f, bool nebensatz) {
    if (nebensatz) {
      PlacePrefixAndReflexive(f, true, r);
    } else if (!unPrefixed) {
      // Form, pronoun, particle (zöge mich an). No blank is added when nothing follows it.
      f += r;
      if (const std::string& particle = SeparatedParticle(); !particle.empty()) {
        f += ' ';
        f += particle;
      }
    }
    ReduceTripleLettersIn(f);
    AdaptStressMarker(f);
    FinishAlternative(nebensatz);
  });
}

// --- public entry points --------------------------------------------------------------------

std::string TVerbGen::BuildFinite(TFiniteTense tense, int person, bool Nebensatzform) {
  switch (tense) {
    case ftPraesens:
      return BuildPraesens(person, Nebensatzform);
    case ftPraeteritum:
      return BuildPraeteritum(person, Nebensatzform);
    case ftKonjunktivG:
      return BuildKonjunktivG(person, Nebensatzform);
    default:
      return BuildKonjunktivV(person, Nebensatzform);
  }
}

std::string TVerbGen::BothClausesA(TFiniteTense tense, int person, std::string& sub) {
  // The builder finishes the subordinate form into sub on its way (see FinishClause).
  struct TScope {
    TVerbGen& verb;
    ~TScope() { verb.bothClausesSub_ = nullptr; }
  };
  std::string main = [&] {
    TScope scope{*this};
    bothClausesSub_ = &sub;
    bothClausesDone_ = false;
    return Framed([&] { return BuildFinite(tense, person, false); });
  }();
  // A builder that returned before its clause part (a blocked person): two plain requests.
  if (!bothClausesDone_) {
    sub = Framed([&] { return BuildFinite(tense, person, true); });
    main = Framed([&] { return BuildFinite(tense, person, false); });
  }
  return main;
}

std::string TVerbGen::PraeteritumA(int person, bool Nebensatzform) {
  return Framed([&] { return BuildPraeteritum(person, Nebensatzform); });
}
std::u16string TVerbGen::Praeteritum(int person, bool Nebensatzform) {
  return Latin1ToUni(PraeteritumA(person, Nebensatzform));
}
std::string TVerbGen::KonjunktivGA(int person, bool Nebensatzform) {
  return Framed([&] { return BuildKonjunktivG(person, Nebensatzform); });
}
std::u16string TVerbGen::KonjunktivG(int person, bool Nebensatzform) {
  return Latin1ToUni(KonjunktivGA(person, Nebensatzform));
}
std::string TVerbGen::KonjunktivVA(int person, bool Nebensatzform) {
  return Framed([&] { return BuildKonjunktivV(person, Nebensatzform); });
}
std::u16string TVerbGen::KonjunktivV(int person, bool Nebensatzform) {
  return Latin1ToUni(KonjunktivVA(person, Nebensatzform));
}
