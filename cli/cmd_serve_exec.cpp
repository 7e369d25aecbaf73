// SPDX-License-Identifier: MIT
// `beugwerk serve` in the command line program hands over to beugwerk-serve beside it, the same
// program with the server; beugwerk itself carries none of the server's code.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

int RunServe(const std::filesystem::path& verbLists, const std::vector<std::string>& args) {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path serve = self.parent_path() / "beugwerk-serve";
  std::vector<std::string> words = {serve.string()};
  if (!verbLists.empty()) {
    words.push_back("--verb-lists");
    words.push_back(verbLists.string());
  }
  words.push_back("serve");
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  std::cout.flush();
  execv(serve.c_str(), argv.data());
  if (errno == ENOENT) {
    std::cerr << "beugwerk serve: " << serve.string()
              << " is missing: this build has no server (BEUGWERK_SERVER=OFF)\n";
    return 1;
  }
  std::cerr << "beugwerk serve: " << serve.string() << ": " << std::strerror(errno) << "\n";
  return 1;
}
