// SPDX-License-Identifier: MIT
#include "server/Server.h"

#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>

#include "common/SiteConfig.h"
#include "common/ZT.Resources.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"
#include "generator/VerbGenerator.h"
#include "server/Query.h"

namespace {

constexpr const char* kHtml = "text/html; charset=UTF-8";
constexpr const char* kJson = "application/json; charset=utf-8";
// The conjugation as data for other programs; its errors are JSON too.
constexpr std::string_view kApiPath = "/api/v1/conjugate";
constexpr std::string_view kApiPrefix = "/api/";
constexpr std::string_view kHelpPath = "/beugwerkde/beugwerkhelp.htm";
constexpr std::string_view kArticlePath = "/beugwerkde/beugwerk.htm";
constexpr std::string_view kIconPath = "/beugwerkde/beugwerk16.ico";
// A query of the generator page is at most a few hundred bytes; a GET has no body.
constexpr std::size_t kMaxBody = 4096;
constexpr time_t kClientTimeoutSeconds = 5;

std::string Utf8(std::u16string_view s) {
  return UniToUtf8(s);
}

// A short German page for an answer that is not a page of the generator.
std::string ErrorPage(std::u16string_view title, std::u16string_view text) {
  const std::u16string generator =
      std::u16string(site::OnlineServer()) + u"/beugwerkde/verbformen-deutsch.htm";
  return "<!doctype html>\r\n<html lang=\"de\"><head><meta charset=\"UTF-8\"><title>" +
         Utf8(title) + "</title></head>\r\n<body><h1>" + Utf8(title) + "</h1>\r\n<p>" +
         Utf8(HtmlEscape(text)) + "</p>\r\n<p><a href=\"" + Utf8(HtmlEscape(generator)) +
         "\">Zum Generator</a></p>\r\n</body></html>\r\n";
}

// Any page may be fetched by a script of another site: the answers hold nothing private.
void SendJson(httplib::Response& res, int status, const std::string& body) {
  res.status = status;
  res.set_header("Access-Control-Allow-Origin", "*");
  res.set_content(body, kJson);
}

std::string JsonError(std::u16string_view text) {
  return ErrorJson(text) + "\n";
}

// On the API's paths the refusals speak JSON; elsewhere a short German page.
void SendError(httplib::Response& res, int status, std::u16string_view title,
               std::u16string_view text, std::string_view path = {}) {
  if (path.starts_with(kApiPrefix)) {
    SendJson(res, status, JsonError(text));
    return;
  }
  res.status = status;
  res.set_content(ErrorPage(title, text), kHtml);
}

// A strong validator of the body: equal bytes, equal tag (FNV-1a, 64 bits). It changes with
// the verb lists as the answer does, so caches revalidate rather than guess.
std::string ETagOf(std::string_view body) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : body) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char tag[24];
  std::snprintf(tag, sizeof tag, "\"%016llx\"", static_cast<unsigned long long>(h));
  return tag;
}

// If-None-Match: "*" or a list of tags, any of them weak ("W/").
bool TagMatches(std::string_view header, std::string_view tag) {
  return header.find('*') != std::string_view::npos || header.find(tag) != std::string_view::npos;
}

void SendResource(httplib::Response& res, std::string_view name, const char* type) {
  const std::optional<std::string_view> bytes = FindTextResource(name);
  if (!bytes) {
    SendError(res, 404, u"Seite nicht gefunden", u"Diese Seite gibt es hier nicht.");
    return;
  }
  res.set_header("Cache-Control", "public, max-age=86400");
  res.set_content(std::string(*bytes), type);
}

// The raw query of the request line: httplib decodes its params itself ('+' and %-escapes
// into bytes), which would hide broken escapes and the encoding of the value.
std::string_view RawQuery(const httplib::Request& req) {
  const std::string_view target = req.target;
  const std::size_t q = target.find('?');
  return q == std::string_view::npos ? std::string_view() : target.substr(q + 1);
}

