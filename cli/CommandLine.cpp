// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include <algorithm>
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

int TakeJobsOption(std::string_view command, std::string_view usage,
                   const std::vector<std::string>& args, std::size_t& i, int& jobs) {
  // More threads than this only wait for each other.
  constexpr int kMaxJobs = 64;
  const std::string_view a = args[i];
  if (a != "--jobs" && !a.starts_with("--jobs=")) return -1;
  std::string_view text = a.substr(6);
  if (a == "--jobs") {
    if (++i == args.size()) return UsageError(command, "--jobs needs a number from 1 to 64", usage);
    text = args[i];
  } else {
    text.remove_prefix(1);
  }
  int n = 0;
  const bool digits =
      !text.empty() && text.size() <= 2 &&
      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (digits)
    for (char c : text) n = n * 10 + (c - '0');
  if (!digits || n < 1 || n > kMaxJobs)
    return UsageError(command, "--jobs needs a number from 1 to 64", usage);
  jobs = n;
  return 0;
}
