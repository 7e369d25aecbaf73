// SPDX-License-Identifier: MIT
// Random and mutated settings texts through the parser (fixed seed, so failures repeat).
// Properties: nothing crashes; a written document reads back to the same text; every first
// key of a section reads back its value.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace {

const std::vector<std::u16string>& Pieces() {
  static const std::vector<std::u16string> pieces = {u"[",
                                                     u"]",
                                                     u"=",
                                                     u";",
                                                     u";$C",
                                                     u"'",
                                                     u" ",
                                                     u"\r",
                                                     u"\n",
                                                     u"\r\n",
                                                     u"a",
                                                     u"A",
                                                     u"k",
                                                     u"Form1",
                                                     u"FORM1",
                                                     u"\u00E4",
                                                     u"\u00C4",
                                                     u"\u00DF",
                                                     u"SS",
                                                     u"\u0080",
                                                     u"\u009F",
                                                     u"\uFFF1",
                                                     u"\t",
                                                     u"$",
                                                     u"1",
                                                     u"-",
                                                     u"0",
                                                     u"x=1",
                                                     u"[]",
                                                     u"?=?",
                                                     std::u16string(1, u'\0'),
                                                     std::u16string(1, char16_t(0xD800))};
  return pieces;
}

std::u16string RandomText(std::mt19937& rng) {
  std::uniform_int_distribution<int> len(0, 60);
  std::uniform_int_distribution<std::size_t> pick(0, Pieces().size() - 1);
  std::u16string t;
  for (int i = len(rng); i > 0; --i) t += Pieces()[pick(rng)];
  return t;
}

std::u16string Mutate(std::u16string t, std::mt19937& rng) {
  std::uniform_int_distribution<int> op(0, 2);
  std::uniform_int_distribution<int> unit(0, 0xFFFF);
  for (int n = 0; n < 4 && !t.empty(); ++n) {
    std::uniform_int_distribution<std::size_t> at(0, t.size() - 1);
    std::size_t i = at(rng);
    switch (op(rng)) {
      case 0:
        t.erase(i, 1);
        break;
      case 1:
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(i), static_cast<char16_t>(unit(rng)));
        break;
      default:
        t[i] = static_cast<char16_t>(unit(rng));
    }
  }
  return t;
}

void CheckStable(std::u16string_view input) {
  TIniStream doc;
  doc.LoadFromText(input);
  std::u16string once = doc.FileText();
  TIniStream again;
  again.LoadFromText(once);
  ASSERT_EQ(again.FileText(), once) << "input: " << UniToUtf8(input);
  for (int s = 0; s < again.Count(); ++s) {
    const TIniSection& sec = again.Sections(s);
    std::u16string name = again.SectionNames(s);
    for (int i = 0; i < sec.Count(); ++i) {
      if (sec.Keys(i).empty() || sec.IndexOf(sec.Keys(i)) != i) continue;
      ASSERT_EQ(again.ReadString(name, sec.Keys(i), u"\uFFFF"), sec.Values(i))
          << "input: " << UniToUtf8(input);
    }
    again.ReadInteger(name, u"k", 0);
    again.ReadInt64(name, u"k", 0);
    again.ReadDouble(name, u"k", 0);
    again.ReadFloat(name, u"k", 0);
    again.ReadPoint(name, u"k", u"1,2");
    again.ReadBool(name, u"k", false);
  }
  again.DelDupLines();
  again.SetCaseSensitive(!again.CaseSensitive());
  again.SetCaseSensitive(!again.CaseSensitive());
  EXPECT_FALSE(again.GetText().empty() && again.Count() > 0);
}

TEST(IniFuzz, RandomTextsReadBackStable) {
  std::mt19937 rng(20240611);
  const std::u16string seed =
      u";$C\r\n; Kommentar\r\nVersion=9\r\n[Form1]\r\nLeft=120\r\nHist=\r\n"
      u"Title = 'Beugwerk' \r\n[FORM1]\r\nTop=80\r\n[\u00C4rger]\r\nx=\u20AC\r\n=abc\r\n";
  for (int i = 0; i < 3000; ++i) {
    std::u16string t = (i % 2) ? RandomText(rng) : Mutate(seed, rng);
    CheckStable(t);
    if (HasFailure()) return;
  }
}

TEST(IniFuzz, RandomBytes) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> len(0, 80), byte(0, 255), prefix(0, 4);
  const std::string prefixes[] = {"", "\xEF\xBB\xBF", "\xA7", std::string("DLZTU8\0\1", 8),
                                  "\xFF\xFE"};
  for (int i = 0; i < 2000; ++i) {
    std::string b = prefixes[prefix(rng)];
    for (int n = len(rng); n > 0; --n) b.push_back(static_cast<char>(byte(rng)));
    TIniStream doc;
    doc.SetEncoding(i % 3 ? et_none : et_UTF8);
    doc.LoadFromBytes(b);
    std::string saved = doc.SaveToBytes();
    TIniStream back;
    back.LoadFromBytes(saved);
    // UTF-8 cannot carry a lone surrogate; everything else must come back.
    std::u16string text = doc.FileText();
    bool surrogate = std::any_of(text.begin(), text.end(),
                                 [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
    if (!surrogate) {
      ASSERT_EQ(back.FileText(), text) << i;
    }
    int bad = 0;
    DecodeIniLines(b, et_UTF8, &bad);
  }
}

}  // namespace
