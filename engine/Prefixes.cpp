// SPDX-License-Identifier: MIT
// Prefixes, stress and the ge- position of the verb analysis (members of TVerbGen).
#include <algorithm>
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"

namespace {
// Length of the phrase part: the words before the verb, up to the last blank or ']'.
// Recomputed from infin, which keeps the phrase words through the whole analysis.
int PhraseLength(std::string_view infin) {
  const std::size_t k = infin.find_last_of(" ]");
  return k == std::string_view::npos ? 0 : static_cast<int>(k + 1);
}

// The text of s from its 1-based position pos on; empty when pos lies behind the end.
std::string_view From(std::string_view s, int pos) {
  const std::size_t at = pos <= 1 ? 0 : static_cast<std::size_t>(pos - 1);
  return at >= s.size() ? std::string_view{} : s.substr(at);
}

// s without its first n characters (n clamped to [0, size]).
std::string_view After(std::string_view s, int n) {
  return n <= 0 ? s : s.substr(std::min<std::size_t>(static_cast<std::size_t>(n), s.size()));
}

bool HasVowelGroup(std::string_view s) {
  return CountSyllablesUpTo(s, static_cast<int>(s.size()), 1) > 0;
}

// fuegstelle is one byte wide; a longer input keeps the largest position it can hold.
std::uint8_t ClampGap(int g) {
  return static_cast<std::uint8_t>(std::clamp(g, 0, 255));
}
}  // namespace

int TVerbGen::InseparablePrefixLen(std::string_view s) {
  if (IsInNotPrefixed(s)) return 0;
  const std::string_view w = LeadingWord(prefix_words::kInseparable, s);
  if (w.empty()) return 0;
  ohneUnterschiedMeldung = true;
  return static_cast<int>(w.size());
}

std::string TVerbGen::PrefixResidue(std::string_view s, TOrthoTyp orthography) {
  const std::string plain = RemoveStressMarks(s);
  std::string_view rest = plain;
  while (!rest.empty()) {
    std::size_t cut = static_cast<std::size_t>(InseparablePrefixLen(rest));
    if (cut == 0) cut = FirstPrefixEntryBeginning(rest).size();
    if (cut == 0 && BeginsWith(prefix_words::kMissOld, rest)) cut = 3;
    if (cut == 0 && orthography != AltOrtho && BeginsWith(prefix_words::kMissNew, rest)) cut = 4;
    if (cut == 0 && !LeadingWord(prefix_words::kGeInFront, rest).empty()) cut = 2;
    if (cut == 0) break;
    rest.remove_prefix(std::min(cut, rest.size()));
  }
  return std::string(rest);
}

namespace {
// The reading of a doubly usable prefix p at the start of plain when no stress is known:
// 1 separable, 0 inseparable, -1 undecidable. voll is separable and wider and hinter are
// inseparable but for the verbs the stress table lists; before an inner inseparable prefix
// ueber and unter are inseparable (ueberbelichten, unterbewerten), um is separable (umbenennen,
// umverteilen).
int DoubleUseReading(std::string_view plain, std::string_view p) {
  if (p == "voll") return 1;
  if (p == "wider" || p == "hinter") return 0;
  const std::string_view rest = After(plain, static_cast<int>(p.size()));
  if (IsInNotPrefixed(rest) || CountSyllables(rest, static_cast<int>(rest.size())) < 2 ||
      LeadingWord(prefix_words::kInseparable, rest).empty())
    return -1;
  if (p == "um") return 1;
  // unterver-, überver- keep their own rule (zu before the ver: unterzuvermieten).
  if (BeginsWith("ver", rest)) return -1;
  return p == "\374ber" || p == "unter" ? 0 : -1;
}
}  // namespace

bool TVerbGen::HasInseparablePrefix(std::string_view s) {
  if (CountSyllables(s, 255) <= 1) return false;
  const int a = InseparablePrefixLen(s);
  if (a == 0) return false;
  std::string_view rest = After(s, a);
  const int lim = BasisLen - a;
  if (CountSyllables(rest, lim) == 1) return true;
  if (!LeadingWord(prefix_words::kHabenHint, rest).empty()) FHabsei = haben;
  rest = rest.substr(0, static_cast<std::size_t>(std::max(lim, 0)));
  const std::string residue = PrefixResidue(rest, FOrthoTyp);
  return CountSyllables(residue, static_cast<int>(residue.size())) <= 1 ||
         StressDigit(residue) != 0;
}

