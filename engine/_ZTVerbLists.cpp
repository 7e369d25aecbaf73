// SPDX-License-Identifier: MIT
// The shared verb lists: state, lock, life cycle, file location and lookups.
#include "engine/_ZTVerbLists.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <unordered_map>

#include "common/ZT.Resources.h"
#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"
#include "engine/EngineText.h"

TSharedReentrantLock VerbListsLock;
std::filesystem::path VerbListsPath;
std::atomic<std::int64_t> VerbListsFileDate{0};
std::int32_t VerbListsUsers = 0;
TVerbListsTables VerbLists;
std::string VerbListsResourceName = "VERBLISTS";

namespace {

// Mirrors "VerbListsPath not empty" of the last load, so that readers need not read the path
// while a reload may change it.
std::atomic<bool> gFileMode{false};

// Fills lines from the file at path when one is there (true), else from the embedded copy.
bool ReadVerbListsSource(const std::filesystem::path& path, TAnsiStringList& lines) {
  std::error_code ec;
  if (!path.empty() && std::filesystem::is_regular_file(path, ec)) {
    lines.LoadFromFile(path);
    return true;
  }
  std::string text;
  if (!LoadTextResource(VerbListsResourceName, text)) throw EVerbListsMissing();
  lines.SetText(text);
  return false;
}

}  // namespace

// --- Packed tables -----------------------------------------------------------------------------

void TPackedTable::iterator::Read() {
  atEnd_ = true;
  if (rest_.empty()) return;
  const std::size_t len = static_cast<unsigned char>(rest_[0]);
  const std::size_t need = 1 + len + (withDigit_ ? 1 : 0);
  if (len == 0 || need > rest_.size()) return;
  entry_.text = rest_.substr(1, len);
  entry_.digit = withDigit_ ? static_cast<unsigned char>(rest_[1 + len]) : 0;
  step_ = need;
  atEnd_ = false;
}

TPackedTable::iterator& TPackedTable::iterator::operator++() {
  rest_.remove_prefix(step_);
  Read();
  return *this;
}

std::string_view VerbListsSectionName(int section) {
  static constexpr std::array<std::string_view, kVerbListsSections> kNames = {
      "unRegList",  "prefixTable", "notPrefixedTable", "stressTable",   "splitTable", "gapTable",
      "onsetTable", "esVerbTable", "habenSeinTable",   "formLimitList", "respellList"};
  return section >= 0 && section < kVerbListsSections ? kNames[section] : "?";
}

std::string& TVerbListsTables::Table(TVerbListsSection s) {
  switch (s) {
    case vlsPrefixes:
      return prefixTable;
    case vlsNotPrefixed:
      return notPrefixedTable;
    case vlsStress:
      return stressTable;
    case vlsSplit:
      return splitTable;
    case vlsGap:
      return gapTable;
    case vlsOnset:
      return onsetTable;
    case vlsEsVerb:
      return esVerbTable;
    case vlsHabenSein:
      return habenSeinTable;
    default:
      throw EAssertionFailed("Assertion fehlgeschlagen (_ZTVerbLists): keine Tabelle");
  }
}

void TVerbListsTables::Free() {
  formLimitList.reset();
  respellList.reset();
  unRegList.clear();
  index.Clear();
  for (int s = vlsPrefixes; s <= vlsHabenSein; ++s) {
    Table(static_cast<TVerbListsSection>(s)).clear();
    Table(static_cast<TVerbListsSection>(s)).shrink_to_fit();
  }
}

// --- Lock --------------------------------------------------------------------------------------

int& TSharedReentrantLock::ReadDepth() {
  // One counter per lock and thread; entries stay for the thread's life (one per lock). The
  // last lock asked for is remembered: every form request asks for the same one.
  thread_local std::unordered_map<const TSharedReentrantLock*, int> depths;
  thread_local const TSharedReentrantLock* lastLock = nullptr;
  thread_local int* lastDepth = nullptr;
  if (lastLock != this) {
    lastDepth = &depths[this];  // map elements keep their address
    lastLock = this;
  }
  return *lastDepth;
}

void TSharedReentrantLock::BeginRead() {
  int& depth = ReadDepth();
  if (depth == 0) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !writing_ && writersWaiting_ == 0; });
    ++readers_;
  }
  ++depth;
}

void TSharedReentrantLock::EndRead() {
  int& depth = ReadDepth();
  if (depth <= 0 || --depth > 0) return;
  std::lock_guard<std::mutex> lock(mutex_);
  // Only writers wait for the readers to go; with none waiting, nobody needs waking.
  if (--readers_ == 0 && writersWaiting_ > 0) changed_.notify_all();
}

void TSharedReentrantLock::BeginWrite() {
  // A reader asking to write would wait for itself.
  if (ReadDepth() > 0)
    throw EAssertionFailed("Assertion fehlgeschlagen (_ZTVerbLists): Schreibsperre beim Lesen");
  std::unique_lock<std::mutex> lock(mutex_);
  ++writersWaiting_;
  changed_.wait(lock, [this] { return !writing_ && readers_ == 0; });
  --writersWaiting_;
  writing_ = true;
}

void TSharedReentrantLock::EndWrite() {
  std::lock_guard<std::mutex> lock(mutex_);
  writing_ = false;
  changed_.notify_all();
}

bool VerbListsFileMode() {
  return gFileMode.load();
}

namespace {
// The snapshot this thread reads, null for the shared tables.
thread_local TVerbListsTables* tPinned = nullptr;
}  // namespace

