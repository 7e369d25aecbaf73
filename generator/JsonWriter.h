// SPDX-License-Identifier: MIT
// The JSON writer of the generator's answers (the conjugation, the lookup, errors): UTF-16
// text escaped and encoded as UTF-8 straight into one growing buffer, the commas between
// members and elements put in by the writer.
//
//   TJsonWriter w;
//   w.BeginObject();  w.Key("input");  w.String(u"lesen");  w.EndObject();
//   w.Take();   // {"input":"lesen"}
#pragma once

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace json_detail {
// ASCII characters that stand in a JSON string as they are and are no marks.
inline constexpr std::array<bool, 128> kPlainAscii = [] {
  std::array<bool, 128> t{};
  for (int c = 0x20; c < 0x80; ++c) t[c] = c != '"' && c != '\\' && c != '\'' && c != '`';
  return t;
}();

}  // namespace json_detail

// Appends JSON text; puts the commas between members and elements itself. Strings go from
// UTF-16 straight into the output, escaped and encoded in one pass through a pointer: a
// full-form list writes hundreds of megabytes of JSON, and a temporary string or a size check
// per byte cost more than the forms.
class TJsonWriter {
 public:
  // room: the bytes the text is expected to take (a conjugation some 30 KB, an error a line).
  explicit TJsonWriter(std::size_t room = 256) : buf_(room, '\0') {}
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Keys are the program's own ASCII names: nothing in them to escape.
  void Key(std::string_view key) {
    Separate();
    char* o = Room(key.size() + 3);
    *o++ = '"';
    o = std::copy(key.begin(), key.end(), o);
    *o++ = '"';
    *o++ = ':';
    len_ += key.size() + 3;
    afterKey_ = true;
  }
  void Key(std::u16string_view key) {
    Separate();
    char* o = Room(key.size() + 3);
    *o++ = '"';
    for (char16_t c : key) *o++ = static_cast<char>(c);
    *o++ = '"';
    *o++ = ':';
    len_ += key.size() + 3;
    afterKey_ = true;
  }
  // The parts form one string value; `plain` drops the stress and slash marks of the
  // engine's notation.
  void String(std::initializer_list<std::u16string_view> parts, bool plain = false) {
    Separate();
    std::size_t size = 0;
    for (std::u16string_view p : parts) size += p.size();
    char* const begin = Room(2 + 6 * size);
    char* o = begin;
    *o++ = '"';
    for (std::u16string_view p : parts) o = Quoted(p, plain, o);
    *o++ = '"';
    len_ += static_cast<std::size_t>(o - begin);
  }
  // A value of the program's own ASCII names ("praesens"): nothing in it to escape.
  void AsciiString(std::string_view text) {
    Separate();
    char* o = Room(text.size() + 2);
    *o++ = '"';
    o = std::copy(text.begin(), text.end(), o);
    *o++ = '"';
    len_ += text.size() + 2;
  }
  void String(std::u16string_view s) { String({s}); }
  void PlainString(std::u16string_view s) { String({s}, true); }
  void Null() { Raw("null"); }
  void Bool(bool b) { Raw(b ? "true" : "false"); }
  void Int(int n) { Raw(std::to_string(n)); }
  std::string Take() {
    buf_.resize(len_);
    len_ = 0;
    return std::move(buf_);
  }

 private:
  // Room for n more bytes after the text; the buffer's size is its capacity.
  char* Room(std::size_t n) {
    if (len_ + n > buf_.size()) buf_.resize(std::max(2 * buf_.size(), len_ + n));
    return buf_.data() + len_;
  }
  void Put(char c) {
    *Room(1) = c;
    ++len_;
  }
  void Raw(std::string_view text) {
    Separate();
    std::copy(text.begin(), text.end(), Room(text.size()));
    len_ += text.size();
  }
  void Open(char c) {
    Separate();
    Put(c);
    first_.push_back(true);
  }
  void Close(char c) {
    Put(c);
    first_.pop_back();
  }
  void Separate() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (first_.empty()) return;
    if (!first_.back()) Put(',');
    first_.back() = false;
  }
  // At most three bytes per code unit, six for an escaped control; the caller made room.
  static char* Quoted(std::u16string_view s, bool plain, char* o) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      char32_t c = s[i];
      // Letters and blanks, nearly every character of a form, are copied as they are.
      if (c < 0x80 && json_detail::kPlainAscii[c]) {
        *o++ = static_cast<char>(c);
        continue;
      }
      if (c < 0x80) {
        switch (c) {
          case '"':
            *o++ = '\\';
            *o++ = '"';
            break;
          case '\\':
            *o++ = '\\';
            *o++ = '\\';
            break;
          case '\n':
            *o++ = '\\';
            *o++ = 'n';
            break;
          case '\r':
            *o++ = '\\';
            *o++ = 'r';
            break;
          case '\t':
            *o++ = '\\';
            *o++ = 't';
            break;
          case '\'':
          case '`':
            if (!plain) *o++ = static_cast<char>(c);
            break;
          default:
            if (c < 0x20) {
              static constexpr char kHex[] = "0123456789abcdef";
              *o++ = '\\';
              *o++ = 'u';
              *o++ = '0';
              *o++ = '0';
              *o++ = kHex[c >> 4];
              *o++ = kHex[c & 0xF];
            } else {
              *o++ = static_cast<char>(c);
            }
        }
        continue;
      }
      if (c >= 0xD800 && c <= 0xDFFF) {
        // A surrogate pair is one code point; a lone surrogate becomes U+FFFD.
        if (c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF)
          c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        else
          c = 0xFFFD;
      }
      if (c < 0x800) {
        *o++ = static_cast<char>(0xC0 | (c >> 6));
      } else if (c < 0x10000) {
        *o++ = static_cast<char>(0xE0 | (c >> 12));
        *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      } else {
        *o++ = static_cast<char>(0xF0 | (c >> 18));
        *o++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      }
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return o;
  }

  std::string buf_;  // the text is its first len_ bytes
  std::size_t len_ = 0;
  std::vector<bool> first_;  // per open container: nothing written into it yet
  bool afterKey_ = false;
};