namespace {
// An -ieren verb: its stem ends in "ier" behind at least one syllable of its own (studier, not
// the German frier or schmier). Its first letters may look like a particle (abrogier, anglisier)
// without being one.
bool IsIerenStem(std::string_view plain) {
  // A vowel before "ier" makes it -ei-er (leiern, feiern), no -ieren.
  return EndsWith("ier", plain) &&
         (plain.size() < 4 || !IsVowel(static_cast<unsigned char>(plain[plain.size() - 4]))) &&
         CountSyllablesUpTo(plain, static_cast<int>(plain.size()), 2) >= 2;
}

// What follows a particle on an -ieren verb is a verb of its own: a German verb of one syllable
// (an|frieren, ab|schmieren), an -ieren stem the stress table names (ab|servieren,
// aus|diskutieren), or a particle and such a verb (wieder|ein|quartieren). The loans that
// only begin like a particle (ab|rogieren, an|gulieren) leave a rest the lists do not know.
bool IsIerenBase(std::string_view rest, int depth = 2) {
  if (rest.empty()) return false;
  const int syllables = CountSyllablesUpTo(rest, static_cast<int>(rest.size()), 2);
  // One syllable: a German verb, unless it is the bare suffix (platt|ieren, klar|ieren).
  if (syllables == 1) return !IsVowel(static_cast<unsigned char>(rest.front()));
  if (syllables == 0) return false;
  if (StressDigit(rest) != 0) return true;
  if (depth == 0) return false;
  TEntryHits hits;
  PrefixEntriesBeginning(rest, rest, hits);
  for (const TEntryHit& hit : hits) {
    const std::string_view after = After(rest, static_cast<int>(hit.text.size()));
    if (hit.text.front() != '\'' && !after.empty() && IsIerenBase(after, depth - 1)) return true;
  }
  return false;
}

// The first prefix table entry (file order) that passes the tests of a separable prefix; on an
// -ieren verb also the test of its rest (unless the input stresses the particle, 'abrogieren).
// The text returned is that of s or plain, where the entry matched.
std::string_view FirstPassingPrefix(std::string_view s, std::string_view plain, int limit) {
  // Counted only as far as the test needs: a stack of prefixes on a long input is otherwise
  // read to its end once per prefix.
  const bool twoSyllables = CountSyllablesUpTo(plain, limit, 2) >= 2;
  const bool ieren = IsIerenStem(plain) && StressSyllable(s) != 1;
  TEntryHits hits;
  PrefixEntriesBeginning(s, plain, hits);
  for (const TEntryHit& hit : hits) {
    const std::string_view e = hit.text;
    if (!HasVowelGroup(After(s, static_cast<int>(e.size()))) || !twoSyllables ||
        !OnsetAllowed(plain, static_cast<int>(e.size())))
      continue;
    // A doubly usable prefix decides by its own rule below.
    if (ieren && !IsDoubleUsePrefix(e) &&
        !IsIerenBase(RemoveStressMarks(After(s, static_cast<int>(e.size())))))
      continue;
    return e;
  }
  return {};
}

// Stress on the prefix of a doubly usable p: 1 separable, 0 inseparable, -1 undecidable.
int DoubleUseSeparable(std::string_view s, std::string_view plain, std::string_view p) {
  const int t = StressSyllable(s);
  if (t == 1) return 1;
  if (EndsWith("ier", s)) {
    const std::string rest = RemoveStressMarks(After(s, static_cast<int>(p.size())));
    if (CountSyllables(rest, static_cast<int>(plain.size())) > 1) {
      // Before an -ieren verb über, unter, voll, hinter and wider are inseparable
      // (überdosiert, unterdimensioniert, vollautomatisiert); um and durch separate from a
      // verb of its own (um|programmieren, durch|diskutieren).
      if (p == "um" || p == "durch") return IsIerenBase(rest) ? 1 : 0;
      return 0;
    }
    return t == 0 && s.find('\'') == std::string_view::npos ? -1 : 0;
  }
  return t == 0 ? DoubleUseReading(plain, p) : 0;
}
}  // namespace

