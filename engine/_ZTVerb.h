// SPDX-License-Identifier: MIT
// The verb object: analyses one infinitive or infinitive phrase and builds its simple forms.
//
// One TVerbGen is reused for many inputs; each newVerb replaces the previous analysis. The
// 8-bit operations (ending in "A") work on Windows-1252 std::string, their twins without "A"
// convert at the border to UTF-16.
//
//   TVerbGen v;
//   v.newVerbA("lesen", unsp);             // true
//   v.PraesensA(2, false);                 // "liest"
//   v.getFormA(IndikPraet1S, u"MP");       // "ich las"
//
// The shared verb lists (exception entries and tables) live in _ZTVerbLists.h.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/_ZTVerbLists.h"

// Auxiliary of the compound tenses; the ordinals are the bits 0 and 1 of an entry's flags.
enum habseityp { unspe, haben, sein, habensein };
// Conjugation class asked for by the caller.
enum TSchwSt { unsp, schwach, stark };
enum TOrthoTyp { NeuOrtho, AltOrtho, ChOrtho };
// The 30 simple forms; finite forms run in blocks of six persons: person = form % 6 + 1.
enum TFormen {
  InfinitivI,
  InfinitivII,
  PartizipI,
  PartizipII,
  ImperativS,
  ImperativP,
  IndikPraes1S,
  IndikPraes2S,
  IndikPraes3S,
  IndikPraes1P,
  IndikPraes2P,
  IndikPraes3P,
  IndikPraet1S,
  IndikPraet2S,
  IndikPraet3S,
  IndikPraet1P,
  IndikPraet2P,
  IndikPraet3P,
  KonjPraes1S,
  KonjPraes2S,
  KonjPraes3S,
  KonjPraes1P,
  KonjPraes2P,
  KonjPraes3P,
  KonjPraet1S,
  KonjPraet2S,
  KonjPraet3S,
  KonjPraet1P,
  KonjPraet2P,
  KonjPraet3P
};
// Set of TFormen: bit n for value n.
using TFormenSet = std::uint32_t;
constexpr TFormenSet FormBit(TFormen f) {
  return TFormenSet{1} << f;
}
// All finite forms and both imperatives (ImperativS .. KonjPraet3P).
constexpr TFormenSet FiniteFormsAndImperatives = ~TFormenSet{0} << ImperativS & 0x3FFFFFFFu;
// The tenses of the finite simple forms, for requests of both clause orders at once.
enum TFiniteTense { ftPraesens, ftPraeteritum, ftKonjunktivG, ftKonjunktivV };
// How a modal-like verb shows its Partizip II after an infinitive.
enum TInfiStattPart2 { ISP_nurInfi, ISP_InfiPart, ISP_PartInfi };
using TVerbGenMsgEvent = std::function<void(const std::u16string& message)>;
// What the analysis found about the shape of the verb: an infinitive, a word that ends as no
// German infinitive does (version, station), or the Partizip II of a verb of the lists
// (gefahren, gegangen). The forms are built all the same; callers warn.
enum TInfinitivBefund { IB_Infinitiv, IB_Endung, IB_Partizip };

// Raised by an analysis error when no OnErrMsg handler is assigned; what() is UTF-8.
class EVerbGenError : public std::runtime_error {
 public:
  explicit EVerbGenError(const std::u16string& message);
  const std::u16string& Message() const { return FMessage; }

 private:
  std::u16string FMessage;
};

class TVerbGen {
 public:
  TVerbGen();           // joins the shared verb lists (loads them for the first user)
  virtual ~TVerbGen();  // leaves them (the last user frees them)
  TVerbGen(const TVerbGen&) = delete;
  TVerbGen& operator=(const TVerbGen&) = delete;

  // --- analysis ---
  bool newVerb(const std::u16string& infinit, TSchwSt schwachstark);
  bool newVerb(const std::string& infinit, TSchwSt schwachstark);
  bool newVerbA(const std::string& infinit, TSchwSt schwachstark);

