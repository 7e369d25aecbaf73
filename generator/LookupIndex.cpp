// SPDX-License-Identifier: MIT
#include "generator/LookupIndex.h"

#include <array>
#include <filesystem>
#include <mutex>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/Lookup.h"

namespace {

// The forms that carry a verb's own stem: whatever else it has follows from the endings.
constexpr std::array<TFormen, 11> kIndexed = {
    IndikPraes1S, IndikPraes2S, IndikPraes3S, IndikPraes1P, IndikPraes2P, IndikPraet1S,
    IndikPraet2S, KonjPraet1S,  PartizipII,   ImperativS,   KonjPraes1S};

std::mutex indexMutex;
std::shared_ptr<const TLookupIndex> current;

}  // namespace

std::vector<std::string> SplitBuiltForm(std::string_view built) {
  std::vector<std::string> out;
  for (std::size_t p = 0; p <= built.size();) {
    std::size_t q = built.find_first_of("/,", p);
    if (q == std::string_view::npos) q = built.size();
    std::string one(built.substr(p, q - p));
    while (!one.empty() && (one.back() == ' ' || one.back() == '!')) one.pop_back();
    while (!one.empty() && one.front() == ' ') one.erase(0, 1);
    if (!one.empty() && one != "-") out.push_back(one);
    p = q + 1;
  }
  // A separated particle written once stands for every form of the cell ("rittest an/rittst",
  // "hängte,hing ab"), but not for one that begins with it ("staubsaug,sauge Staub").
  // Only a particle after its verb ("zog an"), not a noun before it ("Staub sauge").
  std::string tail;
  for (const std::string& one : out)
    if (const std::size_t blank = one.find(' '); blank != std::string::npos) {
      if (!IsUpperLatin1(static_cast<unsigned char>(one[0]))) tail = one.substr(blank);
      break;
    }
  if (tail.empty() || tail.find(' ', 1) != std::string::npos) return out;
  std::string word = tail.substr(1);
  LowerStrLatin1(word);
  for (std::string& one : out) {
    std::string low = one;
    LowerStrLatin1(low);
    if (one.find(' ') == std::string::npos && !low.starts_with(word)) one += tail;
  }
  return out;
}

void TLookupIndex::AddForm(const std::string& built, std::uint32_t base) {
  for (const std::string& one : SplitBuiltForm(built)) {
    std::string key;
    for (char c : one)
      if (c != '\'' && c != ' ') key += c;
    LowerStrLatin1(key);
    if (key.size() >= 2) {
      std::vector<std::uint32_t>& v = forms_[key];
      if (v.empty() || v.back() != base) v.push_back(base);
    }
  }
}

void TLookupIndex::Build() {
  TVerbGen verb;
  verb.SetOnErrMsg([](const std::u16string&) {});
  std::vector<std::string> stems;
  {
    TVerbListsReadLock lock;
    // The lists in use on this thread: a server's pinned snapshot, else the shared tables.
    const TVerbListsTables& lists = CurrentVerbLists();
    generation_ = lists.generation;
    for (const unRegRec& e : lists.unRegList)
      if (!e.dochRegel && !e.uStamm.empty()) stems.push_back(e.uStamm);
  }
  for (std::string stem : stems) {
    // A stem only found in compounds is conjugated behind an inseparable prefix, which its
    // forms then lose again: the prefix of the form looked up takes its place.
    std::string front;
    if (stem[0] == '?') {
      stem.erase(0, 1);
      front = "ver";
    }
    // "sei", "tu": the infinitive takes -n alone (no strong verb ends in -eln, -ern).
    const std::string inf = stem + (stem == "sei" || stem == "tu" ? "n" : "en");
    verb.newVerbA(front + inf, unsp);
    if (verb.unRegel == nullptr) continue;
    const auto base = static_cast<std::uint32_t>(bases_.size());
    bases_.push_back(inf);
    compoundOnly_.push_back(front.empty() ? 0 : 1);
    for (TFormen f : kIndexed) {
      std::string form = verb.getFormA(f, u"M");
      if (!front.empty()) {
        std::string cut;
        for (std::size_t p = 0; p <= form.size();) {
          std::size_t end = form.find_first_of("/,", p);
          if (end == std::string::npos) end = form.size();
          std::string one = form.substr(p, end - p);
          if (one.starts_with(front)) one.erase(0, front.size());
          cut += (cut.empty() ? "" : "/") + one;
          p = end + 1;
        }
        form = cut;
      }
      AddForm(form, base);
    }
  }
}

std::size_t TLookupIndex::Bytes() const {
  std::size_t n = sizeof(*this);
  for (const std::string& b : bases_) n += sizeof(b) + b.capacity();
  n += compoundOnly_.capacity();
  for (const auto& [key, v] : forms_)
    n += sizeof(key) + key.capacity() + sizeof(v) + v.capacity() * sizeof(std::uint32_t) +
         2 * sizeof(void*);
  n += forms_.bucket_count() * sizeof(void*);
  return n;
}

std::shared_ptr<const TLookupIndex> LookupIndexInstance() {
  std::lock_guard<std::mutex> lock(indexMutex);
  if (!current || current->Generation() != VerbListsGeneration()) {
    auto index = std::make_shared<TLookupIndex>();
    index->Build();
    current = index;
  }
  return current;
}

TLookupIndexSize LookupIndexSize() {
  const std::shared_ptr<const TLookupIndex> index = LookupIndexInstance();
  return {index->Keys(), index->Bytes()};
}

void RebuildLookupIndex() {
  auto index = std::make_shared<TLookupIndex>();
  index->Build();
  std::lock_guard<std::mutex> lock(indexMutex);
  current = index;
}
