// SPDX-License-Identifier: MIT
#include "app/FullFormsJson.h"

#include <cerrno>
#include <istream>
#include <ostream>

#include "app/FullForms.h"
#include "common/_ZT_cmn_A.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

void CheckStream(const std::ios& stream, const char* message) {
  if (stream.bad() || (stream.fail() && !stream.eof())) throw EFullFormsIoError(message, errno);
}

}  // namespace

std::filesystem::path FullFormsJsonPath(const std::filesystem::path& input) {
  std::filesystem::path out = input;
  out.replace_extension(".jsonl");
  return out;
}

std::string FullFormJsonLine(TVerbGenerator& g, const std::string& line) {
  const std::u16string phrase = Latin1ToUni(line);
  // The auxiliary of this phrase first, as the page does; Conjugate analyses again.
  g.Verb.ErrMsg.clear();
  g.Verb.newVerb(phrase, unsp);
  g.VerbHabenSein.newVerb(g.Verb.FHabsei);
  return ConjugationJson(g.Conjugate(phrase)) + "\n";
}

int WriteFullFormsJson(TVerbGenerator& g, std::istream& in, std::ostream& out, bool inputUtf8) {
  int count = 0;
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    if (inputUtf8) {
      if (first && line.starts_with(kUtf8Bom)) line.erase(0, kUtf8Bom.size());
      line = Utf8ToLatin1(line);
    }
    first = false;
    if (!CleanListLine(line)) continue;
    ++count;
    out << FullFormJsonLine(g, line);
    out.flush();
    CheckStream(out, "Die Ausgabe kann nicht geschrieben werden.");
  }
  CheckStream(in, "Die Liste kann nicht gelesen werden.");
  return count;
}
