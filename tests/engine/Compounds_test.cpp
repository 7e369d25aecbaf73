// SPDX-License-Identifier: MIT
// Loans and compounds on a small verb list of their own (tests/fixtures/analysis/compounds.VLX):
// -ieren verbs whose first letters look like a particle, verbs built on nouns, compounds written
// as one word that take both orders, and stems with an accented vowel.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

namespace {

class CompoundsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = Fixture("analysis", "compounds.VLX");
    verb_ = std::make_unique<TVerbGen>();
    verb_->SetOnErrMsg([](const std::u16string&) {});
  }
  static void TearDownTestSuite() { verb_.reset(); }

  // Analyses the verb (UTF-8) and returns whether the analysis decided it.
  static bool Analyse(const char* verb) { return verb_->newVerbA(Ansi(verb), unsp); }
  // A form as getFormA gives it, in UTF-8.
  static std::string Form(TFormen f, std::u16string_view options = u"M") {
    return Utf8(verb_->getFormA(f, options));
  }

  inline static std::unique_ptr<TVerbGen> verb_;
};

struct FormsRow {
  const char* input;
  const char* praesens3;  // main clause, with its alternatives after "/"
  const char* partizipII;
};

void CheckDecidedRows(const FormsRow* begin, const FormsRow* end, bool (*analyse)(const char*),
                      std::string (*form)(TFormen, std::u16string_view)) {
  for (const FormsRow* r = begin; r != end; ++r) {
    SCOPED_TRACE(r->input);
    EXPECT_TRUE(analyse(r->input));
    EXPECT_EQ(form(IndikPraes3S, u"M"), r->praesens3);
    EXPECT_EQ(form(PartizipII, u"M"), r->partizipII);
  }
}

// A particle is split off an -ieren verb only when a verb of its own follows; the loans that
// merely begin like a particle stay whole, weak, without ge-.
TEST_F(CompoundsTest, ParticlesBeforeIerenVerbs) {
  const FormsRow rows[] = {
      {"abrogieren", "abrogiert", "abrogiert"},
      {"ablatieren", "ablatiert", "ablatiert"},
      {"anglisieren", "anglisiert", "anglisiert"},
      {"angulieren", "anguliert", "anguliert"},
      {"anastomosieren", "anastomosiert", "anastomosiert"},
      {"anglikanisieren", "anglikanisiert", "anglikanisiert"},
      {"abhorreszieren", "abhorresziert", "abhorresziert"},
      {"plattieren", "plattiert", "plattiert"},  // the bare suffix is no verb
      // the rest is an -ieren verb of the lists, a German verb, or a particle and such a verb
      {"abservieren", "serviert ab", "abserviert"},
      {"anprobieren", "probiert an", "anprobiert"},
      {"ausdiskutieren", "diskutiert aus", "ausdiskutiert"},
      {"umprogrammieren", "programmiert um", "umprogrammiert"},
      {"durchdiskutieren", "diskutiert durch", "durchdiskutiert"},
      {"aufaddieren", "addiert auf", "aufaddiert"},
      {"wiedereinquartieren", "quartiert wieder ein", "wiedereinquartiert"},
      {"abschmieren", "schmiert ab", "abgeschmiert"},
      {"ausleiern", "leiert aus", "ausgeleiert"},  // -ei-ern, no -ieren
      // the input may split or stress the particle itself
      {"ab/rogieren", "rogiert ab", "abrogiert"},
      {"'abrogieren", "rogiert 'ab", "'abrogiert"},
  };
  CheckDecidedRows(std::begin(rows), std::end(rows), Analyse, Form);
}

// über, unter, voll before an -ieren verb are inseparable; um needs a verb of its own.
TEST_F(CompoundsTest, DoublyUsablePrefixBeforeIerenVerbs) {
  const FormsRow rows[] = {
      {"überinterpretieren", "überinterpretiert", "überinterpretiert"},
      {"überqualifizieren", "überqualifiziert", "überqualifiziert"},
      {"überdosieren", "überdosiert", "überdosiert"},
      {"unterdimensionieren", "unterdimensioniert", "unterdimensioniert"},
      {"vollautomatisieren", "vollautomatisiert", "vollautomatisiert"},
      {"umetikettieren", "umetikettiert", "umetikettiert"},
  };
  CheckDecidedRows(std::begin(rows), std::end(rows), Analyse, Form);
  ASSERT_TRUE(Analyse("überinterpretieren"));
  EXPECT_EQ(Form(InfinitivII), "zu überinterpretieren");
}

