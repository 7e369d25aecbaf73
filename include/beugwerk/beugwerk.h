// SPDX-License-Identifier: MIT
// Beugwerk for programs: the conjugation of a German infinitive or infinitive phrase as data,
// and the way back from an inflected form to its verbs.
//
// The one stable header of the library: plain structs and two functions, UTF-8 throughout,
// nothing of the engine behind it. Link the CMake target Beugwerk::beugwerk
// (find_package(Beugwerk)) or use pkg-config's "beugwerk".
//
//   beugwerk::Conjugation c = beugwerk::Conjugate("sich anziehen");
//   c.tense(beugwerk::Tense::Praesens)[0].main.text;   // "ziehe mich an"
//   c.tense(beugwerk::Tense::Praesens)[0].sub.text;    // "mich anziehe"
//   beugwerk::ToJson(c);  // {"input":"sich anziehen",...}, schema/conjugation.schema.json
//
// Conjugate may be called from several threads at once.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace beugwerk {

// neu: after the spelling reform; alt: before it; ch: Swiss (ss for ß).
enum class Orthography { neu, alt, ch };

enum class Tense {
  Praesens,
  Praeteritum,
  Perfekt,
  Plusquamperfekt,
  FuturI,
  FuturII,
  KonjunktivI,
  KonjunktivII
};

enum class Auxiliary { haben, sein, both, undecided };

// One form without stress marks; empty text when the verb has no such form.
struct Form {
  std::string text;
  std::vector<std::string> alternatives;  // "sammele" beside "sammle"
  std::string marked;                     // the text with the input's stress marks, if it had any
  bool exists() const { return !text.empty(); }
};

// One person of a tense, without pronoun: main clause ("ziehe mich an") and subordinate
// clause ("mich anziehe").
struct PersonForms {
  int person = 0;       // 1 ich, 2 du, 3 er/sie/es, 4 wir, 5 ihr, 6 sie
  std::string pronoun;  // "es" for an impersonal verb
  Form main;
  Form sub;
};

struct Analysis {
  std::string infinitive;         // Infinitiv I ("sich ein Buch ansehen")
  std::string phrase;             // words before the verb ("ein Buch")
  std::string separablePrefix;    // "an"
  std::string inseparablePrefix;  // "ver"
  bool reflexive = false;
  bool reflexiveOptional = false;  // "(mich)"
  bool reflexiveDative = false;    // "mir" rather than "mich"
  bool impersonal = false;
  bool pluralOnly = false;
  std::string conjugation;  // "weak", "strong", "mixed"; empty when there is no past form
  Auxiliary auxiliary = Auxiliary::undecided;
  bool meaningDifferences = false;
};

// A reading of a verb whose doubly usable prefix (über, um, ...) left it undecided.
struct Reading {
  std::string input;  // with the stress mark that settles it: "'übersetzen"
  bool separable = false;
  std::string gloss;  // "er setzt über"
};

enum NonFinite {
  InfinitivI,
  InfinitivII,
  PartizipI,
  PartizipII,
  ImperativSingular,
  ImperativPlural
};

struct Conjugation {
  std::string input;
  std::string error;  // the German message of a rejected input; empty otherwise
  Orthography orthography = Orthography::neu;
  bool decided = false;  // false: stress, separability or ge- left open (forms given all the same)
  std::vector<Reading> readings;
  Analysis analysis;
  std::string meaningNote;                           // "mit Bedeutungsunterschieden!" or empty
  std::array<Form, 6> nonFinite;                     // indexed by NonFinite
  std::array<std::array<PersonForms, 6>, 8> tenses;  // indexed by Tense, persons 1..6

  bool ok() const { return error.empty(); }
  const std::array<PersonForms, 6>& tense(Tense t) const {
    return tenses[static_cast<std::size_t>(t)];
  }

 private:
  friend Conjugation Conjugate(std::string_view, Orthography);
  friend std::string ToJson(const Conjugation&);
  std::string json_;  // the same conjugation as JSON, made with it
};

// The whole conjugation of a phrase (UTF-8), with the input markers of the command line and
// the page: "über'setzen", "an/fangen", "sich3 ...", "3 regnen".
Conjugation Conjugate(std::string_view phrase, Orthography orthography = Orthography::neu);

// The conjugation as one JSON object on one line (schema/conjugation.schema.json).
std::string ToJson(const Conjugation& conjugation);

// One form a lookup found, named as the JSON of `beugwerk lookup` names it
// (schema/lookup.schema.json).
struct LookupForm {
  std::string tense;         // "praesens", "praeteritum", "perfekt", "plusquamperfekt", "futur1",
                             // "infinitiv", "zu-infinitiv", "partizip1", "partizip2", "imperativ"
  std::string mood;          // "indikativ", "konjunktiv"; empty for the non-finite forms
  int person = 0;            // 1..3 for finite forms, 0 otherwise
  std::string number;        // "singular", "plural"; empty where there is none
  bool subordinate = false;  // only the joined subordinate-clause form ("anzog")
  bool passive = false;      // "wird gelesen"
  std::string text;          // the form with its pronoun: "ich ging"
};

// A verb the form belongs to.
struct LookupVerb {
  std::string infinitive;  // as Conjugate takes it: "über'setzen" names the reading
  bool listed = false;     // the verb has an entry in the verb lists
  std::vector<LookupForm> forms;
};

struct LookupResult {
  std::string input;
  std::string error;  // the German message of an input that cannot be a form; empty otherwise
  std::vector<LookupVerb> verbs;  // listed verbs first; empty when the input is no form

  bool ok() const { return error.empty(); }

 private:
  friend LookupResult Lookup(std::string_view, Orthography);
  friend std::string ToJson(const LookupResult&);
  std::string json_;
};

// From an inflected form (UTF-8: "ging", "zog an", "hat gelesen", "Ging") back to the verbs
// it belongs to and which forms it is.
//
//   beugwerk::Lookup("ging").verbs[0].infinitive;      // "gehen"
//   beugwerk::Lookup("ging").verbs[0].forms[0].text;   // "ich ging"
LookupResult Lookup(std::string_view form, Orthography orthography = Orthography::neu);

// The lookup as one JSON line (schema/lookup.schema.json).
std::string ToJson(const LookupResult& result);

// The verb lists file to use; call before the first Conjugate. By default: $BEUGWERK_VERBLISTS,
// the installed file, then the copy built into the library. A file named here or by
// $BEUGWERK_VERBLISTS that is missing, unreadable or malformed is not replaced by the built-in
// copy: every Conjugate then fails with the German message naming the file (error, not ok()).
void SetVerbListsPath(const std::string& path);

}  // namespace beugwerk
