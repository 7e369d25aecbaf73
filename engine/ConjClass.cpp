// SPDX-License-Identifier: MIT
// Conjugation class: the exception entry, form limits, auxiliary, stem vowel, the completion
// of the entry's empty slots and the final weak/strong decision.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/Syllables.h"
#include "engine/_ZTVerb.h"

namespace {
void SkipBlanks(std::string_view& s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
}

// Two letters that form one stem vowel: the vowel v preceded by p.
bool JoinsDiphthong(unsigned char p, unsigned char v) {
  switch (v) {
    case 'a':
    case 'o':
      return p == v;
    case 'e':
      return p == 'e' || p == 'i';
    case 'i':
      return p == 'a' || p == 'e' || p == 'o';
    case 'u':
      return p == 'a' || p == 'e' || p == 0xE4;
    default:
      return false;
  }
}

// Guards the one write into shared data during an analysis: an entry's empty slots are
// filled once, by the first analysis that uses it, under this mutex; every later analysis
// sees the flag set under the same mutex and thus also the finished values, so the readers
// that follow (the form builders) never overlap a write.
std::mutex entryCompletionMutex;

}  // namespace

unRegPtr TVerbGen::FindException(std::string_view verb, std::string_view prefix) {
  std::string plain = RemoveStressMarks(verb);
  // Only the entries whose stem ends plain can match; they come in list order.
  TEntryHits hits;
  StemEntriesEnding(plain, hits);
  for (const TEntryHit& hit : hits) {
    unRegRec& e = CurrentVerbLists().unRegList[static_cast<std::size_t>(hit.entry)];
    std::string_view st = e.uStamm;
    if (st.starts_with('?')) {
      st.remove_prefix(1);
      // A '?' stem applies to compounds only, or after a split prefix or phrase words.
      if (plain.size() < st.size() || (plain.size() == st.size() && prefix.empty())) continue;
    }
    if (!plain.ends_with(st)) continue;
    std::string_view front = std::string_view(plain).substr(0, plain.size() - st.size());
    if (PrefixResidue(front, FOrthoTyp).empty()) return &e;
  }
  return nullptr;
}

bool TVerbGen::FormsSettledByTheLists() const {
  auto settled = [this](TFormen f, int slot) {
    return (FUnterdrueckteFormen & FormBit(f)) != 0 || !ausnahmeformen[slot].empty();
  };
  return (FUnterdrueckteFormen & FiniteFormsAndImperatives) == FiniteFormsAndImperatives &&
         settled(InfinitivII, 1) && settled(PartizipII, 3);
}

void TVerbGen::ApplyFormLimits() {
  FUnterdrueckteFormen = 0;
  for (int i = 1; i <= 3; ++i) ausnahmeformen[i].clear();
  if (stamm.empty()) return;
  const std::string* line = FormLimitLine(stamm);
  if (line == nullptr) return;
  std::string_view rest = std::string_view(*line).substr(stamm.size());
  SkipBlanks(rest);
  while (rest.size() >= 2) {
    TFormenSet forms = 0;
    int slot = 0;  // 'F' has no replacement slot
    switch (rest.front()) {
      case 'F':
        forms = FiniteFormsAndImperatives;
        break;
      case 'I':
        forms = FormBit(InfinitivII);
        slot = 1;
        break;
      case 'p':
        forms = FormBit(PartizipI);
        slot = 2;
        break;
      case 'P':
        forms = FormBit(PartizipII);
        slot = 3;
        break;
      case ';':
        return;
      default:
        ReportError(u"Liste f\u00FCr eingeschr\u00E4nkten Formenumfang und Ausnahmen");
        return;
    }
    rest.remove_prefix(1);
    SkipBlanks(rest);
    if (rest.starts_with('\\')) {
      FUnterdrueckteFormen |= forms;
      rest.remove_prefix(1);
    } else {
      std::size_t comma = rest.find(',');
      std::string_view form = rest.substr(0, comma);
      if (slot != 0) ausnahmeformen[slot] = form;
      rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    }
    SkipBlanks(rest);
  }
}

