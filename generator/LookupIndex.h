// SPDX-License-Identifier: MIT
// The index of the listed verbs' own forms that no regular ending leads back to: for each
// strong, mixed or irregular verb of the lists its present singular, past, subjunctive II,
// participle and imperative, each form pointing to the infinitive. Built once the lists are
// loaded (and again when they change); a lookup asks it for every ending of a word.
//
//   LookupIndexInstance()->Candidates("gingst", [](const std::string& inf, bool) {});  // gehen
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The forms one cell of the engine holds ("hängte,hing ab/hinge ab"): split at '/' and ',',
// the separated particle of the last of a ','-group given to the others as well.
std::vector<std::string> SplitBuiltForm(std::string_view built);

class TLookupIndex {
 public:
  void Build();
  // Calls found(infinitive, compoundOnly) for each listed verb one of whose indexed forms is
  // tail, or tail
  // without a person ending.
  template <class Found>
  void Candidates(std::string_view tail, Found&& found) const {
    static constexpr std::string_view kEndings[] = {"", "e", "st", "est", "t", "et", "en", "n"};
    for (std::string_view e : kEndings) {
      if (!tail.ends_with(e)) continue;
      const std::string_view key = tail.substr(0, tail.size() - e.size());
      if (key.size() < 2) continue;
      const auto it = forms_.find(std::string(key));
      if (it == forms_.end()) continue;
      for (std::uint32_t b : it->second) found(bases_[b], compoundOnly_[b] != 0);
    }
  }
  std::size_t Keys() const { return forms_.size(); }
  // The generation of the verb lists it was built from.
  std::uint64_t Generation() const { return generation_; }
  std::size_t Bytes() const;

 private:
  void AddForm(const std::string& form, std::uint32_t base);
  std::uint64_t generation_ = 0;
  std::vector<std::string> bases_;
  std::vector<char> compoundOnly_;  // the entry's stem is found only in compounds
  std::unordered_map<std::string, std::vector<std::uint32_t>> forms_;
};

// The index for the lists loaded now, built on first use.
std::shared_ptr<const TLookupIndex> LookupIndexInstance();
