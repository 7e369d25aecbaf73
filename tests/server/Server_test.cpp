// SPDX-License-Identifier: MIT
// The online server on a free loopback port, asked over HTTP: pages in both encodings of the
// query, HEAD, the refusals, escaping, the two-readings links, the links of a served page, and
// a reload of a changed verb lists file while requests run.
#include "server/Server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "generator/Lookup.h"
#include "generator/PageAddress.h"
#include "generator/VerbGenerator.h"
#include "tests/server/TestClient.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const fs::path kFixtureLists = fs::path(BEUGWERK_FIXTURES) / "generator" / "generator.VLX";
constexpr std::string_view kPage = "/beugwerkde/verbformen-deutsch.htm";

void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The page the generator gives for a phrase, as the server must send it: the online page with
// its link to all forms.
std::string ExpectedPage(std::u16string_view phrase, TOrthoTyp ortho = NeuOrtho,
                         TPageForms forms = TPageForms::tableWithLink) {
  return UniToUtf8(GetVerbPageHtml(std::u16string(phrase), true, ortho, forms));
}

class ServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("beugwerk-server-test-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    lists_ = dir_ / "Beugwerk.VLX";
    WriteBytes(lists_, ReadFileBytes(kFixtureLists));
    VerbListsPath = lists_;
    TServerOptions o;
    o.port = 0;
    o.threads = 4;
    o.headDeadline = 1s;
    o.listsCheckInterval = 100ms;
    o.cacheBytes = 0;  // every answer generated: the tests compare it with the generator's
    o.baseUrl =
        "http://127.0.0.1";  // the port is known only after binding; links are checked by path
    server_ = new TBeugwerkServer(o);
    port_ = server_->Bind();
    ASSERT_GT(port_, 0);
    thread_ = new std::thread([] { server_->Listen(); });
  }
  static void TearDownTestSuite() {
    server_->Stop();
    thread_->join();
    delete thread_;
    delete server_;
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  static TClient Client() { return TClient(port_); }

  static fs::path dir_, lists_;
  static TBeugwerkServer* server_;
  static std::thread* thread_;
  static int port_;
};
fs::path ServerTest::dir_, ServerTest::lists_;
TBeugwerkServer* ServerTest::server_ = nullptr;
std::thread* ServerTest::thread_ = nullptr;
int ServerTest::port_ = 0;

TEST_F(ServerTest, PagesForEitherEncodingOfTheQuery) {
  struct {
    const char* query;
    std::u16string_view phrase;
  } rows[] = {
      {"?infi=lesen", u"lesen"},
      {"?infi=sich%20%C3%BCbergeben", u"sich übergeben"},  // the form: UTF-8
      {"?infi=sich+%C3%BCbergeben", u"sich übergeben"},    // the form's blank as '+'
      {"?infi=sich%20%FCbergeben", u"sich übergeben"},     // the page's own link: Latin-1
      {"?infi=%93lesen%94", u"“lesen”"},                   // Windows-1252 beyond Latin-1
      {"?utm_source=x&infi=lesen&", u"lesen"},             // other keys are ignored
      {"", u""},                                           // no infi: the page inviting a try
      {"?infi=", u""},
  };
  TClient c = Client();
  for (const auto& r : rows) {
    const std::string target = std::string(kPage) + r.query;
    const TResult res = c.Get(target);
    ASSERT_TRUE(res) << target;
    EXPECT_EQ(res->status, 200) << target;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=UTF-8") << target;
    EXPECT_EQ(res->body, ExpectedPage(r.phrase)) << target;
  }
  // The orthography key.
  const TResult alt = c.Get(std::string(kPage) + "?infi=lesen&ortho=alt");
  ASSERT_TRUE(alt);
  EXPECT_EQ(alt->body, ExpectedPage(u"lesen", AltOrtho));
}

