// SPDX-License-Identifier: MIT
// The lookup of a form, its lines, its JSON and the page's hint for an arbitrary input.
// Input: one byte of options (orthography, input as UTF-8 or as raw UTF-16 code units, the
// hint of a rejected or an accepted input), then the input. Text from the input must never
// open markup, and the JSON is an array or an error object.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/Lookup.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KeepListsLoaded();
  TFuzzInput in(data, size);
  const unsigned options = in.Byte();
  const auto ortho = static_cast<TOrthoTyp>(options % 3);
  const std::u16string form = (options & 4) ? in.RestUtf16() : Utf8ToUni(in.Rest());
  const TLookupResult r = LookupForm(form, ortho);
  for (const TLookupHit& h : r.hits) {
    Check(!h.forms.empty(), "a hit without forms");
    LookupLine(h);
  }
  const std::string json = LookupResultJson(r);
  Check(!json.empty() && (json[0] == '[' || json.rfind("{\"error\":", 0) == 0), "JSON shape");
  const std::u16string hint = LookupHintHtml(form, ortho, options & 8);
  if (form.find(u"<q") != std::u16string::npos)
    Check(hint.find(u"<q") == std::u16string::npos, "input opened markup in the hint");
  return 0;
}
