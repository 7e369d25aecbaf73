// SPDX-License-Identifier: MIT
// The shipped verb lists (data/Beugwerk.VLX) against German as we know it: the principal parts
// of the common irregular verbs and the auxiliary of common verbs. Written by hand; a failing
// row names a verb whose entry, prefix, stress or auxiliary line is wrong.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"

namespace {

// The rows are UTF-8 source text; the engine speaks Windows-1252, which holds every letter here.
std::string Latin1(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c >= 0xC0 && i + 1 < utf8.size()) {
      out.push_back(
          static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

// True when form is one of the '|'-separated alternatives of expected.
bool OneOf(const std::string& form, std::string_view expected) {
  while (true) {
    const auto bar = expected.find('|');
    if (Latin1(expected.substr(0, bar)) == form) return true;
    if (bar == std::string_view::npos) return false;
    expected.remove_prefix(bar + 1);
  }
}

const char* AuxName(habseityp h) {
  switch (h) {
    case haben:
      return "haben";
    case sein:
      return "sein";
    case habensein:
      return "haben/sein";
    default:
      return "unspe";
  }
}

class ShippedListsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = std::filesystem::path(BEUGWERK_SOURCE_DIR) / "data" / "Beugwerk.VLX";
    verb_ = std::make_unique<TVerbGen>();
    verb_->SetOnErrMsg([](const std::u16string&) {});
  }
  static void TearDownTestSuite() { verb_.reset(); }

  static TVerbGen& Verb() { return *verb_; }

  inline static std::unique_ptr<TVerbGen> verb_;
};

struct PartsRow {
  const char* verb;
  const char* praesens3;  // '|' joins forms that are both standard: the main form is one of them
  const char* praeteritum3;
  const char* partizip2;
  habseityp aux;
};

// clang-format off
const PartsRow kParts[] = {
    {"backen", "bäckt|backt", "backte|buk", "gebacken", haben},
    {"befehlen", "befiehlt", "befahl", "befohlen", haben},
    {"beginnen", "beginnt", "begann", "begonnen", haben},
    {"beißen", "beißt", "biss", "gebissen", haben},
    {"bergen", "birgt", "barg", "geborgen", haben},
    {"biegen", "biegt", "bog", "gebogen", habensein},
    {"bieten", "bietet", "bot", "geboten", haben},
    {"binden", "bindet", "band", "gebunden", haben},
    {"bitten", "bittet", "bat", "gebeten", haben},
    {"blasen", "bläst", "blies", "geblasen", haben},
    {"bleiben", "bleibt", "blieb", "geblieben", sein},
    {"braten", "brät", "briet", "gebraten", haben},
    {"brechen", "bricht", "brach", "gebrochen", habensein},
    {"brennen", "brennt", "brannte", "gebrannt", haben},
    {"bringen", "bringt", "brachte", "gebracht", haben},
    {"denken", "denkt", "dachte", "gedacht", haben},
    {"dreschen", "drischt", "drosch", "gedroschen", haben},
    {"dürfen", "darf", "durfte", "gedurft", haben},
    {"empfehlen", "empfiehlt", "empfahl", "empfohlen", haben},
    {"essen", "isst", "aß", "gegessen", haben},
    {"fahren", "fährt", "fuhr", "gefahren", habensein},
    {"fallen", "fällt", "fiel", "gefallen", sein},
    {"fangen", "fängt", "fing", "gefangen", haben},
    {"finden", "findet", "fand", "gefunden", haben},
    {"fliegen", "fliegt", "flog", "geflogen", habensein},
    {"fliehen", "flieht", "floh", "geflohen", sein},
    {"fließen", "fließt", "floss", "geflossen", sein},
    {"fressen", "frisst", "fraß", "gefressen", haben},
    {"frieren", "friert", "fror", "gefroren", habensein},
    {"geben", "gibt", "gab", "gegeben", haben},
    {"gehen", "geht", "ging", "gegangen", sein},
    {"gelingen", "gelingt", "gelang", "gelungen", sein},
    {"gelten", "gilt", "galt", "gegolten", haben},
    {"genießen", "genießt", "genoss", "genossen", haben},
    {"geschehen", "geschieht", "geschah", "geschehen", sein},
    {"gewinnen", "gewinnt", "gewann", "gewonnen", haben},
    {"gießen", "gießt", "goss", "gegossen", haben},
    {"gleichen", "gleicht", "glich", "geglichen", haben},
    {"gleiten", "gleitet", "glitt", "geglitten", sein},
    {"graben", "gräbt", "grub", "gegraben", haben},
    {"greifen", "greift", "griff", "gegriffen", haben},
    {"haben", "hat", "hatte", "gehabt", haben},
    {"halten", "hält", "hielt", "gehalten", haben},
    {"hängen", "hängt", "hing|hängte", "gehangen|gehängt", haben},
    {"heben", "hebt", "hob", "gehoben", haben},
    {"heißen", "heißt", "hieß", "geheißen", haben},
    {"helfen", "hilft", "half", "geholfen", haben},
    {"kennen", "kennt", "kannte", "gekannt", haben},
    {"klingen", "klingt", "klang", "geklungen", haben},
    {"kommen", "kommt", "kam", "gekommen", sein},
    {"können", "kann", "konnte", "gekonnt", haben},
    {"kriechen", "kriecht", "kroch", "gekrochen", sein},
    {"laden", "lädt", "lud", "geladen", haben},
    {"lassen", "lässt", "ließ", "gelassen", haben},
    {"laufen", "läuft", "lief", "gelaufen", sein},
    {"leiden", "leidet", "litt", "gelitten", haben},
    {"leihen", "leiht", "lieh", "geliehen", haben},
    {"lesen", "liest", "las", "gelesen", haben},
    {"liegen", "liegt", "lag", "gelegen", haben},
    {"lügen", "lügt", "log", "gelogen", haben},
    {"meiden", "meidet", "mied", "gemieden", haben},
    {"messen", "misst", "maß", "gemessen", haben},
    {"mögen", "mag", "mochte", "gemocht", haben},
    {"müssen", "muss", "musste", "gemusst", haben},
    {"nehmen", "nimmt", "nahm", "genommen", haben},
    {"nennen", "nennt", "nannte", "genannt", haben},
    {"pfeifen", "pfeift", "pfiff", "gepfiffen", haben},
    {"raten", "rät", "riet", "geraten", haben},
    {"reiben", "reibt", "rieb", "gerieben", haben},
    {"reißen", "reißt", "riss", "gerissen", habensein},
    {"reiten", "reitet", "ritt", "geritten", habensein},
    {"rennen", "rennt", "rannte", "gerannt", sein},
    {"riechen", "riecht", "roch", "gerochen", haben},
    {"rufen", "ruft", "rief", "gerufen", haben},
    {"saufen", "säuft", "soff", "gesoffen", haben},
    {"scheinen", "scheint", "schien", "geschienen", haben},
    {"schieben", "schiebt", "schob", "geschoben", haben},
    {"schlafen", "schläft", "schlief", "geschlafen", haben},
    {"schlagen", "schlägt", "schlug", "geschlagen", haben},
    {"schleichen", "schleicht", "schlich", "geschlichen", sein},
    {"schließen", "schließt", "schloss", "geschlossen", haben},
    {"schmelzen", "schmilzt", "schmolz", "geschmolzen", habensein},
    {"schneiden", "schneidet", "schnitt", "geschnitten", haben},
    {"schreiben", "schreibt", "schrieb", "geschrieben", haben},
    {"schreien", "schreit", "schrie", "geschrien", haben},
    {"schweigen", "schweigt", "schwieg", "geschwiegen", haben},
    {"schwimmen", "schwimmt", "schwamm", "geschwommen", habensein},
    {"schwören", "schwört", "schwor", "geschworen", haben},
    {"sehen", "sieht", "sah", "gesehen", haben},
    {"sein", "ist", "war", "gewesen", sein},
    {"senden", "sendet", "sandte|sendete", "gesandt|gesendet", haben},
    {"singen", "singt", "sang", "gesungen", haben},
    {"sinken", "sinkt", "sank", "gesunken", sein},
    {"sitzen", "sitzt", "saß", "gesessen", haben},
    {"sollen", "soll", "sollte", "gesollt", haben},
    {"sprechen", "spricht", "sprach", "gesprochen", haben},
    {"springen", "springt", "sprang", "gesprungen", sein},
    {"stechen", "sticht", "stach", "gestochen", haben},
    {"stehen", "steht", "stand", "gestanden", haben},
    {"stehlen", "stiehlt", "stahl", "gestohlen", haben},
    {"steigen", "steigt", "stieg", "gestiegen", sein},
    {"sterben", "stirbt", "starb", "gestorben", sein},
    {"stinken", "stinkt", "stank", "gestunken", haben},
    {"stoßen", "stößt", "stieß", "gestoßen", habensein},
    {"streiten", "streitet", "stritt", "gestritten", haben},
    {"tragen", "trägt", "trug", "getragen", haben},
    {"treffen", "trifft", "traf", "getroffen", haben},
    {"treiben", "treibt", "trieb", "getrieben", habensein},
    {"treten", "tritt", "trat", "getreten", habensein},
    {"trinken", "trinkt", "trank", "getrunken", haben},
    {"tun", "tut", "tat", "getan", haben},
    {"verderben", "verdirbt", "verdarb", "verdorben", habensein},
    {"vergessen", "vergisst", "vergaß", "vergessen", haben},
    {"verlieren", "verliert", "verlor", "verloren", haben},
    {"verschwinden", "verschwindet", "verschwand", "verschwunden", sein},
    {"wachsen", "wächst", "wuchs", "gewachsen", sein},
    {"waschen", "wäscht", "wusch", "gewaschen", haben},
    {"weisen", "weist", "wies", "gewiesen", haben},
    {"wenden", "wendet", "wandte|wendete", "gewandt|gewendet", haben},
    {"werben", "wirbt", "warb", "geworben", haben},
    {"werden", "wird", "wurde", "geworden", sein},
    {"werfen", "wirft", "warf", "geworfen", haben},
    {"wissen", "weiß", "wusste", "gewusst", haben},
    {"wollen", "will", "wollte", "gewollt", haben},
    {"ziehen", "zieht", "zog", "gezogen", habensein},
    {"zwingen", "zwingt", "zwang", "gezwungen", haben},
    // Prefixed: the entry of the base verb through a separable or inseparable prefix.
    {"anfangen", "fängt an", "fing an", "angefangen", haben},
    {"ankommen", "kommt an", "kam an", "angekommen", sein},
    {"aufstehen", "steht auf", "stand auf", "aufgestanden", sein},
    {"einschlafen", "schläft ein", "schlief ein", "eingeschlafen", sein},
    {"zurückgeben", "gibt zurück", "gab zurück", "zurückgegeben", haben},
    {"bekommen", "bekommt", "bekam", "bekommen", haben},
    {"verstehen", "versteht", "verstand", "verstanden", haben},
    {"erfahren", "erfährt", "erfuhr", "erfahren", haben},
    {"gefallen", "gefällt", "gefiel", "gefallen", haben},
    {"entkommen", "entkommt", "entkam", "entkommen", sein},
    {"mitbringen", "bringt mit", "brachte mit", "mitgebracht", haben},
    {"nachdenken", "denkt nach", "dachte nach", "nachgedacht", haben},
};
// clang-format on

TEST_F(ShippedListsTest, PrincipalPartsOfIrregularVerbs) {
  for (const auto& row : kParts) {
    SCOPED_TRACE(row.verb);
    TVerbGen& v = Verb();
    EXPECT_TRUE(v.newVerbA(Latin1(row.verb), unsp)) << "undecided analysis";
    const std::string praes = v.PraesensA(3, false);
    EXPECT_TRUE(OneOf(praes, row.praesens3)) << "Praesens er: " << praes;
    const std::string praet = v.PraeteritumA(3, false);
    EXPECT_TRUE(OneOf(praet, row.praeteritum3)) << "Praeteritum er: " << praet;
    const std::string part = v.PartizipA(2);
    EXPECT_TRUE(OneOf(part, row.partizip2)) << "Partizip II: " << part;
    EXPECT_EQ(AuxName(v.habenSein()), std::string(AuxName(row.aux)));
  }
}

struct AuxRow {
  const char* verb;
  habseityp aux;
};

// clang-format off
const AuxRow kAux[] = {
    // haben: transitive verbs, activities, states.
    {"arbeiten", haben}, {"machen", haben}, {"sagen", haben}, {"spielen", haben},
    {"lernen", haben}, {"kaufen", haben}, {"wohnen", haben}, {"leben", haben},
    {"lieben", haben}, {"fragen", haben}, {"antworten", haben}, {"brauchen", haben},
    {"glauben", haben}, {"hören", haben}, {"kochen", haben}, {"lachen", haben},
    {"weinen", haben}, {"zeigen", haben}, {"stellen", haben}, {"legen", haben},
    {"setzen", haben}, {"suchen", haben}, {"warten", haben}, {"zahlen", haben},
    {"besuchen", haben}, {"erzählen", haben}, {"studieren", haben}, {"telefonieren", haben},
    {"heiraten", haben}, {"frühstücken", haben}, {"öffnen", haben}, {"schenken", haben},
    {"danken", haben}, {"holen", haben}, {"bauen", haben}, {"malen", haben},
    {"tanzen", haben}, {"träumen", haben}, {"regnen", haben}, {"putzen", haben},
    {"bezahlen", haben}, {"verkaufen", haben}, {"erklären", haben}, {"gehören", haben},
    {"gehorchen", haben}, {"übernachten", haben}, {"unterrichten", haben}, {"vorbereiten", haben},
    {"einkaufen", haben}, {"aufhören", haben}, {"anrufen", haben}, {"verlassen", haben},
    {"schlafen", haben}, {"stehen", haben}, {"sitzen", haben}, {"liegen", haben},
    {"überfallen", haben}, {"besteigen", haben}, {"verbrechen", haben}, {"erziehen", haben},
    // sein: change of place or state.
    {"gehen", sein}, {"kommen", sein}, {"laufen", sein}, {"fallen", sein},
    {"sterben", sein}, {"werden", sein}, {"bleiben", sein}, {"sein", sein},
    {"reisen", sein}, {"wandern", sein}, {"steigen", sein}, {"sinken", sein},
    {"springen", sein}, {"fliehen", sein}, {"fließen", sein}, {"kriechen", sein},
    {"wachsen", sein}, {"geschehen", sein}, {"gelingen", sein}, {"begegnen", sein},
    {"erscheinen", sein}, {"aufwachen", sein}, {"einschlafen", sein}, {"aufstehen", sein},
    {"entstehen", sein}, {"verschwinden", sein}, {"ankommen", sein}, {"zurückkehren", sein},
    {"platzen", sein}, {"scheitern", sein}, {"erwachen", sein}, {"explodieren", sein},
    {"rennen", sein}, {"klettern", sein}, {"stolpern", sein}, {"rutschen", sein},
    {"ertrinken", sein}, {"verhungern", sein}, {"verunglücken", sein}, {"genesen", sein},
    {"gedeihen", sein}, {"geraten", sein}, {"misslingen", sein}, {"erkranken", sein},
    {"entkommen", sein}, {"verfallen", sein}, {"umfallen", sein}, {"ausgehen", sein},
    {"weggehen", sein}, {"spazierengehen", sein}, {"auferstehen", sein}, {"widerfahren", sein},
    {"unterliegen", sein}, {"erfrieren", sein}, {"zerfallen", sein},
    // both are standard.
    {"fahren", habensein}, {"fliegen", habensein}, {"reiten", habensein},
    {"schwimmen", habensein}, {"ziehen", habensein}, {"brechen", habensein},
    {"reißen", habensein}, {"stoßen", habensein}, {"treten", habensein},
    {"frieren", habensein}, {"segeln", habensein}, {"rudern", habensein},
    {"tauchen", habensein}, {"schmelzen", habensein}, {"passieren", habensein},
};
// clang-format on

TEST_F(ShippedListsTest, AuxiliaryOfCommonVerbs) {
  for (const auto& row : kAux) {
    SCOPED_TRACE(row.verb);
    TVerbGen& v = Verb();
    EXPECT_TRUE(v.newVerbA(Latin1(row.verb), unsp)) << "undecided analysis";
    EXPECT_EQ(AuxName(v.habenSein()), std::string(AuxName(row.aux)));
  }
}

struct FormRow {
  const char* verb;
  TFormen form;
  const char* expected;  // main clause ("M"): main form, then the alternative after '/'
};

// Forms German writes today where older rules built others, and the einander verbs: the
// reciprocal particles make a verb plural-only, auseinander ("apart") and durcheinander ("in
// disorder") do not.
// clang-format off
const FormRow kCurrentForms[] = {
    {"erlöschen", ImperativS, "erlisch"},
    {"verlöschen", ImperativS, "verlisch"},
    {"tun", KonjPraes1P, "tun"},
    {"tun", KonjPraes3P, "tun"},
    {"tun", KonjPraes2S, "tuest"},
    {"antun", KonjPraes3P, "tun an"},
    {"knien", KonjPraes1S, "knie"},
    {"knien", KonjPraes3S, "knie"},
    {"knien", KonjPraes1P, "knien"},
    {"knien", ImperativS, "knie"},
    {"niederknien", KonjPraes1S, "knie nieder"},
    {"halten", IndikPraet2S, "hieltest/hieltst"},
    {"raten", IndikPraet2S, "rietest/rietst"},
    {"schneiden", IndikPraet2S, "schnittest/schnittst"},
    {"leiden", IndikPraet2S, "littest/littst"},
    {"finden", IndikPraet2S, "fandest/fandst"},
    {"auseinandersetzen", IndikPraes1S, "setze auseinander"},
    {"sich auseinandersetzen", IndikPraes1S, "setze mich auseinander"},
    {"auseinandergehen", IndikPraes3S, "geht auseinander"},
    {"durcheinanderbringen", IndikPraes2S, "bringst durcheinander"},
    {"durcheinanderbringen", ImperativS, "bringe durcheinander/bring durcheinander"},
    {"etwas nebeneinanderstellen", IndikPraes1S, "stelle etwas nebeneinander"},
    {"Steine aufeinanderlegen", IndikPraet3S, "legte Steine aufeinander"},
    {"aufeinandertreffen", IndikPraes1S, "-"},
    {"aufeinandertreffen", IndikPraes1P, "treffen aufeinander"},
    {"aneinandergrenzen", IndikPraes3S, "-"},
    {"aneinandergrenzen", IndikPraes3P, "grenzen aneinander"},
};
// clang-format on

TEST_F(ShippedListsTest, FormsOfCurrentGerman) {
  for (const auto& row : kCurrentForms) {
    SCOPED_TRACE(std::string(row.verb) + " form " + std::to_string(row.form));
    TVerbGen& v = Verb();
    EXPECT_TRUE(v.newVerbA(Latin1(row.verb), unsp)) << "undecided analysis";
    EXPECT_EQ(v.getFormA(row.form, u"M"), Latin1(row.expected));
  }
}

}  // namespace
