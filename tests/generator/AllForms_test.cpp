// SPDX-License-Identifier: MIT
// The further blocks of a verb: the past and future tenses of both subjunctives, the wir/Sie
// imperatives, the perfect infinitives, Vorgangs- and Zustandspassiv and the reasons a verb has
// no passive; their cells as data, on the page and in the terminal table.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDir = fs::path(BEUGWERK_FIXTURES) / "allforms";

class AllFormsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = kDir / "allforms.VLX";
    keepLoaded_ = std::make_unique<TVerbGen>();
  }
  static void TearDownTestSuite() { keepLoaded_.reset(); }
  static std::unique_ptr<TVerbGen> keepLoaded_;
};
std::unique_ptr<TVerbGen> AllFormsTest::keepLoaded_;

std::string U8(std::u16string_view u) {
  return UniToUtf8(u);
}

TOrthoTyp Ortho(std::string_view o) {
  return o == "alt" ? AltOrtho : o == "ch" ? ChOrtho : NeuOrtho;
}

// A form and its alternatives as one text: "wärest gegangen|wärst gegangen".
std::u16string Data(const TConjForm& f) {
  return f.alt.empty() ? f.form : f.form + u"|" + f.alt;
}

struct TCells {
  std::string main, sub;  // blanks as the browser shows them, the conjunction before sub
};
TCells Cells(const TConjRow& row) {
  return {U8(CollapseBlanks(row.main)), U8(CollapseBlanks(row.conj + row.sub))};
}

// Names of the further tenses in the order of TConjAllForms::tenses, for the rows below.
enum { k1Perf, k1Fut1, k1Fut2, k2Plusq, k2Fut1, k2Fut2 };

