// SPDX-License-Identifier: MIT
// Encoding detection, decoding of every type, containers, the decider, the code page table
// and the stress notation.
#include "common/_ZT_Unicd.h"

#include <gtest/gtest.h>

#include <string>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

using namespace std::string_literals;

namespace {

std::string Hex(std::string_view b) {
  std::string s;
  char buf[4];
  for (unsigned char c : b) {
    std::snprintf(buf, sizeof buf, "%02X ", c);
    s += buf;
  }
  return s;
}

TEST(DetectEncoding, SignaturesAndShortFiles) {
  struct Row {
    std::string bytes;
    TEncodingType type;
    std::size_t offset;
  };
  const Row rows[] = {
      {""s, et_none, 0},
      {"abc"s, et_none, 0},
      {"\xA7"s, et_ANSI, 0},
      {"\xA7\x80"s, et_ANSI, 0},
      {"\xA7\xFE\xFF"s, et_ANSI, 0},  // A7 wins before the table
      {"\xEF\xBB\xBF"s, et_UTF8, 3},
      {"\xEF\xBB\xBFxy"s, et_UTF8, 3},
      {"\xC2\xA7"s, et_UTF8, 0},
      {"\xFE\xFF"s, et_UTF16BE, 2},
      {"\xFF\xFE"s, et_UTF16LE, 2},
      {"\xFF\xFE\x41\x00"s, et_UTF16LE, 2},
      {"DLZTU8\x00\x01"s, et_UTF8_zip, 8},
      {"DLZTUC\x00\x01xyz"s, et_UTF8C_zip, 8},
      {"DLZTAZ\x00\x01"s, et_ANSI_zip, 8},
      // Short files are zero-padded: no partial signature matches.
      {"\xFF"s, et_none, 0},
      {"\xFE"s, et_none, 0},
      {"\xEF\xBB"s, et_none, 0},
      {"\xC2"s, et_none, 0},
      {"D"s, et_none, 0},
      {"DLZTU8"s, et_none, 0},
      {"DLZTU8\x00"s, et_none, 0},
      {"DLZTAZ\x00\x02"s, et_none, 0},
      {"DLZTXX\x00\x01"s, et_none, 0},
  };
  for (const Row& r : rows) {
    std::size_t offset = 99;
    EXPECT_EQ(DetectEncoding(r.bytes, &offset), r.type) << Hex(r.bytes);
    EXPECT_EQ(offset, r.offset) << Hex(r.bytes);
  }
}

TEST(ReadTextBytes, EachDetectedType) {
  struct Row {
    std::string bytes;
    TEncodingType type;
    std::u16string text;
  };
  const Row rows[] = {
      {""s, et_none, u""},
      {"\xA7\x80"s, et_ANSI, u"\u00A7\u0080"},  // byte for byte, no Windows-1252 signs
      {"\x80"s, et_none, u"\u20AC"},            // no signature: Windows-1252
      {"gr\xFC\xDF"s, et_none, u"grüß"},
      {"\xFF"s, et_none, u"ÿ"},
      {"\xC2\xA7 1 Abs. 2"s, et_UTF8, u"§ 1 Abs. 2"},
      {"\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F"s, et_UTF8, u"grüß"},
      {"\xEF\xBB\xBF"s, et_UTF8, u""},
      {"\xFE\xFF\x00\x41\x00\xE4"s, et_UTF16BE, u"Aä"},
      {"\xFF\xFE\x41\x00\xE4\x00"s, et_UTF16LE, u"Aä"},
      {"\xFF\xFE\x3D\xD8\x00\xDE"s, et_UTF16LE, u"\U0001F600"},
      {"\xFF\xFE\x41\x00\x42"s, et_UTF16LE, u"A\uFFFD"},  // odd last byte
      {"\xFE\xFF"s, et_UTF16BE, u""},
  };
  for (const Row& r : rows) {
    TEncodingType t = et_undetected;
    EXPECT_EQ(ReadTextBytes(r.bytes, &t), r.text) << Hex(r.bytes);
    EXPECT_EQ(t, r.type) << Hex(r.bytes);
  }
}

// Types that detection never yields, passed by the caller.
TEST(DecodeText, CallerGivenTypes) {
  const auto utf8 = [](std::string_view, TEncodingType) { return 65001; };
  const auto reject = [](std::string_view, TEncodingType) { return 0; };
  struct Row {
    const char* name;
    std::string bytes;
    TEncodingType type;
    TDeciderCallback decider;
    std::u16string text;
  };
  const Row rows[] = {
      {"ascii", "a\xE4z"s, et_ASCII, {}, u"a?z"},
      {"utf7", "Gr+APw-n"s, et_UTF7, {}, u"Grün"},
      {"utf8 no bom", "\xC3\xA4"s, et_UTF8noBom, {}, u"ä"},
      {"utf8 paragraph", "\xC2\xA7x"s, et_UTF8Paragraph, {}, u"§x"},
      {"undetected 65001", "\xC3\xA4"s, et_undetected, utf8, u"ä"},
      {"none 65001", "\xC3\xA4"s, et_none, utf8, u"ä"},
      {"none other answer", "\xC3\xA4"s, et_none, reject, u"Ã¤"},
      {"scrambled rejected", "xyz"s, et_UTF8C, reject, u"File ist ZT-C-encoded"},
  };
  for (const Row& r : rows) EXPECT_EQ(DecodeText(r.bytes, r.type, 0, r.decider), r.text) << r.name;
  EXPECT_EQ(DecodeText("\xEF\xBB\xBFok", et_UTF8, 3), u"ok");
  EXPECT_EQ(DecodeText("ab", et_ANSI, 10), u"");  // an offset past the end reads nothing
}

TEST(DecodeText, UnreadableTypesFail) {
  // The default decider accepts the scrambled format, which cannot be decoded.
  EXPECT_THROW(DecodeText("xyz", et_UTF8C, 0), EEncodingError);
  try {
    DecodeText("ab", et_16, 0);
    FAIL() << "et_16 decoded";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TRAW16Encoding.GetChars");
  }
  try {
    TEncodingU::RAW16().GetBytes(u"ab");
    FAIL() << "et_16 encoded";
  } catch (const EAssertionFailed& e) {
    EXPECT_STREQ(e.what(), "TRAW16Encoding.GetBytes");
  }
}

TEST(Decider, DefaultAnswers) {
  const TDefaultDecider& d = DefaultDecider();
  EXPECT_EQ(&d, &DefaultDecider());
  EXPECT_EQ(d.AnsiDecider("", et_UTF8C), 2);
  EXPECT_EQ(d.AnsiDecider("", et_UTF8C_zip), 3);
  EXPECT_EQ(d.AnsiDecider("abc", et_none), 0);
  EXPECT_EQ(d.AnsiDecider("abc", et_ANSI_zip), 0);
  EXPECT_EQ(d.AnsiDeciderEx("abc", et_none), 65001);
  EXPECT_EQ(d.AnsiDeciderEx("gr\xFC", et_none), 0);
  EXPECT_EQ(d.AnsiDeciderEx("", et_none), 0);
  EXPECT_EQ(d.AnsiDeciderEx("abc", et_ANSI), 0);
  EXPECT_EQ(d.AnsiDeciderEx("", et_UTF8C_zip), 3);

  const TDeciderCallback ex = [&d](std::string_view b, TEncodingType t) {
    return d.AnsiDeciderEx(b, t);
  };
  EXPECT_EQ(ReadTextBytes("gr\xC3\xBC\xC3\x9F", nullptr, ex), u"grüß");
  EXPECT_EQ(ReadTextBytes("gr\xFC\xDF", nullptr, ex), u"grüß");
}

TEST(IsPlausibleUtf8, Cases) {
  struct Row {
    std::string bytes;
    bool plausible;
  };
  const Row rows[] = {
      {""s, false},
      {"abc"s, true},
      {"a\x00z"s, true},
      {"\xC3\xA4"s, true},
      {"\xE2\x82\xAC"s, true},
      {"\xF0\x9F\x98\x80"s, true},
      {"\xF4\x8F\xBF\xBF"s, true},
      {"\xC0\x80"s, false},  // overlong NUL
      {"\xC1\xBF"s, false},
      {"\xE0\x80\x80"s, false},      // overlong
      {"\xED\xA0\x80"s, false},      // surrogate
      {"\xF4\x90\x80\x80"s, false},  // beyond U+10FFFF
      {"\xF5\x80\x80\x80"s, false},
      {"\xFF"s, false},
      {"\x80"s, false},
      {"\xC3"s, false},  // cut off
      {"\xE2\x82"s, false},
      {"\xC3\x28"s, false},
      {"gr\xFC"s, false},
  };
  for (const Row& r : rows) EXPECT_EQ(IsPlausibleUtf8(r.bytes), r.plausible) << Hex(r.bytes);
}

TEST(DetectUtf8NoBom, PicksEncoding) {
  const TEncoding* e = nullptr;
  EXPECT_EQ(DetectUtf8NoBom("\xC3\xA4", &e), et_UTF8noBom);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Name(), u"UTF-8 ohne BOM");
  EXPECT_EQ(e->GetChars("\xC3\xA4"), u"ä");
  EXPECT_EQ(DetectUtf8NoBom("\xE4", &e), et_ANSI);
  EXPECT_EQ(e->Name(), u"ANSI (Western)");
  EXPECT_EQ(e->GetChars("\xE4\x80"), u"ä€");
}

