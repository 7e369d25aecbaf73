// SPDX-License-Identifier: MIT
// The conjugation table of one phrase and the result page around it.
//
// TVerbGenerator builds the complete conjugation (non-finite forms, eight tenses in main- and
// subordinate-clause order, compound tenses assembled from auxiliary, pronoun and participle)
// once as a TConjTable; the HTML fragments and the terminal table are both drawn from it.
//
//   std::u16string page = GetVerbPageHtml(u"sich waschen", false, NeuOrtho);
//   TVerbGenerator g;
//   TConjTable t = g.Conjugate(u"lesen", NeuOrtho);   // t.tenses[0].rows[1].main == u"du  liest"
//   std::u16string text = ConjugationText(t);
//   t.all->tenses[3].rows[2].main == u"er  hätte gelesen"  // Konjunktiv II Plusquamperfekt
//   GetVerbPageHtml(u"lesen", false, NeuOrtho, TPageForms::allForms);  // the full page
//
// All text is UTF-16; the engine's 8-bit forms are converted at its border.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/_ZTVerb.h"

// What the analysis of the phrase came to; decides the message and whether a table follows.
enum class TConjStatus {
  cs_empty,      // blank phrase: a request to type one, no table
  cs_ok,         // table
  cs_undecided,  // warning, then the table all the same
  cs_error       // the engine's message, no table
};

// One form as data: the engine's text (stress marks kept, "-" when the verb has none) and its
// alternatives in the engine's notation, comma-separated ("fandst", "gewinkt,gewunken").
struct TConjForm {
  std::u16string form = u"-";
  std::u16string alt;
};

// One row of a tense. Texts are plain (not HTML) and keep the engine's blanks; `conj` is the
// grey conjunction that opens the subordinate clause, empty when the cell holds a bare form.
// `mainForm` and `subForm` are the same row as data: without pronoun and conjunction, blanks
// collapsed, every alternative spelt out in full (a compound tense with "bin/habe" gives two).
struct TConjRow {
  bool dash = false;  // the whole row is "-" "-" (reciprocal singular, blocked impersonal)
  std::u16string main;
  std::u16string conj;
  std::u16string sub;
  std::u16string pronoun;  // "ich", "du", "es" for an impersonal verb
  TConjForm mainForm;
  TConjForm subForm;
};

struct TConjTense {
  std::u16string_view name;  // "Präsens", ...
  bool auxHint = false;      // the heading carries the "haben oder sein?" hint
  std::array<TConjRow, 6> rows;
};

inline constexpr int kConjTenses = 8;
inline constexpr int kNonFiniteForms = 6;
// Names of the non-finite entries, in table order.
inline constexpr std::array<std::u16string_view, kNonFiniteForms> kNonFiniteNames = {
    u"Infinitiv I", u"Infinitiv II",       u"Partizip I",
    u"Partizip II", u"Imperativ Singular", u"Imperativ Plural"};

// What the analysis found, for readers of the data (learners' tools, other programs).
struct TConjAnalysis {
  std::u16string infinitive;         // Infinitiv I as built ("sich ein Buch ansehen")
  std::u16string phraseWords;        // the words before the verb ("ein Buch"), empty when none
  std::u16string separablePrefix;    // "an", empty when none
  std::u16string inseparablePrefix;  // "ver", "über" (used inseparably), empty when none
  bool reflexive = false;
  bool reflexiveOptional = false;  // also used without the pronoun: "(mich)"
  char16_t reflexiveCase = u'A';   // 'A' accusative, 'D' dative
  bool impersonal = false;
  bool pluralOnly = false;          // plural persons only (aufeinanderprallen, einander helfen)
  std::u16string_view conjugation;  // "weak", "strong", "mixed"; empty when no past form
  habseityp auxiliary = unspe;      // unspe: not decided
  bool meaningDifferences = false;
};

// One reading of an undecided verb: the phrase with its stress mark and a short form that
// shows the reading ("'übersetzen", "er setzt über").
struct TConjReading {
  std::u16string phrase;
  std::u16string gloss;
  bool operator==(const TConjReading&) const = default;
};

// The blocks beyond the table of eight tenses: the past and future tenses of both subjunctives,
// the imperative for wir and Sie, the perfect infinitives and the passive.
inline constexpr int kMoreTenses = 6;  // Konjunktiv I Perfekt .. Konjunktiv II Futur II
inline constexpr int kMoreNonFiniteForms = 4;
inline constexpr std::array<std::u16string_view, kMoreNonFiniteForms> kMoreNonFiniteNames = {
    u"Imperativ wir", u"Imperativ Sie", u"Infinitiv Perfekt", u"Infinitiv Perfekt mit zu"};
