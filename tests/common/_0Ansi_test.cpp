// SPDX-License-Identifier: MIT
#include "common/_0Ansi.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "common/_ZT_cmn_A.h"

namespace {

using Lines = std::vector<std::string>;

Lines LinesOf(const TAnsiStringList& l) {
  Lines v;
  for (int i = 0; i < l.Count(); ++i) v.push_back(l.Get(i));
  return v;
}

std::string Show(std::string_view s) {
  std::string r;
  for (char c : s)
    r += c == '\r' ? "<CR>" : c == '\n' ? "<LF>" : c == '\0' ? "<NUL>" : std::string(1, c);
  return r;
}

std::filesystem::path TempPath(const char* name) {
  return std::filesystem::temp_directory_path() /
         (std::string("zt_ansi_") + std::to_string(::getpid()) + "_" + name);
}

TEST(AnsiList, SetTextSplitsLines) {
  struct Row {
    std::string text;
    Lines lines;
  } rows[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\rb", {"a", "", "b"}},
      {"a\nb", {"a", "b"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {" a \tb ", {" a \tb "}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
      {std::string("\0a", 2), {}},
  };
  for (const Row& r : rows) {
    TAnsiStringList l;
    l.Add("old");
    l.SetText(r.text);
    EXPECT_EQ(LinesOf(l), r.lines) << Show(r.text);
  }
}

TEST(AnsiList, LoadsFixtureFilesByteForByte) {
  struct Row {
    const char* file;
    Lines lines;
  } rows[] = {
      {"nul.txt", {"lesen", "schreiben"}},
      {"bom.txt", {"\xEF\xBB\xBFlesen", "schreiben"}},
      {"breaks.txt", {"a", "", "b", "", "c", "d", "e"}},
  };
  for (const Row& r : rows) {
    TAnsiStringList l;
    l.LoadFromFile(std::filesystem::path(BEUGWERK_FIXTURES) / "ansi" / r.file);
    EXPECT_EQ(LinesOf(l), r.lines) << r.file;
    EXPECT_EQ(l.Capacity(), l.Count()) << r.file;
  }
  TAnsiStringList l;
  EXPECT_THROW(l.LoadFromFile(TempPath("missing")), EFOpenError);
}

TEST(AnsiList, TextSaveAndReload) {
  TAnsiStringList l;
  l.Add("a");
  l.Add(
      "\xFC"
      "b");
  EXPECT_EQ(l.GetText(),
            "a\r\n\xFC"
            "b");
  std::filesystem::path p = TempPath("save.txt");
  l.SaveToFile(p);
  std::ifstream in(p, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes,
            "a\r\n\xFC"
            "b");
  TAnsiStringList back;
  back.LoadFromFile(p);
  EXPECT_EQ(LinesOf(back), LinesOf(l));
  std::filesystem::remove(p);

  std::ostringstream utf8;
  l.SaveToUTF8Stream(utf8, 0, true);
  EXPECT_EQ(utf8.str(),
            "\xEF\xBB\xBF"
            "a\r\n\xC3\xBC"
            "b");
  std::ostringstream cyr;
  l.SaveToUTF8Stream(cyr, 204, false);
  EXPECT_EQ(cyr.str(),
            "a\r\n\xD1\x8C"
            "b");
  std::ostringstream other;
  l.SaveToUTF8Stream(other, 437, false);
  EXPECT_EQ(other.str(), "a\r\n?b");
}

TEST(AnsiList, IndexOfIgnoresCaseByDefault) {
  TAnsiStringList l;
  l.SetText("schreiben\r\nlesen\r\n\xC4NDERN");
  struct Row {
    const char* s;
    int insensitive, sensitive;
  } rows[] = {{"LESEN", 1, -1},
              {"lesen", 1, 1},
              {"\xE4ndern", 2, -1},
              {"lese", -1, -1},
              {"les-en", -1, -1}};
  for (const Row& r : rows) {
    l.SetCaseSensitive(false);
    EXPECT_EQ(l.IndexOf(r.s), r.insensitive) << r.s;
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.IndexOf(r.s), r.sensitive) << r.s;
  }
  l.SetCaseSensitive(false);
  l.SetSorted(true);
  EXPECT_EQ(l.Get(l.IndexOf("LESEN")), "lesen");
}

TEST(AnsiList, CompareItemsEqualOnlyUpToCase) {
  TAnsiStringList l;
  struct Row {
    const char *a, *b;
    bool equalInsensitive, equalSensitive;
  } rows[] = {{"a", "A", true, false},      {"\xE4", "\xC4", true, false},
              {"a-b", "ab", false, false},  {"abc", "abc", true, true},
              {"\xDF", "ss", false, false}, {"\xFF", "\x9F", true, false},
              {"", "", true, true},         {"a b", "ab", false, false}};
  for (const Row& r : rows) {
    l.SetCaseSensitive(false);
    EXPECT_EQ(l.CompareItems(r.a, r.b) == 0, r.equalInsensitive) << r.a << " / " << r.b;
    EXPECT_EQ(l.CompareItems(r.a, r.b), -l.CompareItems(r.b, r.a)) << r.a << " / " << r.b;
    l.SetCaseSensitive(true);
    EXPECT_EQ(l.CompareItems(r.a, r.b) == 0, r.equalSensitive) << r.a << " / " << r.b;
    EXPECT_EQ(l.CompareItems(r.a, r.b), -l.CompareItems(r.b, r.a)) << r.a << " / " << r.b;
  }
}

TEST(AnsiList, SortsInGermanOrder) {
  TAnsiStringList l;
  l.SetLocale("de_DE");
  l.SetText("Zebra\r\n\xC4pfel\r\nzahn\r\nBach\r\napfel");
  l.Sort();
  EXPECT_TRUE(l.Sorted());
  EXPECT_EQ(LinesOf(l), (Lines{"apfel", "\xC4pfel", "Bach", "zahn", "Zebra"}));
}

TEST(AnsiList, SortedListRules) {
  TAnsiStringList l;
  l.SetText("b\r\nd\r\na");
  l.SetSorted(true);
  EXPECT_EQ(LinesOf(l), (Lines{"a", "b", "d"}));

  EXPECT_EQ(l.Add("B"), -1);  // dupIgnore
  EXPECT_EQ(l.Count(), 3);
  EXPECT_EQ(l.Add("c"), 2);
  l.Insert(l.Count(), "aa");  // at the end: a sorted add
  EXPECT_EQ(LinesOf(l), (Lines{"a", "aa", "b", "c", "d"}));

  l.SetDuplicates(dupError);
  try {
    l.Add("C");
    FAIL() << "duplicate accepted";
  } catch (const EAnsiStringListError& e) {
    EXPECT_STREQ(e.what(), "In der String-Liste sind Duplikate nicht zulässig");
  }
  l.SetDuplicates(dupAccept);
  EXPECT_EQ(l.Add("C"), 3);
  EXPECT_EQ(l.Count(), 6);
  int index = -1;
  EXPECT_TRUE(l.Find("c", index));
  EXPECT_EQ(index, 3);  // the first of the equal items
  EXPECT_FALSE(l.Find("bb", index));
  EXPECT_EQ(index, 3);  // the insertion position
}

TEST(AnsiList, RejectedOperationsLeaveTheListUnchanged) {
  const char* kIndex = "Listenindex außerhalb des gültigen Bereichs";
  const char* kSorted = "Operation für sortierte Listen nicht zulässig";
  struct Row {
    const char* what;
    std::function<void(TAnsiStringList&)> op;
    std::string message;
  } rows[] = {
      {"Get(Count)", [](TAnsiStringList& l) { l.Get(3); }, std::string(kIndex) + " (3)"},
      {"GetObject(-1)", [](TAnsiStringList& l) { l.GetObject(-1); }, std::string(kIndex) + " (-1)"},
      {"Delete(5)", [](TAnsiStringList& l) { l.Delete(5); }, std::string(kIndex) + " (5)"},
      {"Put(3)", [](TAnsiStringList& l) { l.Put(3, "x"); }, std::string(kIndex) + " (3)"},
      {"Exchange(0,7)", [](TAnsiStringList& l) { l.Exchange(0, 7); }, std::string(kIndex) + " (7)"},
      {"InsertObject(-1)", [](TAnsiStringList& l) { l.InsertObject(-1, "x", nullptr); },
       std::string(kIndex) + " (-1)"},
      {"Move(0,3)", [](TAnsiStringList& l) { l.Move(0, 3); }, std::string(kIndex) + " (3)"},
      {"SetCapacity(2)", [](TAnsiStringList& l) { l.SetCapacity(2); },
       "Kapazität der Liste ist erschöpft (2)"},
      {"sorted Insert(0)",
       [](TAnsiStringList& l) {
         l.SetSorted(true);
         l.Insert(0, "x");
       },
       kSorted},
      {"sorted Put",
       [](TAnsiStringList& l) {
         l.SetSorted(true);
         l.Put(0, "x");
       },
       kSorted},
  };
  for (const Row& r : rows) {
    TAnsiStringList l;
    l.SetText("a\r\nb\r\nc");
    try {
      r.op(l);
      ADD_FAILURE() << r.what << " did not fail";
    } catch (const EAnsiStringListError& e) {
      EXPECT_EQ(e.what(), r.message) << r.what;
    }
    EXPECT_EQ(l.GetText(), "a\r\nb\r\nc") << r.what;
  }
}

TEST(AnsiList, SetDelimitedTextStr) {
  struct Row {
    const char* value;
    Lines lines;
  } rows[] = {{"a,,b,", {"a", "", "b"}},  {"", {}}, {",", {""}}, {"a", {"a"}}, {",a", {"", "a"}},
              {"\"a,b\"", {"\"a", "b\""}}};
  for (const Row& r : rows) {
    TAnsiStringList l;
    l.Add("old");
    l.SetDelimitedTextStr(r.value, ',');
    EXPECT_EQ(LinesOf(l), r.lines) << r.value;
  }
}

TEST(AnsiList, SortStopsWhenProgressSaysSo) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += std::to_string((i * 7919) % 1000) + "\r\n";
  TAnsiStringList l;
  l.SetText(text);
  int calls = 0;
  l.OnProgress = [&calls](int, int max) {
    EXPECT_EQ(max, 300);
    return ++calls < 3;
  };
  try {
    l.Sort();
    FAIL() << "sort not cancelled";
  } catch (const ESortCancelled& e) {
    EXPECT_STREQ(e.what(), "Sortierung abgebrochen");
  }
  EXPECT_EQ(calls, 3);
  EXPECT_FALSE(l.Sorted());
  EXPECT_EQ(l.Count(), 300);

  l.OnProgress = [](int, int) { return true; };
  l.Sort();
  EXPECT_TRUE(l.Sorted());
  for (int i = 1; i < l.Count(); ++i) EXPECT_LE(l.CompareItems(l.Get(i - 1), l.Get(i)), 0) << i;
}

struct Counted : TObject {
  explicit Counted(int& n) : n_(n) { ++n_; }
  ~Counted() override { --n_; }
  int& n_;
};

TEST(AnsiList, OwnedObjectsAreFreed) {
  int alive = 0;
  {
    TAnsiStringList l(true);
    l.AddObject("a", new Counted(alive));
    l.AddObject("b", new Counted(alive));
    l.AddObject("c", new Counted(alive));
    TObject* c = l.GetObject(2);
    l.Move(2, 0);  // moving keeps the object alive
    EXPECT_EQ(alive, 3);
    EXPECT_EQ(l.IndexOfObject(c), 0);
    l.Delete(1);
    EXPECT_EQ(alive, 2);
    l.PutObject(0, new Counted(alive));
    EXPECT_EQ(alive, 2);
    EXPECT_THROW(l.ClearObjects(), EAssertionFailed);
  }
  EXPECT_EQ(alive, 0);
}

TEST(AnsiList, NamesValuesAndKeywordLines) {
  TAnsiStringList l;
  l.SetText("Pfad=C:\\x\r\nname=lesen\r\nNAMEN=x");
  EXPECT_EQ(l.GetValue("NAME"), "lesen");
  EXPECT_EQ(l.IndexOfName("namen"), 2);
  EXPECT_EQ(l.GetValue("fehlt"), "");
  l.SetValue("neu", "1");
  l.SetValue("name", "schreiben");
  EXPECT_EQ(l.GetText(), "Pfad=C:\\x\r\nname=schreiben\r\nNAMEN=x\r\nneu=1");
  l.SetValue("Pfad", "");
  EXPECT_EQ(l.IndexOfName("pfad"), -1);

  EXPECT_EQ(l.FindKwLine("NAMEN="), 1);
  EXPECT_EQ(l.FindKwLine("namenlos"), -1);
  l.DelKwLine(u"namen");
  EXPECT_EQ(LinesOf(l), (Lines{"name=schreiben", "neu=1"}));

  TAnsiStringList sorted;
  sorted.SetSorted(true);
  sorted.SetValue("b", "1");
  sorted.SetValue("a", "2");
  sorted.SetValue("b", "3");
  EXPECT_EQ(LinesOf(sorted), (Lines{"a=2", "b=3"}));
}

TEST(AnsiList, UpdatesNotifyOnce) {
  TAnsiStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TAnsiStringList*) { ++changing; };
  l.OnChange = [&](TAnsiStringList*) { ++changed; };
  l.Add("a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.SetText("x\r\ny");
  l.EndUpdate();
  EXPECT_EQ(changed, 1);
  l.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  TAnsiStringList empty;
  empty.OnChange = [&](TAnsiStringList*) { ++changed; };
  empty.Clear();
  EXPECT_EQ(changed, 2);
}

TEST(AnsiList, SearchIndexModes) {
  TAnsiStringList l;
  l.SetText("b\r\nd\r\nf");
  l.SetSorted(true);
  struct Row {
    const char* s;
    TSearchMode mode;
    int index;
  } rows[] = {{"d", sm_eqOnly, 1},  {"c", sm_eqOnly, -1}, {"c", sm_Max_LE, 0}, {"c", sm_Min_GE, 1},
              {"a", sm_Max_LT, -1}, {"g", sm_Min_GT, -1}, {"D", sm_Min_GT, 1}, {"g", sm_Max_LE, 2}};
  for (const Row& r : rows) EXPECT_EQ(l.SearchIndex(r.s, r.mode), r.index) << r.s << r.mode;
}

TEST(AnsiList, HexDump) {
  TAnsiStringList l;
  const unsigned char bytes[] = {0x00, 0xAB, 0x7F};
  l.rtfHexOut(bytes, 3);
  std::filesystem::path p = TempPath("hex.bin");
  l.binFileOut(p);
  std::ifstream in(p, std::ios::binary);
  std::string back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(back, std::string("\x00\xAB\x7F", 3));
  std::filesystem::remove(p);
  l.rtfHexOutEnd();
  EXPECT_EQ(LinesOf(l), (Lines{"00AB7F"}));
  EXPECT_THROW(l.binFileOut(TempPath("no_dir") / "x.bin"), EAnsiStringListError);
}

TEST(AnsiList, CyrillicText) {
  TAnsiStringList l;
  l.SetText("\xC0\xB7\r\n\xE1");
  std::vector<std::u16string> u;
  l.RuAnsiListToUni(u);
  EXPECT_EQ(u, (std::vector<std::u16string>{u"\u0410\u02BC", u"\u0431"}));
  TAnsiStringList back;
  back.AddUnicodeStrings(u, UniToCp1251);
  EXPECT_EQ(back.GetText(), l.GetText());
}

}  // namespace

// --- sorting hostile orders ----------------------------------------------------------------

namespace hostile {

// The order in which the item in the middle of every range the sort visits is that range's
// largest: each partition then splits off a single item.
std::vector<int> MiddleMaximumOrder(int n) {
  std::vector<int> slot(n), value(n);
  for (int k = 0; k < n; ++k) slot[k] = k;
  int next = n - 1;
  for (int r = n - 1; r >= 1; --r) {
    const int p = r / 2;
    value[slot[p]] = next--;
    std::swap(slot[p], slot[r]);
  }
  value[slot[0]] = next;
  return value;
}

std::string Padded(int v) {
  std::string s = std::to_string(v);
  return std::string(8 - s.size(), '0') + s;
}

// Compares the items' first eight characters and notes how deep the stack went below the
// caller of the sort.
struct TDepthProbe {
  const char* top = nullptr;
  std::size_t deepest = 0;
  int Compare(TAnsiStringList& l, int i, int j) {
    char here;
    if (top - &here > static_cast<std::ptrdiff_t>(deepest))
      deepest = static_cast<std::size_t>(top - &here);
    return l.Get(i).compare(0, 8, l.Get(j), 0, 8);
  }
};

// The sort as plain recursion into the left part, for the order it must keep.
void ReferenceSort(std::vector<std::string>& v, int l, int r) {
  auto cmp = [&](int a, int b) { return v[a].compare(0, 8, v[b], 0, 8); };
  int i;
  do {
    i = l;
    int j = r, p = (l + r) / 2;
    do {
      while (cmp(i, p) < 0) ++i;
      while (cmp(j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(v[i], v[j]);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (l < j) ReferenceSort(v, l, j);
    l = i;
  } while (i < r);
}

}  // namespace hostile

TEST(AnsiList, SortDepthStaysSmallOnTheWorstOrder) {
  // Time grows with the square of the count on this order (inherent to the fixed middle
  // pivot); depth must not: 6000 nested calls were the old behaviour here.
  const int n = 6000;
  TAnsiStringList l;
  for (int v : hostile::MiddleMaximumOrder(n)) l.Add(hostile::Padded(v));
  char top;
  hostile::TDepthProbe probe{&top};
  l.CustomSort([&probe](TAnsiStringList& list, int i, int j) { return probe.Compare(list, i, j); });
  for (int k = 0; k < n; ++k) ASSERT_EQ(l.Get(k), hostile::Padded(k));
  EXPECT_LT(probe.deepest, 64u * 1024) << "stack bytes used by the sort";
}

TEST(AnsiList, SortKeepsTheOrderOfPlainRecursion) {
  // Many equal keys with distinct tails: their final order shows every swap made.
  struct Case {
    const char* name;
    std::vector<int> keys;
  };
  std::vector<Case> cases;
  std::vector<int> worst = hostile::MiddleMaximumOrder(1500);
  for (int& k : worst) k /= 7;
  cases.push_back({"worst order, ties", worst});
  std::vector<int> mixed;
  unsigned x = 12345;
  for (int k = 0; k < 3000; ++k)
    mixed.push_back(static_cast<int>((x = x * 1103515245 + 12345) >> 16) % 40);
  cases.push_back({"random, ties", mixed});
  std::vector<int> saw;
  for (int k = 0; k < 3000; ++k) saw.push_back(k % 97 < 50 ? k % 97 : 97 - k % 97);
  cases.push_back({"organ pipes", saw});
  for (const Case& c : cases) {
    std::vector<std::string> items;
    for (std::size_t k = 0; k < c.keys.size(); ++k)
      items.push_back(hostile::Padded(c.keys[k]) + "#" + std::to_string(k));
    TAnsiStringList l;
    for (const std::string& s : items) l.Add(s);
    l.CustomSort([](TAnsiStringList& list, int i, int j) {
      return list.Get(i).compare(0, 8, list.Get(j), 0, 8);
    });
    hostile::ReferenceSort(items, 0, static_cast<int>(items.size()) - 1);
    EXPECT_EQ(LinesOf(l), items) << c.name;
  }
}

TEST(AnsiList, SortsAMillionItems) {
  // A million items, descending with runs of equal keys, then a second time sorted already.
  const int n = 1000000;
  TAnsiStringList l;
  l.SetCapacity(n);
  for (int k = 0; k < n; ++k) l.Add(hostile::Padded((n - k) / 3));
  char top;
  hostile::TDepthProbe probe{&top};
  for (int round = 0; round < 2; ++round) {
    l.CustomSort(
        [&probe](TAnsiStringList& list, int i, int j) { return probe.Compare(list, i, j); });
    ASSERT_EQ(l.Count(), n);
    for (int k = 1; k < n; ++k) ASSERT_LE(l.Get(k - 1), l.Get(k)) << k;
  }
  EXPECT_LT(probe.deepest, 64u * 1024) << "stack bytes used by the sort";
}
