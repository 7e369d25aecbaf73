// SPDX-License-Identifier: MIT
// The conjugation table: its HTML fragments for reflexive, impersonal, reciprocal, undecided
// and rejected phrases, the auxiliary hint, the meaning notes, and the terminal rendering.
#include "generator/VerbGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/SiteConfig.h"
#include "common/_ZT_cmn_A.h"

namespace {

class GeneratorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = std::filesystem::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX";
    keepLoaded_ = std::make_unique<TVerbGen>();  // the lists stay loaded, as in the window
  }
  static void TearDownTestSuite() { keepLoaded_.reset(); }

  struct TFragments {
    std::string msg, s1, s2;
    TConjTable table;
  };

  // Formen in the order the page uses: analysis, auxiliary, then the fragments.
  static TFragments Fragments(const std::u16string& phrase) {
    TVerbGenerator g;
    g.Verb.newVerb(phrase, unsp);
    g.VerbHabenSein.newVerb(g.Verb.FHabsei);
    std::u16string msg = u"old", s1 = u"old", s2 = u"old";
    g.Formen(phrase, msg, s1, s2);
    return {UniToUtf8(msg), UniToUtf8(s1), UniToUtf8(s2), ConjugatePhrase(phrase, NeuOrtho)};
  }

  static std::unique_ptr<TVerbGen> keepLoaded_;
};
std::unique_ptr<TVerbGen> GeneratorTest::keepLoaded_;

// The cells keep the engine's blanks; the comparisons here do not care for doubled ones.
std::u16string CollapseBlanksForTest(std::u16string s) {
  for (std::size_t p; (p = s.find(u"  ")) != s.npos;) s.erase(p, 1);
  return s;
}

int Count(std::string_view s, std::string_view sub) {
  int n = 0;
  for (std::size_t p = s.find(sub); p != s.npos; p = s.find(sub, p + sub.size())) ++n;
  return n;
}

std::string U8(std::u16string_view u) {
  return UniToUtf8(u);
}

constexpr std::string_view kDashRow = "<tr><td>-</td><td class=\"c2\">-</td></tr>\r\n";
constexpr std::string_view kWarning =
    "<p>nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!</p>\r\n";
// Person rows: every subordinate cell but the caption's.
int PersonRows(std::string_view s2) {
  return Count(s2, "<td class=\"c2\">") - 1;
}

TEST(WrapForm, DecoratesOnlyRealForms) {
  struct {
    std::u16string_view prefix, form, suffix, expected;
  } rows[] = {
      {u"ich ", u"gelesen", u" habe", u"ich gelesen habe"},
      {u"ich ", u"-", u" habe", u"-"},
      {u"ich ", u"", u" habe", u""},
      {u"", u"--", u"!", u"--!"},
      {u"", u" -", u"!", u" -!"},
  };
  for (const auto& r : rows)
    EXPECT_EQ(TVerbGenerator::WrapForm(r.prefix, std::u16string(r.form), r.suffix), r.expected)
        << U8(r.form);
}

TEST(HtmlEscape, MarkupCharactersOnly) {
  struct {
    std::u16string_view in, expected;
  } rows[] = {
      {u"sich waschen", u"sich waschen"}, {u"'übersetzen", u"'übersetzen"},
      {u"<script>", u"&lt;script&gt;"},   {u"a \"b\" & c", u"a &quot;b&quot; &amp; c"},
      {u"&amp;", u"&amp;amp;"},           {u"", u""},
  };
  for (const auto& r : rows) EXPECT_EQ(HtmlEscape(r.in), r.expected) << U8(r.in);
}

