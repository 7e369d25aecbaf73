// SPDX-License-Identifier: MIT
// The zlib containers and reading from files.
#include <gtest/gtest.h>

#include <string>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

using namespace std::string_literals;

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(BEUGWERK_FIXTURES) / "encodings";

TEST(Container, RoundTrips) {
  const auto answer = [](int cp) { return [cp](std::string_view, TEncodingType) { return cp; }; };
  struct Row {
    const char* name;
    TEncodingType type;
    std::string content;
    TDeciderCallback decider;
    std::u16string text;
  };
  const Row rows[] = {
      {"utf8", et_UTF8_zip, "gr\xC3\xBC\xC3\x9F"s, {}, u"grüß"},
      {"utf8 bom", et_UTF8_zip, "\xEF\xBB\xBFgr\xC3\xBC\xC3\x9F"s, {}, u"grüß"},
      {"utf8 up to 00", et_UTF8_zip, "ab\x00\x63\x64"s, {}, u"ab"},
      {"utf8 empty", et_UTF8_zip, ""s, {}, u""},
      {"ansi no decider", et_ANSI_zip, "\x80\xE4"s, {}, u"€ä"},
      {"ansi code page 0", et_ANSI_zip, "\x80\xE4"s, answer(0), u"\u0080ä"},
      {"ansi 1251", et_ANSI_zip, "\xE4\xE0"s, answer(1251), u"да"},
      {"ansi 1049", et_ANSI_zip, "\xE4\xE0"s, answer(1049), u"да"},
      {"ansi long", et_ANSI_zip, std::string(100000, 'x'), {}, std::u16string(100000, u'x')},
      {"scrambled rejected", et_UTF8C_zip, "abc"s, answer(0), u"File ist ZT-C-encoded"},
  };
  for (const Row& r : rows) {
    const std::string file = WriteContainer(r.type, r.content);
    TEncodingType t = et_none;
    EXPECT_EQ(ReadTextBytes(file, &t, r.decider), r.text) << r.name;
    EXPECT_EQ(t, r.type) << r.name;
    EXPECT_EQ(InflateContainer(file), r.content) << r.name;
  }
  EXPECT_THROW(WriteContainer(et_UTF8, "x"), EEncodingError);
}

TEST(Container, DamagedStreamsFail) {
  const std::string good = WriteContainer(et_UTF8_zip, "Gruß aus der Datei");
  std::string badCheck = good;
  badCheck.back() ^= 0x55;  // Adler-32
  std::string badData = good;
  badData[8] = 0x00;  // zlib header
  const std::string bad[] = {
      "DLZTU8\x00\x01"s,
      "DLZTU8\x00\x01garbage"s,
      "DLZTAZ\x00\x01\x78\x9C"s,
      good.substr(0, good.size() - 3),
      badCheck,
      badData,
  };
  for (const std::string& b : bad) {
    try {
      ReadTextBytes(b);
      ADD_FAILURE() << "read " << b.size() << " bytes";
    } catch (const EEncodingError& e) {
      EXPECT_NE(std::string(e.what()).find("beschädigt"), std::string::npos) << e.what();
    }
  }
  // The default decider accepts a scrambled container, which cannot be decoded.
  EXPECT_THROW(ReadTextBytes(WriteContainer(et_UTF8C_zip, "abc")), EEncodingError);
}

TEST(ReadTextFile, Fixtures) {
  struct Row {
    const char* file;
    TEncodingType type;
    std::u16string text;
  };
  const Row rows[] = {
      {"ansi-a7.txt", et_ANSI, u"§ \u0080 ä\r\n"},
      {"ansi-nosig.txt", et_none, u"€ ä\r\n"},
      {"utf8-section.txt", et_UTF8, u"§ grüß\r\n"},
      {"utf16le.txt", et_UTF16LE, u"Grüße\r\n"},
      {"empty.txt", et_none, u""},
      {"container-utf8.dlz", et_UTF8_zip, u"[Verlauf]\r\nlesen\r\n"},
  };
  for (const Row& r : rows) {
    TEncodingType t = et_undetected;
    EXPECT_EQ(ReadTextFile(kFixtures / r.file, &t), r.text) << r.file;
    EXPECT_EQ(t, r.type) << r.file;
  }
}

TEST(ReadTextFile, ErrorsNameTheFile) {
  const struct {
    std::filesystem::path path;
    const char* reason;
  } rows[] = {
      {kFixtures / "does-not-exist.txt", ": Datei oder Verzeichnis nicht gefunden"},
      {kFixtures, ": Ist ein Verzeichnis"},
  };
  for (const auto& r : rows) {
    try {
      ReadTextFile(r.path);
      ADD_FAILURE() << r.path;
    } catch (const EFileError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(r.path.string()), std::string::npos) << what;
      EXPECT_NE(what.find(r.reason), std::string::npos) << what;
    }
  }
  try {
    ReadTextFile(kFixtures / "container-corrupt.dlz");
    ADD_FAILURE() << "corrupt container read";
  } catch (const EEncodingError& e) {
    EXPECT_NE(std::string(e.what()).find("container-corrupt.dlz"), std::string::npos) << e.what();
  }
}

}  // namespace
