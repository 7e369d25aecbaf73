// SPDX-License-Identifier: MIT
// The public facade over the generator's fixture lists: the structs carry the table's data,
// ToJson is the JSON of the command line, and threads may conjugate at once.
#include "beugwerk/beugwerk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

namespace {

class FacadeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    beugwerk::SetVerbListsPath(
        (std::filesystem::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX").string());
  }
};

TEST_F(FacadeTest, StructsCarryTheConjugation) {
  using beugwerk::Tense;
  const struct {
    const char* phrase;
    beugwerk::Orthography ortho;
    Tense tense;
    int person;  // 1..6
    const char* main;
    const char* sub;
  } rows[] = {
      {"sich anfahren", beugwerk::Orthography::neu, Tense::Praesens, 1, "fahre mich an",
       "mich anfahre"},
      {"sich waschen", beugwerk::Orthography::neu, Tense::Perfekt, 2, "hast dich gewaschen",
       "dich gewaschen hast"},
      {"3 regnen", beugwerk::Orthography::neu, Tense::Praesens, 1, "", ""},
      {"3 regnen", beugwerk::Orthography::neu, Tense::Praeteritum, 3, "regnete", "regnete"},
      {"küssen", beugwerk::Orthography::alt, Tense::Praesens, 2, "küßt", "küßt"},
      {"grüßen", beugwerk::Orthography::ch, Tense::FuturII, 1, "werde gegrüsst haben",
       "gegrüsst haben werde"},
      {"über'setzen", beugwerk::Orthography::neu, Tense::Praesens, 1, "übersetze", "übersetze"},
  };
  for (const auto& r : rows) {
    const beugwerk::Conjugation c = beugwerk::Conjugate(r.phrase, r.ortho);
    ASSERT_TRUE(c.ok()) << r.phrase << ": " << c.error;
    const beugwerk::PersonForms& p = c.tense(r.tense)[r.person - 1];
    EXPECT_EQ(p.person, r.person) << r.phrase;
    EXPECT_EQ(p.main.text, r.main) << r.phrase;
    EXPECT_EQ(p.sub.text, r.sub) << r.phrase;
    // ToJson is the command line's object, byte for byte.
    const TOrthoTyp o = r.ortho == beugwerk::Orthography::alt  ? AltOrtho
                        : r.ortho == beugwerk::Orthography::ch ? ChOrtho
                                                               : NeuOrtho;
    EXPECT_EQ(beugwerk::ToJson(c), ConjugationJson(ConjugatePhrase(Utf8ToUni(r.phrase), o)))
        << r.phrase;
  }

  const beugwerk::Conjugation marked = beugwerk::Conjugate("über'setzen");
  EXPECT_EQ(marked.tense(Tense::Praesens)[0].main.marked, "über'setze");
  EXPECT_EQ(marked.analysis.inseparablePrefix, "über");
  const beugwerk::Conjugation open = beugwerk::Conjugate("übersetzen");
  EXPECT_FALSE(open.decided);
  ASSERT_EQ(open.readings.size(), 2u);
  EXPECT_EQ(open.readings[0].input, "'übersetzen");
  EXPECT_TRUE(open.readings[0].separable);
  const beugwerk::Conjugation dative = beugwerk::Conjugate("sich3 die Hände waschen");
  EXPECT_TRUE(dative.analysis.reflexiveDative);
  EXPECT_EQ(dative.analysis.phrase, "die Hände");
  EXPECT_EQ(dative.nonFinite[beugwerk::PartizipII].text, "sich die Hände gewaschen");
  const beugwerk::Conjugation sammeln = beugwerk::Conjugate("sammeln");
  EXPECT_EQ(sammeln.tense(Tense::Praesens)[0].main.alternatives,
            std::vector<std::string>{"sammele"});
  EXPECT_EQ(sammeln.analysis.auxiliary, beugwerk::Auxiliary::haben);
}

TEST_F(FacadeTest, RejectedAndBlankPhrasesCarryTheMessage) {
  const beugwerk::Conjugation bad = beugwerk::Conjugate("xyz!");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(bad.error, "xyz!\rist kein Infinitiv!");
  // The JSON gives the message as the page shows it, without the engine's line break.
  EXPECT_EQ(beugwerk::ToJson(bad), "{\"input\":\"xyz!\",\"error\":\"xyz! ist kein Infinitiv!\"}");
  const beugwerk::Conjugation blank = beugwerk::Conjugate("   ");
  EXPECT_EQ(blank.error, "Geben Sie bitte einen Verbinfinitiv ein!");
}

// A file named for the lists that cannot be used is reported by every Conjugate.
TEST_F(FacadeTest, UnusableListsAreReported) {
  beugwerk::SetVerbListsPath("/nonexistent/Beugwerk.VLX");
  const beugwerk::Conjugation c = beugwerk::Conjugate(" lesen ");
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.input, "lesen");
  EXPECT_EQ(c.error,
            "Die Verblistendatei \"/nonexistent/Beugwerk.VLX\" kann nicht gelesen werden: Datei "
            "oder Verzeichnis nicht gefunden.");
  EXPECT_NE(beugwerk::ToJson(c).find("\"error\":\"Die Verblistendatei"), std::string::npos);
  SetUpTestSuite();
  EXPECT_TRUE(beugwerk::Conjugate("lesen").ok());
}

TEST_F(FacadeTest, ThreadsConjugateAtOnce) {
  const std::string expected = beugwerk::ToJson(beugwerk::Conjugate("sich anfahren"));
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 25; ++i)
        if (beugwerk::ToJson(beugwerk::Conjugate("sich anfahren")) != expected) ++wrong[t];
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

}  // namespace

namespace {

// The lookup through the facade: the structs carry what the JSON says.
TEST_F(FacadeTest, LookupCarriesTheForms) {
  const beugwerk::LookupResult r = beugwerk::Lookup("Fuhr");
  ASSERT_TRUE(r.ok());
  ASSERT_FALSE(r.verbs.empty());
  EXPECT_EQ(r.verbs[0].infinitive, "fahren");
  EXPECT_TRUE(r.verbs[0].listed);
  ASSERT_EQ(r.verbs[0].forms.size(), 2u);
  const beugwerk::LookupForm& f = r.verbs[0].forms[1];
  EXPECT_EQ(f.tense + f.mood + std::to_string(f.person) + f.number + f.text,
            "praeteritumindikativ3singularer fuhr");
  EXPECT_NE(beugwerk::ToJson(r).find("\"infinitive\":\"fahren\""), std::string::npos);
  const beugwerk::LookupResult bad = beugwerk::Lookup("123");
  EXPECT_FALSE(bad.ok());
  EXPECT_EQ(beugwerk::ToJson(bad).rfind("{\"error\":", 0), 0u);
}

}  // namespace
