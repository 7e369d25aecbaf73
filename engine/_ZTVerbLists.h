// SPDX-License-Identifier: MIT
// The shared verb lists: what the engine cannot compute by rule (irregular verbs, separable
// prefixes, stress positions, impersonal verbs, auxiliaries, restricted forms, old spellings)
// read from the 8-bit file "Beugwerk.VLX" or, without the file, from the copy compiled into
// the program (resource "VERBLISTS").
//
// One set of tables per process, shared by every verb object: the first TVerbGen loads them
// (JoinVerbLists), the last one frees them (LeaveVerbLists), CheckVerbListsFile re-reads a
// changed file, and VerbListsLock guards them (readers only in file mode).
//
//   VerbListsPath = ResolveVerbListsPath({.optionPath = "data/Beugwerk.VLX"});
//   JoinVerbLists();
//   { TVerbListsReadLock lock; StressDigit("arbeit"); }   // 1
//   LeaveVerbLists();
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/_0Ansi.h"

// --- Errors ------------------------------------------------------------------------------------
// Errors of the verb lists; the German message is UTF-8 in what().
struct EVerbLists : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// Neither a file nor the embedded copy: the program cannot conjugate.
struct EVerbListsMissing : EVerbLists {
  EVerbListsMissing() : EVerbLists("Verblistenressource fehlt! einbinden!") {}
};

// --- One exceptional verb ------------------------------------------------------------------------
// The four slots are 1 Präteritum, 2 Partizip II, 3 Präsens 2nd/3rd person singular,
// 4 Konjunktiv II; TSlots is indexed 1..4 like the slots themselves.
template <typename T>
struct TSlots {
  std::array<T, 4> v{};
  T& operator[](int i) { return v.at(static_cast<std::size_t>(i - 1)); }
  const T& operator[](int i) const { return v.at(static_cast<std::size_t>(i - 1)); }
};

struct unRegRec;
using unRegPtr = unRegRec*;

// Flag letters after '!' on an entry line and the bits they set.
enum : std::uint16_t {
  kFlagHaben = 0x0001,           // h (b sets both auxiliary bits)
  kFlagSein = 0x0002,            // i
  kFlagHabSeinMask = 0x0003,     // bits 0 and 1 read as habseityp
  kFlagMeaningDiffers = 0x8000,  // S
};

struct unRegRec {
  unRegPtr next = nullptr;  // next entry in list order, null at the end
  std::string uStamm;       // a leading '?' restricts the entry to compounds
  std::uint16_t flags = 0;
  TSlots<std::string> endung;   // ending token with its leading '-', or empty
  TSlots<std::string> ablaut;   // stem vowel, or empty
  TSlots<std::string> ablaut2;  // alternative stem vowel, or empty
  bool dochRegel = false;       // regular after all: only stops the search for shorter stems
  bool auchregel = false;       // regular forms exist beside the irregular ones
  bool regelBesser = false;     // ... and are preferred
  bool P2nurUnreg = false;      // the Partizip II is irregular only, even with auchregel
  TSlots<bool> ablautLang;
  TSlots<bool> ablautlang2;
  // Set once the analysis has filled the empty slots (under its completion mutex).
  bool completed = false;
};

// --- Packed tables
// --------------------------------------------------------------------------------- A table section
// lives in one block of bytes: entries of a length byte and that many characters, a zero byte after
// the last. In the stress and auxiliary tables each entry carries one digit after its text that the
// length byte does not count. An empty block means "not loaded"; a loaded empty section is the zero
// byte alone. A zero length byte ends the table.
struct TPackedEntry {
  std::string_view text;
  unsigned char digit = 0;  // the uncounted digit character; 0 in tables without one
};

class TPackedTable {
 public:
  class iterator {
   public:
    using value_type = TPackedEntry;
    using difference_type = std::ptrdiff_t;
    iterator() = default;
    iterator(std::string_view rest, bool withDigit) : rest_(rest), withDigit_(withDigit) { Read(); }
    const TPackedEntry& operator*() const { return entry_; }
    const TPackedEntry* operator->() const { return &entry_; }
    iterator& operator++();
    iterator operator++(int) {
      iterator old = *this;
      ++*this;
      return old;
    }
    bool operator==(const iterator& o) const { return atEnd_ == o.atEnd_; }

