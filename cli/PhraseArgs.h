// SPDX-License-Identifier: MIT
// Arguments of the commands that take a phrase: options, then the words joined by blanks.
//
//   {"--ortho", "alt", "sich", "waschen"} -> ortho AltOrtho, phrase "sich waschen"
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/_ZTVerb.h"

struct TPhraseArgs {
  TOrthoTyp ortho = NeuOrtho;
  bool online = false;  // --online, only where allowOnline
  bool json = false;    // --json, only where allowJson
  std::string phrase;   // UTF-8
  std::string error;    // a usage problem; empty when the arguments are fine
};

TPhraseArgs ParsePhraseArgs(const std::vector<std::string>& args, bool allowOnline,
                            bool allowJson = false);
// "neu", "alt" or "ch"; false for anything else.
bool ParseOrtho(std::string_view name, TOrthoTyp& ortho);
