// SPDX-License-Identifier: MIT
// The lookup of a form: candidates from the form, the engine's conjugation of each, the hits
// that contain the input, ranked. Works on the engine's 8-bit text, lower-cased; the output
// side (lines, JSON, hint) is in LookupText.cpp.
#include "generator/Lookup.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/LookupIndex.h"
#include "generator/LookupShape.h"
#include "generator/PageAddress.h"

namespace {

using std::string;
using std::string_view;
using namespace lookupshape;

constexpr std::array<string_view, 7> kReflexive = {"sich", "mich", "dich", "uns",
                                                   "euch", "mir",  "dir"};
// Endings of regular forms, longest first is not needed: every one is tried.
constexpr std::array<string_view, 19> kEndings = {
    "",    "e",   "st",  "est",   "t",    "et",   "en",  "n",  "te", "test",
    "ten", "tet", "ete", "etest", "eten", "etet", "end", "nd", "s"};

struct TCandidate {
  string infinitive;
  int odd = 0;  // 0 plain or a known prefix, 1 an odd split, 2 an odd split marked with "/"
};

class TCandidates {
 public:
  void Add(string inf, int odd) {
    if (inf.size() < 3 || inf.back() != 'n') return;
    // No German infinitive ends so: "gingeen", "wiegenen".
    if (inf.ends_with("een") || inf.ends_with("/en") ||
        (inf.ends_with("enen") && !inf.ends_with("ienen")))
      return;
    // Nor in a plain vowel before -en ("düen"); bauen, freuen, säen, schreien, knien do.
    if (inf.size() >= 4 && inf.ends_with("en")) {
      const char v = inf[inf.size() - 3], before = inf[inf.size() - 4];
      if (v == '\xE4' && !inf.ends_with("s\xE4"
                                        "en"))
        return;  // säen alone
      if (string_view("aoiu\xF6\xFC").find(v) != string_view::npos &&
          !(v == 'u' && string_view("ae\xE4").find(before) != string_view::npos) && v != 'i')
        return;
    }
    for (TCandidate& c : list_)
      if (c.infinitive == inf) {
        c.odd = std::min(c.odd, odd);
        return;
      }
    list_.push_back({std::move(inf), odd});
  }
  // Infinitives whose regular forms could end as word does.
  void Regular(string_view prefix, string_view word, int odd) {
    for (string_view e : kEndings) {
      if (word.size() < e.size() + 2 || !word.ends_with(e)) continue;
      const string s(word.substr(0, word.size() - e.size()));
      const string p(prefix);
      Add(p + s + "en", odd);
      const unsigned char last = static_cast<unsigned char>(s.back());
      // -n after a vowel: knien, tun, sein and their compounds.
      if (last == 'e' || s.ends_with("tu") || s.ends_with("sei") || EndsInSchwaSyllable(s))
        Add(p + s + "n", odd);
      // "sammle", "wandre": the e of -eln/-ern dropped before the ending.
      if (ElisionPoint(s)) Add(p + s.substr(0, s.size() - 1) + "e" + s.back() + "n", odd);
    }
  }
  const std::vector<TCandidate>& List() const { return list_; }

