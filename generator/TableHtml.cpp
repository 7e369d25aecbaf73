// SPDX-License-Identifier: MIT
// The HTML fragments of a conjugation table: message paragraph, the block of non-finite
// forms and the two-column table. Lists of items end every item with CR LF.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "common/_ZT_cmn_A.h"
#include "generator/PageAddress.h"
#include "generator/TableParts.h"
#include "generator/VerbGenerator.h"

using namespace std::string_view_literals;  // appends of literals need no length scan

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

constexpr std::u16string_view kNonFiniteLabels[kNonFiniteForms] = {
    u"<tr><td>Infinitiv I: </td><td>",
    u"<tr><td>Infinitiv II: </td><td>",
    u"<tr><td>Partizip I: </td><td>",
    u"<tr><td>Partizip II: </td><td>",
    u"<tr><td>Imperativ Singular:&nbsp;&nbsp;&nbsp;</td><td>",
    u"<tr><td>Imperativ Plural: </td><td>"};

constexpr std::u16string_view kDashRow = u"<tr><td>-</td><td class=\"c2\">-</td></tr>";

}  // namespace

namespace table_parts {

void Item(std::u16string& list, std::u16string_view item) {
  list += item;
  list += kCrLf;
}

// Appends text escaped for HTML. Most cells need no escape: they are appended as they are,
// without the copy that HtmlEscape returns.
void AppendEscaped(std::u16string& out, std::u16string_view text) {
  const bool plain = std::none_of(text.begin(), text.end(), [](char16_t c) {
    return c < 0x20 || c == u'&' || c == u'<' || c == u'>' || c == u'"';
  });
  if (plain)
    out += text;
  else
    out += HtmlEscape(text);
}

void AppendHeading(std::u16string& list, const TConjTense& tense, const TConjTable& t) {
  list += u"<tr><td><br><b>"sv;
  list += tense.name;
  list += u":</b>"sv;
  if (tense.auxHint) list += t.hintHtml;
  list += u"</td><td>&nbsp;</td></tr>"sv;
  list += kCrLf;
}

// The indicative simple tenses put the row into two items, split after the main cell. The
// cells are appended straight to the list: a page has some 50 rows.
void Rows(std::u16string& list, const TConjTense& tense, bool twoItems) {
  for (const TConjRow& row : tense.rows) {
    if (row.dash) {
      Item(list, kDashRow);
      continue;
    }
    list += u"<tr><td>"sv;
    AppendEscaped(list, row.main);
    list += u"</td>"sv;
    if (twoItems) list += kCrLf;
    list += u"<td class=\"c2\">"sv;
    if (!row.conj.empty()) {
      list += u"<span style=\"color:#888888\">"sv;
      list += row.conj;
      list += u"</span>"sv;
    }
    AppendEscaped(list, row.sub);
    list += u"</td></tr>"sv;
    list += kCrLf;
  }
}

}  // namespace table_parts

using namespace table_parts;

namespace {

std::u16string Paragraph(std::u16string_view text) {
  return u"<p>" + HtmlEscape(text) + u"</p>\r\n";
}

// The two readings as links to their own pages; relative, so that the window and any
// deployment follow them alike.
std::u16string ReadingsParagraph(const TConjTable& t) {
  std::u16string p = u"<p>Bitte wählen Sie: ";
  for (std::size_t i = 0; i < t.readings.size(); ++i) {
    const TConjReading& r = t.readings[i];
    if (i > 0) p += u" oder ";
    p += u"<a href=\"" + HtmlEscape(PageLink(r.phrase, t.ortho)) + u"\">" + HtmlEscape(r.phrase) +
         u"</a> (<i>" + HtmlEscape(r.gloss) + u"</i>)";
  }
  return p + u"</p>\r\n";
}

std::u16string NonFiniteBlock(const TConjTable& t) {
  std::u16string s1 = u"<table class=\"tbl1\" style=\"margin-bottom:0.7em\">";
  for (int i = 0; i < kNonFiniteForms; ++i) {
    s1 += kNonFiniteLabels[i];
    AppendEscaped(s1, t.nonFinite[i]);
    s1 += u"</td></tr>\r\n";
  }
  s1 += u"</table>";
  if (!t.meaningNote.empty()) s1 += u"<p>\r\n" + HtmlEscape(t.meaningNote) + u"</p>";
  return s1;
}

std::u16string Table(const TConjTable& t) {
  std::u16string s2;
  s2.reserve(8192);  // a long phrase's table is some 7,000 characters: one allocation
  Item(s2, u"<table class=\"tbl2\">");
  Item(s2, u"<colgroup><col><col style=\"background-color:#f8e0C8\"></colgroup>\r\n<tr><td>");
  for (int k = 0; k < kConjTenses; ++k) {
    const TConjTense& tense = t.tenses[k];
    if (k == 0)
      Item(s2,
           u"<p><br><i>im Hauptsatz</i></p><b>Präsens:</b></td>\r\n<td class=\"c2\"><br><p><i>im "
           u"Nebensatz</i></p></td></tr>");
    else
      AppendHeading(s2, tense, t);
    Rows(s2, tense, k < 2);
  }
  Item(s2, u"</table>");
  return s2;
}

}  // namespace

std::u16string HtmlEscape(std::u16string_view text) {
  return XmlEscape(text, true);
}

void ConjTableHtml(const TConjTable& t, std::u16string& Msg, std::u16string& s1,
                   std::u16string& s2) {
  switch (t.status) {
    case TConjStatus::cs_empty:
      Msg = Paragraph(t.message);
      s1.clear();
      s2.clear();
      return;
    case TConjStatus::cs_error:
      // The engine's message replaces the table; it may quote the input, so it is escaped.
      Msg = HtmlEscape(t.message);
      s1 = u"<hr>";
      s2 = u"<a href=\"" + std::u16string(site::HelpPageUrl()) + u"#fehler\">Hilfe</a>";
      return;
    case TConjStatus::cs_undecided:
      Msg = Paragraph(t.message);
      if (!t.readings.empty()) Msg += ReadingsParagraph(t);
      break;
    case TConjStatus::cs_ok:
      Msg.clear();
      break;
  }
  if (!t.warning.empty()) Msg.insert(0, Paragraph(t.warning));
  s1 = NonFiniteBlock(t);
  s2 = Table(t);
}
