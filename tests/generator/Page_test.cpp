// SPDX-License-Identifier: MIT
// The result page: golden pages compared byte for byte, the order of its items, the head's
// description and canonical link, and phrases that must not inject markup.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"
#include "tests/golden/Golden.h"

namespace {

namespace fs = std::filesystem;

const fs::path kDir = fs::path(BEUGWERK_FIXTURES) / "generator";

class PageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = kDir / "generator.VLX";
    keepLoaded_ = std::make_unique<TVerbGen>();
  }
  static void TearDownTestSuite() { keepLoaded_.reset(); }
  static std::unique_ptr<TVerbGen> keepLoaded_;
};
std::unique_ptr<TVerbGen> PageTest::keepLoaded_;

std::string Page(std::u16string_view phrase, bool online) {
  return UniToUtf8(GetVerbPageHtml(std::u16string(phrase), online, NeuOrtho));
}

// The text between "Deutsche Verbformen zu '" and "' in allen Zeitformen".
std::string Description(const std::string& page) {
  const std::string open = "Deutsche Verbformen zu '";
  const std::size_t b = page.find(open) + open.size();
  return page.substr(b, page.find("' in allen Zeitformen") - b);
}

// tests/golden/page: options lists=<fixture folder> (its .VLX), online=1, ortho=neu|alt|ch,
// forms=table|link|all; the input is the phrase.
class PageGolden : public ::testing::TestWithParam<golden::Case> {};

TEST_P(PageGolden, MatchesTheGoldenPage) {
  const golden::Case& c = GetParam();
  const std::string lists = c.Option("lists", "generator");
  VerbListsPath = fs::path(BEUGWERK_FIXTURES) / lists / (lists + ".VLX");
  const std::string o = c.Option("ortho", "neu");
  const std::string f = c.Option("forms", "table");
  const TOrthoTyp ortho = o == "alt" ? AltOrtho : o == "ch" ? ChOrtho : NeuOrtho;
  const TPageForms forms = f == "all"    ? TPageForms::allForms
                           : f == "link" ? TPageForms::tableWithLink
                                         : TPageForms::table;
  const std::string page =
      UniToUtf8(GetVerbPageHtml(Utf8ToUni(c.Line()), c.Option("online", "0") == "1", ortho, forms));
  EXPECT_TRUE(golden::Matches(c, page));
}

INSTANTIATE_TEST_SUITE_P(Cases, PageGolden, ::testing::ValuesIn(golden::Cases("page")),
                         golden::TestName);

// The page is its items, each followed by CR LF: 8 offline, 11 with the input field.
TEST_F(PageTest, ItemsInOrder) {
  for (const char16_t* phrase : {u"lesen", u"übersetzen", u"<b>"}) {
    TVerbGenerator g;
    g.Verb.newVerb(phrase, unsp);
    g.VerbHabenSein.newVerb(g.Verb.FHabsei);
    std::u16string msg, s1, s2;
    g.Formen(phrase, msg, s1, s2);
    const std::string offline = Page(phrase, false);
    const std::string online = Page(phrase, true);
    const std::string fragments =
        UniToUtf8(msg) + "\r\n" + UniToUtf8(s1) + "\r\n" + UniToUtf8(s2) + "\r\n";
    const std::string end = "</td>\r</tr>\r</table>\r</body></html>\r\n";

    const std::size_t h1 = offline.find("\r\n<h1 ");
    const std::size_t body = offline.find("</h1>\r\n") + 7;
    ASSERT_NE(h1, std::string::npos);
    EXPECT_EQ(offline.substr(body, fragments.size()), fragments) << UniToUtf8(phrase);
    EXPECT_TRUE(offline.ends_with("<td style=\"text-align:right\">\r\n" + end));
    EXPECT_TRUE(online.ends_with("alt=\"Valid CSS!\"></a>\r\n" + end));

    // Online = offline with the version line and the form after the heading, the badges
    // before the end.
    const std::size_t form = online.find("</h1>\r\n") + 7;
    const std::size_t formEnd = online.find("</p></form>\r\r\n") + 14;
    const std::size_t badges = online.find("\r\n<a href=\"" + UniToUtf8(site::kMarkupValidatorUrl));
    ASSERT_NE(badges, std::string::npos);
    EXPECT_TRUE(online.substr(form).starts_with(
        "<p style=\"margin-top:0; padding-top:0\">erzeugt mit dem deutschen Beugwerk Version "
        "9</p>\r\n<form "));
    const std::string stripped =
        online.substr(0, form) + online.substr(formEnd, badges + 2 - formEnd) + end;
    EXPECT_EQ(stripped, offline) << UniToUtf8(phrase);
  }
}

