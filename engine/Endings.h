// SPDX-License-Identifier: MIT
// Endings of the simple forms and the letter tests the form builders share.
//
// Pure functions on Windows-1252 stems: the person endings of the six tense rows, the
// notation of ending tokens, the modal stems and the short-imperative check. The results are
// bare ending letters without a leading "-"; they fit the small-string buffer.
//
//   NeedsLinkingE("arbeit")             -> true
//   PresentEnding(2, "reis", false, false) -> "t"      (du reist)
//   ApplyEndingToken(f = "nihm", "-2mm")   -> f == "nimm"
//   ShortImperativeBlocked("atm")       -> true     (only "atme")
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/Syllables.h"

// The vowels a length mark may follow: the vowel letters without the accented e (è, é, ê).
constexpr bool IsLengthVowel(unsigned char c) {
  return IsVowel(c) && c != 0xE8 && c != 0xE9 && c != 0xEA;
}
// Cut digits of an ending token: AppendEnding takes 1..9, ApplyEndingToken 0..9.
constexpr bool IsAppendCutDigit(unsigned char c) {
  return c >= '1' && c <= '9';
}
constexpr bool IsTokenCutDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

// The rows of the ending table; each row holds the endings of persons 1 to 6.
enum class EndingRow { Praesens, PraetWeak, PraetStrong, KonjI, KonjIIWeak, KonjIIStrong };
inline constexpr std::array<std::array<std::string_view, 6>, 6> kEndingTable = {{
    {"e", "st", "t", "en", "t", "en"},          // Präsens
    {"te", "test", "te", "ten", "tet", "ten"},  // Präteritum weak
    {"", "st", "", "en", "t", "en"},            // Präteritum strong
    {"e", "est", "e", "en", "et", "en"},        // Konjunktiv I
    {"te", "test", "te", "ten", "tet", "ten"},  // Konjunktiv II weak
    {"e", "est", "e", "en", "et", "en"},        // Konjunktiv II strong
}};
// The ending of a row for person 1..6; empty outside that range.
constexpr std::string_view TableEnding(EndingRow row, int person) {
  if (person < 1 || person > 6) return {};
  return kEndingTable[static_cast<int>(row)][person - 1];
}

// Reflexive pronouns of persons 1 to 6.
inline constexpr std::array<std::string_view, 6> kReflDative = {"mir", "dir",  "sich",
                                                                "uns", "euch", "sich"};
inline constexpr std::array<std::string_view, 6> kReflAccusative = {"mich", "dich", "sich",
                                                                    "uns",  "euch", "sich"};

// Consonant clusters that may end an imperative without final e, in their normalised codes
// (S = sch, q = the n of ng/nk, x = ch). Case-sensitive; clusters of one letter are never
// looked up.
inline constexpr std::array<std::string_view, 80> kFinalClusters = {
    "S",   "q",    "k",   "f",    "mp",  "lp",   "rp",    "nt",   "lt",   "sk",  "qk",  "lk",
    "rk",  "pf",   "mpf", "mf",   "nf",  "lf",   "rf",    "ps",   "lps",  "mps", "rps", "ts",
    "pts", "qkts", "fts", "rkts", "sts", "nsts", "rtsts", "xts",  "rsts", "mts", "nts", "lts",
    "rts", "ks",   "qks", "lks",  "rks", "fs",   "pfs",   "mpfs", "rfs",  "Ss",  "pSs", "tSs",
    "mSs", "nSs",  "rSs", "xs",   "nxs", "lxs",  "rxs",   "ms",   "lms",  "rms", "ns",  "lns",
    "rns", "qs",   "ls",  "rls",  "rs",  "pS",   "ntS",   "rtS",  "kS",   "mS",  "nS",  "lS",
    "rS",  "nx",   "lx",  "rx",   "lm",  "rm",   "ln",    "rl"};
static_assert(!kFinalClusters.back().empty(), "all 80 clusters are listed");

// A person ending, held by value: every finite form asks for one or two, and a std::string
// would copy its letters on every return and move.
class TEnding {
 public:
  static constexpr std::size_t kRoom = 7;  // the longest ending is five letters ("etest")
  constexpr TEnding() = default;
  constexpr TEnding(std::string_view s) : size_(s.size() < kRoom ? s.size() : kRoom) {
    for (std::size_t i = 0; i < size_; ++i) text_[i] = s[i];
  }
  constexpr operator std::string_view() const { return {text_.data(), size_}; }
  constexpr bool empty() const { return size_ == 0; }
  constexpr char front() const { return text_[0]; }
  constexpr bool ends_with(char c) const { return size_ > 0 && text_[size_ - 1] == c; }
  constexpr void pop_back() { --size_; }
  constexpr void PushFront(char c) {
    if (size_ == kRoom) return;
    for (std::size_t i = size_; i > 0; --i) text_[i] = text_[i - 1];
    text_[0] = c;
    ++size_;
  }
  constexpr void EraseFront() {
    if (size_ == 0) return;
    for (std::size_t i = 1; i < size_; ++i) text_[i - 1] = text_[i];
    --size_;
  }

 private:
  std::array<char, kRoom> text_{};
  std::size_t size_ = 0;
};

// The stem takes an "e" before the endings t and st (arbeit-et, atm-est; not lern-t).
bool NeedsLinkingE(std::string_view stem);
// Person endings (person 1..6) of the Präsens, Präteritum, Konjunktiv I and II rows.
TEnding PresentEnding(int person, std::string_view stem, bool noLinkingE, bool elnErn);
TEnding PastEnding(int person, std::string_view stem, bool strong);
TEnding SubjIEnding(int person);
TEnding SubjIIEnding(int person, std::string_view stem, bool strong);
// Applies an ending token: "" nothing; "-en"/":en" append; "-2mm" cut 2 then append;
// anything else replaces the form.
void ApplyEndingToken(std::string& form, std::string_view token);
// The stem ends with dürf, könn, mög, müss, soll, wiss or woll.
bool IsModalStem(std::string_view stem);
// Joins a prefix to a form, dropping one of three equal letters before a vowel change
// (still + lege -> stillege).
std::string JoinPrefixReduced(std::string_view prefix, std::string_view form);
// The imperative without final e would end in a cluster that cannot be spoken (atm, rechn).
bool ShortImperativeBlocked(std::string_view stem);
