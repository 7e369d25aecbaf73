// SPDX-License-Identifier: MIT
#include "cli/PhraseArgs.h"

#include <string_view>

TPhraseArgs ParsePhraseArgs(const std::vector<std::string>& args, bool allowOnline) {
  TPhraseArgs r;
  for (const std::string& arg : args) {
    const std::string_view a = arg;
    if (allowOnline && a == "--online") {
      r.online = true;
    } else if (a.starts_with("--")) {
      r.error = "unknown option " + arg;
      break;
    } else {
      if (!r.phrase.empty()) r.phrase += ' ';
      r.phrase += a;
    }
  }
  return r;
}
