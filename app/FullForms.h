// SPDX-License-Identifier: MIT
// Full-form lists: for every infinitive of a text list, the finite forms of Präsens,
// Präteritum, Konjunktiv I and II (subordinate and main clause) and Infinitiv II, Partizip I
// and II and the singular imperative, in a compact record with fixed separators.
//
// Works on streams and strings; opening the files and showing the final message is the
// front end's business.
//
//   TVerbGen verb;
//   FullFormRecord(verb, "lesen");
//     // "> lesen\r\n:lese;liest;liest;lesen;lest;lesen;\r\n:las;..." ending in "\r\n\r\n"
//   FullFormsOutputPath("list.txt");   // "list.txf"
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"

// The input or output stream failed; the reason is in the system error code.
struct EFullFormsIoError : std::runtime_error {
  EFullFormsIoError(const char* message, int systemError)
      : std::runtime_error(message), SystemError(systemError) {}
  int SystemError;  // errno when the stream failed, 0 when unknown
};

// The companion file of an input list: extension replaced by ".txf", appended when none.
std::filesystem::path FullFormsOutputPath(const std::filesystem::path& input);

// True when the bytes should be read as UTF-8: valid UTF-8 holding at least one non-ASCII
// byte. A pure ASCII list reads the same either way and stays Windows-1252.
bool IsUtf8List(std::string_view bytes);

// Strips a list line of trailing, then leading blanks (a CR left by CR LF counts as the line
// end); false for an empty line or a comment ("*" or ";" first).
bool CleanListLine(std::string& line);

// The record of one infinitive (8-bit, lines ended by CR LF, the empty line included).
// Analyses line on verb; an analysis that is not unique adds the "nicht eindeutig" line first.
std::string FullFormRecord(TVerbGen& verb, const std::string& line);

// The bytes of one record from one cleaned list line (8-bit); it owns or refers to the verb
// object it works on. TxfRecords gives the .txf one; another output format plugs in its own.
using TRecordProducer = std::function<std::string(const std::string& line)>;
TRecordProducer TxfRecords(TVerbGen& verb);
// Told the count of records written so far.
using TFullFormsProgress = std::function<void(int count)>;

struct TFullFormsRun {
  bool inputUtf8 = false;   // the list is UTF-8 and is converted for the engine
  bool outputUtf8 = false;  // the records are written in UTF-8 instead of Windows-1252
  int jobs = 1;             // threads making records; the output keeps the list order
  // The producer of each further thread, on a verb object of its own prepared like the
  // caller's (orthography, error handler); the verb lists are shared. Needed for jobs > 1.
  std::function<TRecordProducer()> makeProducer;
  // Called with the count after each record (one job) or block of records (more): a window
  // keeps answering there, and may show progress, between two verbs.
  TFullFormsProgress afterRecord;
};

// Writes each line's record of the list (its bytes) from produce to out in the order of the
// list, flushing at least every 64 KiB and at the end, so the output holds the records
// written before a failure. With more than one job, produce runs on the last line again at
// the end, so its verb object is left analysed with it as after one job. Returns the number
// of infinitives processed. Throws EFullFormsIoError when a stream fails, and what a producer
// throws.
int WriteFullForms(const TRecordProducer& produce, std::string list, std::ostream& out,
                   const TFullFormsRun& run);
// The same with the list read whole from in first.
int WriteFullForms(const TRecordProducer& produce, std::istream& in, std::ostream& out,
                   const TFullFormsRun& run);
// The .txf records on one thread.
int WriteFullForms(TVerbGen& verb, std::istream& in, std::ostream& out, bool inputUtf8,
                   bool outputUtf8, const TFullFormsProgress& afterRecord = {});

// The closing message: the count, " Verben verarbeitet", a line break, the output path and
// " erstellt." (UTF-8; the path as given); without a path (the records went to standard
// output) the first line alone.
std::string FullFormsMessage(int count, std::string_view outputPath);