 private:
  std::vector<TCandidate> list_;
};

// The candidates of one word (lower case), before a separated particle is put in front.
void WordCandidates(const string& w, TCandidates& out) {
  out.Regular("", w, 0);
  if (w.starts_with("ge")) out.Regular("", string_view(w).substr(2), 0);
  const std::shared_ptr<const TLookupIndex> index = LookupIndexInstance();
  for (std::size_t i = 0; i == 0 || i + 2 <= w.size(); ++i) {
    const string p = w.substr(0, i);
    const string_view rest = string_view(w).substr(i);
    const bool known = KnownPrefix(p);
    const int odd = known ? 0 : 1;
    if (i > 0 && rest.starts_with("ge") && rest.size() > 4) {
      out.Regular(p, rest.substr(2), odd);
      if (!known && i >= 2) out.Regular(p + "/", rest.substr(2), 2);
    }
    if (i > 0 && rest.starts_with("zu") && rest.size() > 4) {
      out.Add(p + string(rest.substr(2)), odd);
      if (!known && i >= 2) out.Add(p + "/" + string(rest.substr(2)), 2);
    }
    auto found = [&](const string& base, bool compoundOnly) {
      // A stem found only in compounds may follow ge- after a particle: "abgewinnen".
      const bool ge = compoundOnly && p.size() > 2 && p.ends_with("ge") &&
                      KnownPrefix(string_view(p).substr(0, p.size() - 2));
      const int o = ge ? 0 : odd;
      out.Add(p + base, o);
      if (o > 0 && i >= 2) out.Add(p + "/" + base, 2);
    };
    index->Candidates(rest, found);
    // The participle of an inseparable verb has no ge-: "durchbrochen", "verloren".
    if (known && i > 0 && !p.ends_with("ge")) index->Candidates("ge" + string(rest), found);
  }
}

// Spelling variants tried besides the word: the other spelling of ss and ß, where the
// orthography may have written the other one (the old one's "mußte", the Swiss "musste").
std::vector<string> SpellingVariants(const string& w, TOrthoTyp ortho) {
  std::vector<string> v{w};
  if (ortho == NeuOrtho) return v;
  string a = w, b = w;
  for (std::size_t p; (p = a.find('\xDF')) != string::npos;) a.replace(p, 1, "ss");
  for (std::size_t p; (p = b.find("ss")) != string::npos;) b.replace(p, 2, "\xDF");
  if (a != w && ortho == AltOrtho) v.push_back(a);
  if (b != w) v.push_back(b);
  return v;
}

// --- Synthesis ------------------------------------------------------------------------------

struct TSynthForm {
  TFormen form;
  bool sub;
  string key;    // lower case, no stress marks
  string shown;  // with pronoun ("dass" before a subordinate form), no stress marks
};
struct TSynth {
  bool ok = false;
  bool listed = false;
  habseityp aux = unspe;
  string prefix;  // the separable prefix the engine found, lower case
  std::vector<TSynthForm> forms;
};

string Key(string_view text) {
  string k;
  for (char c : text)
    if (c != '\'') k += c;
  while (!k.empty() && (k.back() == ' ' || k.back() == '!')) k.pop_back();
  while (!k.empty() && k.front() == ' ') k.erase(0, 1);
  LowerStrLatin1(k);
  return k;
}
string Unmarked(string_view text) {
  string k;
  for (char c : text)
    if (c != '\'') k += c;
  while (!k.empty() && (k.back() == ' ' || k.back() == '!')) k.pop_back();
  return k;
}

void AddForms(TSynth& s, TFormen f, bool sub, const string& built, const string& pronoun) {
  if (built.empty() || built == "-") return;
  for (const string& one : SplitBuiltForm(built)) {
    const string key = Key(one);
    if (key.empty()) continue;
    string shown = Unmarked(one);
    if (!pronoun.empty()) shown = (sub ? "dass " : "") + pronoun + " " + shown;
    s.forms.push_back({f, sub, key, shown});
  }
}

// The verb's entry in the lists covers its stem, or the stem is a known prefix before it:
// "anziehen" and "verstehen" are listed, "aalesen" (aa + lesen) is not.
bool ListedWhole(const TVerbGen& verb) {
  if (verb.unRegel == nullptr || verb.unRegel->dochRegel) return false;
  string entry = verb.unRegel->uStamm;
  if (!entry.empty() && entry[0] == '?') entry.erase(0, 1);
  string stem = verb.stamm;
  LowerStrLatin1(stem);
  LowerStrLatin1(entry);
  string plain;
  for (char c : stem)
    if (c != '\'' && c != '/' && c != ' ') plain += c;
  if (!plain.ends_with(entry)) return true;  // the entry found otherwise (a respelling)
  return KnownPrefix(plain.substr(0, plain.size() - entry.size()));
}

// The verb object of the lookup running on this thread. A lookup makes its own rather than
// keep one per thread: a verb object alive holds the lists, which a window that changes its
// lists file must be able to let go.
thread_local TVerbGen* lookupVerb = nullptr;

// The conjugations of candidates a thread made last, for the forms of one text that share
// their candidates.
class TSynthesizer {
 public:
  std::shared_ptr<const TSynth> Get(const string& inf, TOrthoTyp ortho) {
    // Conjugations of other lists are no use: a reload, another file or another snapshot
    // empties the cache.
    const std::uint64_t generation = VerbListsGeneration();
    if (generation != generation_) {
      map_.clear();
      order_.clear();
      generation_ = generation;
    }
    const string key = inf + '\x01' + static_cast<char>('0' + ortho);
    auto it = map_.find(key);
    if (it != map_.end()) {
      order_.splice(order_.begin(), order_, it->second.second);
      return it->second.first;
    }
    if (map_.size() >= kCapacity) {
      map_.erase(order_.back());
      order_.pop_back();
    }
    order_.push_front(key);
    auto built = std::make_shared<TSynth>();
    Build(inf, ortho, *built);
    map_[key] = {built, order_.begin()};
    return built;
  }

