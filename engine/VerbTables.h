// SPDX-License-Identifier: MIT
// The verbs the form builders treat apart from the rules, one table per concept. Stems and
// forms are Windows-1252 like every engine string; a stem "ends with" a row's stem, so
// prefixed verbs (abkönnen, zutun) find the row of their simple verb.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

#include "common/Latin1Literal.h"

namespace verb_tables {

// Modal verbs and wissen: ich/er take no ending (kann, weiß) and the imperative has no short
// form; four of them have no imperative at all.
struct ModalStem {
  std::string_view stem;
  bool hasImperative;  // wisse, wolle, müsse; no imperative of dürfen, können, mögen, sollen
};
inline constexpr std::array<ModalStem, 7> kModalStems = {{
    {"dürf"_latin1, false},
    {"könn"_latin1, false},
    {"mög"_latin1, false},
    {"müss"_latin1, true},
    {"soll", false},
    {"wiss", true},
    {"woll", true},
}};

// Präsens forms written out: a row's form replaces the stem's last letters that equal the
// row's stem; an empty form leaves the person to the rules.
struct PresentStem {
  std::string_view stem;
  std::array<std::string_view, 6> forms;  // persons 1 to 6
};
inline constexpr std::array<PresentStem, 3> kPresentStems = {{
    {"sei", {"bin", "bist", "ist", "sind", "seid", "sind"}},
    {"werd", {"", "wirst", "wird", "", "", ""}},
    {"tu", {"", "", "", "tun", "tut", "tun"}},
}};

// Konjunktiv I forms written out, as kPresentStems; the alternative is a whole form.
struct SubjunctiveIStem {
  std::string_view stem;
  std::array<std::string_view, 6> forms, alternatives;  // persons 1 to 6
  bool irregularOnly;  // only for a verb the lists know as irregular
};
inline constexpr std::array<SubjunctiveIStem, 2> kSubjunctiveIStems = {{
    {"sei", {"sei", "seist", "sei", "", "", ""}, {"", "seiest", "", "", "", ""}, false},
    {"tu", {"", "", "", "tun", "", "tun"}, {}, true},  // "tuen" is not written today
}};

// Imperatives of strong e/i verbs with an alternative the rules do not give.
enum class ImperativeAlternative {
  KeepsVowel,    // no e/i change; the alternative adds e (werd, werde)
  WithE,         // the changed stem with e (sieh, siehe)
  OldVowelTail,  // after the change: stem minus `cut` letters + `tail`, no pronoun (birst, berste)
};
struct ImperativeStem {
  std::string_view stem;  // KeepsVowel: the end of the stem; WithE: the whole stem;
                          // OldVowelTail: the end of the changed stem
  ImperativeAlternative alternative;
  std::size_t cut;
  std::string_view tail;
};
inline constexpr std::array<ImperativeStem, 3> kImperativeStems = {{
    {"werd", ImperativeAlternative::KeepsVowel, 0, ""},
    {"seh", ImperativeAlternative::WithE, 0, ""},
    {"birst", ImperativeAlternative::OldVowelTail, 4, "erste"},
}};

// An imperative given whole for its stem: the form, then its alternatives.
struct FixedImperative {
  std::string_view stem, form, alternative;
};
inline constexpr std::array<FixedImperative, 1> kFixedImperatives = {{
    {"gebär"_latin1, "gebär"_latin1, "gebäre! gebier"_latin1},
}};

// Ersatzinfinitiv: after another infinitive the participle (without its "ge") is replaced by
// the infinitive ("arbeiten müssen", not "arbeiten gemusst"). müssen has a row per spelling.
struct ErsatzInfinitive {
  std::string_view participle, infinitive;
  bool choosesByInfiStattPart2;  // the setting chooses: kommen sehen / kommen gesehen
};
inline constexpr std::array<ErsatzInfinitive, 15> kErsatzInfinitives = {{
    {"braucht", "brauchen", false},
    {"durft", "dürfen"_latin1, false},
    {"konnt", "können"_latin1, false},
    {"mocht", "mögen"_latin1, false},
    {"mußt"_latin1, "müssen"_latin1, false},
    {"musst", "müssen"_latin1, false},
    {"sollt", "sollen", false},
    {"wollt", "wollen", false},
    {"heißen"_latin1, "heißen"_latin1, false},
    {"sehen", "sehen", true},
    {"holfen", "helfen", false},
    {"hört"_latin1, "hören"_latin1, true},
    {"lassen", "lassen", true},
    {"macht", "machen", true},
    {"(ge)worden", "worden", false},
}};

// The stem of werden's participle, which takes its "ge" in front whatever the analysis found.
inline constexpr std::string_view kWerdenParticipleStem = "word";

// The first row whose stem the text ends with; nullptr when none.
template <typename Row, std::size_t N>
constexpr const Row* FindByEnd(const std::array<Row, N>& table, std::string_view text) {
  auto it = std::find_if(table.begin(), table.end(),
                         [text](const Row& r) { return text.ends_with(r.stem); });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace verb_tables
