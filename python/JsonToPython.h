// SPDX-License-Identifier: MIT
// A JSON text as Python objects, as json.loads gives them (objects as dicts in member order,
// arrays as lists, null as None), built straight from RapidJSON's events without a document in
// between. The library's objects repeat a few dozen keys thousands of times: each key is made
// once and shared. Needs the GIL.
//
//   std::string text = PhraseJson(u"lesen", NeuOrtho);
//   pybind11::object conjugation = JsonToPython(text);   // text is parsed in place
#pragma once

#include <pybind11/pybind11.h>

#include <string>

namespace beugwerk_py {

// Throws pybind11::error_already_set when Python fails (memory) and EError when the text is
// not JSON. Overwrites text: the strings are read in place.
pybind11::object JsonToPython(std::string& text);

}  // namespace beugwerk_py