TEST_F(AllFormsTest, SubjunctivePastAndFutureTenses) {
  struct {
    const char* phrase;
    const char* ortho;
    int tense, person;  // person 0 ich .. 5 sie
    const char *main, *sub;
    const char16_t* mainData;  // form|alternatives of the main clause, when given
  } rows[] = {
      {"lesen", "neu", k1Perf, 2, "er habe gelesen", "als ob er gelesen habe", u"habe gelesen"},
      {"lesen", "neu", k1Perf, 1, "du habest gelesen", "als ob du gelesen habest", nullptr},
      {"lesen", "neu", k1Perf, 4, "ihr habet gelesen", "als ob ihr gelesen habet", nullptr},
      {"lesen", "neu", k1Fut1, 2, "er werde lesen", "als ob er lesen werde", nullptr},
      {"lesen", "neu", k1Fut2, 2, "er werde gelesen haben", "als ob er gelesen haben werde",
       nullptr},
      {"lesen", "neu", k2Plusq, 2, "er hätte gelesen", "als ob er gelesen hätte", nullptr},
      {"lesen", "neu", k2Fut1, 2, "er würde lesen", "als ob er lesen würde", nullptr},
      {"lesen", "neu", k2Fut2, 2, "er würde gelesen haben", "als ob er gelesen haben würde",
       nullptr},
      // Konjunktiv I of sein as German uses it: seist and seiest, seiet (not seid).
      {"gehen", "neu", k1Perf, 1, "du seist/seiest gegangen", "als ob du gegangen seist/seiest",
       u"seist gegangen|seiest gegangen"},
      {"gehen", "neu", k1Perf, 4, "ihr seiet gegangen", "als ob ihr gegangen seiet", nullptr},
      {"gehen", "neu", k1Fut2, 2, "er werde gegangen sein", "als ob er gegangen sein werde",
       nullptr},
      {"gehen", "neu", k2Plusq, 4, "ihr wäret/wärt gegangen", "als ob ihr gegangen wäret/wärt",
       u"wäret gegangen|wärt gegangen"},
      {"gehen", "neu", k2Fut2, 2, "er würde gegangen sein", "als ob er gegangen sein würde",
       nullptr},
      {"ankommen", "neu", k2Plusq, 2, "er wäre angekommen", "als ob er angekommen wäre", nullptr},
      {"ankommen", "neu", k2Fut1, 2, "er würde ankommen", "als ob er ankommen würde", nullptr},
      // Both auxiliaries: sein first, each with its own alternatives in the data.
      {"fahren", "neu", k1Perf, 0, "ich sei/habe gefahren", "als ob ich gefahren sei/habe",
       u"sei gefahren|habe gefahren"},
      {"fahren", "neu", k2Plusq, 1, "du wärest/wärst/hättest gefahren",
       "als ob du gefahren wärest/wärst/hättest",
       u"wärest gefahren|wärst gefahren,hättest gefahren"},
      {"fahren", "neu", k2Fut2, 2, "er würde gefahren sein/haben",
       "als ob er gefahren sein/haben würde", u"würde gefahren sein|würde gefahren haben"},
      {"wasserstrahl_biegen", "neu", k2Plusq, 2, "er wäre/hätte wasserstrahlgebogen",
       "als ob er wasserstrahlgebogen wäre/hätte", nullptr},
      {"wasserstrahl_biegen", "neu", k2Fut1, 2, "er würde wasserstrahlbiegen",
       "als ob er wasserstrahlbiegen würde", nullptr},
      // The reflexive pronoun by person, the separable particle in place.
      {"sich anziehen", "neu", k1Perf, 2, "er habe sich angezogen", "als ob er sich angezogen habe",
       u"habe sich angezogen"},
      {"sich anziehen", "neu", k2Fut1, 3, "wir würden uns anziehen",
       "als ob wir uns anziehen würden", nullptr},
      {"sich anziehen", "neu", k2Fut2, 1, "du würdest dich angezogen haben",
       "als ob du dich angezogen haben würdest", nullptr},
      {"sich3 etwas merken", "neu", k2Plusq, 0, "ich hätte mir etwas gemerkt",
       "als ob ich mir etwas gemerkt hätte", nullptr},
      {"sich3 etwas merken", "neu", k1Fut1, 1, "du werdest dir etwas merken",
       "als ob du dir etwas merken werdest", nullptr},
      {"übersetzen", "neu", k1Perf, 2, "er habe übersetzt", "als ob er übersetzt habe", nullptr},
      // Modal verbs and the Ersatzinfinitiv: the auxiliary before the verb cluster.
      {"können", "neu", k1Perf, 2, "er habe gekonnt", "als ob er gekonnt habe", nullptr},
      {"müssen", "neu", k2Plusq, 0, "ich hätte gemusst", "als ob ich gemusst hätte", nullptr},
      {"müssen", "alt", k2Plusq, 0, "ich hätte gemußt", "als ob ich gemußt hätte", nullptr},
      {"müssen", "ch", k2Plusq, 0, "ich hätte gemusst", "als ob ich gemusst hätte", nullptr},
      {"lesen können", "neu", k1Perf, 2, "er habe lesen können", "als ob er habe lesen können",
       nullptr},
      {"lesen können", "neu", k2Fut2, 2, "er würde haben lesen können",
       "als ob er würde haben lesen können", u"würde haben lesen können"},
      {"kommen sehen", "neu", k2Plusq, 2, "er hätte kommen sehen/kommen gesehen",
       "als ob er hätte kommen sehen/kommen gesehen hätte",
       u"hätte kommen sehen|hätte kommen gesehen"},
      // Dash rows: an impersonal verb has only es, a reciprocal one only the plural.
      {"3 regnen", "neu", k1Perf, 2, "es habe geregnet", "als ob es geregnet habe", nullptr},
      {"3 regnen", "neu", k2Fut1, 0, "-", "-", nullptr},
      {"sich einander helfen", "neu", k2Plusq, 0, "-", "-", nullptr},
      {"sich einander helfen", "neu", k2Plusq, 3, "wir hätten uns einander geholfen",
       "als ob wir uns einander geholfen hätten", nullptr},
      {"sein", "neu", k1Perf, 2, "er sei gewesen", "als ob er gewesen sei", nullptr},
      {"sein", "neu", k2Plusq, 1, "du wärest/wärst gewesen", "als ob du gewesen wärest/wärst",
       nullptr},
      {"haben", "neu", k2Plusq, 2, "er hätte gehabt", "als ob er gehabt hätte", nullptr},
      {"haben", "neu", k1Fut2, 2, "er werde gehabt haben", "als ob er gehabt haben werde", nullptr},
      {"werden", "neu", k1Perf, 2, "er sei geworden", "als ob er geworden sei", nullptr},
      {"werden", "neu", k2Fut1, 2, "er würde werden", "als ob er werden würde", nullptr},
      {"sammeln", "neu", k1Fut1, 0, "ich werde sammeln", "als ob ich sammeln werde", nullptr},
      {"sammeln", "neu", k2Plusq, 4, "ihr hättet gesammelt", "als ob ihr gesammelt hättet",
       nullptr},
  };
  for (const auto& r : rows) {
    const TConjTable t = ConjugatePhrase(Utf8ToUni(r.phrase), Ortho(r.ortho));
    const std::string name = std::string(r.phrase) + " " + r.ortho + " " + std::to_string(r.tense) +
                             "/" + std::to_string(r.person);
    ASSERT_TRUE(t.all) << name;
    const TConjRow& row = t.all->tenses[r.tense].rows[r.person];
    const TCells cells = Cells(row);
    EXPECT_EQ(cells.main, r.main) << name;
    EXPECT_EQ(cells.sub, r.sub) << name;
    if (r.mainData) {
      EXPECT_EQ(U8(Data(row.mainForm)), U8(r.mainData)) << name;
    }
  }
}

