// SPDX-License-Identifier: MIT
// The settings document bound to a file: reading with the encoding fallback, saving through a
// temporary file, keeping memory and file close together.
#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <mutex>

#include "common/ZT.Files.h"
#include "common/_0ZTINI.h"
#include "common/_ZT_cmn_A.h"

namespace fs = std::filesystem;

namespace {

std::mutex g_msgMutex;
TSettingsMessageCallback g_msg;

constexpr std::int64_t kSaveDelayNs = 10'000'000'000;  // pending changes older than 10 s

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool IsFile(const fs::path& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string b = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    b.push_back(bigEndian ? hi : lo);
    b.push_back(bigEndian ? lo : hi);
  }
  return b;
}

bool StrictUtf8(std::string_view bytes, std::u16string& out) {
  out.assign(bytes.size(), u'\0');
  int32_t len = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &len, bytes.data(),
                static_cast<int32_t>(bytes.size()), &err);
  if (U_FAILURE(err)) return false;
  out.resize(static_cast<std::size_t>(len));
  return true;
}

bool IsUtf8Type(TEncodingType e) {
  return e == et_UTF8 || e == et_UTF8noBom || e == et_UTF8Paragraph;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void SetSettingsMessageCallback(TSettingsMessageCallback cb) {
  std::lock_guard lock(g_msgMutex);
  g_msg = std::move(cb);
}

// --- encodings -------------------------------------------------------------------------------
std::string EncodeIniText(std::u16string_view text, TEncodingType encoding) {
  switch (encoding) {
    case et_UTF8:
    case et_UTF8Paragraph:
      return "\xEF\xBB\xBF" + UniToUtf8(text);
    case et_UTF8noBom:
      return UniToUtf8(text);
    case et_UTF16LE:
      return Utf16Bytes(text, false);
    case et_UTF16BE:
      return Utf16Bytes(text, true);
    case et_ANSI:
    case et_ASCII:
      return UniToLatin1(text);
    default:
      break;
  }
  // No encoding chosen: Windows-1252 as long as nothing is lost and the bytes do not look
  // like a signature; otherwise UTF-8, which the reader recognises by its signature.
  std::string ansi = UniToLatin1(text);
  std::size_t offset = 0;
  if (Latin1ToUni(ansi) == text && DetectEncoding(ansi, &offset) == et_none) return ansi;
  return "\xEF\xBB\xBF" + UniToUtf8(text);
}

std::u16string DecodeIniLines(std::string_view bytes, TEncodingType encoding, int* lastBadLine) {
  if (lastBadLine) *lastBadLine = 0;
  if (encoding == et_UTF16LE || encoding == et_UTF16BE) {
    // Line-wise decoding makes no sense for 16-bit units; decode them as they come.
    bool be = encoding == et_UTF16BE;
    if (bytes.starts_with(be ? "\xFE\xFF" : "\xFF\xFE")) bytes.remove_prefix(2);
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
      text.push_back(static_cast<char16_t>(be ? (b0 << 8 | b1) : (b1 << 8 | b0)));
    }
    if (bytes.size() % 2 && lastBadLine) *lastBadLine = 1;
    return text;
  }
  bool utf8 = IsUtf8Type(encoding);
  if (utf8 && bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::u16string text, line;
  int lineNr = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\r', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(pos, end - pos);
    ++lineNr;
    bool ok = !utf8 || (StrictUtf8(raw, line) && (raw.empty() || !line.empty()));
    if (!ok) {
      if (lastBadLine) *lastBadLine = lineNr;
      line = Latin1ToUni(raw);
    } else if (!utf8) {
      line = Latin1ToUni(raw);
    }
    text += line;
    text += u"\r\n";
    pos = end + 1;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return text;
}

// --- atomic write ----------------------------------------------------------------------------
bool WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  fs::path target = path;
  if (fs::is_symlink(path, ec)) {
    fs::path resolved = fs::canonical(path, ec);
    if (!ec) target = resolved;
  }
  fs::path tmp = target;
  tmp += "." + std::to_string(::getpid()) + ".tmp";
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
  if (fd < 0) return false;
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
  bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(tmp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  fs::path folder = target.parent_path();
  SyncFolder(folder.empty() ? fs::path(".") : folder);
  return true;
}

// --- TIni ------------------------------------------------------------------------------------
TIni::TIni(fs::path fn) : TIni(std::move(fn), {}, {}, et_none) {}

TIni::TIni(fs::path fn, TVirtualizeFunction aVirtualizeFunction,
           TEncodingErrorHandler aEncodingErrorHandler, TEncodingType aEncoding)
    : FFileName(std::move(fn)),
      FVirtualizeWriteprotectedFolders(static_cast<bool>(aVirtualizeFunction)),
      FVirtualFolder(std::move(aVirtualizeFunction)) {
  FOnEncodingError =
      aEncodingErrorHandler ? std::move(aEncodingErrorHandler) : &TIni::DefaultOnEncodingError;
  FEncoding = aEncoding;
  if (!IsFile(FFileName) && FVirtualFolder) {
    fs::path v = FVirtualFolder(FFileName);
    if (IsFile(v)) FFileName = v;
  }
  if (IsFile(FFileName)) LoadFromFile(FFileName);
}

TIni::~TIni() {
  if (!FModified) return;
  try {
    SaveToFile(FFileName, et_none);
  } catch (...) {
  }
}

void TIni::LoadFromFile(const fs::path& fn) {
  FFileTime = FileWriteTime(fn);
  FSections.Clear();
  // One read; detection, decoding and the line-by-line fallback all work on these bytes.
  const std::string bytes = ReadFileBytes(fn);
  if (FEncoding == et_none && bytes.starts_with("\xEF\xBB\xBF")) FEncoding = et_UTF8;
  std::u16string text;
  try {
    text = ReadTextBytes(bytes);
  } catch (const std::exception&) {
    int bad = 0;
    text = DecodeIniLines(bytes, FEncoding, &bad);
    if (bad > 0 && FOnEncodingError) FOnEncodingError(*this, bad);
  }
  LoadFromText(text);
  if (fn != FFileName) FModified = true;
}

std::u16string TIni::ReadString(std::u16string_view section, std::u16string_view key,
                                std::u16string_view deflt) {
  if (FAutoMaintain) Maintain();
  if (FModified && NowNs() - FFileTime > kSaveDelayNs) SaveToFile(FFileName, et_none);
  return TIniStream::ReadString(section, key, deflt);
}

void TIni::Save() {
  if (FModified) SaveToFile(FFileName, FEncoding);
}

void TIni::SaveToFile(const fs::path& fileName, TEncodingType aEncoding) {
  try {
    TrySaveToFile(fileName, aEncoding);
  } catch (const std::exception&) {
    // A settings file that cannot be written must not stop the program.
  }
}

bool TIni::TrySaveToFile(const fs::path& fileName, TEncodingType aEncoding) {
  if (fileName.empty()) return false;
  std::string bytes = SaveToBytes(aEncoding);
  std::error_code ec;
  fs::path written = fileName;
  bool ok;
  if (isEmpty()) {
    ok = !fs::exists(fileName, ec) || fs::remove(fileName, ec);
  } else {
    if (fileName.has_parent_path()) fs::create_directories(fileName.parent_path(), ec);
    ok = WriteFileAtomically(fileName, bytes);
    if (!ok && FVirtualizeWriteprotectedFolders) {
      written = FVirtualFolder(fileName);
      fs::create_directories(written.parent_path(), ec);
      ok = WriteFileAtomically(written, bytes);
      // The copy is the document's file from now on, so that its time is the one compared.
      if (ok && fileName == FFileName) FFileName = written;
    }
  }
  FModified = false;
  // A backup or a copy elsewhere leaves the time of the document's own file as it was.
  if (fileName == FFileName || written == FFileName) FFileTime = FileWriteTime(FFileName);
  return ok;
}

bool TIni::Maintain() {
  if (FModified) {
    Save();
    return false;
  }
  std::int64_t t = FileWriteTime(FFileName);
  if (t == 0 || t == FFileTime) return false;
  LoadFromFile(FFileName);
  return true;
}

void TIni::ChangeFileName(fs::path newFileName) {
  FFileName = std::move(newFileName);
  FModified = true;
}

void TIni::DefaultOnEncodingError(TIni& sender, int lineNr) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%u", static_cast<unsigned>(lineNr));
  std::string msg = "Die Datei \r" + sender.FileName().string() + "\r enthält in Zeile " + buf +
                    " ein nicht interpretierbares Zeichen.";
  TSettingsMessageCallback cb;
  {
    std::lock_guard lock(g_msgMutex);
    cb = g_msg;
  }
  if (cb) cb(msg);
}

void TIni::IgnoreOnErrorEncoding(TIni&, int) {}

std::string TIni::AnsiReadString(std::string_view section, std::string_view key,
                                 std::string_view deflt) {
  return UniToLatin1(ReadString(Latin1ToUni(section), Latin1ToUni(key), Latin1ToUni(deflt)));
}

int TIni::AnsiReadInteger(std::string_view section, std::string_view key, int deflt) {
  return ReadInteger(Latin1ToUni(section), Latin1ToUni(key), deflt);
}