habseityp TVerbGen::EffectiveHabenSein() const {
  if (refl) return haben;
  if (FHabsei != unspe) return FHabsei;
  if (unRegel != nullptr && (unRegel->flags & 3) != 0)
    return static_cast<habseityp>(unRegel->flags & 3);
  return haben;
}

// Runs while praef is the separable prefix alone: prefix and stem are looked up together
// first, so "abfahr1" beats "fahr2".
void TVerbGen::DecideAuxiliary() {
  // A reflexive verb takes haben whatever its base verb takes: "ich habe mich verlaufen",
  // though "der Weg ist verlaufen". The generator shows FHabsei itself, so it must say so too.
  if (refl) {
    FHabsei = haben;
    return;
  }
  FHabsei = static_cast<habseityp>(HabenSeinFromTable(praef + stamm));
  if (FHabsei == unspe && HasInseparablePrefix(stamm) &&
      !LeadingWord(prefix_words::kHabenHint, stamm).empty())
    FHabsei = haben;
  if (FHabsei == unspe) FHabsei = static_cast<habseityp>(HabenSeinFromTable(stamm));
  // The lock is already held by this analysis, and its file date is current: read directly.
  if (FHabsei == unspe) FHabsei = EffectiveHabenSein();
}

void TVerbGen::FindStemVowel() {
  int n = Len(stamm);
  stammvokal.clear();
  vpos = 0;
  stammvokalLang = false;
  if (n == 0) return;
  int i = n;
  if (_ern || _eln)
    i = n - 2;
  else if (_igen)
    i = LastPosChar('i', stamm) - 1;
  // A stem like "ig" (-igen) would start before its first letter: start at the first one.
  i = std::clamp(i, 1, n);
  while (i > 1 && !IsVowel(At(stamm, i))) --i;
  unsigned char v = At(stamm, i);
  unsigned char p = i > 1 ? At(stamm, i - 1) : ' ';
  stammvokal.assign(1, static_cast<char>(v));
  vpos = i;
  if (JoinsDiphthong(p, v)) {
    stammvokal.insert(stammvokal.begin(), static_cast<char>(p));
    vpos = i - 1;
    stammvokalLang = true;
  } else if (At(stamm, i + 1) == 'h') {
    stammvokalLang = true;
  } else {
    stammvokalLang = vpos >= n - ((_ern || _eln) ? 3 : 1);
  }
}

void TVerbGen::CompleteEntrySlots() {
  unRegRec* e = unRegel;
  if (e == nullptr || e->dochRegel) return;
  // Filled in once by the first analysis that uses the entry; after that every thread's
  // analysis only reads, without taking the process-wide lock.
  std::atomic_ref<bool> completed(e->completed);
  if (completed.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> guard(entryCompletionMutex);
  if (completed.load(std::memory_order_relaxed)) return;
  for (int i = 1; i <= 3; ++i) {
    if (e->ablaut[i].empty()) {
      e->ablaut[i] = stammvokal;
      e->ablautLang[i] = stammvokalLang;
    }
  }
  if (e->ablaut[4].empty()) {
    e->ablaut[4] = e->ablaut[1];
    e->ablautLang[4] = e->ablautLang[1];
  }
  if (e->endung[4].empty()) e->endung[4] = e->endung[1];
  completed.store(true, std::memory_order_release);
}

void TVerbGen::FinalClassDecision(TSchwSt schwachstark) {
  if (unRegel == nullptr) return;
  if (unRegel->dochRegel) {
    unRegel = nullptr;
  } else if (unRegel->auchregel) {
    if (schwachstark == schwach)
      unRegel = nullptr;
    else if (schwachstark == stark)
      regelsperre = true;
  }
}
