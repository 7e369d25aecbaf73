// SPDX-License-Identifier: MIT
// Arguments of the commands that take a phrase: their own options, then the words joined by
// blanks. The options every command takes (--ortho, --json, ...) are taken out before.
//
//   {"--online", "sich", "waschen"} -> online, phrase "sich waschen"
#pragma once

#include <string>
#include <vector>

struct TPhraseArgs {
  bool online = false;  // --online, only where allowOnline
  std::string phrase;   // UTF-8
  std::string error;    // a usage problem; empty when the arguments are fine
};

TPhraseArgs ParsePhraseArgs(const std::vector<std::string>& args, bool allowOnline);
