// SPDX-License-Identifier: MIT
// The round trip of the lookup: for every verb of a reference list (first column of a
// tab-separated file with a header line) every simple form Beugwerk builds for it, main and
// subordinate clause, alternatives included, is looked up, and the verb must be among the
// hits. Prints the share found, the mean number of verbs per form, the mean time of one lookup
// and the first misses.
//
//   lookup-roundtrip [--sample N] [--min-share P] [--misses N] [--verb-lists PATH] verbs-dev.tsv
//
// --sample N takes every k-th verb so that about N are tried. Exit 0 when at least P per cent
// of the forms (default 100) found their verb and the mean stays at most 1.3 verbs a form, 1
// otherwise, 77 when the file is missing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/Lookup.h"
#include "generator/LookupIndex.h"

namespace {

std::string Plain(std::string_view s) {
  std::string r;
  for (char c : s)
    if (c != '\'' && c != '/' && c != '!') r += c;
  while (!r.empty() && r.back() == ' ') r.pop_back();
  LowerStrLatin1(r);
  return r;
}

void AddAlternatives(const std::string& built, std::set<std::string>& forms) {
  for (const std::string& one : SplitBuiltForm(built)) forms.insert(one);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t sample = 0;
  double minShare = 100;
  std::size_t shown = 40;  // misses printed
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--sample" && i + 1 < argc) {
      sample = std::stoul(argv[++i]);
    } else if (a == "--misses" && i + 1 < argc) {
      shown = std::stoul(argv[++i]);
    } else if (a == "--min-share" && i + 1 < argc) {
      minShare = std::stod(argv[++i]);
    } else if (a == "--verb-lists" && i + 1 < argc) {
      VerbListsPath = argv[++i];
    } else {
      path = a;
    }
  }
  std::ifstream in(path);
  if (!in) {
    std::cerr << "lookup-roundtrip: cannot read " << path << "\n";
    return 77;
  }
  std::vector<std::string> verbs;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    const std::string inf = line.substr(0, line.find('\t'));
    if (!inf.empty()) verbs.push_back(Utf8ToLatin1(inf));
  }
  if (sample > 0 && verbs.size() > sample) {
    std::vector<std::string> picked;
    const std::size_t step = verbs.size() / sample;
    for (std::size_t i = 0; i < verbs.size(); i += step) picked.push_back(verbs[i]);
    verbs.swap(picked);
  }
  TVerbGen verb;
  verb.SetOnErrMsg([](const std::u16string&) {});
  long forms = 0, found = 0, hits = 0;
  double seconds = 0;
  std::vector<std::string> misses;
  std::vector<std::pair<std::size_t, std::string>> crowded;  // forms with the most hits
  for (const std::string& inf : verbs) {
    verb.newVerbA(inf, unsp);
    std::set<std::string> built;
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      const TFormen form = static_cast<TFormen>(f);
      if (verb.EsVerbBlocked(form)) continue;
      AddAlternatives(verb.getFormA(form, u"M"), built);
      if (form >= IndikPraes1S) AddAlternatives(verb.getFormA(form, u"MN"), built);
    }
    for (const std::string& form : built) {
      const auto start = std::chrono::steady_clock::now();
      const TLookupResult r = LookupForm(Latin1ToUni(form), verb.OrthoTyp());
      seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      ++forms;
      hits += static_cast<long>(r.hits.size());
      if (r.hits.size() > 2) {
        std::string names;
        for (const TLookupHit& h : r.hits) names += " " + UniToUtf8(h.infinitive);
        crowded.emplace_back(r.hits.size(), Latin1ToUtf8(form) + ":" + names);
      }
      bool ok = false;
      for (const TLookupHit& h : r.hits) ok = ok || Plain(UniToLatin1(h.infinitive)) == Plain(inf);
      if (ok)
        ++found;
      else if (misses.size() < shown)
        misses.push_back(Latin1ToUtf8(inf) + ": " + Latin1ToUtf8(form));
    }
  }
  const double share = forms ? 100.0 * static_cast<double>(found) / static_cast<double>(forms) : 0;
  const double mean = forms ? static_cast<double>(hits) / static_cast<double>(forms) : 0;
  std::printf("verbs %zu, forms %ld, found %ld (%.2f %%), verbs per form %.3f, %.1f us a lookup\n",
              verbs.size(), forms, found, share, mean,
              forms ? 1e6 * seconds / static_cast<double>(forms) : 0.0);
  for (const std::string& m : misses) std::printf("  missed %s\n", m.c_str());
  std::sort(crowded.rbegin(), crowded.rend());
  for (std::size_t i = 0; i < crowded.size() && i < 15; ++i)
    std::printf("  crowded %s\n", crowded[i].second.c_str());
  return share >= minShare && mean <= 1.3 ? 0 : 1;
}
