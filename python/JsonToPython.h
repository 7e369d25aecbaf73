// SPDX-License-Identifier: MIT
// The events of a JSON text as Python objects, as json.loads gives them: objects as dicts in
// member order, arrays as lists, null as None. The library's objects repeat a few dozen keys
// thousands of times: each key is made once and shared.
//
//   TJsonEvents events(PhraseJson(u"lesen", NeuOrtho));   // without the GIL
//   pybind11::object conjugation = JsonToPython(events);  // with it
#pragma once

#include <pybind11/pybind11.h>

#include "python/JsonEvents.h"

namespace beugwerk_py {

// Needs the GIL; throws pybind11::error_already_set when Python fails (memory).
pybind11::object JsonToPython(const TJsonEvents& events);

}  // namespace beugwerk_py
