// SPDX-License-Identifier: MIT
// A JSON text read ahead into a flat list of events (RapidJSON's reader, in place), with no
// Python in it: the threads that make a conjugation's text read it too, and only turning the
// events into objects (JsonToPython.h) needs the GIL. Strings whose characters all fit in one
// byte, as every form does, are decoded to Latin-1 here, so that step only copies bytes.
//
//   TJsonEvents events(PhraseJson(u"lesen", NeuOrtho));
//   events.Events()[0].kind;   // TJsonEvents::TKind::Object
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace beugwerk_py {

class TJsonEvents {
 public:
  enum class TKind : std::uint8_t {
    Null,
    False,
    True,
    Int,
    Double,
    Latin1,  // a string of one-byte characters: Bytes()
    Utf8,    // any other string: Utf8()
    Key,     // a member name: Bytes(), or Utf8() when `widest` is 0
    Object,
    Array,  // `size`: its number of elements
    End,    // of the innermost object or array
  };
  struct TEvent {
    TKind kind;
    // 0x7F: ASCII, left in the text; 0xFF: Latin-1, decoded aside; 0: UTF-8 in the text.
    std::uint16_t widest = 0;
    std::uint32_t at = 0;    // strings: where in Bytes() or Utf8()
    std::uint32_t size = 0;  // strings: bytes; arrays: elements
    union {
      std::int64_t integer;
      double real;
    } number{0};
  };

  TJsonEvents() = default;
  // Throws EError (Engine.h) when the text is not JSON.
  explicit TJsonEvents(std::string text);

  const std::vector<TEvent>& Events() const { return events_; }
  // One byte per character.
  std::string_view Bytes(const TEvent& e) const {
    return std::string_view(e.widest == 0xFF ? bytes_ : text_).substr(e.at, e.size);
  }
  std::string_view Utf8(const TEvent& e) const {
    return std::string_view(text_).substr(e.at, e.size);
  }

 private:
  friend class TEventRecorder;
  std::string text_;   // parsed in place: the strings are unescaped where they stood
  std::string bytes_;  // the Latin-1 strings that are not ASCII, one after another
  std::vector<TEvent> events_;
};

}  // namespace beugwerk_py
