// SPDX-License-Identifier: MIT
// The result page, its HTML fragments and the terminal table for an arbitrary phrase.
// Input: one byte of options (input field shown, orthography, phrase as UTF-8 or as raw
// UTF-16 code units, the page of all forms or the link to it), then the phrase. Text from the
// phrase must never open markup.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/VerbGenerator.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KeepListsLoaded();
  TFuzzInput in(data, size);
  const unsigned options = in.Byte();
  const bool showInputField = options & 1;
  const auto ortho = static_cast<TOrthoTyp>((options >> 1) % 3);
  const std::u16string phrase = (options & 8) ? in.RestUtf16() : Utf8ToUni(in.Rest());

  const TPageForms forms = (options & 16)   ? TPageForms::allForms
                           : (options & 32) ? TPageForms::tableWithLink
                                            : TPageForms::table;
  const std::u16string page = GetVerbPageHtml(phrase, showInputField, ortho, forms);
  const TConjTable table = ConjugatePhrase(phrase, ortho);
  std::u16string msg, s1, s2;
  ConjTableHtml(table, msg, s1, s2);
  ConjugationTextAll(table);
  ConjugationJson(table);
  s2 += AllFormsHtml(table) + AllFormsLinkHtml(table);
  // The page's own markup has no q element: one in the page came from the phrase.
  if (phrase.find(u"<q") != std::u16string::npos) {
    Check(page.find(u"<q") == std::u16string::npos, "phrase opened markup in the page");
    Check((msg + s1 + s2).find(u"<q") == std::u16string::npos,
          "phrase opened markup in a fragment");
  }
  return 0;
}
