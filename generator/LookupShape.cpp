// SPDX-License-Identifier: MIT
#include "generator/LookupShape.h"

#include "engine/_ZTVerbLists.h"

namespace lookupshape {

using std::string_view;

bool IsVowelChar(char c) {
  return string_view("aeiouy\xE4\xF6\xFC").find(c) != string_view::npos;
}

bool EndsInSchwaSyllable(string_view s) {
  if (s.size() < 3 || s[s.size() - 2] != 'e' || (s.back() != 'l' && s.back() != 'r')) return false;
  const char before = s[s.size() - 3], b2 = s.size() >= 4 ? s[s.size() - 4] : ' ';
  if (IsVowelChar(before) && !(before == 'i' && (b2 == 'e' || b2 == 'a')) &&
      !(before == 'u' && (b2 == 'a' || b2 == 'e' || b2 == '\xE4')))
    return false;
  // The stressed e of schwer, scher behind a prefix: "erschweren", "einscheren".
  for (string_view stressed : {string_view("schwer"), string_view("scher")})
    if (s.ends_with(stressed) && KnownPrefix(s.substr(0, s.size() - stressed.size()))) return false;
  const string_view body = s.substr(0, s.size() - 2);
  for (char c : body)
    if (IsVowelChar(c)) return true;
  return false;
}

bool PastLikeTStem(string_view stem) {
  if (stem.size() < 3 || stem.back() != 't') return false;
  const char a = stem[stem.size() - 2], b = stem[stem.size() - 3];
  if (a == b && a != 't' && !IsVowelChar(a)) return true;  // ll, nn, mm, pp, rr, ss, ff
  if (stem.ends_with("iert")) return true;
  // -elt, -ert after a further syllable: "googelt", "wandert"; not "gelt", "wert" and a
  // prefix before them ("abwert", "bewert").
  if ((stem.ends_with("elt") || stem.ends_with("ert")) &&
      EndsInSchwaSyllable(stem.substr(0, stem.size() - 1))) {
    // The consonants before -ert, -elt: the prefix may end anywhere in them ("ab|w").
    std::size_t front = stem.size() - 3;
    while (front > 0 && !IsVowelChar(stem[front - 1])) --front;
    bool prefixed = false;
    for (std::size_t cut = front; cut <= stem.size() - 3 && !prefixed; ++cut)
      prefixed = KnownPrefix(stem.substr(0, cut));
    if (!prefixed) return true;
  }
  // "punkten", "behaupten" have their k, p after n, au.
  if (stem.ends_with("nkt") || stem.ends_with("aupt")) return false;
  if (string_view("bgkpzw\xDF").find(a) != string_view::npos) return true;
  return a == 'h' && b == 'c' && stem.size() >= 4 && stem[stem.size() - 4] == 's';  // -scht
}

bool KnownPrefix(string_view p) {
  if (p.empty()) return true;
  for (string_view i : kInseparable)
    if (p == i) return true;
  for (string_view d : kDoubly)
    if (p == d) return true;
  TVerbListsReadLock lock;
  if (IsInPrefixTable(p)) return true;
  // Two prefixes in a row: "wiederauf", "vorbe".
  for (std::size_t i = 2; i + 2 <= p.size(); ++i) {
    const string_view a = p.substr(0, i), b = p.substr(i);
    if (b == "zu" || b == "ge") continue;  // the zu-infinitive's and the participle's place
    bool first = IsInPrefixTable(a), second = IsInPrefixTable(b);
    for (string_view x : kInseparable) {
      first = first || a == x;
      second = second || b == x;
    }
    if (first && second) return true;
  }
  return false;
}

bool ElisionPoint(string_view s) {
  if (s.size() < 3 || (s.back() != 'l' && s.back() != 'r')) return false;
  const char c = s[s.size() - 2];
  if (c == 'u') return s.back() == 'r' && (s[s.size() - 3] == 'a' || s[s.size() - 3] == 'e');
  if (c == 'h' && s[s.size() - 3] != 'c') return false;
  return c != s.back() && string_view("aeiouy\xE4\xF6\xFC").find(c) == string_view::npos;
}

}  // namespace lookupshape
