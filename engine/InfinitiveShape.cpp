// SPDX-License-Identifier: MIT
// Whether the verb word looks like a German infinitive: its ending, and whether it is rather the
// Partizip II of a strong verb of the lists. The forms are built either way; the finding lets
// callers warn instead of showing a table of nonsense without a word.
#include <array>
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"

namespace {

// German infinitives end in -en, -eln, -ern (and the dialect -erln), or in -n straight after the
// stem: tun, sein, and the spoken gehn, schaun, freun. Not in -on, -an, -in (version, getan).
bool HasInfinitiveEnding(std::string_view w) {
  if (w.size() < 2 || w.back() != 'n') return false;
  const auto before = static_cast<unsigned char>(w[w.size() - 2]);
  switch (before) {
    case 'e':  // -en
    case 'u':  // tun, schaun, freun
      return true;
    case 'i':  // sein
      return w.size() >= 3 && w[w.size() - 3] == 'e';
    case 'h':  // gehn, sehn
      return w.size() >= 3 && IsVowel(static_cast<unsigned char>(w[w.size() - 3]));
    case 'l':
    case 'r':  // -eln, -ern, -erln
      return w.size() >= 3 && (w[w.size() - 3] == 'e' || (before == 'l' && w[w.size() - 3] == 'r'));
    default:
      return false;
  }
}

constexpr std::size_t kMaxFronts = 8;

bool IsSharpS(unsigned char c) {
  return c == 's' || c == 0xDF;
}

// A cheap first test before the participle of an entry is built: its last and first letters. It
// ends with the letters of the entry's ending token, or with the stem's last letter and "en"; it
// begins with the stem's inseparable prefix (befohlen, geboren), or with "ge" and the stem's
// first letter. A token that cuts letters may change that letter (sei: gewesen), a vowel in
// front too (ess: gegessen).
bool MayBeParticipleOf(std::string_view base, std::string_view token, std::string_view tail) {
  if (!token.empty() && token[0] != '-' && token[0] != ':') return true;  // a whole form
  const bool cuts = token.size() > 1 && IsDigit(static_cast<unsigned char>(token[1]));
  const std::string_view letters =
      token.empty() ? std::string_view("en") : token.substr(cuts ? 2 : 1);
  if (!tail.ends_with(letters)) return false;
  if (!cuts && letters == "en" && tail.size() >= 3) {
    const auto last = static_cast<unsigned char>(base.back());
    const auto before = static_cast<unsigned char>(tail[tail.size() - 3]);
    if (last != before && !(IsSharpS(last) && IsSharpS(before))) return false;
  }
  if (tail.starts_with(base.substr(0, 2)) && !LeadingWord(prefix_words::kInseparable, base).empty())
    return true;  // befohlen, gefallen: the inseparable stem itself (the builder decides)
  if (!tail.starts_with("ge")) return false;
  const auto first = static_cast<unsigned char>(base.front());
  return cuts || IsVowel(first) ||
         (tail.size() >= 3 && static_cast<unsigned char>(tail[2]) == first);
}

// The fields the stem vowel and the participle builder read and write, kept while a participle
// of another stem is built on the verb object during its analysis.
class TSavedStem {
 public:
  explicit TSavedStem(TVerbGen& v)
      : v_(v),
        stamm_(v.stamm),
        stammvokal_(v.stammvokal),
        form2_(v.Form2),
        vpos_(v.vpos),
        gePos_(v.GEpos),
        basisLen_(v.BasisLen),
        lang_(v.stammvokalLang),
        eln_(v._eln),
        ern_(v._ern),
        igen_(v._igen),
        lichen_(v._lichen),
        guided_(v.ohneUnterschiedMeldung),
        entry_(v.unRegel),
        class_(v.schwst),
        aux_(v.FHabsei) {}
  TSavedStem(const TSavedStem&) = delete;
  TSavedStem& operator=(const TSavedStem&) = delete;
  ~TSavedStem() {
    v_.stamm = std::move(stamm_);
    v_.stammvokal = std::move(stammvokal_);
    v_.Form2 = std::move(form2_);
    v_.vpos = vpos_;
    v_.GEpos = gePos_;
    v_.BasisLen = basisLen_;
    v_.stammvokalLang = lang_;
    v_._eln = eln_;
    v_._ern = ern_;
    v_._igen = igen_;
    v_._lichen = lichen_;
    v_.ohneUnterschiedMeldung = guided_;
    v_.unRegel = entry_;
    v_.schwst = class_;
    v_.FHabsei = aux_;
  }

