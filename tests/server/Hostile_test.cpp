// SPDX-License-Identifier: MIT
// The server against clients that do not play by the rules: bodies on GET, pipelines, slow and
// idle connections, endless heads, many ranges; and `beugwerk serve` itself under SIGTERM and
// on a port already taken. Each test runs its own server with short limits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/VerbGenerator.h"
#include "server/Server.h"
#include "tests/server/TestClient.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kFixtureLists = fs::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX";
const std::string kPage = "/beugwerkde/verbformen-deutsch.htm";

std::string Page(std::u16string_view phrase, TOrthoTyp ortho = NeuOrtho,
                 TPageForms forms = TPageForms::tableWithLink) {
  return UniToUtf8(GetVerbPageHtml(std::u16string(phrase), true, ortho, forms));
}

TServerOptions ShortLimits() {
  TServerOptions o;
  o.port = 0;
  o.threads = 2;
  o.headDeadline = 300ms;
  o.idleTimeout = 2s;
  o.writeDeadline = 1s;
  o.listsCheckInterval = 0ms;
  return o;
}

// A server on a free loopback port for the length of a test.
class TRunning {
 public:
  explicit TRunning(const TServerOptions& o) {
    VerbListsPath = kFixtureLists;
    server_ = std::make_unique<TBeugwerkServer>(o);
    port_ = server_->Bind();
    thread_ = std::thread([this] { server_->Listen(); });
  }
  ~TRunning() {
    server_->Stop();
    thread_.join();
  }
  int Port() const { return port_; }

 private:
  std::unique_ptr<TBeugwerkServer> server_;
  std::thread thread_;
  int port_ = -1;
};

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0, resident = 0;
  statm >> size >> resident;
  return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

TEST(HostileTest, RequestsAreReadExactly) {
  TRunning s(ShortLimits());
  ASSERT_GT(s.Port(), 0);
  const std::string get = "GET " + kPage + "?infi=lesen HTTP/1.1\r\nHost: x\r\n";
  const std::string next = "GET " + kPage + "?infi=gehen HTTP/1.1\r\nHost: x\r\n\r\n";
  std::string fields;
  for (int i = 0; i < 101; ++i) fields += "X-F" + std::to_string(i) + ": v\r\n";
  std::string ranges = "Range: bytes=0-0";
  for (int i = 1; i < 1000; ++i) ranges += ",-" + std::to_string(i);
  struct {
    const char* what;
    std::string request;
    std::vector<int> statuses;
    bool closed;
  } rows[] = {
      // A body on GET would be read as the next request: refused, and nothing else answered.
      {"smuggled by length",
       get + "Content-Length: " + std::to_string(next.size()) + "\r\n\r\n" + next,
       {400},
       true},
      {"smuggled by chunks",
       get + "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n" + next,
       {400},
       true},
      {"HEAD with a body",
       "HEAD " + kPage + " HTTP/1.1\r\nHost: x\r\nContent-Length: 1\r\n\r\nx",
       {400},
       true},
      {"POST",
       "POST " + kPage + " HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\n\r\ninfi=lesen" + next,
       {405},
       true},
      {"DELETE", "DELETE /x HTTP/1.1\r\nHost: x\r\n\r\n" + next, {405}, true},
      {"pipelined", get + "\r\n" + next + get + "\r\n", {200, 200, 200}, false},
      {"no Host", "GET " + kPage + " HTTP/1.1\r\n\r\n", {400}, true},
      {"HTTP/1.0 without Host", "GET " + kPage + " HTTP/1.0\r\n\r\n", {200}, true},
      {"field without colon", get + "Kein Doppelpunkt\r\n\r\n", {400}, true},
      {"NUL in a field", get + "X-A: a" + std::string(1, '\0') + "b\r\n\r\n", {400}, true},
      {"101 fields", get + fields + "\r\n", {431}, true},
      {"head over 8 KB", get + "X-A: " + std::string(9000, 'a') + "\r\n\r\n", {431}, true},
      {"near route",
       "GET /beugwerkde/verbformen-deutschXhtm HTTP/1.1\r\nHost: x\r\n\r\n",
       {404},
       false},
      {"many ranges", get + ranges + "\r\n\r\n", {200}, false},
  };
  for (const auto& r : rows) {
    const int sock = ConnectTo(s.Port());
    ASSERT_GE(sock, 0);
    ASSERT_TRUE(SendAll(sock, r.request)) << r.what;
    bool closed = false;
    const std::string got = ReadUntilClosed(sock, 700ms, closed);
    ::close(sock);
    EXPECT_EQ(StatusesIn(got), r.statuses) << r.what << "\n" << got.substr(0, 400);
    EXPECT_EQ(closed, r.closed) << r.what;
    std::size_t nosniff = 0;
    for (std::size_t at = got.find("X-Content-Type-Options: nosniff\r\n"); at != std::string::npos;
         at = got.find("X-Content-Type-Options: nosniff\r\n", at + 1))
      ++nosniff;
    EXPECT_EQ(nosniff, r.statuses.size()) << r.what;
    EXPECT_EQ(got.find("Content-Range"), std::string::npos) << r.what;
  }
}

