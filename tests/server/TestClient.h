// SPDX-License-Identifier: MIT
// HTTP on loopback for the server's tests: a keep-alive client (Boost.Beast) and raw sockets
// for requests no client library would send.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TReply {
  int status = 0;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  // The value of a header field ("" when it is missing); names compare without case.
  std::string get_header_value(std::string_view name) const {
    for (const auto& [n, v] : headers)
      if (boost::beast::iequals(n, boost::beast::string_view(name.data(), name.size()))) return v;
    return {};
  }
};
using TResult = std::optional<TReply>;
using THeaders = std::vector<std::pair<std::string, std::string>>;

// One connection, kept open between requests; the target goes out exactly as written.
class TClient {
 public:
  explicit TClient(int port) : port_(port) {}

  TResult Get(const std::string& target, const THeaders& headers = {}) {
    return Send(boost::beast::http::verb::get, target, {}, {}, headers);
  }
  TResult Head(const std::string& target) {
    return Send(boost::beast::http::verb::head, target, {}, {}, {});
  }
  TResult Post(const std::string& target, const std::string& body, const std::string& type) {
    return Send(boost::beast::http::verb::post, target, body, type, {});
  }
  TResult Put(const std::string& target, const std::string& body, const std::string& type) {
    return Send(boost::beast::http::verb::put, target, body, type, {});
  }
  TResult Delete(const std::string& target) {
    return Send(boost::beast::http::verb::delete_, target, {}, {}, {});
  }

 private:
  TResult Send(boost::beast::http::verb method, const std::string& target, const std::string& body,
               const std::string& type, const THeaders& headers) {
    namespace http = boost::beast::http;
    // A kept connection the server has closed meanwhile is opened once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
      try {
        if (!stream_) {
          stream_.emplace(io_);
          buffer_.clear();
          stream_->expires_after(std::chrono::seconds(10));
          stream_->connect(boost::asio::ip::tcp::endpoint(boost::asio::ip::address_v4::loopback(),
                                                          static_cast<unsigned short>(port_)));
        }
        stream_->expires_after(std::chrono::seconds(10));
        http::request<http::string_body> req{method, target, 11};
        req.set(http::field::host, "127.0.0.1");
        for (const auto& [n, v] : headers) req.set(n, v);
        if (!body.empty()) {
          req.set(http::field::content_type, type);
          req.body() = body;
          req.prepare_payload();
        }
        http::write(*stream_, req);
        http::response_parser<http::string_body> parser;
        parser.body_limit(64 * 1024 * 1024);
        if (method == http::verb::head) parser.skip(true);
        http::read(*stream_, buffer_, parser);
        const auto& res = parser.get();
        TReply reply;
        reply.status = static_cast<int>(res.result_int());
        for (const auto& f : res)
          reply.headers.emplace_back(std::string(f.name_string()), std::string(f.value()));
        reply.body = res.body();
        if (!res.keep_alive()) stream_.reset();
        return reply;
      } catch (const std::exception&) {
        stream_.reset();
      }
    }
    return std::nullopt;
  }

  int port_;
  boost::asio::io_context io_;
  std::optional<boost::beast::tcp_stream> stream_;
  boost::beast::flat_buffer buffer_;
};

// A plain socket to the server; -1 when the connection fails.
inline int ConnectTo(int port) {
  const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
  if (sock < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(sock);
    return -1;
  }
  return sock;
}

inline bool SendAll(int sock, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(sock, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// What the server sends until it closes the connection or `limit` passes; `closed` tells which.
inline std::string ReadUntilClosed(int sock, std::chrono::milliseconds limit, bool& closed) {
  std::string got;
  closed = false;
  const auto until = std::chrono::steady_clock::now() + limit;
  char buf[16384];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        until - std::chrono::steady_clock::now());
    if (left.count() <= 0) return got;
    pollfd p{sock, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return got;
    const ssize_t n = ::recv(sock, buf, sizeof buf, 0);
    if (n <= 0) {
      closed = true;
      return got;
    }
    got.append(buf, static_cast<std::size_t>(n));
  }
}

// Status lines in a stream of answers.
inline std::vector<int> StatusesIn(std::string_view bytes) {
  std::vector<int> statuses;
  for (std::size_t at = bytes.find("HTTP/1.1 "); at != std::string_view::npos;
       at = bytes.find("HTTP/1.1 ", at + 1))
    if (at == 0 || bytes.substr(at - 2, 2) == "\r\n" || bytes.substr(at - 1, 1) == ">" ||
        bytes.substr(at - 1, 1) == "}" || bytes.substr(at - 1, 1) == "\n")
      statuses.push_back(std::stoi(std::string(bytes.substr(at + 9, 3))));
  return statuses;
}
