// SPDX-License-Identifier: MIT
// Parsing a verb lists file: the entry section, the eight table sections, the two lists.
#include <algorithm>
#include <atomic>
#include <string>
#include <string_view>

#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"
#include "engine/_ZTVerbLists.h"

namespace {

constexpr std::size_t kMaxLine = 255;

bool IsComment(std::string_view line) {
  return line.empty() || line[0] == '*';
}
bool IsAllBlanks(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}

// The characters up to the first blank; removes them and that one blank from rest.
std::string_view NextWord(std::string_view& rest) {
  const std::size_t p = rest.find(' ');
  const std::string_view word = rest.substr(0, p);
  rest.remove_prefix(p == std::string_view::npos ? rest.size() : p + 1);
  return word;
}

class TParser {
 public:
  TParser(const TAnsiStringList& lines, TVerbListsTables& tables, TVerbListsReport* report)
      : lines_(lines), tables_(tables), report_(report) {}
  void Run();

 private:
  std::string_view Line(int i) const { return lines_.Get(i); }
  void Problem(int section, int index, std::string_view reason);
  int EntrySection();
  bool EntryLine(std::string_view line, int index);
  void Slots(unRegRec& rec, std::string_view rest);
  int TableSection(TVerbListsSection section, int start);
  void CheckTableWord(TVerbListsSection section, std::string_view word, int index);
  int FormLimits(int start);
  void Respellings(int start);
  void Count(int section) {
    if (report_) ++report_->counts[section];
  }

  const TAnsiStringList& lines_;
  TVerbListsTables& tables_;
  TVerbListsReport* report_;
};

void TParser::Problem(int section, int index, std::string_view reason) {
  if (!report_) return;
  TVerbListsProblem p;
  p.section = section;
  p.line = index < 0 ? 0 : index + 1;
  if (index >= 0 && index < lines_.Count()) p.text = lines_.Get(index);
  p.reason = reason;
  report_->problems.push_back(std::move(p));
}

void TParser::Run() {
  int next = EntrySection();
  if (tables_.unRegList.empty()) {
    Problem(vlsEntries, -1, "no exception verbs: nothing loaded");
    return;
  }
  for (int s = vlsPrefixes; s <= vlsHabenSein; ++s)
    next = TableSection(static_cast<TVerbListsSection>(s), next);
  next = FormLimits(next);
  SortByStemLength(tables_.unRegList);
  Respellings(next);
}

// Returns the index after the closing '@' line, 0 when there is none (the table sections then
// start at the first line of the file). The '@' test before cutting the flags is the same as
// after it: the cut never touches the first character unless it is the '!'.
int TParser::EntrySection() {
  for (int i = 0; i < lines_.Count(); ++i) {
    std::string_view line = Line(i);
    if (IsComment(line)) continue;
    if (!line.empty() && line[0] == '@') return i + 1;
    if (EntryLine(line, i)) Count(vlsEntries);
  }
  Problem(vlsEntries, -1, "closing '@' line missing");
  return 0;
}

bool TParser::EntryLine(std::string_view line, int index) {
  std::uint16_t flags = 0;
  if (const std::size_t bang = line.find('!'); bang != std::string_view::npos) {
    flags = ParseFlagLetters(line.substr(bang + 1));
    line = line.substr(0, bang);
  }
  std::string_view rest = line;
  const std::string_view stem = NextWord(rest);
  if (stem.empty()) {
    Problem(vlsEntries, index, "empty stem (line begins with a blank)");
    return false;
  }
  unRegRec rec;
  rec.uStamm = stem;
  rec.flags = flags;
  if (!rest.empty() && rest[0] == '\\') {
    rec.dochRegel = true;
  } else {
    const bool classLetter = !rest.empty() && (rest[0] == 'r' || rest[0] == 'R');
    if (classLetter) {
      rec.auchregel = true;
      rec.regelBesser = rest[0] == 'R';
      rest.remove_prefix(1);
      if (!rest.empty() && rest[0] == '\\') {
        rec.P2nurUnreg = true;
        rest.remove_prefix(1);
      }
      // The blank after the class letter; without one the slots follow the stem's blank.
      if (!rest.empty() && rest[0] == ' ') rest.remove_prefix(1);
    }
    if (IsAllBlanks(rest)) {
      Problem(vlsEntries, index, classLetter ? "class letter without slots" : "stem without slots");
      return false;
    }
    Slots(rec, rest);
  }
  tables_.unRegList.push_back(std::move(rec));
  return true;
}

void TParser::Slots(unRegRec& rec, std::string_view rest) {
  for (int i = 1; i <= 4; ++i) {
    const std::string_view token = NextWord(rest);
    const std::size_t bar = token.find('|');
    rec.ablaut[i] = token.substr(0, bar);
    SplitLongMark(rec.ablaut[i], rec.ablautLang[i]);
    if (bar != std::string_view::npos) {
      rec.ablaut2[i] = token.substr(bar + 1);
      SplitLongMark(rec.ablaut2[i], rec.ablautlang2[i]);
    }
    if (!rest.empty() && rest[0] == '-') rec.endung[i] = NextWord(rest);
  }
}

// Returns the index after the closing '@' line; without one every remaining line was read
// and the next section starts at this section's start again.
int TParser::TableSection(TVerbListsSection section, int start) {
  const bool withDigit = section == vlsStress || section == vlsHabenSein;
  std::vector<std::string> words;
  int next = start;
  int i = start;
  for (; i < lines_.Count(); ++i) {
    const std::string_view line = Line(i).substr(0, kMaxLine);
    if (IsComment(line)) continue;
    if (line[0] == '@') break;
    const std::string_view word = line.substr(0, line.find(' '));
    if (word.empty()) {
      // An empty word would give a zero (or, with a digit, a wrapped) length byte.
      Problem(section, i, "line begins with a blank (empty word)");
      continue;
    }
    CheckTableWord(section, word, i);
    words.emplace_back(word);
    Count(section);
  }
  if (i < lines_.Count())
    next = i + 1;
  else
    Problem(section, -1, "closing '@' line missing");
  tables_.Table(section) = PackTable(words, withDigit);
  return next;
}

// Words that are kept byte for byte but will not work as meant.
void TParser::CheckTableWord(TVerbListsSection section, std::string_view word, int index) {
  const auto last = static_cast<unsigned char>(word.back());
  switch (section) {
    case vlsStress:
    case vlsHabenSein:
      if (word.size() == 1) {
        Problem(section, index, "one-character word: its zero length byte ends the table");
      } else if (!IsDigit(last)) {
        Problem(section, index, "no digit at the end of the word");
      } else if (section == vlsHabenSein && (last < '1' || last > '3')) {
        Problem(section, index, "auxiliary digit is not 1, 2 or 3");
      }
      break;
    case vlsSplit:
    case vlsGap:
      if (!IsDigit(last)) Problem(section, index, "no number at the end of the word");
      break;
    default:
      break;
  }
}

int TParser::FormLimits(int start) {
  tables_.formLimitList->Clear();
  for (int i = start; i < lines_.Count(); ++i) {
    const std::string_view line = Line(i).substr(0, kMaxLine);
    if (IsComment(line)) continue;
    if (line[0] == '@') return i + 1;
    tables_.formLimitList->Add(line);
    Count(vlsFormLimits);
  }
  Problem(vlsFormLimits, -1, "closing '@' line missing");
  return lines_.Count();
}

void TParser::Respellings(int start) {
  for (int i = start; i < lines_.Count(); ++i) {
    const std::string_view line = Line(i).substr(0, kMaxLine);
    if (IsComment(line)) continue;
    if (line[0] == '@') return;
    const std::size_t blank = line.find(' ');
    const std::string_view word = line.substr(0, blank);
    int number = 1;
    if (blank != std::string_view::npos && blank + 1 < line.size())
      number = static_cast<unsigned char>(line[blank + 1]) - '0';
    // The number names the letter before which the previous letter is doubled.
    if (number < 2 || number > static_cast<int>(word.size()) + 1) {
      Problem(vlsRespell, i, "number names no letter of the word");
      continue;
    }
    tables_.respellList->AddObject(word, IntToObject(number));
    Count(vlsRespell);
  }
  Problem(vlsRespell, -1, "closing '@' line missing");
}

}  // namespace