TVerbListsPin::TVerbListsPin(std::shared_ptr<const TVerbListsTables> tables)
    : tables_(std::move(tables)), previous_(tPinned) {
  // The engine only reads the tables; its record pointers are not const, hence the cast.
  tPinned = const_cast<TVerbListsTables*>(tables_.get());
}

TVerbListsPin::~TVerbListsPin() {
  tPinned = previous_;
}

TVerbListsTables& CurrentVerbLists() {
  return tPinned ? *tPinned : VerbLists;
}

std::uint64_t VerbListsGeneration() {
  TVerbListsReadLock lock;
  return CurrentVerbLists().generation;
}

bool VerbListsPinned() {
  return tPinned != nullptr;
}

bool VerbListsNeedLock() {
  return tPinned == nullptr && gFileMode.load();
}

// --- Life cycle --------------------------------------------------------------------------------

void LoadVerbLists(TVerbListsReport* report) {
  if (VerbLists.formLimitList)
    throw EAssertionFailed("Assertion fehlgeschlagen (_ZTVerbLists): Listen schon geladen");
  // The time is taken before reading: a change during the read is then seen by the next check.
  const std::int64_t date = VerbListsPath.empty() ? 0 : FileWriteTime(VerbListsPath);
  TAnsiStringList lines;
  if (ReadVerbListsSource(VerbListsPath, lines))
    VerbListsFileDate = date;
  else
    VerbListsPath.clear();
  if (report) report->path = VerbListsPath;
  try {
    ParseVerbLists(lines, VerbLists, report);
  } catch (...) {
    VerbLists.Free();
    throw;
  }
  gFileMode = !VerbListsPath.empty();
}

void FreeVerbLists() {
  VerbListsUsers = 0;
  VerbLists.Free();
}

void ReloadVerbLists() {
  TWriteLock lock(VerbListsLock);
  const std::int32_t users = VerbListsUsers;
  FreeVerbLists();
  // Without users the lists stay freed: the next user loads them (loading here would make
  // that load fail as "still loaded").
  try {
    if (users > 0) LoadVerbLists();
  } catch (...) {
    VerbListsUsers = users;
    throw;
  }
  VerbListsUsers = users;
}

bool CheckVerbListsFile() {
  std::filesystem::path path;
  {
    TReadLock lock(VerbListsLock);
    path = VerbListsPath;
  }
  if (path.empty() || FileWriteTime(path) == VerbListsFileDate.load()) return false;
  ReloadVerbLists();
  return true;
}

// Locks in resource mode too: two first users must not both load.
void JoinVerbLists() {
  TWriteLock lock(VerbListsLock);
  if (VerbListsUsers <= 0) LoadVerbLists();
  ++VerbListsUsers;
}

void LeaveVerbLists() {
  TWriteLock lock(VerbListsLock);
  if (--VerbListsUsers <= 0) FreeVerbLists();
}

TVerbListsReport InspectVerbLists(const std::filesystem::path& path, TVerbListsTables& tables) {
  TVerbListsReport report;
  TAnsiStringList lines;
  if (ReadVerbListsSource(path, lines)) report.path = path;
  ParseVerbLists(lines, tables, &report);
  return report;
}

// --- Lookups -----------------------------------------------------------------------------------

// Each answers as the walk of its table in file order did (see TVerbListsIndex).
bool IsInNotPrefixed(std::string_view word) {
  return CurrentVerbLists().index.notPrefixed.Find(word) >= 0;
}
bool IsInOnsetTable(std::string_view onset) {
  return CurrentVerbLists().index.onset.Find(onset) >= 0;
}
bool IsEsVerb(std::string_view stem) {
  return CurrentVerbLists().index.esVerb.Find(stem) >= 0;
}

int StressDigit(std::string_view word) {
  return std::max(CurrentVerbLists().index.stress.Find(word), 0);
}

int SplitFromTable(std::string_view stem) {
  return std::max(CurrentVerbLists().index.split.Find(stem), 0);
}

int GapNumberFromTable(std::string_view stem) {
  return std::max(CurrentVerbLists().index.gap.Find(stem), 0);
}

// The first entry in file order that begins word: the smallest entry number among the
// beginnings of word.
int HabenSeinFromTable(std::string_view word) {
  const TVerbListsIndex& index = CurrentVerbLists().index;
  const std::size_t longest = std::min(word.size(), index.habenSein.LongestWord());
  std::int32_t best = -1;
  std::uint32_t h = TWordIndex::StartHash();
  for (std::size_t n = 1; n <= longest; ++n) {
    h = TWordIndex::NextHash(h, word[n - 1]);
    const std::int32_t e = index.habenSein.Find(word.substr(0, n), h);
    if (e >= 0 && (best < 0 || e < best)) best = e;
  }
  return best < 0 ? 0 : index.habenSeinValue[static_cast<std::size_t>(best)];
}

int RespellPosition(std::string_view word) {
  const std::unique_ptr<TAnsiStringList>& respell = CurrentVerbLists().respellList;
  if (!respell) return 0;
  const int i = respell->IndexOf(word);
  return i < 0 ? 0 : static_cast<int>(ObjectToInt(respell->GetObject(i)));
}

// A stem is one word; the index knows each line by the word before its first blank.
const std::string* FormLimitLine(std::string_view stem) {
  const TVerbListsTables& lists = CurrentVerbLists();
  if (!lists.formLimitList) return nullptr;
  const std::int32_t i = lists.index.formLimits.Find(stem);
  return i < 0 ? nullptr : &lists.formLimitList->Get(i);
}