   private:
    void Read();
    std::string_view rest_;
    bool withDigit_ = false;
    bool atEnd_ = true;
    std::size_t step_ = 0;
    TPackedEntry entry_;
  };

  TPackedTable(std::string_view bytes, bool withDigit) : bytes_(bytes), withDigit_(withDigit) {}
  iterator begin() const { return iterator(bytes_, withDigit_); }
  iterator end() const { return iterator(); }

 private:
  std::string_view bytes_;
  bool withDigit_;
};

// Builds a packed block from words in order; withDigit: each word's last character is the
// uncounted digit (a one-character word thus gives a zero length byte that ends the table).
// Words are cut to 255 characters.
std::string PackTable(const std::vector<std::string>& words, bool withDigit);

// --- The sections of the file --------------------------------------------------------------------
enum TVerbListsSection {
  vlsEntries,      // unRegList
  vlsPrefixes,     // prefixTable
  vlsNotPrefixed,  // notPrefixedTable
  vlsStress,       // stressTable (digit)
  vlsSplit,        // splitTable
  vlsGap,          // gapTable
  vlsOnset,        // onsetTable
  vlsEsVerb,       // esVerbTable
  vlsHabenSein,    // habenSeinTable (digit)
  vlsFormLimits,   // formLimitList
  vlsRespell,      // respellList
};
inline constexpr int kVerbListsSections = 11;
// The name of the table a section fills ("unRegList", "prefixTable", ...).
std::string_view VerbListsSectionName(int section);

