// SPDX-License-Identifier: MIT
#include "cli/PhraseArgs.h"

bool ParseOrtho(std::string_view name, TOrthoTyp& ortho) {
  if (name == "neu")
    ortho = NeuOrtho;
  else if (name == "alt")
    ortho = AltOrtho;
  else if (name == "ch")
    ortho = ChOrtho;
  else
    return false;
  return true;
}

TPhraseArgs ParsePhraseArgs(const std::vector<std::string>& args, bool allowOnline,
                            bool allowJson) {
  TPhraseArgs r;
  for (std::size_t i = 0; i < args.size() && r.error.empty(); ++i) {
    const std::string_view a = args[i];
    if (a == "--ortho") {
      if (++i == args.size() || !ParseOrtho(args[i], r.ortho))
        r.error = "--ortho needs neu, alt or ch";
    } else if (a.starts_with("--ortho=")) {
      if (!ParseOrtho(a.substr(8), r.ortho)) r.error = "--ortho needs neu, alt or ch";
    } else if (allowOnline && a == "--online") {
      r.online = true;
    } else if (allowJson && a == "--json") {
      r.json = true;
    } else if (a.starts_with("--")) {
      r.error = "unknown option " + std::string(a);
    } else {
      if (!r.phrase.empty()) r.phrase += ' ';
      r.phrase += a;
    }
  }
  return r;
}
