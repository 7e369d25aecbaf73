// SPDX-License-Identifier: MIT
// What the lookup of forms knows of the shape of German stems (8-bit, lower case): which
// prefixes are known, where -el/-er is an unstressed syllable, where an -eln/-ern verb drops its
// e, and which stems in -t are only weak past forms. It decides which candidates are tried and
// which readings are made up; the engine decides which forms exist.
//
//   EndsInSchwaSyllable("wander");  // true: wandern
//   EndsInSchwaSyllable("schwer");  // false: schweren
//   PastLikeTStem("überwallt");     // true: no verb "überwallten"
#pragma once

#include <array>
#include <string_view>

namespace lookupshape {

// Prefixes that never separate; with the separable ones of the lists they make a split
// "known" rather than odd.
inline constexpr std::array<std::string_view, 10> kInseparable = {
    "be", "emp", "ent", "er", "ge", "mi\xDF", "ver", "zer", "miss", "hinter"};
// Prefixes used both ways: a candidate with one is tried in both stressed readings.
inline constexpr std::array<std::string_view, 8> kDoubly = {"durch",
                                                            "hinter",
                                                            "\xFC"
                                                            "ber",
                                                            "unter",
                                                            "um",
                                                            "voll",
                                                            "wider",
                                                            "wieder"};

bool IsVowelChar(char c);

// A prefix of the lists (separable, or inseparable as above), or two of them in a row
// ("wiederauf"); the empty prefix too. Takes the lists' read lock.
bool KnownPrefix(std::string_view p);

// -el, -er as the unstressed last syllable of a stem (sammel, wander, feier, steuer): after a
// consonant or a diphthong, with a vowel before it; not the stressed e of "schwer", "leer",
// "be-scher", nor the ie of "hielt".
bool EndsInSchwaSyllable(std::string_view s);

// A stem in -t that German verbs do not end in, but weak past forms do: "überwallt",
// "gekippt", "gewirkt", "studiert", "googelt" (against walten, kippen, wirken). The t of
// "achten", "warten", "bitten", "rasten", "punkten" may begin a verb's own stem.
bool PastLikeTStem(std::string_view stem);

// Where an -eln/-ern verb drops its e ("sammle", "wandre", "steure"): l or r after a
// consonant, r after the u of au, eu. Not after the h of a long vowel ("führe", "bezahle"):
// the few in -hern lose their short forms ("nähre") rather than every führen gain a "fühern".
bool ElisionPoint(std::string_view s);

}  // namespace lookupshape
