// SPDX-License-Identifier: MIT
// `beugwerk sitemap INPUT OUTPUT`: writes the sitemap of the online pages for the verbs of
// INPUT (one a line, used as read; UTF-8 or UTF-16 with byte order mark, else Windows-1252)
// into OUTPUT and prints OUTPUT's path.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/Request.h"
#include "app/Sitemap.h"
#include "common/ZT.Files.h"

int RunSitemap(const std::vector<std::string>& args) {
  if (args.size() != 2) {
    std::cerr << "beugwerk sitemap: needs INPUT and OUTPUT\n"
              << "Usage: beugwerk sitemap INPUT OUTPUT\n";
    return 2;
  }
  const std::filesystem::path output = args[1];
  try {
    WriteSitemap(SplitLinesW(ReadTextFile(args[0])), output);
  } catch (const std::exception& e) {
    std::cerr << "beugwerk sitemap: " << e.what() << "\n";
    return 1;
  }
  std::cout << output.string() << "\n";
  return 0;
}
