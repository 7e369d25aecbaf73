// SPDX-License-Identifier: MIT
// The Python module beugwerk._beugwerk: one function per entry of the library, each returning
// the JSON's data as Python objects (same keys, same structure); the library's failures become
// beugwerk.Error once, here. The GIL is released while the engine works.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/Lookup.h"
#include "python/Engine.h"
#include "python/JsonToPython.h"

#ifndef BEUGWERK_VERSION
#define BEUGWERK_VERSION "0.0.0"
#endif

namespace py = pybind11;
using namespace beugwerk_py;

namespace {

// As many as `fullforms --jobs` takes.
constexpr int kMaxJobs = 64;
// Phrases a stream takes from its iterable at a time; two batches are in work at once, so
// the threads conjugate the next while Python builds the objects of the last.
constexpr std::size_t kBatchPhrases = 64;

TOrthoTyp Orthography(const std::string& name) {
  if (name == "neu") return NeuOrtho;
  if (name == "alt") return AltOrtho;
  if (name == "ch") return ChOrtho;
  throw EError("ortho must be \"neu\", \"alt\" or \"ch\", not \"" + name + "\"");
}

std::u16string Phrase(py::handle phrase) {
  if (!PyUnicode_Check(phrase.ptr()))
    throw py::type_error("a phrase must be str, not " +
                         std::string(Py_TYPE(phrase.ptr())->tp_name));
  Py_ssize_t size = 0;
  const char* utf8 = PyUnicode_AsUTF8AndSize(phrase.ptr(), &size);
  if (utf8 == nullptr) {
    PyErr_Clear();  // a lone surrogate: not text the engine could read
    throw EError("the phrase is not valid text (a lone surrogate)");
  }
  return Utf8ToUni(std::string_view(utf8, static_cast<std::size_t>(size)));
}

// The library's JSON of a text, made and read into events without the GIL; only the objects
// are made with it.
template <class MakeJson>
py::object FromJson(py::handle text, const std::string& ortho, MakeJson makeJson) {
  const std::u16string t = Phrase(text);
  const TOrthoTyp o = Orthography(ortho);
  TJsonEvents events;
  {
    py::gil_scoped_release released;
    events = TJsonEvents(makeJson(t, o));
  }
  return JsonToPython(events);
}

py::object Conjugate(py::handle phrase, const std::string& ortho) {
  return FromJson(phrase, ortho,
                  [](const std::u16string& p, TOrthoTyp o) { return PhraseJson(p, o); });
}

py::object Lookup(py::handle form, const std::string& ortho) {
  return FromJson(form, ortho,
                  [](const std::u16string& f, TOrthoTyp o) { return LookupJson(f, o); });
}

std::string Table(py::handle phrase, const std::string& ortho) {
  const std::u16string p = Phrase(phrase);
  const TOrthoTyp o = Orthography(ortho);
  py::gil_scoped_release released;
  return PhraseText(p, o);
}

void SetVerbLists(const std::optional<std::filesystem::path>& path) {
  py::gil_scoped_release released;
  UseVerbLists(path.value_or(std::filesystem::path()));
}

// The iterator conjugate_many returns: takes phrases from its iterable in batches, lets a
// TJsonStream conjugate them and yields the objects in order. What the iterable raises, or a
// phrase that is no str, is raised after the objects of the phrases before it.
class TConjugations {
 public:
  TConjugations(py::iterator source, TOrthoTyp ortho, int jobs)
      : source_(std::move(source)), stream_(ortho, jobs) {}

  py::object Next() {
    if (busy_) throw py::value_error("generator already executing");
    busy_ = true;
    struct TIdle {
      bool& busy;
      ~TIdle() { busy = false; }
    } idle{busy_};
    while (!done_ && at_ == ready_.size()) {
      if (!Refill()) {
        done_ = true;
        if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
      }
    }
    if (done_) throw py::stop_iteration();
    TJsonResult& r = ready_[at_++];
    // An engine fault ends the stream, as an exception ends a generator.
    if (!r.error.empty()) {
      done_ = true;
      throw EError(r.error);
    }
    return JsonToPython(r.events);
  }

 private:
  bool Refill() {
    while (!ended_ && stream_.Pending() < 2) SubmitBatch();
    if (stream_.Pending() == 0) return false;
    py::gil_scoped_release released;
    ready_ = stream_.Take();
    at_ = 0;
    return true;
  }

  void SubmitBatch() {
    std::vector<std::u16string> phrases;
    phrases.reserve(kBatchPhrases);
    try {
      while (phrases.size() < kBatchPhrases) {
        PyObject* item = PyIter_Next(source_.ptr());
        if (item == nullptr) {
          if (PyErr_Occurred()) throw py::error_already_set();
          ended_ = true;
          break;
        }
        phrases.push_back(Phrase(py::reinterpret_steal<py::object>(item)));
      }
    } catch (...) {
      failure_ = std::current_exception();
      ended_ = true;
    }
    if (!phrases.empty()) stream_.Submit(std::move(phrases));
  }

