// SPDX-License-Identifier: MIT
// The form-building helpers of TVerbGen, called directly on analysed verbs of the form fixture.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/_ZTVerb.h"
#include "tests/engine/TestSupport.h"

// Friend of TVerbGen: reaches the private helpers.
// The helpers take and give UTF-8, as the rows spell it.
struct FormHelpersTest : FormsFixture {
  static TVerbGen& Verb(std::string_view verb, TOrthoTyp ortho = NeuOrtho) {
    verb_->ForceMarkVowelLength = false;
    return Analyse(verb, unsp, ortho);
  }
  static TVerbGen& Ortho(TOrthoTyp ortho) { return Verb("machen", ortho); }

  static std::string Append(TVerbGen& v, std::string_view form, const char* token, bool isLong) {
    std::string s = Ansi(form);
    v.AppendEnding(s, token, isLong);
    return Utf8(s);
  }
  static std::string AppendBare(TVerbGen& v, std::string_view form, std::string_view ending,
                                bool isLong) {
    std::string s = Ansi(form);
    v.AppendBareEnding(s, Ansi(ending), isLong);
    return Utf8(s);
  }
  static std::string SharpS(TVerbGen& v, std::string_view form, char next, bool isLong) {
    std::string s = Ansi(form);
    v.AdjustSharpS(s, next, isLong);
    return Utf8(s);
  }
  static std::string Vowel(TVerbGen& v, std::string_view vowel, bool isLong) {
    std::string s = v.stamm;
    v.ReplaceStemVowel(s, Ansi(vowel), isLong);
    return Utf8(s);
  }
  static std::string Elide(TVerbGen& v) {
    std::string s = v.stamm;
    v.ElideStemE(s);
    return Utf8(s);
  }
  static std::string Triple(TVerbGen& v, std::string_view s) {
    return Utf8(v.ReduceTripleLetters(Ansi(s)));
  }
  static std::string Particle(TVerbGen& v) { return Utf8(v.SeparatedParticle()); }
  static std::string Mark(TVerbGen& v, std::string_view form, bool isLong) {
    std::string s = Ansi(form);
    v.MarkVowelLength(s, isLong);
    return Utf8(s);
  }
  static std::string P2Ending(TVerbGen& v, bool irregular) {
    return Utf8(v.ParticipleIIEnding(v.stamm, irregular));
  }
};

