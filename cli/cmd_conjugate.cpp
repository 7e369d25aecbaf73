// SPDX-License-Identifier: MIT
// `beugwerk [--ortho neu|alt|ch] [--json] PHRASE...`: the conjugation table of a phrase for a
// person at a terminal, UTF-8. An input the engine rejects prints its message on standard error
// and exits 2, as an unknown command does: the first word of a phrase stands where a command
// would. With --json the table is one JSON object on one line; a rejected input gives the
// object {"input", "error"} on standard output and exits 1.
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/PhraseArgs.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

}  // namespace

int RunConjugate(const std::filesystem::path& verbLists, const std::vector<std::string>& args) {
  const TPhraseArgs a = ParsePhraseArgs(args, false, true);
  std::u16string phrase = Utf8ToUni(a.phrase);
  TrimBlanksW(phrase);
  if (!a.error.empty() || phrase.empty()) {
    std::cerr << "beugwerk: " << (a.error.empty() ? "no PHRASE given" : a.error) << "\n"
              << "Usage: beugwerk [--ortho neu|alt|ch] [--verb-lists PATH] [--json] PHRASE...\n";
    return kExitUsage;
  }
  try {
    VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(verbLists));
    const TConjTable table = ConjugatePhrase(phrase, a.ortho);
    if (a.json) {
      std::cout << ConjugationJson(table) << "\n";
      return table.status == TConjStatus::cs_error ? kExitFailure : 0;
    }
    const std::string text = UniToUtf8(ConjugationText(table));
    if (table.status == TConjStatus::cs_error) {
      // Not a verb: maybe a mistyped command, so the usage status and a pointer to the help.
      std::cerr << text << "beugwerk: neither a command nor an infinitive; see beugwerk --help\n";
      return kExitUsage;
    }
    std::cout << text;
  } catch (const std::exception& e) {
    std::cerr << "beugwerk: " << e.what() << "\n";
    return kExitFailure;
  }
  return 0;
}