TEST_F(AllFormsTest, ImperativesAndPerfectInfinitives) {
  struct {
    const char* phrase;
    const char* ortho;
    const char *wir, *sie, *perfekt, *perfektZu;
  } rows[] = {
      {"lesen", "neu", "lesen wir!", "lesen Sie!", "gelesen haben", "gelesen zu haben"},
      {"gehen", "neu", "gehen wir!", "gehen Sie!", "gegangen sein", "gegangen zu sein"},
      {"fahren", "neu", "fahren wir!", "fahren Sie!", "gefahren sein/haben",
       "gefahren zu sein/zu haben"},
      {"ankommen", "neu", "kommen wir an!", "kommen Sie an!", "angekommen sein",
       "angekommen zu sein"},
      {"sich anziehen", "neu", "ziehen wir uns an!", "ziehen Sie sich an!", "sich angezogen haben",
       "sich angezogen zu haben"},
      {"sich3 etwas merken", "neu", "merken wir uns etwas!", "merken Sie sich etwas!",
       "sich etwas gemerkt haben", "sich etwas gemerkt zu haben"},
      {"übersetzen", "neu", "übersetzen wir!", "übersetzen Sie!", "übersetzt haben",
       "übersetzt zu haben"},
      // A modal verb has no imperative; an Ersatzinfinitiv puts haben before the cluster.
      {"können", "neu", "-", "-", "gekonnt haben", "gekonnt zu haben"},
      {"müssen", "alt", "-", "-", "gemußt haben", "gemußt zu haben"},
      {"müssen", "ch", "-", "-", "gemusst haben", "gemusst zu haben"},
      {"lesen können", "neu", "-", "-", "haben lesen können", "haben lesen zu können"},
      {"kommen sehen", "neu", "sehen wir kommen!", "sehen Sie kommen!",
       "haben kommen sehen/kommen gesehen haben", "haben kommen zu sehen/kommen gesehen zu haben"},
      {"3 regnen", "neu", "-", "-", "geregnet haben", "geregnet zu haben"},
      {"sich einander helfen", "neu", "helfen wir uns einander!", "helfen Sie sich einander!",
       "sich einander geholfen haben", "sich einander geholfen zu haben"},
      {"sein", "neu", "seien wir!", "seien Sie!", "gewesen sein", "gewesen zu sein"},
      {"haben", "neu", "haben wir!", "haben Sie!", "gehabt haben", "gehabt zu haben"},
      {"werden", "neu", "werden wir!", "werden Sie!", "geworden sein", "geworden zu sein"},
      {"sammeln", "neu", "sammeln wir!", "sammeln Sie!", "gesammelt haben", "gesammelt zu haben"},
      {"wasserstrahl_biegen", "neu", "wasserstrahlbiegen wir!", "wasserstrahlbiegen Sie!",
       "wasserstrahlgebogen sein/haben", "wasserstrahlgebogen zu sein/zu haben"},
  };
  for (const auto& r : rows) {
    const TConjTable t = ConjugatePhrase(Utf8ToUni(r.phrase), Ortho(r.ortho));
    const std::string name = std::string(r.phrase) + " " + r.ortho;
    ASSERT_TRUE(t.all) << name;
    const auto& shown = t.all->nonFinite;
    EXPECT_EQ(U8(shown[0]), r.wir) << name;
    EXPECT_EQ(U8(shown[1]), r.sie) << name;
    EXPECT_EQ(U8(shown[2]), r.perfekt) << name;
    EXPECT_EQ(U8(shown[3]), r.perfektZu) << name;
  }
  // The data: no "!", the alternatives spelt out.
  const TConjTable fahren = ConjugatePhrase(u"fahren", NeuOrtho);
  EXPECT_EQ(Data(fahren.all->nonFiniteForms[0]), u"fahren wir");
  EXPECT_EQ(Data(fahren.all->nonFiniteForms[3]), u"gefahren zu sein|gefahren zu haben");
  const TConjTable sehen = ConjugatePhrase(u"kommen sehen", NeuOrtho);
  EXPECT_EQ(Data(sehen.all->nonFiniteForms[2]), u"haben kommen sehen|kommen gesehen haben");
}

