// SPDX-License-Identifier: MIT
#include "common/_ZT_cmn_A.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>

namespace {

struct CaseRow {
  unsigned char c, upper, lower;
  bool isUpper;
};

TEST(CaseMaps, Table) {
  const CaseRow rows[] = {
      {'a', 'A', 'a', false},    {'Z', 'Z', 'z', true},  {'1', '1', '1', false},
      {223, 223, 223, false},                            // ß has no upper partner
      {255, 159, 255, false},    {159, 159, 255, true},  // ÿ / Ÿ
      {247, 215, 247, false},    {215, 215, 247, true},  // ÷ / × move like letters
      {0xA0, 0xA0, 0xA0, false}, {170, 170, 170, false}, {181, 181, 181, false},  // nbsp ª µ
      {186, 186, 186, false},    {196, 196, 228, true},  {214, 214, 246, true},   // º Ä Ö
      {220, 220, 252, true},     {142, 142, 158, true},  {154, 138, 154, false},  // Ü Ž š
      {140, 140, 156, true},     {222, 222, 254, true},  {192, 192, 224, true},   // Œ Þ À
  };
  for (const CaseRow& r : rows) {
    SCOPED_TRACE(testing::Message() << "byte " << int(r.c));
    EXPECT_EQ(UpperLatin1(r.c), r.upper);
    EXPECT_EQ(LowerLatin1(r.c), r.lower);
    EXPECT_EQ(IsUpperLatin1(r.c), r.isUpper);
  }
  // Every upper-case byte has a lower partner that maps back, and nothing else moves twice.
  for (int c = 0; c < 256; ++c) {
    unsigned char b = static_cast<unsigned char>(c);
    if (IsUpperLatin1(b))
      EXPECT_EQ(UpperLatin1(LowerLatin1(b)), b) << c;
    else
      EXPECT_EQ(LowerLatin1(b), b) << c;
  }
  std::string s = "\xC4PFEL \x8AKODA \x9F";
  LowerStrLatin1(s);
  EXPECT_EQ(s, "\xE4pfel \x9Akoda \xFF");
}

TEST(Strings, BeginsEnds) {
  struct Row {
    const char *affix, *s;
    bool begins, ends;
  } rows[] = {
      {"", "", true, true},           {"", "abc", true, true},      {"abc", "ab", false, false},
      {"Be", "be", false, false},     {"le", "lesen", true, false}, {"en", "lesen", false, true},
      {"lesen", "lesen", true, true},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(BeginsWith(r.affix, r.s), r.begins) << r.affix << " / " << r.s;
    EXPECT_EQ(EndsWith(r.affix, r.s), r.ends) << r.affix << " / " << r.s;
  }
}

TEST(Strings, TrimAndEnds) {
  struct Row {
    const char *in, *leading, *trailing;
  } rows[] = {
      {"     ", "", ""},
      {"", "", ""},
      {"  ab  ", "ab  ", "  ab"},
      {"\tab", "\tab", "\tab"},
      {"\xA0 x", "\xA0 x", "\xA0 x"},
      {" x\xA0", "x\xA0", " x\xA0"},
  };
  for (const Row& r : rows) {
    std::string a = r.in, b = r.in;
    TrimLeadingBlanks(a);
    TrimTrailingBlanks(b);
    EXPECT_EQ(a, r.leading) << '"' << r.in << '"';
    EXPECT_EQ(b, r.trailing) << '"' << r.in << '"';
  }
  EXPECT_EQ(FirstChar(""), ' ');
  EXPECT_EQ(LastChar(""), ' ');
  EXPECT_EQ(FirstChar("\xFC"), 0xFC);
  EXPECT_EQ(LastChar("ab"), 'b');
  std::string s;
  DeleteLastChar(s);
  EXPECT_EQ(s, "");
  s = "ab";
  DeleteLastChar(s);
  EXPECT_EQ(s, "a");
}

TEST(Strings, Positions) {
  struct Row {
    const char* what;
    int got, expected;
  } rows[] = {
      {"PosChar / ab 0", PosChar('/', "ab", 0), 0},
      {"PosChar b ab 1", PosChar('b', "ab", 1), 2},
      {"PosChar a aba 2", PosChar('a', "aba", 2), 3},
      {"PosChar a ab 3", PosChar('a', "ab", 3), 0},
      {"PosChar \\xFC", PosChar(0xFC, "\xFC", 1), 1},
      {"PosCharOrEnd blank lesen", PosCharOrEnd(' ', "lesen", 1), 6},
      {"PosCharOrEnd blank 'mit sich'", PosCharOrEnd(' ', "mit sich", 1), 4},
      {"PosCharOrEnd from 0", PosCharOrEnd(' ', "a b", 0), 4},
      {"LastPosChar limit 0", LastPosChar(' ', "a b c", 0), 4},
      {"LastPosChar limit 3", LastPosChar(' ', "a b c", 3), 2},
      {"LastPosChar limit 99", LastPosChar(' ', "a b c", 99), 4},
      {"LastPosChar none", LastPosChar('x', "a b c", 0), 0},
      {"LastPosStr i liegen", LastPosStr("i", "liegen"), 2},
      {"LastPosStr en liegen", LastPosStr("en", "liegen"), 5},
      {"LastPosStr x abc", LastPosStr("x", "abc"), -1},
      {"LastPosStr empty sub", LastPosStr("", "abc"), -1},
      {"LastPosStr longer sub", LastPosStr("abcd", "abc"), -1},
      {"LastPosStrFrom e 4", LastPosStrFrom("e", "liegen", 4), 3},
      {"LastPosStrFrom en 5", LastPosStrFrom("en", "liegen", 5), 5},
      {"LastPosStrFrom en 4", LastPosStrFrom("en", "liegen", 4), -1},
      {"LastPosStrFrom from 0", LastPosStrFrom("l", "liegen", 0), -1},
  };
  for (const Row& r : rows) EXPECT_EQ(r.got, r.expected) << r.what;
}

TEST(Strings, Parenthesis) {
  struct Row {
    const char* s;
    int start;
    const char* inside;
  } rows[] = {
      {"fahren (sein)", 6, "sein"},
      {"abc (x (y))", 3, "x (y)"},
      {"fahren (sein", 12, ""},
      {"abc", 3, ""},
      {"", 0, ""},
      {"(x)", 0, "x"},
      {"a(b)", 1, "b"},
      {"a  (b)", 2, "b"},
      {"x)", 2, ""},
      {"a (b) (c)", 5, "c"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ParenthesisStart(r.s), r.start) << r.s;
    EXPECT_EQ(GetParenthesis(r.s), r.inside) << r.s;
  }
}

TEST(Strings, ParseIntA) {
  struct Row {
    const char* s;
    int base, value;
    const char* rest;
  } rows[] = {
      {"123abc", 10, 123, "abc"}, {"-42 x", 10, -42, " x"}, {"$1F,", 10, 31, ","},
      {"ff", 16, 255, ""},        {"12f", 10, 12, "f"},     {"", 10, 0, ""},
      {"x", 10, 0, "x"},          {"-$1", 10, 0, "$1"},     {"$", 10, 0, ""},
      {"0010", 10, 10, ""},
  };
  for (const Row& r : rows) {
    std::string_view cursor = r.s;
    EXPECT_EQ(ParseIntA(cursor, r.base), r.value) << r.s;
    EXPECT_EQ(cursor, r.rest) << r.s;
  }
  EXPECT_EQ(ParseIntA("77 Verben"), 77);
}

TEST(Conversions, Windows1252RoundTripsEveryByte) {
  std::string all;
  for (int c = 0; c < 256; ++c) all.push_back(static_cast<char>(c));
  std::u16string u = Latin1ToUni(all);
  ASSERT_EQ(u.size(), 256u);
  EXPECT_EQ(UniToLatin1(u), all);
  EXPECT_EQ(Utf8ToLatin1(Latin1ToUtf8(all)), all);
  EXPECT_EQ(Latin1ToUtf8(all), UniToUtf8(u));
  // Long texts go through a buffer of a few KiB: every byte value at every offset of it, and
  // appended after text already there.
  std::string many;
  for (int i = 0; i < 40; ++i) many += all;
  EXPECT_EQ(Latin1ToUtf8(many), UniToUtf8(Latin1ToUni(many)));
  std::string out = "vorn ";
  AppendLatin1AsUtf8(out, many);
  EXPECT_EQ(out, "vorn " + UniToUtf8(Latin1ToUni(many)));

  struct Row {
    unsigned char b;
    char16_t u;
  } rows[] = {{0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160}, {0x8D, 0x008D}, {0x8F, 0x008F},
              {0x90, 0x0090}, {0x96, 0x2013}, {0x9D, 0x009D}, {0x9F, 0x0178}, {0xFC, 0x00FC}};
  for (const Row& r : rows) EXPECT_EQ(u[r.b], r.u) << int(r.b);
}

TEST(Conversions, Unencodable) {
  struct Row {
    std::u16string u;
    std::string latin1, direct;
  } rows[] = {
      {u"\u03A9", "?", "?"},
      {u"\u20AC", "\x80", "?"},  // the direct table knows no euro sign
      {u"\u2013", "\x96", "\x96"},
      {u"\u02BC", "?", "\xB7"},
      {u"\u0085", "?", "\x85"},  // a C1 control Windows-1252 has no place for
      {u"a\U0001F600b", "a?b", "a??b"},
      {u"", "", ""},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(UniToLatin1(r.u), r.latin1) << r.latin1;
    EXPECT_EQ(UniToLatin1Direct(r.u), r.direct) << r.direct;
  }
}

TEST(Conversions, Cp1251) {
  EXPECT_EQ(Cp1251ToUni("\xC0\xB7\xFF"), u"\u0410\u02BC\u044F");
  EXPECT_EQ(UniToCp1251(u"\u0410\u02BC\u00B7"), "\xC0\xB7\xB7");
  EXPECT_EQ(Cp1251ToUni("\x98"), u"\uFFFD");  // unassigned in Windows-1251
  EXPECT_EQ(UniToCp1251(u"\u00E4x"), "?x");
  EXPECT_EQ(DecodeCodePage("\xB7", "CP1251"), u"\u00B7");  // the rule belongs to Cp1251ToUni
  EXPECT_THROW(DecodeCodePage("x", "NO-SUCH-CODEPAGE"), std::runtime_error);
  EXPECT_THROW(EncodeCodePage(u"x", "NO-SUCH-CODEPAGE"), std::runtime_error);
}

TEST(Conversions, Utf8Border) {
  EXPECT_EQ(Utf8ToUni("\xC3\xBC"
                      "ber"),
            u"\u00FC"
            u"ber");
  EXPECT_EQ(Utf8ToUni("a\xFF"
                      "b"),
            u"a\uFFFDb");
  EXPECT_EQ(Utf8ToUni("\xE2\x82"), u"\uFFFD");
  EXPECT_EQ(UniToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(UniToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC\xCE\xA9"), "\x80?");
}

TEST(Conversions, XmlEscape) {
  struct Row {
    std::u16string in;
    bool quotes;
    std::u16string out;
  } rows[] = {
      {u"<script>\"a\" & 'b'", true, u"&lt;script&gt;&quot;a&quot; &amp; 'b'"},
      {u"\"a\" & b", false, u"\"a\" &amp; b"},
      {u"sich \u00FCbergeben", true, u"sich \u00FCbergeben"},
      {std::u16string(u"a\0b\x01\tc\r\n", 8), false, u"a\uFFFDb\uFFFD\tc\r\n"},
  };
  for (const Row& r : rows) EXPECT_EQ(XmlEscape(r.in, r.quotes), r.out) << UniToUtf8(r.in);
}

TEST(Conversions, UrlEscape) {
  struct Row {
    std::u16string in;
    bool ampEq;
    std::u16string out;
  } rows[] = {
      {u"M\u00E4\u00DF-los b", false, u"M%E4%DF%2Dlos%20b"},
      {u"a=b&c", true, u"a%3Db%26c"},
      {u"a=b&c", false, u"a=b&c"},
      {u"\u03A9", false, u"*"},
      {u"!#$%'()*+./:;?@[]", true, u"!#$%'()*+./:;?@[]"},
      {u"\"<>\\^_`{|}~,", false, u"%22%3C%3E%5C%5E%5F%60%7B%7C%7D%7E%2C"},
      {u"\t\u007F\u0080\u00FF", false, u"%09%7F%80%FF"},
      {u"", false, u""},
  };
  for (const Row& r : rows) EXPECT_EQ(UrlEscape(r.in, r.ampEq), r.out) << UniToUtf8(r.in);
}

TEST(Utf16, Helpers) {
  struct Row {
    std::u16string in, trimmed, slashed;
  } rows[] = {
      {u"", u"", u""},
      {u"  a b  ", u"a b", u"  a b  \\"},
      {u"C:", u"C:", u"C:"},
      {u"C:\\x\\", u"C:\\x\\", u"C:\\x\\"},
      {u"\ta ", u"\ta", u"\ta \\"},
  };
  for (const Row& r : rows) {
    std::u16string t = r.in, s = r.in;
    TrimBlanksW(t);
    AddBackslash(s);
    EXPECT_EQ(t, r.trimmed) << UniToUtf8(r.in);
    EXPECT_EQ(s, r.slashed) << UniToUtf8(r.in);
  }
  EXPECT_EQ(FirstCharW(u""), u' ');
  EXPECT_EQ(FirstCharW(u"\u00DC"), u'\u00DC');
  EXPECT_TRUE(BeginsWithW(u"", u""));
  EXPECT_FALSE(BeginsWithW(u"Be", u"be"));
  std::u16string up = u"stra\u00DFe \u00E4";
  UpperStrW(up);
  EXPECT_EQ(up, u"STRASSE \u00C4");
}

TEST(Files, WriteTimeAndFolders) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("zt_cmn_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path file = dir / "f.txt";
  std::ofstream(file) << "x";
  fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(2));
  std::int64_t t1 = FileWriteTime(file);
  EXPECT_GT(t1, 0);
  EXPECT_EQ(FileWriteTime(dir), 0);
  EXPECT_EQ(FileWriteTime(dir / "none"), 0);
  fs::last_write_time(file, fs::file_time_type::clock::now());
  std::int64_t t2 = FileWriteTime(file);
  EXPECT_EQ(CompareFileTime(t1, t2), -1);
  EXPECT_EQ(CompareFileTime(t2, t1), 1);
  EXPECT_EQ(CompareFileTime(t2, t2), 0);

  EXPECT_TRUE(DirectoryExistsW(dir));
  EXPECT_TRUE(DirectoryExistsW(dir.string() + "\\"));
  EXPECT_FALSE(DirectoryExistsW(file));
  EXPECT_FALSE(DirectoryExistsW(dir / "none"));
  fs::remove_all(dir);
}

}  // namespace