TEST(EncodingForCodePage, Table) {
  struct Row {
    int key;
    int codePage;
    int charset;
    std::string bytes;
    std::u16string text;
  };
  const Row rows[] = {
      {1252, 1252, 0, "\x80\xE4"s, u"€ä"},   {1031, 1252, 0, "\x80\xE4"s, u"€ä"},
      {1251, 1251, 204, "\xE4\xE0"s, u"да"}, {1049, 1251, 204, "\xE4\xE0"s, u"да"},
      {1250, 1250, 238, "\x8A"s, u"Š"},      {1253, 1253, 161, "\xE1"s, u"α"},
      {1254, 1254, 162, "\xF0"s, u"ğ"},      {1255, 1255, 177, "\xE0"s, u"א"},
      {1256, 1256, 178, "\xC7"s, u"ا"},      {1257, 1257, 186, "\xE0"s, u"ą"},
      {850, 850, 255, "\x81"s, u"ü"},        {437, 437, 254, "\x81"s, u"ü"},
      {932, 932, 128, "\x82\xA0"s, u"あ"},   {949, 949, 129, "\xB0\xA1"s, u"가"},
      {936, 936, 134, "\xC4\xE3"s, u"你"},   {950, 950, 136, "\xA4\xA4"s, u"中"},
      {65001, 1252, 0, "\x80"s, u"€"},  // unknown: 1252
      {0, 1252, 0, "\x80"s, u"€"},
  };
  for (const Row& r : rows) {
    const TCodePageEncoding& e = EncodingForCodePage(r.key);
    EXPECT_EQ(e.CodePage(), r.codePage) << r.key;
    EXPECT_EQ(e.Charset(), r.charset) << r.key;
    EXPECT_EQ(e.GetChars(r.bytes), r.text) << r.key;
    EXPECT_EQ(e.GetBytes(r.text), r.bytes) << r.key;
  }
  EXPECT_EQ(&EncodingForCodePage(1031), &EncodingForCodePage(1252));
  EXPECT_EQ(&EncodingForCodePage(1252), &TEncodingU::AnsiWestern());
  EXPECT_EQ(EncodingForCodePage(1049).Name(), u"ANSI (Russian)");
  EXPECT_EQ(TEncodingU::UTF8NoBom().Preamble(), "");
}

