// SPDX-License-Identifier: MIT
// The analysis of one input: normalisation, markers, reflexive pronoun, stem and ending,
// then the prefix, class and auxiliary decisions in their fixed order.
//
// Positions in comments are 1-based as in the rest of the engine; the code works on 0-based
// std::string indexes and checks every index against the current length, because the input
// may be anything a user or a batch file hands in.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "common/Latin1Literal.h"
#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbFrame.h"

namespace {

constexpr std::string_view kNotInfinitive = "ist kein Infinitiv!";
// 1-based position of sub in s, 0 when absent.
int Pos(std::string_view sub, std::string_view s) {
  std::size_t p = s.find(sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

// Nouns that stand as separable prefixes ("Rad fahren"): written with a capital.
constexpr std::array<std::string_view, 8> kNounPrefixes = {
    "rad", "kegel", "staub", "maschine", "brust", "delphin", "rücken"_latin1, "seil"};

// Special stems whose infinitive is rewritten as a whole: {stem, new stem, new infinitive}.
struct SpecialStem {
  std::string_view stem, newStem, newInfin;
};
constexpr std::array<SpecialStem, 4> kSpecialStems = {{
    {"möcht"_latin1, "mög"_latin1, "mögen"_latin1},
    {"würd"_latin1, "werd", "werden"},
    {"deuch", "dünk"_latin1, "dünken"_latin1},
    {"hang", "häng"_latin1, "hängen"_latin1},
}};

// Leading words after "sich " that make the pronoun dative ("sich die Hände waschen").
constexpr std::array<std::string_view, 10> kObjectWords = {
    "das ", "die ", "den ", "ein ", "eine ", "einen ", "etwas ", "diese ", "dieses ", "diesen "};

// Auxiliary tails of an infinitive phrase and their lengths, in the order tried.
constexpr std::array<std::string_view, 5> kAuxTails = {" haben", " haben werden", " sein werden",
                                                       " sein", " werden"};

// Old spellings: the respell list names the letter to double in the last word.
void RespellOldOrthography(std::string& input) {
  const std::size_t start = LastWordStart(input);
  std::string_view word = std::string_view(input).substr(start);
  if (word.empty()) return;
  int p = RespellPosition(word);
  // A number that names no letter of the word (below 2 or beyond its end) changes nothing.
  if (p < 2 || p > Len(word) + 1) return;
  input.insert(start + p - 1, 1, word[p - 2]);
}

// German infinitives are written in lower case; the verb (the last word) typed with capitals,
// as at the start of a sentence ("Lesen"), is lowered so that its stem is found. So is a
// leading "Sich". The other words keep their letters: nouns of a phrase ("mit dem Taxi
// fahren") stay capitalised.
void LowerVerb(std::string& input) {
  const std::size_t end = input.find_last_not_of(' ');
  if (end == std::string::npos) return;
  const std::size_t first = input.find_first_not_of(" (");
  if (first != std::string::npos && input.compare(first, 4, "Sich") == 0 &&
      first + 4 < input.size() &&
      std::string_view(" )34").find(input[first + 4]) != std::string_view::npos)
    input[first] = 's';  // not the noun of "Sicherheit geben"
  const std::size_t before = input.find_last_of(" ]", end);
  for (std::size_t i = before == std::string::npos ? 0 : before + 1; i <= end; ++i)
    input[i] = static_cast<char>(LowerLatin1(static_cast<unsigned char>(input[i])));
}

}  // namespace

bool TVerbGen::newVerb(const std::u16string& infinit, TSchwSt schwachstark) {
  return newVerbA(UniToLatin1(infinit), schwachstark);
}

bool TVerbGen::newVerb(const std::string& infinit, TSchwSt schwachstark) {
  return newVerbA(infinit, schwachstark);
}

bool TVerbGen::newVerbA(const std::string& infinit, TSchwSt schwachstark) {
  // Analyse takes its own copy: a re-analysis passes our infin, which the analysis rewrites.
  TVerbListsReadLock lock;  // file mode only
  return Analyse(infinit, schwachstark);
}

bool TVerbGen::Fail(std::u16string_view message) {
  ReportError(std::u16string(message));
  return false;
}

bool TVerbGen::Analyse(std::string input, TSchwSt schwachstark) {
  LowerVerb(input);
  RespellOldOrthography(input);
  FMyVerbListsFileDate = VerbListsFileDate;
  particleValid_ = false;  // the prefix table may have changed with the lists
  if (CurrentVerbLists().unRegList.empty()) return Fail(u"init zuvor vergessen");
  if (!NormaliseInput(input)) return false;
  if (CountStressMarks(infin) >= 2) return Fail(u"Bitte nur EIN Betonungszeichen eingeben!");
  if (LastChar(infin) != 'n') {
    stamm.clear();
    return Fail(Latin1ToUni(infin) + u"\r" + Latin1ToUni(kNotInfinitive));
  }
  std::string phrase = SplitPhraseAndMarkers();
  if (stamm == "n" || stamm == "en") return Fail(Latin1ToUni(kNotInfinitive));
  RemoveInfinitiveEnding();
  int b = ClassifyEnding();
  if (CountSyllables(stamm, b) == 0) return Fail(Latin1ToUni(kNotInfinitive));
  BasisLen = BaseLengthAfterSuffixes(b);
  ESverb = ESverb || IsEsVerb(stamm);
  ApplyFormLimits();
  AnalysePrefixes(input);
  DecideAuxiliary();
  praef = phrase + praef;
  FindStemVowel();
  if (GEpos >= 0) GEpos = GePosition(stamm);
  CompleteEntrySlots();
  bool decided = FinalGeDecision();
  // A verb used only in the infinitive and the participles, whose zu-infinitive and Partizip II
  // the lists give or suppress, needs no ge-/zu- position: nothing open remains to decide.
  if (!decided && FormsSettledByTheLists()) decided = true;
  // The ver- rule may have chosen another entry; complete it now as well, so the builders of
  // this verb never see its empty slots and no later analysis writes it while they read.
  CompleteEntrySlots();
  ESverb = ESverb || IsEsVerb(stamm);
  schwst = schwachstark;
  FinalClassDecision(schwachstark);
  if (splitBase_ > 0) PrepareSplitReading();
  return decided;
}

// The split reading of a compound with both orders: the listed base is the stem, the part
// before it the separable prefix (a noun with its capital: saugt Staub), ge- before the base.
// Replacement forms of the lists belong to the joined stem and stay with it.
void TVerbGen::PrepareSplitReading() {
  const int prefixLen = Len(stamm) - splitBase_;
  if (prefixLen <= 0) return;
  TSplitReading& r = splitReading_;
  std::string prefix = stamm.substr(0, static_cast<std::size_t>(prefixLen));
  for (std::string_view noun : kNounPrefixes) {
    if (prefix == noun) {
      prefix[0] = static_cast<char>(UpperLatin1(static_cast<unsigned char>(prefix[0])));
      break;
    }
  }
  r.praef = praef + prefix;  // praef holds the phrase words alone: the joined verb has no particle
  r.stamm = stamm.substr(static_cast<std::size_t>(prefixLen));
  const bool inseparable =
      !LeadingWord(prefix_words::kInseparable, r.stamm).empty() && CountSyllables(r.stamm, 255) > 1;
  r.GEpos = inseparable ? 0 : 1;
  r.fuegstelle = 0;
  r.BasisLen = std::max(BasisLen - prefixLen, 0);
  r.vpos = vpos > prefixLen ? vpos - prefixLen : 0;
  for (std::string& form : r.ausnahmeformen) form.clear();
  hasSplitReading_ = true;
}

void TVerbGen::SwapSplitReading() {
  TSplitReading& r = splitReading_;
  std::swap(praef, r.praef);
  std::swap(stamm, r.stamm);
  std::swap(GEpos, r.GEpos);
  std::swap(BasisLen, r.BasisLen);
  std::swap(vpos, r.vpos);
  std::swap(fuegstelle, r.fuegstelle);
  std::swap(ausnahmeformen, r.ausnahmeformen);
}

// Reset, leading blanks, stress notations, impersonal marker and reflexive pronoun. False
// for an empty input (no message).
bool TVerbGen::NormaliseInput(const std::string& input) {
  // What a later step of the analysis finds starts empty: an input rejected before that step
  // still gets its forms built "as far as the analysis got", never from the previous verb's
  // exception entry or stem vowel ("schrÃ¤nken" after "lesen" gave "sahrÃ¤nk").
  unRegel = nullptr;
  splitBase_ = 0;
  hasSplitReading_ = false;
  infinitivBefund = IB_Infinitiv;
  stammvokal.clear();
  vpos = 0;
  stammvokalLang = false;
  FUnterdrueckteFormen = 0;
  for (std::string& form : ausnahmeformen) form.clear();
  BasisLen = 0;
  einanderpos = 0;
  FHabsei = unspe;
  schwst = unsp;
  regelsperre = false;
  fuegstelle = 0;
  refKasus = 'A';
  refPraep.clear();
  refl = auchunrefl = ESverb = ohneUnterschiedMeldung = transitiv = false;
  infin = input;
  TrimLeadingBlanks(infin);
  stressMarker = "'";
  ConvertStressNotation();
  GEpos = 0;
  if (infin.empty()) return false;
  if (infin.starts_with("3 ")) {
    infin.erase(0, 2);
    ESverb = true;
  }
  ReadReflexivePronoun();
  TrimLeadingBlanks(infin);
  return true;
}

void TVerbGen::ReadReflexivePronoun() {
  int h = Pos("sich", infin);
  if (h == 0 || Len(infin) <= h + 4) return;
  switch (At(infin, h + 4)) {
    case ' ':
      refl = true;
      if (HasObjectAfterSich(std::string_view(infin).substr(h + 4))) {
        refKasus = 'D';
        transitiv = true;
      }
      break;
    case ')':
      refl = auchunrefl = true;
      if (h > 1) infin.erase(--h - 1, 1);  // the '(' before "sich"
      break;
    case '3':
      refl = true;
      refKasus = 'D';
      if (At(infin, h + 5) == ')') {
        auchunrefl = true;
        infin.erase(h + 4, 1);
        if (h > 1) infin.erase(--h - 1, 1);
      }
      break;
    case '4':
      refl = true;
      break;
    default:
      return;  // "sich" inside a word: besichtigen
  }
  infin.erase(h - 1, 5);
  if (h > 2) {
    // Words before the pronoun make it dative: "etwas mit sich bringen".
    refPraep = infin.substr(0, h - 1);
    infin.erase(0, h - 1);
    refKasus = 'D';
    Form2 = refPraep;
    TrimTrailingBlanks(Form2);
  }
}

// Phrase words, '/' and '_'. Returns the phrase part (the words before the verb).
std::string TVerbGen::SplitPhraseAndMarkers() {
  Form2.clear();
  FNurPlural = false;
  int k = std::max(LastPosChar(' ', infin), LastPosChar(']', infin));
  std::string phrase = infin.substr(0, k);
  if (!phrase.empty()) transitiv = ohneUnterschiedMeldung = true;
  praef.clear();
  stamm = infin.substr(k);
  if (FSlashAsSeparator) {
    if (int s = PosChar('/', infin); s > 0) infin.erase(s - 1, 1);
    if (int m = PosChar('/', stamm); m == 1) {
      praef = " ";  // "/umfahren": written unprefixed on purpose
      stamm.erase(0, 1);
    } else if (m > 1) {
      praef = stamm.substr(0, m - 1);
      stamm.erase(0, m);
      ohneUnterschiedMeldung = true;
    }
  }
  if (FUnderScoreAsGapPosition) {
    if (int l = PosChar('_', infin); l > 0) {
      infin.erase(l - 1, 1);
      // The field holds one byte; a mark beyond it cannot be a real Fügestelle.
      fuegstelle = static_cast<std::uint8_t>(std::min(l - 1, 255));
      ohneUnterschiedMeldung = true;
      if (int m = PosChar('_', stamm); m > 0) {
        stamm.erase(m - 1, 1);
        GEpos = m - 1;
      }
    }
  }
  return phrase;
}

// Drops the infinitive's 'n' and an 'e' before it; rewrites the special stems.
void TVerbGen::RemoveInfinitiveEnding() {
  if (!stamm.empty()) stamm.pop_back();
  if (stamm.ends_with('e')) {
    bool keep = Len(stamm) >= 2 && At(stamm, Len(stamm) - 1) == 'i' && !stamm.ends_with("eie") &&
                !stamm.ends_with("aie") && !stamm.ends_with("oie");
    if (!keep) stamm.pop_back();  // knien keeps "knie", schreien gives "schrei"
  }
  for (const SpecialStem& s : kSpecialStems) {
    if (stamm == s.stem) {
      stamm = s.newStem;
      infin = s.newInfin;
      break;
    }
  }
}

// -eln/-ern flags; returns the base length without those endings (never negative).
int TVerbGen::ClassifyEnding() {
  _eln = _ern = _igen = _lichen = false;
  int n = Len(infin);
  if (infin.ends_with("erln")) {
    _eln = _ern = true;
  } else if (Len(stamm) > 1 && At(stamm, Len(stamm) - 1) == 'e') {
    unsigned char c = At(infin, n - 1);
    _eln = c == 'l';
    _ern = c == 'r';
  }
  int b = Len(stamm) - (_eln && _ern ? 3 : (_eln || _ern) ? 2 : 0);
  // A vowel, h and -ern/-eln (wiehern, nähern) is an -ern/-eln verb like any other: clearing
  // the flags there gave "wir näheren" and took the e of -er for the stem vowel.
  return std::max(b, 0);
}

// -igen and -lichen shorten the base further.
int TVerbGen::BaseLengthAfterSuffixes(int b) {
  int n = Len(infin);
  if (infin.ends_with("igen") && At(infin, n - 4) != 'e') {
    _igen = true;
    b = Len(stamm) - 2;
  } else if (infin.ends_with("lichen")) {
    _lichen = true;
    b = Len(stamm) - 4;
  }
  return std::max(b, 0);
}

// Exception search, separable prefixes, einander and the second exception search.
void TVerbGen::AnalysePrefixes(const std::string& input) {
  unRegel = FindException(stamm, praef);
  bool wholeStem = unRegel != nullptr && unRegel->uStamm == stamm;
  {
    std::size_t ownFront = std::string::npos;
    if (unRegel != nullptr) {
      std::string_view own = unRegel->uStamm;
      if (own.starts_with('?')) own.remove_prefix(1);
      const std::string plain = RemoveStressMarks(stamm);
      if (own.size() <= plain.size()) ownFront = plain.size() - own.size();
    }
    infinitivBefund = ShapeOfVerb(RemoveStressMarks(LastWord(infin)), ownFront);
  }
  // A stale position from the previous input would be wrong whichever branch runs.
  einanderpos = 0;
  if (praef.empty()) {
    SplitPrefix(stamm, praef, BasisLen, FNurPlural);
    if (!wholeStem) ohneUnterschiedMeldung = !praef.empty();
    if (praef == "*") {
      praef.clear();
      GEpos = -1;
      ohneUnterschiedMeldung = true;
    }
    if (transitiv) FNurPlural = false;
    einanderpos = Pos("einander", input);
    int firstBlank = PosCharOrEnd(' ', input);
    if (einanderpos > 0 && einanderpos < firstBlank &&
        IsReciprocalEinander(input, static_cast<std::size_t>(einanderpos) + 7))
      FNurPlural = true;
    BasisLen = std::max(BasisLen - Len(praef), 0);
  }
  for (std::string_view noun : kNounPrefixes) {
    if (praef == noun) {
      praef[0] = static_cast<char>(UpperLatin1(static_cast<unsigned char>(praef[0])));
      break;
    }
  }
  if (unRegel == nullptr) unRegel = FindException(stamm, praef);
  if (unRegel == nullptr && fuegstelle > 0 && fuegstelle < Len(stamm))
    unRegel = FindException(std::string_view(stamm).substr(fuegstelle), praef);
}

// "\+" and "\." let a caller mark the stress without an apostrophe in the built forms.
void TVerbGen::ConvertStressNotation() {
  bool first = true;
  for (std::size_t p; (p = infin.find("\\+")) != std::string::npos;) {
    if (first) {
      infin[p] = '\'';
      infin.erase(p + 1, 1);
      stressMarker = "\\+";
      first = false;
    } else {
      infin.erase(p, 2);
    }
  }
  // Every "\." becomes an apostrophe; two of them are then rejected as two stress marks.
  for (std::size_t p; (p = infin.find("\\.")) != std::string::npos;) {
    infin[p] = '\'';
    infin.erase(p + 1, 1);
    stressMarker = "\\.";
  }
}

bool TVerbGen::HasObjectAfterSich(std::string_view rest) const {
  int n = Len(rest);
  static constexpr std::array<int, 5> kTailCut = {6, 13, 12, 5, 7};
  for (std::size_t i = 0; i < kAuxTails.size(); ++i) {
    if (infin.ends_with(kAuxTails[i])) {
      n -= kTailCut[i];
      break;
    }
  }
  if (n > 0 && At(rest, n) == ')') {
    int open = LastPosChar('(', rest, n);
    if (open == 0) return false;
    n = open - 1;
  }
  if (n - 1 <= 0 || rest.substr(0, n - 1).find(' ') == std::string_view::npos) return false;
  for (std::string_view w : kObjectWords)
    if (rest.starts_with(w)) return true;
  int blank = PosChar(' ', rest, 3);
  if (blank == 0) return false;
  std::string_view before = rest.substr(blank - 3, 2);
  return before == "en" || before == "es";
}

int TVerbGen::CountStressMarks(std::string_view s) {
  int count = 0;
  for (char c : s) count += c == '\'';
  return count;
}