// Bytes of the request line as they may go into a log line: no control characters.
std::string Printable(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

thread_local std::chrono::steady_clock::time_point tRequestStart;
std::mutex gLogMutex;

void LogLine(const httplib::Request& req, const httplib::Response& res) {
  const auto ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tRequestStart)
          .count();
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &tm);
  const std::string line = std::string(when) + " " + req.remote_addr + " \"" +
                           Printable(req.method) + " " + Printable(req.target) + "\" " +
                           std::to_string(res.status) + " " + std::to_string(res.body.size()) +
                           " " + std::to_string(ms).substr(0, std::to_string(ms).find('.') + 2) +
                           "ms\n";
  std::lock_guard<std::mutex> lock(gLogMutex);
  std::fputs(line.c_str(), stderr);
}

}  // namespace

TBeugwerkServer::TBeugwerkServer(const TServerOptions& options)
    : FOptions(options), FHttp(std::make_unique<httplib::Server>()) {
  site::SetBaseUrl(Utf8ToUni(options.baseUrl));
  FKeepListsLoaded = std::make_unique<TVerbGen>();
  Routes();
}

TBeugwerkServer::~TBeugwerkServer() = default;

// A changed lists file is looked at by one request at most once per interval; the reload
// takes the write lock, so requests in flight finish on the old lists and the next ones
// re-analyse on the new (the verb objects compare the lists' date before each form).
void TBeugwerkServer::CheckListsChanged() {
  const std::int64_t now = std::chrono::steady_clock::now().time_since_epoch().count();
  std::int64_t next = FNextListsCheck.load();
  if (now < next) return;
  const std::int64_t after = now + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                       FOptions.listsCheckInterval)
                                       .count();
  if (!FNextListsCheck.compare_exchange_strong(next, after)) return;
  try {
    CheckVerbListsFile();
  } catch (const std::exception& e) {
    // The lists could not be read again (a file half written, say); the next check retries.
    std::lock_guard<std::mutex> lock(gLogMutex);
    std::fprintf(stderr, "beugwerk serve: verb lists not reloaded: %s\n", e.what());
  }
}

