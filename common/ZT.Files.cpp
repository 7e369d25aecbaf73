// SPDX-License-Identifier: MIT
#include "common/ZT.Files.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

#include "common/_ZT_cmn_A.h"

// The library's scrambled UTF-8 format (et_UTF8C, et_UTF8C_zip) is not supported: its
// preamble and its byte scrambling are unknown here. So et_UTF8C is never detected, and a
// "DLZTUC" container is recognised by its header only; if the decider accepts it, reading
// fails with an EEncodingError instead of returning garbled text.

namespace {

// --- Detection -------------------------------------------------------------------------------

struct Signature {
  std::string_view bytes;
  TEncodingType type;
  std::size_t textOffset;
};

using namespace std::string_view_literals;

// Compared in order against the first 8 bytes of the file, zero-padded. A leading A7 byte
// (a Latin-1 section sign) is tested before the table.
constexpr std::array<Signature, 7> kSignatures{{
    {"\xEF\xBB\xBF"sv, et_UTF8, 3},
    {"\xC2\xA7"sv, et_UTF8, 0},  // a UTF-8 section sign: part of the text
    {"\xFE\xFF"sv, et_UTF16BE, 2},
    {"\xFF\xFE"sv, et_UTF16LE, 2},
    {"DLZTU8\x00\x01"sv, et_UTF8_zip, 8},
    {"DLZTUC\x00\x01"sv, et_UTF8C_zip, 8},
    {"DLZTAZ\x00\x01"sv, et_ANSI_zip, 8},
}};

constexpr std::size_t kHeaderSize = 8;

// --- Decoding helpers ------------------------------------------------------------------------

std::u16string ByteForByte(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), out.begin(),
                 [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
  return out;
}

// Bytes above 7F are not ASCII and become question marks.
std::u16string Ascii(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  std::transform(bytes.begin(), bytes.end(), out.begin(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return static_cast<char16_t>(b < 0x80 ? b : '?');
  });
  return out;
}

// Code units are taken as they are; an odd last byte becomes U+FFFD.
std::u16string Utf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2 + 1);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  if (bytes.size() % 2 != 0) out += u'\uFFFD';
  return out;
}

std::string_view SkipUtf8Bom(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return bytes;
}

std::u16string Utf8UpToNul(std::string_view bytes) {
  bytes = SkipUtf8Bom(bytes);
  return Utf8ToUni(bytes.substr(0, bytes.find('\0')));
}

std::u16string AnsiZip(std::string_view bytes, const TDeciderCallback& decider) {
  const std::string content = InflateContainer(bytes);
  const int codePage = decider ? decider(bytes, et_ANSI_zip) : 1252;
  if (codePage == 0) return ByteForByte(content);
  return EncodingForCodePage(codePage).GetChars(content);
}

std::u16string Scrambled(std::string_view bytes, TEncodingType type,
                         const TDeciderCallback& decider) {
  const int answer = decider ? decider(bytes, type) : DefaultDecider().AnsiDecider(bytes, type);
  if (answer != 2 && answer != 3) return u"File ist ZT-C-encoded";
  throw EEncodingError("Das verschlüsselte ZT-C-Format kann nicht gelesen werden.");
}

std::u16string NoSignature(std::string_view bytes, const TDeciderCallback& decider) {
  if (decider && decider(bytes, et_none) == 65001) return Utf8ToUni(bytes);
  return EncodingForCodePage(1252).GetChars(bytes);
}

// --- zlib ------------------------------------------------------------------------------------

const char* ContainerHeader(TEncodingType type) {
  switch (type) {
    case et_UTF8_zip:
      return "DLZTU8";
    case et_UTF8C_zip:
      return "DLZTUC";
    case et_ANSI_zip:
      return "DLZTAZ";
    default:
      return nullptr;
  }
}

