// SPDX-License-Identifier: MIT
// The online deployment: the generator page, the API, the help page, the article and the icon
// over HTTP/1.1 (Boost.Beast). A thin transport: it parses the request, applies its limits,
// asks the library for the page or the JSON and sends it. A few threads run one event loop;
// an idle or slow connection costs a socket and its small buffer, never a thread. Each request
// pins one snapshot of the verb lists; a reload swaps in a new one, never under a request.
//
//   TServerOptions o;  o.port = 0;                 // any free port
//   TBeugwerkServer server(o);
//   const int port = server.Bind();                // -1 when the address is taken
//   std::thread t([&] { server.Listen(); });       // until Stop()
//   ...  server.Stop();  t.join();
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace boost::asio {
class io_context;
}

struct TServerOptions {
  std::string host = "127.0.0.1";
  int port = 8080;      // 0: any free port
  int threads = 0;      // threads running the event loop; 0: one per core
  std::string baseUrl;  // the pages' own address; empty: root-relative links
  bool log = false;     // one access line per request on standard error
  std::chrono::milliseconds listsCheckInterval{
      1000};  // how often the lists file is looked at; 0: never

  // Limits of a connection: a slow or idle client is cut off, a large head refused.
  std::chrono::milliseconds headDeadline{10000};   // the whole head, from its first byte
  std::chrono::milliseconds idleTimeout{5000};     // keep-alive wait for the next request
  std::chrono::milliseconds writeDeadline{10000};  // one answer to a client that reads slowly
  std::size_t headLimit = 8 * 1024;                // bytes of request line and header fields
  int fieldLimit = 100;                            // header fields of one request
  int connectionLimit = 10000;                     // beyond it, new connections are closed
  std::size_t cacheBytes = 32 * 1024 * 1024;       // rendered answers kept; 0: no cache
};

class TBeugwerkServer {
 public:
  // Sets the site addresses to the base URL and joins the verb lists (VerbListsPath must be
  // set), which stay loaded as long as the server exists.
  explicit TBeugwerkServer(const TServerOptions& options);
  ~TBeugwerkServer();
  TBeugwerkServer(const TBeugwerkServer&) = delete;
  TBeugwerkServer& operator=(const TBeugwerkServer&) = delete;

  int Bind();  // the port bound, -1 on failure (see BindError)
  const std::string& BindError() const;
  bool Listen();                       // serves until Stop(); false when it could not serve
  void Stop();                         // from any thread: requests in flight are finished
  boost::asio::io_context& Context();  // the event loop, for a front end's signal set

  struct TImpl;

 private:
  std::unique_ptr<TImpl> FImpl;
};