// Indices of the Vorgangspassiv: the eight tenses of the table, then the six further ones.
enum {
  pPraes,
  pPraet,
  pPerf,
  pPlusq,
  pFut1,
  pFut2,
  pKonj1,
  pKonj2,
  p1Perf,
  p1Fut1,
  p1Fut2,
  p2Plusq,
  p2Fut1,
  p2Fut2
};

TEST_F(AllFormsTest, Vorgangspassiv) {
  struct {
    const char* phrase;
    const char* ortho;
    int tense, person;
    const char *main, *sub;
  } rows[] = {
      {"lesen", "neu", pPraes, 0, "ich werde gelesen", "wenn ich gelesen werde"},
      {"lesen", "neu", pPraet, 0, "ich wurde gelesen", "als ich gelesen wurde"},
      {"lesen", "neu", pPerf, 0, "ich bin gelesen worden", "als ich gelesen worden bin"},
      {"lesen", "neu", pPlusq, 0, "ich war gelesen worden", "als ich gelesen worden war"},
      {"lesen", "neu", pFut1, 0, "ich werde gelesen werden", "wenn ich gelesen werden werde"},
      {"lesen", "neu", pFut2, 0, "ich werde gelesen worden sein",
       "wenn ich gelesen worden sein werde"},
      {"lesen", "neu", pKonj1, 0, "ich werde gelesen", "als ob ich gelesen werde"},
      {"lesen", "neu", pKonj2, 0, "ich würde gelesen", "als ob ich gelesen würde"},
      {"lesen", "neu", p1Perf, 0, "ich sei gelesen worden", "als ob ich gelesen worden sei"},
      {"lesen", "neu", p1Fut1, 0, "ich werde gelesen werden", "als ob ich gelesen werden werde"},
      {"lesen", "neu", p1Fut2, 0, "ich werde gelesen worden sein",
       "als ob ich gelesen worden sein werde"},
      {"lesen", "neu", p2Plusq, 0, "ich wäre gelesen worden", "als ob ich gelesen worden wäre"},
      {"lesen", "neu", p2Fut1, 0, "ich würde gelesen werden", "als ob ich gelesen werden würde"},
      {"lesen", "neu", p2Fut2, 0, "ich würde gelesen worden sein",
       "als ob ich gelesen worden sein würde"},
      {"lesen", "neu", pPraes, 1, "du wirst gelesen", "wenn du gelesen wirst"},
      {"lesen", "neu", pKonj1, 1, "du werdest gelesen", "als ob du gelesen werdest"},
      {"lesen", "neu", p1Perf, 1, "du seist/seiest gelesen worden",
       "als ob du gelesen worden seist/seiest"},
      {"sammeln", "neu", pPraes, 2, "er wird gesammelt", "wenn er gesammelt wird"},
      {"fahren", "neu", pPerf, 2, "er ist gefahren worden", "als er gefahren worden ist"},
      {"übersetzen", "neu", pPraet, 5, "sie wurden übersetzt", "als sie übersetzt wurden"},
      {"wasserstrahl_biegen", "neu", pPraet, 2, "er wurde wasserstrahlgebogen",
       "als er wasserstrahlgebogen wurde"},
      {"küssen", "neu", pPerf, 0, "ich bin geküsst worden", "als ich geküsst worden bin"},
      {"küssen", "alt", pPerf, 0, "ich bin geküßt worden", "als ich geküßt worden bin"},
      {"grüßen", "ch", pPraes, 0, "ich werde gegrüsst", "wenn ich gegrüsst werde"},
  };
  for (const auto& r : rows) {
    const TConjTable t = ConjugatePhrase(Utf8ToUni(r.phrase), Ortho(r.ortho));
    const std::string name = std::string(r.phrase) + " " + r.ortho + " " + std::to_string(r.tense) +
                             "/" + std::to_string(r.person);
    ASSERT_TRUE(t.all && t.all->hasPassive) << name;
    const TCells cells = Cells(t.all->passive.vorgang[r.tense].rows[r.person]);
    EXPECT_EQ(cells.main, r.main) << name;
    EXPECT_EQ(cells.sub, r.sub) << name;
  }
  const TConjTable lesen = ConjugatePhrase(u"lesen", NeuOrtho);
  const TConjPassive& p = lesen.all->passive;
  EXPECT_EQ(p.infinitivesShown[0], u"gelesen werden");
  EXPECT_EQ(p.infinitivesShown[1], u"gelesen worden sein");
  EXPECT_EQ(Data(p.infinitives[1]), u"gelesen worden sein");
  EXPECT_EQ(Data(p.vorgang[p1Perf].rows[1].mainForm),
            u"seist gelesen worden|seiest gelesen worden");
  EXPECT_EQ(Data(p.vorgang[p1Perf].rows[1].subForm), u"gelesen worden seist|gelesen worden seiest");
}

