// SPDX-License-Identifier: MIT
// Vowels, syllables, stress marks and the fixed prefix word lists of the verb analysis.
//
// Free functions on Windows-1252 text shared by the prefix analysis and the form builders.
// Positions and counts are 1-based like the rest of the engine; no function reads outside
// its string, whatever the arguments.
//
//   CountSyllables("koalier", 255)   -> 3
//   StressSyllable("\374ber'setz") -> 3   (mark before the third syllable)
//   IsDoubleUsePrefix("ter")         -> true (a final part of "hinter"/"unter")
//
// StressSyllable, OnsetAllowed and GapFromTable consult the shared verb lists
// (_ZTVerbLists.h); the caller holds the read lock as every analysis does.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace syllables_detail {
// 256 entries, true for a, e, i, o, u, y, ä, é, ö, ü and the accented e of loans, è and ê
// ("crèmen", "fêtieren"), lower case only.
constexpr std::array<bool, 256> MakeVowelTable() {
  std::array<bool, 256> t{};
  for (unsigned char c : {'a', 'e', 'i', 'o', 'u', 'y'}) t[c] = true;
  t[0xE4] = t[0xE8] = t[0xE9] = t[0xEA] = t[0xF6] = t[0xFC] = true;
  return t;
}
inline constexpr std::array<bool, 256> kVowel = MakeVowelTable();
}  // namespace syllables_detail

constexpr bool IsVowel(unsigned char c) {
  return syllables_detail::kVowel[c];
}
// Apostrophe or backquote: the two stress marks the analysis accepts.
constexpr bool IsStressMark(unsigned char c) {
  return c == '\'' || c == '`';
}

// Number of vowel groups in the first min(n, size) characters (ie, aa, ai, au, ee, ei, eu,
// oi, oo, äu are one; y before a vowel and u after q are consonants). n <= 0 gives 0.
int CountSyllables(std::string_view s, int n);
// min(CountSyllables(s, n), atMost), reading only as far as needed: the count never falls
// back once a letter is done, so it can stop at atMost.
int CountSyllablesUpTo(std::string_view s, int n, int atMost);
// s without apostrophes and backquotes, except a mark in the last position.
std::string RemoveStressMarks(std::string_view s);
// Number of the stressed syllable from the first mark, else from the stress table; 0 unknown.
int StressSyllable(std::string_view s);
// p followed by a comma occurs in "durch,hinter,über,unter,um,voll,wider,".
bool IsDoubleUsePrefix(std::string_view p);
// The consonants after the first k characters of s may begin a base verb (onset table).
bool OnsetAllowed(std::string_view s, int k);
// Length(s) minus the number of the first gap table entry naming s; 0 when none does.
int GapFromTable(std::string_view s);

// The fixed word lists of the prefix analysis, in the order they are tried. Umlauts are octal
// escapes of their Windows-1252 bytes (\374 is the u umlaut, \337 the sharp s).
namespace prefix_words {
inline constexpr std::array<std::string_view, 7> kInseparable = {"be",  "ent", "emp", "ge",
                                                                 "ver", "zer", "er"};
// After one of these an inseparable verb takes "haben".
inline constexpr std::array<std::string_view, 4> kHabenHint = {"be", "ent", "emp", "er"};
inline constexpr std::string_view kDoubleUse = "durch,hinter,\374ber,unter,um,voll,wider,";
inline constexpr std::array<std::string_view, 7> kDoubleUseWords = {
    "durch", "hinter", "\374ber", "unter", "um", "voll", "wider"};
inline constexpr std::array<std::string_view, 2> kNeverSplit = {"wiedervereinig", "wiedervergelt"};
// Never split unless the input begins with an apostrophe.
inline constexpr std::string_view kWiederhol = "wiederhol";
inline constexpr std::string_view kMissOld = "mi\337";  // no ge-, every orthography
inline constexpr std::string_view kMissNew = "miss";    // no ge-, except the old orthography
inline constexpr std::array<std::string_view, 2> kGeInFront = {"ur", "un"};
inline constexpr std::array<std::string_view, 3> kVerStems = {"ver", "unterver", "\374berver"};
// "apart" and "in disorder": these take a singular subject (ich setze mich auseinander).
inline constexpr std::array<std::string_view, 2> kNonReciprocalEinander = {"auseinander",
                                                                           "durcheinander"};
}  // namespace prefix_words

// The "einander" that ends text[0, end) makes a verb reciprocal (aufeinandertreffen), unless
// it belongs to auseinander or durcheinander.
inline bool IsReciprocalEinander(std::string_view text, std::size_t end) {
  const std::string_view head = text.substr(0, std::min(end, text.size()));
  if (!head.ends_with("einander")) return false;
  for (std::string_view w : prefix_words::kNonReciprocalEinander)
    if (head.ends_with(w)) return false;
  return true;
}

// s begins with one of the words of list; the first such word, empty when none.
template <std::size_t N>
constexpr std::string_view LeadingWord(const std::array<std::string_view, N>& list,
                                       std::string_view s) {
  for (std::string_view w : list)
    if (s.substr(0, w.size()) == w) return w;
  return {};
}