TEST_F(ServerTest, HeadSendsTheHeadersOfGetWithoutBody) {
  TClient c = Client();
  const std::string target = std::string(kPage) + "?infi=lesen";
  const TResult get = c.Get(target);
  const TResult head = c.Head(target);
  ASSERT_TRUE(get && head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());
  EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(get->body.size()));
  EXPECT_EQ(head->get_header_value("Content-Type"), "text/html; charset=UTF-8");
}

TEST_F(ServerTest, BadRequestsGetAShortGermanPage) {
  enum TMethod { mGet, mPost, mPut, mDelete };
  const std::string longest(kMaxPhraseLength, 'a');
  struct {
    TMethod method;
    std::string target;
    int status;
    const char* text;  // in the body
  } rows[] = {
      {mGet, std::string(kPage) + "?infi=" + longest + "a", 400, "länger als 160 Zeichen"},
      {mGet, std::string(kPage) + "?infi=%ZZlesen", 400, "Adresse der Anfrage ist fehlerhaft"},
      {mGet, std::string(kPage) + "?infi=lesen%", 400, "Adresse der Anfrage ist fehlerhaft"},
      {mGet, std::string(kPage) + "?infi=a&infi=b", 400, "Adresse der Anfrage ist fehlerhaft"},
      {mGet, std::string(kPage) + "?infi=lesen&ortho=xx", 400, "Adresse der Anfrage"},
      {mGet, std::string(kPage) + "?infi=le%00sen", 400, "kein Text"},
      {mGet, std::string(kPage) + "?infi=le%0Asen", 400, "kein Text"},
      {mGet, std::string(kPage) + "?infi=le%81sen", 400, "kein Text"},     // undefined in 1252
      {mGet, std::string(kPage) + "?infi=le%C2%85sen", 400, "kein Text"},  // C1 control
      {mGet, "/beugwerkde/nichtda.htm", 404, "Seite nicht gefunden"},
      {mGet, "/etc/passwd", 404, "Seite nicht gefunden"},
      {mPost, std::string(kPage), 405, "nur abrufen"},
      {mPut, "/beugwerkde/beugwerkhelp.htm", 405, "nur abrufen"},
      {mDelete, "/irgendwo", 405, "nur abrufen"},
  };
  for (const auto& r : rows) {
    TClient c = Client();
    TResult res = r.method == mGet ? c.Get(r.target)
                  : r.method == mPost
                      ? c.Post(r.target, "infi=lesen", "application/x-www-form-urlencoded")
                  : r.method == mPut ? c.Put(r.target, "x", "text/plain")
                                     : c.Delete(r.target);
    ASSERT_TRUE(res) << r.target;
    EXPECT_EQ(res->status, r.status) << r.target;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=UTF-8") << r.target;
    EXPECT_NE(res->body.find(r.text), std::string::npos) << r.target << "\n" << res->body;
    EXPECT_NE(res->body.find("lang=\"de\""), std::string::npos) << r.target;
    if (r.status == 405) {
      EXPECT_EQ(res->get_header_value("Allow"), "GET, HEAD");
    }
  }
  // The form's limit itself is fine.
  TClient c = Client();
  const TResult fits = c.Get(std::string(kPage) + "?infi=" + longest);
  ASSERT_TRUE(fits);
  EXPECT_EQ(fits->status, 200);
}

TEST_F(ServerTest, MarkupInTheQueryComesBackEscaped) {
  const char* queries[] = {
      "?infi=%3Cscript%3Ealert(1)%3C/script%3E",
      "?infi=mit+%22%3E%3Cscript%3Ealert('x')%3C/script%3E+fahren",
      "?infi=%22%3E%3Cimg+src%3Dx+onerror%3Dalert(1)%3E",
  };
  TClient c = Client();
  for (const char* q : queries) {
    const TResult res = c.Get(std::string(kPage) + q);
    ASSERT_TRUE(res) << q;
    EXPECT_EQ(res->status, 200) << q;
    EXPECT_EQ(res->body.find("<script"), std::string::npos) << q;
    EXPECT_EQ(res->body.find("<img src=x"), std::string::npos) << q;
    EXPECT_EQ(res->body.find("<img src=x"), std::string::npos) << q;
    EXPECT_NE(res->body.find("&lt;"), std::string::npos) << q;
  }
}

