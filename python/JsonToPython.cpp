// SPDX-License-Identifier: MIT
#include "python/JsonToPython.h"

#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace beugwerk_py {

using TKind = TJsonEvents::TKind;
using TEvent = TJsonEvents::TEvent;

namespace {

// Keys made once, for the life of the module; the library's JSON has about forty. Open
// addressing over a power of two; a key that finds the table full is made each time.
class TKeyCache {
 public:
  // A new reference.
  PyObject* Get(std::string_view key, PyObject* (*make)(std::string_view)) {
    std::size_t slot = Hash(key) & (kSlots - 1);
    for (std::size_t probes = 0; probes < kSlots; ++probes, slot = (slot + 1) & (kSlots - 1)) {
      TEntry& e = entries_[slot];
      if (e.object == nullptr) {
        e.object = make(key);
        if (e.object == nullptr) return nullptr;
        PyUnicode_InternInPlace(&e.object);
        e.text.assign(key);
      } else if (e.text != key) {
        continue;
      }
      Py_INCREF(e.object);
      return e.object;
    }
    return make(key);
  }

 private:
  static constexpr std::size_t kSlots = 256;
  struct TEntry {
    std::string text;
    PyObject* object = nullptr;
  };
  // The library's keys differ enough in length and first and last letters.
  static std::size_t Hash(std::string_view s) {
    if (s.empty()) return 0;
    return s.size() * 131 + static_cast<unsigned char>(s.front()) * 31 +
           static_cast<unsigned char>(s.back());
  }
  std::array<TEntry, kSlots> entries_;
};

TKeyCache& Keys() {
  static TKeyCache* keys = new TKeyCache;  // holds references: never freed
  return *keys;
}

PyObject* Latin1Object(std::string_view bytes, Py_UCS4 widest) {
  PyObject* s = PyUnicode_New(static_cast<Py_ssize_t>(bytes.size()), widest);
  if (s != nullptr && !bytes.empty())
    std::memcpy(PyUnicode_1BYTE_DATA(s), bytes.data(), bytes.size());
  return s;
}
PyObject* Latin1Key(std::string_view bytes) {
  return PyUnicode_DecodeLatin1(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), nullptr);
}
PyObject* Utf8Object(std::string_view utf8) {
  return PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), nullptr);
}

// The containers being filled are borrowed: each is held by its parent, the outermost by root_.
class TObjectBuilder {
 public:
  ~TObjectBuilder() {
    Py_XDECREF(key_);
    Py_XDECREF(root_);
  }
  PyObject* Release() { return std::exchange(root_, nullptr); }

  void SetKey(PyObject* key) {
    Py_XDECREF(key_);
    key_ = key;
  }
  // Takes the reference to value (null: Python failed, reported as false).
  bool Add(PyObject* value) {
    if (value == nullptr) return false;
    if (open_.empty()) {
      Py_XDECREF(root_);
      root_ = value;
      return true;
    }
    TOpen& parent = open_.back();
    if (parent.list) {
      PyList_SET_ITEM(parent.container, parent.next++, value);
      return true;
    }
    const int rc = PyDict_SetItem(parent.container, key_, value);
    Py_DECREF(value);
    return rc == 0;
  }
  bool Open(PyObject* container, bool list) {
    if (container == nullptr) return false;
    Py_INCREF(container);  // Add gives one reference away
    if (!Add(container)) {
      Py_DECREF(container);
      return false;
    }
    open_.push_back({container, list, 0});
    Py_DECREF(container);  // its parent or root_ holds it now
    return true;
  }
  void Close() { open_.pop_back(); }

 private:
  struct TOpen {
    PyObject* container;
    bool list;
    Py_ssize_t next;  // a list is made at its full size and filled in place
  };
  std::vector<TOpen> open_;
  PyObject* key_ = nullptr;
  PyObject* root_ = nullptr;
};

}  // namespace

pybind11::object JsonToPython(const TJsonEvents& events) {
  TObjectBuilder b;
  bool ok = true;
  for (const TEvent& e : events.Events()) {
    switch (e.kind) {
      case TKind::Null:
        Py_INCREF(Py_None);
        ok = b.Add(Py_None);
        break;
      case TKind::False:
      case TKind::True:
        ok = b.Add(PyBool_FromLong(e.kind == TKind::True));
        break;
      case TKind::Int:
        ok = b.Add(PyLong_FromLongLong(e.number.integer));
        break;
      case TKind::Double:
        ok = b.Add(PyFloat_FromDouble(e.number.real));
        break;
      case TKind::Latin1:
        ok = b.Add(Latin1Object(events.Bytes(e), e.widest));
        break;
      case TKind::Utf8:
        ok = b.Add(Utf8Object(events.Utf8(e)));
        break;
      case TKind::Key: {
        PyObject* key =
            e.widest == 0 ? Utf8Object(events.Utf8(e)) : Keys().Get(events.Bytes(e), Latin1Key);
        ok = key != nullptr;
        b.SetKey(key);
        break;
      }
      case TKind::Object:
        ok = b.Open(PyDict_New(), false);
        break;
      case TKind::Array:
        ok = b.Open(PyList_New(e.size), true);
        break;
      case TKind::End:
        b.Close();
        break;
    }
    if (!ok) throw pybind11::error_already_set();
  }
  return pybind11::reinterpret_steal<pybind11::object>(b.Release());
}

}  // namespace beugwerk_py