TEST_F(AllFormsTest, Zustandspassiv) {
  struct {
    int tense;
    const char *main, *sub;
  } rows[] = {
      {0, "er ist gelesen", "wenn er gelesen ist"},
      {1, "er war gelesen", "als er gelesen war"},
      {2, "er ist gelesen gewesen", "als er gelesen gewesen ist"},
      {3, "er war gelesen gewesen", "als er gelesen gewesen war"},
      {4, "er wird gelesen sein", "wenn er gelesen sein wird"},
      {5, "er wird gelesen gewesen sein", "wenn er gelesen gewesen sein wird"},
      {6, "er sei gelesen", "als ob er gelesen sei"},
      {7, "er wäre gelesen", "als ob er gelesen wäre"},
  };
  const TConjTable t = ConjugatePhrase(u"lesen", NeuOrtho);
  ASSERT_TRUE(t.all && t.all->hasPassive);
  for (const auto& r : rows) {
    const TCells cells = Cells(t.all->passive.zustand[r.tense].rows[2]);
    EXPECT_EQ(cells.main, r.main) << r.tense;
    EXPECT_EQ(cells.sub, r.sub) << r.tense;
  }
}

TEST_F(AllFormsTest, VerbsWithoutPassiveSayWhy) {
  constexpr const char* kNote =
      "Das persönliche Passiv setzt eine transitive Verwendung voraus; intransitiv gebraucht "
      "bildet ein Verb nur das unpersönliche Passiv (es wird getanzt).";
  struct {
    const char* phrase;
    const char* note;  // the note above the passive, or the reason why there is none
    bool passive;
  } rows[] = {
      {"lesen", kNote, true},
      {"fahren", kNote, true},
      {"sammeln", kNote, true},
      {"übersetzen", kNote, true},
      {"wasserstrahl_biegen", kNote, true},
      {"gehen", "Verben mit dem Hilfsverb sein bilden kein Passiv.", false},
      {"ankommen", "Verben mit dem Hilfsverb sein bilden kein Passiv.", false},
      {"sich anziehen", "Reflexive Verben bilden kein Passiv.", false},
      {"sich3 etwas merken", "Reflexive Verben bilden kein Passiv.", false},
      {"sich einander helfen", "Reflexive Verben bilden kein Passiv.", false},
      {"können", "Modalverben bilden kein Passiv.", false},
      {"müssen", "Modalverben bilden kein Passiv.", false},
      {"lesen können", "Modalverben bilden kein Passiv.", false},
      {"kommen sehen", "Zu einer Phrase mit Objekt oder Ergänzung wird kein Passiv gebildet.",
       false},
      {"3 regnen", "Unpersönliche Verben (es regnet) bilden kein Passiv.", false},
      {"aufeinanderprallen", "Verben, deren Subjekt nur im Plural steht, bilden hier kein Passiv.",
       false},
      {"sein", "Die Hilfsverben haben, sein und werden bilden kein Passiv.", false},
      {"haben", "Die Hilfsverben haben, sein und werden bilden kein Passiv.", false},
      {"werden", "Die Hilfsverben haben, sein und werden bilden kein Passiv.", false},
  };
  for (const auto& r : rows) {
    const TConjTable t = ConjugatePhrase(Utf8ToUni(r.phrase), NeuOrtho);
    ASSERT_TRUE(t.all) << r.phrase;
    EXPECT_EQ(t.all->hasPassive, r.passive) << r.phrase;
    EXPECT_EQ(U8(t.all->passiveNote), r.note) << r.phrase;
  }
}

