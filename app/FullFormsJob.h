// SPDX-License-Identifier: MIT
// The whole full-form job on files, as the command line and the window run it: reads the
// list, refuses an output that is the input itself, replaces an old output, writes the
// records (.txf or JSON Lines) on one thread or several, and tells what came of it. The front
// ends keep their own arguments, dialogs and messages.
//
//   TFullFormsJob job;
//   job.input = "verbs.txt";                 // "-": standard input to standard output
//   job.json = true;  job.jobs = 2;
//   const TFullFormsResult r = RunFullFormsFile(job);
//   if (!r.ok()) ...r.failedPath, SystemErrorText(r.systemError)...
//   FullFormsMessage(r.count, r.output.string());
#pragma once

#include <filesystem>
#include <functional>

#include "app/FullForms.h"
#include "engine/_ZTVerb.h"

struct TFullFormsJob {
  std::filesystem::path input;  // "-": standard input, and the records to standard output
  TOrthoTyp ortho = NeuOrtho;
  bool outputUtf8 = false;  // .txf records in UTF-8 instead of Windows-1252
  bool json = false;        // JSON Lines into the ".jsonl" companion instead of the .txf
  int jobs = 1;             // threads making records; the output keeps the list order
  // The .txf records of one job on this verb object (the window's own, left analysed with the
  // last line); null: on one of the job's own, prepared in `ortho`.
  TVerbGen* verb = nullptr;
};

struct TFullFormsResult {
  enum class TFailure { none, sameFile, read, write };
  TFailure failure = TFailure::none;
  int count = 0;                     // infinitives written
  std::filesystem::path output;      // "-" for standard output
  std::filesystem::path failedPath;  // the file that failed
  int systemError = 0;               // errno of the failure (read, write)
  bool ok() const { return failure == TFailure::none; }
};

// Told the count of records written so far and the share of the list's bytes they came from
// (0 to 1); it may throw to stop the run, which leaves the records written so far.
using TFullFormsJobProgress = std::function<void(int count, double share)>;

// Runs the job. Throws what the progress callback throws, and what the engine throws.
TFullFormsResult RunFullFormsFile(const TFullFormsJob& job,
                                  const TFullFormsJobProgress& progress = {});
