// SPDX-License-Identifier: MIT
#include "python/JsonToPython.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "python/Engine.h"

namespace beugwerk_py {

namespace {

// Keys made once, for the life of the module; the library's JSON has about forty. Open
// addressing over a power of two; a key that finds the table full is made each time.
class TKeyCache {
 public:
  PyObject* Get(const char* s, std::size_t n) {
    const std::string_view key(s, n);
    std::size_t slot = Hash(key) & (kSlots - 1);
    for (std::size_t probes = 0; probes < kSlots; ++probes, slot = (slot + 1) & (kSlots - 1)) {
      TEntry& e = entries_[slot];
      if (e.object == nullptr) {
        e.object = PyUnicode_FromStringAndSize(s, static_cast<Py_ssize_t>(n));
        if (e.object == nullptr) return nullptr;
        PyUnicode_InternInPlace(&e.object);
        e.text.assign(key);
      } else if (e.text != key) {
        continue;
      }
      Py_INCREF(e.object);
      return e.object;
    }
    return PyUnicode_FromStringAndSize(s, static_cast<Py_ssize_t>(n));
  }

 private:
  static constexpr std::size_t kSlots = 256;
  struct TEntry {
    std::string text;
    PyObject* object = nullptr;
  };
  static std::size_t Hash(std::string_view s) {
    std::size_t h = s.size();
    for (char c : s) h = h * 31 + static_cast<unsigned char>(c);
    return h;
  }
  std::array<TEntry, kSlots> entries_;
};

TKeyCache& Keys() {
  static TKeyCache* keys = new TKeyCache;  // holds references: never freed
  return *keys;
}

// The containers being filled are borrowed: each is held by its parent, the outermost by root_.
class TBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TBuilder> {
 public:
  ~TBuilder() {
    Py_XDECREF(key_);
    Py_XDECREF(root_);
  }
  PyObject* Release() {
    PyObject* r = root_;
    root_ = nullptr;
    return r;
  }

  bool Null() {
    Py_INCREF(Py_None);
    return Add(Py_None);
  }
  bool Bool(bool b) { return Add(PyBool_FromLong(b)); }
  bool Int(int i) { return Add(PyLong_FromLong(i)); }
  bool Uint(unsigned u) { return Add(PyLong_FromUnsignedLong(u)); }
  bool Int64(std::int64_t i) { return Add(PyLong_FromLongLong(i)); }
  bool Uint64(std::uint64_t u) { return Add(PyLong_FromUnsignedLongLong(u)); }
  bool Double(double d) { return Add(PyFloat_FromDouble(d)); }
  bool String(const char* s, rapidjson::SizeType n, bool) {
    return Add(PyUnicode_DecodeUTF8(s, static_cast<Py_ssize_t>(n), nullptr));
  }
  bool Key(const char* s, rapidjson::SizeType n, bool) {
    Py_XDECREF(key_);
    key_ = Keys().Get(s, n);
    return key_ != nullptr;
  }
  bool StartObject() { return Open(PyDict_New()); }
  bool EndObject(rapidjson::SizeType) { return Close(); }
  bool StartArray() { return Open(PyList_New(0)); }
  bool EndArray(rapidjson::SizeType) { return Close(); }

 private:
  // Takes the reference to value.
  bool Add(PyObject* value) {
    if (value == nullptr) return false;
    if (open_.empty()) {
      Py_XDECREF(root_);
      root_ = value;
      return true;
    }
    PyObject* parent = open_.back();
    const int rc = PyDict_Check(parent) ? PyDict_SetItem(parent, key_, value)
                                        : PyList_Append(parent, value);
    Py_DECREF(value);
    return rc == 0;
  }
  bool Open(PyObject* container) {
    if (container == nullptr) return false;
    Py_INCREF(container);  // Add gives one reference away
    if (!Add(container)) {
      Py_DECREF(container);
      return false;
    }
    open_.push_back(container);
    Py_DECREF(container);  // its parent or root_ holds it now
    return true;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }

  std::vector<PyObject*> open_;
  PyObject* key_ = nullptr;
  PyObject* root_ = nullptr;
};

}  // namespace

pybind11::object JsonToPython(std::string& text) {
  TBuilder builder;
  rapidjson::InsituStringStream in(text.data());
  rapidjson::Reader reader;
  const rapidjson::ParseResult ok = reader.Parse<rapidjson::kParseInsituFlag>(in, builder);
  if (PyErr_Occurred()) throw pybind11::error_already_set();
  if (!ok)
    throw EError(std::string("JSON: ") + rapidjson::GetParseError_En(ok.Code()) + " at " +
                 std::to_string(ok.Offset()));
  return pybind11::reinterpret_steal<pybind11::object>(builder.Release());
}

}  // namespace beugwerk_py
