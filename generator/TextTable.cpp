// SPDX-License-Identifier: MIT
// The conjugation table as plain text for a terminal. Columns are aligned by display width
// (code points, so "ä" counts one), and runs of blanks in a form are shown as one, as the
// browser shows the HTML table.
#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "generator/VerbGenerator.h"

namespace {

using std::u16string;
using std::u16string_view;

constexpr u16string_view kIndent = u"  ";
constexpr u16string_view kGap = u"   ";
constexpr u16string_view kHauptsatz = u"im Hauptsatz";
constexpr u16string_view kNebensatz = u"im Nebensatz";

std::size_t Width(u16string_view s) {
  // Low surrogates continue a code point counted at its high surrogate.
  return static_cast<std::size_t>(
      std::count_if(s.begin(), s.end(), [](char16_t c) { return c < 0xDC00 || c > 0xDFFF; }));
}

// The engine's messages break lines with CR (a message box's habit); a terminal wants LF.
u16string Lines(u16string_view message) {
  u16string r;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] != u'\r')
      r += message[i];
    else if (i + 1 == message.size() || message[i + 1] != u'\n')
      r += u'\n';
  }
  return r;
}

void Padded(u16string& out, u16string_view s, std::size_t width) {
  out += s;
  out.append(width > Width(s) ? width - Width(s) : 0, u' ');
}

// Both cells of a row as shown: the conjunction opens the subordinate clause.
struct TShownRow {
  u16string main, sub;
};

TShownRow Shown(const TConjRow& row) {
  return {CollapseBlanks(row.main), CollapseBlanks(row.conj + row.sub)};
}

void NonFinite(u16string& out, const TConjTable& t) {
  std::size_t width = 0;
  for (u16string_view name : kNonFiniteNames) width = std::max(width, Width(name) + 1);
  for (int i = 0; i < kNonFiniteForms; ++i) {
    Padded(out, u16string(kNonFiniteNames[i]) + u":", width + kGap.size());
    out += CollapseBlanks(t.nonFinite[i]);
    out += u'\n';
  }
  if (!t.meaningNote.empty()) out += t.meaningNote + u"\n";
}

std::size_t RowsWidth(std::span<const TConjTense> tenses) {
  std::size_t width = 0;
  for (const TConjTense& tense : tenses)
    for (const TConjRow& row : tense.rows) width = std::max(width, Width(Shown(row).main));
  return width;
}

void Captions(u16string& out, std::size_t width) {
  out += kIndent;
  Padded(out, kHauptsatz, width + kGap.size());
  out += kNebensatz;
  out += u'\n';
}

void TenseBlocks(u16string& out, std::span<const TConjTense> tenses, std::size_t width) {
  for (const TConjTense& tense : tenses) {
    out += u'\n';
    out += tense.name;
    if (tense.auxHint) out += u" (haben oder sein?)";
    out += u'\n';
    for (const TConjRow& row : tense.rows) {
      const TShownRow shown = Shown(row);
      out += kIndent;
      Padded(out, shown.main, width + kGap.size());
      out += shown.sub;
      out += u'\n';
    }
  }
}

std::size_t TableWidth(const TConjTable& t) {
  return std::max(Width(kHauptsatz), RowsWidth(t.tenses));
}

void Tenses(u16string& out, const TConjTable& t) {
  const std::size_t width = TableWidth(t);
  out += u'\n';
  Captions(out, width);
  TenseBlocks(out, t.tenses, width);
}

// --- the further blocks ---

constexpr u16string_view kPassiveInfinitiveNames[2] = {u"Infinitiv Passiv",
                                                       u"Infinitiv Perfekt Passiv"};

void Labelled(u16string& out, std::span<const u16string_view> names,
              std::span<const u16string> forms, std::size_t width) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    Padded(out, u16string(names[i]) + u":", width + kGap.size());
    out += CollapseBlanks(forms[i]);
    out += u'\n';
  }
}

// A titled block of tenses; its columns line up with the table's where the cells fit.
void TitledTenses(u16string& out, u16string_view title, std::span<const TConjTense> tenses,
                  std::size_t width) {
  out += u'\n';
  out += title;
  out += u'\n';
  Captions(out, width);
  TenseBlocks(out, tenses, width);
}

}  // namespace

u16string ConjugationText(const TConjTable& t) {
  u16string out;
  switch (t.status) {
    case TConjStatus::cs_empty:
      return t.message + u"\n";
    case TConjStatus::cs_error:
      return Lines(t.message) + u"\nHilfe: " + u16string(site::HelpPageUrl()) + u"#fehler\n";
    case TConjStatus::cs_undecided:
      out = t.message + u"\n";
      for (const TConjReading& r : t.readings) out += u"  " + r.phrase + u"  (" + r.gloss + u")\n";
      out += u"\n";
      break;
    case TConjStatus::cs_ok:
      break;
  }
  if (!t.warning.empty()) out.insert(0, t.warning + u"\n\n");
  NonFinite(out, t);
  Tenses(out, t);
  if (!t.hintHtml.empty())
    out += u"\nhaben oder sein? " + u16string(site::HelpPageUrl()) + u"#habensein\n";
  return out;
}

u16string ConjugationTextAll(const TConjTable& t) {
  u16string out = ConjugationText(t);
  if (!t.all) return out;
  const TConjAllForms& all = *t.all;
  std::size_t labels = 0;
  for (u16string_view name : kMoreNonFiniteNames) labels = std::max(labels, Width(name) + 1);
  for (u16string_view name : kPassiveInfinitiveNames) labels = std::max(labels, Width(name) + 1);
  std::size_t width = std::max({TableWidth(t), RowsWidth(all.tenses)});
  if (all.hasPassive)
    width = std::max({width, RowsWidth(all.passive.vorgang), RowsWidth(all.passive.zustand)});

  out += u'\n';
  Labelled(out, kMoreNonFiniteNames, all.nonFinite, labels);
  TitledTenses(out, u"Weitere Zeiten des Konjunktivs", all.tenses, width);
  if (!all.hasPassive) {
    out += u"\nPassiv: " + all.passiveNote + u"\n";
    return out;
  }
  out += u"\nPassiv\n" + all.passiveNote + u"\n";
  TitledTenses(out, u"Vorgangspassiv", all.passive.vorgang, width);
  out += u'\n';
  Labelled(out, kPassiveInfinitiveNames, all.passive.infinitivesShown, labels);
  TitledTenses(out, u"Zustandspassiv", all.passive.zustand, width);
  return out;
}