  // --- properties ---
  habseityp habenSein();  // the effective auxiliary, after a reload check, under the read lock
  habseityp habsein() const { return FHabsei; }
  bool NurPlural() const { return FNurPlural; }
  TFormenSet UnterdrueckteFormen() const { return FUnterdrueckteFormen; }
  const std::string& Prefix() const { return praef; }
  const TVerbGenMsgEvent& OnErrMsg() const { return FOnErrMsg; }
  void SetOnErrMsg(TVerbGenMsgEvent handler) { FOnErrMsg = std::move(handler); }
  TOrthoTyp OrthoTyp() const { return FOrthoTyp; }
  void SetOrthoTyp(TOrthoTyp o) { FOrthoTyp = o; }  // stores only; takes effect on next use
  bool SlashAsSeparator() const { return FSlashAsSeparator; }
  void SetSlashAsSeparator(bool v) { FSlashAsSeparator = v; }
  bool UnderScoreAsGapPosition() const { return FUnderScoreAsGapPosition; }
  void SetUnderScoreAsGapPosition(bool v) { FUnderScoreAsGapPosition = v; }

  // --- form-building helpers that callers use ---
  std::string refPartikel(int person) const;  // " mich", " (dir)", "" when not reflexive
  bool personblocked(int person) const;
  void AdaptStressMarker(std::string& s) const;

  // --- tense builders (each in the request frame: reload check, read lock) ---
  std::string PraesensA(int person, bool Nebensatzform);
  std::u16string Praesens(int person, bool Nebensatzform);
  std::string ImperativA(int nr);
  std::u16string Imperativ(int nr);
  std::string PraeteritumA(int person, bool Nebensatzform);
  std::u16string Praeteritum(int person, bool Nebensatzform);
  std::string KonjunktivGA(int person, bool Nebensatzform);
  std::u16string KonjunktivG(int person, bool Nebensatzform);
  std::string KonjunktivVA(int person, bool Nebensatzform);
  std::u16string KonjunktivV(int person, bool Nebensatzform);
  std::string PartizipA(int nr);
  std::u16string Partizip(int nr);
  std::string InfinitivA(int nr);
  std::u16string Infinitiv(int nr);
  // Both clause orders of one finite form, as the two calls (Nebensatzform true, then false)
  // give them: the subordinate form into sub, the main-clause form returned, Form2 as after
  // the main-clause call. The part of the form that does not depend on the clause is built
  // once.
  std::string BothClausesA(TFiniteTense tense, int person, std::string& sub);

  // --- form access ---
  std::string getFormA(TFormen desiredForm, std::u16string_view options);
  std::u16string getForm(TFormen desiredForm, std::u16string_view options);
  std::string getPersPron(int nr) const;
  std::string getPersPronFA(TFormen fm) const;
  std::u16string getPersPronF(TFormen fm) const;
  std::string refPartikelA(TFormen DesiredForm) const;
  std::u16string refPartikel(TFormen DesiredForm) const;
  bool EsVerbBlocked(TFormen form) const;
  bool hasMeaningDifferences();
  std::u16string HabenSeinHint();
  void setHabenSein(habseityp hs) { FHabsei = hs; }
  void StoreErrMsg(const std::u16string& msg) { ErrMsg = msg; }

  // --- fields, in their declared order (8-bit strings are Windows-1252) ---
  std::string infin;         // normalised infinitive (phrase words and stress marks stay)
  std::string stamm;         // stem of the verb without ending and separable prefix
  std::string praef;         // phrase words + separable prefix
  std::string stressMarker;  // "'", "\+" or "\."
  std::array<std::string, 4> ausnahmeformen;  // [1] Infinitiv II, [2] Partizip I, [3] Partizip II
  bool _eln = false;
  bool _ern = false;
  bool _igen = false;
  bool _lichen = false;
  bool regelsperre = false;
  TSchwSt schwst = unsp;
  habseityp FHabsei = unspe;
  bool transitiv = false;
  std::int32_t GEpos = 0;  // > 0 "ge" before that character of stamm; 0 none; -1 undecided
  std::uint8_t fuegstelle = 0;
  bool refl = false;
  bool auchunrefl = false;
  char refKasus = 'A';
  std::string refPraep;
  std::int32_t BasisLen = 0;
  std::int32_t vpos = 0;
  std::string stammvokal;
  bool stammvokalLang = false;
  TOrthoTyp FOrthoTyp = NeuOrtho;
  TVerbGenMsgEvent FOnErrMsg;
  bool FUnderScoreAsGapPosition = true;
  bool FSlashAsSeparator = true;
  unRegPtr unRegel = nullptr;
  bool FNurPlural = false;
  TFormenSet FUnterdrueckteFormen = 0;
  std::int64_t FMyVerbListsFileDate = 0;
  bool joinedLists_ = true;  // counted as a user of the shared lists
  std::string Form2;
  std::u16string ErrMsg;
  bool ESverb = false;
  TInfiStattPart2 InfiStattPart2 = ISP_InfiPart;
  std::int32_t einanderpos = 0;
  bool unPrefixed = false;
  bool ohneUnterschiedMeldung = false;
  TInfinitivBefund infinitivBefund = IB_Infinitiv;
  // Set by the last Partizip II built: an infinitive stands in for the participle, in the form
  // or its alternative ("arbeiten müssen"); compound tenses then order their words differently.
  bool ersatzInfinitiv = false;
  bool ForceMarkVowelLength = false;

