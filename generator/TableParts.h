// SPDX-License-Identifier: MIT
// What the builders of the table and of the further blocks share: the words of a cell joined,
// the spellings of a form, the auxiliary words of a cell, and the basis of the compound tenses
// of one table. Internal to the generator.
//
//   Collapsed({u"habe ", u" mich", u" gewaschen"});   // u"habe mich gewaschen"
//   AuxWords(u"bin?/habe?");                          // {u"bin", u"habe"}
#pragma once

#include <array>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/VerbGenerator.h"

namespace table_parts {

inline constexpr std::u16string_view kWenn = u"wenn ";
inline constexpr std::u16string_view kAls = u"als ";
inline constexpr std::u16string_view kAlsOb = u"als ob ";

bool IsBareForm(const std::u16string& form);  // empty or "-"
// The leading "sich " or "(sich) " removed: the compound tenses place the pronoun by person.
void StripSich(std::u16string& form);
void TrimTrailing(std::u16string& s);
// The parts joined in one allocation.
std::u16string Join(std::initializer_list<std::u16string_view> parts);
// prefix + form + suffix in one string, or the form alone when it is empty or "-".
std::u16string Wrapped(std::initializer_list<std::u16string_view> prefix,
                       const std::u16string& form,
                       std::initializer_list<std::u16string_view> suffix);
// The parts joined with runs of blanks shown as one and no blank at either end.
std::u16string Collapsed(std::initializer_list<std::u16string_view> parts);
// The text getForm gives with "M" (and "P" when a pronoun is passed).
std::u16string Shown(const TConjForm& x, const std::u16string& pronoun);
// Every spelling of a form, the form first, without its "sich".
std::vector<std::u16string> Spellings(const TConjForm& x);
// The words of an auxiliary cell ("bin/habe", "bin?/habe?"); they point into aux.
std::vector<std::u16string_view> AuxWords(std::u16string_view aux);
// Spellings gathered one by one into a form (the first) and its alternatives (the others), with
// no list between: a table spells out some 500 of them.
class TSpellings {
 public:
  void Add(std::u16string&& spelling);
  bool empty() const { return count_ == 0; }
  TConjForm& form() { return form_; }
  // The display cell: the pronoun, then each spelling, "/" between them.
  std::u16string Cell(const std::u16string& pron) const;

 private:
  TConjForm form_;
  std::size_t count_ = 0;
};
// An Ersatzinfinitiv spelling taken apart into the words before the verb cluster and the
// cluster ("lesen können"); false for any other spelling. The parts point into spelling.
bool SplitVerbCluster(std::u16string_view spelling, std::u16string_view infinitive,
                      std::u16string_view& before, std::u16string_view& cluster);

// HTML: an item of a list (the item, then CR LF); text escaped as it is appended; a tense's heading
// row; its six rows, each in one item or split after the main cell into two.
void Item(std::u16string& list, std::u16string_view item);
void AppendEscaped(std::u16string& out, std::u16string_view text);
void AppendHeading(std::u16string& list, const TConjTense& tense, const TConjTable& t);
void Rows(std::u16string& list, const TConjTense& tense, bool twoItems);

}  // namespace table_parts

// The three ways a compound tense is built: auxiliary (haben/sein) and participle, werden and
// infinitive, werden with participle and haben/sein.
enum TCompoundKind { ck_perfect, ck_future1, ck_future2 };

struct TCompoundSpec {
  TCompoundKind kind;
  std::u16string_view conj;  // the grey conjunction of the subordinate clause
  // The data spell out the auxiliary's own alternatives too ("wärest", "wärst"); the
  // indicative auxiliaries of the table have none.
  bool auxAlternatives;
};

// The participle and infinitive without their "sich", their spellings, and the auxiliary forms
// that several rows ask for: made once per table, not once per row (or per auxiliary word).
struct TVerbGenerator::TCompoundBasis {
  TCompoundBasis(std::u16string participle, std::u16string infinitive, const TConjForm& p2F,
                 const TConjForm& inf1F)
      : p2(std::move(participle)), inf1(std::move(infinitive)), p2Form(p2F), inf1Form(inf1F) {
    if (!table_parts::IsBareForm(p2Form.form)) p2Spellings = table_parts::Spellings(p2Form);
    if (!table_parts::IsBareForm(inf1Form.form)) inf1Spellings = table_parts::Spellings(inf1Form);
  }
  std::u16string p2, inf1;
  const TConjForm& p2Form;
  const TConjForm& inf1Form;
  std::vector<std::u16string> p2Spellings, inf1Spellings;
  // werden by finite form (IndikPraes1S .. KonjPraet3P): the futures, the passive
  std::array<std::optional<std::u16string>, 24> werden;
  std::optional<std::u16string> habenSeinInf, habenSeinInfM;  // Futur II
  bool ersatz = false;  // an infinitive stands for the participle (Ersatzinfinitiv)
};