TEST_F(GeneratorTest, NormalVerbHasEightHeadingsAndFortyEightRows) {
  for (const char16_t* phrase : {u"lesen", u"sich waschen", u"mit dem Taxi fahren"}) {
    const TFragments f = Fragments(phrase);
    EXPECT_EQ(f.msg, "") << U8(phrase);
    EXPECT_EQ(Count(f.s2, "<b>"), 8) << U8(phrase);
    EXPECT_EQ(PersonRows(f.s2), 48) << U8(phrase);
    EXPECT_EQ(Count(f.s2, kDashRow), 0) << U8(phrase);
    EXPECT_TRUE(f.s2.starts_with("<table class=\"tbl2\">\r\n<colgroup>")) << U8(phrase);
    EXPECT_TRUE(f.s2.ends_with("</table>\r\n")) << U8(phrase);
    EXPECT_TRUE(f.s1.starts_with("<table class=\"tbl1\" style=\"margin-bottom:0.7em\">"));
    EXPECT_TRUE(f.s1.ends_with("</table>")) << U8(phrase);
  }
}

TEST_F(GeneratorTest, ReflexiveVerbPlacesThePronounByPerson) {
  const TFragments f = Fragments(u"sich waschen");
  EXPECT_NE(f.s1.find("Infinitiv I: </td><td>sich waschen</td>"), std::string::npos) << f.s1;
  EXPECT_NE(f.s1.find("Partizip II: </td><td>sich gewaschen</td>"), std::string::npos) << f.s1;
  const char16_t* pronouns[] = {u" mich ", u" dich ", u" sich ", u" uns ", u" euch ", u" sich "};
  for (int k = 2; k < 6; ++k) {  // the compound tenses
    const TConjTense& t = f.table.tenses[k];
    for (int p = 0; p < 6; ++p) {
      const TConjRow& row = t.rows[p];
      for (const std::u16string& cell : {row.main, row.sub}) {
        EXPECT_NE(cell.find(pronouns[p]), std::u16string::npos) << U8(t.name) << " " << U8(cell);
        EXPECT_LE(Count(U8(cell), "sich"), 1) << U8(t.name) << " " << U8(cell);
      }
    }
  }
  // The examples a reader sees for ich, blanks as the browser shows them.
  const TConjRow& perfekt = f.table.tenses[2].rows[0];
  EXPECT_EQ(perfekt.main, u"ich habe  mich gewaschen");
  EXPECT_EQ(perfekt.conj + perfekt.sub, u"als ich  mich gewaschen habe");
  const TConjRow& futur1 = f.table.tenses[4].rows[0];
  EXPECT_EQ(futur1.main, u"ich werde mich  waschen");
  EXPECT_EQ(futur1.conj + futur1.sub, u"wenn ich mich  waschen werde");
  const TConjRow& futur2 = f.table.tenses[5].rows[0];
  EXPECT_EQ(futur2.main, u"ich werde  mich gewaschen haben");
  EXPECT_EQ(futur2.conj + futur2.sub, u"wenn ich  mich gewaschen haben werde");
}

TEST_F(GeneratorTest, OptionalReflexiveShowsItsPronounOnceInTheCompoundTenses) {
  const TFragments f = Fragments(u"(sich) waschen");
  EXPECT_NE(f.s1.find("Infinitiv I: </td><td>(sich) waschen</td>"), std::string::npos) << f.s1;
  EXPECT_NE(f.s1.find("Partizip II: </td><td>(sich) gewaschen</td>"), std::string::npos) << f.s1;
  // Person ich and person sie of each compound tense, blanks as the browser shows them; the
  // same cells stand on the page and in the terminal table.
  struct {
    int tense, person;
    const char16_t *main, *sub;
  } rows[] = {
      {2, 0, u"ich habe (mich) gewaschen", u"als ich (mich) gewaschen habe"},
      {3, 0, u"ich hatte (mich) gewaschen", u"als ich (mich) gewaschen hatte"},
      {4, 0, u"ich werde (mich) waschen", u"wenn ich (mich) waschen werde"},
      {5, 0, u"ich werde (mich) gewaschen haben", u"wenn ich (mich) gewaschen haben werde"},
      {2, 5, u"sie haben (sich) gewaschen", u"als sie (sich) gewaschen haben"},
      {4, 5, u"sie werden (sich) waschen", u"wenn sie (sich) waschen werden"},
      {5, 5, u"sie werden (sich) gewaschen haben", u"wenn sie (sich) gewaschen haben werden"},
  };
  for (const auto& r : rows) {
    const TConjRow& row = f.table.tenses[r.tense].rows[r.person];
    const std::string name = U8(f.table.tenses[r.tense].name);
    EXPECT_EQ(CollapseBlanks(row.main), r.main) << name;
    EXPECT_EQ(CollapseBlanks(row.conj + row.sub), r.sub) << name;
    EXPECT_NE(f.s2.find(U8(row.main)), std::string::npos) << name;
  }
  // No cell of a compound tense carries a second pronoun.
  for (int k = 2; k < 6; ++k)
    for (const TConjRow& row : f.table.tenses[k].rows)
      for (const std::u16string& cell : {row.main, row.sub})
        EXPECT_EQ(Count(U8(cell), "("), 1) << U8(f.table.tenses[k].name) << " " << U8(cell);
  const std::u16string text = ConjugationText(f.table);
  EXPECT_NE(text.find(u"\n  ich habe (mich) gewaschen "), text.npos) << U8(text);
  EXPECT_EQ(text.find(u"(mich) (sich)"), text.npos) << U8(text);
}

