// SPDX-License-Identifier: MIT
// `beugwerk request [--ortho neu|alt|ch] TEXT...`: pokes TEXT (the words joined by blanks) into
// the request service and prints the answer the item then holds, one line each, UTF-8. A
// refused request (an unknown form name, a verb the engine rejects) prints its answer and
// exits 1. A macro line keeps the poked text as the answer; there is no window here to act on it.
#include <iostream>
#include <string>
#include <vector>

#include "app/Request.h"
#include "cli/CommandLine.h"
#include "common/_ZT_cmn_A.h"

namespace {

constexpr std::string_view kUsage =
    "beugwerk request [--ortho neu|alt|ch] [--verb-lists PATH] TEXT...";

}  // namespace

int RunRequest(const TGlobalOptions& o, const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& a : args) {
    if (a.starts_with("--")) return UsageError("request", "unknown option " + a, kUsage);
    if (!text.empty()) text += ' ';
    text += a;
  }
  if (text.empty()) return UsageError("request", "no TEXT given", kUsage);
  if (int rc = UseVerbLists(o, "request")) return rc;
  try {
    // The service borrows a verb object in the asked orthography; without an error callback
    // an analysis error still becomes the answer.
    TVerbGen verb;
    verb.SetOrthoTyp(o.ortho);
    TRequestService service(verb);
    service.Poke(Utf8ToUni(text));
    for (const std::u16string& line : service.Item()) std::cout << UniToUtf8(line) << "\n";
    return service.Refused() ? kExitRejected : kExitDone;
  } catch (const std::exception& e) {
    return FileError("request", e.what());
  }
}
