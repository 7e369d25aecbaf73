// SPDX-License-Identifier: MIT
// `beugwerk sitemap INPUT OUTPUT`: writes the sitemap of the online pages for the phrases of
// INPUT (one a line; a byte order mark decides, else UTF-8 when valid, else Windows-1252) into
// OUTPUT. Empty lines and phrases the engine rejects are left out; the rejected ones are named
// on standard error and counted in the closing message.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/Sitemap.h"
#include "cli/CommandLine.h"
#include "common/_ZT_cmn_A.h"

int RunSitemap(const TGlobalOptions& o, const std::vector<std::string>& args) {
  for (const std::string& a : args)
    if (a.starts_with("--"))
      return UsageError("sitemap", "unknown option " + a,
                        "beugwerk sitemap [--verb-lists PATH] INPUT OUTPUT");
  if (args.size() != 2)
    return UsageError("sitemap", "needs INPUT and OUTPUT",
                      "beugwerk sitemap [--verb-lists PATH] INPUT OUTPUT");
  if (int rc = UseVerbLists(o, "sitemap")) return rc;
  const std::filesystem::path output = args[1];
  try {
    const TSitemapList list = SitemapList(ReadSitemapLines(args[0]));
    WriteSitemap(list.phrases, output);
    for (const std::u16string& p : list.rejected)
      std::cerr << "beugwerk sitemap: abgelehnt: " << UniToUtf8(p) << "\n";
    std::cout << SitemapMessage(list, output) << "\n";
  } catch (const std::exception& e) {
    return FileError("sitemap", e.what());
  }
  return kExitDone;
}