TEST_F(GeneratorTest, ImpersonalVerbBlocksAllButThirdSingular) {
  const TFragments f = Fragments(u"3 regnen");
  // Präsens and Präteritum keep their two items; the blocked ones are dashes on both sides.
  EXPECT_EQ(Count(f.s2, "<tr><td>-</td>\r\n<td class=\"c2\">-</td></tr>\r\n"), 10) << f.s2;
  EXPECT_NE(f.s2.find("<tr><td>es regnet</td>\r\n<td class=\"c2\"><span "
                      "style=\"color:#888888\">wenn </span>es regnet</td></tr>"),
            std::string::npos);
  // Perfekt .. Futur II: whole dash rows except for es; the subjunctives are not blocked, but
  // the engine's forms are "-" there, so their rows read the same.
  EXPECT_EQ(Count(f.s2, kDashRow), 6 * 5) << f.s2;
  for (int k = 2; k < 6; ++k) {
    for (int p = 0; p < 6; ++p)
      EXPECT_EQ(f.table.tenses[k].rows[p].dash, p != 2) << U8(f.table.tenses[k].name) << p;
    EXPECT_TRUE(f.table.tenses[k].rows[2].main.starts_with(u"es ")) << k;
  }
  EXPECT_EQ(f.table.tenses[2].rows[2].main, u"es hat geregnet");
  EXPECT_NE(f.s1.find("Imperativ Plural: </td><td>-</td>"), std::string::npos) << f.s1;
  EXPECT_EQ(PersonRows(f.s2), 48);
}

TEST_F(GeneratorTest, ReciprocalVerbHasDashRowsForTheSingular) {
  const TFragments f = Fragments(u"sich aneinander gewöhnen");
  EXPECT_EQ(Count(f.s2, kDashRow), 8 * 3) << f.s2;
  for (const TConjTense& t : f.table.tenses)
    for (int p = 0; p < 6; ++p) {
      EXPECT_EQ(t.rows[p].dash, p < 3) << U8(t.name) << p;
      if (p >= 3) {
        EXPECT_NE(t.rows[p].main.find(u"aneinander"), std::u16string::npos);
      }
    }
  EXPECT_EQ(f.table.tenses[2].rows[3].main, u"wir haben  uns aneinander gewöhnt");
}

