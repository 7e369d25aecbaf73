// SPDX-License-Identifier: MIT
// Test helper: "write" stores a few values in the user settings file, "read" prints them.
// Run twice, it shows that the values survive from one program run to the next.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  TUserSettings& s = GetUserSettings();
  if (std::strcmp(argv[1], "write") == 0) {
    s.writeString(u"Test", u"text", u"Zeile 1\r\nZeile 2 \u00E4\u20AC\u03A9");
    s.writeInteger(u"Test", u"int", std::numeric_limits<int>::min());
    s.writeBool(u"Test", u"bool", true);
    s.writeDouble(u"Test", u"nan", std::bit_cast<double>(0x7FF8000000000123ULL));
    s.writeDouble(u"Test", u"negzero", -0.0);
    s.writeList(u"List", {u"lesen", u"sich anziehen"});
    ReleaseUserSettings();
    return 0;
  }
  std::u16string text = s.readString(u"TEST", u"TEXT", u"");
  for (char16_t& c : text)
    if (c == u'\r') c = u'|';
  std::erase(text, u'\n');
  std::printf("text=%s\n", UniToUtf8(text).c_str());
  std::printf("int=%d\n", s.readInteger(u"Test", u"int", 0));
  std::printf("bool=%d\n", s.readBool(u"Test", u"bool", false) ? 1 : 0);
  std::printf("nan=%016llX\n", static_cast<unsigned long long>(
                                   std::bit_cast<std::uint64_t>(s.readDouble(u"Test", u"nan", 0))));
  std::printf("negzero=%016llX\n", static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(
                                       s.readDouble(u"Test", u"negzero", 1))));
  TUniStrings list;
  s.readList(u"List", list);
  std::printf("list=");
  for (const auto& l : list) std::printf("%s;", UniToUtf8(l).c_str());
  std::printf("\n");
  return 0;
}
