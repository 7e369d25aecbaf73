// SPDX-License-Identifier: MIT
// The settings document in memory: reading rules, the written format, typed values.
#include "common/_0ZTINI.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "common/_ZT_cmn_A.h"

namespace {

std::u16string U(std::string_view utf8) {
  return Utf8ToUni(utf8);
}
std::string A(std::u16string_view u) {
  return UniToUtf8(u);
}

std::string Saved(std::string_view text) {
  TIniStream doc;
  doc.LoadFromText(U(text));
  return A(doc.FileText());
}

// --- reading ---------------------------------------------------------------------------------

struct ReadRow {
  const char* text;
  const char* section;
  const char* key;
  const char* expected;  // "<d>": the default
};

TEST(IniRead, LineRules) {
  const ReadRow rows[] = {
      {"Hist=", "", "Hist", "<d>"},
      {"key = 'a b' ", "", "key", " 'a b' "},
      {"key='a b'", "", "key", "a b"},
      {"key=''", "", "key", "<d>"},
      {"key='", "", "key", "'"},
      {"key='''", "", "key", "'"},
      {"  k  =v", "", "k", "v"},
      {"k= v ", "", "k", " v "},
      {"a=b=c", "", "a", "b=c"},
      {"KEY=1", "", "key", "1"},
      {"\xC3\x84RGER=1", "", "\xC3\xA4rger", "1"},
      {"k=1\r\nk=2", "", "k", "1"},
      {"; x=1", "", "; x", "<d>"},
      {"x=1\r\n[S]\r\nx=2", "", "x", "1"},
      {"x=1\r\n[S]\r\nx=2", "s", "x", "2"},
      {"[S]]\r\nx=1", "S]", "x", "1"},
      {"[S\r\nx=1", "S", "x", "1"},
      {"[ S ]\r\nx=1", " S ", "x", "1"},
      {"[ S ]\r\nx=1", "S", "x", "<d>"},
      {"[S]\rx=1\ny=2", "S", "y", "2"},
      {"[Form1]\r\nLeft=1\r\n[FORM1]\r\nTop=2", "form1", "top", "2"},
      {"[Form1]\r\nLeft=1\r\n[FORM1]\r\nTop=2", "FORM1", "Left", "1"},
      {";$C\r\n[Form1]\r\nx=1\r\n[FORM1]\r\nx=2", "FORM1", "x", "2"},
      {";$C\r\n[Form1]\r\nx=1\r\n[FORM1]\r\nx=2", "Form1", "X", "1"},
      {";$C\r\n[Form1]\r\nx=1\r\n[FORM1]\r\nx=2", "form1", "x", "<d>"},
      {"[\xC3\x84RGER]\r\nx=1", "\xC3\xA4rger", "x", "1"},
      {"k=1", "", "", "<d>"},
  };
  for (const auto& r : rows) {
    TIniStream doc;
    doc.LoadFromText(U(r.text));
    EXPECT_EQ(A(doc.ReadString(U(r.section), U(r.key), u"<d>")), r.expected)
        << "text: " << r.text << " section: " << r.section << " key: " << r.key;
    EXPECT_FALSE(doc.Modified()) << r.text;
  }
}

TEST(IniRead, SectionNamesFromWindows1252BytesAreRepaired) {
  TIniStream doc;
  // A leading section sign marks a file read byte for byte, so 0x80 arrives as U+0080.
  doc.LoadFromBytes("\xA7=1\r\n[Gr\x80\x9F]\r\nx=1");
  TUniStrings names;
  doc.ReadSectionNames(names);
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(A(names[1]), "Gr\xE2\x82\xAC\xC5\xB8");  // "Gr€Ÿ"
  EXPECT_EQ(A(doc.ReadString(u"Gr\u0080\u009F", u"x", u"")), "1");
}

TEST(IniRead, RepairedSectionNamesKeepWhatIsNoByte) {
  // 0x9D has no Windows-1252 character and stays U+009D, so the name is repaired on every
  // load: the other characters must survive that, or saving and loading changes the name.
  TIniStream doc;
  doc.LoadFromText(u"[a\u009D\u201A\u0416\u2013]\r\nx=1\r\n");
  TUniStrings names;
  doc.ReadSectionNames(names);
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"a\u009D\u201A\u0416\u2013");
  TIniStream back;
  back.LoadFromBytes(doc.SaveToBytes());
  EXPECT_EQ(back.FileText(), doc.FileText());
}

