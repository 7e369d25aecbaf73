// SPDX-License-Identifier: MIT
// The lookup of forms over the shipped verb lists: a table of German rows (the infinitives a
// form belongs to, the first in rank, and one of its forms as the line names it), inputs that
// are no form, refused inputs, the JSON and the page hint.
#include "generator/Lookup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/LookupShape.h"
#include "generator/VerbGenerator.h"
#include "tests/GermanText.h"

namespace {

class LookupTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = std::filesystem::path(BEUGWERK_SOURCE_DIR) / "data" / "Beugwerk.VLX";
    keepLoaded_ = std::make_unique<TVerbGen>();
  }
  static void TearDownTestSuite() { keepLoaded_.reset(); }
  static std::string Infinitives(const TLookupResult& r) {
    std::string s;
    for (const TLookupHit& h : r.hits) s += (s.empty() ? "" : " ") + UniToUtf8(h.infinitive);
    return s;
  }
  static inline std::unique_ptr<TVerbGen> keepLoaded_;
};

struct TRow {
  const char* input;
  TOrthoTyp ortho;
  const char* infinitives;  // every hit, in rank order
  const char* lineHas;      // a part of the first hit's line
};

const TRow kRows[] = {
    // strong, mixed, modal
    {"ging", NeuOrtho, "gehen",
     "gehen: Präteritum Indikativ, 1. und 3. Person Singular (ich ging, er ging)"},
    {"Ging", NeuOrtho, "gehen", "Präteritum Indikativ"},
    {"hielt", NeuOrtho, "halten", "(ich hielt, er hielt)"},
    {"dachtest", NeuOrtho, "denken dachen",
     "Präteritum Indikativ, 2. Person Singular (du dachtest)"},
    {"musste", NeuOrtho, "müssen", "1. und 3. Person Singular"},
    {"kann", NeuOrtho, "können", "Präsens Indikativ, 1. und 3. Person Singular"},
    // weak in -eln, -ern, -ieren; an English loan; a playful compound
    {"googelte", NeuOrtho, "googeln", "Präteritum Indikativ"},
    {"sammle", NeuOrtho, "sammeln", "Präsens Indikativ, 1. Person Singular (ich sammle)"},
    {"wandert", NeuOrtho, "wandern", "Präsens Indikativ"},
    {"studierten", NeuOrtho, "studieren", "Präteritum Indikativ, 1. und 3. Person Plural"},
    {"downgeloadet", NeuOrtho, "downloaden", "Partizip II"},
    {"verschlimmbessert", NeuOrtho, "verschlimmbessern", "Partizip II"},
    // separable and inseparable prefixes, both readings of a doubly usable one
    {"zog an", NeuOrtho, "anziehen",
     "anziehen: Präteritum Indikativ, 1. und 3. Person Singular (ich zog an, er zog an)"},
    {"kommt zurück", NeuOrtho, "zurückkommen", "Präsens Indikativ, 3. Person Singular"},
    {"anzog", NeuOrtho, "anziehen", "Präteritum Indikativ, Nebensatz, 1. und 3. Person Singular"},
    {"angezogen", NeuOrtho, "anziehen", "Partizip II"},
    {"verloren", NeuOrtho, "verlieren", "Partizip II"},
    {"übergesetzt", NeuOrtho, "'übersetzen", "Partizip II"},
    {"umfahren", NeuOrtho, "'umfahren um'fahren", "Infinitiv"},
    {"durchbrochen", NeuOrtho, "durch'brechen", "Partizip II"},
    {"staubgesaugt", NeuOrtho, "staubsaugen", "Partizip II"},
    // reflexive; Konjunktiv II; imperative; zu-infinitive; with an auxiliary
    {"wäscht sich", NeuOrtho, "sich waschen", "(er wäscht sich)"},
    {"beeilt euch", NeuOrtho, "sich beeilen", "Imperativ Plural (beeilt euch!)"},
    {"gewönne", NeuOrtho, "gewinnen", "Konjunktiv II, 1. und 3. Person Singular"},
    {"lies", NeuOrtho, "lesen", "Imperativ Singular (lies!)"},
    {"anzuziehen", NeuOrtho, "anziehen", "zu-Infinitiv"},
    {"hat gelesen", NeuOrtho, "lesen", "Perfekt Indikativ, 3. Person Singular (er hat gelesen)"},
    {"ist gegangen", NeuOrtho, "gehen", "Perfekt Indikativ"},
    {"gelesen hat", NeuOrtho, "lesen",
     "Perfekt Indikativ, Nebensatz, 3. Person Singular (dass er gelesen hat)"},
    {"wird gelesen", NeuOrtho, "lesen", "Präsens Indikativ Passiv"},
    // forms of two verbs
    {"wog", NeuOrtho, "wiegen wägen",
     "Präteritum Indikativ, 1. und 3. Person Singular (ich wog, er wog)"},
    {"geschliffen", NeuOrtho, "schleifen", "Partizip II"},
    {"hing", NeuOrtho, "hängen", "Präteritum Indikativ"},
    {"schliff", NeuOrtho, "schleifen", "Präteritum Indikativ"},
    {"wiegen", NeuOrtho, "wiegen", "Infinitiv"},
    // the old orthography
    {"mußte", AltOrtho, "müssen", "(ich mußte, er mußte)"},
    {"gingen", NeuOrtho, "gehen", "Konjunktiv II, 1. und 3. Person Plural"},
    {"lasen", NeuOrtho, "lesen", "Präteritum Indikativ, 1. und 3. Person Plural"},
};

