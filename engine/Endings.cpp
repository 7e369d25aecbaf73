// SPDX-License-Identifier: MIT
#include "engine/Endings.h"

#include <algorithm>

#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/Syllables.h"
#include "engine/VerbTables.h"

namespace {

// s, x, z or ß: a following "st" loses its s (du reist, boxt, sitzt, heißt).
bool EndsInSibilant(std::string_view s) {
  unsigned char c = LastChar(s);
  return c == 's' || c == 'x' || c == 'z' || c == static_cast<unsigned char>(kSz);
}

}  // namespace

bool NeedsLinkingE(std::string_view stem) {
  unsigned char last = LastChar(stem);
  if (last == 'd' || last == 't') return true;
  if (stem.size() < 2 || (last != 'm' && last != 'n')) return false;
  if (stem.ends_with("sign")) return false;  // design-t: the English g is silent
  unsigned char p = static_cast<unsigned char>(stem[stem.size() - 2]);
  if (p == 'l' || p == 'r' || p == last || IsVowel(p)) return false;
  if (p == 'h') {
    // lehn-t, but a consonant before the h (rare) behaves like any other consonant.
    return stem.size() < 3 || !IsVowel(static_cast<unsigned char>(stem[stem.size() - 3]));
  }
  return true;
}

TEnding PresentEnding(int person, std::string_view stem, bool noLinkingE, bool elnErn) {
  TEnding e(TableEnding(EndingRow::Praesens, person));
  switch (person) {
    case 2:
    case 3:
      if (NeedsLinkingE(stem) && !noLinkingE) e.PushFront('e');
      if (person == 2 && EndsInSibilant(stem)) e.EraseFront();
      break;
    case 4:
    case 6:
      if (elnErn) e.EraseFront();
      break;
    case 5:
      if (NeedsLinkingE(stem)) e = TEnding("et");
      break;
    default:
      break;
  }
  return e;
}

TEnding PastEnding(int person, std::string_view stem, bool strong) {
  if (!strong) {
    TEnding e(TableEnding(EndingRow::PraetWeak, person));
    if (NeedsLinkingE(stem)) e.PushFront('e');
    return e;
  }
  TEnding e(TableEnding(EndingRow::PraetStrong, person));
  if (person == 2 && EndsInSibilant(stem)) e = TEnding("est");
  if (person == 5 && NeedsLinkingE(stem)) e = TEnding("et");
  if (LastChar(stem) == 'e' && !e.empty() && e.front() == 'e') e.EraseFront();
  return e;
}

TEnding SubjIEnding(int person) {
  return TableEnding(EndingRow::KonjI, person);
}

TEnding SubjIIEnding(int person, std::string_view stem, bool strong) {
  if (strong) return TableEnding(EndingRow::KonjIIStrong, person);
  TEnding e(TableEnding(EndingRow::KonjIIWeak, person));
  if (NeedsLinkingE(stem)) e.PushFront('e');
  return e;
}

void ApplyEndingToken(std::string& form, std::string_view token) {
  if (token.empty()) return;
  if (token[0] != '-' && token[0] != ':') {
    form.assign(token);
    return;
  }
  std::size_t cut = 0;
  std::size_t from = 1;
  if (token.size() > 1 && IsTokenCutDigit(static_cast<unsigned char>(token[1]))) {
    cut = static_cast<std::size_t>(token[1] - '0');
    from = 2;
  }
  // A cut longer than the form leaves nothing of it.
  form.resize(form.size() - std::min(cut, form.size()));
  form.append(token.substr(std::min(from, token.size())));
}

bool IsModalStem(std::string_view stem) {
  return verb_tables::FindByEnd(verb_tables::kModalStems, stem) != nullptr;
}

std::string JoinPrefixReduced(std::string_view prefix, std::string_view form) {
  std::string out(prefix);
  std::size_t n = prefix.size();
  if (n > 2 && prefix[n - 1] == prefix[n - 2] && form.size() >= 2 && form[0] == prefix[n - 1] &&
      IsVowel(static_cast<unsigned char>(form[1])) !=
          IsVowel(static_cast<unsigned char>(form[0]))) {
    out.pop_back();
  }
  out.append(form);
  return out;
}

namespace {

// One step of the cluster normalisation at j: maps c[j] to its code letter, dropping the
// letters the code absorbs. Returns 0 when no code is written (the h).
char ClusterCode(std::string& c, std::size_t j) {
  auto next = [&c](std::size_t k) { return k < c.size() ? c[k] : '\0'; };
  switch (static_cast<unsigned char>(c[j])) {
    case 'b':
      return 'p';
    case 'c':
      if (next(j + 1) == 'h') {
        c.erase(j + 1, 1);
        return 'x';
      }
      // ck and cks both leave k (cks -> ks).
      if (next(j + 1) == 'k') c.erase(j + 1, 1);
      return 'k';
    case 'd':
      return 't';
    case 'g':
      return 'k';
    case 'h':
      c.erase(j, 1);
      return 0;
    case 'n':
      if (next(j + 1) == 'g') {
        c.erase(j + 1, 1);
        return 'q';
      }
      return next(j + 1) == 'k' ? 'q' : 'n';
    case 'p':
      if (next(j + 1) == 'h') {
        c.erase(j + 1, 1);
        return 'f';
      }
      return 'p';
    case 's':
      if (next(j + 1) == 'c' && next(j + 2) == 'h') {
        c.erase(j + 1, 2);
        return 'S';
      }
      return 's';
    case 'v':
      return 'f';
    case 'x':
    case 'z':
      c.insert(j + 1, 1, 's');
      if (c.size() > 8) c.resize(8);
      return c[j] == 'x' ? 'k' : 't';
    case static_cast<unsigned char>(kSz):
      return 's';
    default:
      return c[j];
  }
}

}  // namespace

bool ShortImperativeBlocked(std::string_view stem) {
  std::size_t v = stem.size();
  while (v > 0 && !IsVowel(static_cast<unsigned char>(stem[v - 1]))) --v;
  if (v == 0) return false;
  std::string c(stem.substr(v, 8));  // at most 8 letters: stays in the small-string buffer
  for (std::size_t j = 0; j < c.size(); ++j) {
    if (j + 1 < c.size() && c[j] == c[j + 1]) c.erase(j + 1, 1);
    char code = ClusterCode(c, j);
    if (code == 0 || j >= c.size()) continue;
    if (j > 0 && code == c[j - 1])
      c.erase(j, 1);
    else
      c[j] = code;
  }
  if (c.size() < 2) return false;
  return std::find(kFinalClusters.begin(), kFinalClusters.end(), c) == kFinalClusters.end();
}
