// SPDX-License-Identifier: MIT
// Präsens and Imperativ over the shared form fixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

namespace {

class PresentTest : public FormsFixture {
 protected:
  static TVerbGen& Verb(std::string_view verb, TOrthoTyp ortho) {
    return Analyse(verb, unsp, ortho);
  }
};

constexpr TOrthoTyp N = NeuOrtho, A = AltOrtho, C = ChOrtho;

struct PresRow {
  const char* verb;
  TOrthoTyp ortho;
  int person;
  bool sub;
  const char* expected;
  const char* form2;
};

// Main clause unless marked.
constexpr PresRow kPraesens[] = {
    {"lesen", N, 1, false, "lese", ""},
    {"lesen", N, 2, false, "liest", ""},
    {"lesen", N, 3, false, "liest", ""},
    {"lesen", N, 5, false, "lest", ""},
    {"lesen", N, 6, false, "lesen", ""},
    {"halten", N, 2, false, "hältst", ""},
    {"halten", N, 3, false, "hält", ""},
    {"halten", N, 5, false, "haltet", ""},
    {"raten", N, 3, false, "rät", ""},
    {"laden", N, 2, false, "lädst", ""},
    {"laden", N, 3, false, "lädt", ""},
    {"gelten", N, 3, false, "gilt", ""},
    {"arbeiten", N, 3, false, "arbeitet", ""},
    {"atmen", N, 2, false, "atmest", ""},
    {"sammeln", N, 1, false, "sammle", "sammele"},
    {"sammeln", N, 2, false, "sammelst", ""},
    {"sammeln", N, 4, false, "sammeln", ""},
    {"wandern", N, 1, false, "wandere", "wandre"},
    {"wandern", N, 4, false, "wandern", ""},
    {"wandern", N, 3, false, "wandert", ""},
    {"schlumperln", N, 1, false, "schlumperl", ""},
    {"schlumperln", N, 4, false, "schlumperln", ""},
    {"können", N, 1, false, "kann", ""},
    {"können", N, 2, false, "kannst", ""},
    {"können", N, 3, false, "kann", ""},
    {"können", N, 4, false, "können", ""},
    {"können", N, 5, false, "könnt", ""},
    {"dürfen", N, 1, false, "darf", ""},
    {"mögen", N, 1, false, "mag", ""},
    {"mögen", N, 2, false, "magst", ""},
    {"wollen", N, 2, false, "willst", ""},
    {"sollen", N, 3, false, "soll", ""},
    {"müssen", N, 1, false, "muss", ""},
    {"müssen", N, 2, false, "musst", ""},
    {"müssen", A, 1, false, "muß", ""},
    {"müssen", A, 2, false, "mußt", ""},
    {"müssen", A, 4, false, "müssen", ""},
    {"müssen", A, 5, false, "müßt", ""},
    {"müssen", C, 2, false, "musst", ""},
    {"wissen", N, 1, false, "weiß", ""},
    {"wissen", N, 2, false, "weißt", ""},
    {"wissen", N, 3, false, "weiß", ""},
    {"wissen", N, 5, false, "wisst", ""},
    {"wissen", A, 5, false, "wißt", ""},
    {"wissen", C, 1, false, "weiss", ""},
    {"wissen", C, 2, false, "weisst", ""},
    {"sein", N, 1, false, "bin", ""},
    {"sein", N, 2, false, "bist", ""},
    {"sein", N, 3, false, "ist", ""},
    {"sein", N, 4, false, "sind", ""},
    {"sein", N, 5, false, "seid", ""},
    {"sein", N, 6, false, "sind", ""},
    {"werden", N, 1, false, "werde", ""},
    {"werden", N, 2, false, "wirst", ""},
    {"werden", N, 3, false, "wird", ""},
    {"werden", N, 5, false, "werdet", ""},
    {"tun", N, 1, false, "tue", ""},
    {"tun", N, 2, false, "tust", ""},
    {"tun", N, 4, false, "tun", ""},
    {"tun", N, 5, false, "tut", ""},
    {"lassen", N, 1, false, "lasse", ""},
    {"lassen", N, 2, false, "lässt", ""},
    {"lassen", A, 1, false, "lasse", ""},
    {"lassen", A, 2, false, "läßt", ""},
    {"lassen", C, 3, false, "lässt", ""},
    {"essen", N, 2, false, "isst", ""},
    {"essen", A, 2, false, "ißt", ""},
    {"heißen", N, 2, false, "heißt", ""},
    {"nehmen", N, 2, false, "nimmst", ""},
    {"nehmen", N, 3, false, "nimmt", ""},
    {"geben", N, 2, false, "gibst", ""},
    {"treten", N, 2, false, "trittst", ""},
    {"treten", N, 3, false, "tritt", ""},
    {"helfen", N, 3, false, "hilft", ""},
    {"sehen", N, 2, false, "siehst", ""},
    {"bersten", N, 2, false, "birst", ""},
    {"bersten", N, 3, false, "birst", ""},
    {"gebären", N, 3, false, "gebärt", "gebiert"},
    {"schleifen", N, 2, false, "schleifst", ""},  // regular and irregular agree
    {"finden", N, 2, false, "findest", ""},
    {"sich waschen", N, 1, false, "wasche mich", ""},
    {"sich waschen", N, 2, false, "wäschst dich", ""},
    {"sich waschen", N, 2, true, "dich wäschst", ""},
    {"(sich) waschen", N, 1, false, "wasche (mich)", ""},
    {"(sich) waschen", N, 1, true, "(mich) wasche", ""},
    {"sich3 etwas merken", N, 1, false, "merke mir etwas", ""},
    {"ankommen", N, 1, true, "ankomme", ""},
    {"ankommen", N, 1, false, "komme an", ""},
    {"sich anziehen", N, 1, true, "mich anziehe", ""},
    {"sich anziehen", N, 1, false, "ziehe mich an", ""},
    {"sich anziehen", N, 3, true, "sich anzieht", ""},
    {"einsammeln", N, 1, false, "sammle ein", "sammele"},   // alternative bare in main order
    {"einsammeln", N, 1, true, "einsammle", "einsammele"},  // joined prefix, no pronoun
    {"sich einsammeln", N, 1, true, "mich einsammle", "einsammele"},
    {"stilllegen", N, 1, true, "stilllege", ""},
    {"stilllegen", A, 1, true, "stillege", ""},
    {"stilllegen", C, 1, true, "stillege", ""},
    {"stillegen", A, 3, false, "legt still", ""},
    {"radfahren", N, 1, true, "Rad fahre", ""},
    {"radfahren", N, 3, false, "fährt Rad", ""},
    {"mit dem Taxi fahren", N, 1, true, "mit dem Taxi fahre", ""},
    {"/umfahren", N, 1, true, "umfahre", ""},  // the '/' marker adds no blank
    {"mit dem Taxi /umfahren", N, 1, true, "mit dem Taxi umfahre", ""},
    {"wiederherstellen", N, 1, false, "stelle wieder her", ""},
    {"wiederherstellen", N, 1, true, "wiederherstelle", ""},
    {"auseinandergehen", N, 4, false, "gehen auseinander", ""},
    {"auseinandergehen", N, 1, false, "gehe auseinander", ""},
    {"durcheinanderlegen", N, 2, false, "legst durcheinander", ""},
    {"aneinandergrenzen", N, 1, false, "-", ""},
    {"aneinandergrenzen", N, 6, false, "grenzen aneinander", ""},
    {"3 regnen", N, 3, false, "regnet", ""},
    {"3 regnen", N, 1, false, "-", ""},
    {"3 regnen", N, 5, false, "-", ""},
    {"regnen", N, 6, false, "-", ""},  // impersonal by the lists
    {"verschallen", N, 3, false, "-", ""},
    {"\\+lesen", N, 2, false, "liest", ""},  // stress notation that must not show
    {"'lesen", N, 2, false, "'liest", ""},
};

TEST_F(PresentTest, Praesens) {
  for (const PresRow& r : kPraesens) {
    TVerbGen& v = Verb(r.verb, r.ortho);
    std::string got = Utf8(v.PraesensA(r.person, r.sub));
    std::string name = std::string(r.verb) + " ortho " + std::to_string(r.ortho) + " person " +
                       std::to_string(r.person) + (r.sub ? " subordinate" : " main");
    EXPECT_EQ(got, r.expected) << name;
    EXPECT_EQ(Utf8(v.Form2), r.form2) << name << " (Form2)";
  }
}

struct ImpRow {
  const char* verb;
  TOrthoTyp ortho;
  int nr;
  const char* expected;
  const char* form2;
};

constexpr ImpRow kImperativ[] = {
    {"gebären", N, 1, "gebär", "gebäre! gebier"},
    {"dürfen", N, 1, "-", ""},
    {"können", N, 1, "-", ""},
    {"mögen", N, 1, "-", ""},
    {"sollen", N, 1, "-", ""},
    {"wissen", N, 1, "wisse", ""},
    {"müssen", N, 1, "müsse", ""},
    {"wollen", N, 1, "wolle", ""},
    {"atmen", N, 1, "atme", ""},
    {"kommen", N, 1, "komme", "komm"},
    {"reinigen", N, 1, "reinige", ""},
    {"zeigen", N, 1, "zeige", "zeig"},
    {"machen", N, 1, "mache", "mach"},
    {"lesen", N, 1, "lies", ""},
    {"sehen", N, 1, "sieh", "siehe"},
    {"geben", N, 1, "gib", ""},
    {"nehmen", N, 1, "nimm", ""},
    {"treten", N, 1, "tritt", ""},
    {"helfen", N, 1, "hilf", ""},
    {"gelten", N, 1, "gilt", ""},
    {"essen", N, 1, "iss", ""},
    {"essen", A, 1, "iß", ""},
    {"essen", C, 1, "iss", ""},
    {"werden", N, 1, "werd", "werde"},
    {"bersten", N, 1, "birst", "berste"},
    {"sein", N, 1, "sei", ""},
    {"sein", N, 2, "seid", ""},
    {"tun", N, 1, "tue", "tu"},
    {"erlöschen", N, 1, "erlisch", ""},  // an o-umlaut stem with i in the Präsens
    {"erlöschen", A, 1, "erlisch", ""},
    {"knien", N, 1, "knie", ""},
    {"lassen", N, 1, "lasse", "lass"},
    {"lassen", A, 1, "lasse", "laß"},
    {"lassen", C, 1, "lasse", "lass"},
    {"sammeln", N, 1, "sammle", "sammele"},
    {"wandern", N, 1, "wandere", "wandre"},
    {"schlumperln", N, 1, "schlumperl", ""},
    {"schleifen", N, 1, "schleife", "schleif"},
    {"sich anziehen", N, 1, "ziehe dich an", "zieh dich an"},
    {"sich anziehen", N, 2, "zieht euch an", ""},
    {"ansehen", N, 1, "sieh an", "siehe an"},
    {"sich waschen", N, 2, "wascht euch", ""},
    {"ankommen", N, 2, "kommt an", ""},
    {"3 regnen", N, 1, "-", ""},
    {"3 regnen", N, 2, "-", ""},
    {"auseinandergehen", N, 1, "gehe auseinander", "geh auseinander"},
    {"wiederkommen", N, 1, "komme wieder", "komm wieder"},  // no blank after the particle
    {"wiederkommen", N, 2, "kommt wieder", ""},
    {"sich3 etwas merken", N, 1, "merke dir etwas", "merk dir etwas"},
    {"aneinandergrenzen", N, 1, "-", ""},
    {"auseinandergehen", N, 2, "geht auseinander", ""},
    {"verschallen", N, 1, "-", ""},
    {"\\+lesen", N, 1, "lies", ""},
    {"lesen", N, 3, "-", ""},  // neither singular nor plural
};

TEST_F(PresentTest, Imperativ) {
  for (const ImpRow& r : kImperativ) {
    TVerbGen& v = Verb(r.verb, r.ortho);
    std::string got = Utf8(v.ImperativA(r.nr));
    std::string name =
        std::string(r.verb) + " ortho " + std::to_string(r.ortho) + " nr " + std::to_string(r.nr);
    EXPECT_EQ(got, r.expected) << name;
    EXPECT_EQ(Utf8(v.Form2), r.form2) << name << " (Form2)";
  }
}

TEST_F(PresentTest, Utf16TwinsConvert) {
  TVerbGen& v = Verb("halten", NeuOrtho);
  EXPECT_EQ(v.Praesens(3, false), u"h\u00E4lt");
  EXPECT_EQ(v.Imperativ(1), u"halte");
  EXPECT_EQ(v.Form2, "halt");
}

TEST_F(PresentTest, UnprefixedLeavesTheParticleOut) {
  TVerbGen& v = Verb("sich anziehen", NeuOrtho);
  v.unPrefixed = true;
  EXPECT_EQ(v.PraesensA(1, false), "ziehe mich");
  EXPECT_EQ(v.PraesensA(1, true), "mich anziehe");  // subordinate order keeps the prefix
  EXPECT_EQ(v.ImperativA(1), "ziehe dich");
  EXPECT_EQ(v.Form2, "zieh dich");
  v.unPrefixed = false;
}

TEST_F(PresentTest, EveryFormOfAnEmptyStemIsMissing) {
  TVerbGen& v = Verb("xyz", NeuOrtho);  // rejected: the stem is emptied
  for (int p = 0; p <= 7; ++p) EXPECT_EQ(v.PraesensA(p, false), "-") << p;
  EXPECT_EQ(v.ImperativA(1), "-");
}

}  // namespace
