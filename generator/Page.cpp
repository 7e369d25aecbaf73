// SPDX-License-Identifier: MIT
// The result page: head with metadata and style sheet, title, heading, the table fragments
// and the footer; with the input field it is the page of the online generator.
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "common/_ZT_cmn_A.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"

namespace {

using std::u16string;
using std::u16string_view;

constexpr u16string_view kStyleSheet =
    u"body    {font-family:sans-serif;background-color:#ffe8dd}\r"
    u"a:link {color: #0000cc; text-decoration:none}\r"
    u"a:visited {color: #000099; text-decoration:none}\r"
    u"a:hover {color: #0000cc; text-decoration:underline}\r"
    u"img {border:0}\r"
    u"h1 {font-size: 1.2em}\r"
    u"table {border-width:0}\r"
    u"td {font-size: 1em; vertical-align:top; padding:0; margin:0;margin-bottom:0; "
    u"border-width:0;padding-right:1em}\r"
    u"tr {padding:0; border-width:0; border-width:0; border-style:solid;border-color:#FF0000}\r"
    u".textLink {font-size:1.25em}.tbl1 {width:100%}\r"
    u".tbl2 {width:100%;border-spacing:0}\r"
    u".c2 {padding-left:1em; margin-left:1em}\r"
    u"@media screen and (min-width: 40.5em) {\r"
    u"body {width:95%;padding:0.8em;font-size:100.01%}\r"
    u".textLink {font-size:1.0em}\r"
    u".tbl1 {width:50%}\r"
    u"}\r";

// The description names at most 40 characters of the infinitive.
u16string ShortInfin(const u16string& infin) {
  if (infin.size() <= 40) return infin;
  return infin.substr(0, 35) + u"...";
}

u16string Head(const u16string& infin) {
  u16string h = u"<!doctype html>\r<html xmlns=\"";
  h += site::kXhtmlNamespace;
  h += u"\" lang=\"de\" xml:lang=\"de\">\r<head>\r<meta name=\"language\" content=\"de, deutsch, "
       u"german\"/>\r<meta name=\"viewport\" content=\"width=device-width, "
       u"initial-scale=1\">\r<meta name=\"author\" content=\"";
  h += site::kAuthorName;
  h += u"\"/>\r<meta http-equiv=\"Content-Type\" content=\"text/html;charset=UTF-8\"/>\r<link "
       u"rel=\"shortcut icon\" href=\"/beugwerkde/beugwerk16.ico\"/>\r<meta name=\"description\" "
       u"content=\"Deutsche Verbformen zu '";
  h += HtmlEscape(ShortInfin(infin));
  h += u"' in allen Zeitformen (Präsens, Perfekt, Präteritum, Plusquamperfekt, Futur I und II), "
       u"im Indikativ und Konjunktiv, schwache Verben, starke Verben, präfigierte Verben, "
       u"trennbare Verben, reflexive Verben Verbalphrasen\"/>\r";
  h += u"<meta name=\"keywords\" content=\"deutsche Verbformen Zeitformen Präsens Perfekt "
       u"Präteritum Plusquamperfekt Futur I II präfigierte trennbare reflexive regelmäßige "
       u"unregelmäßige Verben Konjugation Verbalphrasen ";
  h += site::kAuthorName;
  h += u"\"/><meta name=\"page-topic\" content=\"Formen aller deutschen Verben in den Zeitformen "
       u"Präsens Perfekt Präteritum Plusquamperfekt Futur I II, starke, schwache, trennbare, "
       u"Indikativ, Konjunktiv\"/><style>\r";
  h += kStyleSheet;
  h += u"</style>";
  return h;
}

// The page's one canonical link: the whole phrase as typed (its "sich" and markers kept) in
// the orthography of the page, so that every page names itself.
u16string Title(const u16string& phrase, TOrthoTyp ortho) {
  return u"<title>Deutsche Verbformen: " + HtmlEscape(phrase) + u"</title>\r" +
         u"<link rel=\"canonical\" href=\"" +
         HtmlEscape(PageAddress(site::OnlineServer(), phrase, ortho)) + u"\"/>\r" + u"</head>\r" +
         u"<body>";
}

u16string InputForm(const u16string& phrase) {
  u16string f = u"<form action=\"";
  f += site::kGeneratorPath;
  f += u"\" method=\"get\" style=\"font-size:1em\" accept-charset=\"UTF-8\" >\r<p>Informieren "
       u"Sie sich über die <a href=\"";
  f += site::HelpPageUrl();
  f += u"\">Nutzungsmöglichkeiten und Grenzen</a>.</p><p>Geben Sie einen Verbinfinitiv oder eine "
       u"kurze Infinitivphrase ein:<br>\r<input name=\"";
  f += site::kQueryKey;
  f += u"\" type=\"text\" size=\"35\" maxlength=\"160\" autocapitalize=\"off\" "
       u"onfocus=\"this.select();this.focus()\" value=\"";
  f += HtmlEscape(phrase);
  f += u"\"/>&nbsp;<input type=\"submit\" value=\" Formen bilden \"/></p></form>\r";
  return f;
}

u16string FooterStart() {
  return u"<hr>\r<table class=\"tbl2\">\r<tr>\r<td class=\"textlink\" "
         u"style=\"vertical-align:top\">\r<a href=\"" +
         u16string(site::AuthorPageUrl()) +
         u"\" title=\"zur Website des Autors\">Autor</a>, \r<a href=\"" +
         u16string(site::TheoryPageUrl()) +
         u"\" title=\"Theorie des Beugwerks\">Theorie</a></td>\r<td style=\"text-align:right\">";
}

u16string Badges() {
  return u"<a href=\"" + u16string(site::kMarkupValidatorUrl) + u"\"><img src=\"" +
         u16string(site::kBadgeXhtmlUrl) +
         u"\" alt=\"Valid XHTML 1.0 Strict \" style=\"height:31px;width:88px\"></a>\r<a href=\"" +
         u16string(site::kCssValidatorUrl) + u"\"><img style=\"width:88px;height:31px\" src=\"" +
         u16string(site::kBadgeCssUrl) + u"\" alt=\"Valid CSS!\"></a>";
}

void Item(u16string& page, u16string_view item) {
  page += item;
  page += u"\r\n";
}

}  // namespace

