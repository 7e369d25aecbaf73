// SPDX-License-Identifier: MIT
// The sitemap: the golden runner, lists in four encodings, the item layout, the addresses
// (percent-encoded UTF-8, XML-escaped), empty lines and rejected phrases left out, write
// failures and the command line front end.
#include "app/Sitemap.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Request.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "tests/golden/Golden.h"

namespace {

namespace fs = std::filesystem;

fs::path Fixture(std::string_view name) {
  return fs::path(BEUGWERK_FIXTURES) / "sitemap" / name;
}

const std::vector<std::u16string> kVerbs = {u"lesen", u"sich waschen", u"\u00FCbersetzen",
                                            u"Rock & <Roll> fahren"};

std::string Loc(const std::u16string& item) {
  const std::string s = UniToUtf8(item);
  const std::size_t from = s.find("?infi=") + 6;
  return s.substr(from, s.find("</loc>") - from);
}

// The sitemap of kVerbs.
fs::path Golden() {
  return golden::Dir("sitemap") / "four_verbs.out";
}

// tests/golden/sitemap: no options; the input is the list in UTF-8, read as a list file is.
class SitemapGolden : public ::testing::TestWithParam<golden::Case> {};

TEST_P(SitemapGolden, MatchesTheGoldenSitemap) {
  const golden::Case& c = GetParam();
  const fs::path list = fs::temp_directory_path() /
                        ("sitemap_golden_" + std::to_string(getpid()) + "_" + c.name + ".txt");
  std::ofstream(list, std::ios::binary) << c.input;
  const std::string sitemap = SitemapBytes(ReadSitemapLines(list));
  fs::remove(list);
  EXPECT_TRUE(golden::Matches(c, sitemap));
}

INSTANTIATE_TEST_SUITE_P(Cases, SitemapGolden, ::testing::ValuesIn(golden::Cases("sitemap")),
                         golden::TestName);

TEST(Sitemap, ListsInEveryEncoding) {
  const std::string sitemap = ReadFileBytes(Golden());
  ASSERT_TRUE(sitemap.starts_with("\xEF\xBB\xBF<?xml"));
  EXPECT_EQ(SitemapBytes(kVerbs), sitemap);
  for (const char* input :
       {"verben-1252.txt", "verben-utf8.txt", "verben-utf8-nobom.txt", "verben-utf16.txt"})
    EXPECT_EQ(ReadSitemapLines(Fixture(input)), kVerbs) << input;
}

TEST(Sitemap, ThreeVerbsGiveFiveItems) {
  const std::vector<std::u16string> items = SitemapItems({u"a", u"b", u"c"});
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(UniToUtf8(items[0]),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r"
            "<urlset xmlns=\"http://www.google.com/schemas/sitemap/0.84\"\r"
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\r"
            "  xsi:schemaLocation=\"http://www.google.com/schemas/sitemap/0.84\r"
            "  http://www.google.com/schemas/sitemap/0.84/sitemap.xsd\">");
  EXPECT_EQ(UniToUtf8(items[2]),
            "<url>\r<loc>http://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=b</loc>\r"
            "<lastmod>2017-10-03</lastmod>\r<changefreq>weekly</changefreq>\r</url>");
  EXPECT_EQ(items[4], u"</urlset>");
  const std::string bytes = SitemapBytes({u"a", u"b", u"c"});
  std::size_t crlf = 0;
  for (std::size_t i = bytes.find("\r\n"); i != std::string::npos; i = bytes.find("\r\n", i + 2))
    ++crlf;
  EXPECT_EQ(crlf, 5u);
  EXPECT_TRUE(bytes.ends_with("</urlset>\r\n"));
}

// The address is the page's canonical link: the phrase percent-encoded as UTF-8, so blanks,
// "&" and markup reach the XML only as escapes.
TEST(Sitemap, AddressesArePercentEncoded) {
  struct Row {
    const char16_t* verb;
    const char* loc;
  } rows[] = {
      {u"sich waschen", "sich%20waschen"},
      {u"Rock & Roll", "Rock%20%26%20Roll"},
      {u"a<b>c", "a%3Cb%3Ec"},
      {u"&amp;", "%26amp%3B"},
      {u"\"x\" 'y'", "%22x%22%20%27y%27"},
      {u"\u00E4\u00DF", "%C3%A4%C3%9F"},
      {u"an/fangen+", "an%2Ffangen%2B"},
  };
  for (const Row& row : rows) {
    const std::vector<std::u16string> items = SitemapItems({row.verb});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(Loc(items[1]), row.loc) << UniToUtf8(row.verb);
  }
}

// Empty lines and phrases the engine rejects are left out (and the rejected ones counted);
// the others lose the blanks around them, as the page does.
TEST(Sitemap, ListLeavesOutEmptyLinesAndRejectedPhrases) {
  VerbListsPath = fs::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX";
  const TSitemapList list = SitemapList({u"lesen", u"", u"   ", u" sich waschen ", u"<b>",
                                         u"\u00FCbersetzen", u"lesex", u"3 regnen"});
  EXPECT_EQ(list.phrases, (std::vector<std::u16string>{u"lesen", u"sich waschen",
                                                       u"\u00FCbersetzen", u"3 regnen"}));
  EXPECT_EQ(list.rejected, (std::vector<std::u16string>{u"<b>", u"lesex"}));
  EXPECT_EQ(SitemapMessage(list, "x.xml"),
            "4 Seiten in x.xml eingetragen, 2 abgelehnte Zeilen ausgelassen.");
  EXPECT_EQ(SitemapMessage(SitemapList({u"lesen", u"<b>"}), "x.xml"),
            "1 Seite in x.xml eingetragen, 1 abgelehnte Zeile ausgelassen.");
  EXPECT_EQ(SitemapMessage(SitemapList({}), "x.xml"),
            "0 Seiten in x.xml eingetragen, 0 abgelehnte Zeilen ausgelassen.");
}

TEST(Sitemap, NoRawMarkupInsideTheAddress) {
  const std::vector<std::u16string> items = SitemapItems({u"<script>&x=1</script>"});
  const std::string loc = Loc(items[1]);
  EXPECT_EQ(loc.find_first_of("<>"), std::string::npos) << loc;
  for (std::size_t i = loc.find('&'); i != std::string::npos; i = loc.find('&', i + 1)) {
    const std::string_view rest = std::string_view(loc).substr(i);
    EXPECT_TRUE(rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;"))
        << loc;
  }
}

TEST(Sitemap, WriteOverwritesAndFailsLoudly) {
  const fs::path dir = fs::temp_directory_path() / ("sitemap_test_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const fs::path out = dir / "beugwerkSitemap.xml";
  {
    std::ofstream old(out, std::ios::binary);
    old << "an old, longer sitemap that must disappear completely";
  }
  WriteSitemap(kVerbs, out);
  EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(Golden()));
  EXPECT_FALSE(fs::exists(dir / "beugwerkSitemap.xml.tmp"));
  EXPECT_THROW(WriteSitemap(kVerbs, dir / "missing" / "x.xml"), EFileError);
  fs::remove_all(dir);
}

int RunSitemapCommand(const std::string& args, std::string* out = nullptr,
                      std::string* err = nullptr) {
  const fs::path errFile =
      fs::temp_directory_path() / ("sitemap_cmd_" + std::to_string(getpid()) + ".err");
  const std::string cmd = std::string("'") + BEUGWERK_EXE +
                          "' --verb-lists '" BEUGWERK_FIXTURES
                          "/generator/generator.VLX' sitemap " +
                          args + " 2>'" + errFile.string() + "'";
  FILE* pipe = popen(cmd.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buf[512];
  std::size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
    if (out != nullptr) out->append(buf, n);
  const int status = pclose(pipe);
  if (err != nullptr) *err = ReadFileBytes(errFile);
  fs::remove(errFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SitemapCommand, WritesTheFileAndSaysWhatItLeftOut) {
  const fs::path out =
      fs::temp_directory_path() / ("sitemap_cmd_" + std::to_string(getpid()) + ".xml");
  std::string printed, errors;
  EXPECT_EQ(RunSitemapCommand(
                "'" + Fixture("verben-utf16.txt").string() + "' '" + out.string() + "'", &printed),
            0);
  EXPECT_EQ(printed,
            "4 Seiten in " + out.string() + " eingetragen, 0 abgelehnte Zeilen ausgelassen.\n");
  EXPECT_EQ(ReadFileBytes(out), ReadFileBytes(Golden()));

  // A UTF-8 list without byte order mark, with empty lines and a rejected word.
  const fs::path list =
      fs::temp_directory_path() / ("sitemap_cmd_" + std::to_string(getpid()) + ".txt");
  std::ofstream(list, std::ios::binary) << "übersetzen\n\n  \nsich waschen\r\nlesex\n";
  printed.clear();
  EXPECT_EQ(RunSitemapCommand("'" + list.string() + "' '" + out.string() + "'", &printed, &errors),
            0);
  EXPECT_EQ(printed,
            "2 Seiten in " + out.string() + " eingetragen, 1 abgelehnte Zeile ausgelassen.\n");
  EXPECT_EQ(errors, "beugwerk sitemap: abgelehnt: lesex\n");
  const std::string xml = ReadFileBytes(out);
  EXPECT_NE(xml.find("?infi=%C3%BCbersetzen</loc>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("?infi=sich%20waschen</loc>"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("lesex"), std::string::npos) << xml;
  fs::remove(out);
  fs::remove(list);

  // a missing input writes nothing
  EXPECT_EQ(
      RunSitemapCommand("'" + Fixture("no-such-list.txt").string() + "' '" + out.string() + "'"),
      3);
  EXPECT_FALSE(fs::exists(out));
  EXPECT_EQ(RunSitemapCommand("only-one-argument"), 2);
}

}  // namespace
