// SPDX-License-Identifier: MIT
// Any simple form by its TFormen value, with the option letters "M" (alternative after "/"),
// "P" (personal pronoun) and "N" (subordinate-clause order); the personal pronouns, the
// reflexive particle by form, the blocked forms of impersonal verbs, the auxiliary hint and
// the auxiliary object TVerbHabenSein.
#include <array>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"

namespace {

// Stored three characters wide; "du " and "er " keep their blank, so "P" gives two blanks.
constexpr std::array<std::string_view, 6> kPersPron = {"ich", "du ", "er ", "wir", "ihr", "sie"};

constexpr int PersonOf(TFormen f) {
  return static_cast<int>(f) % 6 + 1;
}
constexpr bool IsFinite(TFormen f) {
  return f >= IndikPraes1S && f <= KonjPraet3P;
}
constexpr bool Contains(std::u16string_view options, char16_t letter) {
  return options.find(letter) != std::u16string_view::npos;
}

}  // namespace

std::string TVerbGen::getFormA(TFormen desiredForm, std::u16string_view options) {
  const bool n = Contains(options, u'N');
  const int person = PersonOf(desiredForm);
  std::string result;
  if (desiredForm < InfinitivI || desiredForm > KonjPraet3P) {
    Form2.clear();
    return "-";
  } else if (desiredForm <= InfinitivII) {
    result = InfinitivA(desiredForm == InfinitivI ? 1 : 2);
  } else if (desiredForm <= PartizipII) {
    result = PartizipA(desiredForm == PartizipI ? 1 : 2);
  } else if (desiredForm <= ImperativP) {
    result = ImperativA(desiredForm == ImperativS ? 1 : 2);
  } else if (desiredForm <= IndikPraes3P) {
    result = PraesensA(person, n);
  } else if (desiredForm <= IndikPraet3P) {
    result = PraeteritumA(person, n);
  } else if (desiredForm <= KonjPraes3P) {
    result = KonjunktivGA(person, n);
  } else {
    result = KonjunktivVA(person, n);
  }
  TrimTrailingBlanks(result);
  if (IsFinite(desiredForm) && Contains(options, u'P') && result != "-")
    result = getPersPron(person) + " " + result;
  if (Contains(options, u'M') && !Form2.empty()) {
    // The alternative of a phrase ends with the phrase's blank ("fahr mit dem Taxi "); trimmed
    // like the main form, so a "!" after it stays on the word.
    std::string alternative = Form2;
    TrimTrailingBlanks(alternative);
    result.append("/").append(alternative);
  }
  return result;
}

std::u16string TVerbGen::getForm(TFormen desiredForm, std::u16string_view options) {
  return Latin1ToUni(getFormA(desiredForm, options));
}

std::string TVerbGen::getPersPron(int nr) const {
  if (nr < 1 || nr > 6) return {};
  if (nr == 3 && ESverb) return "es";
  if (nr == 3 && infin == "geb\xE4ren") return "sie";
  return std::string(kPersPron[static_cast<std::size_t>(nr - 1)]);
}

std::string TVerbGen::getPersPronFA(TFormen fm) const {
  if (!IsFinite(fm)) return {};
  return getPersPron(PersonOf(fm));
}

std::u16string TVerbGen::getPersPronF(TFormen fm) const {
  return Latin1ToUni(getPersPronFA(fm));
}

std::string TVerbGen::refPartikelA(TFormen DesiredForm) const {
  // Every value maps to a person, the non-finite ones included (PartizipII -> person 4).
  std::string r = refPartikel(PersonOf(DesiredForm));
  if (!r.empty()) r += ' ';
  return r;
}

std::u16string TVerbGen::refPartikel(TFormen DesiredForm) const {
  return Latin1ToUni(refPartikelA(DesiredForm));
}

bool TVerbGen::EsVerbBlocked(TFormen form) const {
  if (!ESverb || form < InfinitivI || form > KonjPraet3P) return false;
  if (form < ImperativS) return false;
  if (form <= ImperativP) return true;
  return PersonOf(form) != 3;
}

bool TVerbGen::hasMeaningDifferences() {
  auto check = [this] { return unRegel != nullptr && (unRegel->flags & kFlagMeaningDiffers) != 0; };
  // The request frame: reload check first, then the read lock (file mode only).
  if (!VerbListsNeedLock()) return check();
  RefreshIfListsChanged();
  TReadLock lock(VerbListsLock);
  return check();
}

std::u16string TVerbGen::HabenSeinHint() {
  habseityp hs = habenSein();
  if (hs != unspe && hs != habensein) return {};
  return std::u16string(u" (<a href=\"") + std::u16string(site::HelpPageUrl()) +
         u"#habensein\">haben oder sein?</a>)";
}

TVerbHabenSein::TVerbHabenSein() {
  FHaben.newVerbA("haben", unsp);
  FSein.newVerbA("sein", unsp);
}

std::string TVerbHabenSein::getFormA(TFormen desiredForm, std::u16string_view options) {
  switch (FHabSei) {
    case haben:
      return FHaben.getFormA(desiredForm, options);
    case sein:
      return FSein.getFormA(desiredForm, options);
    case habensein:
      return FSein.getFormA(desiredForm, options) + "/" + FHaben.getFormA(desiredForm, options);
    case unspe:
      break;
  }
  return FSein.getFormA(desiredForm, options) + "?/" + FHaben.getFormA(desiredForm, options) + "?";
}

namespace {

// getFormA(f, u"") and getFormA(f, u"M") of one verb: "M" only appends the alternative that
// the build leaves in Form2.
void PlainAndWithAlternative(TVerbGen& verb, TFormen desiredForm, std::string& plain,
                             std::string& withAlternative) {
  plain = verb.getFormA(desiredForm, u"");
  withAlternative = plain;
  if (verb.Form2.empty()) return;
  std::string alternative = verb.Form2;
  TrimTrailingBlanks(alternative);
  withAlternative.append("/").append(alternative);
}

}  // namespace

void TVerbHabenSein::MainFormsA(TFormen desiredForm, std::string& plain,
                                std::string& withAlternative) {
  std::string seinPlain, seinAlt, habenPlain, habenAlt;
  switch (FHabSei) {
    case haben:
      PlainAndWithAlternative(FHaben, desiredForm, plain, withAlternative);
      return;
    case sein:
      PlainAndWithAlternative(FSein, desiredForm, plain, withAlternative);
      return;
    case habensein:
    case unspe:
      break;
  }
  PlainAndWithAlternative(FSein, desiredForm, seinPlain, seinAlt);
  PlainAndWithAlternative(FHaben, desiredForm, habenPlain, habenAlt);
  const char* const mark = FHabSei == habensein ? "" : "?";
  plain = seinPlain + mark + "/" + habenPlain + mark;
  withAlternative = seinAlt + mark + "/" + habenAlt + mark;
}

std::u16string TVerbHabenSein::getForm(TFormen desiredForm, std::u16string_view options) {
  return Latin1ToUni(getFormA(desiredForm, options));
}
