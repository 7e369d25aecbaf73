// SPDX-License-Identifier: MIT
// Helpers of TVerbGen shared by the tense builders: endings with their ß/ss and contraction
// rules, stem vowel changes, e-elision, triple letters, prefix and reflexive placement.
#include <algorithm>

#include "common/_ZT_cmn_A.h"
#include "engine/Endings.h"
#include "engine/EngineText.h"
#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"

std::string TVerbGen::refPartikel(int person) const {
  if (!refl || person < 1 || person > 6) return {};
  std::string_view pronoun = refKasus == 'D'
                                 ? kReflDative[static_cast<std::size_t>(person - 1)]
                                 : kReflAccusative[static_cast<std::size_t>(person - 1)];
  std::string r = auchunrefl ? " (" : " ";
  r += refPraep;
  r += pronoun;
  if (auchunrefl) r += ')';
  return r;
}

bool TVerbGen::personblocked(int person) const {
  if (FUnterdrueckteFormen & FiniteFormsAndImperatives) return true;
  if (ESverb) return person != 3;
  if (FNurPlural) return person >= 1 && person <= 3;
  return false;
}

void TVerbGen::AdaptStressMarker(std::string& s) const {
  if (stressMarker == "'") return;
  std::size_t p = s.find('\'');
  if (p != std::string::npos) s.erase(p, 1);
}

std::string TVerbGen::ParticipleIIEnding(std::string_view stem, bool irregular) const {
  auto entryEnding = [this] {
    const std::string& e = unRegel->endung[2];
    return e.empty() ? std::string("-en") : e;
  };
  if (irregular && unRegel) return entryEnding();
  // A verb that may be conjugated weakly can still keep its irregular participle ending.
  if (unRegel && unRegel->auchregel && unRegel->P2nurUnreg && schwst == schwach)
    return entryEnding();
  return NeedsLinkingE(stem) ? "-et" : "-t";
}

void TVerbGen::AppendEnding(std::string& form, std::string_view token, bool vowelLong) const {
  std::string_view tok = token;
  std::string withoutCut;  // built only for a token with a cut digit
  if (tok.size() >= 2 && IsAppendCutDigit(static_cast<unsigned char>(tok[1]))) {
    std::size_t cut = static_cast<std::size_t>(tok[1] - '0');
    form.resize(form.size() - std::min(cut, form.size()));
    withoutCut.assign(1, tok[0]).append(tok.substr(2));
    tok = withoutCut;
  }
  char next = tok.size() < 2 ? ' ' : tok[1];
  // lies + st -> liest, hält + t -> hält
  if (static_cast<unsigned char>(next) == LastChar(form)) DeleteLastChar(form);
  AdjustSharpS(form, next, vowelLong);
  ApplyEndingToken(form, tok);
}

void TVerbGen::AppendBareEnding(std::string& form, std::string_view ending, bool vowelLong) const {
  // A digit after the dash would be read as a cut: the token's own rules decide then.
  if (!ending.empty() && IsTokenCutDigit(static_cast<unsigned char>(ending[0]))) {
    AppendEnding(form, Dash(ending), vowelLong);
    return;
  }
  const char next = ending.empty() ? ' ' : ending[0];
  if (static_cast<unsigned char>(next) == LastChar(form)) DeleteLastChar(form);
  AdjustSharpS(form, next, vowelLong);
  form.append(ending);
}

void TVerbGen::AdjustSharpS(std::string& form, char next, bool vowelLong) const {
  if (FOrthoTyp == ChOrtho || form.empty()) return;
  bool alt = FOrthoTyp == AltOrtho;
  if (form.ends_with("ss")) {
    bool toSz = alt ? (!vowelLong && next != 'e') || next == ' ' : vowelLong;
    if (toSz) form.replace(form.size() - 2, 2, 1, kSz);
  } else if (form.back() == kSz) {
    bool toSs = !vowelLong;
    if (alt)
      toSs = toSs && next == 'e' && form.size() >= 2 &&
             IsVowel(static_cast<unsigned char>(form[form.size() - 2]));
    if (toSs) form.replace(form.size() - 1, 1, "ss");
  }
}