// Dash rows come from a plural-only analysis or from einander as a phrase word, not from a
// particle that merely contains it.
TEST_F(GeneratorTest, EinanderDashRowsFollowTheAnalysis) {
  struct {
    const char16_t* phrase;
    bool singularDashes;
    const char16_t* perfekt1;  // ich-row of the Perfekt when shown (the table's double blank)
  } rows[] = {
      {u"aufeinandertreffen", true, u""},
      {u"sich einander helfen", true, u""},
      {u"Steine aufeinanderlegen", false, u"ich habe Steine aufeinandergelegt"},
      {u"sich auseinandersetzen", false, u"ich habe  mich auseinandergesetzt"},
  };
  for (const auto& r : rows) {
    const TFragments f = Fragments(r.phrase);
    for (const TConjTense& t : f.table.tenses)
      for (int p = 0; p < 6; ++p)
        EXPECT_EQ(t.rows[p].dash, p < 3 && r.singularDashes) << U8(r.phrase) << U8(t.name) << p;
    EXPECT_EQ(Count(f.s2, kDashRow), r.singularDashes ? 8 * 3 : 0) << U8(r.phrase);
    EXPECT_EQ(f.table.nonFinite[4] == u"-", r.singularDashes) << U8(r.phrase);
    if (!r.singularDashes) {
      EXPECT_EQ(f.table.tenses[2].rows[0].main, r.perfekt1) << U8(r.phrase);
    }
  }
}

// An infinitive standing for the participle (Ersatzinfinitiv) ends the clause together with the
// infinitive it governs; the finite auxiliary, and haben of Futur II, stand before both. The
// participle spelling keeps the usual order.
TEST_F(GeneratorTest, ErsatzinfinitivKeepsTheVerbClusterLast) {
  struct {
    const char16_t* phrase;
    int tense;  // Perfekt 2, Plusquamperfekt 3, Futur II 5; person ich
    const char16_t *main, *sub, *subForm, *subAlt;
  } rows[] = {
      {u"arbeiten brauchen", 2, u"ich habe arbeiten brauchen", u"ich habe arbeiten brauchen",
       u"habe arbeiten brauchen", u""},
      {u"das Buch lesen brauchen", 3, u"ich hatte das Buch lesen brauchen",
       u"ich das Buch hatte lesen brauchen", u"das Buch hatte lesen brauchen", u""},
      {u"arbeiten brauchen", 5, u"ich werde haben arbeiten brauchen",
       u"ich werde haben arbeiten brauchen", u"werde haben arbeiten brauchen", u""},
      {u"lachen machen", 2, u"ich habe lachen machen/lachen gemacht",
       u"ich habe lachen machen/lachen gemacht habe", u"habe lachen machen",
       u"lachen gemacht habe"},
      {u"lesen", 2, u"ich habe gelesen", u"ich gelesen habe", u"gelesen habe", u""},
      {u"lesen", 5, u"ich werde gelesen haben", u"ich gelesen haben werde", u"gelesen haben werde",
       u""},
  };
  for (const auto& r : rows) {
    const TFragments f = Fragments(r.phrase);
    const TConjRow& row = f.table.tenses[r.tense].rows[0];
    const std::string name = U8(r.phrase) + " " + std::to_string(r.tense);
    EXPECT_EQ(U8(CollapseBlanksForTest(row.main)), U8(r.main)) << name;
    EXPECT_EQ(U8(CollapseBlanksForTest(row.sub)), U8(r.sub)) << name;
    EXPECT_EQ(U8(row.subForm.form), U8(r.subForm)) << name;
    EXPECT_EQ(U8(row.subForm.alt), U8(r.subAlt)) << name;
  }
}

TEST_F(GeneratorTest, UndecidedPhraseWarnsAndStillShowsTheTable) {
  const TFragments f = Fragments(u"übersetzen");
  EXPECT_EQ(f.table.status, TConjStatus::cs_undecided);
  // The warning first; the two readings of the prefix follow it (Page_test checks them).
  EXPECT_TRUE(f.msg.starts_with(kWarning)) << f.msg;
  EXPECT_EQ(f.table.readings, (std::vector<TConjReading>{{u"'übersetzen", u"er setzt über"},
                                                         {u"über'setzen", u"er übersetzt"}}));
  EXPECT_EQ(PersonRows(f.s2), 48);
  EXPECT_EQ(Count(f.s2, "<b>"), 8);
}

