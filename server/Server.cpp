// SPDX-License-Identifier: MIT
#include "server/Server.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

// Asio's headers use std::exchange without including <utility> themselves.
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "common/SiteConfig.h"
#include "common/ZT.Resources.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerb.h"
#include "engine/_ZTVerbLists.h"
#include "generator/Lookup.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr const char* kHtml = "text/html; charset=UTF-8";
constexpr const char* kJson = "application/json; charset=utf-8";
constexpr std::string_view kApiPrefix = "/api/";

std::string Utf8(std::u16string_view s) {
  return UniToUtf8(s);
}

// One answer as it goes out: status, header fields (sent in name order, as before), body.
struct TAnswer {
  unsigned status = 200;
  std::vector<std::pair<std::string, std::string>> fields;
  std::string body;
  std::string etag;  // empty: the answer has none
  bool close = false;
  std::size_t Bytes() const {
    std::size_t n = body.size() + etag.size() + sizeof(TAnswer);
    for (const auto& f : fields) n += f.first.size() + f.second.size();
    return n;
  }
};
using TAnswerPtr = std::shared_ptr<const TAnswer>;

std::string GeneratorAddress() {
  return Utf8(std::u16string(site::OnlineServer()) + std::u16string(site::kGeneratorPath));
}

// A short German page for an answer that is not a page of the generator.
std::string ErrorPage(std::u16string_view title, std::u16string_view text) {
  const std::u16string generator =
      std::u16string(site::OnlineServer()) + std::u16string(site::kGeneratorPath);
  return "<!doctype html>\r\n<html lang=\"de\"><head><meta charset=\"UTF-8\"><title>" +
         Utf8(title) + "</title></head>\r\n<body><h1>" + Utf8(title) + "</h1>\r\n<p>" +
         Utf8(HtmlEscape(text)) + "</p>\r\n<p><a href=\"" + Utf8(HtmlEscape(generator)) +
         "\">Zum Generator</a></p>\r\n</body></html>\r\n";
}

// Any page may be fetched by a script of another site: the answers hold nothing private.
TAnswer Json(unsigned status, std::string body) {
  TAnswer a;
  a.status = status;
  a.fields = {{"Access-Control-Allow-Origin", "*"}, {"Content-Type", kJson}};
  a.body = std::move(body);
  return a;
}

std::string JsonError(std::u16string_view text) {
  return ErrorJson(text) + "\n";
}

// On the API's paths the refusals speak JSON; elsewhere a short German page.
TAnswer Error(unsigned status, std::u16string_view title, std::u16string_view text,
              std::string_view path) {
  if (path.starts_with(kApiPrefix)) return Json(status, JsonError(text));
  TAnswer a;
  a.status = status;
  a.fields = {{"Content-Type", kHtml}};
  a.body = ErrorPage(title, text);
  return a;
}

TAnswer NotFound(std::string_view path) {
  return Error(404, u"Seite nicht gefunden", u"Diese Seite gibt es hier nicht.", path);
}

