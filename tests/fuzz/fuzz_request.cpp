// SPDX-License-Identifier: MIT
// The request service over arbitrary texts: pokes (single forms, word form lists, macro
// lines) and macro executions, as other programs send them.
// Input: one byte of options (poke or macro, text as UTF-8 or as raw UTF-16 code units),
// then the text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/Request.h"
#include "common/_ZT_cmn_A.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

TRequestService& Service() {
  static TRequestService* service = [] {
    VerbListsPath = FuzzVerbListsPath();
    auto* s = new TRequestService;
    s->SetOnMacro([](TRequestMacro, const std::u16string& phrase) {
      Check(phrase.size() <= TRequestService::kMaxPhrase, "macro phrase longer than allowed");
    });
    return s;
  }();
  return *service;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TRequestService& service = Service();
  TFuzzInput in(data, size);
  const unsigned options = in.Byte();
  const std::u16string text = (options & 2) ? in.RestUtf16() : Utf8ToUni(in.Rest());
  if (options & 1)
    service.ExecuteMacro(text);
  else
    service.Poke(text);
  service.ItemText();
  for (const std::u16string& line : SplitLinesW(text)) service.Poke(line);
  return 0;
}