TEST_F(ServerTest, TheTwoReadingsLinkToTheirPages) {
  TClient c = Client();
  const TResult res = c.Get(std::string(kPage) + "?infi=%C3%BCbersetzen");
  ASSERT_TRUE(res);
  const std::string& body = res->body;
  const std::size_t warning = body.find("nicht eindeutig bzgl. Betonung");
  const std::size_t first =
      body.find("<a href=\"verbformen-deutsch.htm?infi=%27%C3%BCbersetzen\">");
  const std::size_t second =
      body.find("<a href=\"verbformen-deutsch.htm?infi=%C3%BCber%27setzen\">");
  ASSERT_NE(warning, std::string::npos);
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(warning, first);
  EXPECT_LT(first, second);
  EXPECT_NE(body.find("(<i>er setzt über</i>)"), std::string::npos);
  EXPECT_NE(body.find("(<i>er übersetzt</i>)"), std::string::npos);
  // Followed from the page's folder, each link conjugates its reading, decided.
  struct {
    const char* link;
    const char* row;
  } rows[] = {{"?infi=%27%C3%BCbersetzen", " setzt 'über</td>"},
              {"?infi=%C3%BCber%27setzen", " über'setzt</td>"}};
  for (const auto& r : rows) {
    const TResult page = c.Get(std::string(kPage) + r.link);
    ASSERT_TRUE(page) << r.link;
    EXPECT_NE(page->body.find(r.row), std::string::npos) << r.link;
    EXPECT_EQ(page->body.find("nicht eindeutig"), std::string::npos) << r.link;
  }
}

// Every link and image of a served page that points into the deployment answers.
TEST_F(ServerTest, EveryLinkIntoTheSiteWorks) {
  TClient c = Client();
  const TResult page = c.Get(std::string(kPage) + "?infi=mit+dem+Taxi+fahren");
  ASSERT_TRUE(page);
  std::vector<std::string> urls;
  for (const std::string attr : {"href=\"", "src=\""})
    for (std::size_t at = page->body.find(attr); at != std::string::npos;
         at = page->body.find(attr, at + 1)) {
      const std::size_t begin = at + attr.size();
      urls.push_back(page->body.substr(begin, page->body.find('"', begin) - begin));
    }
  std::vector<std::string> targets;
  for (std::string url : urls) {
    if (url.starts_with("http://127.0.0.1")) url = url.substr(16);
    if (url.starts_with("http")) continue;  // the validators and their badges
    if (!url.starts_with("/")) url = "/beugwerkde/" + url;
    // As a browser sends it: blanks and other bytes escaped.
    std::string sent;
    for (unsigned char ch : url) {
      if (ch > ' ' && ch < 0x7F) {
        sent += static_cast<char>(ch);
      } else {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%%%02X", ch);
        sent += hex;
      }
    }
    url = sent;
    targets.push_back(url.substr(0, url.find('#')));
  }
  ASSERT_GE(targets.size(), 5u);  // icon, canonical links, help, author, theory
  for (const std::string& t : targets) {
    const TResult res = c.Get(t);
    ASSERT_TRUE(res) << t;
    EXPECT_TRUE(res->status == 200 || res->status == 302) << t << " " << res->status;
  }
  const TResult icon = c.Get("/beugwerkde/beugwerk16.ico");
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->get_header_value("Content-Type"), "image/x-icon");
  const TResult help = c.Get("/beugwerkde/beugwerkhelp.htm");
  ASSERT_TRUE(help);
  EXPECT_NE(help->body.find("id=\"habensein\""), std::string::npos);
  EXPECT_NE(help->body.find("id=\"fehler\""), std::string::npos);
}

