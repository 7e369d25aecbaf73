// SPDX-License-Identifier: MIT
#include "engine/Syllables.h"

#include <algorithm>
#include <limits>

#include "engine/_ZTVerbLists.h"

namespace {
constexpr unsigned char kSmallAUmlaut = 0xE4;

// The second letter that joins vowel v into one syllable (ie, aa, ai, au, ...).
constexpr bool JoinsVowel(unsigned char v, unsigned char next) {
  switch (v) {
    case 'i':
      return next == 'e';
    case 'a':
      return next == 'a' || next == 'i' || next == 'u';
    case 'e':
      return next == 'e' || next == 'i' || next == 'u';
    case 'o':
      return next == 'i' || next == 'o';
    case kSmallAUmlaut:
      return next == 'u';
    default:
      return false;
  }
}
}  // namespace

int CountSyllablesUpTo(std::string_view s, int n, int atMost) {
  const std::size_t len = s.size();
  const std::size_t limit = n <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), len);
  int count = 0;
  for (std::size_t i = 0; i < limit && count < atMost; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (!IsVowel(c)) continue;
    ++count;
    // The look at the next letter may pass n; it stays inside s.
    const auto next = i + 1 < len ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (JoinsVowel(c, next))
      ++i;
    else if (c == 'y' && IsVowel(next))
      --count;  // y before a vowel is a consonant (as in "yacht")
    else if (c == 'u' && i > 0 && s[i - 1] == 'q')
      --count;
  }
  return count;
}

int CountSyllables(std::string_view s, int n) {
  return CountSyllablesUpTo(s, n, std::numeric_limits<int>::max());
}

std::string RemoveStressMarks(std::string_view s) {
  // Mostly there is no mark at all: one search, one copy.
  const auto mark = std::find_if(
      s.begin(), s.end(), [](char c) { return IsStressMark(static_cast<unsigned char>(c)); });
  if (mark == s.end() || mark + 1 == s.end()) return std::string(s);
  std::string r;
  r.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i)
    if (i + 1 == s.size() || !IsStressMark(static_cast<unsigned char>(s[i]))) r += s[i];
  return r;
}

int StressSyllable(std::string_view s) {
  std::size_t p = s.find('\'');
  if (p == std::string_view::npos) p = s.find('`');
  if (p != std::string_view::npos) return CountSyllables(s, static_cast<int>(p)) + 1;
  return StressDigit(s);
}

bool IsDoubleUsePrefix(std::string_view p) {
  // An empty word is no prefix, although the comma alone occurs in the list.
  if (p.empty()) return false;
  const std::string_view text = prefix_words::kDoubleUse;
  for (std::size_t at = text.find(p); at != std::string_view::npos; at = text.find(p, at + 1))
    if (at + p.size() < text.size() && text[at + p.size()] == ',') return true;
  return false;
}

bool OnsetAllowed(std::string_view s, int k) {
  const std::size_t start = k <= 0 ? 0 : static_cast<std::size_t>(k);
  if (start >= s.size()) return true;
  // The last letter never joins the onset: the scan stops before it.
  std::size_t i = start;
  while (i + 1 < s.size() && !IsVowel(static_cast<unsigned char>(s[i]))) ++i;
  const std::string_view onset = s.substr(start, i - start);
  return onset.empty() || IsInOnsetTable(onset);
}

int GapFromTable(std::string_view s) {
  const int number = GapNumberFromTable(s);
  // A number not shorter than the stem names no place inside it.
  const int len = static_cast<int>(s.size());
  return number > 0 && number < len ? len - number : 0;
}
