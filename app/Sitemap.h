// SPDX-License-Identifier: MIT
// The sitemap of the online generator: one page address per phrase of a list, in the XML
// format of the Sitemaps 0.84 schema, written as UTF-8 with byte order mark. The addresses are
// the pages' own canonical links (the phrase percent-encoded as UTF-8), XML-escaped.
//
//   const TSitemapList list = SitemapList(ReadSitemapLines("verben.txt"));
//   WriteSitemap(list.phrases, "beugwerkSitemap.xml");
//     // ...<loc>http://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=sich%20waschen</loc>...
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The lines of a list file, read as a full-form list is: a byte order mark decides (UTF-8,
// UTF-16), else the bytes are UTF-8 when they are valid UTF-8, else Windows-1252. Throws
// EFileError (German message) when the file cannot be read.
std::vector<std::u16string> ReadSitemapLines(const std::filesystem::path& input);

// The phrases of a list for the sitemap: each line without the blanks around it (as the page
// takes it); empty lines are left out, and so are the phrases the engine rejects (they have
// no page of forms). Needs the verb lists, as a verb object does.
struct TSitemapList {
  std::vector<std::u16string> phrases;
  std::vector<std::u16string> rejected;
};
TSitemapList SitemapList(const std::vector<std::u16string>& lines);

// The file's items, each to be followed by CR LF; the CR characters inside items stay.
std::vector<std::u16string> SitemapItems(const std::vector<std::u16string>& phrases);

// The whole file: the UTF-8 byte order mark, then every item followed by CR LF.
std::string SitemapBytes(const std::vector<std::u16string>& phrases);

// Writes the file, overwriting it. Throws EFileError (German message) when it cannot be
// written; an existing file is then left as it was.
void WriteSitemap(const std::vector<std::u16string>& phrases, const std::filesystem::path& output);

// The closing message (UTF-8): how many pages the file lists and how many phrases were left
// out as rejected, "3 Seiten in x.xml eingetragen, 1 abgelehnte Zeile ausgelassen."
std::string SitemapMessage(const TSitemapList& list, const std::filesystem::path& output);