// A client that sends half a request and then nothing is cut off, and the server serves others
// meanwhile.
TEST_F(ServerTest, ASlowClientTimesOut) {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port_));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  const std::string half = "GET /beugwerkde/verbformen-deutsch.htm?infi=lesen HTTP/1.1\r\nHost: x";
  ASSERT_EQ(::send(sock, half.data(), half.size(), 0), static_cast<ssize_t>(half.size()));

  TClient c = Client();
  const TResult other = c.Get(std::string(kPage) + "?infi=lesen");
  ASSERT_TRUE(other);
  EXPECT_EQ(other->status, 200);

  // The server closes the connection (read returns 0) once the head's deadline (1 s here) has
  // passed.
  timeval wait{15, 0};
  ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  const auto start = std::chrono::steady_clock::now();
  char buf[512];
  ssize_t n;
  while ((n = ::recv(sock, buf, sizeof buf, 0)) > 0) {
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  ::close(sock);
  EXPECT_EQ(n, 0) << "still open after " << (waited / 1ms) << " ms";
  EXPECT_LT(waited, 3s);
}

// The lists file changes while clients keep asking: every answer is a whole page, and the
// pages follow the new lists within a few seconds.
TEST_F(ServerTest, ChangedListsAreReloadedWithoutAFailedRequest) {
  const std::string original = ReadFileBytes(lists_);
  const std::string strongLesen = "les a:  ie \xE4: !h\n";
  ASSERT_NE(original.find(strongLesen), std::string::npos);
  std::string weak = original;
  weak.erase(weak.find(strongLesen), strongLesen.size());

  std::atomic<bool> stop{false};
  std::atomic<int> answered{0}, failed{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 4; ++i)
    clients.emplace_back([&] {
      TClient c = Client();
      while (!stop) {
        const TResult res = c.Get(std::string(kPage) + "?infi=lesen");
        const bool whole = res && res->status == 200 && res->body.ends_with("</html>\r\n") &&
                           (res->body.find("<td>ich las</td>") != std::string::npos ||
                            res->body.find("<td>ich leste</td>") != std::string::npos);
        ++(whole ? answered : failed);
      }
    });

  const auto waitFor = [&](const char* row) {
    TClient c = Client();
    for (auto until = std::chrono::steady_clock::now() + 10s;
         std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(50ms)) {
      const TResult res = c.Get(std::string(kPage) + "?infi=lesen");
      if (res && res->body.find(row) != std::string::npos) return true;
    }
    return false;
  };
  std::this_thread::sleep_for(200ms);
  // Replaced as a deployment should: written beside it and renamed over it.
  WriteBytes(dir_ / "new.VLX", weak);
  fs::rename(dir_ / "new.VLX", lists_);
  EXPECT_TRUE(waitFor("<td>ich leste</td>"));
  // Rewritten in place, as an editor does.
  WriteBytes(lists_, original);
  EXPECT_TRUE(waitFor("<td>ich las</td>"));
  std::this_thread::sleep_for(200ms);
  stop = true;
  for (std::thread& t : clients) t.join();
  EXPECT_EQ(failed, 0);
  EXPECT_GT(answered, 20);
}

