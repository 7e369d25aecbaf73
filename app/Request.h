// SPDX-License-Identifier: MIT
// The request service for other programs, without its transport: a client pokes a request
// text into the item "BwGen" and reads the answer back from it (one form, or the list of all
// word forms of a verb); macro lines ("[INF=lesen]", "[MIN]", "[RES]", "[CLOS]") are handed to
// the owner, which drives its window. The transport (a local message channel) only moves
// texts in and out of this class.
//
//   TRequestService service;            // owns its verb object
//   service.Poke(u"G2:lesen");
//   service.ItemText();                 // u"liest"
//   service.Poke(u"[INF=lesen]");       // OnMacro gets {rm_Show, u"lesen"}; item keeps the text
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/_ZTVerb.h"

// What a macro line asks the owner to do.
enum TRequestMacro {
  rm_Show,      // set the input to the phrase, show its page, bring the window to the front
  rm_Minimize,  // minimise and hide from the task bar
  rm_Restore,   // restore and bring to the front
  rm_Close      // close the window, which ends the program
};
using TRequestMacroEvent = std::function<void(TRequestMacro macro, const std::u16string& phrase)>;

class TRequestService {
 public:
  static constexpr std::u16string_view kTopic = u"GenForm";
  static constexpr std::u16string_view kItem = u"BwGen";
  static constexpr std::u16string_view kInitialValue = u"A:gehen";
  static constexpr std::u16string_view kUnknownForm = u"** unbekannter Formname! **";
  static constexpr std::size_t kMaxPhrase = 255;  // characters an "INF=" macro passes on

  TRequestService();                         // owns a verb object of its own
  explicit TRequestService(TVerbGen& verb);  // borrows the owner's verb object
  TRequestService(const TRequestService&) = delete;
  TRequestService& operator=(const TRequestService&) = delete;

  void SetOnMacro(TRequestMacroEvent handler) { FOnMacro = std::move(handler); }

  // A client's poke: the item takes the text, then the answer replaces it (a macro line
  // leaves it as poked).
  void Poke(std::u16string_view text);
  // A client's macro execution on the topic; only the first line counts.
  void ExecuteMacro(std::u16string_view text);

  const std::vector<std::u16string>& Item() const { return FItem; }
  std::u16string ItemText() const;  // the lines joined with CR LF, no line break after the last
  // The last poke got no form: a text too short to be a request, an unknown form name, or
  // the engine's message on the verb. A front end reports it as a refused request.
  bool Refused() const { return FRefused; }

 private:
  std::u16string SingleForm(char16_t letter, char16_t digit);
  void AddWordForms(bool distinct);
  void AddLine(std::u16string line, bool isAlternative, bool distinct);
  void AddFormAndAlternative(std::u16string form, bool distinct);

  std::unique_ptr<TVerbGen> FOwnVerb;
  TVerbGen& FVerb;
  TRequestMacroEvent FOnMacro;
  std::vector<std::u16string> FItem{std::u16string(kInitialValue)};
  bool FRefused = false;
};

// The text split into lines at CR LF, CR or LF; a line break at the end opens no further line.
std::vector<std::u16string> SplitLinesW(std::u16string_view text);
