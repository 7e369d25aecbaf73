// SPDX-License-Identifier: MIT
// The cell helpers of the table builders: words joined in one allocation, blanks collapsed,
// spellings and auxiliary words taken apart.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "generator/TableParts.h"

namespace table_parts {

bool IsBareForm(const std::u16string& form) {
  return form.empty() || form == u"-";
}

// The compound tenses place the reflexive pronoun by person (refPartikel), the optional one
// "(mich)" included, so the pronoun of the infinitive or participle goes: "sich " and, for a verb
// also used without it, "(sich) "; else "ich habe (mich) (sich) gewaschen".
void StripSich(std::u16string& form) {
  if (BeginsWithW(u"sich ", form))
    form.erase(0, 5);
  else if (BeginsWithW(u"(sich) ", form))
    form.erase(0, 7);
}

void TrimTrailing(std::u16string& s) {
  s.erase(s.find_last_not_of(u' ') + 1);
}

// The parts joined in one allocation; the cells of a table are made of five or six short words.
std::u16string Join(std::initializer_list<std::u16string_view> parts) {
  std::size_t size = 0;
  for (std::u16string_view p : parts) size += p.size();
  std::u16string r(size, u' ');
  char16_t* out = r.data();
  for (std::u16string_view p : parts) out = std::copy(p.begin(), p.end(), out);
  return r;
}

// prefix + form + suffix in one string, or the form alone when it is empty or "-" (WrapForm
// without building prefix and suffix first).
std::u16string Wrapped(std::initializer_list<std::u16string_view> prefix,
                       const std::u16string& form,
                       std::initializer_list<std::u16string_view> suffix) {
  if (IsBareForm(form)) return form;
  std::size_t size = form.size();
  for (std::u16string_view p : prefix) size += p.size();
  for (std::u16string_view p : suffix) size += p.size();
  std::u16string r;
  r.reserve(size);
  for (std::u16string_view p : prefix) r += p;
  r += form;
  for (std::u16string_view p : suffix) r += p;
  return r;
}

// The parts joined with runs of blanks shown as one and no blank at either end, built in one
// string (no joined copy first).
std::u16string Collapsed(std::initializer_list<std::u16string_view> parts) {
  std::size_t size = 0;
  for (std::u16string_view p : parts) size += p.size();
  std::u16string r(size, u' ');
  char16_t* const begin = r.data();
  char16_t* out = begin;  // written through a pointer: a string's += checks its size each time
  for (std::u16string_view p : parts)
    while (!p.empty()) {
      if (p.front() == u' ') {
        if (out != begin && out[-1] != u' ') *out++ = u' ';
        p.remove_prefix(1);
        continue;
      }
      const std::u16string_view word = p.substr(0, p.find(u' '));  // copied as a whole
      out = std::copy(word.begin(), word.end(), out);
      p.remove_prefix(word.size());
    }
  if (out != begin && out[-1] == u' ') --out;
  r.resize(static_cast<std::size_t>(out - begin));
  return r;
}

// The text getForm gives with "M" (and "P" when a pronoun is passed): the pronoun before a
// form the verb has, the alternative after a slash. Composed here from the parts that the data
// keep, so the table and the data come from one call per form.
std::u16string Shown(const TConjForm& x, const std::u16string& pronoun) {
  std::u16string r = pronoun.empty() || x.form == u"-" ? x.form : Join({pronoun, u" ", x.form});
  if (!x.alt.empty()) {
    const std::u16string_view alt(x.alt);
    r += u'/';
    r += alt.substr(0, alt.find_last_not_of(u' ') + 1);
  }
  return r;
}

// Every spelling of a form, the form first, without the pronoun that the compound tense places
// itself.
std::vector<std::u16string> Spellings(const TConjForm& x) {
  std::vector<std::u16string> r{x.form};
  for (std::u16string& a : Alternatives(x)) r.push_back(std::move(a));
  for (std::u16string& s : r) StripSich(s);
  return r;
}

// The words of an auxiliary cell: "bin/habe" and "bin?/habe?" give bin and habe. They point
// into aux.
std::vector<std::u16string_view> AuxWords(std::u16string_view aux) {
  std::vector<std::u16string_view> r;
  for (;;) {
    const std::size_t slash = aux.find(u'/');
    std::u16string_view w = aux.substr(0, slash);
    if (!w.empty() && w.back() == u'?') w.remove_suffix(1);
    r.push_back(w);
    if (slash == aux.npos) return r;
    aux.remove_prefix(slash + 1);
  }
}

void TSpellings::Add(std::u16string&& spelling) {
  if (count_++ == 0) {
    form_.form = std::move(spelling);
    return;
  }
  if (count_ > 2) form_.alt += u',';
  form_.alt += spelling;
}

std::u16string TSpellings::Cell(const std::u16string& pron) const {
  std::u16string r = pron;
  if (!r.empty()) r += u' ';
  r += form_.form;
  if (form_.alt.empty()) return r;
  r += u'/';
  const std::size_t at = r.size();
  r += form_.alt;
  std::replace(r.begin() + static_cast<std::ptrdiff_t>(at), r.end(), u',', u'/');
  return r;
}

// A participle spelling that is an Ersatzinfinitiv ("arbeiten müssen") ends in the same word as
// the infinitive. Its last two words form the verb cluster, before which the finite auxiliary
// (and haben of Futur II) stands in every clause: "als ich habe arbeiten müssen", "ich werde
// haben arbeiten müssen". Returns the words before the cluster, trailing blank kept, and the
// cluster; false for any other spelling.
// The parts point into spelling.
bool SplitVerbCluster(std::u16string_view spelling, std::u16string_view infinitive,
                      std::u16string_view& before, std::u16string_view& cluster) {
  const auto lastWord = [](std::u16string_view s) { return s.substr(s.rfind(u' ') + 1); };
  const std::size_t last = spelling.rfind(u' ');
  if (last == spelling.npos || lastWord(spelling) != lastWord(infinitive)) return false;
  const std::size_t split = spelling.rfind(u' ', last - 1);
  before = split == spelling.npos ? std::u16string_view() : spelling.substr(0, split + 1);
  cluster = spelling.substr(split == spelling.npos ? 0 : split + 1);
  return true;
}

}  // namespace table_parts
