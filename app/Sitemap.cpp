// SPDX-License-Identifier: MIT
// The online deployment asks its editing program to open the written file over DDE on the
// maker's Windows machine; Linux has no such call, so the file is only written and the front
// end reports its path.
#include "app/Sitemap.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>
#include <system_error>

#include "common/SiteConfig.h"
#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

// The sitemap lists the pages under the http scheme of the online server.
std::u16string HttpServer() {
  std::u16string server(site::kOnlineServer);
  constexpr std::u16string_view https = u"https://";
  if (server.starts_with(https)) server.replace(0, https.size(), u"http://");
  return server;
}

// The verb goes into the address as it is, blanks included; only the three characters that
// would break the XML become entities.
std::u16string XmlEscaped(std::u16string_view verb) {
  return XmlEscape(verb, false);
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
                   "\" kann nicht geschrieben werden: " + std::strerror(err));
}

}  // namespace

std::vector<std::u16string> SitemapItems(const std::vector<std::u16string>& verbs) {
  const std::u16string address = HttpServer() + std::u16string(site::kGeneratorPath) + u"?" +
                                 std::u16string(site::kQueryKey) + u"=";
  std::vector<std::u16string> items;
  items.reserve(verbs.size() + 2);
  items.push_back(Header());
  for (const std::u16string& v : verbs)
    items.push_back(u"<url>\r<loc>" + address + XmlEscaped(v) +
                    u"</loc>\r<lastmod>2017-10-03</lastmod>\r<changefreq>weekly</changefreq>\r"
                    u"</url>");
  items.push_back(u"</urlset>");
  return items;
}

std::string SitemapBytes(const std::vector<std::u16string>& verbs) {
  std::string bytes = "\xEF\xBB\xBF";
  for (const std::u16string& item : SitemapItems(verbs)) {
    bytes += UniToUtf8(item);
    bytes += "\r\n";
  }
  return bytes;
}

void WriteSitemap(const std::vector<std::u16string>& verbs, const std::filesystem::path& output) {
  const std::string bytes = SitemapBytes(verbs);
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