// --- Lookup indexes ------------------------------------------------------------------------------
// Finds a word of a table without walking the table: an open-addressing hash from each word to
// a number (for the first entry of a word in file order). Keeps its own copy of the words, so
// it does not care where the tables live.
// Lookups of every beginning (or, backwards, every ending) of a text extend the hash letter by
// letter instead of hashing each part anew.
class TWordIndex {
 public:
  explicit TWordIndex(bool backwards = false) : backwards_(backwards) {}
  void Add(std::string_view word, std::int32_t value);  // a word already there keeps its value
  std::int32_t Find(std::string_view word) const;       // -1 when the word is not there
  // Find with the hash already known: from StartHash, NextHash for each letter in order (from
  // the last letter to the first for a backwards index).
  std::int32_t Find(std::string_view word, std::uint32_t hash) const;
  static constexpr std::uint32_t StartHash() { return 2166136261u; }  // FNV-1a
  static constexpr std::uint32_t NextHash(std::uint32_t h, char c) {
    return (h ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  std::size_t LongestWord() const { return longest_; }
  void Clear();

 private:
  struct TSlot {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    std::int32_t value = -1;  // -1: empty slot
  };
  std::uint32_t Hash(std::string_view word) const;
  std::size_t SlotOf(std::string_view word, std::uint32_t hash) const;
  void Grow();
  bool backwards_;
  std::string words_;
  std::vector<TSlot> slots_;  // a power of two, at most half used
  std::size_t used_ = 0;
  std::size_t longest_ = 0;
};

// Entries a lookup found, by entry number (file order), each once.
struct TEntryHit {
  std::int32_t entry;
  std::string_view text;
};
class TEntryHits {
 public:
  void Add(std::int32_t entry, std::string_view text);
  void Sort();  // file order; a number found twice stays once
  const TEntryHit* begin() const { return Data(); }
  const TEntryHit* end() const { return Data() + count_; }

 private:
  const TEntryHit* Data() const { return more_.empty() ? inline_.data() : more_.data(); }
  TEntryHit* Data() { return more_.empty() ? inline_.data() : more_.data(); }
  std::array<TEntryHit, 16> inline_{};
  std::vector<TEntryHit> more_;  // used once the inline room is full
  std::size_t count_ = 0;
};

struct TVerbListsTables;
// The indexes of one set of tables, built once the tables are read. Each gives what a walk of
// its table in file order would find first, so a lookup answers as the walk did.
struct TVerbListsIndex {
  TWordIndex notPrefixed, onset, esVerb;  // value: entry number
  TWordIndex stress;                      // value: the stress digit as a number, 0 for none
  TWordIndex split, gap;                  // value: the number written after the word
  TWordIndex habenSein;                   // value: entry number, an index of habenSeinValue
  std::vector<std::int8_t> habenSeinValue;
  TWordIndex prefixes;                     // value: entry number
  TWordIndex stems{true};                  // unRegList stem without its '?': first entry
  std::vector<std::int32_t> nextSameStem;  // the next entry with that stem, -1 after the last
  TWordIndex formLimits;                   // a form-limit line's first word: its line number
  void Build(const TVerbListsTables& tables);
  void Clear();
};

// Every table of one verb lists file.
struct TVerbListsTables {
  std::vector<unRegRec> unRegList;  // decreasing stem length; records linked through next
  std::string prefixTable;
  std::string notPrefixedTable;
  std::string stressTable;
  std::string splitTable;
  std::string gapTable;
  std::string onsetTable;
  std::string esVerbTable;
  std::string habenSeinTable;
  std::unique_ptr<TAnsiStringList> formLimitList;  // whole lines
  std::unique_ptr<TAnsiStringList> respellList;    // word, letter position as its object
  TVerbListsIndex index;                           // built by ParseVerbLists
  // A number no other read of a lists file had (set by ParseVerbLists): what is worked out
  // from the tables and kept (the lookup's index and conjugations) is kept under it, so a
  // reload, another file or a server's new snapshot is never answered from the old one.
  std::uint64_t generation = 0;

  std::string& Table(TVerbListsSection s);  // sections vlsPrefixes .. vlsHabenSein
  void Free();
};

// What a load found: entries per section and every line it skipped or distrusts.
struct TVerbListsProblem {
  int section = 0;
  int line = 0;      // 1-based; 0 for the file as a whole
  std::string text;  // the line as read (Windows-1252)
  std::string reason;
};
struct TVerbListsReport {
  std::filesystem::path path;  // the file read; empty when the embedded copy was read
  std::array<int, kVerbListsSections> counts{};
  std::vector<TVerbListsProblem> problems;
};

// Parses lines of a verb lists file into tables (which must be empty); the report may be null.
void ParseVerbLists(const TAnsiStringList& lines, TVerbListsTables& tables,
                    TVerbListsReport* report);
// Parsing steps, public for their tests.
std::uint16_t ParseFlagLetters(std::string_view text);
// Cuts "a:" to "a"; a text of two or more characters is long.
void SplitLongMark(std::string& vowel, bool& isLong);
// Stable: entries of equal length keep their order. Links the records afterwards.
void SortByStemLength(std::vector<unRegRec>& list);

// Reads what the engine would use for path: the file when one is there, else the embedded
// copy (report.path empty). Does not touch the shared tables. Throws EVerbListsMissing or the
// read error.
TVerbListsReport InspectVerbLists(const std::filesystem::path& path, TVerbListsTables& tables);

// --- Shared state --------------------------------------------------------------------------------
// Multiple readers or one writer, writers first: once a writer waits, new readers queue behind
// it, so a reload is not starved by a steady stream of requests. The read side is re-entrant
// per thread: a thread_local depth per lock counts nested BeginRead calls and only the
// outermost one enters the lock, so a reader that re-takes it never queues behind a waiting
// writer. Taking the write lock while holding the read lock is a programming error
// (EAssertionFailed).
class TSharedReentrantLock {
 public:
  void BeginRead();
  void EndRead();
  void BeginWrite();
  void EndWrite();

 private:
  int& ReadDepth();
  std::mutex mutex_;
  std::condition_variable changed_;
  int readers_ = 0;
  int writersWaiting_ = 0;
  bool writing_ = false;
};

class TReadLock {
 public:
  explicit TReadLock(TSharedReentrantLock& l) : lock_(l) { lock_.BeginRead(); }
  ~TReadLock() { lock_.EndRead(); }
  TReadLock(const TReadLock&) = delete;
  TReadLock& operator=(const TReadLock&) = delete;

 private:
  TSharedReentrantLock& lock_;
};

class TWriteLock {
 public:
  explicit TWriteLock(TSharedReentrantLock& l) : lock_(l) { lock_.BeginWrite(); }
  ~TWriteLock() { lock_.EndWrite(); }
  TWriteLock(const TWriteLock&) = delete;
  TWriteLock& operator=(const TWriteLock&) = delete;

 private:
  TSharedReentrantLock& lock_;
};

extern TSharedReentrantLock VerbListsLock;
// Full path of the file; set before the first verb object exists; emptied by the loader when
// no file is there (resource mode). Readers ask VerbListsFileMode() instead of reading it.
extern std::filesystem::path VerbListsPath;
// Last-write time of the file at the last load. Atomic: the reload check of a verb object
// reads it before taking the read lock.
extern std::atomic<std::int64_t> VerbListsFileDate;
extern std::int32_t VerbListsUsers;  // live verb objects; changed under the write lock
extern TVerbListsTables VerbLists;   // the tables below are its members
// The resource the loader falls back to; tests point it elsewhere.
extern std::string VerbListsResourceName;

inline std::vector<unRegRec>& unRegList = VerbLists.unRegList;
inline std::string& prefixTable = VerbLists.prefixTable;
inline std::string& notPrefixedTable = VerbLists.notPrefixedTable;
inline std::string& stressTable = VerbLists.stressTable;
inline std::string& splitTable = VerbLists.splitTable;
inline std::string& gapTable = VerbLists.gapTable;
inline std::string& onsetTable = VerbLists.onsetTable;
inline std::string& esVerbTable = VerbLists.esVerbTable;
inline std::string& habenSeinTable = VerbLists.habenSeinTable;
inline std::unique_ptr<TAnsiStringList>& formLimitList = VerbLists.formLimitList;
inline std::unique_ptr<TAnsiStringList>& respellList = VerbLists.respellList;

// True when the loaded lists came from a file: readers then take the read lock.
bool VerbListsFileMode();

// --- Snapshots -----------------------------------------------------------------------------------
// A thread may read a set of tables of its own instead of the shared ones. A server pins one
// immutable snapshot for each request: the request reads one set from start to end, takes no
// lock and joins no lists; a reload builds a new set and hands it to the next requests, and
// the old one goes with the last request that pinned it. Pins nest.
class TVerbListsPin {
 public:
  explicit TVerbListsPin(std::shared_ptr<const TVerbListsTables> tables);
  ~TVerbListsPin();
  TVerbListsPin(const TVerbListsPin&) = delete;
  TVerbListsPin& operator=(const TVerbListsPin&) = delete;

 private:
  std::shared_ptr<const TVerbListsTables> tables_;
  TVerbListsTables* previous_;
};
// The tables the lookups read: this thread's snapshot, else the shared ones.
TVerbListsTables& CurrentVerbLists();
// The generation of the lists in use on this thread, read under the read lock.
std::uint64_t VerbListsGeneration();
bool VerbListsPinned();
// Readers take the read lock: in file mode, unless a snapshot is pinned.
bool VerbListsNeedLock();

// Read lock of the shared tables, taken only when VerbListsNeedLock().
class TVerbListsReadLock {
 public:
  TVerbListsReadLock() : locked_(VerbListsNeedLock()) {
    if (locked_) VerbListsLock.BeginRead();
  }
  ~TVerbListsReadLock() {
    if (locked_) VerbListsLock.EndRead();
  }
  TVerbListsReadLock(const TVerbListsReadLock&) = delete;
  TVerbListsReadLock& operator=(const TVerbListsReadLock&) = delete;

 private:
  bool locked_;
};

// --- Life of the shared tables -------------------------------------------------------------------
// Reads the file at VerbListsPath, or the embedded copy (emptying VerbListsPath), and builds
// the shared tables. The caller holds the write lock. Throws EVerbListsMissing, the read error
// of the file, or EAssertionFailed when the lists are still loaded.
void LoadVerbLists(TVerbListsReport* report = nullptr);
void FreeVerbLists();  // also sets VerbListsUsers to 0
// Frees and loads again under the write lock; the users count survives.
void ReloadVerbLists();
// File mode only: reloads when the file's last-write time changed; true when it did.
bool CheckVerbListsFile();
// For TVerbGen's constructor and destructor: count one user more (loading the lists for the
// first) or less (freeing them after the last).
void JoinVerbLists();
void LeaveVerbLists();

// --- Locating the file ---------------------------------------------------------------------------
inline constexpr std::string_view kVerbListsFileName = "Beugwerk.VLX";
struct TVerbListsSearch {
  std::filesystem::path optionPath;   // --verb-lists
  std::filesystem::path envValue;     // BEUGWERK_VERBLISTS
  std::filesystem::path viewerDir;    // folder of the viewer program Telmar, when recorded
  std::filesystem::path exeDir;       // folder of the running program
  std::filesystem::path installFile;  // ../share/beugwerk/Beugwerk.VLX from the program's folder
  std::filesystem::path prefixFile;   // the same in the prefix the program was built for
};
// Where the chosen lists come from. A file named by the option or the environment must be
// usable; the other places count only when the file is there.
enum TVerbListsOrigin {
  vo_option,
  vo_environment,
  vo_viewer,
  vo_program,
  vo_installed,
  vo_prefix,
  vo_builtIn,  // no file: the copy compiled into the program
};
struct TVerbListsChoice {
  std::filesystem::path path;  // empty for the built-in copy
  TVerbListsOrigin origin = vo_builtIn;
  bool Named() const { return origin == vo_option || origin == vo_environment; }
};
// The first of: the option, the environment value, the file in the viewer program's folder,
// beside the program, installed relative to the program, in the build's prefix; the built-in
// copy when none of them is there. Empty parts are skipped.
TVerbListsChoice ChooseVerbLists(const TVerbListsSearch& search);
// The path of ChooseVerbLists (empty for the built-in copy), for VerbListsPath.
std::filesystem::path ResolveVerbListsPath(const TVerbListsSearch& search);
// The search with this process's environment, executable and install prefix.
TVerbListsSearch DefaultVerbListsSearch(const std::filesystem::path& optionPath);

// Whether the chosen lists can be used, found before any verb object loads them: a front end
// refuses to work on lists that are missing, unreadable or malformed, instead of falling back
// to the built-in copy or conjugating with half the entries.
struct TVerbListsSource {
  TVerbListsChoice choice;
  int systemError = 0;      // the file cannot be read: its errno (ENOENT when it is missing)
  TVerbListsReport report;  // what a load of the file found; problems make it malformed
  bool Usable() const { return systemError == 0 && report.problems.empty(); }
};
// Reads and checks the chosen file (the built-in copy is not read again: its own test keeps
// it sound). Does not touch the shared tables.
TVerbListsSource ExamineVerbLists(const TVerbListsSearch& search);
// Why a source cannot be used, one German sentence (UTF-8) naming the file, and for a
// malformed file the first line at fault and `beugwerk lists-check` for the rest; empty when
// it is usable.
std::string VerbListsSourceMessage(const TVerbListsSource& source);

// --- Lookups (caller holds the read lock in file mode)
// ---------------------------------------------
bool IsInNotPrefixed(std::string_view word);
// Number of the stressed syllable of word from the stress table; 0 when not listed.
int StressDigit(std::string_view word);
// Length of the base verb the split table gives for stem; 0 when not listed.
int SplitFromTable(std::string_view stem);
// The number the gap table gives for stem (length of the part after the Fügestelle);
// 0 when not listed.
int GapNumberFromTable(std::string_view stem);
bool IsInOnsetTable(std::string_view onset);
bool IsEsVerb(std::string_view stem);
// Auxiliary digit of the first auxiliary entry that begins word: the ordinal of habseityp,
// 0 (unspe) when none, or when the digit is not 1, 2 or 3.
int HabenSeinFromTable(std::string_view word);
// Position of the letter to double in an old spelling (any letter case); 0 when not listed.
int RespellPosition(std::string_view word);
// The first form limits line whose first word is stem; null when none.
const std::string* FormLimitLine(std::string_view stem);

inline TPackedTable PrefixEntries() {
  return {prefixTable, false};
}
bool IsInPrefixTable(std::string_view word);
// The first prefix table entry (file order) that begins s; empty when none does.
std::string_view FirstPrefixEntryBeginning(std::string_view s);
// The prefix table entries that begin s (those written with a leading apostrophe) or plain
// (the others), in file order.
void PrefixEntriesBeginning(std::string_view s, std::string_view plain, TEntryHits& hits);
// The unRegList entries whose stem, without a leading '?', ends plain, in list order.
void StemEntriesEnding(std::string_view plain, TEntryHits& hits);
