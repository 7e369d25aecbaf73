// SPDX-License-Identifier: MIT
// `beugwerk analyse [--ortho neu|alt|ch] PHRASE...`: analyses one infinitive or phrase (the
// words joined by blanks) and prints the analysis fields, one "name: value" a line, then the
// message of a rejected input and the result. Values are UTF-8, booleans true/false. A phrase
// the engine rejects (a message) exits 1; one only left undecided exits 0.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/PhraseArgs.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"

namespace {

int Usage(std::string_view message) {
  return UsageError("analyse", message,
                    "beugwerk analyse [--ortho neu|alt|ch] [--verb-lists PATH] PHRASE...");
}

std::string_view HabSeinName(habseityp h) {
  switch (h) {
    case haben:
      return "haben";
    case sein:
      return "sein";
    case habensein:
      return "habensein";
    default:
      return "unspe";
  }
}

void Line(std::string_view name, std::string_view value) {
  std::cout << name << ": " << value << "\n";
}
void Text(std::string_view name, std::string_view latin1) {
  Line(name, Latin1ToUtf8(latin1));
}
void Flag(std::string_view name, bool b) {
  Line(name, b ? "true" : "false");
}
void Number(std::string_view name, long long n) {
  Line(name, std::to_string(n));
}

void PrintFields(const TVerbGen& v) {
  Text("infin", v.infin);
  Text("stamm", v.stamm);
  Text("praef", v.praef);
  Text("stressMarker", v.stressMarker);
  Flag("refl", v.refl);
  Flag("auchunrefl", v.auchunrefl);
  Text("refKasus", std::string(1, v.refKasus));
  Text("refPraep", v.refPraep);
  Flag("transitiv", v.transitiv);
  Flag("ESverb", v.ESverb);
  Flag("NurPlural", v.NurPlural());
  Number("einanderpos", v.einanderpos);
  Flag("_eln", v._eln);
  Flag("_ern", v._ern);
  Flag("_igen", v._igen);
  Flag("_lichen", v._lichen);
  Number("BasisLen", v.BasisLen);
  Number("GEpos", v.GEpos);
  Number("fuegstelle", v.fuegstelle);
  Text("stammvokal", v.stammvokal);
  Number("vpos", v.vpos);
  Flag("stammvokalLang", v.stammvokalLang);
  Line("habsein", HabSeinName(v.habsein()));
  Text("unRegel", v.unRegel != nullptr ? v.unRegel->uStamm : "-");
  Flag("regelsperre", v.regelsperre);
  Number("UnterdrueckteFormen", v.UnterdrueckteFormen());
  Text("ausnahmeformen",
       v.ausnahmeformen[1] + "|" + v.ausnahmeformen[2] + "|" + v.ausnahmeformen[3]);
  Flag("ohneUnterschiedMeldung", v.ohneUnterschiedMeldung);
}

}  // namespace

int RunAnalyse(const TGlobalOptions& o, const std::vector<std::string>& args) {
  const TPhraseArgs parsed = ParsePhraseArgs(args, false);
  if (!parsed.error.empty()) return Usage(parsed.error);
  const std::string& phrase = parsed.phrase;
  if (phrase.empty()) return Usage("no PHRASE given");
  if (int rc = UseVerbLists(o, "analyse")) return rc;
  try {
    TVerbGen verb;
    verb.SetOrthoTyp(o.ortho);
    std::u16string message;
    verb.SetOnErrMsg([&message](const std::u16string& m) { message = m; });
    bool result = verb.newVerb(Utf8ToUni(phrase), unsp);
    PrintFields(verb);
    if (!message.empty()) Line("message", UniToUtf8(message));
    Flag("result", result);
    return message.empty() ? kExitDone : kExitRejected;
  } catch (const std::exception& e) {
    return FileError("analyse", e.what());
  }
}