// Files that are no verb lists, or not yet whole, never reach an answer: the lists in use
// stay, each refusal is one log line, and a removed file that comes back is loaded.
TEST_F(ServerTest, BadListsFilesAreRefused) {
  const std::string original = ReadFileBytes(lists_);
  const std::string strongLesen = "les a:  ie \xE4: !h\n";
  std::string weak = original;
  weak.erase(weak.find(strongLesen), strongLesen.size());
  const std::string page = ExpectedPage(u"lesen");
  ASSERT_NE(page.find("<td>ich las</td>"), std::string::npos);

  std::atomic<bool> stop{false};
  std::atomic<int> same{0}, changed{0}, failed{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < 3; ++i)
    clients.emplace_back([&] {
      TClient c = Client();
      while (!stop) {
        const TResult res = c.Get(std::string(kPage) + "?infi=lesen");
        if (!res || res->status != 200)
          ++failed;
        else
          ++(res->body == page ? same : changed);
      }
    });
  testing::internal::CaptureStderr();
  const std::string path = lists_.string();
  struct {
    const char* what;
    std::string bytes;  // written in place; "-" removes the file
  } rows[] = {
      {"half written", original.substr(0, original.size() / 2)},
      {"garbage", std::string("\x01\x02garbage\n\xFF\xFE", 12)},
      {"empty", ""},
      {"removed", "-"},
  };
  for (const auto& r : rows) {
    if (r.bytes == "-")
      fs::remove(lists_);
    else
      WriteBytes(lists_, r.bytes);
    std::this_thread::sleep_for(400ms);  // a few checks of the file
  }
  const int changedBefore = changed;
  // Back, with other lists: taken.
  WriteBytes(lists_, weak);
  TClient c = Client();
  bool reloaded = false;
  for (auto until = std::chrono::steady_clock::now() + 5s;
       !reloaded && std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(50ms)) {
    const TResult res = c.Get(std::string(kPage) + "?infi=lesen");
    reloaded = res && res->body.find("<td>ich leste</td>") != std::string::npos;
  }
  WriteBytes(lists_, original);
  for (auto until = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < until;
       std::this_thread::sleep_for(50ms)) {
    const TResult res = c.Get(std::string(kPage) + "?infi=lesen");
    if (res && res->body == page) break;
  }
  stop = true;
  for (std::thread& t : clients) t.join();
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(changedBefore, 0);
  EXPECT_EQ(failed, 0);
  EXPECT_GT(same, 20);
  EXPECT_TRUE(reloaded);
  const auto count = [&log](const std::string& text) {
    int n = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  };
  // At least one line per bad file; a file caught while it is written is refused once more.
  EXPECT_GE(count("verb lists refused: " + path + ": "), 4) << log;
  EXPECT_EQ(count("verb lists refused: " + path + ": the file is gone"), 1) << log;
  EXPECT_EQ(count("verb lists loaded: " + path + " ("), 2) << log;
}

// The online page links to the page of all forms, "alle=1"; other values are no address.
TEST_F(ServerTest, ThePageOfAllForms) {
  TClient c = Client();
  const TResult table = c.Get(std::string(kPage) + "?infi=lesen");
  ASSERT_TRUE(table);
  EXPECT_NE(table->body.find("<a href=\"verbformen-deutsch.htm?infi=lesen&amp;alle=1\">alle Formen "
                             "(Konjunktiv der Vergangenheit, würde-Formen, Passiv)</a>"),
            std::string::npos);
  const TResult all = c.Get(std::string(kPage) + "?infi=lesen&alle=1");
  ASSERT_TRUE(all);
  EXPECT_EQ(all->status, 200);
  EXPECT_EQ(all->body, ExpectedPage(u"lesen", NeuOrtho, TPageForms::allForms));
  const TResult wrong = c.Get(std::string(kPage) + "?infi=lesen&alle=ja");
  ASSERT_TRUE(wrong);
  EXPECT_EQ(wrong->status, 400);
}

