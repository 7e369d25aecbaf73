// SPDX-License-Identifier: MIT
// Partizip I and II, Infinitiv I and the zu-infinitive (Infinitiv II), with the
// Ersatzinfinitiv that replaces the participle of a modal-like verb after another infinitive
// ("arbeiten müssen" instead of "arbeiten gemusst").
#include <algorithm>
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/VerbTables.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbFrame.h"

namespace {

// The Ersatzinfinitiv row of a participle without its "ge"; nullptr when none.
const verb_tables::ErsatzInfinitive* FindErsatz(std::string_view participle) {
  for (const auto& row : verb_tables::kErsatzInfinitives)
    if (row.participle == participle) return &row;
  return nullptr;
}

// The participle ending token is cut to this many characters.
constexpr std::size_t kMaxTokenLen = 8;

bool IsSuppressed(TFormenSet set, TFormen f) {
  return (set & FormBit(f)) != 0;
}

}  // namespace

bool TVerbGen::SplitExceptionForm(std::string_view text, std::string& main) {
  if (text.empty()) return false;
  std::size_t bar = text.find('|');
  if (bar == std::string_view::npos) {
    Form2.clear();
    main.assign(text);
  } else {
    Form2.assign(text.substr(bar + 1));
    main.assign(text.substr(0, bar));
  }
  return true;
}

std::string TVerbGen::LowerPrefixInitial() const {
  std::string l = praef;
  if (l.empty() || l.back() == ' ') return l;
  const std::size_t first = LastWordStart(l);
  l[first] = static_cast<char>(LowerLatin1(static_cast<unsigned char>(l[first])));
  return l;
}

std::string TVerbGen::BuildParticipleII(bool forceRegular) {
  std::string p = stamm;
  bool lang = stammvokalLang;
  std::string e;
  if (forceRegular || unRegel == nullptr) {
    e = ParticipleIIEnding(p, false).substr(0, kMaxTokenLen);
  } else {
    const unRegRec& entry = *unRegel;
    // Only a different vowel is put in: the same vowel with another length flag would
    // double a consonant (les -> gelessen).
    if (entry.ablaut[2] != stammvokal) {
      lang = entry.ablautLang[2];
      ReplaceStemVowel(p, entry.ablaut[2], entry.ablautLang[2]);
    }
    e = ParticipleIIEnding(p, true).substr(0, kMaxTokenLen);
    // schrie + en: the contracted "geschrien" is the main form; "geschrieen" is an alternative
    // of the old orthography only (current German writes geschrien, gespien).
    if (FOrthoTyp == AltOrtho && EndsWith("ie", p) && e.size() > 1 && e[1] == 'e') {
      Form2 = p + "e";
      if (GEpos > 0) InsertAt(Form2, GEpos, "ge");
      AppendEnding(Form2, e, lang);
    }
  }
  // werden has its "ge" in front whatever the analysis decided (geworden).
  if (p == verb_tables::kWerdenParticipleStem) GEpos = 1;
  if (GEpos > 0) InsertAt(p, GEpos, "ge");
  AppendEnding(p, e, lang);
  return p;
}

// True when an infinitive replaced the participle or was given as its alternative.
bool TVerbGen::JoinParticiplePrefix(std::string_view prefixText, std::string& participle,
                                    std::string& alternative) const {
  bool ersatz = false;
  std::size_t end = prefixText.find_last_not_of(' ');
  if (GEpos > 0 && !prefixText.empty() && prefixText.back() == ' ' &&
      end != std::string_view::npos && prefixText[end] == 'n') {
    // The word before the verb ends in n: it may be an infinitive governing this verb.
    std::string_view bare =
        std::string_view(participle).substr(std::min<std::size_t>(2, participle.size()));
    const verb_tables::ErsatzInfinitive* row = FindErsatz(bare);
    std::size_t blank = prefixText.rfind(' ', end);
    auto first =
        static_cast<unsigned char>(prefixText[blank == std::string_view::npos ? 0 : blank + 1]);
    if (row != nullptr && first == LowerLatin1(first)) {
      ersatz = true;
      const std::string_view infinitive = row->infinitive;
      if (!row->choosesByInfiStattPart2 || InfiStattPart2 == ISP_nurInfi) {
        participle.assign(infinitive);
      } else if (InfiStattPart2 == ISP_InfiPart) {
        alternative = std::string(prefixText) + participle;
        participle.assign(infinitive);
      } else {
        alternative = std::string(prefixText).append(infinitive);
      }
    }
  }
  participle.insert(0, prefixText);
  return ersatz;
}

std::string TVerbGen::BuildPartizip(int nr) {
  Form2.clear();
  if (stamm.empty() || (nr != 1 && nr != 2)) return "-";
  std::string r = refPartikel(3) + " ";
  TrimLeadingBlanks(r);
  return nr == 1 ? BuildPartizipI(r) : BuildPartizipII(r);
}