// An undecided auxiliary shows both, each with "?", as the table's perfect tenses do; the data
// spell out both. Fetching sein for the passive leaves the choice as it was.
TEST_F(AllFormsTest, UndecidedAuxiliaryShowsBothWithQuestionMarks) {
  TVerbGenerator g;
  for (int round = 0; round < 2; ++round) {
    const TConjTable t = g.ConjugateWithAuxiliary(u"lesen", NeuOrtho, unspe);
    const TConjRow& row = t.all->tenses[k2Plusq].rows[1];
    EXPECT_EQ(Cells(row).main, "du wärest/wärst?/hättest? gelesen") << round;
    EXPECT_EQ(Cells(row).sub, "als ob du gelesen wärest/wärst?/hättest?") << round;
    EXPECT_EQ(Data(row.mainForm), u"wärest gelesen|wärst gelesen,hättest gelesen") << round;
    EXPECT_EQ(t.all->nonFinite[2], u"gelesen sein?/haben?") << round;
    EXPECT_TRUE(t.all->hasPassive) << round;
  }
}

TEST_F(AllFormsTest, TheTableAloneHasNoFurtherBlocks) {
  EXPECT_FALSE(ConjugatePhrase(u"lesen", NeuOrtho, TConjScope::table).all);
  EXPECT_FALSE(ConjugatePhrase(u"xyz!", NeuOrtho).all);  // rejected
  EXPECT_FALSE(ConjugatePhrase(u"  ", NeuOrtho).all);
  // The table itself is the same either way.
  const TConjTable table = ConjugatePhrase(u"sich anziehen", NeuOrtho, TConjScope::table);
  const TConjTable all = ConjugatePhrase(u"sich anziehen", NeuOrtho);
  EXPECT_EQ(ConjugationText(table), ConjugationText(all));
  const std::string json = ConjugationJson(table);
  EXPECT_EQ(json.find("passive"), std::string::npos);
  EXPECT_EQ(ConjugationJson(all).substr(0, 40), json.substr(0, 40));
}