// A stream that ends early, has bad data or wants a preset dictionary is damaged.
std::string Inflate(std::string_view stream) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) throw EEncodingError("zlib kann nicht gestartet werden.");
  std::string out;
  std::array<unsigned char, 16384> chunk;
  for (;;) {
    if (z.avail_in == 0 && !stream.empty()) {
      const std::size_t n = std::min<std::size_t>(stream.size(), UINT_MAX);
      z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
      z.avail_in = static_cast<uInt>(n);
      stream.remove_prefix(n);
    }
    z.next_out = chunk.data();
    z.avail_out = chunk.size();
    const int rc = inflate(&z, Z_NO_FLUSH);
    out.append(reinterpret_cast<char*>(chunk.data()), chunk.size() - z.avail_out);
    if (rc == Z_STREAM_END) break;
    if (rc == Z_OK) continue;
    // Z_BUF_ERROR: output space was there, so the input ran out.
    const std::string why = rc == Z_BUF_ERROR ? "unerwartetes Ende"
                            : z.msg           ? z.msg
                                              : "zlib-Fehler " + std::to_string(rc);
    inflateEnd(&z);
    throw EEncodingError("Komprimierter Text ist beschädigt (" + why + ").");
  }
  inflateEnd(&z);
  return out;
}

// --- Files -----------------------------------------------------------------------------------

[[noreturn]] void ThrowFileError(const std::filesystem::path& fileName, int err) {
  const std::u8string name = fileName.u8string();
  throw EFileError("Datei \"" + std::string(name.begin(), name.end()) +
                   "\" kann nicht gelesen werden: " + SystemErrorText(err));
}

// The errors a file operation meets in practice, in the words of the C library's German
// translation; the rest by number.
struct TSystemErrorText {
  int error;
  std::string_view text;
};
constexpr TSystemErrorText kSystemErrorTexts[] = {
    {0, "Ein-/Ausgabefehler"},
    {EIO, "Ein-/Ausgabefehler"},
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {EACCES, "Keine Berechtigung"},
    {EPERM, "Die Operation ist nicht erlaubt"},
    {EISDIR, "Ist ein Verzeichnis"},
    {ENOTDIR, "Ist kein Verzeichnis"},
    {EEXIST, "Die Datei existiert bereits"},
    {ENOSPC, "Auf dem Gerät ist kein Speicherplatz mehr verfügbar"},
    {EDQUOT, "Der zugewiesene Plattenplatz (Quota) ist überschritten"},
    {EROFS, "Das Dateisystem ist nur lesbar"},
    {EFBIG, "Die Datei ist zu groß"},
    {ENAMETOOLONG, "Der Dateiname ist zu lang"},
    {ELOOP, "Zu viele Ebenen aus symbolischen Verknüpfungen"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {ENOMEM, "Nicht genügend Hauptspeicher verfügbar"},
    {EBUSY, "Das Gerät oder die Ressource ist belegt"},
    {ETXTBSY, "Das Programm wird gerade ausgeführt"},
    {EXDEV, "Ungültige Verknüpfung über Gerätegrenzen hinweg"},
    {EINVAL, "Ungültiges Argument"},
    {EPIPE, "Die Gegenseite hat die Verbindung geschlossen"},
};

}  // namespace

std::string SystemErrorText(int error) {
  for (const TSystemErrorText& t : kSystemErrorTexts)
    if (t.error == error) return std::string(t.text);
  return "Systemfehler " + std::to_string(error);
}

// There are no share modes to shut writers out; the file is read in one go instead.
std::string ReadFileBytes(const std::filesystem::path& fileName) {
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) ThrowFileError(fileName, errno);
  std::string data;
  std::array<char, 65536> buf;
  for (;;) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      ThrowFileError(fileName, err);
    }
    data.append(buf.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return data;
}

// --- Decider ---------------------------------------------------------------------------------

int TDefaultDecider::AnsiDecider(std::string_view, TEncodingType t) const {
  if (t == et_UTF8C) return 2;
  if (t == et_UTF8C_zip) return 3;
  return 0;
}

int TDefaultDecider::AnsiDeciderEx(std::string_view bytes, TEncodingType t) const {
  if (t == et_none && IsPlausibleUtf8(bytes)) return 65001;
  return AnsiDecider(bytes, t);
}

TDefaultDecider& DefaultDecider() {
  static TDefaultDecider decider;
  return decider;
}

// --- Detection and reading -------------------------------------------------------------------

TEncodingType DetectEncoding(std::string_view bytes, std::size_t* textOffset) {
  std::size_t offset = 0;
  TEncodingType type = et_none;
  if (!bytes.empty() && static_cast<unsigned char>(bytes[0]) == 0xA7) {
    type = et_ANSI;
  } else {
    std::array<char, kHeaderSize> head{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), kHeaderSize), head.begin());
    const std::string_view padded(head.data(), head.size());
    for (const Signature& s : kSignatures) {
      if (padded.substr(0, s.bytes.size()) == s.bytes) {
        type = s.type;
        offset = s.textOffset;
        break;
      }
    }
  }
  if (textOffset) *textOffset = offset;
  return type;
}