 private:
  static constexpr std::size_t kCapacity = 96;
  void Build(const string& inf, TOrthoTyp ortho, TSynth& s) {
    TVerbGen& verb_ = *lookupVerb;
    std::u16string error;
    verb_.SetOnErrMsg([&](const std::u16string& m) { error = m; });
    verb_.SetOrthoTyp(ortho);
    verb_.newVerbA(inf, unsp);
    if (!error.empty() && verb_.stamm.empty()) return;
    if (verb_.infinitivBefund != IB_Infinitiv) return;
    if (!error.empty() && error.find(u"kein Infinitiv") != std::u16string::npos) return;

    s.ok = true;
    s.listed = ListedWhole(verb_);
    s.aux = verb_.habenSein();
    s.prefix = Key(verb_.Prefix());
    for (int f = InfinitivI; f <= KonjPraet3P; ++f) {
      const TFormen form = static_cast<TFormen>(f);
      if (verb_.EsVerbBlocked(form)) continue;
      const bool finite = form >= IndikPraes1S;
      string pronoun = finite ? verb_.getPersPronFA(form) : string();
      TrimTrailingBlanks(pronoun);
      AddForms(s, form, false, verb_.getFormA(form, u"M"), pronoun);
      if (finite) AddForms(s, form, true, verb_.getFormA(form, u"MN"), pronoun);
    }
  }
  std::uint64_t generation_ = 0;
  std::list<string> order_;
  std::unordered_map<string, std::pair<std::shared_ptr<const TSynth>, std::list<string>::iterator>>
      map_;
};

TSynthesizer& Synthesizer() {
  thread_local TSynthesizer s;
  return s;
}

// --- Labels ---------------------------------------------------------------------------------

TLookupForm FormOf(TFormen f, bool sub, const string& shown) {
  TLookupForm r;
  r.shown = Latin1ToUni(shown);
  r.subordinate = sub;
  switch (f) {
    case InfinitivI:
      r.tense = TLookupTense::infinitiv;
      return r;
    case InfinitivII:
      r.tense = TLookupTense::zuInfinitiv;
      return r;
    case PartizipI:
      r.tense = TLookupTense::partizip1;
      return r;
    case PartizipII:
      r.tense = TLookupTense::partizip2;
      return r;
    case ImperativS:
    case ImperativP:
      r.tense = TLookupTense::imperativ;
      r.plural = f == ImperativP;
      return r;
    default:
      break;
  }
  const int block = (f - IndikPraes1S) / 6, person = (f - IndikPraes1S) % 6;
  r.tense = block % 2 == 0 ? TLookupTense::praesens : TLookupTense::praeteritum;
  r.konjunktiv = block >= 2;
  r.person = person % 3 + 1;
  r.plural = person >= 3;
  return r;
}

bool SameForm(const TLookupForm& a, const TLookupForm& b) {
  return a.tense == b.tense && a.konjunktiv == b.konjunktiv && a.person == b.person &&
         a.plural == b.plural && a.subordinate == b.subordinate && a.passive == b.passive;
}

struct THitWork {
  TLookupHit hit;
  int odd = 0;
  bool oddEnding = false;  // -elen, -eren
  string key;              // the infinitive, lower case, unmarked
  std::shared_ptr<const TSynth> synth;
};

// Conjugates the candidate in its readings and adds the hit when a form equals input.
void Verify(const string& inf, int odd, const string& input, TOrthoTyp ortho,
            std::vector<THitWork>& hits) {
  auto tryOne = [&](const string& phrase) {
    const std::shared_ptr<const TSynth> sp = Synthesizer().Get(phrase, ortho);
    const TSynth& s = *sp;
    if (!s.ok) return false;
    // A split the engine makes itself is no odd one: "rad" of radfahren, "kopf" of kopfstehen.
    int rank = odd;
    if (rank == 1 && !s.prefix.empty() && !s.prefix.ends_with("zu") &&
        Key(phrase).starts_with(s.prefix))
      rank = 0;
    std::vector<TLookupForm> forms;
    for (const TSynthForm& f : s.forms) {
      if (f.key != input) continue;
      // A subordinate form that is the main form too is shown once, as the main one.
      if (f.sub) {
        bool alsoMain = false;
        for (const TSynthForm& g : s.forms)
          if (!g.sub && g.form == f.form && g.key == input) alsoMain = true;
        if (alsoMain) continue;
      }
      TLookupForm lf = FormOf(f.form, f.sub, f.shown);
      bool dup = false;
      for (const TLookupForm& x : forms) dup = dup || SameForm(x, lf);
      if (!dup) forms.push_back(std::move(lf));
    }
    if (forms.empty()) return false;
    for (THitWork& h : hits)
      if (h.hit.infinitive == Latin1ToUni(phrase)) return true;
    THitWork w;
    w.hit.infinitive = Latin1ToUni(phrase);
    w.hit.listed = s.listed;
    w.hit.forms = std::move(forms);
    w.odd = rank;
    w.key = Key(phrase);
    w.oddEnding = w.key.ends_with("en") &&
                  EndsInSchwaSyllable(string_view(w.key).substr(0, w.key.size() - 2));
    w.synth = sp;
    hits.push_back(std::move(w));
    return true;
  };
  string bare = inf;
  string front;
  if (bare.starts_with("sich ")) {
    front = "sich ";
    bare.erase(0, 5);
  }
  for (string_view d : kDoubly) {
    if (bare.size() < d.size() + 4 || !bare.starts_with(d) || bare.find('/') != string::npos)
      continue;
    const bool a = tryOne(front + "'" + bare);
    const bool b = tryOne(front + string(d) + "'" + bare.substr(d.size()));
    if (a || b) return;
    break;
  }
  tryOne(inf);
}

std::vector<string> Words(const string& s) {
  std::vector<string> w;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == ' ') ++i;
    std::size_t j = i;
    while (j < s.size() && s[j] != ' ') ++j;
    if (j > i) w.push_back(s.substr(i, j - i));
    i = j;
  }
  return w;
}

