// SPDX-License-Identifier: MIT
// `beugwerk page [--online] [--all] [--ortho neu|alt|ch] PHRASE...`: the result page of a phrase
// on standard output, UTF-8; --online adds the input form of the online generator and the link
// to the page of all forms, --all makes it that page. A phrase the
// engine rejects still gives its page (with the message) and exits 1.
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/PhraseArgs.h"
#include "common/_ZT_cmn_A.h"
#include "generator/VerbGenerator.h"

int RunPage(const TGlobalOptions& o, const std::vector<std::string>& args) {
  const TPhraseArgs a = ParsePhraseArgs(args, true);
  if (!a.error.empty())
    return UsageError(
        "page", a.error,
        "beugwerk page [--online] [--all] [--ortho neu|alt|ch] [--verb-lists PATH] PHRASE...");
  if (int rc = UseVerbLists(o, "page")) return rc;
  try {
    TConjStatus status = TConjStatus::cs_ok;
    std::cout << UniToUtf8(GetVerbPageHtml(Utf8ToUni(a.phrase), a.online, o.ortho,
                                           o.all ? TPageForms::allForms : TPageForms::table,
                                           &status));
    return status == TConjStatus::cs_error ? kExitRejected : kExitDone;
  } catch (const std::exception& e) {
    return FileError("page", e.what());
  }
}