// Vorgangspassiv: the eight tenses of the table, then the six further ones, in that order;
// Zustandspassiv: the eight tenses of the table.
inline constexpr int kVorgangTenses = kConjTenses + kMoreTenses;
inline constexpr int kZustandTenses = kConjTenses;

struct TConjPassive {
  std::array<TConjTense, kVorgangTenses> vorgang;
  std::array<TConjForm, 2> infinitives;            // "gelesen werden", "gelesen worden sein"
  std::array<std::u16string, 2> infinitivesShown;  // the same with "/" before an alternative
  std::array<TConjTense, kZustandTenses> zustand;
};

struct TConjAllForms {
  std::array<TConjForm, kMoreNonFiniteForms> nonFiniteForms;  // data twin, imperatives no "!"
  std::array<std::u16string, kMoreNonFiniteForms> nonFinite;  // imperatives with their "!"
  std::array<TConjTense, kMoreTenses> tenses;
  bool hasPassive = false;
  // Above the passive: what the personal passive needs; without one: why the verb has none.
  std::u16string passiveNote;
  TConjPassive passive;  // filled when hasPassive
};

// How much of the paradigm Conjugate builds: the table of eight tenses, or everything; `data`
// is everything for the JSON, which reads the data twins only: the passive's display cells
// (two thirds of its strings) stay empty.
enum class TConjScope { table, allForms, data };

struct TConjTable {
  TConjStatus status = TConjStatus::cs_empty;
  std::u16string input;  // the phrase without leading and trailing blanks
  TOrthoTyp ortho = NeuOrtho;
  bool stressMarked = false;  // the input carried a stress mark in any notation
  TConjAnalysis analysis;
  std::array<TConjForm, kNonFiniteForms> nonFiniteForms;  // data twin of nonFinite, no "!"
  std::u16string message;      // plain text of the paragraph above the table (or the error)
  std::u16string warning;      // the verb does not look like an infinitive; empty when it does
  std::u16string hintHtml;     // the engine's "haben oder sein?" link, empty when not needed
  std::u16string meaningNote;  // "mit Bedeutungsunterschieden!" and its milder twin, or empty
  // Undecided only by a doubly usable prefix: its separable and its inseparable reading.
  std::vector<TConjReading> readings;
  std::array<std::u16string, kNonFiniteForms> nonFinite;  // imperatives with their "!"
  std::array<TConjTense, kConjTenses> tenses;
  // The further blocks; null for a table built without them, a blank or a rejected phrase.
  std::shared_ptr<const TConjAllForms> all;
};

struct TCompoundSpec;

// What a result page shows: today's table; the table with a link to the page of all forms
// under it; all forms (the table, then the further blocks).
enum class TPageForms { table, tableWithLink, allForms };

class TVerbGenerator {
 public:
  TVerbGenerator();  // needs VerbListsPath set: its verb objects load the lists
  ~TVerbGenerator();
  TVerbGenerator(const TVerbGenerator&) = delete;
  TVerbGenerator& operator=(const TVerbGenerator&) = delete;

  // Analyses the phrase in the orthography and builds every cell; the verb objects it needs
  // (the verb, its auxiliary, werden) are set up here, whatever they held before.
  TConjTable Conjugate(const std::u16string& InfinitivPhrase, TOrthoTyp ortho,
                       TConjScope scope = TConjScope::allForms);
  // The same with the auxiliary's choice given instead of the verb's own: an undecided one
  // (unspe) shows both auxiliaries, each with "?".
  TConjTable ConjugateWithAuxiliary(const std::u16string& InfinitivPhrase, TOrthoTyp ortho,
                                    habseityp auxiliary, TConjScope scope = TConjScope::allForms);
  // The HTML fragments: message paragraph, non-finite block, table; cleared on entry. In the
  // verb's orthography, as the page.
  void Formen(const std::u16string& InfinitivPhrase, std::u16string& Msg, std::u16string& s1,
              std::u16string& s2);
  // prefix + form + suffix, or the form alone when it is empty or "-".
  static std::u16string WrapForm(std::u16string_view prefix, const std::u16string& form,
                                 std::u16string_view suffix);
  // The whole page in the verb's orthography. The head is built from Verb.infin, the analysis
  // that precedes the call (GetVerbPageHtml makes it); the body conjugates the phrase itself.
  std::u16string GetHtml(const std::u16string& InfinitivPhrase, bool showInputField,
                         TPageForms forms = TPageForms::table);
  // The same, telling what the analysis of the phrase came to (status may be null).
  std::u16string Page(const std::u16string& InfinitivPhrase, bool showInputField, TPageForms forms,
                      TConjStatus* status);

  TVerbGen Verb;
  TVerbGen VerbWerden;
  TVerbHabenSein VerbHabenSein;
  TVerbGen VerbReadings;  // tries the two readings of an open prefix

