// SPDX-License-Identifier: MIT
// What a lookup found, for people (the line of the command line, the hint of the page) and for
// programs (JSON, schema/lookup.schema.json).
#include <string>
#include <string_view>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/JsonWriter.h"
#include "generator/Lookup.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"

namespace {

using std::u16string;
using std::u16string_view;

bool Finite(const TLookupForm& f) {
  return f.person > 0;
}

// "Präteritum Indikativ", "Konjunktiv II", "Perfekt Indikativ Passiv"; withMood false drops
// the indicative's name.
u16string TenseName(const TLookupForm& f, bool withMood) {
  u16string n;
  switch (f.tense) {
    case TLookupTense::praesens:
      n = f.konjunktiv ? u"Konjunktiv I" : (withMood ? u"Präsens Indikativ" : u"Präsens");
      break;
    case TLookupTense::praeteritum:
      n = f.konjunktiv ? u"Konjunktiv II" : (withMood ? u"Präteritum Indikativ" : u"Präteritum");
      break;
    case TLookupTense::perfekt:
      n = f.konjunktiv ? u"Perfekt Konjunktiv I" : (withMood ? u"Perfekt Indikativ" : u"Perfekt");
      break;
    case TLookupTense::plusquamperfekt:
      n = f.konjunktiv ? u"Plusquamperfekt Konjunktiv II"
                       : (withMood ? u"Plusquamperfekt Indikativ" : u"Plusquamperfekt");
      break;
    case TLookupTense::futur1:
      n = f.konjunktiv ? u"Futur I Konjunktiv" : (withMood ? u"Futur I Indikativ" : u"Futur I");
      break;
    case TLookupTense::infinitiv:
      return u"Infinitiv";
    case TLookupTense::zuInfinitiv:
      return u"zu-Infinitiv";
    case TLookupTense::partizip1:
      return u"Partizip I";
    case TLookupTense::partizip2:
      return u"Partizip II";
    case TLookupTense::imperativ:
      return f.plural ? u"Imperativ Plural" : u"Imperativ Singular";
  }
  if (f.passive) n += u" Passiv";
  if (f.subordinate) n += u", Nebensatz";
  return n;
}

bool SameGroup(const TLookupForm& a, const TLookupForm& b) {
  return Finite(a) && Finite(b) && a.tense == b.tense && a.konjunktiv == b.konjunktiv &&
         a.plural == b.plural && a.subordinate == b.subordinate && a.passive == b.passive;
}

// "1. und 3. Person Singular"
u16string Persons(const std::vector<const TLookupForm*>& g) {
  u16string p;
  for (std::size_t i = 0; i < g.size(); ++i) {
    if (i > 0) p += i + 1 == g.size() ? u" und " : u", ";
    p += static_cast<char16_t>(u'0' + g[i]->person);
    p += u'.';
  }
  return p + u" Person " + (g[0]->plural ? u"Plural" : u"Singular");
}

u16string Describe(const TLookupHit& hit, bool examples) {
  std::vector<std::vector<const TLookupForm*>> groups;
  for (const TLookupForm& f : hit.forms) {
    bool placed = false;
    for (auto& g : groups)
      if (SameGroup(*g[0], f)) {
        g.push_back(&f);
        placed = true;
        break;
      }
    if (!placed) groups.push_back({&f});
  }
  u16string s;
  for (const auto& g : groups) {
    if (!s.empty()) s += u"; ";
    s += TenseName(*g[0], examples);
    if (Finite(*g[0])) s += u", " + Persons(g);
    if (!examples) continue;
    if (Finite(*g[0])) {
      s += u" (";
      for (std::size_t i = 0; i < g.size(); ++i) s += (i ? u", " : u"") + g[i]->shown;
      s += u")";
    } else if (g[0]->tense == TLookupTense::imperativ) {
      s += u" (" + g[0]->shown + u"!)";
    }
  }
  return s;
}

}  // namespace

