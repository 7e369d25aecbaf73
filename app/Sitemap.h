// SPDX-License-Identifier: MIT
// The sitemap of the online generator: one page address per verb of a list, in the XML
// format of the Sitemaps 0.84 schema, written as UTF-8 with byte order mark.
//
//   WriteSitemap({u"lesen", u"sich waschen"}, "beugwerkSitemap.xml");
//     // ...<loc>http://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=sich waschen</loc>...
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The file's items, each to be followed by CR LF; the CR characters inside items stay.
std::vector<std::u16string> SitemapItems(const std::vector<std::u16string>& verbs);

// The whole file: the UTF-8 byte order mark, then every item followed by CR LF.
std::string SitemapBytes(const std::vector<std::u16string>& verbs);

// Writes the file, overwriting it. Throws EFileError (German message) when it cannot be
// written; an existing file is then left as it was.
void WriteSitemap(const std::vector<std::u16string>& verbs, const std::filesystem::path& output);
