// SPDX-License-Identifier: MIT
// The lookup indexes of the verb lists. Every analysis asks the tables a dozen times; walking
// a table of a few hundred words each time cost more than the forms themselves.
#include <algorithm>

#include "engine/EngineText.h"
#include "engine/_ZTVerbLists.h"

namespace {

std::int32_t EntryNumber(std::size_t n) {
  return static_cast<std::int32_t>(n);
}

}  // namespace

// --- TWordIndex --------------------------------------------------------------------------------

std::uint32_t TWordIndex::Hash(std::string_view word) const {
  std::uint32_t h = StartHash();
  if (backwards_)
    for (auto c = word.rbegin(); c != word.rend(); ++c) h = NextHash(h, *c);
  else
    for (char c : word) h = NextHash(h, c);
  return h;
}

std::size_t TWordIndex::SlotOf(std::string_view word, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = slots_[i];
    if (slot.value < 0 || (slot.length == word.size() &&
                           std::string_view(words_).substr(slot.offset, slot.length) == word))
      return i;
  }
}

void TWordIndex::Grow() {
  std::vector<TSlot> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, TSlot{});
  for (const TSlot& slot : old) {
    if (slot.value < 0) continue;
    const std::string_view word = std::string_view(words_).substr(slot.offset, slot.length);
    slots_[SlotOf(word, Hash(word))] = slot;
  }
}

void TWordIndex::Add(std::string_view word, std::int32_t value) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  TSlot& slot = slots_[SlotOf(word, Hash(word))];
  if (slot.value >= 0) return;
  slot.offset = static_cast<std::uint32_t>(words_.size());
  slot.length = static_cast<std::uint32_t>(word.size());
  slot.value = value;
  words_.append(word);
  ++used_;
  longest_ = std::max(longest_, word.size());
}

std::int32_t TWordIndex::Find(std::string_view word) const {
  return Find(word, Hash(word));
}

std::int32_t TWordIndex::Find(std::string_view word, std::uint32_t hash) const {
  if (used_ == 0 || word.size() > longest_) return -1;
  return slots_[SlotOf(word, hash)].value;
}

void TWordIndex::Clear() {
  *this = TWordIndex(backwards_);
}

// --- TEntryHits --------------------------------------------------------------------------------

void TEntryHits::Add(std::int32_t entry, std::string_view text) {
  if (count_ == inline_.size() && more_.empty()) more_.assign(inline_.begin(), inline_.end());
  if (more_.empty())
    inline_[count_] = {entry, text};
  else
    more_.push_back({entry, text});
  ++count_;
}

void TEntryHits::Sort() {
  TEntryHit* first = Data();
  TEntryHit* last = first + count_;
  std::sort(first, last, [](const TEntryHit& a, const TEntryHit& b) { return a.entry < b.entry; });
  last = std::unique(first, last,
                     [](const TEntryHit& a, const TEntryHit& b) { return a.entry == b.entry; });
  count_ = static_cast<std::size_t>(last - first);
  if (!more_.empty()) more_.resize(count_);
}

// --- Building ----------------------------------------------------------------------------------