  py::iterator source_;
  TJsonStream stream_;
  std::vector<TJsonResult> ready_;
  std::size_t at_ = 0;
  bool ended_ = false;  // nothing more is taken from the iterable
  bool done_ = false;   // nothing more is yielded
  bool busy_ = false;
  std::exception_ptr failure_;
};

TConjugations* ConjugateMany(py::handle phrases, const std::string& ortho, int jobs) {
  const TOrthoTyp o = Orthography(ortho);
  if (jobs < 1 || jobs > kMaxJobs) throw EError("jobs must be from 1 to 64");
  return new TConjugations(py::iter(phrases), o, jobs);
}

}  // namespace

PYBIND11_MODULE(_beugwerk, m) {
  m.doc() = "The conjugation of German verbs; see the package beugwerk.";
  m.attr("__version__") = BEUGWERK_VERSION;
  py::object error = py::register_exception<EError>(m, "Error");
  error.attr("__module__") = "beugwerk";  // raised and caught as beugwerk.Error
  error.doc() =
      "A failure of the library, with its German message: verb lists that cannot be read, a\n"
      "bad argument value (an unknown orthography, a phrase that is not text).\n\n"
      ">>> beugwerk.set_verb_lists('/nonexistent')\n"
      "Traceback (most recent call last):\n"
      "  ...\n"
      "beugwerk.Error: Verblistendatei nicht gefunden: /nonexistent\n";

  m.def("conjugate", &Conjugate, py::arg("phrase"), py::arg("ortho") = "neu",
        R"(The whole conjugation of an infinitive or infinitive phrase as a dict.

The same structure and keys as `beugwerk --json` (schema/conjugation.schema.json): input,
orthography, decided, readings, analysis, meaningNote, nonFinite and the eight tenses with
six persons each. A rejected or blank phrase gives {"input": ..., "error": "<German message>"}.
The input markers of the command line work: "über'setzen", "an/fangen", "sich3 ...", "3 regnen".
ortho is "neu" (after the spelling reform), "alt" (before it) or "ch" (Swiss).

>>> c = beugwerk.conjugate("sich anziehen")
>>> c["tenses"]["praesens"][0]["main"]
'ziehe mich an'
>>> beugwerk.conjugate("müssen", ortho="alt")["tenses"]["praeteritum"][0]["main"]
'mußte'
>>> beugwerk.conjugate("xyz!")
{'input': 'xyz!', 'error': 'xyz! ist kein Infinitiv!'})");

  m.def("conjugate_many", &ConjugateMany, py::arg("phrases"), py::arg("ortho") = "neu",
        py::arg("jobs") = 1, py::return_value_policy::take_ownership,
        R"(conjugate() for every phrase of an iterable, yielded in its order.

The phrases are conjugated on `jobs` threads (1 to 64) while the dicts are made, taking up to
128 phrases from the iterable ahead of what was yielded; the results equal those of
`beugwerk fullforms --json` line for line. A phrase that is not str raises TypeError when its
turn comes.

>>> [c["nonFinite"]["partizipII"]["form"] for c in beugwerk.conjugate_many(["lesen", "gehen"])]
['gelesen', 'gegangen'])");

  m.def("lookup", &Lookup, py::arg("form"), py::arg("ortho") = "neu",
        R"(The verbs an inflected form belongs to, as `beugwerk lookup --json` prints them.

A list of dicts (schema/lookup.schema.json), listed verbs first, empty when the form is no
form of any verb; an input that cannot be a form gives {"error": message}.

>>> beugwerk.lookup("zog an")[0]["infinitive"]
'anziehen'
)");
  m.def("table", &Table, py::arg("phrase"), py::arg("ortho") = "neu",
        R"(The conjugation table as `beugwerk PHRASE` prints it, one str with line breaks.

A rejected or blank phrase raises beugwerk.Error with the engine's message.

>>> print(beugwerk.table("lesen").splitlines()[0])
Infinitiv I:          lesen)");

  m.def("set_verb_lists", &SetVerbLists, py::arg("path"),
        R"(Use the verb lists file at path from now on; None goes back to the default search.

The default: $BEUGWERK_VERBLISTS, Beugwerk.VLX in the viewer program's folder, the installed
file, then the copy built into the module. Waits for conjugations in work; raises
beugwerk.Error (the lists in use stay) when the file is missing or cannot be read.

>>> beugwerk.set_verb_lists("data/Beugwerk.VLX")
>>> beugwerk.set_verb_lists(None))");

  // lookup(form), the forms' way back to their verbs, joins here once the library has it.

  py::class_<TConjugations>(m, "Conjugations",
                            "The iterator of conjugate_many: yields one dict per phrase, in order.")
      .def("__iter__", [](py::object self) { return self; })
      .def("__next__", &TConjugations::Next);
}
