// SPDX-License-Identifier: MIT
// A settings file of arbitrary bytes: loaded (encoding detection, line-wise fallback), read
// through the typed reads, written and read back. What is written must read back to the
// same document (but for lone surrogates, which UTF-8 cannot carry).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/_0ZTINI.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// A surrogate without its partner: UTF-8, in which settings are written, cannot carry it, so
// it comes back as U+FFFD.
bool HasLoneSurrogate(std::u16string_view t) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] >= 0xD800 && t[i] <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 &&
        t[i + 1] <= 0xDFFF) {
      ++i;
    } else if (t[i] >= 0xD800 && t[i] <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniStream doc;
  doc.LoadFromBytes(bytes);
  TUniStrings names;
  doc.ReadSectionNames(names);
  for (const std::u16string& section : names) {
    TUniStrings lines;
    doc.ReadSectionLines(section, lines, true);
    doc.ReadSectionLineNames(section, lines);
    for (const std::u16string& key : lines) {
      doc.ReadString(section, key, u"");
      doc.ReadInteger(section, key, 0);
      doc.ReadInt64(section, key, 0);
      doc.ReadBool(section, key, false);
      doc.ReadDouble(section, key, 0);
      doc.ReadPoint(section, key, u"0,0");
    }
  }
  const std::u16string text = doc.FileText();
  doc.GetText();
  TIniStream back;
  back.LoadFromBytes(doc.SaveToBytes());
  if (!HasLoneSurrogate(text))
    Check(back.FileText() == text, "written settings read back differently");
  back.DelDupLines();
  back.SortKeywords();
  return 0;
}
