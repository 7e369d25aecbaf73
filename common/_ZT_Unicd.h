// SPDX-License-Identifier: MIT
// Text encodings of the library: the encoding type of a text file, the encoding objects that
// turn bytes into UTF-16 and back, the code page table behind 8-bit decoding, and the
// backslash stress notation of word lists.
//
//   EncodingForCodePage(1049).GetChars("\xE4\xE0")    -> u"да"
//   StressNotationToUni(u"h\\acu a", 0)                -> u"ha\u0301"
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// Ordinal values are stored by callers; keep the order.
enum TEncodingType {
  et_none,           // no signature found
  et_ANSI,           // 8-bit text, byte value = character code
  et_ASCII,          // 7-bit text
  et_ANSI_zip,       // zlib-compressed 8-bit text in the library's container
  et_UTF8,           // UTF-8 with signature
  et_UTF8noBom,      // UTF-8 without signature
  et_UTF16BE,        // UTF-16 big-endian
  et_UTF16LE,        // UTF-16 little-endian
  et_UTF7,           // UTF-7
  et_UTF8C,          // the library's scrambled UTF-8
  et_16,             // raw 16-bit text as held in memory
  et_UTF8_zip,       // zlib-compressed UTF-8 in the library's container
  et_undetected,     // detection gave no answer
  et_UTF8Paragraph,  // UTF-8 whose text starts with a section sign
  et_UTF8C_zip       // zlib-compressed scrambled UTF-8 in the library's container
};

// Text that cannot be decoded (a damaged container, an unreadable format); what() is UTF-8.
struct EEncodingError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A text encoding: its shown name, the bytes that mark a file in it, and the conversions.
class TEncoding {
 public:
  virtual ~TEncoding() = default;
  virtual std::u16string_view Name() const = 0;
  virtual std::string_view Preamble() const { return {}; }
  virtual std::u16string GetChars(std::string_view bytes) const = 0;
  virtual std::string GetBytes(std::u16string_view text) const = 0;
};

// An 8-bit code page. 1252 uses the program's own Windows-1252 tables, the others glibc iconv.
class TCodePageEncoding : public TEncoding {
 public:
  TCodePageEncoding(int codePage, const char* iconvName, int charset);
  std::u16string_view Name() const override { return name_; }
  std::u16string GetChars(std::string_view bytes) const override;
  std::string GetBytes(std::u16string_view text) const override;
  int CodePage() const { return codePage_; }
  int Charset() const { return charset_; }  // the character set number of font APIs

 private:
  int codePage_;
  const char* iconvName_;
  int charset_;
  std::u16string name_;
};

class TEncodingAnsiWestern : public TCodePageEncoding {
 public:
  TEncodingAnsiWestern();
  std::u16string_view Name() const override { return u"ANSI (Western)"; }
};

class TEncodingAnsiRussian : public TCodePageEncoding {
 public:
  TEncodingAnsiRussian();
  std::u16string_view Name() const override { return u"ANSI (Russian)"; }
};

class TUTF8NoBomEncoding : public TEncoding {
 public:
  std::u16string_view Name() const override { return u"UTF-8 ohne BOM"; }
  std::u16string GetChars(std::string_view bytes) const override;
  std::string GetBytes(std::u16string_view text) const override;
};

// Raw 16-bit text as held in memory: named for the type list, but never converted.
class TRAW16Encoding : public TEncoding {
 public:
  std::u16string_view Name() const override { return u"16-Bit (wie intern)"; }
  std::u16string GetChars(std::string_view bytes) const override;  // throws EAssertionFailed
  std::string GetBytes(std::u16string_view text) const override;   // throws EAssertionFailed
};

// The library's shared encoding objects, created on first use and alive until program end.
// The scrambled UTF-8 format is not supported (see ZT.Files.cpp), so it has no object here.
struct TEncodingU {
  static const TEncodingAnsiWestern& AnsiWestern();
  static const TEncodingAnsiRussian& AnsiRussian();
  static const TUTF8NoBomEncoding& UTF8NoBom();
  static const TRAW16Encoding& RAW16();
};

// The decoder of the code page table. Unknown code pages give the 1252 entry; the language
// identifiers 1031 (German) and 1049 (Russian) give 1252 and 1251.
const TCodePageEncoding& EncodingForCodePage(int codePage);

// Stress notation flags.
enum : int {
  sn_GraveAsAcute = 1,  // "\gra " puts U+0301 instead of U+0300
  sn_DropDot = 2        // "\dot " is removed without a mark
};

// Replaces the escapes "\acu ", "\gra " and "\dot " by a combining mark after the next
// character; other backslash escapes are copied unchanged.
std::u16string StressNotationToUni(std::u16string_view s, int flags);