std::string TVerbGen::FindSeparablePrefix(std::string_view s, int limit, bool& einander) {
  const std::string plain = RemoveStressMarks(s);
  limit -= static_cast<int>(s.size() - plain.size());
  if (IsInNotPrefixed(plain)) return {};
  const std::string_view e = FirstPassingPrefix(s, plain, limit);
  if (e.empty()) return {};

  for (std::string_view w : prefix_words::kNeverSplit)
    if (plain == w) return {};
  if (plain == prefix_words::kWiederhol && !BeginsWith("'", s)) return {};
  if (IsDoubleUsePrefix(e)) {
    const int separable = DoubleUseSeparable(s, plain, e);
    if (separable < 0) return "*";
    if (separable == 0) return {};
  }
  if (e == "hin" && (BeginsWith("hinter", s) || BeginsWith("`hinter", s))) return {};
  if (BeginsWith("'hinter", s)) return "'hinter";
  std::string p(e);
  if (p.front() == '\'') return p;
  // The prefix as typed: the stress marks of s at their places.
  for (std::size_t i = 0; i < p.size() && i < s.size(); ++i)
    if (IsStressMark(static_cast<unsigned char>(s[i]))) p.insert(i, 1, s[i]);
  if (IsReciprocalEinander(RemoveStressMarks(p), std::string::npos)) einander = true;
  return p;
}

void TVerbGen::SplitPrefix(std::string& stem, std::string& prefix, int limit, bool& einander) {
  const std::string whole = stem;
  const std::int32_t markedGap = GEpos;
  // Moves n characters from the stem to the prefix. A '_' mark counts characters of the stem,
  // so it moves along; a mark inside the prefix leaves the base without a Fuegestelle.
  auto move = [&](std::string_view part) {
    const std::size_t n = std::min(part.size(), stem.size());
    prefix.append(stem, 0, n);
    stem.erase(0, n);
    limit -= static_cast<int>(n);
    if (GEpos > 0) GEpos = std::max(GEpos - static_cast<std::int32_t>(n), 0);
  };
  // A listed split decides once; the base keeps the last d characters. A stem that is listed
  // as never prefixed as well takes both orders: it stays joined, the split is its second
  // reading (ich staubsauge, ich sauge Staub).
  const int base = SplitFromTable(stem);
  if (base > 0 && base < static_cast<int>(stem.size())) {
    if (IsInNotPrefixed(stem))
      splitBase_ = base;
    else
      move(std::string_view(stem).substr(0, stem.size() - static_cast<std::size_t>(base)));
  }
  for (;;) {
    const std::string r = FindSeparablePrefix(stem, limit, einander);
    if (r.empty()) return;
    if (r.front() == '*') {
      // Undecidable: the prefixes moved so far go back, or the verb would lose them.
      stem = whole;
      GEpos = markedGap;
      prefix = "*";
      return;
    }
    move(r);
  }
}

namespace {
// Characters of the separable prefix in praef (behind the phrase part); the lone blank of a
// verb written with a leading '/' is no prefix.
int SeparablePrefixLength(std::string_view praef, int phraseLength) {
  const std::string_view own = After(praef, phraseLength);
  return static_cast<int>(std::count_if(own.begin(), own.end(), [](char c) { return c != ' '; }));
}
}  // namespace

// fuegstelle counts characters of infin; g counts them in the stem behind the phrase part and
// the separable prefix.
std::uint8_t TVerbGen::GapInInfin(int g) const {
  const int phrase = PhraseLength(infin);
  return ClampGap(phrase + SeparablePrefixLength(praef, phrase) + g);
}

// Sets fuegstelle at g and looks up the exception entry of the stem or of its part behind g.
void TVerbGen::SearchAtGap(std::string_view stem, int g) {
  unRegel = FindException(stem, praef);
  if (unRegel == nullptr) unRegel = FindException(After(stem, g), praef);
  fuegstelle = GapInInfin(g);
}