std::string TVerbGen::BuildPartizipI(const std::string& r) {
  if (IsSuppressed(FUnterdrueckteFormen, PartizipI)) return "-";
  std::string result;
  if (SplitExceptionForm(ausnahmeformen[2], result)) return result;
  if (infin.size() >= 2 && (infin[infin.size() - 2] == 'l' || infin[infin.size() - 2] == 'r')) {
    // -eln, -ern, -erln: the whole infinitive (phrase words included) plus d.
    result = ReduceTripleLetters(r + infin + "d");
  } else {
    std::string p = stamm;
    AppendEnding(p, "-end", FOrthoTyp == AltOrtho || stammvokalLang);
    result = ReduceTripleLetters(r + LowerPrefixInitial() + p);
  }
  TrimLeadingBlanks(result);
  AdaptStressMarker(result);
  return result;
}

std::string TVerbGen::BuildPartizipII(const std::string& r) {
  ersatzInfinitiv = false;
  if (IsSuppressed(FUnterdrueckteFormen, PartizipII)) return "-";
  std::string p;
  if (SplitExceptionForm(ausnahmeformen[3], p)) {
    // The stored alternative belongs to the same verb: it keeps the prefix too.
    if (!Form2.empty()) Form2.insert(0, praef);
    TrimLeadingBlanks(Form2);  // praef is a lone blank after a leading '/'
    std::string result = r + praef + p;
    TrimLeadingBlanks(result);
    return result;
  }
  std::string l = LowerPrefixInitial();
  p = BuildParticipleII(false);
  std::string ieAlternative = std::move(Form2);
  Form2.clear();
  ersatzInfinitiv = JoinParticiplePrefix(l, p, Form2);
  if (!ieAlternative.empty()) Form2 = l + ieAlternative;
  p = ReduceTripleLetters(p);
  Form2 = ReduceTripleLetters(Form2);
  if (unRegel != nullptr && unRegel->auchregel && !regelsperre && !unRegel->P2nurUnreg) {
    std::string weak = BuildParticipleII(true);
    std::string dropped;
    JoinParticiplePrefix(l, weak, dropped);
    Form2 = ReduceTripleLetters(weak);
    // A weak participle equal to the strong one is no alternative (both orders).
    bool same = Form2 == p;
    if (unRegel->regelBesser) {
      std::string result = r + Form2;
      TrimLeadingBlanks(result);
      Form2 = same ? std::string() : p;
      TrimLeadingBlanks(Form2);
      AdaptStressMarker(Form2);
      AdaptStressMarker(result);
      return result;
    }
    if (same) Form2.clear();
  }
  std::string result = r + p;
  TrimLeadingBlanks(result);
  AdaptStressMarker(result);
  TrimLeadingBlanks(Form2);
  if (!Form2.empty()) AdaptStressMarker(Form2);
  return result;
}

std::string_view TVerbGen::PrefixInInfinitive() const {
  std::string_view pre = praef;
  // A leading '/' leaves one blank in praef that infin does not have ("/umfahren").
  if (!pre.empty() && pre.back() == ' ' &&
      (pre.size() > infin.size() || infin[pre.size() - 1] != ' '))
    pre.remove_suffix(1);
  return pre;
}

std::string TVerbGen::BuildInfinitiv(int nr) {
  Form2.clear();
  // An empty input ends the analysis before stamm is renewed: no infinitive, not "".
  if (stamm.empty() || infin.empty()) return "-";
  std::string i;
  if (nr == 2) {
    if (IsSuppressed(FUnterdrueckteFormen, InfinitivII)) return "-";
    if (SplitExceptionForm(ausnahmeformen[1], i)) return ReduceTripleLetters(i);
    i = infin;
    std::string_view pre = PrefixInInfinitive();
    int len = static_cast<int>(pre.size());
    int p = fuegstelle != 0 ? fuegstelle + 1 : len + 1;
    InsertAt(i, p, "zu");
    bool endsBlank = !pre.empty() && pre.back() == ' ';
    if ((pre.empty() && p == 1) || (endsBlank && p <= len + 2) ||
        (!pre.empty() && pre.back() == ']'))
      InsertAt(i, len + 3, " ");
  } else {
    i = ReduceTripleLetters(infin);
  }
  i = ReduceTripleLetters(std::move(i));
  if (refl) i = refPartikel(3) + " " + i;
  TrimLeadingBlanks(i);
  AdaptStressMarker(i);
  return i;
}

std::string TVerbGen::PartizipA(int nr) {
  return Framed([&] { return BuildPartizip(nr); });
}
std::u16string TVerbGen::Partizip(int nr) {
  return Latin1ToUni(PartizipA(nr));
}

std::string TVerbGen::InfinitivA(int nr) {
  return Framed([&] { return BuildInfinitiv(nr); });
}
std::u16string TVerbGen::Infinitiv(int nr) {
  return Latin1ToUni(InfinitivA(nr));
}