void TVerbListsIndex::Build(const TVerbListsTables& t) {
  Clear();
  auto words = [](TWordIndex& index, std::string_view table) {
    std::size_t n = 0;
    for (const TPackedEntry& e : TPackedTable(table, false)) index.Add(e.text, EntryNumber(n++));
  };
  words(notPrefixed, t.notPrefixedTable);
  words(onset, t.onsetTable);
  words(esVerb, t.esVerbTable);
  words(prefixes, t.prefixTable);
  // Entries whose digit is no digit count as not listed: their value would be meaningless.
  for (const TPackedEntry& e : TPackedTable(t.stressTable, true))
    stress.Add(e.text, IsDigit(e.digit) ? e.digit - '0' : 0);
  for (const TPackedEntry& e : TPackedTable(t.splitTable, false)) {
    const auto last = static_cast<unsigned char>(e.text.back());
    split.Add(e.text.substr(0, e.text.size() - 1), IsDigit(last) ? last - '0' : 0);
  }
  // One or two digits after the stem; an entry without a final digit names nothing.
  for (const TPackedEntry& e : TPackedTable(t.gapTable, false)) {
    const std::string_view w = e.text;
    if (!IsDigit(static_cast<unsigned char>(w.back()))) continue;
    const bool twoDigits = w.size() >= 2 && IsDigit(static_cast<unsigned char>(w[w.size() - 2]));
    const int number = twoDigits ? (w[w.size() - 2] - '0') * 10 + (w.back() - '0') : w.back() - '0';
    gap.Add(w.substr(0, w.size() - (twoDigits ? 2 : 1)), number);
  }
  for (const TPackedEntry& e : TPackedTable(t.habenSeinTable, true)) {
    habenSein.Add(e.text, EntryNumber(habenSeinValue.size()));
    habenSeinValue.push_back(
        static_cast<std::int8_t>(e.digit >= '1' && e.digit <= '3' ? e.digit - '0' : 0));
  }
  nextSameStem.assign(t.unRegList.size(), -1);
  for (std::size_t i = 0; i < t.unRegList.size(); ++i) {
    std::string_view stem = t.unRegList[i].uStamm;
    if (stem.starts_with('?')) stem.remove_prefix(1);
    std::int32_t e = stems.Find(stem);
    if (e < 0) {
      stems.Add(stem, EntryNumber(i));
      continue;
    }
    while (nextSameStem[static_cast<std::size_t>(e)] >= 0)
      e = nextSameStem[static_cast<std::size_t>(e)];
    nextSameStem[static_cast<std::size_t>(e)] = EntryNumber(i);
  }
  // A line names the stem before its first blank; the first such line wins, as in a walk.
  if (t.formLimitList) {
    for (int i = 0; i < t.formLimitList->Count(); ++i) {
      const std::string_view line = t.formLimitList->Get(i);
      if (const std::size_t blank = line.find(' '); blank != std::string_view::npos && blank > 0)
        formLimits.Add(line.substr(0, blank), i);
    }
  }
}

void TVerbListsIndex::Clear() {
  *this = TVerbListsIndex();
}

// --- Lookups -----------------------------------------------------------------------------------

bool IsInPrefixTable(std::string_view word) {
  return CurrentVerbLists().index.prefixes.Find(word) >= 0;
}

std::string_view FirstPrefixEntryBeginning(std::string_view s) {
  const TWordIndex& index = CurrentVerbLists().index.prefixes;
  const std::size_t longest = std::min(s.size(), index.LongestWord());
  std::int32_t best = -1;
  std::size_t bestLength = 0;
  std::uint32_t h = TWordIndex::StartHash();
  for (std::size_t n = 1; n <= longest; ++n) {
    h = TWordIndex::NextHash(h, s[n - 1]);
    const std::int32_t e = index.Find(s.substr(0, n), h);
    if (e >= 0 && (best < 0 || e < best)) {
      best = e;
      bestLength = n;
    }
  }
  return s.substr(0, bestLength);
}

void PrefixEntriesBeginning(std::string_view s, std::string_view plain, TEntryHits& hits) {
  const TWordIndex& index = CurrentVerbLists().index.prefixes;
  // An entry written with a leading apostrophe must begin s itself, every other one plain.
  auto add = [&](std::string_view text, bool apostrophe) {
    if (text.empty() || (text.front() == '\'') != apostrophe) return;
    const std::size_t longest = std::min(text.size(), index.LongestWord());
    std::uint32_t h = TWordIndex::StartHash();
    for (std::size_t n = 1; n <= longest; ++n) {
      h = TWordIndex::NextHash(h, text[n - 1]);
      if (const std::int32_t e = index.Find(text.substr(0, n), h); e >= 0)
        hits.Add(e, text.substr(0, n));
    }
  };
  add(s, true);
  add(plain, false);
  hits.Sort();
}

void StemEntriesEnding(std::string_view plain, TEntryHits& hits) {
  const TVerbListsIndex& index = CurrentVerbLists().index;
  const std::size_t longest = std::min(plain.size(), index.stems.LongestWord());
  std::uint32_t h = TWordIndex::StartHash();
  for (std::size_t n = 0; n <= longest; ++n) {
    const std::string_view tail = plain.substr(plain.size() - n);
    if (n > 0) h = TWordIndex::NextHash(h, tail.front());
    for (std::int32_t e = index.stems.Find(tail, h); e >= 0;
         e = index.nextSameStem[static_cast<std::size_t>(e)])
      hits.Add(e, tail);
  }
  hits.Sort();
}
