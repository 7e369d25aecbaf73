// SPDX-License-Identifier: MIT
// The two readings of a verb whose doubly usable prefix leaves the analysis open: the stress
// on the prefix (separable, "er setzt über") or on the stem (inseparable, "er übersetzt").
// Each reading is tried with its stress mark; only when both come out decided and different is
// the prefix the one open question, and the page offers them.
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

namespace {

// The prefixes that are separable when stressed and inseparable when not.
constexpr std::u16string_view kDoublyUsable[] = {u"durch", u"hinter", u"über", u"unter",
                                                 u"um",    u"voll",   u"wider"};

// The 3rd person singular Präsens of the main clause, without stress marks: the short form
// that tells the two readings apart.
bool Gloss(TVerbGen& v, const std::u16string& phrase, TOrthoTyp ortho, std::u16string& gloss) {
  v.SetOnErrMsg([&v](const std::u16string& m) { v.StoreErrMsg(m); });
  v.ErrMsg.clear();
  v.SetOrthoTyp(ortho);
  if (!v.newVerb(phrase, unsp) || !v.ErrMsg.empty()) return false;
  gloss.clear();
  // The engine's forms may hold runs of blanks; a browser would show one.
  for (char16_t c : v.getForm(IndikPraes3S, u"MP"))
    if (c != u'\'' && !(c == u' ' && !gloss.empty() && gloss.back() == u' ')) gloss += c;
  TrimBlanksW(gloss);
  return !gloss.empty() && gloss != u"-";
}

}  // namespace

std::vector<TConjReading> PrefixReadings(const std::u16string& phrase, TOrthoTyp ortho) {
  TVerbGen v;
  return PrefixReadings(phrase, ortho, v);
}

std::vector<TConjReading> PrefixReadings(const std::u16string& phrase, TOrthoTyp ortho,
                                         TVerbGen& v) {
  // A phrase that already carries a marker has been settled by its writer.
  if (phrase.find_first_of(u"'/_`") != std::u16string::npos) return {};
  const std::size_t blank = phrase.rfind(u' ');
  const std::size_t start = blank == std::u16string::npos ? 0 : blank + 1;
  const std::u16string_view verb = std::u16string_view(phrase).substr(start);
  for (std::u16string_view prefix : kDoublyUsable) {
    // The prefix and at least a syllable behind it ("um" alone is no verb).
    if (verb.size() < prefix.size() + 3 || verb.substr(0, prefix.size()) != prefix) continue;
    std::u16string separable = phrase, inseparable = phrase;
    separable.insert(start, 1, u'\'');
    inseparable.insert(start + prefix.size(), 1, u'\'');
    TConjReading a{separable, {}}, b{inseparable, {}};
    if (!Gloss(v, a.phrase, ortho, a.gloss) || !Gloss(v, b.phrase, ortho, b.gloss) ||
        a.gloss == b.gloss)
      return {};
    return {a, b};
  }
  return {};
}
