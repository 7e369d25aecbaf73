// SPDX-License-Identifier: MIT
// The analysis of one input followed by every form, in every orthography, in main and
// subordinate clause order, and the full-forms record of the batch tool.
// Input: one byte of options (class, Infinitiv-statt-Partizip choice, bare forms), then the
// phrase in the engine's 8-bit text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/FullForms.h"
#include "engine/_ZTVerb.h"
#include "tests/fuzz/FuzzVerb.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const unsigned options = in.Byte();
  const std::string phrase(in.Rest());
  TVerbGen& v = FuzzVerb();
  for (TOrthoTyp ortho : {NeuOrtho, AltOrtho, ChOrtho}) {
    v.SetOrthoTyp(ortho);
    v.unPrefixed = false;
    v.InfiStattPart2 = static_cast<TInfiStattPart2>((options / 3) % 3);
    v.newVerbA(phrase, static_cast<TSchwSt>(options % 3));
    v.unPrefixed = (options / 9) % 2 != 0;
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      for (const char16_t* order : {u"MP", u"MPN"}) {
        // A form is "-" or text, never empty.
        Check(!v.getFormA(static_cast<TFormen>(f), order).empty(), "empty form");
      }
    }
    for (int p = 0; p <= 7; ++p) {
      for (bool sub : {false, true}) {
        v.PraesensA(p, sub);
        v.PraeteritumA(p, sub);
        v.KonjunktivGA(p, sub);
        v.KonjunktivVA(p, sub);
      }
    }
    for (int nr = 0; nr <= 3; ++nr) {
      v.ImperativA(nr);
      v.PartizipA(nr);
      v.InfinitivA(nr);
    }
  }
  v.unPrefixed = false;
  v.SetOrthoTyp(NeuOrtho);
  FullFormRecord(v, phrase);
  return 0;
}
