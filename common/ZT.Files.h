// SPDX-License-Identifier: MIT
// Reading text files in the library's encodings: detection of the encoding from the first
// bytes, decoding to UTF-16, and the library's zlib containers ("DLZTU8", "DLZTAZ", "DLZTUC").
// Parsing works on bytes in memory; ReadTextFile only reads the file first.
//
//   TEncodingType t;
//   std::u16string text = ReadTextFile("Beugwerk.ini", &t);   // t == et_UTF8 for a BOM file
//   ReadTextBytes("\xA7\x80")                                  -> u"\u00A7\u0080"
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/_ZT_Unicd.h"

// A decider answers for a detected type: a code page for et_ANSI_zip, 2/3 to accept
// et_UTF8C/et_UTF8C_zip, 65001 to read a file without signature as UTF-8.
using TDeciderCallback = std::function<int(std::string_view bytes, TEncodingType type)>;

class TDefaultDecider {
 public:
  // 2 for et_UTF8C, 3 for et_UTF8C_zip, 0 otherwise.
  int AnsiDecider(std::string_view bytes, TEncodingType t) const;
  // As AnsiDecider, but 65001 for et_none when all the bytes are plausible UTF-8.
  int AnsiDeciderEx(std::string_view bytes, TEncodingType t) const;
};

// The program's one decider.
TDefaultDecider& DefaultDecider();

// A file that cannot be opened or read; what() names the file and the system error (UTF-8).
struct EFileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The German text of a system error number (errno), UTF-8, for messages that speak German
// throughout: SystemErrorText(ENOENT) is "Datei oder Verzeichnis nicht gefunden". 0 gives
// "Ein-/Ausgabefehler" (a stream that failed without saying why).
std::string SystemErrorText(int error);

// The type from the first 8 bytes (zero-padded); *textOffset gets where the text starts.
// Yields only et_none, et_ANSI, et_UTF8, et_UTF16BE, et_UTF16LE, et_UTF8_zip, et_UTF8C_zip
// and et_ANSI_zip.
TEncodingType DetectEncoding(std::string_view bytes, std::size_t* textOffset);

// Decodes the bytes as the given type, the text starting at textOffset. Throws EEncodingError
// for a damaged container, EAssertionFailed for et_16.
std::u16string DecodeText(std::string_view bytes, TEncodingType type, std::size_t textOffset,
                          const TDeciderCallback& decider = {});

// Detects the type, reports it through *detected and returns the whole text.
std::u16string ReadTextBytes(std::string_view bytes, TEncodingType* detected = nullptr,
                             const TDeciderCallback& decider = {});
// The whole file's bytes. Throws EFileError (naming the file and the system error) when it
// cannot be read.
std::string ReadFileBytes(const std::filesystem::path& fileName);
// As ReadTextBytes on the file's content. Throws EFileError when the file cannot be read.
std::u16string ReadTextFile(const std::filesystem::path& fileName,
                            TEncodingType* detected = nullptr,
                            const TDeciderCallback& decider = {});

// True when the bytes are non-empty, valid UTF-8 and free of C0, C1 and F5 to FF.
bool IsPlausibleUtf8(std::string_view bytes);

// et_UTF8noBom with the UTF-8 encoding when IsPlausibleUtf8, else et_ANSI with Windows-1252.
TEncodingType DetectUtf8NoBom(std::string_view bytes, const TEncoding** encoding);

// A container of the given type (et_UTF8_zip, et_UTF8C_zip or et_ANSI_zip) around the
// zlib-compressed content. Throws EEncodingError for any other type.
std::string WriteContainer(TEncodingType type, std::string_view content);
// The inflated content of a container; throws EEncodingError when it is damaged.
std::string InflateContainer(std::string_view bytes);