// The API: the page's query decoding, the table as JSON, errors as JSON, CORS and ETags.
TEST_F(ServerTest, ApiAnswersTheConjugationAsJson) {
  constexpr std::string_view kApi = "/api/v1/conjugate";
  const std::string tooLong = "?infi=" + std::string(kMaxPhraseLength + 1, 'a');
  struct {
    std::string query;
    int status;
    std::string body;  // the exact answer
  } rows[] = {
      {"?infi=lesen", 200, ConjugationJson(ConjugatePhrase(u"lesen", NeuOrtho))},
      {"?infi=sich%20%C3%BCbergeben", 200,
       ConjugationJson(ConjugatePhrase(u"sich übergeben", NeuOrtho))},
      {"?infi=sich%20%FCbergeben&ortho=alt", 200,
       ConjugationJson(ConjugatePhrase(u"sich übergeben", AltOrtho))},
      {"?infi=gr%C3%BC%C3%9Fen&ortho=ch", 200,
       ConjugationJson(ConjugatePhrase(u"grüßen", ChOrtho))},
      {"?infi=%C3%BCbersetzen", 200, ConjugationJson(ConjugatePhrase(u"übersetzen", NeuOrtho))},
      // A rejected phrase as the page answers it, with the engine's message.
      {"?infi=%3Cb%3E%22x", 200,
       "{\"input\":\"<b>\\\"x\",\"error\":\"<b>\\\"x ist kein Infinitiv!\"}"},
      {"", 400, "{\"input\":\"\",\"error\":\"Geben Sie bitte einen Verbinfinitiv ein!\"}"},
      {"?infi=%ZZ", 400,
       "{\"error\":\"" + UniToUtf8(QueryErrorText(TQueryError::qe_malformed)) + "\"}"},
      {"?infi=lesen&ortho=xx", 400,
       "{\"error\":\"" + UniToUtf8(QueryErrorText(TQueryError::qe_malformed)) + "\"}"},
      {tooLong, 400, "{\"error\":\"" + UniToUtf8(QueryErrorText(TQueryError::qe_tooLong)) + "\"}"},
  };
  TClient c = Client();
  for (const auto& r : rows) {
    const std::string target = std::string(kApi) + r.query;
    const TResult res = c.Get(target);
    ASSERT_TRUE(res) << target;
    EXPECT_EQ(res->status, r.status) << target;
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json; charset=utf-8") << target;
    EXPECT_EQ(res->get_header_value("Access-Control-Allow-Origin"), "*") << target;
    EXPECT_EQ(res->body, r.body + "\n") << target;
  }
  // Refusals on the API's paths are JSON too.
  const TResult post = c.Post(std::string(kApi) + "?infi=lesen", "", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  EXPECT_EQ(post->get_header_value("Content-Type"), "application/json; charset=utf-8");
  EXPECT_TRUE(post->body.starts_with("{\"error\":")) << post->body;
  const TResult unknown = Client().Get("/api/v1/nothing");
  ASSERT_TRUE(unknown);
  EXPECT_EQ(unknown->status, 404);
  EXPECT_TRUE(unknown->body.starts_with("{\"error\":")) << unknown->body;
}

// The lookup of forms: the same JSON as the library gives, under the API's decoding; a form
// that cannot be one is refused, a form of no verb is an empty list.
TEST_F(ServerTest, ApiLooksUpForms) {
  constexpr std::string_view kLookup = "/api/v1/lookup";
  const auto body = [](std::u16string_view form, TOrthoTyp ortho, TLookupStatus want) {
    TLookupStatus status{};
    const std::string json = LookupJson(form, ortho, &status);
    EXPECT_EQ(status, want) << UniToUtf8(form);
    return json;
  };
  struct {
    std::string query;
    int status;
    std::string body;
  } rows[] = {
      {"?form=ging", 200, body(u"ging", NeuOrtho, TLookupStatus::found)},
      {"?form=zog%20an", 200, body(u"zog an", NeuOrtho, TLookupStatus::found)},
      {"?form=mu%DFte&ortho=alt", 200, body(u"mußte", AltOrtho, TLookupStatus::found)},
      {"?form=qqq", 200, body(u"qqq", NeuOrtho, TLookupStatus::notFound)},
      {"?form=123", 400, body(u"123", NeuOrtho, TLookupStatus::badInput)},
      {"", 400, body(u"", NeuOrtho, TLookupStatus::badInput)},
      {"?form=%ZZ", 400,
       "{\"error\":\"" + UniToUtf8(QueryErrorText(TQueryError::qe_malformed)) + "\"}"},
  };
  TClient c = Client();
  for (const auto& r : rows) {
    const std::string target = std::string(kLookup) + r.query;
    const TResult res = c.Get(target);
    ASSERT_TRUE(res) << target;
    EXPECT_EQ(res->status, r.status) << target;
    EXPECT_EQ(res->get_header_value("Content-Type"), "application/json; charset=utf-8") << target;
    EXPECT_EQ(res->get_header_value("Access-Control-Allow-Origin"), "*") << target;
    EXPECT_EQ(res->body, r.body + "\n") << target;
    EXPECT_EQ(res->get_header_value("ETag").empty(), r.status != 200) << target;
  }
}

TEST_F(ServerTest, ApiRepeatsAreAnsweredByTheirETag) {
  TClient c = Client();
  const std::string target = "/api/v1/conjugate?infi=lesen";
  const TResult first = c.Get(target);
  ASSERT_TRUE(first);
  const std::string tag = first->get_header_value("ETag");
  ASSERT_EQ(tag.size(), 18u) << tag;  // a quoted 64-bit hash
  EXPECT_EQ(c.Get(target)->get_header_value("ETag"), tag);
  EXPECT_NE(c.Get(target + "&ortho=alt")->get_header_value("ETag"), tag);
  struct {
    std::string ifNoneMatch;
    int status;
  } rows[] = {{tag, 304},
              {"W/" + tag, 304},
              {"\"0\", " + tag, 304},
              {"*", 304},
              {"\"0000000000000000\"", 200}};
  for (const auto& r : rows) {
    const TResult res = c.Get(target, {{"If-None-Match", r.ifNoneMatch}});
    ASSERT_TRUE(res) << r.ifNoneMatch;
    EXPECT_EQ(res->status, r.status) << r.ifNoneMatch;
    EXPECT_EQ(res->get_header_value("ETag"), tag) << r.ifNoneMatch;
    EXPECT_EQ(res->body.empty(), r.status == 304) << r.ifNoneMatch;
  }
  const TResult head = c.Head(target);
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());
  EXPECT_EQ(head->get_header_value("Content-Length"), std::to_string(first->body.size()));
}