TEST(HostileTest, PipelinedAndRangedRequestsGetWholePagesInOrder) {
  TRunning s(ShortLimits());
  const int sock = ConnectTo(s.Port());
  ASSERT_GE(sock, 0);
  std::string ranges = "Range: bytes=0-0";
  for (int i = 1; i < 1000; ++i) ranges += ",-" + std::to_string(i);
  const std::string requests =
      "GET " + kPage + "?infi=lesen HTTP/1.1\r\nHost: x\r\n" + ranges + "\r\n\r\n" +  //
      "GET /api/v1/conjugate?infi=gehen HTTP/1.1\r\nHost: x\r\n\r\n" +                //
      "GET " + kPage + "?infi=gehen HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  ASSERT_TRUE(SendAll(sock, requests));
  bool closed = false;
  const std::string got = ReadUntilClosed(sock, 5s, closed);
  ::close(sock);
  EXPECT_TRUE(closed);
  const std::string answers[] = {
      Page(u"lesen"), ConjugationJson(ConjugatePhrase(u"gehen", NeuOrtho)) + "\n", Page(u"gehen")};
  std::size_t at = 0;
  for (const std::string& a : answers) {
    const std::size_t head = got.find("HTTP/1.1 200 OK\r\n", at);
    ASSERT_NE(head, std::string::npos) << got.substr(at, 300);
    const std::size_t body = got.find("\r\n\r\n", head) + 4;
    EXPECT_EQ(got.substr(body, a.size()), a);
    EXPECT_NE(got.substr(head, body - head).find("Content-Length: " + std::to_string(a.size())),
              std::string::npos);
    at = body + a.size();
  }
  EXPECT_EQ(at, got.size());  // nothing more
}

// The cache answers by the decoded request: the orthography, the page of all forms and the API
// each keep their own answer.
TEST(HostileTest, CachedAnswersAreTheGeneratorsOwn) {
  TRunning s([] {
    TServerOptions o = ShortLimits();
    o.cacheBytes = 1 << 20;
    return o;
  }());
  TClient c(s.Port());
  struct {
    std::string target;
    std::string body;
  } rows[] = {
      {kPage + "?infi=lesen", Page(u"lesen")},
      {kPage + "?infi=lesen&ortho=alt", Page(u"lesen", AltOrtho)},
      {kPage + "?infi=lesen&alle=1", Page(u"lesen", NeuOrtho, TPageForms::allForms)},
      {kPage + "?infi=le%73en", Page(u"lesen")},
      {"/api/v1/conjugate?infi=lesen", ConjugationJson(ConjugatePhrase(u"lesen", NeuOrtho)) + "\n"},
  };
  for (int round = 0; round < 2; ++round)
    for (const auto& r : rows) {
      const TResult res = c.Get(r.target);
      ASSERT_TRUE(res) << r.target;
      EXPECT_EQ(res->status, 200) << r.target;
      EXPECT_EQ(res->body, r.body) << r.target << " round " << round;
    }
}

// A client that asks and never reads fills its socket; the write deadline then closes the
// connection instead of keeping the answer and its buffer forever.
TEST(HostileTest, AClientThatDoesNotReadIsCutOff) {
  TServerOptions o = ShortLimits();
  o.writeDeadline = 300ms;
  TRunning s(o);
  const int sock = ConnectTo(s.Port());
  ASSERT_GE(sock, 0);
  const int small = 4096;
  ::setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
  std::string many;
  for (int i = 0; i < 400; ++i)
    many += "GET /api/v1/conjugate?infi=lesen HTTP/1.1\r\nHost: x\r\n\r\n";
  ASSERT_TRUE(SendAll(sock, many));
  std::this_thread::sleep_for(1s);
  bool closed = false;
  const std::string got = ReadUntilClosed(sock, 3s, closed);
  ::close(sock);
  EXPECT_TRUE(closed);
  EXPECT_LT(StatusesIn(got).size(), 400u);
}

