// SPDX-License-Identifier: MIT
// `beugwerk [--ortho neu|alt|ch] [--all] [--json] PHRASE...`: the conjugation table of a phrase
// for a person at a terminal, UTF-8 (--all: followed by the further blocks). An input the engine
// rejects prints its message on standard error and exits 1; with --json the table is one JSON
// object on one line, and a rejected input gives the object {"input", "error"} on standard output,
// also with exit status 1.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/PhraseArgs.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

namespace {

constexpr std::string_view kUsage =
    "beugwerk [--ortho neu|alt|ch] [--verb-lists PATH] [--all] [--json] PHRASE...";

}  // namespace

int RunConjugate(const TGlobalOptions& o, const std::vector<std::string>& args) {
  const TPhraseArgs a = ParsePhraseArgs(args, false);
  std::u16string phrase = Utf8ToUni(a.phrase);
  TrimBlanksW(phrase);
  if (!a.error.empty()) return UsageError("", a.error, kUsage);
  if (phrase.empty()) return UsageError("", "no PHRASE given", kUsage);
  if (int rc = UseVerbLists(o, "")) return rc;
  try {
    // The JSON always carries every block; the terminal table only with --all.
    const TConjTable table = ConjugatePhrase(phrase, o.ortho,
                                             o.json  ? TConjScope::data
                                             : o.all ? TConjScope::allForms
                                                     : TConjScope::table);
    const bool rejected = table.status == TConjStatus::cs_error;
    if (o.json) {
      std::cout << ConjugationJson(table) << "\n";
      return rejected ? kExitRejected : kExitDone;
    }
    const std::string text = UniToUtf8(o.all ? ConjugationTextAll(table) : ConjugationText(table));
    if (!rejected) {
      std::cout << text;
      return kExitDone;
    }
    std::cerr << text;
    // A single word that is no verb may be a mistyped command.
    if (phrase.find(u' ') == std::u16string::npos)
      std::cerr << "beugwerk: weder ein Befehl noch ein Infinitiv; die Befehle zeigt beugwerk "
                   "--help\n";
    return kExitRejected;
  } catch (const std::exception& e) {
    return FileError("", e.what());
  }
}
