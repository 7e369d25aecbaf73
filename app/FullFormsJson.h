// SPDX-License-Identifier: MIT
// Full forms as JSON Lines: for every infinitive of a list, the conjugation object of
// schema/conjugation.schema.json on one line (UTF-8, LF), in the order of the list. The lines
// come through the same list reading as the .txf records (WriteFullForms in FullForms.h, with
// outputUtf8 false: the lines are UTF-8 already), on one thread or several.
//
//   TVerbGenerator g;
//   FullFormJsonLine(g, "lesen");   // "{\"input\":\"lesen\",...}\n"
//   WriteFullForms(JsonRecords(g), in, out, run);
//   FullFormsJsonPath("list.txt");  // "list.jsonl"
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/FullForms.h"
#include "generator/VerbGenerator.h"

// The companion file of an input list: extension replaced by ".jsonl", appended when none.
std::filesystem::path FullFormsJsonPath(const std::filesystem::path& input);

// The line of one cleaned list line (8-bit, as FullFormRecord takes it), ended by LF. The
// generator keeps its orthography; a rejected infinitive gives {"input", "error"}.
std::string FullFormJsonLine(TVerbGenerator& g, const std::string& line);

// The JSON line producer on g, and a maker of producers each on a generator of its own in
// the given orthography (for the further threads of a run).
TRecordProducer JsonRecords(TVerbGenerator& g);
std::function<TRecordProducer()> JsonRecordMaker(TOrthoTyp ortho);