std::string_view LookupTenseKey(TLookupTense t) {
  switch (t) {
    case TLookupTense::praesens:
      return "praesens";
    case TLookupTense::praeteritum:
      return "praeteritum";
    case TLookupTense::perfekt:
      return "perfekt";
    case TLookupTense::plusquamperfekt:
      return "plusquamperfekt";
    case TLookupTense::futur1:
      return "futur1";
    case TLookupTense::infinitiv:
      return "infinitiv";
    case TLookupTense::zuInfinitiv:
      return "zu-infinitiv";
    case TLookupTense::partizip1:
      return "partizip1";
    case TLookupTense::partizip2:
      return "partizip2";
    case TLookupTense::imperativ:
      break;
  }
  return "imperativ";
}

u16string LookupLine(const TLookupHit& hit) {
  return hit.infinitive + u": " + Describe(hit, true);
}

u16string LookupFormsSummary(const TLookupHit& hit) {
  return Describe(hit, false);
}

std::string LookupResultJson(const TLookupResult& result) {
  if (!result.error.empty()) return ErrorJson(result.error);
  TJsonWriter w(1024);
  w.BeginArray();
  for (const TLookupHit& h : result.hits) {
    w.BeginObject();
    w.Key("infinitive");
    w.String(h.infinitive);
    w.Key("listed");
    w.Bool(h.listed);
    w.Key("forms");
    w.BeginArray();
    for (const TLookupForm& f : h.forms) {
      w.BeginObject();
      w.Key("tense");
      w.AsciiString(LookupTenseKey(f.tense));
      if (Finite(f)) {
        w.Key("mood");
        w.String(f.konjunktiv ? u"konjunktiv" : u"indikativ");
        w.Key("person");
        w.Int(f.person);
      }
      if (Finite(f) || f.tense == TLookupTense::imperativ) {
        w.Key("number");
        w.String(f.plural ? u"plural" : u"singular");
      }
      if (Finite(f)) {
        w.Key("clause");
        w.String(f.subordinate ? u"sub" : u"main");
      }
      if (f.passive) {
        w.Key("voice");
        w.String(u"passive");
      }
      w.Key("text");
      w.String(f.shown);
      w.EndObject();
    }
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
  return w.Take();
}

TLookupStatus LookupStatus(const TLookupResult& result) {
  if (!result.error.empty()) return TLookupStatus::badInput;
  return result.hits.empty() ? TLookupStatus::notFound : TLookupStatus::found;
}

std::string LookupJson(std::u16string_view form, TOrthoTyp ortho, TLookupStatus* status) {
  const TLookupResult r = LookupForm(form, ortho);
  if (status) *status = LookupStatus(r);
  return LookupResultJson(r);
}

u16string LookupHintHtml(u16string_view input, TOrthoTyp ortho, bool rejected) {
  const TLookupResult r = LookupForm(input, ortho);
  if (!r.error.empty() || r.hits.empty()) return {};
  u16string low(r.input);
  for (char16_t& c : low) c = Latin1CharToUni(LowerLatin1(UniCharToLatin1(c)));
  u16string links;
  int n = 0;
  for (const TLookupHit& h : r.hits) {
    // The input's own verb in a reading of its prefix ("um'fahren") is no other verb.
    u16string plain;
    for (char16_t c : h.infinitive)
      if (c != u'\'' && c != u'/') plain += c;
    if (!rejected && (!h.listed || plain == low)) continue;
    links += n++ == 0 ? u"von " : u" und von ";
    links += u"<a href=\"" + HtmlEscape(PageLink(h.infinitive, ortho)) + u"\">" +
             HtmlEscape(h.infinitive) + u"</a>";
    if (rejected) links += u" (" + HtmlEscape(LookupFormsSummary(h)) + u")";
  }
  if (n == 0) return {};
  return u"<p>„" + HtmlEscape(r.input) +
         (rejected ? u"“ ist eine Form " : u"“ ist auch eine Form ") + links + u".</p>\r\n";
}
