// SPDX-License-Identifier: MIT
// The online deployment asks its editing program to open the written file over DDE on the
// maker's Windows machine; Linux has no such call, so the file is only written and the front
// end reports its path.
#include "app/Sitemap.h"

#include <cerrno>
#include <fstream>
#include <string_view>
#include <system_error>

#include "app/Request.h"
#include "common/SiteConfig.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "generator/PageAddress.h"

namespace {

// The sitemap lists the pages under the http scheme of the online server.
std::u16string HttpServer() {
  std::u16string server(site::kOnlineServer);
  constexpr std::u16string_view https = u"https://";
  if (server.starts_with(https)) server.replace(0, https.size(), u"http://");
  return server;
}

std::u16string Header() {
  const std::u16string s(site::kSitemapNamespace);
  return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r<urlset xmlns=\"" + s + u"\"\rxmlns:xsi=\"" +
         std::u16string(site::kXsiNamespace) + u"\"\r  xsi:schemaLocation=\"" + s + u"\r  " + s +
         u"/sitemap.xsd\">";
}

[[noreturn]] void ThrowWriteError(const std::filesystem::path& file, int err) {
  const std::u8string name = file.u8string();
  throw EFileError("Datei \"" + std::string(name.begin(), name.end()) +
                   "\" kann nicht geschrieben werden: " + SystemErrorText(err));
}

// "1 Seite", "2 Seiten".
std::string Counted(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

std::vector<std::u16string> ReadSitemapLines(const std::filesystem::path& input) {
  const TDeciderCallback utf8WithoutMark = [](std::string_view bytes, TEncodingType type) {
    return DefaultDecider().AnsiDeciderEx(bytes, type);
  };
  return SplitLinesW(ReadTextFile(input, nullptr, utf8WithoutMark));
}

TSitemapList SitemapList(const std::vector<std::u16string>& lines) {
  TSitemapList list;
  TVerbGen verb;
  std::u16string message;
  verb.SetOnErrMsg([&message](const std::u16string& m) { message = m; });
  for (std::u16string phrase : lines) {
    TrimBlanksW(phrase);
    if (phrase.empty()) continue;
    // Undecided phrases have their page (with both readings); only an error has none.
    message.clear();
    verb.newVerb(phrase, unsp);
    (message.empty() ? list.phrases : list.rejected).push_back(std::move(phrase));
  }
  return list;
}

std::vector<std::u16string> SitemapItems(const std::vector<std::u16string>& phrases) {
  const std::u16string server = HttpServer();
  std::vector<std::u16string> items;
  items.reserve(phrases.size() + 2);
  items.push_back(Header());
  for (const std::u16string& p : phrases)
    items.push_back(u"<url>\r<loc>" + XmlEscape(PageAddress(server, p), false) +
                    u"</loc>\r<lastmod>2017-10-03</lastmod>\r<changefreq>weekly</changefreq>\r"
                    u"</url>");
  items.push_back(u"</urlset>");
  return items;
}

std::string SitemapBytes(const std::vector<std::u16string>& phrases) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const std::u16string& item : SitemapItems(phrases)) {
    bytes += UniToUtf8(item);
    bytes += "\r\n";
  }
  return bytes;
}

void WriteSitemap(const std::vector<std::u16string>& phrases, const std::filesystem::path& output) {
  const std::string bytes = SitemapBytes(phrases);
  // Written beside the target and renamed over it, so a failed write keeps the old sitemap.
  std::filesystem::path temp = output;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) ThrowWriteError(output, errno);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      const int err = errno;
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      ThrowWriteError(output, err);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, output, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    ThrowWriteError(output, ec.value());
  }
}

std::string SitemapMessage(const TSitemapList& list, const std::filesystem::path& output) {
  const std::u8string name = output.u8string();
  return Counted(list.phrases.size(), "Seite", "Seiten") + " in " +
         std::string(name.begin(), name.end()) + " eingetragen, " +
         Counted(list.rejected.size(), "abgelehnte Zeile", "abgelehnte Zeilen") + " ausgelassen.";
}