TEST_F(LookupTest, GermanRows) {
  for (const TRow& row : kRows) {
    const TLookupResult r = LookupForm(Utf8ToUni(row.input), row.ortho);
    EXPECT_EQ(Infinitives(r), row.infinitives) << row.input;
    if (r.hits.empty()) continue;
    EXPECT_NE(UniToUtf8(LookupLine(r.hits[0])).find(row.lineHas), std::string::npos)
        << row.input << ": " << UniToUtf8(LookupLine(r.hits[0]));
  }
}

// The shape of stems that decides which readings are made up: schwa or stressed e, and the
// stems in -t that only weak pasts have.
TEST_F(LookupTest, StemShapes) {
  const struct {
    const char* stem;
    bool schwa;  // -el, -er unstressed
  } schwa[] = {{"wander", true}, {"sammel", true},  {"feier", true},     {"steuer", true},
               {"googel", true}, {"schwer", false}, {"erschwer", false}, {"einscher", false},
               {"leer", false},  {"hiel", false},   {"studier", false}};
  for (const auto& row : schwa)
    EXPECT_EQ(lookupshape::EndsInSchwaSyllable(Ansi(row.stem)), row.schwa) << row.stem;
  const struct {
    const char* stem;
    bool past;  // only a weak past ends so
  } tStems[] = {{"überwallt", true}, {"gekippt", true}, {"studiert", true}, {"googelt", true},
                {"acht", false},     {"wart", false},   {"bitt", false},    {"punkt", false},
                {"behaupt", false},  {"gelt", false},   {"rast", false},    {"abwert", false}};
  for (const auto& row : tStems)
    EXPECT_EQ(lookupshape::PastLikeTStem(Ansi(row.stem)), row.past) << row.stem;
}

