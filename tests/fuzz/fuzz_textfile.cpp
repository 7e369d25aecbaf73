// SPDX-License-Identifier: MIT
// Text file reading over arbitrary bytes: detection of the encoding, decoding with each
// decider the program uses, the compressed containers, and the check for plausible UTF-8.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

template <class F>
void Guarded(F f) {
  // A damaged container is reported, and that is all a reader may do about it.
  try {
    f();
  } catch (const EEncodingError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TEncodingType detected = et_none;
  Guarded([&] { ReadTextBytes(bytes, &detected); });
  Guarded([&] {
    ReadTextBytes(bytes, &detected, [](std::string_view b, TEncodingType t) {
      return DefaultDecider().AnsiDeciderEx(b, t);
    });
  });
  Guarded([&] {
    ReadTextBytes(bytes, &detected, [](std::string_view b, TEncodingType t) {
      return DefaultDecider().AnsiDecider(b, t);
    });
  });
  // Whatever a decider may answer: a code page for a compressed 8-bit file, acceptance of the
  // compressed UTF-8 variants, UTF-8 for a file without signature.
  const int answers[] = {0, 1, 2, 3, 437, 1251, 1252, 65001};
  const int answer = size > 0 ? answers[data[0] % 8] : 0;
  Guarded([&] {
    ReadTextBytes(bytes, &detected, [&](std::string_view, TEncodingType) { return answer; });
  });
  Guarded([&] { InflateContainer(bytes); });
  IsPlausibleUtf8(bytes);
  const TEncoding* encoding = nullptr;
  DetectUtf8NoBom(bytes, &encoding);
  Utf8ToUni(bytes);
  Latin1ToUni(bytes);
  return 0;
}