namespace {

constexpr TOrthoTyp N = NeuOrtho, A = AltOrtho, C = ChOrtho;

std::string OrthoName(TOrthoTyp o) {
  return o == NeuOrtho ? "NeuOrtho" : o == AltOrtho ? "AltOrtho" : "ChOrtho";
}

TEST_F(FormHelpersTest, AppendEnding) {
  struct Row {
    TOrthoTyp ortho;
    const char* form;
    const char* token;
    bool isLong;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {N, "lies", "-st", true, "liest"},  // contraction of the s
      {N, "hält", "-t", false, "hält"},   // ... and of the t
      {N, "rät", "-t", true, "rät"},
      {N, "nihm", "-2mm", false, "nimm"},  // cut, then append
      {N, "schnid", "-1tt", false, "schnitt"},
      {N, "mach", ":te", false, "machte"},
      {N, "sei", "ward", false, "ward"},  // replacement token
      {N, "ab", "-9x", false, "x"},       // cut beyond the form
      {N, "", "-st", false, "st"},
      {N, "muss", "-t", false, "musst"},
      {A, "muss", "-t", false, "mußt"},
      {C, "muss", "-t", false, "musst"},
      {A, "lass", "-e", false, "lasse"},
      {A, "lass", "-", false, "laß"},  // word end
      {N, "liess", "", true, "ließ"},
      {C, "liess", "", true, "liess"},
      {A, "riß", "-en", false, "rissen"},
      {N, "riß", "-en", false, "rissen"},
      {C, "riß", "-en", false, "rißen"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Append(Ortho(r.ortho), r.form, r.token, r.isLong), r.expected)
        << OrthoName(r.ortho) << " " << r.form << " + " << r.token;
    // The builders' shortcut for a dashed token answers as the token does.
    if (const std::string_view token = r.token; token.starts_with('-')) {
      EXPECT_EQ(AppendBare(Ortho(r.ortho), r.form, token.substr(1), r.isLong), r.expected)
          << OrthoName(r.ortho) << " " << r.form << " + bare " << token.substr(1);
    }
  }
}

TEST_F(FormHelpersTest, AdjustSharpS) {
  struct Row {
    TOrthoTyp ortho;
    const char* form;
    char next;
    bool isLong;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {N, "liess", ' ', true, "ließ"},  {N, "muss", ' ', false, "muss"},
      {N, "riß", 'e', false, "riss"},   {N, "riß", ' ', false, "riss"},
      {N, "ließ", 'e', true, "ließ"},   {A, "muss", 't', false, "muß"},
      {A, "lass", ' ', false, "laß"},   {A, "lass", 'e', false, "lass"},
      {A, "liess", 'e', true, "liess"}, {A, "liess", ' ', true, "ließ"},
      {A, "riß", 'e', false, "riss"},   {A, "riß", 't', false, "riß"},
      {A, "ließ", 'e', true, "ließ"},   {A, "ß", 'e', false, "ß"},  // no letter before
      {C, "muss", 't', false, "muss"},  {C, "riß", 'e', false, "riß"},
      {C, "liess", ' ', true, "liess"}, {N, "", ' ', true, ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(SharpS(Ortho(r.ortho), r.form, r.next, r.isLong), r.expected)
        << OrthoName(r.ortho) << " " << r.form << " next '" << r.next << "'";
}

TEST_F(FormHelpersTest, ReplaceStemVowel) {
  struct Row {
    const char* verb;
    const char* vowel;
    bool isLong;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {"kommen", "a", true, "kam"},  // short to long: mm loses one m
      {"treffen", "a", true, "traf"},       {"lassen", "ie", true, "liess"},  // not before s
      {"treten", "i", false, "tritt"},  // long to short: the final t doubles
      {"reiten", "i", false, "ritt"},       {"gehen", "i", false, "gih"},  // not after h
      {"nehmen", "i", false, "nihm"},  // more than one letter follows
      {"schreiben", "ie", true, "schrieb"}, {"halten", "ä", false, "hält"},
      {"lesen", "", true, "les"},  // no vowel: no change
  };
  for (const Row& r : rows)
    EXPECT_EQ(Vowel(Verb(r.verb), r.vowel, r.isLong), r.expected) << r.verb << " " << r.vowel;
}

TEST_F(FormHelpersTest, ElideStemE) {
  struct Row {
    const char* verb;
    TOrthoTyp ortho;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {"sammeln", N, "samml"}, {"wandern", N, "wandr"}, {"äußern", N, "äußr"},
      {"wässern", N, "wässr"}, {"wässern", A, "wäßr"},  {"wässern", C, "wässr"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Elide(Verb(r.verb, r.ortho)), r.expected) << r.verb << " " << OrthoName(r.ortho);
}

TEST_F(FormHelpersTest, ReduceTripleLetters) {
  struct Row {
    TOrthoTyp ortho;
    const char* s;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {N, "stilllegen", "stilllegen"},
      {A, "stilllegen", "stillegen"},
      {C, "stilllegen", "stillegen"},
      {A, "schifffahrt", "schiffahrt"},
      {A, "schiffffahrt", "schifffahrt"},
      {A, "Balletttruppe", "Balletttruppe"},
      {A, "stillleeere", "stilleeere"},
      {A, "aaa", "aaa"},
      // runs longer than three: after a removal the next letter is not looked at as the vowel
      {A, "eeeeeeee", "eeeee"},
      {A, "seeeeeen", "seeeen"},
      {A, "stilllllegen", "stillllegen"},
      {A, "", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Triple(Ortho(r.ortho), r.s), r.expected) << OrthoName(r.ortho) << " " << r.s;
}

TEST_F(FormHelpersTest, SeparatedParticle) {
  struct Row {
    const char* praef;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {"wiederher", "wieder her"},
      {"wiederauf", "wieder auf"},
      {"etwas wiederauf", "etwas wieder auf"},
      {"wieder", "wieder"},  // nothing follows the particle in a form: no blank at its end
      {"auseinander", "auseinander"},
      {"aufeinanderzu", "aufeinander zu"},
      // mit before another particle stands apart too (bezieht mit ein); miteinander is one
      {"mitein", "mit ein"},
      {"mitauf", "mit auf"},
      {"etwas mitan", "etwas mit an"},
      {"mit", "mit"},
      {"miteinander", "miteinander"},
      {"an", "an"},
      {"mit dem Taxi ", "mit dem Taxi"},
      {"Rad", "Rad"},
      {" ", ""},
      {"", ""},
  };
  TVerbGen& v = Ortho(NeuOrtho);
  for (const Row& r : rows) {
    v.praef = r.praef;
    EXPECT_EQ(Particle(v), r.expected) << "'" << r.praef << "'";
  }
}

TEST_F(FormHelpersTest, RefPartikel) {
  struct Row {
    const char* verb;
    int person;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {"sich waschen", 1, " mich"},
      {"sich waschen", 5, " euch"},
      {"sich3 etwas merken", 2, " dir"},
      {"(sich) waschen", 1, " (mich)"},
      {"(sich3) leisten", 2, " (dir)"},
      {"etwas mit sich bringen", 1, " etwas mit mir"},
      {"sich waschen", 0, ""},
      {"sich waschen", 7, ""},
      {"waschen", 1, ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(Verb(r.verb).refPartikel(r.person), r.expected) << r.verb << " " << r.person;
}

TEST_F(FormHelpersTest, PersonBlocked) {
  struct Row {
    const char* verb;
    const char* blocked;  // persons 1..6, 'x' blocked
  };
  static constexpr Row rows[] = {
      {"lesen", "......"},
      {"3 regnen", "xx.xxx"},
      {"aneinandergrenzen", "xxx..."},  // reciprocal: plural only
      {"auseinandergehen", "......"},   // apart: every person (ich gehe auseinander)
      {"durcheinanderlegen", "......"},
      {"verschallen", "xxxxxx"},
  };
  for (const Row& r : rows) {
    TVerbGen& v = Verb(r.verb);
    for (int p = 1; p <= 6; ++p)
      EXPECT_EQ(v.personblocked(p), r.blocked[p - 1] == 'x') << r.verb << " person " << p;
  }
}

TEST_F(FormHelpersTest, AdaptStressMarker) {
  TVerbGen& v = Verb("'lesen");
  std::string s = "'lies'";
  v.AdaptStressMarker(s);
  EXPECT_EQ(s, "'lies'");  // the input's own notation stays
  TVerbGen& w = Verb("\\+lesen");
  w.AdaptStressMarker(s);
  EXPECT_EQ(s, "lies'");  // only the first apostrophe goes
}

TEST_F(FormHelpersTest, MarkVowelLength) {
  struct Row {
    const char* verb;
    const char* form;
    bool isLong;
    const char* expected;
  };
  static constexpr Row rows[] = {
      {"lesen", "les", true, "le_s"},
      {"kommen", "komm", false, "ko.mm"},
      {"lesen", "lies", true, "lie_s"},
      {"sammeln", "sammel", false, "sa.mmel"},  // the -el does not count
      {"reinigen", "reinig", true, "rei_nig"},  // nor a final -ig
      {"lesen", "pf", true, "pf"},
      {"lesen", "", true, ""},
  };
  for (const Row& r : rows) {
    TVerbGen& v = Verb(r.verb);
    EXPECT_EQ(Mark(v, r.form, r.isLong), r.form) << "unforced " << r.form;
    v.ForceMarkVowelLength = true;
    EXPECT_EQ(Mark(v, r.form, r.isLong), r.expected) << r.form;
  }
}

TEST_F(FormHelpersTest, ParticipleIIEnding) {
  EXPECT_EQ(P2Ending(Verb("kommen"), true), "-en");
  EXPECT_EQ(P2Ending(Verb("schleifen"), true), "-1ffen");
  EXPECT_EQ(P2Ending(Verb("schleifen"), false), "-t");
  EXPECT_EQ(P2Ending(Verb("arbeiten"), false), "-et");
  EXPECT_EQ(P2Ending(Verb("machen"), true), "-t");  // no entry: regular
  // An entry that allows regular forms but keeps its irregular participle ending.
  TVerbGen& v = Verb("machen");
  unRegRec entry;
  entry.auchregel = entry.P2nurUnreg = true;
  v.unRegel = &entry;
  v.schwst = schwach;
  EXPECT_EQ(P2Ending(v, false), "-en");
  entry.endung[2] = "-1ffen";
  EXPECT_EQ(P2Ending(v, false), "-1ffen");
  v.schwst = unsp;
  EXPECT_EQ(P2Ending(v, false), "-t");
  v.unRegel = nullptr;
}

}  // namespace