TEST_F(LookupTest, NoFormAndRefused) {
  // "hat gegangen": gehen takes sein.
  for (const char* input :
       {"qqq", "pfft", "musste lesen schreiben gehen", "hat gegangen", "mußte"}) {
    const TLookupResult r = LookupForm(Utf8ToUni(input), NeuOrtho);
    // "mußte" is the old spelling: the reformed one has no such form of müssen.
    for (const TLookupHit& h : r.hits) EXPECT_NE(UniToUtf8(h.infinitive), "müssen") << input;
    if (std::string(input) != "mußte") {
      EXPECT_TRUE(r.hits.empty()) << input << Infinitives(r);
    }
  }
  const std::u16string tooLong(200, u'a');
  for (const std::u16string& input :
       {tooLong, std::u16string(u"gi\u0001ng"), std::u16string(u"123 !")}) {
    const TLookupResult r = LookupForm(input, NeuOrtho);
    EXPECT_FALSE(r.error.empty()) << UniToUtf8(input);
    EXPECT_EQ(LookupResultJson(r).rfind("{\"error\":", 0), 0u);
    EXPECT_EQ(LookupStatus(r), TLookupStatus::badInput);
  }
  TLookupStatus status = TLookupStatus::found;
  EXPECT_EQ(LookupJson(u"qqq", NeuOrtho, &status), "[]");
  EXPECT_EQ(status, TLookupStatus::notFound);
}

TEST_F(LookupTest, JsonAndHint) {
  EXPECT_EQ(
      LookupJson(u"ging", NeuOrtho),
      "[{\"infinitive\":\"gehen\",\"listed\":true,\"forms\":["
      "{\"tense\":\"praeteritum\",\"mood\":\"indikativ\",\"person\":1,\"number\":\"singular\","
      "\"clause\":\"main\",\"text\":\"ich ging\"},"
      "{\"tense\":\"praeteritum\",\"mood\":\"indikativ\",\"person\":3,\"number\":\"singular\","
      "\"clause\":\"main\",\"text\":\"er ging\"}]}]");
  EXPECT_EQ(UniToUtf8(LookupHintHtml(u"ging", NeuOrtho, true)),
            "<p>„ging“ ist eine Form von <a href=\"verbformen-deutsch.htm?infi=gehen\">gehen</a> "
            "(Präteritum, 1. und 3. Person Singular).</p>\r\n");
  EXPECT_EQ(UniToUtf8(LookupHintHtml(u"lasen", NeuOrtho, false)),
            "<p>„lasen“ ist auch eine Form von <a "
            "href=\"verbformen-deutsch.htm?infi=lesen\">lesen</a>.</p>\r\n");
  EXPECT_EQ(LookupHintHtml(u"lesen", NeuOrtho, false), u"");
  EXPECT_EQ(LookupHintHtml(u"umfahren", NeuOrtho, false), u"");
  // On the page: after the engine's message, and not on the page of an infinitive.
  const std::string page = UniToUtf8(GetVerbPageHtml(u"ging", false, NeuOrtho));
  const std::size_t message = page.find("ist kein Infinitiv!");
  EXPECT_LT(message, page.find("<p>„ging“ ist eine Form von")) << page;
  EXPECT_NE(page.find("<p>„ging“ ist eine Form von"), std::string::npos) << page;
  EXPECT_EQ(UniToUtf8(GetVerbPageHtml(u"lesen", false, NeuOrtho)).find("Form von"),
            std::string::npos);
}

}  // namespace

namespace {

// A server answers each request from the snapshot of the lists it pinned: the lookup's index
// and its cached conjugations follow the snapshot, never the lists read before.
TEST_F(LookupTest, FollowsThePinnedSnapshot) {
  const std::filesystem::path fixtures = BEUGWERK_FIXTURES;
  auto withGehen = std::make_shared<TVerbListsTables>();
  InspectVerbLists(fixtures / "forms" / "forms.VLX", *withGehen);
  auto withoutGehen = std::make_shared<TVerbListsTables>();
  InspectVerbLists(fixtures / "prefixes" / "Prefixes.VLX", *withoutGehen);
  const auto first = [](const std::shared_ptr<TVerbListsTables>& lists) {
    TVerbListsPin pin(lists);
    const TLookupResult r = LookupForm(u"ging", NeuOrtho);
    return r.hits.empty() ? std::string() : UniToUtf8(r.hits[0].infinitive);
  };
  EXPECT_EQ(first(withGehen), "gehen");
  EXPECT_NE(first(withoutGehen), "gehen");
  EXPECT_EQ(first(withGehen), "gehen");
}

}  // namespace