// --- the page ------------------------------------------------------------------------------

std::string Page(std::u16string_view phrase, bool online, TPageForms forms,
                 TOrthoTyp ortho = NeuOrtho) {
  return UniToUtf8(GetVerbPageHtml(std::u16string(phrase), online, ortho, forms));
}

// The full page is today's page with the further blocks after the table; the page with the link
// is today's page with the link after the table. Every line ends in CR LF.
TEST_F(AllFormsTest, FullPageAndLinkAddToTodaysPage) {
  const std::string footer = "<hr>\r<table class=\"tbl2\">";
  for (const char16_t* phrase : {u"lesen", u"sich anziehen", u"übersetzen", u"<b>"}) {
    for (bool online : {false, true}) {
      const std::string today = Page(phrase, online, TPageForms::table);
      const std::size_t cut = today.rfind(footer);
      ASSERT_NE(cut, std::string::npos) << U8(phrase);
      const TConjTable t = ConjugatePhrase(phrase, NeuOrtho);
      const std::string blocks = U8(AllFormsHtml(t));
      const std::string link = U8(AllFormsLinkHtml(t));
      // Compared as a whole; a difference names the phrase only (the pages are long).
      EXPECT_TRUE(Page(phrase, online, TPageForms::allForms) ==
                  today.substr(0, cut) + blocks + today.substr(cut))
          << U8(phrase) << " online " << online;
      EXPECT_TRUE(Page(phrase, online, TPageForms::tableWithLink) ==
                  today.substr(0, cut) + link + today.substr(cut))
          << U8(phrase) << " online " << online;
      const bool table = t.status == TConjStatus::cs_ok || t.status == TConjStatus::cs_undecided;
      EXPECT_EQ(blocks.empty(), !table) << U8(phrase);
      EXPECT_EQ(link.empty(), !table) << U8(phrase);
      for (std::size_t lf = blocks.find('\n'); lf != std::string::npos;
           lf = blocks.find('\n', lf + 1))
        EXPECT_EQ(blocks[lf - 1], '\r') << U8(phrase) << " at " << lf;
    }
  }
}

TEST_F(AllFormsTest, LinkKeepsPhraseAndOrthography) {
  struct {
    const char16_t* phrase;
    TOrthoTyp ortho;
    const char* link;
  } rows[] = {
      {u"sich anziehen", NeuOrtho,
       "<p><a href=\"verbformen-deutsch.htm?infi=sich%20anziehen&amp;alle=1\">alle Formen "
       "(Konjunktiv der Vergangenheit, würde-Formen, Passiv)</a></p>\r\n"},
      {u"küssen", AltOrtho,
       "<p><a href=\"verbformen-deutsch.htm?infi=k%C3%BCssen&amp;ortho=alt&amp;alle=1\">"},
      {u"grüßen", ChOrtho, "?infi=gr%C3%BC%C3%9Fen&amp;ortho=ch&amp;alle=1\">"},
      {u"über'setzen", NeuOrtho, "?infi=%C3%BCber%27setzen&amp;alle=1\">"},
  };
  for (const auto& r : rows) {
    const std::string link = U8(AllFormsLinkHtml(ConjugatePhrase(r.phrase, r.ortho)));
    EXPECT_NE(link.find(r.link), std::string::npos) << U8(r.phrase) << "\n" << link;
  }
}