TEST(QueryTest, DecodesAndRejects) {
  struct {
    const char* raw;
    TQueryError error;
    std::u16string_view phrase;
    TOrthoTyp ortho;
  } rows[] = {
      {"infi=lesen", TQueryError::qe_none, u"lesen", NeuOrtho},
      {"infi=%C3%BC", TQueryError::qe_none, u"ü", NeuOrtho},
      {"infi=%FC", TQueryError::qe_none, u"ü", NeuOrtho},
      {"infi=%80", TQueryError::qe_none, u"€", NeuOrtho},
      {"infi=%C3%BC%FC", TQueryError::qe_none, u"Ã¼ü", NeuOrtho},  // not UTF-8 as a whole
      {"infi=%C0%AF", TQueryError::qe_none, u"À¯", NeuOrtho},      // overlong: not UTF-8
      {"infi=%F0%9F%98%80", TQueryError::qe_none, u"\U0001F600", NeuOrtho},
      {"infi=a+b&ortho=ch", TQueryError::qe_none, u"a b", ChOrtho},
      {"ortho=neu&infi", TQueryError::qe_none, u"", NeuOrtho},
      {"infi=%4", TQueryError::qe_malformed, u"", NeuOrtho},
      {"ortho=alt&ortho=alt", TQueryError::qe_malformed, u"", NeuOrtho},
      {"infi=%7F", TQueryError::qe_notText, u"", NeuOrtho},
      {"infi=%09", TQueryError::qe_notText, u"", NeuOrtho},
  };
  for (const auto& r : rows) {
    TPageQuery q;
    EXPECT_EQ(ParsePageQuery(r.raw, q), r.error) << r.raw;
    if (r.error != TQueryError::qe_none) continue;
    EXPECT_EQ(q.phrase, r.phrase) << r.raw;
    EXPECT_EQ(q.ortho, r.ortho) << r.raw;
  }
  // The limit counts what a browser's maxlength counts: UTF-16 code units.
  TPageQuery q;
  std::string umlauts;
  for (int i = 0; i < 160; ++i) umlauts += "%C3%A4";
  EXPECT_EQ(ParsePageQuery("infi=" + umlauts, q), TQueryError::qe_none);
  EXPECT_EQ(ParsePageQuery("infi=" + umlauts + "a", q), TQueryError::qe_tooLong);
}

}  // namespace