 private:
  // Analysis (in its own file), prefixes and stress, conjugation class.
  bool Analyse(std::string input, TSchwSt schwachstark);
  void ReportError(const std::u16string& message);
  bool Fail(std::u16string_view message);  // ReportError, then false
  void RefreshIfListsChanged();
  bool NormaliseInput(const std::string& input);
  void ConvertStressNotation();
  void ReadReflexivePronoun();
  bool HasObjectAfterSich(std::string_view rest) const;
  static int CountStressMarks(std::string_view s);
  std::string SplitPhraseAndMarkers();
  void RemoveInfinitiveEnding();
  int ClassifyEnding();
  int BaseLengthAfterSuffixes(int b);
  void AnalysePrefixes(const std::string& input);
  // The shape of the verb word: an infinitive ending, or a participle of the lists. ownFront is
  // where the exception entry of the whole stem begins in it (npos without one).
  TInfinitivBefund ShapeOfVerb(std::string_view word, std::size_t ownFront);
  bool IsParticipleOfEntry(unRegRec& e, std::string_view tail);

  int InseparablePrefixLen(std::string_view s);
  std::string PrefixResidue(std::string_view s, TOrthoTyp orthography);
  bool HasInseparablePrefix(std::string_view s);
  std::string FindSeparablePrefix(std::string_view s, int limit, bool& einander);
  void SplitPrefix(std::string& stem, std::string& prefix, int limit, bool& einander);
  int GePosition(const std::string& stem);
  int NounCompoundGePosition(const std::string& stem);  // ge- of a verb built on a noun
  void SearchAtGap(std::string_view stem, int g);       // fuegstelle and entry at a gap
  std::uint8_t GapInInfin(int g) const;                 // a place in the stem as fuegstelle
  bool FinalGeDecision();  // ver- prefixes and the final ge- check; gives the analysis result

  unRegPtr FindException(std::string_view verb, std::string_view prefix);
  bool FormsSettledByTheLists()
      const;  // finite forms suppressed, zu-infinitive and Partizip II listed
  void ApplyFormLimits();
  habseityp EffectiveHabenSein() const;
  void DecideAuxiliary();
  void FindStemVowel();
  void CompleteEntrySlots();
  void FinalClassDecision(TSchwSt schwachstark);

  // Form-building helpers shared by the tense builders.
  std::string ParticipleIIEnding(std::string_view stem, bool irregular) const;
  void AppendEnding(std::string& form, std::string_view token, bool vowelLong) const;
  // AppendEnding with the token "-" + ending, without building the token.
  void AppendBareEnding(std::string& form, std::string_view ending, bool vowelLong) const;
  void AdjustSharpS(std::string& form, char next, bool vowelLong) const;
  void ReplaceStemVowel(std::string& form, std::string_view vowel, bool vowelLong) const;
  void ElideStemE(std::string& form) const;
  std::string ReduceTripleLetters(std::string s) const;
  void ReduceTripleLettersIn(std::string& s) const;  // the same in place, without a copy
  const std::string& SeparatedParticle() const;
  void PlacePrefixAndReflexive(std::string& form, bool subordinate,
                               std::string_view reflText) const;
  void MarkVowelLength(std::string& form, bool isLong) const;

