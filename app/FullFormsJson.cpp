// SPDX-License-Identifier: MIT
#include "app/FullFormsJson.h"

#include <memory>

#include "common/_ZT_cmn_A.h"

std::filesystem::path FullFormsJsonPath(const std::filesystem::path& input) {
  std::filesystem::path out = input;
  out.replace_extension(".jsonl");
  return out;
}

std::string FullFormJsonLine(TVerbGenerator& g, const std::string& line) {
  const std::u16string phrase = Latin1ToUni(line);
  std::string json = ConjugationJson(g.Conjugate(phrase, g.Verb.OrthoTyp(), TConjScope::data));
  json += '\n';  // in the writer's spare room: no copy of the record
  return json;
}

TRecordProducer JsonRecords(TVerbGenerator& g) {
  return [&g](const std::string& line) { return FullFormJsonLine(g, line); };
}

std::function<TRecordProducer()> JsonRecordMaker(TOrthoTyp ortho) {
  return [ortho] {
    auto g = std::make_shared<TVerbGenerator>();
    g->Verb.SetOrthoTyp(ortho);
    return TRecordProducer([g](const std::string& line) { return FullFormJsonLine(*g, line); });
  };
}
