// SPDX-License-Identifier: MIT
#include "app/FullForms.h"

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

using TNonFiniteBuilder = std::string (TVerbGen::*)(int);

constexpr TFiniteTense kTenses[] = {ftPraesens, ftPraeteritum, ftKonjunktivG, ftKonjunktivV};

struct TNonFinite {
  TNonFiniteBuilder build;
  int nr;
};
// Infinitiv II, Partizip I, Partizip II, singular imperative.
constexpr TNonFinite kNonFinites[] = {{&TVerbGen::InfinitivA, 2},
                                      {&TVerbGen::PartizipA, 1},
                                      {&TVerbGen::PartizipA, 2},
                                      {&TVerbGen::ImperativA, 1}};

constexpr std::string_view kCrLf = "\r\n";

// "sub/alt,main;": the subordinate form only where it differs, the alternative only where
// there is one. Form2 belongs to the main-clause form; both come from one request, which
// answers as the subordinate and then the main-clause request would.
void AppendFiniteEntry(std::string& record, TVerbGen& verb, TFiniteTense tense, int person) {
  std::string sub;
  std::string main = verb.BothClausesA(tense, person, sub);
  const std::string& alt = verb.Form2;
  TrimTrailingBlanks(main);
  if (sub != main) record.append(sub).push_back('/');
  if (!alt.empty()) record.append(alt).push_back(',');
  record.append(main).push_back(';');
}

void AppendNonFiniteEntry(std::string& record, TVerbGen& verb, const TNonFinite& form) {
  const std::string f = (verb.*form.build)(form.nr);
  if (!verb.Form2.empty()) record.append(verb.Form2).push_back(',');
  record.append(f).push_back(';');
}

// A failed analysis without an error handler raises; the record treats it like any other
// analysis that is not unique.
bool Analyse(TVerbGen& verb, const std::string& line) {
  try {
    return verb.newVerbA(line, unsp);
  } catch (const EVerbGenError&) {
    return false;
  }
}

}  // namespace

std::filesystem::path FullFormsOutputPath(const std::filesystem::path& input) {
  std::filesystem::path out = input;
  out.replace_extension(".txf");
  return out;
}

bool IsUtf8List(std::string_view bytes) {
  if (!IsPlausibleUtf8(bytes)) return false;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

bool CleanListLine(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  TrimTrailingBlanks(line);
  TrimLeadingBlanks(line);
  return !line.empty() && line.front() != '*' && line.front() != ';';
}

std::string FullFormRecord(TVerbGen& verb, const std::string& line) {
  std::string record;
  record.reserve(1024);
  if (!Analyse(verb, line)) {
    record.append("* ").append(line);
    record.append(" nicht eindeutig bzgl. Betonung, Abtrennbarkeit, ge-Einf\xFCgung!");
    record.append(kCrLf);
  }
  record.append("> ").append(line).append(kCrLf);
  for (TFiniteTense tense : kTenses) {
    record.push_back(':');
    for (int person = 1; person <= 6; ++person) AppendFiniteEntry(record, verb, tense, person);
    record.append(kCrLf);
  }
  record.push_back(':');
  for (const TNonFinite& form : kNonFinites) AppendNonFiniteEntry(record, verb, form);
  record.append(kCrLf).append(kCrLf);
  return record;
}

TRecordProducer TxfRecords(TVerbGen& verb) {
  return [&verb](const std::string& line) { return FullFormRecord(verb, line); };
}

std::string FullFormsMessage(int count, std::string_view outputPath) {
  // The window shows a CR between the two lines; a terminal wants a line feed.
  std::string message = std::to_string(count);
  message.append(" Verben verarbeitet");
  if (!outputPath.empty()) message.append("\n").append(outputPath).append(" erstellt.");
  return message;
}
