// SPDX-License-Identifier: MIT
// getFormA and its option letters, pronouns, blocked forms of impersonal verbs, the auxiliary
// hint and the auxiliary object, over the shared form fixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

namespace {

class FormAccessTest : public FormsFixture {
 protected:
  static TVerbGen& Verb(std::string_view verb) { return Analyse(verb); }
};

std::string Ascii(std::u16string_view u) {
  return std::string(u.begin(), u.end());
}

struct Row {
  const char* verb;
  TFormen form;
  const char16_t* options;
  const char* expected;
};

const Row kRows[] = {
    // "P": the stored pronoun, "du " and "er " with their blank, then one more.
    {"lesen", IndikPraes2S, u"MP", "du  liest"},
    {"lesen", IndikPraes3S, u"PM", "er  liest"},
    {"lesen", IndikPraes2S, u"", "liest"},
    {"lesen", IndikPraet1P, u"xyz", "lasen"},
    {"lesen", PartizipII, u"MP", "gelesen"},
    {"lesen", InfinitivII, u"P", "zu lesen"},
    {"Lesen", PartizipII, u"M", "gelesen"},  // a capitalised verb is conjugated as written small
    {"LESEN", IndikPraes2S, u"MP", "du  liest"},
    {"Ankommen", IndikPraes1S, u"MP", "ich komme an"},
    {"regnen", IndikPraes3S, u"MP", "es regnet"},
    {"regnen", KonjPraet3S, u"P", "es regnete"},
    {"regnen", IndikPraes1S, u"MP", "-"},
    // "M": the alternative after "/", without pronoun or trimming.
    {"sammeln", IndikPraes1S, u"MP", "ich sammle/sammele"},
    {"sammeln", IndikPraes1S, u"P", "ich sammle"},
    {"finden", IndikPraet2S, u"M", "fandest/fandst"},
    {"schinden", IndikPraet2S, u"M", "schundest/schundst,schindetest"},
    {"kommen", ImperativS, u"M", "komme/komm"},
    {"schreien", PartizipII, u"M", "geschrien"},
    {"hauen", PartizipII, u"M", "gehauen/gehaut"},
    // "N": subordinate order for finite forms only.
    {"sich anziehen", KonjPraet1S, u"MPN", "ich mich anzöge"},
    {"sich anziehen", KonjPraet1S, u"MP", "ich zöge mich an"},
    {"sich anziehen", IndikPraes3P, u"N", "sich anziehen"},
    {"sich anziehen", InfinitivII, u"N", "sich anzuziehen"},
    {"ankommen", IndikPraes1S, u"MP", "ich komme an"},
    {"ankommen", IndikPraes1S, u"MPN", "ich ankomme"},
    // Main forms lose trailing blanks (a particle that ends in one).
    {"auseinandergehen", IndikPraes3P, u"M", "gehen auseinander"},
};

TEST_F(FormAccessTest, GetFormA) {
  for (const Row& r : kRows) {
    TVerbGen& v = Verb(r.verb);
    EXPECT_EQ(Utf8(v.getFormA(r.form, r.options)), r.expected)
        << r.verb << ", form " << r.form << ", options " << Ascii(r.options);
  }
}

TEST_F(FormAccessTest, GetFormUtf16AndGebaeren) {
  TVerbGen& v = Verb("sich anziehen");
  EXPECT_EQ(v.getForm(KonjPraet1S, u"MPN"), u"ich mich anzöge");
  Verb("gebären");
  EXPECT_EQ(v.getPersPron(3), "sie");
  EXPECT_EQ(v.getFormA(IndikPraes3S, u"P").substr(0, 4), "sie ");
  EXPECT_EQ(v.getPersPronF(IndikPraes3S), u"sie");
}

TEST_F(FormAccessTest, PersonalPronouns) {
  TVerbGen& v = Verb("lesen");
  const char* stored[] = {"ich", "du ", "er ", "wir", "ihr", "sie"};
  for (int nr = 1; nr <= 6; ++nr) EXPECT_EQ(v.getPersPron(nr), stored[nr - 1]) << nr;
  EXPECT_EQ(v.getPersPron(0), "");
  EXPECT_EQ(v.getPersPron(7), "");
  for (int f = InfinitivI; f <= ImperativP; ++f)
    EXPECT_EQ(v.getPersPronFA(static_cast<TFormen>(f)), "") << "form " << f;
  EXPECT_EQ(v.getPersPronFA(IndikPraes2S), "du ");
  EXPECT_EQ(v.getPersPronFA(KonjPraet3P), "sie");
  EXPECT_EQ(v.getPersPronF(IndikPraet1S), u"ich");
  Verb("regnen");
  EXPECT_EQ(v.getPersPronFA(KonjPraes3S), "es");
}

TEST_F(FormAccessTest, ReflexiveParticleByForm) {
  TVerbGen& v = Verb("sich anziehen");
  EXPECT_EQ(v.refPartikelA(IndikPraes1S), " mich ");
  EXPECT_EQ(v.refPartikelA(KonjPraet2P), " euch ");
  EXPECT_EQ(v.refPartikelA(PartizipII), " uns ");  // person form + 1
  EXPECT_EQ(v.refPartikel(IndikPraes2S), u" dich ");
  Verb("(sich) waschen");
  EXPECT_EQ(v.refPartikelA(IndikPraet1S), " (mich) ");
  Verb("lesen");
  EXPECT_EQ(v.refPartikelA(IndikPraes1S), "");
}

TEST_F(FormAccessTest, EsVerbBlocked) {
  struct {
    TFormen form;
    bool blocked;
  } const rows[] = {
      {InfinitivI, false},  {PartizipII, false},   {ImperativS, true},   {ImperativP, true},
      {IndikPraes1S, true}, {IndikPraes3S, false}, {IndikPraes3P, true}, {IndikPraet3S, false},
      {IndikPraet2P, true}, {KonjPraes3S, false},  {KonjPraes1P, true},  {KonjPraet3S, false},
      {KonjPraet3P, true},
  };
  TVerbGen& v = Verb("regnen");
  for (const auto& r : rows) EXPECT_EQ(v.EsVerbBlocked(r.form), r.blocked) << "form " << r.form;
  Verb("lesen");
  for (const auto& r : rows) EXPECT_FALSE(v.EsVerbBlocked(r.form)) << "form " << r.form;
}

TEST_F(FormAccessTest, MeaningDifferencesAndAuxiliaryHint) {
  const std::u16string hint = std::u16string(u" (<a href=\"") + std::u16string(site::kHelpPageUrl) +
                              u"#habensein\">haben oder sein?</a>)";
  TVerbGen& v = Verb("wiegen");
  EXPECT_TRUE(v.hasMeaningDifferences());
  Verb("lesen");
  EXPECT_FALSE(v.hasMeaningDifferences());
  EXPECT_EQ(v.HabenSeinHint(), u"");  // haben
  Verb("reiten");
  EXPECT_EQ(v.HabenSeinHint(), hint);  // haben or sein
  Verb("gehen");
  EXPECT_EQ(v.HabenSeinHint(), u"");  // sein
  v.setHabenSein(habensein);
  EXPECT_EQ(v.HabenSeinHint(), hint);
  Verb("sich waschen");
  v.setHabenSein(habensein);
  EXPECT_EQ(v.HabenSeinHint(), u"");  // a reflexive verb takes haben
}

TEST_F(FormAccessTest, HabenSeinObject) {
  struct {
    habseityp hs;
    TFormen form;
    const char16_t* options;
    const char* expected;
  } const rows[] = {
      {unspe, IndikPraes1S, u"", "bin?/habe?"},
      {unspe, PartizipII, u"M", "gewesen?/gehabt?"},
      {haben, IndikPraes2S, u"M", "hast"},
      {sein, IndikPraes2S, u"M", "bist"},
      {habensein, IndikPraet3P, u"MN", "waren/hatten"},
  };
  TVerbHabenSein aux;
  for (const auto& r : rows) {
    aux.newVerb(r.hs);
    EXPECT_EQ(aux.getFormA(r.form, r.options), r.expected) << "hs " << r.hs << ", form " << r.form;
  }
  aux.newVerb(habensein);
  EXPECT_EQ(aux.getForm(IndikPraes1S, u""), u"bin/habe");
}

// Both main-clause forms from one build answer as the two requests, for every auxiliary
// choice and every form.
TEST_F(FormAccessTest, HabenSeinMainFormsAnswerAsTwoRequests) {
  TVerbHabenSein aux;
  for (const habseityp hs : {haben, sein, habensein, unspe}) {
    aux.newVerb(hs);
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      const TFormen form = static_cast<TFormen>(f);
      std::string plain, withAlternative;
      aux.MainFormsA(form, plain, withAlternative);
      EXPECT_EQ(plain, aux.getFormA(form, u"")) << "hs " << hs << ", form " << f;
      EXPECT_EQ(withAlternative, aux.getFormA(form, u"M")) << "hs " << hs << ", form " << f;
    }
  }
}

