// SPDX-License-Identifier: MIT
// From an inflected form back to its verb: which infinitives a form belongs to and which forms
// it is. Analysis by synthesis: candidate infinitives are proposed from the form (the strong
// forms of the listed verbs, the regular endings, ge- and zu-, prefixes, a separated particle,
// a reflexive pronoun, an auxiliary), each is conjugated by the engine, and only those whose
// forms contain the input are kept.
//
//   TLookupResult r = LookupForm(u"zog an", NeuOrtho);
//   r.hits[0].infinitive == u"anziehen";
//   LookupLine(r.hits[0]);  // u"anziehen: Präteritum Indikativ, 1. und 3. Person Singular (...)"
//   LookupJson(u"ging", NeuOrtho);  // [{"infinitive":"gehen","listed":true,"forms":[...]}]
//
// May be called from several threads at once; each thread keeps its own verb objects.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/_ZTVerb.h"

enum class TLookupTense {
  praesens,
  praeteritum,
  perfekt,
  plusquamperfekt,
  futur1,
  infinitiv,
  zuInfinitiv,
  partizip1,
  partizip2,
  imperativ
};

struct TLookupForm {
  TLookupTense tense = TLookupTense::infinitiv;
  bool konjunktiv = false;
  int person = 0;  // 1..3 for finite forms, 0 otherwise
  bool plural = false;
  bool subordinate = false;  // only the joined subordinate-clause form ("anzog")
  bool passive = false;      // "wird gelesen"
  std::u16string shown;      // the form with its pronoun, as the line shows it ("ich ging")
};

struct TLookupHit {
  std::u16string infinitive;  // as the engine takes it: "über'setzen", "down/loaden"
  bool listed = false;        // the verb has an entry in the verb lists
  std::vector<TLookupForm> forms;
};

struct TLookupResult {
  std::u16string input;
  std::u16string error;  // the German message for an input that cannot be a form
  std::vector<TLookupHit> hits;
};

// Longer inputs are refused as the page refuses them.
TLookupResult LookupForm(std::u16string_view form, TOrthoTyp ortho);

// The tense's name in the JSON: "praeteritum", "zu-infinitiv", ...
std::string_view LookupTenseKey(TLookupTense tense);

// "gehen: Präteritum Indikativ, 1. und 3. Person Singular (ich ging, er ging)".
std::u16string LookupLine(const TLookupHit& hit);
// What the forms are, without the mood of the indicative and the examples:
// "Präteritum, 1. und 3. Person Singular".
std::u16string LookupFormsSummary(const TLookupHit& hit);

// The hits as a JSON array (UTF-8, one line), schema/lookup.schema.json; {"error": message}
// for a refused input.
std::string LookupResultJson(const TLookupResult& result);
// What a lookup came to, for a front end's status: an HTTP answer of 200 for found and
// notFound (an empty list), the API's refusal of a bad query for badInput.
enum class TLookupStatus { found, notFound, badInput };
TLookupStatus LookupStatus(const TLookupResult& result);
// The body of the API's answer; *status, when given, tells what it came to.
std::string LookupJson(std::u16string_view form, TOrthoTyp ortho, TLookupStatus* status = nullptr);

// The hint of the page and the window, one paragraph with its CR LF, empty when there is
// none: for a rejected input that is a form, "„ging“ ist eine Form von gehen (...)."; for an
// accepted infinitive that is also a form of a listed verb, "„lasen“ ist auch eine Form von
// lesen.". Each infinitive links to its page.
std::u16string LookupHintHtml(std::u16string_view input, TOrthoTyp ortho, bool rejected);

// The size of the index of the listed verbs' strong forms (built on first use): entries and
// bytes, for the benchmark's note.
struct TLookupIndexSize {
  std::size_t keys = 0;
  std::size_t bytes = 0;
};
TLookupIndexSize LookupIndexSize();
// Builds the index anew (the benchmark times it).
void RebuildLookupIndex();