void TBeugwerkServer::Routes() {
  httplib::Server& http = *FHttp;
  http.set_read_timeout(kClientTimeoutSeconds, 0);
  http.set_write_timeout(kClientTimeoutSeconds, 0);
  http.set_keep_alive_timeout(kClientTimeoutSeconds);
  http.set_keep_alive_max_count(1000);
  http.set_payload_max_length(kMaxBody);
  const int threads = FOptions.threads > 0 ? FOptions.threads : 1;
  http.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };

  // Runs before httplib reads a body: other methods are refused at once, and the connection
  // closes so that an unread body is never taken for the next request.
  http.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    tRequestStart = std::chrono::steady_clock::now();
    if (req.method == "GET" || req.method == "HEAD")
      return httplib::Server::HandlerResponse::Unhandled;
    res.set_header("Allow", "GET, HEAD");
    res.set_header("Connection", "close");
    SendError(res, 405, u"Methode nicht erlaubt",
              u"Diese Seiten lassen sich nur abrufen (GET oder HEAD).", req.path);
    return httplib::Server::HandlerResponse::Handled;
  });

  http.Get(Utf8(site::kGeneratorPath), [this](const httplib::Request& req, httplib::Response& res) {
    TPageQuery query;
    const TQueryError e = ParsePageQuery(RawQuery(req), query);
    if (e != TQueryError::qe_none) {
      SendError(res, 400, u"Ungültige Anfrage", QueryErrorText(e));
      return;
    }
    CheckListsChanged();
    // GetVerbPageHtml turns a blank phrase (or none) into "den Generator ausprobieren".
    // Moved into the body: set_content would copy the page once more.
    res.body = Utf8(GetVerbPageHtml(query.phrase, true, query.ortho));
    res.set_header("Content-Type", kHtml);
  });
  // The page's query, decoding and limits; the table as one JSON object. A phrase the engine
  // rejects is answered as the page answers it (200), with its message as {"input", "error"}.
  http.Get(std::string(kApiPath), [this](const httplib::Request& req, httplib::Response& res) {
    TPageQuery query;
    const TQueryError e = ParsePageQuery(RawQuery(req), query);
    if (e != TQueryError::qe_none) {
      SendJson(res, 400, JsonError(QueryErrorText(e)));
      return;
    }
    CheckListsChanged();
    const TConjTable table = ConjugatePhrase(query.phrase, query.ortho);
    // No phrase is no question: the page would offer its input field instead.
    const std::string body = ConjugationJson(table) + "\n";
    if (table.status == TConjStatus::cs_empty) {
      SendJson(res, 400, body);
      return;
    }
    const std::string tag = ETagOf(body);
    res.set_header("ETag", tag);
    res.set_header("Cache-Control", "public, max-age=3600");
    if (TagMatches(req.get_header_value("If-None-Match"), tag)) {
      res.status = 304;
      res.set_header("Access-Control-Allow-Origin", "*");
      return;
    }
    SendJson(res, 200, body);
  });
  http.Get(std::string(kHelpPath), [](const httplib::Request&, httplib::Response& res) {
    SendResource(res, "BeugwerkHelp", kHtml);
  });
  http.Get(std::string(kArticlePath), [](const httplib::Request&, httplib::Response& res) {
    SendResource(res, "VERBHTM", kHtml);
  });
  http.Get(std::string(kIconPath), [](const httplib::Request&, httplib::Response& res) {
    SendResource(res, "BEUGWERKICO", "image/x-icon");
  });
  // The author link of the page points at the site's root; here that is the generator.
  http.Get(R"(/|/beugwerkde/?)", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect(
        Utf8(std::u16string(site::OnlineServer()) + u"/beugwerkde/verbformen-deutsch.htm"));
  });

  // Whatever httplib answers by itself (no route, a request line too long, a body too
  // large) still gets a German page.
  http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request& req,
                                                                 httplib::Response& res) {
    if (!res.body.empty() || res.status == 304) return httplib::Server::HandlerResponse::Unhandled;
    if (res.status == 404)
      SendError(res, 404, u"Seite nicht gefunden", u"Diese Seite gibt es hier nicht.", req.path);
    else
      SendError(res, res.status, u"Anfrage abgelehnt",
                u"Der Server kann diese Anfrage nicht beantworten.", req.path);
    return httplib::Server::HandlerResponse::Handled;
  }));
  http.set_exception_handler([](const httplib::Request& req, httplib::Response& res,
                                std::exception_ptr) {
    SendError(res, 500, u"Interner Fehler", u"Die Seite konnte nicht erzeugt werden.", req.path);
  });
  if (FOptions.log)
    http.set_logger(
        [](const httplib::Request& req, const httplib::Response& res) { LogLine(req, res); });
}

int TBeugwerkServer::Bind() {
  // httplib listens with a backlog of five connections: a burst of new clients would see
  // their connection attempts dropped and retried a second later. Listening once more on the
  // same socket widens the queue.
  // Without TCP_NODELAY the body, written after the headers, waits for the client's delayed
  // acknowledgement (some 40 ms a request); accepted sockets inherit the option.
  int socket = -1;
  FHttp->set_socket_options([&socket](int sock) {
    httplib::default_socket_options(sock);
    const int on = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    socket = sock;
  });
  const int port = FOptions.port == 0 ? FHttp->bind_to_any_port(FOptions.host)
                   : FHttp->bind_to_port(FOptions.host, FOptions.port) ? FOptions.port
                                                                       : -1;
  if (port > 0 && socket >= 0) ::listen(socket, SOMAXCONN);
  return port;
}

bool TBeugwerkServer::Listen() {
  return FHttp->listen_after_bind();
}

void TBeugwerkServer::Stop() {
  FHttp->stop();
}