void TVerbGen::ReplaceStemVowel(std::string& form, std::string_view vowel, bool vowelLong) const {
  if (vowel.empty() || vpos < 1) return;
  std::size_t at = static_cast<std::size_t>(vpos - 1);
  if (at < form.size()) form.erase(at, std::min(stammvokal.size(), form.size() - at));
  form.insert(std::min(at, form.size()), vowel);
  if (!stammvokalLang && vowelLong) {
    // Short stem vowel become long: one of a double consonant goes (komm -> kam), not ss.
    std::size_t q = at + vowel.size();
    if (q + 1 < form.size() && form[q] != 's' && form[q] == form[q + 1]) form.erase(q + 1, 1);
  } else if (stammvokalLang && !vowelLong) {
    // Long become short before a single final consonant: it doubles (tret -> tritt).
    unsigned char last = LastChar(form);
    if (static_cast<std::size_t>(vpos) + 1 == form.size() && last != 0xDF && last != 'h' &&
        !IsVowel(last))
      form.push_back(static_cast<char>(last));
  }
}

void TVerbGen::ElideStemE(std::string& form) const {
  if (form.size() < 2) return;
  char c = form.back();
  form.erase(form.size() - 2);
  AdjustSharpS(form, c, stammvokalLang);
  form.push_back(c);
}

std::string TVerbGen::ReduceTripleLetters(std::string s) const {
  ReduceTripleLettersIn(s);
  return s;
}

// One pass, the result written over the letters already read: the letter after a removed one
// joins the checked letters without being looked at as the vowel itself (as erasing and moving
// on would do), and a long run of one letter costs no more than its length.
void TVerbGen::ReduceTripleLettersIn(std::string& s) const {
  if (FOrthoTyp == NeuOrtho || s.size() < 4) return;
  std::size_t w = 3;
  for (std::size_t k = 3; k < s.size();) {
    if (s[w - 3] == s[w - 2] && s[w - 2] == s[w - 1] && IsVowel(static_cast<unsigned char>(s[k]))) {
      s[w - 1] = s[k++];
      if (k < s.size()) s[w++] = s[k++];
    } else {
      s[w++] = s[k++];
    }
  }
  s.resize(w);
}

namespace {
// word is "mit" followed by another separable particle ("mitein", "mitauf"), not a particle of
// its own that begins with "mit" ("miteinander").
bool StacksOnParticle(std::string_view word) {
  const std::size_t end = word.find(' ');
  word = word.substr(0, end);
  const std::string_view rest = word.substr(3);
  if (rest.starts_with("einander")) return false;
  if (IsInPrefixTable(word)) return false;
  // An entry with a leading apostrophe could only begin a rest that has one itself.
  return !rest.starts_with('\'') && !FirstPrefixEntryBeginning(rest).empty();
}
}  // namespace

const std::string& TVerbGen::SeparatedParticle() const {
  // Every main-clause form asks for it and it depends only on praef (and the prefix table,
  // which changes only with a new analysis): built once per prefix.
  if (particleValid_ && particleFor_ == praef) return particle_;
  particleFor_ = praef;
  particleValid_ = true;
  std::string& p = particle_;
  p = praef;
  if (praef.empty()) return p;
  // Start of the last word: a blank in the final position does not count.
  std::size_t b = praef.size() < 2 ? std::string::npos : praef.rfind(' ', praef.size() - 2);
  std::size_t f = b == std::string::npos ? 0 : b + 1;
  if (praef.compare(f, 6, "wieder") == 0) {
    p.insert(f + 6, 1, ' ');  // wiederauf -> wieder auf
  } else if (praef.compare(f, 3, "mit") == 0 &&
             StacksOnParticle(std::string_view(praef).substr(f))) {
    p.insert(f + 3, 1, ' ');  // mitein -> mit ein: "bezieht mit ein", as "wieder auf"
  } else if (std::size_t e = praef.find("einander"); e != std::string::npos) {
    p.insert(e + 8, 1, ' ');  // aufeinanderzu -> aufeinander zu
  }
  // Nothing follows the particle in a form: no blank at its end (wieder, auseinander, a phrase
  // prefix "mit dem Taxi "), else "belebe wieder " stands in the full-form lists.
  TrimTrailingBlanks(p);
  return p;
}