// Refused as the page refuses a query: too long, control characters; and no letter at all.
std::u16string InputError(std::u16string_view form) {
  if (form.size() > kMaxPhraseLength)
    return std::u16string(QueryErrorText(TQueryError::qe_tooLong));
  bool letter = false;
  for (char16_t c : form) {
    if (c < 0x20 || (c >= 0x7F && c < 0xA0))
      return std::u16string(QueryErrorText(TQueryError::qe_notText));
    letter = letter || u_isalpha(c);
  }
  if (!letter) return u"Die Eingabe enthält keine Buchstaben. Bitte geben Sie eine Verbform ein.";
  return {};
}

// The simple lookup: one word with an optional separated particle and reflexive pronoun.
void LookupSimple(const string& normal, TOrthoTyp ortho, std::vector<THitWork>& hits,
                  bool nounFirst = false) {
  std::vector<string> words = Words(normal);
  bool reflexive = false;
  for (std::size_t i = 0; i < words.size(); ++i)
    for (string_view r : kReflexive)
      if (words.size() > 1 && words[i] == r && !reflexive) {
        reflexive = true;
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
  if (words.empty()) return;
  // The verb word and the particle: after it ("zog an", "saugt Staub"), or before it in the
  // subordinate clause of a verb written apart there ("Rad fahre"); "zu gehen".
  struct TReading {
    std::size_t main;
    string particle;
  };
  std::vector<TReading> readings;
  const std::size_t first = words.size() > 1 && words[0] == "zu" ? 1 : 0;
  if (words.size() <= first + 3) {
    string after;
    for (std::size_t i = first + 1; i < words.size(); ++i) after += words[i];
    readings.push_back({first, after});
  }
  if (words.size() == 2 && first == 0 && nounFirst) readings.push_back({1, words[0]});
  for (const TReading& reading : readings) {
    TCandidates cands;
    for (const string& v : SpellingVariants(words[reading.main], ortho)) WordCandidates(v, cands);
    for (const TCandidate& c : cands.List()) {
      string inf = reading.particle + c.infinitive;
      if (reflexive) inf = "sich " + inf;
      Verify(inf, c.odd, normal, ortho, hits);
    }
  }
}

std::vector<THitWork> Pruned(std::vector<THitWork> hits, const string& normal);
bool MadeUpBeside(const THitWork& h, const THitWork& o, const string& input);

// The compound forms of the verbs whose participle or infinitive verbWord is, with the
// auxiliary's form af.
void AddCompound(const TSynthForm& af, const string& aux, const string& verbWord, bool sub,
                 TOrthoTyp ortho, std::vector<THitWork>& hits) {
  std::vector<THitWork> inner;
  LookupSimple(verbWord, ortho, inner);
  inner = Pruned(std::move(inner), verbWord);
  const std::size_t blank = af.shown.find(' ');
  const string shown =
      sub ? "dass " + af.shown.substr(0, blank) + " " + verbWord + " " + af.shown.substr(blank + 1)
          : af.shown + " " + verbWord;
  for (THitWork& h : inner) {
    for (const TLookupForm& f : h.hit.forms) {
      const bool part = f.tense == TLookupTense::partizip2;
      const bool inf = f.tense == TLookupTense::infinitiv;
      TLookupForm c = FormOf(af.form, sub, shown);
      if (aux == "werden") {
        if (part) {
          c.passive = true;
        } else if (inf && c.tense == TLookupTense::praesens) {
          c.tense = TLookupTense::futur1;
        } else if (inf && c.konjunktiv) {
          c.tense = TLookupTense::futur1;  // "würde lesen"
        } else {
          continue;
        }
      } else {
        const habseityp need = aux == "haben" ? haben : sein;
        if (!part || (h.synth->aux != need && h.synth->aux != habensein && h.synth->aux != unspe))
          continue;
        c.tense = c.tense == TLookupTense::praesens ? TLookupTense::perfekt
                                                    : TLookupTense::plusquamperfekt;
      }
      THitWork* target = nullptr;
      for (THitWork& x : hits)
        if (x.hit.infinitive == h.hit.infinitive) target = &x;
      if (!target) {
        THitWork w = h;
        w.hit.forms.clear();
        hits.push_back(std::move(w));
        target = &hits.back();
      }
      bool dup = false;
      for (const TLookupForm& x : target->hit.forms) dup = dup || SameForm(x, c);
      if (!dup) target->hit.forms.push_back(std::move(c));
    }
  }
}

// "hat gelesen", "ist gegangen", "wird gelesen", "wird lesen", and in the subordinate clause
// "gelesen hat": the auxiliary's form and the participle's or infinitive's verb.
void LookupCompound(const std::vector<string>& words, TOrthoTyp ortho,
                    std::vector<THitWork>& hits) {
  if (words.size() != 2) return;
  static constexpr std::array<string_view, 3> kAux = {"haben", "sein", "werden"};
  for (const bool sub : {false, true}) {
    const string& auxWord = words[sub ? 1 : 0];
    const string& verbWord = words[sub ? 0 : 1];
    for (string_view aux : kAux) {
      const std::shared_ptr<const TSynth> a = Synthesizer().Get(string(aux), ortho);
      for (const TSynthForm& af : a->forms) {
        if (af.sub || af.form < IndikPraes1S || af.key != auxWord) continue;
        AddCompound(af, string(aux), verbWord, sub, ortho, hits);
      }
    }
  }
}
// A mixed verb: its past is weak in form ("dachte", "brachte").
bool MixedPast(const TSynth& s) {
  for (const TSynthForm& f : s.forms)
    if (f.form == IndikPraet1S && !f.sub) return f.key.ends_with("te");
  return false;
}

string SsSpelling(string s) {
  for (std::size_t p; (p = s.find('\xDF')) != string::npos;) s.replace(p, 1, "ss");
  return s;
}

// The stem of an infinitive: without -en, or -n after -el, -er and the ie of knien.
string StemOf(const string& key) {
  const bool ie = key.ends_with("ien") && (key.size() < 4 || key[key.size() - 4] != 'e');
  return key.substr(0, key.size() - (key.ends_with("en") && !ie ? 2 : 1));
}

// True when h is no reading of its own beside o, only the input's ending or ge- read into a
// made-up infinitive: "überwallten", "überwalltesen" beside überwallen (the past's t and st),
// "gingen", "liesen", "hielen", "kannen" beside a listed verb of whose forms they are made,
// "gesaugen", "downgeloaden" beside the verb whose participle the input is, an -elen/-eren
// or "sammlen" beside its -eln/-ern twin. A stem in -t stays beside its reading without t
// where German has both kinds ("achten", "achen").
bool MadeUpBeside(const THitWork& h, const THitWork& o, const string& input) {
  if (h.key == o.key || (o.oddEnding && !h.oddEnding) || !o.synth) return false;
  const string hs = StemOf(h.key), os = StemOf(o.key);
  // An odd split does not push out a plain reading, except by its participle (below).
  const bool rank = o.odd <= h.odd;
  if (!h.hit.listed && rank) {
    if (h.oddEnding && !o.oddEnding && h.key.size() == o.key.size() + 1 &&
        h.key.substr(0, h.key.size() - 2) == o.key.substr(0, o.key.size() - 1))
      return true;
    if (h.key.size() == o.key.size() && (h.key.ends_with("len") || h.key.ends_with("ren")) &&
        ElisionPoint(hs) &&
        o.key == h.key.substr(0, h.key.size() - 3) + "e" + h.key[h.key.size() - 3] + "n")
      return true;
    if (hs.size() > os.size() && hs.starts_with(os) && !os.empty()) {
      static constexpr string_view kEndingMaterial[] = {"e",  "st",  "es",   "est", "et",
                                                        "te", "tes", "test", "ten", "en"};
      const string_view x = string_view(hs).substr(os.size());
      for (string_view e : kEndingMaterial)
        if (x == e) return true;
      // The st of a du-form: "spielsen" beside spielen; bremsen, grinsen, gipsen, klecksen,
      // brausen have their s after m, n, p, k or a vowel.
      if (x == "s" && !IsVowelChar(os.back()) &&
          (string_view("mnpk").find(os.back()) == string_view::npos ||
           (os.size() >= 2 && os[os.size() - 2] == os.back())))
        return true;
      if (x == "t" && PastLikeTStem(hs)) return true;
    }
  }
  bool participle = false;
  for (const TSynthForm& f : o.synth->forms) {
    participle = participle || (f.form == PartizipII && f.key == input);
    if (!o.hit.listed || !rank) continue;
    // "überdächen" beside the mixed überdenken's "überdächte" (not schälen beside schelten's
    // "schälte").
    if (!h.hit.listed && f.key == hs + "te" && f.form == KonjPraet1S && MixedPast(*o.synth))
      return true;
    // Not by a subjunctive II in ä, ü: drängen beside dringen's "drängen", abführen beside
    // fahren's; one in ö is the strong verb's ("gewönnen").
    if (f.form >= KonjPraet1S && f.form <= KonjPraet3P && f.key.find('\xF6') == string::npos)
      continue;
    if (f.key == h.key && (!h.hit.listed || f.form == InfinitivII)) return true;
    if (h.hit.listed) continue;
    // The old spelling's ß against the new one's ss: "mussen" beside müssen's "mußte".
    if (f.key.find('\xDF') != string::npos && f.key != hs + "te" &&
        SsSpelling(f.key) == SsSpelling(hs + "te"))
      return true;
    if ((f.key == hs &&
         (f.form == ImperativS || f.form == IndikPraes1S || f.form == IndikPraes3S)) ||
        f.key == hs + "e" ||
        (f.key == hs + "t" && (f.form == IndikPraes3S || f.form == IndikPraet1S)))
      return true;
  }
  // The input is o's participle and h is o with a ge- put in.
  if (!participle || (h.hit.listed && !o.hit.listed)) return false;  // genesen, not nesen
  for (std::size_t p = h.key.find("ge"); p != string::npos; p = h.key.find("ge", p + 1))
    if (h.key.substr(0, p) + h.key.substr(p + 2) == o.key) return true;
  return false;
}

// The hits that are readings of their own, ranked.
std::vector<THitWork> Pruned(std::vector<THitWork> hits, const string& normal) {
  std::vector<char> drop(hits.size(), 0);
  for (std::size_t i = 0; i < hits.size(); ++i)
    for (std::size_t j = 0; j < hits.size() && !drop[i]; ++j)
      if (i != j) drop[i] = MadeUpBeside(hits[i], hits[j], normal);
  // An odd split only counts when nothing better is there.
  int minOdd = 3;
  for (std::size_t i = 0; i < hits.size(); ++i)
    if (!drop[i]) minOdd = std::min(minOdd, hits[i].odd);
  std::vector<THitWork> kept;
  for (std::size_t i = 0; i < hits.size(); ++i) {
    if (drop[i] || hits[i].odd > minOdd) continue;
    kept.push_back(std::move(hits[i]));
  }
  std::stable_sort(kept.begin(), kept.end(), [](const THitWork& a, const THitWork& b) {
    if (a.hit.listed != b.hit.listed) return a.hit.listed;
    if (a.oddEnding != b.oddEnding) return b.oddEnding;
    if (a.odd != b.odd) return a.odd < b.odd;
    // The weak past before a present of a verb in -ten: "hörte" hören, then horten-like
    // "hörten".
    return StemOf(b.key) == StemOf(a.key) + "t" && !b.hit.listed;
  });
  return kept;
}

}  // namespace

