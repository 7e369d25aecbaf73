// SPDX-License-Identifier: MIT
#include "python/JsonEvents.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "python/Engine.h"

namespace beugwerk_py {

using TKind = TJsonEvents::TKind;
using TEvent = TJsonEvents::TEvent;

// The reader's events appended to a TJsonEvents; no Python here.
class TEventRecorder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TEventRecorder> {
 public:
  explicit TEventRecorder(TJsonEvents& out) : out_(out) {}

  bool Null() { return Add(TKind::Null); }
  bool Bool(bool b) { return Add(b ? TKind::True : TKind::False); }
  bool Int(int i) { return Integer(i); }
  bool Uint(unsigned u) { return Integer(u); }
  bool Int64(std::int64_t i) { return Integer(i); }
  bool Uint64(std::uint64_t u) {
    if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
      return Integer(static_cast<std::int64_t>(u));
    return Double(static_cast<double>(u));
  }
  bool Double(double d) {
    TEvent e{TKind::Double};
    e.number.real = d;
    out_.events_.push_back(e);
    return true;
  }
  bool String(const char* s, rapidjson::SizeType n, bool) { return Text(TKind::Latin1, s, n); }
  bool Key(const char* s, rapidjson::SizeType n, bool) { return Text(TKind::Key, s, n); }
  bool StartObject() { return Add(TKind::Object); }
  bool EndObject(rapidjson::SizeType) { return Add(TKind::End); }
  bool StartArray() {
    arrays_.push_back(out_.events_.size());
    return Add(TKind::Array);
  }
  bool EndArray(rapidjson::SizeType count) {
    out_.events_[arrays_.back()].size = count;
    arrays_.pop_back();
    return Add(TKind::End);
  }

 private:
  bool Add(TKind kind) {
    out_.events_.push_back(TEvent{kind});
    return true;
  }
  bool Integer(std::int64_t i) {
    TEvent e{TKind::Int};
    e.number.integer = i;
    out_.events_.push_back(e);
    return true;
  }
  // ASCII is left where it stands in the text; other characters below U+0100 are decoded
  // to Latin-1 bytes; anything else stays UTF-8.
  bool Text(TKind kind, const char* s, rapidjson::SizeType n) {
    TEvent e{kind};
    e.size = n;
    rapidjson::SizeType i = AsciiPrefix(s, n);
    if (i == n) {
      e.widest = 0x7F;
      e.at = static_cast<std::uint32_t>(s - out_.text_.data());
      out_.events_.push_back(e);
      return true;
    }
    // Written through a pointer into room for all n bytes: a size check per byte cost more
    // than the decoding.
    std::string& bytes = out_.bytes_;
    const std::size_t start = bytes.size();
    bytes.resize(start + n);
    char* o = std::copy(s, s + i, bytes.data() + start);
    for (; i < n; ++i) {
      const auto c = static_cast<unsigned char>(s[i]);
      const auto next = i + 1 < n ? static_cast<unsigned char>(s[i + 1]) : 0;
      if (c < 0x80) {
        *o++ = static_cast<char>(c);
      } else if ((c == 0xC2 || c == 0xC3) && (next & 0xC0) == 0x80) {
        *o++ = static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
        ++i;
      } else {
        bytes.resize(start);
        if (kind == TKind::Latin1) e.kind = TKind::Utf8;
        e.widest = 0;
        e.at = static_cast<std::uint32_t>(s - out_.text_.data());
        out_.events_.push_back(e);
        return true;
      }
    }
    bytes.resize(static_cast<std::size_t>(o - bytes.data()));
    e.widest = 0xFF;
    e.at = static_cast<std::uint32_t>(start);
    e.size = static_cast<std::uint32_t>(bytes.size() - start);
    out_.events_.push_back(e);
    return true;
  }

  // The length of the ASCII run at the start, eight bytes at a time.
  static rapidjson::SizeType AsciiPrefix(const char* s, rapidjson::SizeType n) {
    rapidjson::SizeType i = 0;
    for (std::uint64_t word; i + 8 <= n; i += 8) {
      std::memcpy(&word, s + i, 8);
      if (word & 0x8080808080808080u) break;
    }
    while (i < n && static_cast<unsigned char>(s[i]) < 0x80) ++i;
    return i;
  }

  TJsonEvents& out_;
  std::vector<std::size_t> arrays_;  // the open arrays' events
};

TJsonEvents::TJsonEvents(std::string text) : text_(std::move(text)) {
  // About one event for every six bytes of the library's JSON.
  events_.reserve(text_.size() / 5);
  bytes_.reserve(text_.size() / 8);
  TEventRecorder recorder(*this);
  rapidjson::InsituStringStream in(text_.data());
  rapidjson::Reader reader;
  const rapidjson::ParseResult ok = reader.Parse<rapidjson::kParseInsituFlag>(in, recorder);
  if (!ok)
    throw EError(std::string("JSON: ") + rapidjson::GetParseError_En(ok.Code()) + " at " +
                 std::to_string(ok.Offset()));
}

}  // namespace beugwerk_py