bool RaiseOpenFiles(rlim_t wanted) {
  rlimit l{};
  if (::getrlimit(RLIMIT_NOFILE, &l) != 0) return false;
  if (l.rlim_cur >= wanted) return true;
  if (l.rlim_max < wanted) return false;
  l.rlim_cur = wanted;
  return ::setrlimit(RLIMIT_NOFILE, &l) == 0;
}

// Slow-loris clients (a byte of head every 100 ms) and idle connections hold a socket each,
// never a thread: a normal request is answered at once, and the slow ones are cut off.
TEST(HostileTest, SlowAndIdleClientsDoNotDelayOthers) {
  constexpr int kIdle = 2000, kSlow = 64;
  if (!RaiseOpenFiles(2 * (kIdle + kSlow) + 256))
    GTEST_SKIP() << "cannot open " << 2 * (kIdle + kSlow) + 256 << " files (RLIMIT_NOFILE)";
  TServerOptions o = ShortLimits();
  o.headDeadline = 1500ms;
  o.idleTimeout = 10s;
  TRunning s(o);
  std::vector<int> idle, slow;
  for (int i = 0; i < kIdle; ++i) idle.push_back(ConnectTo(s.Port()));
  for (int i = 0; i < kSlow; ++i) slow.push_back(ConnectTo(s.Port()));
  ASSERT_EQ(std::count(idle.begin(), idle.end(), -1), 0);
  ASSERT_EQ(std::count(slow.begin(), slow.end(), -1), 0);
  std::atomic<bool> stop{false};
  std::thread loris([&] {
    const std::string head = "GET " + kPage + "?infi=lesen HTTP/1.1\r\nHost: x\r\nX-A: ";
    for (std::size_t i = 0; !stop; ++i, std::this_thread::sleep_for(100ms))
      for (int sock : slow) ::send(sock, &head[i % head.size()], 1, MSG_NOSIGNAL);
  });
  std::this_thread::sleep_for(300ms);
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    TClient c(s.Port());
    const TResult res = c.Get(kPage + "?infi=lesen");
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_LT(took, 100ms) << (took / 1ms) << " ms";
  }
  // The head's deadline runs from its first byte, whatever trickles in after it.
  std::this_thread::sleep_for(1500ms);
  int cut = 0;
  for (int sock : slow) {
    bool closed = false;
    ReadUntilClosed(sock, 500ms, closed);
    cut += closed;
  }
  stop = true;
  loris.join();
  EXPECT_EQ(cut, kSlow);
  for (int sock : idle) ::close(sock);
  for (int sock : slow) ::close(sock);
}

TEST(HostileTest, ConnectionsOverTheLimitAreClosedAtOnce) {
  TServerOptions o = ShortLimits();
  o.connectionLimit = 8;
  TRunning s(o);
  std::vector<int> held;
  for (int i = 0; i < 8; ++i) held.push_back(ConnectTo(s.Port()));
  std::this_thread::sleep_for(100ms);
  const int over = ConnectTo(s.Port());
  ASSERT_GE(over, 0);
  bool closed = false;
  EXPECT_EQ(ReadUntilClosed(over, 1s, closed), "");
  EXPECT_TRUE(closed);
  ::close(over);
  for (int sock : held) ::close(sock);
  std::this_thread::sleep_for(100ms);
  TClient c(s.Port());
  const TResult res = c.Get(kPage);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
}