TEST(IniRead, Utf8SignatureSetsTheEncoding) {
  TIniStream doc;
  doc.LoadFromBytes("\xEF\xBB\xBFk=\xE2\x82\xAC");
  EXPECT_EQ(doc.Encoding(), et_UTF8);
  EXPECT_EQ(A(doc.ReadString(u"", u"k", u"")), "\xE2\x82\xAC");
  TIniStream ansi;
  ansi.LoadFromBytes("k=\x80");
  EXPECT_EQ(ansi.Encoding(), et_none);
  EXPECT_EQ(A(ansi.ReadString(u"", u"k", u"")), "\xE2\x82\xAC");
}

// --- writing ---------------------------------------------------------------------------------

struct SavedRow {
  const char* text;
  const char* saved;
};

TEST(IniWrite, FileFormat) {
  const SavedRow rows[] = {
      {"Hist=\r\nA=1", "A=1\r\n\r\n"},
      {"[b]\r\nx=1\r\n[a]\r\ny=2\r\nz=3", "[a]\r\ny=2\r\nz=3\r\n\r\n[b]\r\nx=1\r\n\r\n"},
      {"[Form1]\r\nLeft=1\r\n[FORM1]\r\nTop=2", "[Form1]\r\nLeft=1\r\nTop=2\r\n\r\n"},
      {";$C\r\n[b]\r\ny=1\r\n[B]\r\nx=1", ";$C\r\n[B]\r\nx=1\r\n\r\n[b]\r\ny=1\r\n\r\n"},
      {"; note\r\n[S]\r\n;c\r\nx='q'\r\nplain line",
       "; note\r\n\r\n[S]\r\n;c\r\nx=q\r\nplain line\r\n\r\n"},
      {"[S]", ""},
      {"[S]\r\nk=''", ""},
      {"[Zebra]\r\nx=1\r\n[\xC3\xA4pfel]\r\nx=2\r\n[Apfel]\r\nx=3\r\n[b]\r\nx=4",
       "[Apfel]\r\nx=3\r\n\r\n[\xC3\xA4pfel]\r\nx=2\r\n\r\n[b]\r\nx=4\r\n\r\n[Zebra]\r\nx="
       "1\r\n\r\n"},
      {"[s]\r\nx=1\r\n[]\r\ny=2", "y=2\r\n\r\n[s]\r\nx=1\r\n\r\n"},
      {"=abc\r\nk=v", "=abc\r\nk=v\r\n\r\n"},
      // Values the reader would unquote keep one more pair of apostrophes.
      {"k=''x''", "k=''x''\r\n\r\n"},
      {" [k=1\r\n ;c=2", " [k=1\r\n ;c=2\r\n\r\n"},
  };
  for (const auto& r : rows) EXPECT_EQ(Saved(r.text), r.saved) << "text: " << r.text;
}

TEST(IniWrite, WriteStringChangesOnlyWhatDiffers) {
  TIniStream doc;
  doc.LoadFromText(u"[S]\r\nk=1\r\nK=2\r\n");
  doc.WriteString(u"s", u"K", u"1");
  EXPECT_FALSE(doc.Modified());
  doc.WriteString(u"x", u"k", u"");
  EXPECT_FALSE(doc.Modified());
  EXPECT_EQ(doc.Count(), 1);  // no empty section created
  doc.WriteString(u"S", u"k", u"3");
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(A(doc.FileText()), "[S]\r\nk=3\r\nK=2\r\n\r\n");
  doc.WriteString(u"S", u"k", u"");
  EXPECT_EQ(A(doc.FileText()), "[S]\r\nK=2\r\n\r\n");
  doc.WriteString(u"T", u"a", u"1");
  EXPECT_EQ(A(doc.FileText()), "[S]\r\nK=2\r\n\r\n[T]\r\na=1\r\n\r\n");
}

TEST(IniWrite, SectionLines) {
  TIniStream doc;
  doc.LoadFromText(u"[H]\r\n;c\r\na=1\r\nfree\r\n");
  TUniStrings lines;
  doc.ReadSectionLines(u"h", lines, false);
  EXPECT_EQ(lines, (TUniStrings{u"a=1", u"free"}));
  doc.ReadSectionLines(u"h", lines, true);
  EXPECT_EQ(lines, (TUniStrings{u";c", u"a=1", u"free"}));
  doc.ReadSectionLineNames(u"H", lines);
  EXPECT_EQ(lines, (TUniStrings{u"a"}));

  doc.WriteSectionLines(u"H", {u";skip", u"sich anziehen", u"x=y", u""}, false);
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(A(doc.FileText()), "[H]\r\nsich anziehen\r\nx=y\r\n\r\n");
  doc.ReadSectionLines(u"missing", lines, true);
  EXPECT_TRUE(lines.empty());
}

