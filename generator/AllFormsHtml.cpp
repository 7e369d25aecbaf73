// SPDX-License-Identifier: MIT
// The further blocks on the page of all forms, in the HTML of the table (its classes, the grey
// conjunction, items ending in CR LF, text escaped): the non-finite forms, the six further
// tenses, the passive with its note or the line why there is none; and the link to that page.
#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "generator/Lookup.h"
#include "generator/PageAddress.h"
#include "generator/TableParts.h"
#include "generator/VerbGenerator.h"

using namespace std::string_view_literals;
using namespace table_parts;

namespace {

constexpr std::u16string_view kMoreLabels[kMoreNonFiniteForms] = {
    u"<tr><td>Imperativ wir: </td><td>", u"<tr><td>Imperativ Sie: </td><td>",
    u"<tr><td>Infinitiv Perfekt: </td><td>", u"<tr><td>Infinitiv Perfekt mit zu: </td><td>"};
constexpr std::u16string_view kPassiveInfinitiveLabels[2] = {
    u"<tr><td>Infinitiv Passiv: </td><td>", u"<tr><td>Infinitiv Perfekt Passiv: </td><td>"};

// A block of label and form rows as the non-finite block of the table shows them.
void FormsBlock(std::u16string& list, std::span<const std::u16string_view> labels,
                std::span<const std::u16string> forms) {
  list += u"<table class=\"tbl1\" style=\"margin-top:0.7em;margin-bottom:0.7em\">"sv;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    list += labels[i];
    AppendEscaped(list, forms[i]);
    list += u"</td></tr>\r\n"sv;
  }
  Item(list, u"</table>");
}

// A two-column table as the table of eight tenses: the title and the column captions in the
// first row with the first heading, then each tense with its heading and six rows.
void TensesTable(std::u16string& list, std::u16string_view title,
                 std::span<const TConjTense> tenses, const TConjTable& t) {
  Item(list, u"<table class=\"tbl2\">");
  Item(list, u"<colgroup><col><col style=\"background-color:#f8e0C8\"></colgroup>\r\n<tr><td>");
  for (std::size_t k = 0; k < tenses.size(); ++k) {
    if (k == 0) {
      list += u"<p><br><b>"sv;
      list += title;
      list += u"</b><br><i>im Hauptsatz</i></p><b>"sv;
      list += tenses[0].name;
      list += u":</b>"sv;
      if (tenses[0].auxHint) list += t.hintHtml;
      Item(list, u"</td>\r\n<td class=\"c2\"><br><p><br><i>im Nebensatz</i></p></td></tr>");
    } else {
      AppendHeading(list, tenses[k], t);
    }
    Rows(list, tenses[k], false);
  }
  Item(list, u"</table>");
}

// About the length of the further blocks, so that the page grows once: the cells and what
// each row adds around them.
std::size_t EstimatedSize(const TConjTable& t) {
  if (!t.all) return 0;
  std::size_t size = 4096;
  const auto add = [&size](std::span<const TConjTense> tenses) {
    for (const TConjTense& tense : tenses)
      for (const TConjRow& row : tense.rows)
        size += row.main.size() + row.conj.size() + row.sub.size() + 80;
  };
  add(t.all->tenses);
  if (t.all->hasPassive) {
    add(t.all->passive.vorgang);
    add(t.all->passive.zustand);
  }
  return size;
}

void AppendAllForms(std::u16string& list, const TConjTable& t) {
  if (!t.all) return;
  const TConjAllForms& all = *t.all;
  FormsBlock(list, kMoreLabels, all.nonFinite);
  TensesTable(list, u"Weitere Zeiten des Konjunktivs", all.tenses, t);
  if (!all.hasPassive) {
    list += u"<p><br><b>Passiv:</b> "sv;
    AppendEscaped(list, all.passiveNote);
    Item(list, u"</p>");
    return;
  }
  list += u"<p><br><b>Passiv</b><br>\r\n"sv;
  AppendEscaped(list, all.passiveNote);
  Item(list, u"</p>");
  TensesTable(list, u"Vorgangspassiv", all.passive.vorgang, t);
  FormsBlock(list, kPassiveInfinitiveLabels, all.passive.infinitivesShown);
  TensesTable(list, u"Zustandspassiv", all.passive.zustand, t);
}

}  // namespace

std::u16string AllFormsHtml(const TConjTable& t) {
  std::u16string list;
  list.reserve(EstimatedSize(t));
  AppendAllForms(list, t);
  return list;
}

std::u16string AllFormsLinkHtml(const TConjTable& t) {
  if (t.status != TConjStatus::cs_ok && t.status != TConjStatus::cs_undecided) return {};
  std::u16string p = u"<p><a href=\"" + HtmlEscape(PageLink(t.input, t.ortho, true));
  p += u"\">alle Formen (Konjunktiv der Vergangenheit, würde-Formen, Passiv)</a></p>"sv;
  Item(p, u"");
  return p;
}

namespace {

// Under the message: the verb a rejected input is a form of ("ging"), or the listed verb an
// accepted one is also a form of ("lasen"). Short inputs only: a phrase is no form.
std::u16string PageLookupHint(const TConjTable& t) {
  // A word that does not look like an infinitive ("zog an", "gegangen") counts as rejected.
  const bool rejected = t.status == TConjStatus::cs_error || !t.warning.empty();
  if (t.status == TConjStatus::cs_empty || t.input.empty()) return {};
  const std::size_t blanks =
      static_cast<std::size_t>(std::count(t.input.begin(), t.input.end(), u' '));
  if (blanks > (rejected ? 2u : 0u)) return {};
  return LookupHintHtml(t.input, t.ortho, rejected);
}

}  // namespace

void TVerbGenerator::PageBody(std::u16string& page, const std::u16string& InfinitivPhrase,
                              TPageForms forms, TConjStatus* status) {
  // Today's three items, then what the page adds after them. The page shows cells only: the
  // compound rows are built without the data twins that the JSON reads.
  dataTwins_ = false;
  struct TRestore {
    bool& flag;
    ~TRestore() { flag = true; }
  } restore{dataTwins_};
  const TConjTable t =
      Conjugate(InfinitivPhrase, Verb.OrthoTyp(),
                forms == TPageForms::allForms ? TConjScope::allForms : TConjScope::table);
  if (status) *status = t.status;
  std::u16string msg, s1, s2;
  ConjTableHtml(t, msg, s1, s2);
  // The page grows once: its head and foot take some 4,000 characters.
  page.reserve(page.size() + msg.size() + s1.size() + s2.size() + EstimatedSize(t) + 4096);
  Item(page, msg);
  page += PageLookupHint(t);
  Item(page, s1);
  Item(page, s2);
  if (forms == TPageForms::allForms)
    AppendAllForms(page, t);
  else if (forms == TPageForms::tableWithLink)
    page += AllFormsLinkHtml(t);
}