u16string TVerbGenerator::GetHtml(const u16string& InfinitivPhrase, bool showInputField,
                                  TPageForms forms) {
  return Page(InfinitivPhrase, showInputField, forms, nullptr);
}

u16string TVerbGenerator::Page(const u16string& InfinitivPhrase, bool showInputField,
                               TPageForms forms, TConjStatus* status) {
  // The head comes from the analysis already made; Formen analyses again for the body.
  const u16string infin = Latin1ToUni(Verb.infin);
  u16string page;
  page.reserve(16384);  // pages run to some 12,000 characters: no regrowing copies
  Item(page, Head(infin));
  Item(page, Title(InfinitivPhrase, Verb.OrthoTyp()));
  Item(page, u"<h1 style=\"margin-bottom:0; padding-bottom:0\"><a href=\"" +
                 u16string(site::HelpPageUrl()) +
                 u"\" title=\"Hinweise\">Deutsche Verbformen</a></h1>");
  if (showInputField) {
    Item(page,
         u"<p style=\"margin-top:0; padding-top:0\">erzeugt mit dem deutschen Beugwerk Version "
         u"9</p>");
    Item(page, InputForm(InfinitivPhrase));
  }
  PageBody(page, InfinitivPhrase, forms, status);
  Item(page, FooterStart());
  if (showInputField) Item(page, Badges());
  Item(page, u"</td>\r</tr>\r</table>\r</body></html>");
  return page;
}

u16string GetVerbPageHtml(u16string phrase, bool showInputField, TOrthoTyp ortho, TPageForms forms,
                          TConjStatus* status) {
  TrimBlanksW(phrase);
  if (phrase.empty()) phrase = u"den Generator ausprobieren";
  TVerbGenerator g;
  g.Verb.SetOrthoTyp(ortho);
  g.Verb.newVerb(phrase, unsp);  // the head is the analysis before the page
  return g.Page(phrase, showInputField, forms, status);
}