  // Participles and infinitives.
  bool SplitExceptionForm(std::string_view text, std::string& main);
  std::string BuildParticipleII(bool forceRegular);
  std::string LowerPrefixInitial() const;
  bool JoinParticiplePrefix(std::string_view prefixText, std::string& participle,
                            std::string& alternative) const;
  std::string BuildPartizipI(const std::string& reflText);
  std::string BuildPartizipII(const std::string& reflText);
  std::string_view PrefixInInfinitive() const;  // praef as it stands in infin

  // Builders without the frame.
  std::string BuildPraesens(int person, bool Nebensatzform);
  std::string BuildImperativ(int nr);
  // Präsens and Imperativ: one person regularly and from the exception entry; the imperatives.
  std::string RegularPraesens(int person, std::string& S, bool lang);
  std::string IrregularPraesens(int person, std::string S, bool lang);
  void IrregularPraesens23(int person, std::string& S, bool& lang);
  std::string EiImperative(std::string S, std::string_view R, std::string_view T);
  std::string RegularImperative(std::string S, std::string_view R, std::string_view T);
  friend struct FormHelpersTest;  // the helpers' own tests call them directly
  std::string BuildPraeteritum(int person, bool Nebensatzform);
  std::string BuildKonjunktivG(int person, bool Nebensatzform);
  std::string BuildKonjunktivV(int person, bool Nebensatzform);
  // Past tense and subjunctives: strong forms from slots 1 and 4, and the shared finish.
  void StrongPraeteritum(int person, std::string& s, std::string& shortForm);
  void StrongKonjunktivV(int person, std::string& s);
  void SettleAlternative(std::string& s);
  void FinishAlternative(bool Nebensatzform);
  std::string BuildPartizip(int nr);
  std::string BuildInfinitiv(int nr);
  // Runs a builder in the request frame: reload check first, then the read lock in file mode.
  template <class Builder>
  std::string Framed(Builder&& build);
  // The end of a finite builder from where the clause order matters: finish(form, nebensatz)
  // completes form in place. Within BothClausesA it also finishes a copy for the subordinate
  // clause.
  template <class Finish>
  std::string FinishClause(std::string& form, bool Nebensatzform, Finish&& finish);
  std::string BuildFinite(TFiniteTense tense, int person, bool Nebensatzform);
  std::string* bothClausesSub_ = nullptr;  // set during BothClausesA
  bool bothClausesDone_ = false;
  // A compound written as one word that takes both orders (staubsaugen: du staubsaugst, du
  // saugst Staub) is analysed joined; its split reading differs in these fields, which are
  // swapped in to build the alternatives. splitBase_ is the length of the base verb.
  struct TSplitReading {
    std::string praef, stamm;
    std::int32_t GEpos = 0, BasisLen = 0, vpos = 0;
    std::uint8_t fuegstelle = 0;
    std::array<std::string, 4> ausnahmeformen;
  };
  int splitBase_ = 0;
  bool hasSplitReading_ = false;
  bool inSplitReading_ = false;
  TSplitReading splitReading_;
  void PrepareSplitReading();
  void SwapSplitReading();
  // Appends the split reading's form and alternatives to Form2 of a joined form.
  template <class Builder>
  void AddSplitReading(const std::string& joined, Builder& build);
  void MergeSplitAlternatives(const std::string& joined, std::string joinedAlternatives,
                              const std::string& split, const std::string& splitAlternatives);
  // SeparatedParticle's answer for the prefix particleFor_; an analysis drops it.
  mutable std::string particle_;
  mutable std::string particleFor_;
  mutable bool particleValid_ = false;
};

// Owns a "haben" and a "sein" verb object and yields the auxiliary forms of either or both.
class TVerbHabenSein {
 public:
  TVerbHabenSein();
  void newVerb(habseityp hs) { FHabSei = hs; }
  std::string getFormA(TFormen desiredForm, std::u16string_view options);
  std::u16string getForm(TFormen desiredForm, std::u16string_view options);
  // The main-clause form as the options "" and "M" give it (without and with the
  // alternative), from one build of each auxiliary instead of two.
  void MainFormsA(TFormen desiredForm, std::string& plain, std::string& withAlternative);

 private:
  TVerbGen FHaben;
  TVerbGen FSein;
  habseityp FHabSei = unspe;
};
