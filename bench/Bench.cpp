// SPDX-License-Identifier: MIT
// Benchmarks of the steps a full-form list and a result page take: the analysis of a verb, the
// simple forms of an analysed verb, one .txf record, one result page, one lookup of a form and
// loading the verb lists. They run on the lists compiled into the program (as the command line does
// when no file is named), the records also on the frozen large list of the tests.
//
//   build-bench/bench/beugwerk_bench --benchmark_filter=TxfRecord
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/FullForms.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/Lookup.h"
#include "generator/LookupIndex.h"
#include "generator/VerbGenerator.h"

namespace {

// Verbs of every kind: weak, strong, separable, inseparable, reflexive, impersonal, phrase,
// -eln/-ern, a doubly usable prefix with its stress mark.
constexpr std::array<const char*, 10> kVerbs = {"lesen",
                                                "arbeiten",
                                                "sich anziehen",
                                                "'\xFC"
                                                "bersetzen",
                                                "mit dem Taxi fahren",
                                                "sammeln",
                                                "3 regnen",
                                                "verstehen",
                                                "wandern",
                                                "sich3 etwas merken"};

// One verb object over the embedded lists, alive from its first use to the load benchmark:
// the lists stay loaded meanwhile.
std::unique_ptr<TVerbGen>& VerbSlot() {
  static std::unique_ptr<TVerbGen> verb;
  return verb;
}
TVerbGen& Verb() {
  std::unique_ptr<TVerbGen>& verb = VerbSlot();
  if (!verb) {
    VerbListsPath.clear();
    verb = std::make_unique<TVerbGen>();
    TVerbGen* v = verb.get();
    v->SetOnErrMsg([v](const std::u16string& m) { v->StoreErrMsg(m); });
  }
  return *verb;
}

void BM_Analysis(benchmark::State& state) {
  TVerbGen& verb = Verb();
  const std::string input = kVerbs[static_cast<std::size_t>(state.range(0))];
  for (auto _ : state) benchmark::DoNotOptimize(verb.newVerbA(input, unsp));
  state.SetLabel(Latin1ToUtf8(input));
}
BENCHMARK(BM_Analysis)->DenseRange(0, kVerbs.size() - 1);

// The 30 simple forms of an analysed verb, each with its alternative.
void BM_SimpleForms(benchmark::State& state) {
  TVerbGen& verb = Verb();
  const std::string input = kVerbs[static_cast<std::size_t>(state.range(0))];
  verb.newVerbA(input, unsp);
  for (auto _ : state) {
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      benchmark::DoNotOptimize(verb.getFormA(static_cast<TFormen>(f), u""));
      benchmark::DoNotOptimize(verb.Form2.data());
    }
  }
  state.SetLabel(Latin1ToUtf8(input));
}
BENCHMARK(BM_SimpleForms)->DenseRange(0, kVerbs.size() - 1);

// One .txf record, the analysis included.
void BM_TxfRecord(benchmark::State& state) {
  TVerbGen& verb = Verb();
  const std::string input = kVerbs[static_cast<std::size_t>(state.range(0))];
  for (auto _ : state) benchmark::DoNotOptimize(FullFormRecord(verb, input));
  state.SetLabel(Latin1ToUtf8(input));
}
BENCHMARK(BM_TxfRecord)->DenseRange(0, kVerbs.size() - 1);

std::vector<std::string> LargeList() {
  std::ifstream in(std::filesystem::path(BEUGWERK_FIXTURES) / "fullforms" / "large.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    line = Utf8ToLatin1(line);
    if (CleanListLine(line)) lines.push_back(line);
  }
  return lines;
}

// Records of the 14,001 lines of the tests' large list in turn: the time is per verb.
void BM_TxfRecordLargeList(benchmark::State& state) {
  TVerbGen& verb = Verb();
  static const std::vector<std::string> lines = LargeList();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FullFormRecord(verb, lines[i]));
    if (++i == lines.size()) i = 0;
  }
}
BENCHMARK(BM_TxfRecordLargeList);