TEST(StressNotationToUni, Escapes) {
  struct Row {
    std::u16string in;
    int flags;
    std::u16string out;
  };
  const Row rows[] = {
      {u"h\\acu aus", 0, u"ha\u0301us"},
      {u"\\gra a", 0, u"a\u0300"},
      {u"\\gra a", sn_GraveAsAcute, u"a\u0301"},
      {u"\\dot a", 0, u"a\u0323"},
      {u"\\dot \u00F3", 0, u"\u00F3\u0307"},
      {u"\\dot \u0443", 0, u"\u0443\u0307"},
      {u"\\dot \u0443", sn_DropDot, u"\u0443"},
      {u"ab\\acu ", 0, u"ab\u0301"},            // at the end: mark at the end
      {u"\\acu \\gra a", 0, u"a\u0301\u0300"},  // both marks on the next character
      {u"\\acu \\b0 x", 0, u"\\b0 x\u0301"},    // other escapes are passed over
      {u"\\acu \\\\x", 0, u"\\\\x\u0301"},
      {u"\\acu \\f-1\\i x", 0, u"\\f-1\\i x\u0301"},
      {u"\\xyz a", 0, u"\\xyz a"},
      {u"a\\acu", 0, u"a\\acu"},  // no blank: not a stress escape
      {u"\\Acu a", 0, u"\\Acu a"},
      {u"\\", 0, u"\\"},
      {u"", 0, u""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(StressNotationToUni(r.in, r.flags), r.out) << UniToUtf8(r.in) << " " << r.flags;
}

}  // namespace
