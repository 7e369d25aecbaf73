// SPDX-License-Identifier: MIT
// `beugwerk request TEXT...`: pokes TEXT (the words joined by blanks) into the request service
// and prints the answer the item then holds, one line each, UTF-8. A macro line keeps the
// poked text as the answer; there is no window here to act on it.
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Request.h"
#include "common/_ZT_cmn_A.h"

int RunRequest(const std::filesystem::path& verbLists, const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cerr << "beugwerk request: no TEXT given\n"
              << "Usage: beugwerk request [--verb-lists PATH] TEXT...\n";
    return 2;
  }
  std::string text;
  for (const std::string& a : args) {
    if (!text.empty()) text += ' ';
    text += a;
  }
  try {
    VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(verbLists));
    TRequestService service;
    service.Poke(Utf8ToUni(text));
    for (const std::u16string& line : service.Item()) std::cout << UniToUtf8(line) << "\n";
  } catch (const std::exception& e) {
    std::cerr << "beugwerk request: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