 private:
  TVerbGen& v_;
  std::string stamm_, stammvokal_, form2_;
  std::int32_t vpos_, gePos_, basisLen_;
  bool lang_, eln_, ern_, igen_, lichen_, guided_;
  unRegPtr entry_;
  TSchwSt class_;
  habseityp aux_;
};

}  // namespace

// The Partizip II the entry gives its own stem equals tail. The participle is built by the
// builder itself on the entry's stem, with the fields it reads swapped in and out again.
bool TVerbGen::IsParticipleOfEntry(unRegRec& e, std::string_view tail) {
  std::string_view base = e.uStamm;
  if (base.starts_with('?')) base.remove_prefix(1);
  if (base.empty() || tail.size() < base.size()) return false;
  const TSavedStem saved(*this);
  stamm.assign(base);
  _eln = _ern = _igen = _lichen = false;
  BasisLen = Len(stamm);
  schwst = unsp;
  unRegel = &e;
  FindStemVowel();
  CompleteEntrySlots();
  // An inseparable stem (befehl, gebär) has no ge-; every other one takes it in front.
  GEpos = HasInseparablePrefix(stamm) ? 0 : 1;
  const std::string participle = BuildParticipleII(false);
  // A participle that is also the infinitive of the entry (vergessen, geschehen) is no sign.
  if (participle == std::string(base) + "en") return false;
  return participle == tail;
}

TInfinitivBefund TVerbGen::ShapeOfVerb(std::string_view word, std::size_t ownFront) {
  if (!HasInfinitiveEnding(word)) return IB_Endung;
  if (word.size() < 5 || !word.ends_with("en")) return IB_Infinitiv;
  // Where a participle may begin: at the start and after each chain of separable particles
  // (abgefahren, zurückgekommen).
  std::array<std::size_t, kMaxFronts> fronts{0};
  std::size_t count = 1;
  for (std::size_t i = 0; i < count && count < kMaxFronts; ++i) {
    TEntryHits hits;
    const std::string_view rest = word.substr(fronts[i]);
    PrefixEntriesBeginning(rest, rest, hits);
    for (const TEntryHit& hit : hits) {
      if (hit.text.front() == '\'' || hit.text.size() >= rest.size() || count == kMaxFronts)
        continue;
      fronts[count++] = fronts[i] + hit.text.size();
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t front = fronts[i];
    // The verb's own entry covers this place: the word is that verb (gefallen, hineingeraten).
    if (ownFront != std::string_view::npos && ownFront <= front) continue;
    const std::string_view tail = word.substr(front);
    // A participle begins with ge- or an inseparable prefix.
    if (!tail.starts_with("ge") && LeadingWord(prefix_words::kInseparable, tail).empty()) continue;
    for (unRegRec& e : CurrentVerbLists().unRegList) {
      if (e.dochRegel) continue;
      std::string_view base = e.uStamm;
      if (base.starts_with('?')) {
        base.remove_prefix(1);
        if (front == 0) continue;  // a compound only
      }
      if (base.empty()) continue;
      if (!MayBeParticipleOf(base, e.endung[2], tail)) continue;
      if (IsParticipleOfEntry(e, tail)) return IB_Partizip;
    }
  }
  return IB_Infinitiv;
}