TEST_F(PageTest, DescriptionShortensInfinitivesOverFortyCharacters) {
  // "mit dem " + padding + " fahren": the normalised infinitive keeps the phrase words.
  const std::u16string forty = u"mit dem " + std::u16string(25, u'x') + u" fahren";
  const std::u16string fortyOne = u"mit dem " + std::u16string(26, u'ä') + u" fahren";
  ASSERT_EQ(forty.size(), 40u);
  ASSERT_EQ(fortyOne.size(), 41u);
  EXPECT_EQ(Description(Page(forty, false)), UniToUtf8(forty));
  EXPECT_EQ(Description(Page(fortyOne, false)), UniToUtf8(fortyOne.substr(0, 35)) + "...");
}

// One canonical link, in the title item: the whole phrase as typed (without the blanks around
// it), percent-encoded as UTF-8, in the page's orthography.
TEST_F(PageTest, OneCanonicalLinkWithTheWholePhrase) {
  const std::string head =
      "<link rel=\"canonical\" href=\"https://beugwerk.de/beugwerkde/"
      "verbformen-deutsch.htm?infi=";
  struct {
    std::u16string_view phrase;
    TOrthoTyp ortho;
    const char* query;  // after "?infi="
  } rows[] = {
      {u"sich anziehen", NeuOrtho, "sich%20anziehen"},
      {u"sich übergeben", NeuOrtho, "sich%20%C3%BCbergeben"},
      {u"  lesen ", NeuOrtho, "lesen"},
      {u"   ", NeuOrtho, "den%20Generator%20ausprobieren"},
      {u"über'setzen", NeuOrtho, "%C3%BCber%27setzen"},
      {u"sich3 etwas merken", AltOrtho, "sich3%20etwas%20merken&amp;ortho=alt"},
      {u"grüßen", ChOrtho, "gr%C3%BC%C3%9Fen&amp;ortho=ch"},
  };
  for (const auto& r : rows) {
    for (bool online : {false, true}) {
      const std::string page =
          UniToUtf8(GetVerbPageHtml(std::u16string(r.phrase), online, r.ortho));
      const std::size_t at = page.find("<link rel=\"canonical\"");
      ASSERT_NE(at, std::string::npos) << UniToUtf8(r.phrase);
      EXPECT_EQ(page.find("rel=\"canonical\"", at + head.size()), std::string::npos)
          << UniToUtf8(r.phrase);
      EXPECT_EQ(page.substr(at, head.size() + std::strlen(r.query) + 12),
                head + r.query + "\"/>\r</head>\r")
          << UniToUtf8(r.phrase);
    }
  }
}

TEST_F(PageTest, TitleAndLinksOfThePhrase) {
  struct {
    std::u16string_view phrase;
    const char* title;
    const char* secondLink;
  } rows[] = {
      {u"sich übergeben", "sich übergeben", "?infi=sich%20%C3%BCbergeben\"/>\r</head>"},
      {u"   ", "den Generator ausprobieren", "?infi=den%20Generator%20ausprobieren\"/>"},
      {u"  lesen ", "lesen", "?infi=lesen\"/>"},
  };
  for (const auto& r : rows) {
    const std::string page = Page(r.phrase, false);
    EXPECT_NE(page.find("<title>Deutsche Verbformen: " + std::string(r.title) + "</title>\r"),
              std::string::npos)
        << r.title;
    EXPECT_NE(page.find(r.secondLink), std::string::npos) << r.title;
  }
  // The page for a blank phrase invites a try: its own table.
  EXPECT_NE(Page(u"   ", false).find("<td>ich probiere den Generator aus</td>"), std::string::npos);
}

