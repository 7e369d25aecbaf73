// SPDX-License-Identifier: MIT
// 8-bit text helpers and the border between 8-bit and UTF-16 text.
//
// The engine's strings are std::string holding Windows-1252 bytes; windows, pages and
// settings use std::u16string. Positions are 1-based and "not found" is 0 (LastPosStr and
// LastPosStrFrom give -1). A blank is the byte 0x20 only.
//
//   BeginsWith("le", "lesen")        -> true
//   PosChar(' ', "mit sich", 1)      -> 4
//   Latin1ToUni("\xFC" "ber")        -> u"über"
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

// --- 8-bit strings -------------------------------------------------------------------------
bool BeginsWith(std::string_view prefix, std::string_view s);
bool EndsWith(std::string_view suffix, std::string_view s);
void DeleteLastChar(std::string& s);
void TrimLeadingBlanks(std::string& s);
void TrimTrailingBlanks(std::string& s);
unsigned char FirstChar(std::string_view s);  // 0x20 for the empty string
unsigned char LastChar(std::string_view s);   // 0x20 for the empty string

// Windows-1252 case maps: fixed tables, no locale.
bool IsUpperLatin1(unsigned char c);
unsigned char UpperLatin1(unsigned char c);
unsigned char LowerLatin1(unsigned char c);
void LowerStrLatin1(std::string& s);

int PosChar(unsigned char c, std::string_view s, int from = 1);
int PosCharOrEnd(unsigned char c, std::string_view s, int from = 1);
int LastPosChar(unsigned char c, std::string_view s, int limit = 0);
int LastPosStrFrom(std::string_view sub, std::string_view s, int from);
int LastPosStr(std::string_view sub, std::string_view s);

int ParenthesisStart(std::string_view s);
std::string GetParenthesis(std::string_view s);  // throws EAssertionFailed on a malformed group

// Reads an optional '-' (or '$' switching to base 16) and digits; leaves the cursor on the
// first byte that is not a digit of the base. No overflow check.
int ParseIntA(std::string_view& cursor, int base);
int ParseIntA(std::string_view s);  // whole string, base 10

// --- Conversions -----------------------------------------------------------------------------
// Windows-1252 by fixed tables; the five unassigned bytes map to the C1 code point of the same
// value and back. Characters Windows-1252 lacks encode as '?'.
std::u16string Latin1ToUni(std::string_view a);
std::string UniToLatin1(std::u16string_view u);
char16_t Latin1CharToUni(unsigned char c);  // one byte, no allocation
unsigned char UniCharToLatin1(char16_t u);  // one code unit; '?' when Windows-1252 lacks it
// Windows-1251 through glibc iconv, with the apostrophe rule (U+00B7 <-> U+02BC).
std::u16string Cp1251ToUni(std::string_view a);
std::string UniToCp1251(std::u16string_view u);
std::string UniToLatin1Direct(std::u16string_view u);
std::u16string UrlEscape(std::u16string_view u, bool escapeAmpEq);
// & < > (and " when quotes is set) as character entities, so that text cannot open markup;
// C0 controls other than tab and line breaks, which XML forbids, become U+FFFD.
std::u16string XmlEscape(std::u16string_view text, bool quotes);

// Any code page by its iconv name ("CP1251", "CP437", "SHIFT_JIS", ...). Undecodable bytes
// become U+FFFD, unencodable characters '?'. Throws std::runtime_error for an unknown name.
std::u16string DecodeCodePage(std::string_view bytes, const char* iconvName);
std::string EncodeCodePage(std::u16string_view text, const char* iconvName);

// UTF-8 at the border to the terminal, files and the network. Invalid sequences decode to
// U+FFFD; lone surrogates encode as U+FFFD.
std::u16string Utf8ToUni(std::string_view utf8);
std::string UniToUtf8(std::u16string_view u);
std::string Latin1ToUtf8(std::string_view a);
void AppendLatin1AsUtf8(std::string& out, std::string_view a);  // the same, appended to out
std::string Utf8ToLatin1(std::string_view utf8);

// --- UTF-16 relatives ------------------------------------------------------------------------
bool BeginsWithW(std::u16string_view prefix, std::u16string_view s);
char16_t FirstCharW(std::u16string_view s);
void TrimBlanksW(std::u16string& s);
void AddBackslash(std::u16string& folder);
void UpperStrW(std::u16string& s);  // ICU, the user's default locale
bool DirectoryExistsW(const std::filesystem::path& p);

// --- Files -----------------------------------------------------------------------------------
// Last-write time in nanoseconds since the epoch; 0 when nothing or a folder is there.
std::int64_t FileWriteTime(const std::filesystem::path& path);
int CompareFileTime(std::int64_t a, std::int64_t b);  // -1, 0, +1

// "Assertion fehlgeschlagen" failures of internal consistency checks; what() is UTF-8.
struct EAssertionFailed : std::logic_error {
  using std::logic_error::logic_error;
};