TLookupResult LookupForm(std::u16string_view form, TOrthoTyp ortho) {
  TLookupResult r;
  r.input = std::u16string(form);
  TrimBlanksW(r.input);
  r.error = InputError(r.input);
  if (!r.error.empty()) return r;
  for (char16_t c : r.input)
    if (c >= 0x100 && UniCharToLatin1(c) == '?') return r;  // no letter of German verbs
  // Its verb object keeps the lists loaded while the index is built.
  TVerbGen verb;
  struct TDone {
    TVerbGen* before;
    ~TDone() { lookupVerb = before; }
  } done{lookupVerb};
  lookupVerb = &verb;
  string normal;
  for (const string& w : Words(Key(UniToLatin1(r.input)))) {
    if (!normal.empty()) normal += ' ';
    normal += w;
  }
  std::vector<THitWork> hits;
  const std::vector<string> words = Words(normal);
  if (words.size() == 2) LookupCompound(words, ortho, hits);
  // A capital, then a small letter: a noun before its verb ("Rad fahre").
  const std::size_t blank = r.input.find(u' ');
  const bool nounFirst = blank != std::u16string::npos && blank + 1 < r.input.size() &&
                         u_isupper(r.input[0]) && u_islower(r.input[blank + 1]);
  if (hits.empty()) LookupSimple(normal, ortho, hits, nounFirst);
  // A made-up infinitive that is only a form of a listed hit ("gingen" beside gehen), and an
  // -elen/-eren verb beside its -eln/-ern twin, are no readings of their own.
  std::vector<THitWork> kept = Pruned(std::move(hits), normal);
  for (THitWork& h : kept) r.hits.push_back(std::move(h.hit));
  return r;
}
