// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include <iostream>

#include "engine/_ZTVerbLists.h"

namespace {

void Prefix(std::string_view command) {
  std::cerr << "beugwerk";
  if (!command.empty()) std::cerr << " " << command;
  std::cerr << ": ";
}

}  // namespace

int UsageError(std::string_view command, std::string_view message, std::string_view usage) {
  Prefix(command);
  std::cerr << message << "\n";
  if (usage.empty())
    std::cerr << "Try beugwerk --help.\n";
  else
    std::cerr << "Usage: " << usage << "\n";
  return kExitUsage;
}

int FileError(std::string_view command, std::string_view message) {
  Prefix(command);
  std::cerr << message << "\n";
  return kExitFile;
}

int UseVerbLists(const TGlobalOptions& options, std::string_view command) {
  const TVerbListsSource source = ExamineVerbLists(DefaultVerbListsSearch(options.verbLists));
  if (!source.Usable()) return FileError(command, VerbListsSourceMessage(source));
  VerbListsPath = source.choice.path;
  return kExitDone;
}
