// SPDX-License-Identifier: MIT
// `beugwerk page [--online] [--ortho neu|alt|ch] PHRASE...`: the result page of a phrase on
// standard output, UTF-8; --online adds the input form of the online generator.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/PhraseArgs.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

int RunPage(const std::filesystem::path& verbLists, const std::vector<std::string>& args) {
  const TPhraseArgs a = ParsePhraseArgs(args, true);
  if (!a.error.empty()) {
    std::cerr << "beugwerk page: " << a.error << "\n"
              << "Usage: beugwerk page [--online] [--ortho neu|alt|ch] [--verb-lists PATH] "
                 "PHRASE...\n";
    return 2;
  }
  try {
    VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(verbLists));
    std::cout << UniToUtf8(GetVerbPageHtml(Utf8ToUni(a.phrase), a.online, a.ortho));
  } catch (const std::exception& e) {
    std::cerr << "beugwerk page: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
