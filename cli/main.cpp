// SPDX-License-Identifier: MIT
// The beugwerk command line: parses the arguments, calls the libraries, prints.
// Each command is one function in the table below.
#include <cstdio>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"

// cmd_fullforms.cpp
int RunFullForms(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

// cmd_analyse.cpp
int RunAnalyse(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

// cmd_conjugate.cpp, cmd_page.cpp
int RunConjugate(const std::filesystem::path& verbLists, const std::vector<std::string>& args);
int RunPage(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

// cmd_request.cpp
int RunRequest(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

// cmd_sitemap.cpp
int RunSitemap(const std::vector<std::string>& args);

// cmd_serve.cpp
int RunServe(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

#ifndef BEUGWERK_VERSION
#define BEUGWERK_VERSION "0.0.0"
#endif

namespace {

constexpr int kExitProblems = 1;
constexpr int kExitUsage = 2;

struct TOptions {
  std::filesystem::path verbLists;  // --verb-lists
  std::vector<std::string> args;    // after the command name
};

// Wide enough for the longest synopsis, so every summary starts in one column.
constexpr int kSynopsisWidth = 57;

struct TCommand {
  std::string_view name;
  std::string_view synopsis;
  std::string_view summary;
  int (*run)(const TOptions&);
};

int ListsCheck(const TOptions& o);

// The default command: when the first word is no command name, the words are a phrase.
constexpr std::string_view kPhrase = "PHRASE";

constexpr TCommand kCommands[] = {
    {kPhrase, "[--ortho X] [--json] PHRASE...",
     "print the conjugation table of an infinitive or phrase (\"sich anziehen\"; --json: as "
     "one JSON object)",
     [](const TOptions& o) { return RunConjugate(o.verbLists, o.args); }},
    {"page", "page [--online] [--ortho X] PHRASE...",
     "print the HTML result page of a phrase (--online: with the input form)",
     [](const TOptions& o) { return RunPage(o.verbLists, o.args); }},
    {"lists-check", "lists-check [PATH]",
     "check a verb lists file (default: the lists the program would use)", ListsCheck},
    {"fullforms", "fullforms [--ortho X] [--utf8] [--json] [--jobs N] FILE",
     "write the full forms of a list of infinitives into FILE.txf (\"-\": stdin to stdout; "
     "--json: JSON Lines into FILE.jsonl)",
     [](const TOptions& o) { return RunFullForms(o.verbLists, o.args); }},
    {"analyse", "analyse [--ortho X] PHRASE...",
     "analyse an infinitive or phrase and print the analysis fields",
     [](const TOptions& o) { return RunAnalyse(o.verbLists, o.args); }},
    {"request", "request TEXT", "answer a form request as the request service would (G2:lesen)",
     [](const TOptions& o) { return RunRequest(o.verbLists, o.args); }},
    {"sitemap", "sitemap INPUT OUTPUT", "write the sitemap of the online pages for a verb list",
     [](const TOptions& o) { return RunSitemap(o.args); }},
    {"serve", "serve [--port P] [OPTIONS]",
     "serve the online generator over HTTP; also --host H, --threads N, --base-url URL, --log",
     [](const TOptions& o) { return RunServe(o.verbLists, o.args); }},
};

bool IsCommandName(std::string_view word) {
  for (const TCommand& c : kCommands)
    if (c.name == word && c.name != kPhrase) return true;
  return false;
}

void PrintHelp(std::ostream& out) {
  out << "Usage: beugwerk [--verb-lists PATH] COMMAND [ARGS...]\n"
      << "  " << std::left << std::setw(kSynopsisWidth) << "--help"
      << "show this help\n"
      << "  " << std::setw(kSynopsisWidth) << "--version"
      << "print the version\n";
  for (const TCommand& c : kCommands)
    out << "  " << std::setw(kSynopsisWidth) << c.synopsis << c.summary << "\n";
  out << "X is the orthography: neu (reformed, the default), alt (before the reform) or ch.\n"
      << "Every command takes --verb-lists PATH (default: $BEUGWERK_VERBLISTS, Beugwerk.VLX in\n"
      << "the viewer program's folder or beside the program, the installed file, then the copy\n"
      << "built into the program).\n";
}

int UsageError(std::string_view message) {
  std::cerr << "beugwerk: " << message << "\n";
  PrintHelp(std::cerr);
  return kExitUsage;
}

void PrintReport(const TVerbListsReport& r, const std::filesystem::path& wanted) {
  if (!r.path.empty())
    std::cout << "verb lists: " << r.path.string() << "\n";
  else if (wanted.empty())
    std::cout << "verb lists: built-in copy (no file named)\n";
  else
    std::cout << "verb lists: built-in copy (no file at " << wanted.string() << ")\n";
  for (int s = 0; s < kVerbListsSections; ++s)
    std::cout << std::left << std::setw(18) << VerbListsSectionName(s) << std::right << std::setw(6)
              << r.counts[s] << "\n";
  for (const TVerbListsProblem& p : r.problems) {
    if (p.line > 0) std::cout << "line " << p.line << " ";
    std::cout << "(" << VerbListsSectionName(p.section) << "): " << p.reason;
    if (p.line > 0) std::cout << ": \"" << Latin1ToUtf8(p.text) << "\"";
    std::cout << "\n";
  }
}

int ListsCheck(const TOptions& o) {
  if (o.args.size() > 1) return UsageError("lists-check takes at most one PATH");
  std::filesystem::path path;
  if (!o.args.empty()) {
    path = o.args[0];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      std::cerr << "beugwerk: cannot read " << path.string() << "\n";
      return kExitUsage;
    }
  } else {
    path = ResolveVerbListsPath(DefaultVerbListsSearch(o.verbLists));
  }
  TVerbListsTables tables;
  TVerbListsReport report;
  try {
    report = InspectVerbLists(path, tables);
  } catch (const EVerbListsMissing& e) {
    std::cerr << e.what() << "\n";
    return kExitProblems;
  } catch (const std::exception& e) {
    std::cerr << "beugwerk: cannot read " << path.string() << ": " << e.what() << "\n";
    return kExitUsage;
  }
  PrintReport(report, path);
  return report.problems.empty() ? 0 : kExitProblems;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  std::string_view command;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h") {
      PrintHelp(std::cout);
      return 0;
    }
    if (a == "--version") {
      std::cout << "beugwerk " BEUGWERK_VERSION "\n";
      return 0;
    }
    if (a == "--verb-lists") {
      if (++i == argc) return UsageError("--verb-lists needs a PATH");
      options.verbLists = argv[i];
    } else if (a.starts_with("--verb-lists=")) {
      options.verbLists = a.substr(13);
    } else if (command.empty() && a == "--json") {
      command = kPhrase;
      options.args.emplace_back(a);
    } else if (command.empty() && (a == "--ortho" || a.starts_with("--ortho="))) {
      command = kPhrase;
      options.args.emplace_back(a);
      if (a == "--ortho" && i + 1 < argc) options.args.emplace_back(argv[++i]);
    } else if (a.starts_with("-") && a.size() > 1 && command.empty()) {
      return UsageError("unknown option " + std::string(a));
    } else if (command.empty()) {
      command = a;
      if (!IsCommandName(a)) {
        command = kPhrase;
        options.args.emplace_back(a);
      }
    } else {
      options.args.emplace_back(a);
    }
  }
  if (command.empty()) return UsageError("no command given");
  for (const TCommand& c : kCommands)
    if (c.name == command) return c.run(options);
  return UsageError("unknown command " + std::string(command));
}