TEST(IniWrite, SectionOperations) {
  TIniStream doc;
  doc.LoadFromText(u"[b]\r\nk=1\r\n[A]\r\nk=1\r\n[c]\r\n");
  TUniStrings names;
  doc.ReadSectionNames(names);
  EXPECT_EQ(names, (TUniStrings{u"A", u"b", u"c"}));

  doc.ClearSection(u"zz");
  EXPECT_FALSE(doc.Modified());
  doc.ClearSection(u"B");
  EXPECT_TRUE(doc.Modified());
  EXPECT_EQ(A(doc.FileText()), "[A]\r\nk=1\r\n\r\n");

  doc.AddSection(u"new", std::make_unique<TIniSection>());
  EXPECT_EQ(A(doc.ReadString(u"NEW", u"?", u"")), "?");
  EXPECT_EQ(A(doc.GetText(u"\n")), "[A]\nk=1\n\n[c]\n\n[new]\n?=?\n\n");
  EXPECT_FALSE(doc.isEmpty());
  doc.WriteString(u"A", u"k", u"");
  doc.WriteString(u"new", u"?", u"");
  EXPECT_TRUE(doc.isEmpty());
}

TEST(IniWrite, SortAndDeleteDuplicates) {
  TIniStream doc;
  doc.LoadFromText(u"[S]\r\nb=1\r\n;c\r\na=2\r\nB=1\r\nb=3\r\nA=2\r\n");
  doc.SortKeywords();
  EXPECT_EQ(A(doc.FileText()), "[S]\r\n;c\r\na=2\r\nA=2\r\nb=1\r\nB=1\r\nb=3\r\n\r\n");
  doc.DelDupLines();
  EXPECT_EQ(A(doc.FileText()), "[S]\r\n;c\r\na=2\r\nb=1\r\nb=3\r\n\r\n");
}

TEST(IniWrite, Encodings) {
  struct Row {
    TEncodingType enc;
    const char* text;
    const char* bytes;
  };
  const Row rows[] = {
      {et_UTF8, "k=\xE2\x82\xAC", "\xEF\xBB\xBFk=\xE2\x82\xAC"},
      {et_UTF8noBom, "k=\xE2\x82\xAC", "k=\xE2\x82\xAC"},
      {et_ANSI, "k=\xE2\x82\xAC", "k=\x80"},
      {et_none, "k=\xE2\x82\xAC", "k=\x80"},
      {et_none, "k=\xCE\xA9", "\xEF\xBB\xBFk=\xCE\xA9"},  // Omega: not in Windows-1252
      {et_none, "\xC2\xA7=1", "\xEF\xBB\xBF\xC2\xA7=1"},  // 0xA7 first would read as a signature
  };
  for (const auto& r : rows)
    EXPECT_EQ(EncodeIniText(U(r.text), r.enc), r.bytes) << r.text << " in " << int(r.enc);
  EXPECT_EQ(EncodeIniText(u"k", et_UTF16LE), std::string("\xFF\xFEk\0", 4));
}

TEST(IniRead, LineByLineFallback) {
  int bad = -1;
  std::u16string text = DecodeIniLines(
      "\xEF\xBB\xBF"
      "a=1\r\nb=\xFF\r\nc=\xC3\xA4\rd=\xC3",
      et_UTF8, &bad);
  EXPECT_EQ(bad, 4);
  EXPECT_EQ(A(text), "a=1\r\nb=\xC3\xBF\r\nc=\xC3\xA4\r\nd=\xC3\x83\r\n");
  DecodeIniLines("a=1\r\nb=\xFF", et_none, &bad);
  EXPECT_EQ(bad, 0);

  // A damaged container is rejected by the reader; its lines are still loaded.
  TIniStream doc;
  doc.SetEncoding(et_UTF8);
  EXPECT_EQ(doc.LoadFromBytes(std::string("DLZTU8\0\1", 8) + "xx\r\nk=\xFF\r\nm=2"), 2);
  EXPECT_EQ(A(doc.ReadString(u"", u"m", u"")), "2");
  EXPECT_EQ(A(doc.ReadString(u"", u"k", u"")), "\xC3\xBF");
}

// --- typed values ----------------------------------------------------------------------------

struct TypedRow {
  const char* value;
  long long expected;
};

