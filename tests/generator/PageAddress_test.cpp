// SPDX-License-Identifier: MIT
// The page address: what the builder writes, and that the parser reads every built address
// back to the same phrase and orthography.
#include "generator/PageAddress.h"

#include <gtest/gtest.h>

#include <string>

#include "common/_ZT_cmn_A.h"

namespace {

TEST(PageAddress, BuiltAddresses) {
  const struct {
    std::u16string_view origin, phrase;
    TOrthoTyp ortho;
    const char* address;
  } rows[] = {
      {u"https://beugwerk.de", u"lesen", NeuOrtho,
       "https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=lesen"},
      {u"", u"sich übergeben", NeuOrtho,
       "/beugwerkde/verbformen-deutsch.htm?infi=sich%20%C3%BCbergeben"},
      {u"http://x", u"Rock & Roll", AltOrtho,
       "http://x/beugwerkde/verbformen-deutsch.htm?infi=Rock%20%26%20Roll&ortho=alt"},
      {u"", u"grüßen", ChOrtho,
       "/beugwerkde/verbformen-deutsch.htm?infi=gr%C3%BC%C3%9Fen&ortho=ch"},
      {u"", u"(sich) 'an/ziehen+", NeuOrtho,
       "/beugwerkde/verbformen-deutsch.htm?infi=%28sich%29%20%27an%2Fziehen%2B"},
      {u"", u"a-b.c_d~e", NeuOrtho, "/beugwerkde/verbformen-deutsch.htm?infi=a-b.c_d~e"},
      {u"", u"", NeuOrtho, "/beugwerkde/verbformen-deutsch.htm?infi="},
  };
  for (const auto& r : rows)
    EXPECT_EQ(UniToUtf8(PageAddress(r.origin, r.phrase, r.ortho)), r.address)
        << UniToUtf8(r.phrase);
  EXPECT_EQ(UniToUtf8(PageLink(u"über'setzen")), "verbformen-deutsch.htm?infi=%C3%BCber%27setzen");
  EXPECT_EQ(GeneratorPageName(), u"verbformen-deutsch.htm");
}

TEST(PageAddress, ParserReadsWhatTheBuilderWrites) {
  const std::u16string phrases[] = {u"lesen",       u"sich3 die Hände waschen",
                                    u"3 regnen",    u"a+b=c&d?e#f%g",
                                    u"über'setzen", u"€ ✓ 𝄞",
                                    u"  ",          u""};
  for (const std::u16string& phrase : phrases) {
    for (TOrthoTyp ortho : {NeuOrtho, AltOrtho, ChOrtho}) {
      const std::string link = UniToUtf8(PageLink(phrase, ortho));
      TPageQuery q;
      ASSERT_EQ(ParsePageQuery(link.substr(link.find('?') + 1), q), TQueryError::qe_none) << link;
      EXPECT_TRUE(q.hasPhrase) << link;
      EXPECT_EQ(q.phrase, phrase) << link;
      EXPECT_EQ(q.ortho, ortho) << link;
    }
  }
}

TEST(PageAddress, OrthographyNames) {
  for (TOrthoTyp ortho : {NeuOrtho, AltOrtho, ChOrtho}) {
    TOrthoTyp back = ortho == NeuOrtho ? AltOrtho : NeuOrtho;
    ASSERT_TRUE(OrthoFromName(UniToUtf8(OrthoName(ortho)), back));
    EXPECT_EQ(back, ortho);
  }
  TOrthoTyp untouched = ChOrtho;
  for (const char* bad : {"", "Alt", "neu ", "xx"}) {
    EXPECT_FALSE(OrthoFromName(bad, untouched)) << bad;
    EXPECT_EQ(untouched, ChOrtho) << bad;
  }
}

}  // namespace
