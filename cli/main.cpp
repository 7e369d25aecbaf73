// SPDX-License-Identifier: MIT
// The beugwerk command line: parses the arguments, calls the libraries, prints.
// Each command is one function in the table below.
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/PageAddress.h"

// cmd_conjugate.cpp, cmd_page.cpp, cmd_analyse.cpp, cmd_fullforms.cpp, cmd_request.cpp,
// cmd_sitemap.cpp, cmd_lookup.cpp
int RunConjugate(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunPage(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunAnalyse(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunFullForms(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunRequest(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunSitemap(const TGlobalOptions& o, const std::vector<std::string>& args);
int RunLookup(const TGlobalOptions& o, const std::vector<std::string>& args);

// cmd_serve.cpp: its own options and exit statuses.
int RunServe(const std::filesystem::path& verbLists, const std::vector<std::string>& args);

#ifndef BEUGWERK_VERSION
#define BEUGWERK_VERSION "0.0.0"
#endif

namespace {

// The options besides --verb-lists that a command takes, as bits.
enum : unsigned { kTakesOrtho = 1, kTakesJson = 2, kTakesUtf8 = 4, kTakesAll = 8 };

struct TCommand {
  std::string_view name;
  std::string_view synopsis;
  std::string_view summary;
  unsigned takes;
  int (*run)(const TGlobalOptions&, const std::vector<std::string>&);
};

int ListsCheck(const TGlobalOptions& o, const std::vector<std::string>& args);

// The default command: when the first word is no command name, the words are a phrase.
constexpr std::string_view kPhrase = "PHRASE";

constexpr TCommand kCommands[] = {
    {kPhrase, "[--ortho X] [--all] [--json] PHRASE...",
     "print the conjugation table of an infinitive or phrase (\"sich anziehen\"; --all: with "
     "the subjunctive past and future, the würde forms and the passive; --json: as one JSON "
     "object)",
     kTakesOrtho | kTakesJson | kTakesAll, RunConjugate},
    {"page", "page [--online] [--all] [--ortho X] PHRASE...",
     "print the HTML result page of a phrase (--online: with the input form; --all: the page "
     "of all forms)",
     kTakesOrtho | kTakesAll, RunPage},
    {"lists-check", "lists-check [PATH]",
     "check a verb lists file (default: the lists the program would use)", 0, ListsCheck},
    {"fullforms", "fullforms [--ortho X] [--utf8] [--json] [--jobs N] FILE",
     "write the full forms of a list of infinitives into FILE.txf (\"-\": stdin to stdout; "
     "--json: JSON Lines into FILE.jsonl)",
     kTakesOrtho | kTakesJson | kTakesUtf8, RunFullForms},
    {"analyse", "analyse [--ortho X] PHRASE...",
     "analyse an infinitive or phrase and print the analysis fields", kTakesOrtho, RunAnalyse},
    {"lookup", "lookup [--ortho X] [--json] WORDS... | [--jobs N] -",
     "the verbs a form belongs to and which forms it is (\"zog an\"; -: one form a line from "
     "stdin, one JSON line each)",
     kTakesOrtho | kTakesJson, RunLookup},
    {"request", "request [--ortho X] TEXT",
     "answer a form request as the request service would (G2:lesen)", kTakesOrtho, RunRequest},
    {"sitemap", "sitemap INPUT OUTPUT", "write the sitemap of the online pages for a verb list", 0,
     RunSitemap},
    {"serve", "serve [--port P] [OPTIONS]",
     "serve the online generator over HTTP; also --host H, --threads N, --cache-mib M, --base-url "
     "URL, --log",
     0,
     [](const TGlobalOptions& o, const std::vector<std::string>& args) {
       return RunServe(o.verbLists, args);
     }},
};

// Wide enough for the longest synopsis, so every summary starts in one column.
constexpr int kSynopsisWidth = 57;

const TCommand* FindCommand(std::string_view name) {
  for (const TCommand& c : kCommands)
    if (c.name == name) return &c;
  return nullptr;
}

void PrintHelp(std::ostream& out) {
  out << "Usage: beugwerk [OPTIONS] COMMAND [ARGS...]\n"
      << "  " << std::left << std::setw(kSynopsisWidth) << "--help"
      << "show this help\n"
      << "  " << std::setw(kSynopsisWidth) << "--version"
      << "print the version\n";
  for (const TCommand& c : kCommands)
    out << "  " << std::setw(kSynopsisWidth) << c.synopsis << c.summary << "\n";
  out << "X is the orthography: neu (reformed, the default), alt (before the reform) or ch.\n"
      << "The options --verb-lists, --ortho, --json, --utf8 and --all may stand before or after\n"
      << "the command name. Every command takes --verb-lists PATH (default: $BEUGWERK_VERBLISTS,\n"
      << "Beugwerk.VLX in the viewer program's folder or beside the program, the installed file\n"
      << "../share/beugwerk/Beugwerk.VLX, then the copy built into the program); a file named\n"
      << "by the option or the variable must be usable.\n"
      << "Exit status: 0 done; 1 the input was rejected or nothing was found (the page and the\n"
      << "JSON are still printed); 2 a usage error; 3 a file or system error, also verb lists\n"
      << "that cannot be used. serve has its own.\n";
}

void PrintReport(const TVerbListsReport& r) {
  if (!r.path.empty())
    std::cout << "verb lists: " << r.path.string() << "\n";
  else
    std::cout << "verb lists: built-in copy (no file named)\n";
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

// Problems found are the answer, not a failure to give one: exit 1 with the report printed.
int ListsCheck(const TGlobalOptions& o, const std::vector<std::string>& args) {
  constexpr std::string_view kUsage = "beugwerk lists-check [PATH]";
  for (const std::string& a : args)
    if (a.starts_with("--")) return UsageError("lists-check", "unknown option " + a, kUsage);
  if (args.size() > 1) return UsageError("lists-check", "takes at most one PATH", kUsage);
  const TVerbListsSource source = ExamineVerbLists(
      DefaultVerbListsSearch(args.empty() ? o.verbLists : std::filesystem::path(args[0])));
  if (source.systemError != 0) return FileError("lists-check", VerbListsSourceMessage(source));
  TVerbListsReport report = source.report;
  if (source.choice.path.empty()) {
    try {
      TVerbListsTables tables;
      report = InspectVerbLists({}, tables);
    } catch (const std::exception& e) {
      return FileError("lists-check", e.what());
    }
  }
  PrintReport(report);
  return report.problems.empty() ? kExitDone : kExitRejected;
}

// The value of an option given as "--name value" or "--name=value"; false when it is missing.
bool OptionValue(int argc, char** argv, int& i, std::string_view name, std::string& value) {
  const std::string_view a = argv[i];
  if (a.size() > name.size() && a[name.size()] == '=') {
    value = a.substr(name.size() + 1);
    return true;
  }
  if (i + 1 == argc) return false;
  value = argv[++i];
  return true;
}

bool IsOption(std::string_view a, std::string_view name) {
  return a == name || (a.starts_with(name) && a.size() > name.size() && a[name.size()] == '=');
}

struct TCommandLine {
  TGlobalOptions options;
  const TCommand* command = nullptr;
  std::vector<std::string> args;   // after the command name, without the global options
  std::vector<std::string> given;  // the global options given besides --verb-lists, as written
};

// 0 when parsed; -1 when help or the version was printed; else a usage error's status.
int ParseCommandLine(int argc, char** argv, TCommandLine& cl) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    std::string value;
    if (a == "--help" || a == "-h") {
      PrintHelp(std::cout);
      return -1;
    }
    if (a == "--version") {
      std::cout << "beugwerk " BEUGWERK_VERSION "\n";
      return -1;
    }
    if (IsOption(a, "--verb-lists")) {
      if (!OptionValue(argc, argv, i, "--verb-lists", value) || value.empty())
        return UsageError("", "--verb-lists needs a PATH", "");
      cl.options.verbLists = value;
    } else if (IsOption(a, "--ortho")) {
      if (!OptionValue(argc, argv, i, "--ortho", value) || !OrthoFromName(value, cl.options.ortho))
        return UsageError("", "--ortho needs neu, alt or ch", "");
      cl.given.emplace_back("--ortho");
    } else if (a == "--json") {
      cl.options.json = true;
      cl.given.emplace_back(a);
    } else if (a == "--utf8") {
      cl.options.utf8 = true;
      cl.given.emplace_back(a);
    } else if (a == "--all") {
      cl.options.all = true;
      cl.given.emplace_back(a);
    } else if (cl.command) {
      cl.args.emplace_back(a);
    } else if (a.starts_with("-") && a.size() > 1) {
      // Before the command name only the options above can stand.
      return UsageError("", "unknown option " + std::string(a), "");
    } else {
      cl.command = FindCommand(a);
      if (!cl.command || cl.command->name == kPhrase) {
        cl.command = FindCommand(kPhrase);
        cl.args.emplace_back(a);
      }
    }
  }
  // Options alone: the phrase command, which then asks for its phrase.
  if (!cl.command && !cl.given.empty()) cl.command = FindCommand(kPhrase);
  if (!cl.command) {
    std::cerr << "beugwerk: no command given\n";
    PrintHelp(std::cerr);
    return kExitUsage;
  }
  for (const std::string& g : cl.given) {
    const unsigned bit = g == "--ortho"  ? kTakesOrtho
                         : g == "--json" ? kTakesJson
                         : g == "--all"  ? kTakesAll
                                         : kTakesUtf8;
    if ((cl.command->takes & bit) == 0)
      return UsageError(cl.command->name == kPhrase ? "" : cl.command->name,
                        g + " is not an option of this command",
                        "beugwerk " + std::string(cl.command->synopsis));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TCommandLine cl;
  const int rc = ParseCommandLine(argc, argv, cl);
  if (rc != 0) return rc < 0 ? kExitDone : rc;
  return cl.command->run(cl.options, cl.args);
}