// A phrase quoting markup reaches the page only as text, in every place it appears.
TEST_F(PageTest, MarkupInThePhraseIsEscaped) {
  for (const char16_t* phrase :
       {u"mit \"<script>alert(1)</script>\" fahren", u"<script>alert('x')</script>",
        u"sich \"><img src=x onerror=alert(1)> waschen"}) {
    const std::string page = Page(phrase, true);
    EXPECT_EQ(page.find("<script"), std::string::npos) << page;
    EXPECT_EQ(page.find("<img src=x"), std::string::npos) << page;
    EXPECT_EQ(page.find("\"<"), std::string::npos) << page;
    EXPECT_EQ(page.find("\">\""), std::string::npos) << page;
    EXPECT_NE(page.find("&lt;"), std::string::npos) << page;
  }
  const std::string page = Page(u"mit \"<script>alert(1)</script>\" fahren", true);
  EXPECT_NE(page.find("value=\"mit &quot;&lt;script&gt;alert(1)&lt;/script&gt;&quot; fahren\"/>"),
            std::string::npos);
  EXPECT_NE(page.find("<title>Deutsche Verbformen: mit &quot;&lt;script&gt;"), std::string::npos);
  EXPECT_NE(page.find("?infi=mit%20%22%3Cscript%3Ealert%281%29%3C%2Fscript%3E%22%20fahren\"/>"),
            std::string::npos);
  EXPECT_NE(page.find("<td>ich fahre mit &quot;&lt;script&gt;"), std::string::npos);
}

// A verb left open only by its doubly usable prefix keeps the warning and offers both readings
// as links to their own pages, each with the form that tells it apart.
TEST_F(PageTest, TwoReadingsOfADoublyUsablePrefix) {
  const std::string warning =
      "<p>nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einfügung!</p>\r\n";
  struct {
    const char16_t* phrase;
    const char* links;  // the paragraph after the warning; empty: none
  } rows[] = {
      {u"übersetzen",
       "<p>Bitte wählen Sie: <a href=\"verbformen-deutsch.htm?infi=%27%C3%BCbersetzen\">"
       "'übersetzen</a> (<i>er setzt über</i>) oder <a "
       "href=\"verbformen-deutsch.htm?infi=%C3%BCber%27setzen\">über'setzen</a> (<i>er "
       "übersetzt</i>)</p>\r\n"},
      {u"mit dem Auto umfahren",
       "<p>Bitte wählen Sie: <a "
       "href=\"verbformen-deutsch.htm?infi=mit%20dem%20Auto%20%27umfahren\">mit dem Auto "
       "'umfahren</a> (<i>er fährt mit dem Auto um</i>) oder <a "
       "href=\"verbformen-deutsch.htm?infi=mit%20dem%20Auto%20um%27fahren\">mit dem Auto "
       "um'fahren</a> (<i>er umfährt mit dem Auto</i>)</p>\r\n"},
      // Settled by a mark, or decided: no warning, no links.
      {u"'übersetzen", ""},
      {u"über/setzen", ""},
      {u"lesen", ""},
  };
  for (const auto& r : rows) {
    const std::string page = Page(r.phrase, true);
    const std::size_t at = page.find(warning);
    if (*r.links == 0) {
      EXPECT_EQ(at, std::string::npos) << UniToUtf8(r.phrase);
      EXPECT_EQ(page.find("Bitte wählen Sie"), std::string::npos) << UniToUtf8(r.phrase);
      continue;
    }
    ASSERT_NE(at, std::string::npos) << UniToUtf8(r.phrase);
    EXPECT_EQ(page.substr(at + warning.size(), std::string_view(r.links).size()), r.links)
        << UniToUtf8(r.phrase);
  }
}

// A generator asked for a page of another phrase than it analysed names the analysed
// infinitive in the head: the head comes from the analysis that precedes GetHtml.
TEST_F(PageTest, HeadFollowsThePrecedingAnalysis) {
  TVerbGenerator g;
  g.Verb.newVerb(u"lesen", unsp);
  g.VerbHabenSein.newVerb(g.Verb.FHabsei);
  const std::string page = UniToUtf8(g.GetHtml(u"gehen", false));
  EXPECT_EQ(Description(page), "lesen");
  EXPECT_NE(page.find("<title>Deutsche Verbformen: gehen</title>"), std::string::npos);
  EXPECT_NE(page.find("<td>ich gehe</td>"), std::string::npos);
}

}  // namespace