TEST(IniTyped, BoolIntegerInt64) {
  auto docWith = [](const char* v) {
    auto d = std::make_unique<TIniStream>();
    d->LoadFromText(U(std::string("k=") + v));
    return d;
  };
  const TypedRow bools[] = {{"true", 1}, {"0", 0},  {"00", 1}, {"1", 1},
                            {"01", 1},   {"-1", 0}, {"''", 1}, {"/", 0}};
  for (const auto& r : bools)
    EXPECT_EQ(docWith(r.value)->ReadBool(u"", u"k", true), r.expected != 0) << r.value;

  const TypedRow ints[] = {{"12x", 0},
                           {"12", 12},
                           {"-7", -7},
                           {"+3", 3},
                           {"2147483647", 2147483647},
                           {"-2147483648", -2147483648LL},
                           {"2147483648", 0},
                           {" 1", 0},
                           {"''", 5},
                           {"-", 0}};
  for (const auto& r : ints)
    EXPECT_EQ(docWith(r.value)->ReadInteger(u"", u"k", 5), r.expected) << r.value;
  EXPECT_EQ(docWith("1")->ReadInteger(u"", u"missing", 5), 5);

  const TypedRow int64s[] = {{"12x", 5},
                             {"9223372036854775807", std::numeric_limits<long long>::max()},
                             {"-9223372036854775808", std::numeric_limits<long long>::min()},
                             {"9223372036854775808", 5},
                             {"-42", -42}};
  for (const auto& r : int64s)
    EXPECT_EQ(docWith(r.value)->ReadInt64(u"", u"k", 5), r.expected) << r.value;
}

TEST(IniTyped, DoublesReadBackBitForBit) {
  const std::uint64_t patterns[] = {
      std::bit_cast<std::uint64_t>(0.0),
      std::bit_cast<std::uint64_t>(-0.0),
      std::bit_cast<std::uint64_t>(1.0 / 3.0),
      std::bit_cast<std::uint64_t>(std::numeric_limits<double>::infinity()),
      std::bit_cast<std::uint64_t>(std::numeric_limits<double>::denorm_min()),
      0x7FF8000000000001ULL,  // NaN with a payload
      0xFFF0000000000123ULL,  // signalling NaN, sign set
  };
  for (std::uint64_t bits : patterns) {
    TIniStream doc;
    doc.WriteDouble(u"S", u"d", std::bit_cast<double>(bits));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(doc.ReadDouble(u"s", u"D", 7.0)), bits) << bits;
    EXPECT_EQ(doc.ReadString(u"S", u"d", u"").size(), 16u);
  }
  TIniStream doc;
  doc.WriteDouble(u"S", u"d", 1.0);
  EXPECT_EQ(A(doc.ReadString(u"S", u"d", u"")), "3FF0000000000000");

  const struct {
    const char* value;
    double expected;
  } reads[] = {{"$3FF0000000000000", 1.0},     {"3ff8000000000000", 1.5},
               {"1", 4.9406564584124654e-324}, {"zz", 7.0},
               {"12345678901234567", 7.0},     {"$", 7.0}};
  for (const auto& r : reads) {
    TIniStream d;
    d.LoadFromText(U(std::string("k=") + r.value));
    EXPECT_EQ(d.ReadDouble(u"", u"k", 7.0), r.expected) << r.value;
  }
}

TEST(IniTyped, FloatAndPoint) {
  TIniStream doc;
  doc.LoadFromText(u"f1=1.5\r\nf2=1,5\r\nf3=x\r\np1=10,20\r\np2=10 20\r\np3=-1, -2\r\n");
  EXPECT_EQ(doc.ReadFloat(u"", u"f1", 0), 1.5);
  EXPECT_EQ(doc.ReadFloat(u"", u"f2", 0), 1.5);
  EXPECT_EQ(doc.ReadFloat(u"", u"f3", 9), 9);
  EXPECT_EQ(doc.ReadFloat(u"", u"none", 9), 9);
  EXPECT_EQ(doc.ReadPoint(u"", u"p1", u""), (TIniPoint{10, 20}));
  EXPECT_EQ(doc.ReadPoint(u"", u"p2", u""), (TIniPoint{10, 20}));
  EXPECT_EQ(doc.ReadPoint(u"", u"p3", u""), (TIniPoint{-1, -2}));
  EXPECT_EQ(doc.ReadPoint(u"", u"none", u"3,4"), (TIniPoint{3, 4}));
}

TEST(IniTyped, WritesFormatAsDocumented) {
  TIniStream doc;
  doc.WriteBool(u"S", u"b", true);
  doc.WriteBool(u"S", u"c", false);
  doc.WriteInteger(u"S", u"i", -12);
  EXPECT_EQ(A(doc.FileText()), "[S]\r\nb=1\r\nc=0\r\ni=-12\r\n\r\n");
}

TEST(IniUser, LineBreakEscape) {
  EXPECT_EQ(EscapeLineBreaks(u"a\r\nb\nc"), u"a\uFFF1\uFFF2b\uFFF2c");
  EXPECT_EQ(EscapeLineBreaks(std::u16string(u"ab\0\r\ncd", 7)), u"ab");
  EXPECT_EQ(UnescapeLineBreaks(u"a\uFFF1\uFFF2b"), u"a\r\nb");
}

}  // namespace