// Swiss spelling has no ß, whether it comes from the stem or from an ending token.
TEST_F(FormAccessTest, SwissSpellingWritesSs) {
  struct Row {
    const char* verb;
    TFormen form;
    const char* expected;
  } rows[] = {
      {"heißen", InfinitivI, "heissen"}, {"heißen", IndikPraes2S, "heisst"},
      {"heißen", IndikPraet1S, "hiess"}, {"heißen", PartizipII, "geheissen"},
      {"lassen", IndikPraet3S, "liess"},
  };
  for (const Row& r : rows) {
    TVerbGen& v = Analyse(r.verb, unsp, ChOrtho);
    EXPECT_EQ(Utf8(v.getFormA(r.form, u"")), r.expected) << r.verb << ", form " << r.form;
  }
}

// Malformed inputs through every form and option; run under the sanitizers
// (BEUGWERK_SANITIZE) to catch reads outside a string. Forms are "-" or text, never empty.
TEST_F(FormAccessTest, EveryFormOfMalformedInputs) {
  constexpr std::string_view kPieces[] = {
      "'",   "/",   "_",   " ",    "(",    ")",    "sich",   "sich3", "3 ",   "n",      "en",
      "ern", "eln", "ie",  "\xDF", "ss",   "lll",  "an",     "ge",    "word", "schrei", "m\xFCss",
      "]",   "|",   "\\+", "a",    "\xFC", "igen", "lichen", "zu",    "seh",  "mach"};
  std::mt19937 rng(4711);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> count(0, 8);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int round = 0; round < 400; ++round) {
    std::string input;
    for (int k = count(rng); k > 0; --k) input += kPieces[piece(rng)];
    if (round % 4 == 0) input.push_back(static_cast<char>(byte(rng)));
    if (round % 2 == 0) input += "en";
    TVerbGen& v = AnalyseBytes(input);
    v.InfiStattPart2 = static_cast<TInfiStattPart2>(round % 3);
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      for (const char16_t* options : {u"MPN", u"M"}) {
        std::string form = v.getFormA(static_cast<TFormen>(f), options);
        EXPECT_FALSE(form.empty()) << testing::PrintToString(input) << ", form " << f;
      }
    }
  }
}

}  // namespace