 private:
  TConjForm Fetch(TFormen f, std::u16string_view options);
  // The middle items of the page: message, non-finite block, table (and what forms adds).
  void PageBody(std::u16string& page, const std::u16string& InfinitivPhrase, TPageForms forms,
                TConjStatus* status);
  void SimpleRow(TConjRow& row, TFormen f, const std::u16string& pron, std::u16string_view conj,
                 bool indicative);
  struct TCompoundBasis;  // what the compound rows of one table share
  void CompoundRow(TConjRow& row, const TCompoundSpec& spec, TFormen f, const std::u16string& pron,
                   TCompoundBasis& basis);
  const std::u16string& Werden(TFormen f, TCompoundBasis& basis);  // werden's form, cached
  // Conjugate's work; a null auxiliary is the verb's own.
  TConjTable Build(const std::u16string& InfinitivPhrase, TOrthoTyp ortho,
                   const habseityp* auxiliary, TConjScope scope);
  std::shared_ptr<const TConjAllForms> AllForms(const TConjTable& t, TCompoundBasis& basis);
  void MoreNonFinite(const TConjTable& t, TConjAllForms& all, TCompoundBasis& basis);
  void BuildPassive(TConjPassive& passive, TCompoundBasis& basis);
  void Analysis(TConjTable& t);
  bool DashRow(TFormen f, bool compound) const;
  // False while a page is built: its compound rows need their cells only, not the data twins
  // that the JSON reads.
  bool dataTwins_ = true;
  // False for TConjScope::data: the passive rows get their data twins only.
  bool passiveCells_ = true;
};

// The separable and the inseparable reading of a phrase whose verb begins with a doubly usable
// prefix (durch, hinter, über, unter, um, voll, wider), each conjugated to its gloss; empty
// unless both readings are decided and differ.
std::vector<TConjReading> PrefixReadings(const std::u16string& phrase, TOrthoTyp ortho);
// The same on a verb object of the caller's: making one joins the verb lists under their
// write lock, which a caller holding the read lock (a full-form run) must not do.
std::vector<TConjReading> PrefixReadings(const std::u16string& phrase, TOrthoTyp ortho,
                                         TVerbGen& verb);

// The warning above the table of a word that does not look like an infinitive ("version",
// "gegangen"). The one place of its text: a lookup of forms passes the infinitive the word
// belongs to as `infinitive` and the warning names it; without one it only says what it sees.
std::u16string NotInfinitiveMessage(std::u16string_view word, TInfinitivBefund finding,
                                    std::u16string_view infinitive = {});

// The page for a phrase with a generator of its own; a blank phrase becomes
// "den Generator ausprobieren". *status, when given, tells what the analysis came to (a front
// end reports a rejected phrase as such, while the page still shows the message).
std::u16string GetVerbPageHtml(std::u16string phrase, bool showInputField, TOrthoTyp ortho,
                               TPageForms forms = TPageForms::table, TConjStatus* status = nullptr);

// The table for a phrase with a generator of its own, analysed in the given orthography.
TConjTable ConjugatePhrase(const std::u16string& phrase, TOrthoTyp ortho,
                           TConjScope scope = TConjScope::allForms);

// Text of the page escaped for HTML (& < > "): phrase-derived text cannot open markup. The
// apostrophe stays, so stress-marked phrases read as typed.
std::u16string HtmlEscape(std::u16string_view text);

// The HTML fragments of a table, exactly as Formen gives them.
void ConjTableHtml(const TConjTable& t, std::u16string& Msg, std::u16string& s1,
                   std::u16string& s2);
// The further blocks as page items (each followed by CR LF), empty for a table without them:
// the non-finite forms, the six tenses, the passive or the line why there is none.
std::u16string AllFormsHtml(const TConjTable& t);
// The paragraph with the link to the page of all forms of the same phrase and orthography
// (relative, as the links to the readings), with its CR LF; empty when no table was built.
std::u16string AllFormsLinkHtml(const TConjTable& t);

// s with runs of blanks shown as one and no blank at either end, as a browser shows it.
std::u16string CollapseBlanks(std::u16string_view s);

// The alternatives of a form one by one ("a,b" gives a and b), trailing blanks trimmed.
std::vector<std::u16string> Alternatives(const TConjForm& f);

// The table as one JSON object (UTF-8, no line break): the data fields, or {"input", "error"}
// for a rejected or blank phrase. The layout is schema/conjugation.schema.json.
std::string ConjugationJson(const TConjTable& t);
// {"error": message}: a refusal before any phrase was read (a broken query, say).
std::string ErrorJson(std::u16string_view message);

// The table for a terminal: non-finite block, then each tense with its six persons in two
// columns aligned by display width; runs of blanks shown as one, as a browser shows them.
std::u16string ConjugationText(const TConjTable& t);
// ConjugationText followed by the further blocks in the same layout (what `--all` prints).
std::u16string ConjugationTextAll(const TConjTable& t);