TEST_F(GeneratorTest, TheAuxiliaryHintBelongsToPerfektPlusquamperfektFuturII) {
  const std::string hint = U8(std::u16string(u" (<a href=\"") + std::u16string(site::kHelpPageUrl) +
                              u"#habensein\">haben oder sein?</a>)");
  const TFragments both = Fragments(u"mit dem Taxi fahren");
  for (const char* heading : {"Perfekt:", "Plusquamperfekt:", "Futur II:"})
    EXPECT_NE(both.s2.find("<tr><td><br><b>" + std::string(heading) + "</b>" + hint +
                           "</td><td>&nbsp;</td></tr>\r\n"),
              std::string::npos)
        << heading;
  EXPECT_NE(both.s2.find("<tr><td><br><b>Futur I:</b></td><td>&nbsp;</td></tr>\r\n"),
            std::string::npos);
  EXPECT_EQ(Count(both.s2, "haben oder sein?"), 3);
  EXPECT_EQ(both.table.tenses[2].rows[0].main, u"ich bin/habe mit dem Taxi gefahren");
  for (const char16_t* phrase : {u"lesen", u"sich waschen", u"gehen"})
    EXPECT_EQ(Count(Fragments(phrase).s2, "haben oder sein?"), 0) << U8(phrase);
}

TEST_F(GeneratorTest, MeaningDifferencesNoteEndsTheNonFiniteBlock) {
  struct {
    const char16_t* phrase;
    const char* ending;
  } rows[] = {
      {u"wiegen", "</table><p>\r\nmit Bedeutungsunterschieden!</p>"},
      {u"etwas wiegen", "</table><p>\r\nevtl. nicht alle Formen sinnvoll</p>"},
      {u"lesen", "</td></tr>\r\n</table>"},
  };
  for (const auto& r : rows)
    EXPECT_TRUE(Fragments(r.phrase).s1.ends_with(r.ending)) << U8(r.phrase);
}

TEST_F(GeneratorTest, BlankPhraseAsksForAnInfinitive) {
  for (const char16_t* phrase : {u"", u"   "}) {
    const TFragments f = Fragments(phrase);
    EXPECT_EQ(f.msg, "<p>Geben Sie bitte einen Verbinfinitiv ein!</p>\r\n");
    EXPECT_EQ(f.s1, "");
    EXPECT_EQ(f.s2, "");
  }
}

TEST_F(GeneratorTest, RejectedPhraseGivesTheEscapedMessageAndTheHelpLink) {
  const TFragments f = Fragments(u"<b>");
  EXPECT_EQ(f.table.status, TConjStatus::cs_error);
  EXPECT_FALSE(f.msg.empty());
  EXPECT_EQ(f.msg.find('<'), std::string::npos) << f.msg;
  EXPECT_NE(f.msg.find("&lt;b&gt;"), std::string::npos) << f.msg;
  EXPECT_EQ(f.s1, "<hr>");
  EXPECT_EQ(f.s2, "<a href=\"" + U8(site::kHelpPageUrl) + "#fehler\">Hilfe</a>");
}