// A stem that no prefix, stress or gap explains is built on a noun: ge- before the whole word,
// or before a strong verb of the lists behind the first part.
TEST_F(CompoundsTest, VerbsBuiltOnNouns) {
  struct Row {
    const char* input;
    const char* partizipII;
    const char* infinitivII;
    const char* praesens3;
  };
  const Row rows[] = {
      {"schuhplatteln", "geschuhplattelt", "zu schuhplatteln", "schuhplattelt"},
      {"frühstücken", "gefrühstückt", "zu frühstücken", "frühstückt"},
      {"ehebrechen", "ehegebrochen", "ehezubrechen", "-"},  // finite forms limited by the lists
      {"gewichtheben", "gewichtgehoben", "gewichtzuheben", "gewichthebt"},
      {"probefahren", "probegefahren", "probezufahren", "probefährt"},
      {"zweckentfremden", "zweckentfremdet", "zu zweckentfremden", "zweckentfremdet"},
      {"beinhalten", "beinhaltet", "zu beinhalten", "beinhaltet"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.input);
    EXPECT_TRUE(Analyse(r.input));
    EXPECT_EQ(Form(PartizipII), r.partizipII);
    EXPECT_EQ(Form(InfinitivII), r.infinitivII);
    EXPECT_EQ(Form(IndikPraes3S), r.praesens3);
  }
  // A prefix the analysis can read keeps the question open.
  for (const char* open : {"wiederholen", "übersprechen", "unterschlängeln"})
    EXPECT_FALSE(Analyse(open)) << open;
}

// Compounds written as one word that take both orders: the joined form first.
TEST_F(CompoundsTest, BothOrders) {
  struct Row {
    const char* input;
    TFormen form;
    const char* options;
    const char* expected;
  };
  const Row rows[] = {
      {"staubsaugen", IndikPraes2S, "M", "staubsaugst/saugst Staub"},
      {"staubsaugen", IndikPraes2S, "MN", "staubsaugst/Staub saugst"},
      {"staubsaugen", IndikPraet1S, "M", "staubsaugte/saugte Staub"},
      {"staubsaugen", PartizipII, "M", "gestaubsaugt/staubgesaugt"},
      {"staubsaugen", InfinitivII, "M", "zu staubsaugen/staubzusaugen"},
      {"staubsaugen", PartizipI, "M", "staubsaugend"},
      {"staubsaugen", ImperativS, "M", "staubsauge/staubsaug,sauge Staub,saug Staub"},
      {"staubsaugen", ImperativP, "M", "staubsaugt/saugt Staub"},
      {"hohnlachen", IndikPraes3S, "M", "hohnlacht/lacht hohn"},
      {"hohnlachen", IndikPraes3S, "MN", "hohnlacht"},  // one order in the subordinate clause
      {"hohnlachen", PartizipII, "M", "gehohnlacht/hohngelacht"},
      {"hohnlachen", InfinitivII, "M", "zu hohnlachen/hohnzulachen"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.input) + " " + std::to_string(r.form) + " " + r.options);
    EXPECT_TRUE(Analyse(r.input));
    const std::u16string options(r.options, r.options + std::char_traits<char>::length(r.options));
    EXPECT_EQ(Form(r.form, options), r.expected);
  }
  // The split reading alone, as the '/' marks it.
  ASSERT_TRUE(Analyse("Staub/saugen"));
  EXPECT_EQ(Form(IndikPraes2S), "saugst Staub");
}

// A vowel with an accent is a vowel: the stem is conjugated with it.
TEST_F(CompoundsTest, AccentedVowels) {
  const FormsRow rows[] = {
      {"crèmen", "crèmt", "gecrèmt"},
      {"eincrèmen", "crèmt ein", "eingecrèmt"},
      {"fêtieren", "fêtiert", "fêtiert"},
      {"dépêchieren", "dépêchiert", "dépêchiert"},
  };
  CheckDecidedRows(std::begin(rows), std::end(rows), Analyse, Form);
}

// Words that cannot be infinitives: an ending no German infinitive has, or the Partizip II of a
// strong verb of the lists. Every real infinitive shape stays an infinitive.
TEST_F(CompoundsTest, WordsThatAreNoInfinitives) {
  const struct {
    const char* input;
    TInfinitivBefund finding;
  } rows[] = {
      {"version", IB_Endung},
      {"station", IB_Endung},
      {"getan", IB_Endung},
      {"gefahren", IB_Partizip},
      {"gegangen", IB_Partizip},
      {"gelesen", IB_Partizip},
      {"gegeben", IB_Partizip},
      {"gewesen", IB_Partizip},
      {"abgefahren", IB_Partizip},
      {"zurückgekommen", IB_Partizip},
      {"'abgefahren", IB_Partizip},
      {"lesen", IB_Infinitiv},
      {"tun", IB_Infinitiv},
      {"sein", IB_Infinitiv},
      {"knien", IB_Infinitiv},
      {"gehn", IB_Infinitiv},
      {"schaun", IB_Infinitiv},
      {"wandern", IB_Infinitiv},
      {"schlumperln", IB_Infinitiv},
      {"crèmen", IB_Infinitiv},
      // ge- verbs, also where the participle of the base looks the same (gefallen, geraten)
      {"gehen", IB_Infinitiv},
      {"geben", IB_Infinitiv},
      {"gestehen", IB_Infinitiv},
      {"gefallen", IB_Infinitiv},
      {"geraten", IB_Infinitiv},
      {"hineingeraten", IB_Infinitiv},
      {"abgeben", IB_Infinitiv},
      {"mit dem Taxi fahren", IB_Infinitiv},
  };
  for (const auto& r : rows) {
    Analyse(r.input);
    EXPECT_EQ(verb_->infinitivBefund, r.finding) << r.input;
  }
  // The finding only warns: the forms are still built.
  Analyse("gegangen");
  EXPECT_EQ(Form(IndikPraes3S), "gegangt");
}

}  // namespace