// Edits form in place: it is called twice for every finite form.
void TVerbGen::PlacePrefixAndReflexive(std::string& form, bool subordinate,
                                       std::string_view reflText) const {
  if (!subordinate && refl) form += reflText;
  if (!praef.empty()) {
    if (subordinate) {
      // A verb typed with '/' in front leaves a blank as its prefix: it adds no blank here.
      std::string_view p = praef;
      while (p.ends_with("  ")) p.remove_suffix(1);
      if (p == " ") p = {};
      std::string_view last = LastWord(p);
      if (!last.empty() && IsUpperLatin1(static_cast<unsigned char>(last[0]))) {
        form.insert(0, 1, ' ');  // a noun stays a word of its own: Rad fahre
        form.insert(0, p);
      } else if (FOrthoTyp == NeuOrtho) {
        form.insert(0, p);
      } else {
        form = JoinPrefixReduced(p, form);
      }
    } else if (!unPrefixed) {
      if (const std::string& particle = SeparatedParticle(); !particle.empty()) {
        form += ' ';
        form += particle;
      }
    }
  }
  if (subordinate && refl && !reflText.empty()) {
    std::string_view r = reflText;
    r.remove_prefix(std::min(r.find_first_not_of(' '), r.size()));
    form.insert(0, 1, ' ');
    form.insert(0, r);
  }
}

// The alternative carries no pronoun; in subordinate order it gets the joined prefix, each of
// several alternatives its own (absottst,absiedetest).
void TVerbGen::FinishAlternative(bool Nebensatzform) {
  if (Form2.empty()) return;
  AdaptStressMarker(Form2);
  if (!Nebensatzform) return;
  if (Form2.find(',') == std::string::npos) {
    PlacePrefixAndReflexive(Form2, true, "");
    return;
  }
  std::string joined;
  for (std::string_view rest = Form2;;) {
    const std::size_t comma = rest.find(',');
    std::string one(rest.substr(0, comma));
    PlacePrefixAndReflexive(one, true, "");
    joined += one;
    if (comma == std::string_view::npos) break;
    joined += ',';
    rest.remove_prefix(comma + 1);
  }
  Form2 = std::move(joined);
}

void TVerbGen::MarkVowelLength(std::string& form, bool isLong) const {
  if (!ForceMarkVowelLength) return;
  std::size_t i = form.size();
  if (_eln || _ern)
    i = i >= 2 ? i - 2 : 0;
  else if (form.size() >= 3 && form.ends_with("ig"))
    i -= 2;
  while (i > 0 && !IsLengthVowel(static_cast<unsigned char>(form[i - 1]))) --i;
  if (i > 0) form.insert(i, 1, isLong ? '_' : '.');
}

void TVerbGen::MergeSplitAlternatives(const std::string& joined, std::string joinedAlternatives,
                                      const std::string& split,
                                      const std::string& splitAlternatives) {
  Form2 = std::move(joinedAlternatives);
  if (split.empty() || split == "-") return;
  std::string main = joined;
  TrimTrailingBlanks(main);
  auto known = [&](std::string_view form) {
    if (form == main) return true;
    for (std::string_view rest = Form2; !rest.empty();) {
      const std::size_t comma = rest.find(',');
      std::string_view a = rest.substr(0, comma);
      while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
      if (a == form) return true;
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
  };
  auto add = [&](std::string form) {
    TrimTrailingBlanks(form);
    if (form.empty() || form == "-" || known(form)) return;
    if (!Form2.empty()) Form2 += ',';
    Form2 += form;
  };
  add(split);
  // A main-clause alternative stands without pronoun and particle; behind a joined form it
  // would lose them, so it takes those of the split form (lächele hohn).
  std::string head = split;
  TrimTrailingBlanks(head);
  const std::size_t blank = head.find(' ');
  for (std::string_view rest = splitAlternatives; !rest.empty();) {
    const std::size_t comma = rest.find(',');
    std::string a(rest.substr(0, comma));
    TrimTrailingBlanks(a);
    if (blank != std::string::npos && a.find(' ') == std::string::npos) a += head.substr(blank);
    add(std::move(a));
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
}