// A word that does not look like an infinitive gets a warning above a table built all the same;
// a real infinitive gets none.
TEST_F(GeneratorTest, WordsThatAreNoInfinitivesAreNamedSo) {
  struct {
    const char16_t* phrase;
    const char* warning;
  } rows[] = {
      {u"version", "„version“ sieht nicht wie ein Infinitiv aus."},
      {u"gegangen", "„gegangen“ sieht nicht wie ein Infinitiv aus, sondern wie ein Partizip II."},
      {u"abgefahren",
       "„abgefahren“ sieht nicht wie ein Infinitiv aus, sondern wie ein Partizip II."},
      {u"lesen", ""},
      {u"gehen", ""},
      {u"mit dem Taxi fahren", ""},
  };
  for (const auto& r : rows) {
    const TFragments f = Fragments(r.phrase);
    const std::string name = U8(r.phrase);
    EXPECT_EQ(U8(f.table.warning), r.warning) << name;
    if (*r.warning == '\0') {
      EXPECT_EQ(f.msg.find("Infinitiv aus"), std::string::npos) << name;
      continue;
    }
    EXPECT_TRUE(f.msg.starts_with("<p>" + std::string(r.warning) + "</p>\r\n")) << f.msg;
    EXPECT_EQ(PersonRows(f.s2), 48) << name;
    const std::u16string text = ConjugationText(f.table);
    EXPECT_TRUE(text.starts_with(f.table.warning + u"\n\n")) << U8(text);
    EXPECT_NE(ConjugationJson(f.table).find("\"warning\":\"" + std::string(r.warning) + "\""),
              std::string::npos)
        << name;
  }
  // Once a lookup of forms knows the verb, the warning names it.
  EXPECT_EQ(U8(NotInfinitiveMessage(u"gegangen", IB_Partizip, u"gehen")),
            "„gegangen“ ist kein Infinitiv, sondern eine Form von „gehen“.");
}

// --- the terminal table ----------------------------------------------------------------------

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t b = 0;
  for (std::size_t e; (e = text.find(u'\n', b)) != text.npos; b = e + 1)
    lines.push_back(text.substr(b, e - b));
  return lines;
}

TEST_F(GeneratorTest, TerminalTableAlignsTheSubordinateColumn) {
  const std::u16string text = ConjugationText(ConjugatePhrase(u"sich waschen", NeuOrtho));
  const std::vector<std::u16string> lines = Lines(text);
  EXPECT_EQ(lines[0], u"Infinitiv I:          sich waschen");
  EXPECT_EQ(lines[4], u"Imperativ Singular:   wasche dich/wasch dich!");
  // Every person row: two blanks, the main clause, then the subordinate clause in one column.
  std::size_t column = 0;
  int rows = 0;
  for (const std::u16string& line : lines) {
    const std::size_t c = line.find(u"   als ob ") != line.npos ? line.find(u"als ob ")
                          : line.find(u"   wenn ") != line.npos ? line.find(u"wenn ")
                          : line.find(u"   als ") != line.npos  ? line.find(u"als ")
                                                                : 0;
    if (c == 0) continue;
    ++rows;
    if (column == 0) column = c;
    EXPECT_EQ(c, column) << U8(line);  // "wäschst" counts seven, as it shows
  }
  EXPECT_EQ(rows, 48);
  EXPECT_NE(text.find(u"\n  du wäschst dich"), text.npos) << U8(text);  // one blank after du
  EXPECT_NE(text.find(u"\nPräsens\n"), text.npos);
  EXPECT_NE(text.find(u"\nKonjunktiv II\n"), text.npos);
  EXPECT_EQ(text.find(u"haben oder sein?"), text.npos);
}

TEST_F(GeneratorTest, TerminalTableShowsTheMessages) {
  struct {
    const char16_t* phrase;
    const char16_t* expected;
  } rows[] = {
      {u"übersetzen",
       u"nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!\n"
       u"  'übersetzen  (er setzt über)\n  über'setzen  (er übersetzt)\n\n"},
      {u"mit dem Taxi fahren", u"\nPerfekt (haben oder sein?)\n"},
      {u"mit dem Taxi fahren", u"\nFutur I\n"},
      {u"wiegen", u"wiegt!\nmit Bedeutungsunterschieden!\n"},
      {u"sich aneinander gewöhnen", u"\nPräsens\n  -"},
      {u"<b>", u"<b>\nist kein Infinitiv!\nHilfe: "},  // the engine's CR as a line break
      {u" ", u"Geben Sie bitte einen Verbinfinitiv ein!\n"},
  };
  for (const auto& r : rows) {
    const std::u16string text = ConjugationText(ConjugatePhrase(r.phrase, NeuOrtho));
    EXPECT_NE(text.find(r.expected), text.npos) << U8(r.phrase) << "\n" << U8(text);
  }
}

}  // namespace