int TVerbGen::GePosition(const std::string& stem) {
  const int t = StressSyllable(stem);
  if (t == 0) {
    if (CountSyllables(stem, BasisLen) <= 1) return 1;
    // The '_' mark, if any; one behind the last letter of the stem (in the infinitive ending)
    // names no place inside it.
    int g = GEpos < static_cast<int>(stem.size()) ? GEpos : 0;
    if (g == 0) g = GapFromTable(stem);
    if (g != 0) {
      SearchAtGap(stem, g);
      std::string_view rest = After(stem, g);
      if (_ern || _eln) rest = rest.substr(0, rest.size() < 2 ? 0 : rest.size() - 2);
      return HasInseparablePrefix(rest) ? 0 : g + 1;
    }
    for (std::string_view p : prefix_words::kDoubleUseWords)
      if (BeginsWith(p, stem) && DoubleUseReading(stem, p) == 0) return 0;
    if (BeginsWith(prefix_words::kMissOld, stem) ||
        (FOrthoTyp != AltOrtho && BeginsWith(prefix_words::kMissNew, stem)) ||
        HasInseparablePrefix(stem) || EndsWith("ier", stem))
      return 0;
    // A prefix the analysis can read but did not split leaves the question open: a doubly
    // usable one (übersprechen; unter is no un-) or a particle (wiederholen: holt wieder or
    // wiederholt).
    for (std::string_view p : prefix_words::kDoubleUseWords)
      if (BeginsWith(p, stem)) return -1;
    if (!LeadingWord(prefix_words::kGeInFront, stem).empty()) return 1;
    if (!FirstPrefixEntryBeginning(stem).empty() && !IsInNotPrefixed(stem)) return -1;
    return NounCompoundGePosition(stem);
  }
  if (t == 1) {
    // "'mißbrauchen": the ge goes behind the mark and the prefix.
    if (BeginsWith("'mi\337", stem)) return HasInseparablePrefix(From(stem, 5)) ? 0 : 5;
    if (FOrthoTyp != AltOrtho && BeginsWith("'miss", stem))
      return HasInseparablePrefix(From(stem, 6)) ? 0 : 6;
    return 1;
  }
  const int g = GapFromTable(stem);
  if (g != 0) SearchAtGap(stem, g);
  return 0;
}

// A stem of two or more syllables that no prefix, stress or gap explains is built on a noun or
// a noun stem (schuhplatteln, frühstücken, ehebrechen), stressed on that first part: ge- goes
// before the whole word (geschuhplattelt). A strong verb of the lists behind the first part
// keeps its strong forms, ge- before it (ehe|ge|brochen, ehe|zu|brechen); an inseparable verb
// behind it takes no ge- at all (zweckentfremdet).
int TVerbGen::NounCompoundGePosition(const std::string& stem) {
  // ver-, zer-, ent-, emp- in front make a verb of their own, whatever ends it: no strong base
  // behind a noun is sought there (the final check takes the ge- away). Ge-, be- and er- begin
  // nouns too (Gewicht: gewichtgehoben).
  for (std::string_view p : {"ver", "zer", "ent", "emp"})
    if (BeginsWith(p, stem)) return 1;
  // The first part is a word of three letters or more (zweck, zwangs; not the ab of abenteuern).
  for (std::string_view inner : {"ver", "ent", "zer", "emp"}) {
    const std::size_t at = stem.find(inner, 3);
    if (at != std::string::npos && CountSyllables(stem, static_cast<int>(at)) >= 1 &&
        CountSyllables(After(stem, static_cast<int>(at + inner.size())), 255) >= 1)
      return 0;
  }
  TEntryHits hits;
  StemEntriesEnding(stem, hits);
  for (const TEntryHit& hit : hits) {
    const unRegRec& e = CurrentVerbLists().unRegList[static_cast<std::size_t>(hit.entry)];
    std::string_view base = e.uStamm;
    if (base.starts_with('?')) base.remove_prefix(1);
    // The verb itself is listed, or its ending is regular after all: ge- in front.
    if (base.size() >= stem.size() || e.dochRegel) return 1;
    const int g = static_cast<int>(stem.size() - base.size());
    if (CountSyllables(stem, g) == 0) continue;
    SearchAtGap(stem, g);
    return g + 1;
  }
  return 1;
}

bool TVerbGen::FinalGeDecision() {
  if (GEpos >= 0) {
    const int ending = _ern || _eln || _igen || _lichen ? 1 : 0;
    if (CountSyllables(stamm, 255) > 1 + ending && InseparablePrefixLen(From(stamm, GEpos)) > 0)
      GEpos = -1;
    return true;
  }
  const std::string_view ver = LeadingWord(prefix_words::kVerStems, stamm);
  if (ver.empty()) return false;
  const int k = static_cast<int>(ver.size());
  unRegel = FindException(After(stamm, k - 3), praef);
  fuegstelle = GapInInfin(k - 3);
  return true;
}