TEST_F(AllFormsTest, FullPageShowsTheBlocksInTheTablesStyle) {
  const std::string page = Page(u"lesen", false, TPageForms::allForms);
  for (const char* piece :
       {"<tr><td>Imperativ wir: </td><td>lesen wir!</td></tr>\r\n",
        "<tr><td>Infinitiv Perfekt mit zu: </td><td>gelesen zu haben</td></tr>\r\n",
        "<b>Weitere Zeiten des Konjunktivs</b><br><i>im Hauptsatz</i></p><b>Konjunktiv I "
        "Perfekt:</b></td>\r\n",
        "<tr><td><br><b>Konjunktiv II Futur I (würde-Form):</b></td><td>&nbsp;</td></tr>\r\n",
        "<tr><td>er  hätte gelesen</td><td class=\"c2\"><span style=\"color:#888888\">als ob "
        "</span>er  gelesen hätte</td></tr>\r\n",
        "<p><br><b>Passiv</b><br>\r\nDas persönliche Passiv setzt", "<b>Vorgangspassiv</b>",
        "<b>Zustandspassiv</b>",
        "<tr><td>Infinitiv Perfekt Passiv: </td><td>gelesen worden sein</td></tr>\r\n"})
    EXPECT_NE(page.find(piece), std::string::npos) << piece;
  const std::string none = Page(u"sich anziehen", false, TPageForms::allForms);
  EXPECT_NE(none.find("<p><br><b>Passiv:</b> Reflexive Verben bilden kein Passiv.</p>\r\n"),
            std::string::npos);
  EXPECT_EQ(none.find("Vorgangspassiv"), std::string::npos);
  // The auxiliary hint after the headings of the tenses with haben or sein, as in the table.
  const std::string fahren = Page(u"fahren", false, TPageForms::allForms);
  EXPECT_NE(fahren.find("<b>Konjunktiv II Plusquamperfekt:</b> (<a href="), std::string::npos);
  EXPECT_NE(fahren.find("<b>Konjunktiv II Futur I (würde-Form):</b></td>"), std::string::npos);
}

// --- the terminal table ----------------------------------------------------------------------

TEST_F(AllFormsTest, TerminalTableAddsTheBlocksInItsLayout) {
  struct {
    const char16_t* phrase;
    std::vector<const char16_t*> pieces;
  } rows[] = {
      {u"lesen",
       {u"\nImperativ wir:              lesen wir!\n",
        u"\nInfinitiv Perfekt mit zu:   gelesen zu haben\n",
        u"\nWeitere Zeiten des Konjunktivs\n  im Hauptsatz",
        u"\nKonjunktiv II Futur I (würde-Form)\n  ich würde lesen ",
        u"\nPassiv\nDas persönliche Passiv setzt", u"\nVorgangspassiv\n  im Hauptsatz",
        u"\nInfinitiv Perfekt Passiv:   gelesen worden sein\n",
        u"\nZustandspassiv\n  im Hauptsatz"}},
      {u"fahren", {u"\nKonjunktiv I Perfekt (haben oder sein?)\n  ich sei/habe gefahren "}},
      {u"sich anziehen", {u"\nPassiv: Reflexive Verben bilden kein Passiv.\n"}},
  };
  for (const auto& r : rows) {
    const TConjTable t = ConjugatePhrase(r.phrase, NeuOrtho);
    const std::u16string today = ConjugationText(t);
    const std::u16string text = ConjugationTextAll(t);
    EXPECT_TRUE(text.starts_with(today)) << U8(r.phrase);
    for (const char16_t* piece : r.pieces)
      EXPECT_NE(text.find(piece), text.npos) << U8(r.phrase) << ": " << U8(piece);
    // The subordinate clauses of the further blocks in one column, in line with the table's
    // where the cells fit.
    std::size_t column = 0;
    const std::u16string_view more = std::u16string_view(text).substr(today.size());
    for (std::size_t b = 0, e; (e = more.find(u'\n', b)) != more.npos; b = e + 1) {
      const std::u16string_view line = more.substr(b, e - b);
      const std::size_t c = line.find(u"   als ob ");
      if (c == line.npos || !line.starts_with(u"  ")) continue;
      const std::size_t at = line.find_first_not_of(u' ', c);
      if (column == 0) column = at;
      EXPECT_EQ(at, column) << U8(r.phrase) << ": " << U8(line);
    }
    EXPECT_NE(column, 0u) << U8(r.phrase);
  }
  // A rejected phrase: the message alone, as without the further blocks.
  const TConjTable rejected = ConjugatePhrase(u"xyz!", NeuOrtho);
  EXPECT_EQ(ConjugationTextAll(rejected), ConjugationText(rejected));
}

}  // namespace