// Heads that never end, as one endless line or endless short lines: each connection is cut
// after its limit, and the server's memory stays small.
TEST(HostileTest, EndlessHeadsKeepMemoryBounded) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory is resident too";
#endif
  TRunning s(ShortLimits());
  std::atomic<bool> done{false};
  std::atomic<std::size_t> peak{ResidentBytes()};
  std::thread watch([&] {
    while (!done) {
      const std::size_t now = ResidentBytes();
      if (now > peak) peak = now;
      std::this_thread::sleep_for(10ms);
    }
  });
  constexpr std::size_t kCap = 64u << 20;
  std::vector<std::size_t> sent(8);
  std::vector<std::thread> clients;
  for (int i = 0; i < 8; ++i)
    clients.emplace_back([&, i] {
      const int sock = ConnectTo(s.Port());
      if (sock < 0) return;
      std::string chunk = "GET / HTTP/1.1\r\nHost: x\r\nX-Long: ";
      const std::string more = i % 2 ? std::string(65536, 'a') : [] {
        std::string lines;
        while (lines.size() < 65536) lines += "X-A: b\r\n";
        return lines;
      }();
      while (sent[i] < kCap && SendAll(sock, chunk)) {
        sent[i] += chunk.size();
        chunk = more;
      }
      ::close(sock);
    });
  for (std::thread& t : clients) t.join();
  done = true;
  watch.join();
  for (int i = 0; i < 8; ++i) EXPECT_LT(sent[i], kCap) << "client " << i << " never cut off";
  EXPECT_LT(peak.load(), 64u << 20) << (peak.load() >> 20) << " MiB";
}

// `beugwerk serve` as a child process; its port is read from its first line.
struct TChild {
  pid_t pid = -1;
  int err = -1;  // its standard error
};

TChild Spawn(const std::vector<std::string>& args) {
  std::vector<std::string> words = {BEUGWERK_SERVE, "--verb-lists", kFixtureLists.string(),
                                    "serve"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  int pipeFds[2];
  TChild c;
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return c;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  if (posix_spawn(&c.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) c.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  c.err = pipeFds[0];
  return c;
}

// Its standard error until `until` appears, the pipe closes or the time is up.
std::string ReadErr(const TChild& c, std::string_view until, std::chrono::milliseconds limit) {
  std::string text;
  const auto end = std::chrono::steady_clock::now() + limit;
  while (text.find(until) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    pollfd p{c.err, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[512];
    const ssize_t n = ::read(c.err, buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  return text;
}

int PortOf(const std::string& firstLine) {
  const std::size_t at = firstLine.find("127.0.0.1:");
  return at == std::string::npos ? -1 : std::atoi(firstLine.c_str() + at + 10);
}

// The exit status within `limit`; -1 when the child still runs (it is then killed).
int WaitExit(pid_t pid, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    if (::waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    std::this_thread::sleep_for(10ms);
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, &status, 0);
  return -1;
}

TEST(ServeCommandTest, SigtermWithSlowClientsExitsAtOnce) {
  TChild c = Spawn({"--port", "0", "--threads", "2"});
  ASSERT_GT(c.pid, 0);
  const int port = PortOf(ReadErr(c, "\n", 10s));
  ASSERT_GT(port, 0);
  std::vector<int> clients;
  for (int i = 0; i < 16; ++i) {
    const int sock = ConnectTo(port);
    ASSERT_GE(sock, 0);
    if (i % 2) SendAll(sock, "GET " + kPage + "?infi=lesen HTTP/1.1\r\nHost: x\r\nX-A");
    clients.push_back(sock);
  }
  // One client asks for pages without reading them: its answers fill the socket.
  const int reader = ConnectTo(port);
  std::string many;
  for (int i = 0; i < 200; ++i)
    many += "GET /api/v1/conjugate?infi=lesen HTTP/1.1\r\nHost: x\r\n\r\n";
  SendAll(reader, many);
  std::this_thread::sleep_for(300ms);
  const auto start = std::chrono::steady_clock::now();
  ::kill(c.pid, SIGTERM);
  const int status = WaitExit(c.pid, 2s);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(status, 0);
  EXPECT_LT(took, 2s);
  for (int sock : clients) ::close(sock);
  ::close(reader);
  ::close(c.err);
}

TEST(ServeCommandTest, APortInUseIsRefused) {
  TChild first = Spawn({"--port", "0", "--threads", "1"});
  ASSERT_GT(first.pid, 0);
  const int port = PortOf(ReadErr(first, "\n", 10s));
  ASSERT_GT(port, 0);
  TChild second = Spawn({"--port", std::to_string(port)});
  ASSERT_GT(second.pid, 0);
  const std::string message = ReadErr(second, "\n", 10s);
  EXPECT_EQ(WaitExit(second.pid, 10s), 1);
  EXPECT_NE(
      message.find("cannot listen on 127.0.0.1:" + std::to_string(port) + ": the port is in use"),
      std::string::npos)
      << message;
  ::kill(first.pid, SIGTERM);
  EXPECT_EQ(WaitExit(first.pid, 2s), 0);
  ::close(first.err);
  ::close(second.err);
}

}  // namespace