std::u16string DecodeText(std::string_view bytes, TEncodingType type, std::size_t textOffset,
                          const TDeciderCallback& decider) {
  const std::string_view text = bytes.substr(std::min(textOffset, bytes.size()));
  switch (type) {
    case et_ANSI:
      return ByteForByte(text);
    case et_ASCII:
      return Ascii(text);
    case et_ANSI_zip:
      return AnsiZip(bytes, decider);
    case et_UTF8:
    case et_UTF8Paragraph:
      return Utf8ToUni(text);
    case et_UTF8noBom:
      return Utf8ToUni(bytes);
    case et_UTF16BE:
    case et_UTF16LE:
      return Utf16(text, type == et_UTF16BE);
    case et_UTF7:
      return DecodeCodePage(text, "UTF-7");
    case et_UTF8C:
    case et_UTF8C_zip:
      return Scrambled(bytes, type, decider);
    case et_16:
      return TEncodingU::RAW16().GetChars(text);
    case et_UTF8_zip:
      return Utf8UpToNul(InflateContainer(bytes));
    default:
      return NoSignature(bytes, decider);
  }
}

std::u16string ReadTextBytes(std::string_view bytes, TEncodingType* detected,
                             const TDeciderCallback& decider) {
  std::size_t offset = 0;
  const TEncodingType type = DetectEncoding(bytes, &offset);
  if (detected) *detected = type;
  return DecodeText(bytes, type, offset, decider);
}

std::u16string ReadTextFile(const std::filesystem::path& fileName, TEncodingType* detected,
                            const TDeciderCallback& decider) {
  const std::string bytes = ReadFileBytes(fileName);
  try {
    return ReadTextBytes(bytes, detected, decider);
  } catch (const EEncodingError& e) {
    const std::u8string name = fileName.u8string();
    throw EEncodingError("Datei \"" + std::string(name.begin(), name.end()) + "\": " + e.what());
  }
}

// --- UTF-8 without signature -----------------------------------------------------------------

// Strict: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsPlausibleUtf8(std::string_view bytes) {
  if (bytes.empty()) return false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t need;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0xC2) return false;  // a stray continuation byte, or C0/C1
    if (c < 0xE0) {
      need = 1;
    } else if (c < 0xF0) {
      need = 2;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c < 0xF5) {
      need = 3;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (bytes.size() - i - 1 < need) return false;
    for (std::size_t k = 1; k <= need; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if (b < lo || b > hi) return false;
      lo = 0x80;
      hi = 0xBF;
    }
    i += need + 1;
  }
  return true;
}

TEncodingType DetectUtf8NoBom(std::string_view bytes, const TEncoding** encoding) {
  const bool utf8 = IsPlausibleUtf8(bytes);
  if (encoding) {
    *encoding =
        utf8 ? static_cast<const TEncoding*>(&TEncodingU::UTF8NoBom()) : &TEncodingU::AnsiWestern();
  }
  return utf8 ? et_UTF8noBom : et_ANSI;
}

// --- Containers ------------------------------------------------------------------------------

std::string WriteContainer(TEncodingType type, std::string_view content) {
  const char* header = ContainerHeader(type);
  if (!header) throw EEncodingError("Kein Containertyp: " + std::to_string(static_cast<int>(type)));
  uLongf size = compressBound(static_cast<uLong>(content.size()));
  std::string out(kHeaderSize + size, '\0');
  std::memcpy(out.data(), header, 6);
  out[7] = '\x01';
  const int rc = compress2(reinterpret_cast<Bytef*>(out.data() + kHeaderSize), &size,
                           reinterpret_cast<const Bytef*>(content.data()),
                           static_cast<uLong>(content.size()), Z_BEST_COMPRESSION);
  if (rc != Z_OK) throw EEncodingError("Komprimieren fehlgeschlagen (" + std::to_string(rc) + ").");
  out.resize(kHeaderSize + size);
  return out;
}

std::string InflateContainer(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) throw EEncodingError("Komprimierter Text ist zu kurz.");
  return Inflate(bytes.substr(kHeaderSize));
}
