// SPDX-License-Identifier: MIT
// Locating the verb lists file, and whether the file found can be used.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "common/ZT.Files.h"
#include "common/_0ZTINI.h"
#include "engine/_ZTVerbLists.h"

#ifndef BEUGWERK_INSTALL_VERBLISTS
#define BEUGWERK_INSTALL_VERBLISTS ""
#endif
#ifndef BEUGWERK_PREFIX_VERBLISTS
#define BEUGWERK_PREFIX_VERBLISTS ""
#endif

namespace {

// 0 when the file opens for reading as a plain file, else the errno that tells why not.
int ReadableFileError(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  struct stat st {};
  int error = 0;
  if (::fstat(fd, &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  ::close(fd);
  return error;
}

// A path as a shell word, so that the suggested command runs as it is printed.
std::string ShellWord(const std::string& s) {
  const bool plain = !s.empty() && s.find_first_not_of(
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnop"
                                       "qrstuvwxyz0123456789/._-+=:,") == std::string::npos;
  if (plain) return s;
  std::string word = "'";
  for (char c : s) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

}  // namespace

TVerbListsChoice ChooseVerbLists(const TVerbListsSearch& search) {
  struct TCandidate {
    std::filesystem::path path;
    TVerbListsOrigin origin;
  };
  const auto inDir = [](const std::filesystem::path& dir) {
    return dir.empty() ? std::filesystem::path() : dir / kVerbListsFileName;
  };
  const TCandidate candidates[] = {
      {search.optionPath, vo_option},
      {search.envValue, vo_environment},
      // The viewer's folder counts only when the file is there, like the program's own folder,
      // so that a stale registration does not hide an installed file.
      {inDir(search.viewerDir), vo_viewer},
      {inDir(search.exeDir), vo_program},
      {search.installFile, vo_installed},
      {search.prefixFile, vo_prefix},
  };
  for (const TCandidate& c : candidates) {
    if (c.path.empty()) continue;
    const TVerbListsChoice choice{c.path, c.origin};
    std::error_code ec;
    if (choice.Named() || std::filesystem::is_regular_file(c.path, ec)) return choice;
  }
  return {};
}

std::filesystem::path ResolveVerbListsPath(const TVerbListsSearch& search) {
  return ChooseVerbLists(search).path;
}

TVerbListsSearch DefaultVerbListsSearch(const std::filesystem::path& optionPath) {
  TVerbListsSearch search;
  search.optionPath = optionPath;
  if (const char* env = std::getenv("BEUGWERK_VERBLISTS")) search.envValue = env;
  search.viewerDir = ViewerProgramFolder();
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) search.exeDir = exe.parent_path();
  // Relative to the program, so that an installation moved to another prefix (or made with
  // --prefix) finds its own file.
  const std::filesystem::path relative = BEUGWERK_INSTALL_VERBLISTS;
  if (!search.exeDir.empty() && !relative.empty())
    search.installFile = (search.exeDir / relative).lexically_normal();
  search.prefixFile = BEUGWERK_PREFIX_VERBLISTS;
  return search;
}

TVerbListsSource ExamineVerbLists(const TVerbListsSearch& search) {
  TVerbListsSource source;
  source.choice = ChooseVerbLists(search);
  const std::filesystem::path& path = source.choice.path;
  if (path.empty()) return source;
  source.report.path = path;
  source.systemError = ReadableFileError(path);
  if (source.systemError != 0) return source;
  TVerbListsTables tables;
  try {
    source.report = InspectVerbLists(path, tables);
  } catch (const std::exception&) {
    // Readable a moment ago: whatever stopped the read is an input/output error.
    source.systemError = EIO;
  }
  return source;
}

std::string VerbListsSourceMessage(const TVerbListsSource& source) {
  if (source.Usable()) return {};
  const std::string path = source.choice.path.string();
  std::string m = "Die Verblistendatei \"" + path + "\"";
  // A name from the environment may surprise: say where it came from.
  if (source.choice.origin == vo_environment) m += " (BEUGWERK_VERBLISTS)";
  if (source.systemError != 0)
    return m + " kann nicht gelesen werden: " + SystemErrorText(source.systemError) + ".";
  int entries = 0;
  for (int n : source.report.counts) entries += n;
  int line = 0;  // the first line at fault; 0 when only the file as a whole is
  for (const TVerbListsProblem& p : source.report.problems)
    if (p.line > 0 && (line == 0 || p.line < line)) line = p.line;
  if (entries == 0 && line == 0)
    m += " enthält keine Einträge";
  else if (line > 0)
    m += " ist fehlerhaft (Zeile " + std::to_string(line) + ")";
  else
    m += " ist fehlerhaft";
  return m + "; Einzelheiten zeigt: beugwerk lists-check " + ShellWord(path);
}
