// SPDX-License-Identifier: MIT
// A verb lists file of arbitrary bytes: read as the loader reads a file, parsed, put in place
// of the shared tables, then used by the lookups and by the analysis and forms of a few verbs.
// A damaged file may lose entries, but must never take the program down.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"
#include "tests/fuzz/FuzzVerb.h"

namespace {

// Verbs that reach every section: irregular and compound stems, prefixes, stress, the
// Fügestelle, impersonal and auxiliary entries, form limits and old spellings.
constexpr const char* kVerbs[] = {
    "gehen",        "anfangen",     "'umfahren",          "wiederaufbauen", "3 regnen",
    "sein",         "stillegen",    "schleifen",          "sich waschen",   "handhaben",
    "kennenlernen", "telefonieren", "wasserstrahlbiegen", "verschallen",    "aufeinandertreffen"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TVerbGen& v = FuzzVerb();
  std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
  TAnsiStringList lines;
  lines.LoadFromStream(file);
  TVerbListsTables tables;
  TVerbListsReport report;
  ParseVerbLists(lines, tables, &report);
  {
    TWriteLock lock(VerbListsLock);
    VerbLists.Free();
    VerbLists = std::move(tables);
  }
  for (const char* word : {"arbeit", "ab", "geh", "regn", "wasserstrahlbieg", "", "a"}) {
    TVerbListsReadLock lock;
    IsInNotPrefixed(word);
    StressDigit(word);
    SplitFromTable(word);
    GapNumberFromTable(word);
    IsInOnsetTable(word);
    IsEsVerb(word);
    HabenSeinFromTable(word);
    RespellPosition(word);
    FormLimitLine(word);
  }
  for (const char* phrase : kVerbs) {
    v.newVerbA(phrase, unsp);
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      v.getFormA(static_cast<TFormen>(f), u"MP");
      v.getFormA(static_cast<TFormen>(f), u"MPN");
    }
  }
  return 0;
}