TAnswer Refused(unsigned status, std::string_view path) {
  TAnswer a = Error(status, u"Anfrage abgelehnt",
                    u"Der Server kann diese Anfrage nicht beantworten.", path);
  a.close = true;
  return a;
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

TAnswer Resource(std::string_view name, const char* type) {
  const std::optional<std::string_view> bytes = FindTextResource(name);
  if (!bytes) return NotFound({});
  TAnswer a;
  a.fields = {{"Cache-Control", "public, max-age=86400"}, {"Content-Type", type}};
  a.body = std::string(*bytes);
  return a;
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

std::mutex gLogMutex;

void LogText(const std::string& line) {
  std::lock_guard<std::mutex> lock(gLogMutex);
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  char when[32];
  std::strftime(when, sizeof when, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return when;
}

// Rendered answers by their decoded request, least recently used out first once the bytes
// exceed the limit. Emptied when other verb lists are taken.
class TAnswerCache {
 public:
  explicit TAnswerCache(std::size_t limit) : limit_(limit) {}
  TAnswerPtr Get(const std::string& key) {
    if (limit_ == 0) return nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = map_.find(key);
    if (it == map_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return it->second->second;
  }
  // An answer made from lists other than the ones in use is not kept.
  void Put(const std::string& key, TAnswerPtr answer, std::uint64_t generation) {
    const std::size_t bytes = answer->Bytes() + key.size();
    if (bytes > limit_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (generation != generation_ || map_.contains(key)) return;
    order_.emplace_front(key, std::move(answer));
    map_.emplace(key, order_.begin());
    bytes_ += bytes;
    while (bytes_ > limit_) {
      const auto& last = order_.back();
      bytes_ -= last.second->Bytes() + last.first.size();
      map_.erase(last.first);
      order_.pop_back();
    }
  }
  // Other lists are in use from `generation` on.
  void Clear(std::uint64_t generation) {
    std::lock_guard<std::mutex> lock(mutex_);
    generation_ = generation;
    map_.clear();
    order_.clear();
    bytes_ = 0;
  }

 private:
  using TEntry = std::pair<std::string, TAnswerPtr>;
  std::size_t limit_;
  std::size_t bytes_ = 0;
  std::uint64_t generation_ = 0;
  std::mutex mutex_;
  std::list<TEntry> order_;
  std::unordered_map<std::string, std::list<TEntry>::iterator> map_;
};

// What a handler sees of a request.
struct TRequest {
  std::string_view path;   // decoded
  std::string_view query;  // raw: the page's parser decodes it by its own rules
  std::string_view ifNoneMatch;
};

// The file's identity as the watcher compares it.
struct TFileStamp {
  bool exists = false;
  std::int64_t time = 0;
  std::uintmax_t size = 0;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::filesystem::path& p) {
  std::error_code ec;
  TFileStamp s;
  const std::uintmax_t size = std::filesystem::file_size(p, ec);
  if (ec) return s;
  const auto time = std::filesystem::last_write_time(p, ec);
  if (ec) return s;
  s.exists = true;
  s.size = size;
  s.time = time.time_since_epoch().count();
  return s;
}

// The cache's key of an answer: its route, then the decoded query.
std::string CacheKey(char route, const TPageQuery& query) {
  std::string key{route, static_cast<char>('0' + query.ortho), query.allForms ? '1' : '0'};
  return key + Utf8(query.phrase);
}

}  // namespace

class TSession;

struct TBeugwerkServer::TImpl {
  using THandler = TAnswerPtr (TImpl::*)(const TRequest&);
  struct TRoute {
    std::string path;
    THandler handle;
  };

  explicit TImpl(const TServerOptions& o);

  TAnswerPtr Respond(const TRequest& r) {
    for (const TRoute& route : routes)
      if (route.path == r.path) return (this->*route.handle)(r);
    return std::make_shared<const TAnswer>(NotFound(r.path));
  }
  TAnswerPtr GeneratorPage(const TRequest& r);
  TAnswerPtr ApiConjugate(const TRequest& r);
  TAnswerPtr ApiLookup(const TRequest& r);
  // A JSON answer of the API: 200 with its ETag and an hour's caching, kept under key.
  TAnswerPtr ApiAnswer(const std::string& key, std::string body, std::uint64_t generation) {
    auto a = std::make_shared<TAnswer>(Json(200, std::move(body)));
    a->etag = ETagOf(a->body);
    a->fields.emplace_back("ETag", a->etag);
    a->fields.emplace_back("Cache-Control", "public, max-age=3600");
    cache.Put(key, a, generation);
    return a;
  }
  TAnswerPtr Help(const TRequest&) { return help; }
  TAnswerPtr Article(const TRequest&) { return article; }
  TAnswerPtr Icon(const TRequest&) { return icon; }
  TAnswerPtr Root(const TRequest&) { return redirect; }

  void WatchLists();
  void CheckLists();
  void Accept();
  void Admit(tcp::socket socket);
  void StopNow();

  TServerOptions options;
  // Before the loop: sessions it still holds at its end leave this register when it goes.
  std::mutex sessionsMutex;
  std::unordered_map<TSession*, std::weak_ptr<TSession>> sessions;
  asio::io_context io;
  // Accepting, the lists check and the stop take turns on one strand of their own.
  asio::strand<asio::io_context::executor_type> control{asio::make_strand(io)};
  tcp::acceptor acceptor{control};
  asio::steady_timer listsTimer{control};
  asio::steady_timer acceptRetry{control};
  std::string bindError;
  std::unique_ptr<TVerbGen> keepListsLoaded;

  // The lists new requests pin, and their number: a request reads one set from start to end.
  struct TSnapshot {
    std::shared_ptr<const TVerbListsTables> tables;
    std::uint64_t generation = 0;
  };
  TSnapshot Lists() {
    std::lock_guard<std::mutex> lock(listsMutex);
    return snapshot;
  }
  std::mutex listsMutex;
  TSnapshot snapshot;
  std::vector<TRoute> routes;
  TAnswerPtr help, article, icon, redirect;
  TAnswerCache cache;

  std::atomic<bool> stopping{false};
  std::atomic<bool> stopRequested{false};

  // The lists file: the stamp of the lists in use and of the last file refused.
  std::filesystem::path listsPath;
  TFileStamp loadedStamp, refusedStamp;
  bool reportedMissing = false;

  std::mutex runMutex;
  std::condition_variable ranOut;
  bool running = false;
  std::thread watchdog;
};

// One connection: reads a head at a time (a pipelined next one from the same buffer), answers
// in order, and is closed by its one timer when a deadline passes.
class TSession : public std::enable_shared_from_this<TSession> {
 public:
  TSession(TBeugwerkServer::TImpl& server, tcp::socket socket)
      : server_(server),
        socket_(std::move(socket)),
        timer_(socket_.get_executor()),
        buffer_(server.options.headLimit) {}
  ~TSession() {
    std::lock_guard<std::mutex> lock(server_.sessionsMutex);
    server_.sessions.erase(this);
  }

  void Start() {
    beast::error_code ec;
    const tcp::endpoint remote = socket_.remote_endpoint(ec);
    if (!ec) remote_ = remote.address().to_string();
    socket_.set_option(tcp::no_delay(true), ec);
    WaitForRequest();
  }

  // At shutdown: a connection between requests or still sending its head is closed; one
  // being answered closes after its answer.
  void StopIfIdle() {
    if (state_ == sIdle || state_ == sHead) return Close();
    // An answer still going out to a client that does not read gets a short grace time.
    Arm(std::min(server_.options.writeDeadline, std::chrono::milliseconds(500)));
  }
  tcp::socket::executor_type Executor() { return socket_.get_executor(); }

 private:
  enum TState { sIdle, sHead, sBusy, sClosing };

  void Arm(std::chrono::milliseconds d) {
    const unsigned generation = ++timerGeneration_;
    timer_.expires_after(d);
    timer_.async_wait([self = shared_from_this(), generation](beast::error_code ec) {
      if (!ec && generation == self->timerGeneration_) self->Close();
    });
  }

  void Close() {
    beast::error_code ec;
    ++timerGeneration_;
    timer_.cancel();
    socket_.shutdown(tcp::socket::shutdown_both, ec);
    socket_.close(ec);
  }

  // Idle until the first byte: the head's deadline starts with it.
  void WaitForRequest() {
    if (server_.stopping) return Close();
    state_ = sIdle;
    if (buffer_.size() > 0) return ReadHead();
    Arm(server_.options.idleTimeout);
    socket_.async_wait(tcp::socket::wait_read, [self = shared_from_this()](beast::error_code ec) {
      if (ec) return self->Close();
      self->ReadHead();
    });
  }

  void ReadHead() {
    if (server_.stopping) return Close();
    state_ = sHead;
    Arm(server_.options.headDeadline);
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_.options.headLimit));
    parser_->body_limit(0);
    http::async_read_header(
        socket_, buffer_, *parser_,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->OnHead(ec); });
  }

  void OnHead(beast::error_code ec) {
    if (state_ != sHead) return;
    state_ = sBusy;
    ++timerGeneration_;
    timer_.cancel();
    if (ec == http::error::end_of_stream || ec == asio::error::operation_aborted ||
        ec == asio::error::eof || ec == asio::error::connection_reset ||
        ec == asio::error::bad_descriptor) {
      return Close();
    }
    const auto& req = parser_->get();
    const std::string_view target(req.target().data(), req.target().size());
    const std::size_t q = target.find('?');
    const std::string_view rawPath = target.substr(0, q);
    const std::string_view query =
        q == std::string_view::npos ? std::string_view() : target.substr(q + 1);
    std::string path;
    const bool pathOk = PercentDecode(rawPath, path);
    const bool isGet = req.method() == http::verb::get || req.method() == http::verb::head;
    headOnly_ = req.method() == http::verb::head;
    const bool headRead = !ec || ec == http::error::body_limit;
    method_ = headRead ? std::string(req.method_string()) : "-";
    target_ = headRead ? std::string(target) : "-";
    const auto start = std::chrono::steady_clock::now();

    TAnswerPtr answer;
    if (ec == http::error::header_limit || ec == http::error::buffer_overflow) {
      answer = std::make_shared<const TAnswer>(Refused(431, {}));
    } else if (ec == http::error::body_limit) {
      // A length announced: the head is whole, the body is never read.
      answer = isGet ? std::make_shared<const TAnswer>(Refused(400, path)) : NotAllowed(path);
    } else if (ec) {
      answer = std::make_shared<const TAnswer>(Refused(400, {}));
    } else if (FieldCount(req) > server_.options.fieldLimit) {
      answer = std::make_shared<const TAnswer>(Refused(431, path));
    } else if (!isGet) {
      answer = NotAllowed(path);
    } else if (req.version() >= 11 && req.find(http::field::host) == req.end()) {
      answer = std::make_shared<const TAnswer>(Refused(400, path));
    } else if (req.find(http::field::transfer_encoding) != req.end() ||
               (req.find(http::field::content_length) != req.end() &&
                req[http::field::content_length] != "0")) {
      answer = std::make_shared<const TAnswer>(Refused(400, path));
    } else if (!pathOk) {
      TAnswer a = Error(400, u"Ungültige Anfrage", QueryErrorText(TQueryError::qe_malformed), path);
      answer = std::make_shared<const TAnswer>(std::move(a));
    } else {
      const auto inm = req.find(http::field::if_none_match);
      TRequest r{path, query,
                 inm == req.end() ? std::string_view()
                                  : std::string_view(inm->value().data(), inm->value().size())};
      try {
        answer = server_.Respond(r);
      } catch (const std::exception&) {
        answer = std::make_shared<const TAnswer>(
            Error(500, u"Interner Fehler", u"Die Seite konnte nicht erzeugt werden.", path));
      }
      if (!answer->etag.empty() && TagMatches(r.ifNoneMatch, answer->etag)) {
        auto notModified = std::make_shared<TAnswer>();
        notModified->status = 304;
        for (const auto& f : answer->fields)
          if (f.first != "Content-Type") notModified->fields.push_back(f);
        answer = std::move(notModified);
      }
    }
    const bool close = ec || answer->close || !req.keep_alive() || server_.stopping;
    Write(std::move(answer), close, ec ? 11 : req.version(), start);
  }

  static int FieldCount(const http::request<http::empty_body>& req) {
    int n = 0;
    for (auto it = req.begin(); it != req.end(); ++it) ++n;
    return n;
  }

  TAnswerPtr NotAllowed(std::string_view path) {
    TAnswer a = Error(405, u"Methode nicht erlaubt",
                      u"Diese Seiten lassen sich nur abrufen (GET oder HEAD).", path);
    a.fields.emplace_back("Allow", "GET, HEAD");
    a.close = true;
    return std::make_shared<const TAnswer>(std::move(a));
  }

  void Write(TAnswerPtr answer, bool close, unsigned version,
             std::chrono::steady_clock::time_point start) {
    std::vector<std::pair<std::string_view, std::string_view>> fields;
    for (const auto& f : answer->fields) fields.emplace_back(f.first, f.second);
    contentLength_ = std::to_string(answer->body.size());
    fields.emplace_back("Content-Length", contentLength_);
    fields.emplace_back("X-Content-Type-Options", "nosniff");
    if (close)
      fields.emplace_back("Connection", "close");
    else if (version < 11)
      fields.emplace_back("Connection", "keep-alive");
    std::sort(fields.begin(), fields.end());
    head_ = "HTTP/1.1 " + std::to_string(answer->status) + " ";
    const auto reason = http::obsolete_reason(static_cast<http::status>(answer->status));
    head_.append(reason.data(), reason.size());
    head_ += "\r\n";
    for (const auto& [name, value] : fields) {
      head_.append(name);
      head_ += ": ";
      head_.append(value);
      head_ += "\r\n";
    }
    head_ += "\r\n";
    if (server_.options.log) {
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      char took[32];
      std::snprintf(took, sizeof took, "%.1fms", ms);
      LogText(Now() + " " + remote_ + " \"" + Printable(method_) + " " + Printable(target_) +
              "\" " + std::to_string(answer->status) + " " + std::to_string(answer->body.size()) +
              " " + took + "\n");
    }
    answer_ = std::move(answer);
    close_ = close;
    std::array<asio::const_buffer, 2> buffers{
        asio::buffer(head_), headOnly_ ? asio::const_buffer() : asio::buffer(answer_->body)};
    Arm(server_.options.writeDeadline);
    asio::async_write(
        socket_, buffers,
        [self = shared_from_this()](beast::error_code ec, std::size_t) { self->OnWritten(ec); });
  }

  void OnWritten(beast::error_code ec) {
    answer_.reset();
    if (ec) return Close();
    if (close_ || server_.stopping) return CloseGracefully();
    WaitForRequest();
  }

  // Sends the end of the stream and reads what the client still sends for a moment: closed
  // with unread bytes, the socket would reset the connection and the client might lose the
  // answer.
  void CloseGracefully() {
    state_ = sClosing;
    beast::error_code ec;
    socket_.shutdown(tcp::socket::shutdown_send, ec);
    if (ec) return Close();
    Arm(std::min(server_.options.idleTimeout, std::chrono::milliseconds(1000)));
    Drain();
  }

  void Drain() {
    socket_.async_read_some(asio::buffer(drain_),
                            [self = shared_from_this()](beast::error_code ec, std::size_t n) {
                              self->drained_ += n;
                              // A client that keeps sending gets no more than a few buffers.
                              if (ec || self->drained_ > 64 * self->drain_.size())
                                return self->Close();
                              self->Drain();
                            });
  }

  TBeugwerkServer::TImpl& server_;
  tcp::socket socket_;
  asio::steady_timer timer_;
  unsigned timerGeneration_ = 0;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::empty_body>> parser_;
  TState state_ = sIdle;
  std::string remote_, method_, target_, head_, contentLength_;
  TAnswerPtr answer_;
  bool headOnly_ = false;
  bool close_ = false;
  std::array<char, 4096> drain_;
  std::size_t drained_ = 0;
};

TBeugwerkServer::TImpl::TImpl(const TServerOptions& o) : options(o), cache(o.cacheBytes) {
  site::SetBaseUrl(Utf8ToUni(options.baseUrl));
  keepListsLoaded = std::make_unique<TVerbGen>();
  listsPath = VerbListsFileMode() ? VerbListsPath : std::filesystem::path();
  if (!listsPath.empty()) loadedStamp = StampOf(listsPath);
  auto tables = std::make_shared<TVerbListsTables>();
  InspectVerbLists(listsPath, *tables);  // no path: the built-in copy
  snapshot.tables = std::move(tables);
  help = std::make_shared<const TAnswer>(Resource("BeugwerkHelp", kHtml));
  article = std::make_shared<const TAnswer>(Resource("VERBHTM", kHtml));
  icon = std::make_shared<const TAnswer>(Resource("BEUGWERKICO", "image/x-icon"));
  // The author link of the page points at the site's root; here that is the generator.
  TAnswer r;
  r.status = 302;
  r.fields = {{"Location", GeneratorAddress()}};
  redirect = std::make_shared<const TAnswer>(std::move(r));

  // Exact paths. A new API answer is one more row here (its handler builds the JSON with a
  // library call, as ApiConjugate does).
  routes = {
      {Utf8(site::kGeneratorPath), &TImpl::GeneratorPage},
      {"/api/v1/conjugate", &TImpl::ApiConjugate},
      {"/api/v1/lookup", &TImpl::ApiLookup},
      {"/beugwerkde/beugwerkhelp.htm", &TImpl::Help},
      {"/beugwerkde/beugwerk.htm", &TImpl::Article},
      {"/beugwerkde/beugwerk16.ico", &TImpl::Icon},
      {"/", &TImpl::Root},
      {"/beugwerkde", &TImpl::Root},
      {"/beugwerkde/", &TImpl::Root},
  };
}

TAnswerPtr TBeugwerkServer::TImpl::GeneratorPage(const TRequest& r) {
  TPageQuery query;
  const TQueryError e = ParsePageQuery(r.query, query);
  if (e != TQueryError::qe_none)
    return std::make_shared<const TAnswer>(Error(400, u"Ungültige Anfrage", QueryErrorText(e), {}));
  const std::string key = CacheKey('p', query);
  if (TAnswerPtr hit = cache.Get(key)) return hit;
  const TSnapshot lists = Lists();
  TVerbListsPin pin(lists.tables);
  auto a = std::make_shared<TAnswer>();
  a->fields = {{"Content-Type", kHtml}};
  // GetVerbPageHtml turns a blank phrase (or none) into "den Generator ausprobieren".
  a->body =
      Utf8(GetVerbPageHtml(query.phrase, true, query.ortho,
                           query.allForms ? TPageForms::allForms : TPageForms::tableWithLink));
  cache.Put(key, a, lists.generation);
  return a;
}

// The page's query, decoding and limits; the table as one JSON object. A phrase the engine
// rejects is answered as the page answers it (200), with its message as {"input", "error"}.
TAnswerPtr TBeugwerkServer::TImpl::ApiConjugate(const TRequest& r) {
  TPageQuery query;
  const TQueryError e = ParsePageQuery(r.query, query);
  if (e != TQueryError::qe_none)
    return std::make_shared<const TAnswer>(Json(400, JsonError(QueryErrorText(e))));
  const std::string key = CacheKey('a', query);
  if (TAnswerPtr hit = cache.Get(key)) return hit;
  const TSnapshot lists = Lists();
  TVerbListsPin pin(lists.tables);
  const TConjTable table = ConjugatePhrase(query.phrase, query.ortho, TConjScope::data);
  // No phrase is no question: the page would offer its input field instead.
  std::string body = ConjugationJson(table) + "\n";
  if (table.status == TConjStatus::cs_empty)
    return std::make_shared<const TAnswer>(Json(400, std::move(body)));
  return ApiAnswer(key, std::move(body), lists.generation);
}

// The verbs a form belongs to, as `beugwerk lookup --json` lists them, under the page's
// decoding and limits. A query without a form, or a form that cannot be one (no letters, too
// long), is refused (400) with the lookup's German message; no verb found is an empty list.
TAnswerPtr TBeugwerkServer::TImpl::ApiLookup(const TRequest& r) {
  TPageQuery query;
  const TQueryError e = ParsePageQuery(r.query, query, site::kLookupKey);
  if (e != TQueryError::qe_none)
    return std::make_shared<const TAnswer>(Json(400, JsonError(QueryErrorText(e))));
  const std::string key = CacheKey('l', query);
  if (TAnswerPtr hit = cache.Get(key)) return hit;
  const TSnapshot lists = Lists();
  TVerbListsPin pin(lists.tables);
  TLookupStatus status = TLookupStatus::notFound;
  std::string body = LookupJson(query.phrase, query.ortho, &status) + "\n";
  if (status == TLookupStatus::badInput)
    return std::make_shared<const TAnswer>(Json(400, std::move(body)));
  return ApiAnswer(key, std::move(body), lists.generation);
}

// The lists file is looked at on a timer. A changed file is read into tables of its own and
// taken only when the read is whole and finds nothing the lists check would report; the
// lists in use stay otherwise. A file that changes while it is read is read again next time.
void TBeugwerkServer::TImpl::CheckLists() {
  const TFileStamp before = StampOf(listsPath);
  const std::string path = listsPath.string();
  if (!before.exists) {
    if (!reportedMissing)
      LogText("verb lists refused: " + path + ": the file is gone; the lists in use stay\n");
    reportedMissing = true;
    refusedStamp = before;
    return;
  }
  reportedMissing = false;
  if (before == loadedStamp || before == refusedStamp) return;
  auto fresh = std::make_shared<TVerbListsTables>();
  std::string reason;
  TVerbListsReport report;
  try {
    report = InspectVerbLists(listsPath, *fresh);
    if (report.path.empty())
      reason = "the file cannot be read";
    else if (!report.problems.empty())
      reason = report.problems.front().reason;
  } catch (const std::exception& e) {
    reason = e.what();
  }
  if (!(StampOf(listsPath) == before)) return;  // still being written
  if (!reason.empty()) {
    refusedStamp = before;
    LogText("verb lists refused: " + path + ": " + reason + "\n");
    return;
  }
  int entries = 0;
  for (int n : report.counts) entries += n;
  // Requests in flight finish on the lists they pinned; the old set goes with the last.
  std::uint64_t generation = 0;
  {
    std::lock_guard<std::mutex> lock(listsMutex);
    snapshot.tables = std::move(fresh);
    generation = ++snapshot.generation;
  }
  cache.Clear(generation);
  loadedStamp = before;
  refusedStamp = {};
  LogText("verb lists loaded: " + path + " (" + std::to_string(entries) + " entries)\n");
}

void TBeugwerkServer::TImpl::WatchLists() {
  if (listsPath.empty() || stopping || options.listsCheckInterval.count() <= 0) return;
  listsTimer.expires_after(options.listsCheckInterval);
  listsTimer.async_wait([this](beast::error_code ec) {
    if (ec || stopping) return;
    try {
      CheckLists();
    } catch (const std::exception& e) {
      LogText("verb lists refused: " + listsPath.string() + ": " + e.what() + "\n");
    }
    WatchLists();
  });
}

void TBeugwerkServer::TImpl::Admit(tcp::socket socket) {
  std::shared_ptr<TSession> session;
  {
    std::lock_guard<std::mutex> lock(sessionsMutex);
    if (static_cast<int>(sessions.size()) < options.connectionLimit) {
      session = std::make_shared<TSession>(*this, std::move(socket));
      sessions.emplace(session.get(), session);
    }
  }
  if (session) {
    asio::post(session->Executor(), [session] { session->Start(); });
  } else {
    beast::error_code ignored;
    socket.close(ignored);
  }
}

void TBeugwerkServer::TImpl::Accept() {
  acceptor.async_accept(asio::make_strand(io), [this](beast::error_code ec, tcp::socket socket) {
    if (stopping || !acceptor.is_open()) return;
    if (ec) {
      // Out of descriptors, say: try again shortly instead of spinning.
      acceptRetry.expires_after(std::chrono::milliseconds(50));
      acceptRetry.async_wait([this](beast::error_code e) {
        if (!e) Accept();
      });
      return;
    }
    Admit(std::move(socket));
    // A burst of new clients is taken in one turn: one accept a turn would queue each of
    // them behind every request in progress.
    for (int i = 0; i < 256; ++i) {
      tcp::socket more(asio::make_strand(io));
      acceptor.accept(more, ec);
      if (ec) break;
      Admit(std::move(more));
    }
    Accept();
  });
}

void TBeugwerkServer::TImpl::StopNow() {
  if (stopping.exchange(true)) return;
  beast::error_code ec;
  acceptor.close(ec);
  listsTimer.cancel();
  acceptRetry.cancel();
  std::vector<std::shared_ptr<TSession>> open;
  {
    std::lock_guard<std::mutex> lock(sessionsMutex);
    for (auto& [raw, weak] : sessions)
      if (auto s = weak.lock()) open.push_back(std::move(s));
  }
  for (auto& s : open) asio::post(s->Executor(), [s] { s->StopIfIdle(); });
}

TBeugwerkServer::TBeugwerkServer(const TServerOptions& options)
    : FImpl(std::make_unique<TImpl>(options)) {}

TBeugwerkServer::~TBeugwerkServer() {
  Stop();
  if (FImpl->watchdog.joinable()) FImpl->watchdog.join();
}

int TBeugwerkServer::Bind() {
  TImpl& s = *FImpl;
  beast::error_code ec;
  const asio::ip::address address = asio::ip::make_address(s.options.host, ec);
  if (ec) {
    s.bindError = "cannot listen on " + s.options.host + ": not an IP address";
    return -1;
  }
  const tcp::endpoint endpoint(address, static_cast<unsigned short>(s.options.port));
  s.acceptor.open(endpoint.protocol(), ec);
  // Only the wait of a closed port is skipped; a port another program listens on stays taken.
  if (!ec) s.acceptor.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) s.acceptor.bind(endpoint, ec);
  if (!ec) s.acceptor.listen(asio::socket_base::max_listen_connections, ec);
  if (!ec) s.acceptor.non_blocking(true, ec);
  if (ec) {
    s.bindError = "cannot listen on " + s.options.host + ":" + std::to_string(s.options.port) +
                  ": " +
                  (ec == asio::error::address_in_use
                       ? std::string("the port is in use (is another server running?)")
                       : ec.message());
    beast::error_code ignored;
    s.acceptor.close(ignored);
    return -1;
  }
  return s.acceptor.local_endpoint().port();
}

