// SPDX-License-Identifier: MIT
// Full forms as JSON Lines: for every infinitive of a list, the conjugation object of
// schema/conjugation.schema.json on one line (UTF-8, LF), in the order of the list. The list
// is read as for the .txf records (FullForms.h): same cleaning, same comments.
//
//   TVerbGenerator g;
//   FullFormJsonLine(g, "lesen");   // "{\"input\":\"lesen\",...}\n"
//   FullFormsJsonPath("list.txt");  // "list.jsonl"
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "generator/VerbGenerator.h"

// The companion file of an input list: extension replaced by ".jsonl", appended when none.
std::filesystem::path FullFormsJsonPath(const std::filesystem::path& input);

// The line of one cleaned list line (8-bit, as FullFormRecord takes it), ended by LF. The
// generator keeps its orthography; a rejected infinitive gives {"input", "error"}.
std::string FullFormJsonLine(TVerbGenerator& g, const std::string& line);

// Reads the list from in and writes a line per infinitive to out as soon as it is built.
// inputUtf8 as for WriteFullForms. Returns the number of infinitives. Throws
// EFullFormsIoError when a stream fails.
int WriteFullFormsJson(TVerbGenerator& g, std::istream& in, std::ostream& out, bool inputUtf8);