// A result page as the window asks for it: a fresh generator each time (the lists stay loaded).
void BM_ResultPage(benchmark::State& state) {
  Verb();
  const std::u16string phrase = Latin1ToUni(kVerbs[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state) benchmark::DoNotOptimize(GetVerbPageHtml(phrase, false, NeuOrtho));
  state.SetLabel(Latin1ToUtf8(kVerbs[static_cast<std::size_t>(state.range(0))]));
}
BENCHMARK(BM_ResultPage)->Arg(0)->Arg(2)->Arg(4);

// The page of all forms (the table, then the further subjunctive tenses, the wir/Sie
// imperatives, the perfect infinitives and the passive), likewise from a fresh generator.
void BM_FullPage(benchmark::State& state) {
  Verb();
  const std::u16string phrase = Latin1ToUni(kVerbs[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state)
    benchmark::DoNotOptimize(GetVerbPageHtml(phrase, false, NeuOrtho, TPageForms::allForms));
  state.SetLabel(Latin1ToUtf8(kVerbs[static_cast<std::size_t>(state.range(0))]));
}
BENCHMARK(BM_FullPage)->Arg(0)->Arg(2)->Arg(4);

// The JSON of one phrase with every block, as `--json` and the API make it.
void BM_FullJson(benchmark::State& state) {
  Verb();
  const std::u16string phrase = Latin1ToUni(kVerbs[static_cast<std::size_t>(state.range(0))]);
  for (auto _ : state)
    benchmark::DoNotOptimize(ConjugationJson(ConjugatePhrase(phrase, NeuOrtho, TConjScope::data)));
  state.SetLabel(Latin1ToUtf8(kVerbs[static_cast<std::size_t>(state.range(0))]));
}
BENCHMARK(BM_FullJson)->Arg(0)->Arg(2)->Arg(4);

// One lookup of a form, over the forms the engine builds for some 300 verbs of the reference
// list (every 21st; the benchmark's own verbs when the list is absent), in list order as a
// corpus of one text gives them: the thread's cache of conjugations is warm for the forms of
// one verb and cold for the next verb's.
std::vector<std::u16string> RoundTripForms() {
  std::vector<std::string> verbs;
  std::ifstream in(std::filesystem::path(BEUGWERK_SOURCE_DIR) / ".." / "shared" / "reference" /
                   "verbs-dev.tsv");
  std::string line;
  for (int n = 0; std::getline(in, line); ++n)
    if (n > 0 && n % 21 == 1) verbs.push_back(Utf8ToLatin1(line.substr(0, line.find('\t'))));
  if (verbs.empty()) verbs.assign(kVerbs.begin(), kVerbs.end());
  TVerbGen& verb = Verb();
  std::vector<std::u16string> forms;
  for (const std::string& v : verbs) {
    verb.newVerbA(v, unsp);
    for (int f = InfinitivI; f <= KonjPraet3P; ++f)
      for (const char16_t* options : {u"M", u"MN"}) {
        if (f < IndikPraes1S && options[1]) continue;
        for (const std::string& one :
             SplitBuiltForm(verb.getFormA(static_cast<TFormen>(f), options)))
          if (forms.empty() || forms.back() != Latin1ToUni(one)) forms.push_back(Latin1ToUni(one));
      }
  }
  return forms;
}

void BM_Lookup(benchmark::State& state) {
  static const std::vector<std::u16string> forms = RoundTripForms();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(LookupForm(forms[i], NeuOrtho));
    i = (i + 1) % forms.size();
  }
  state.SetLabel(std::to_string(forms.size()) + " forms");
}
BENCHMARK(BM_Lookup)->Unit(benchmark::kMicrosecond);

// Building the index of the listed verbs' strong forms, as the first lookup does.
void BM_LookupIndexBuild(benchmark::State& state) {
  Verb();
  for (auto _ : state) RebuildLookupIndex();
  const TLookupIndexSize size = LookupIndexSize();
  state.SetLabel(std::to_string(size.keys) + " forms, " + std::to_string(size.bytes / 1024) +
                 " KiB");
}
BENCHMARK(BM_LookupIndexBuild)->Unit(benchmark::kMillisecond);

// The start of a program: the verb lists loaded (no other user holds them) and the first
// verb analysed. Range 0: the embedded copy; 1: the file data/Beugwerk.VLX.
void BM_LoadVerbListsAndFirstVerb(benchmark::State& state) {
  const std::filesystem::path file =
      state.range(0) ? std::filesystem::path(BEUGWERK_SOURCE_DIR) / "data" / "Beugwerk.VLX"
                     : std::filesystem::path();
  VerbSlot().reset();  // the last user frees the lists: each round loads them
  for (auto _ : state) {
    VerbListsPath = file;
    TVerbGen verb;
    benchmark::DoNotOptimize(verb.newVerbA("lesen", unsp));
  }
  state.SetLabel(state.range(0) ? "file" : "embedded");
}
BENCHMARK(BM_LoadVerbListsAndFirstVerb)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