const std::string& TBeugwerkServer::BindError() const {
  return FImpl->bindError;
}

bool TBeugwerkServer::Listen() {
  TImpl& s = *FImpl;
  if (!s.acceptor.is_open()) return false;
  {
    std::lock_guard<std::mutex> lock(s.runMutex);
    s.running = true;
  }
  asio::post(s.control, [&s] {
    s.Accept();
    s.WatchLists();
  });
  const int n = s.options.threads > 0
                    ? s.options.threads
                    : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (int i = 1; i < n; ++i) threads.emplace_back([&s] { s.io.run(); });
  s.io.run();
  for (std::thread& t : threads) t.join();
  {
    std::lock_guard<std::mutex> lock(s.runMutex);
    s.running = false;
  }
  s.ranOut.notify_all();
  return true;
}

void TBeugwerkServer::Stop() {
  TImpl& s = *FImpl;
  if (s.stopRequested.exchange(true)) return;
  asio::post(s.control, [&s] { s.StopNow(); });
  // Whatever still runs after the grace time (an answer to a client that does not read) is
  // cut off: the loop stops.
  s.watchdog = std::thread([&s] {
    std::unique_lock<std::mutex> lock(s.runMutex);
    if (!s.ranOut.wait_for(lock, std::chrono::milliseconds(1500), [&s] { return !s.running; }))
      s.io.stop();
  });
}

boost::asio::io_context& TBeugwerkServer::Context() {
  return FImpl->io;
}
