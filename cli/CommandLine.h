// SPDX-License-Identifier: MIT
// What every command of the command line shares: the options that may stand anywhere, the one
// rule of exit statuses, the messages of a usage or file error, and the verb lists a command
// works with.
//
//   TGlobalOptions o;  // filled by main from --verb-lists, --ortho, --json, --utf8, --all
//   if (int rc = UseVerbLists(o, "page")) return rc;   // the file named cannot be used
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/_ZTVerb.h"

// Exit statuses of every command but serve.
enum TExitStatus {
  kExitDone = 0,
  kExitRejected = 1,  // the input was rejected or nothing was found (the output still printed)
  kExitUsage = 2,     // the command line is wrong
  kExitFile = 3,      // a file or system error, also verb lists that cannot be used
};

// Options taken in any position, before or after the command name; each command says which of
// them it takes.
struct TGlobalOptions {
  std::filesystem::path verbLists;  // --verb-lists PATH
  TOrthoTyp ortho = NeuOrtho;       // --ortho neu|alt|ch
  bool json = false;                // --json
  bool utf8 = false;                // --utf8
  bool all = false;                 // --all: every block, not only the eight tenses
};

// "beugwerk COMMAND: message" and the command's usage line (without one: a pointer to --help)
// on standard error; kExitUsage.
int UsageError(std::string_view command, std::string_view message, std::string_view usage);
// "beugwerk COMMAND: message" on standard error; kExitFile.
int FileError(std::string_view command, std::string_view message);

// "--jobs N" or "--jobs=N" at args[i], the threads of fullforms and lookup (1 to 64); i moves
// past a separate value. -1: args[i] is no --jobs option; 0: taken into jobs; else the exit
// code of the usage error already reported for the command.
int TakeJobsOption(std::string_view command, std::string_view usage,
                   const std::vector<std::string>& args, std::size_t& i, int& jobs);

// Chooses and checks the verb lists for a command and sets VerbListsPath. A file named by
// --verb-lists or BEUGWERK_VERBLISTS that is missing, unreadable or malformed (and a malformed
// installed file) is reported and gives kExitFile; the built-in copy serves only when no file
// was named. 0 when the lists can be used.
int UseVerbLists(const TGlobalOptions& options, std::string_view command);
