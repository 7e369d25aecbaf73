// SPDX-License-Identifier: MIT
// The online deployment: the generator page, the help page, the article and the icon over
// HTTP (cpp-httplib). A thin front end: each request parses its query, asks the generator for
// the page with a generator of its own and sends it; nothing survives between requests, so
// any number of instances can stand side by side behind a balancer.
//
//   TServerOptions o;  o.port = 0;                 // any free port
//   TBeugwerkServer server(o);
//   const int port = server.Bind();                // -1 when the address is taken
//   std::thread t([&] { server.Listen(); });       // until Stop()
//   ...  server.Stop();  t.join();
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace httplib {
class Server;
}
class TVerbGen;

struct TServerOptions {
  std::string host = "127.0.0.1";
  int port = 8080;      // 0: any free port
  int threads = 64;     // worker threads; each holds one open connection, so at least the clients
  std::string baseUrl;  // the pages' own address; empty: root-relative links
  bool log = false;     // one access line per request on standard error
  std::chrono::milliseconds listsCheckInterval{1000};  // how often a changed lists file is seen
};

class TBeugwerkServer {
 public:
  // Sets the site addresses to the base URL and joins the verb lists (VerbListsPath must be
  // set), which stay loaded as long as the server exists.
  explicit TBeugwerkServer(const TServerOptions& options);
  ~TBeugwerkServer();
  TBeugwerkServer(const TBeugwerkServer&) = delete;
  TBeugwerkServer& operator=(const TBeugwerkServer&) = delete;

  int Bind();     // the port bound, -1 on failure
  bool Listen();  // serves until Stop(); false when it could not serve
  void Stop();    // from any thread; requests in flight are finished

 private:
  void Routes();
  void CheckListsChanged();

  TServerOptions FOptions;
  std::unique_ptr<httplib::Server> FHttp;
  std::unique_ptr<TVerbGen> FKeepListsLoaded;
  std::atomic<std::int64_t> FNextListsCheck{0};
};