std::uint16_t ParseFlagLetters(std::string_view text) {
  std::uint16_t flags = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : ' ';
    switch (text[i]) {
      case 'h':
        flags |= 0x0001;
        break;
      case 'i':
        flags |= 0x0002;
        break;
      case 'b':
        flags |= 0x0003;
        break;
      case 'S':
        flags |= 0x8000;
        break;
      case 'r':
        flags |= 0x0004;
        break;
      case 'u':
        flags |= 0x0006;
        break;
      case '3':
        flags |= 0x0010;
        break;
      case '4':
        flags |= 0x0020;
        break;
      case '5':
        flags |= 0x0030;
        break;
      case 'A':
        flags |= 0x0100;
        [[fallthrough]];
      case 'a':
        flags |= next == 'e' ? 0x0400 : next == 'j' ? 0x0200 : 0x0600;
        break;
      case 'D':
        flags |= 0x1000;
        [[fallthrough]];
      case 'd':
        flags |= next == 'e' ? 0x4000 : next == 'j' ? 0x2000 : 0x6000;
        break;
      default:
        break;
    }
  }
  return flags;
}

void SplitLongMark(std::string& vowel, bool& isLong) {
  isLong = vowel.size() >= 2;
  if (isLong && vowel[1] == ':') vowel.resize(1);
}

void SortByStemLength(std::vector<unRegRec>& list) {
  std::stable_sort(list.begin(), list.end(), [](const unRegRec& a, const unRegRec& b) {
    return a.uStamm.size() > b.uStamm.size();
  });
  for (std::size_t i = 0; i < list.size(); ++i)
    list[i].next = i + 1 < list.size() ? &list[i + 1] : nullptr;
}

std::string PackTable(const std::vector<std::string>& words, bool withDigit) {
  std::string bytes;
  for (const std::string& w : words) {
    const std::string_view word = std::string_view(w).substr(0, kMaxLine);
    if (word.empty()) continue;
    bytes += static_cast<char>(word.size() - (withDigit ? 1 : 0));
    bytes += word;
  }
  bytes += '\0';
  return bytes;
}

void ParseVerbLists(const TAnsiStringList& lines, TVerbListsTables& tables,
                    TVerbListsReport* report) {
  if (tables.formLimitList)
    throw EAssertionFailed("Assertion fehlgeschlagen (_ZTVerbLists): Listen schon geladen");
  tables.formLimitList = std::make_unique<TAnsiStringList>();
  tables.respellList = std::make_unique<TAnsiStringList>();
  static std::atomic<std::uint64_t> reads{0};
  tables.generation = ++reads;
  TParser(lines, tables, report).Run();
  tables.index.Build(tables);
}
