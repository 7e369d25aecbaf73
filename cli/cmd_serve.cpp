// SPDX-License-Identifier: MIT
// `beugwerk serve [--host H] [--port P] [--threads N] [--base-url URL] [--cache-mib M] [--log]`:
// the online generator over HTTP until SIGINT or SIGTERM, which finish the requests in flight.
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Asio's headers use std::exchange without including <utility> themselves.
#include <boost/asio/io_context.hpp>
#include <boost/asio/signal_set.hpp>

#include "common/SiteConfig.h"
#include "common/_ZT_cmn_A.h"
#include "engine/_ZTVerbLists.h"
#include "server/Server.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: beugwerk serve [--host 127.0.0.1] [--port 8080] [--threads N] [--base-url URL] "
    "[--cache-mib 32] [--verb-lists PATH] [--log]\n";

bool ParseInt(std::string_view s, int low, int high, int& value) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && end == s.data() + s.size() && value >= low && value <= high;
}

// Options as "--name value" or "--name=value"; the message is empty when all is well.
std::string ParseServeArgs(const std::vector<std::string>& args, TServerOptions& o) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view a = args[i];
    if (a == "--log") {
      o.log = true;
      continue;
    }
    std::string_view value;
    const std::size_t eq = a.find('=');
    if (eq != std::string_view::npos) {
      value = a.substr(eq + 1);
      a = a.substr(0, eq);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return std::string(a) + " needs a value";
    }
    if (a == "--host") {
      o.host = value;
    } else if (a == "--port") {
      if (!ParseInt(value, 0, 65535, o.port)) return "--port takes a number from 0 to 65535";
    } else if (a == "--threads") {
      if (!ParseInt(value, 1, 1024, o.threads)) return "--threads takes a number from 1 to 1024";
    } else if (a == "--cache-mib") {
      int mib = 0;
      if (!ParseInt(value, 0, 65536, mib)) return "--cache-mib takes a number from 0 to 65536";
      o.cacheBytes = static_cast<std::size_t>(mib) << 20;
    } else if (a == "--base-url") {
      // It goes into the pages' links as it is: only a plain http(s) address will do.
      const bool plain = std::all_of(value.begin(), value.end(), [](char c) {
        return c > ' ' && c < 0x7F && c != '"' && c != '\'' && c != '<' && c != '>' && c != '\\';
      });
      if (!plain || !(value.starts_with("http://") || value.starts_with("https://")))
        return "--base-url takes an address such as https://beugwerk.example";
      o.baseUrl = value;
    } else {
      return "unknown option " + std::string(a);
    }
  }
  return {};
}

}  // namespace

int RunServe(const std::filesystem::path& verbLists, const std::vector<std::string>& args) {
  TServerOptions options;
  if (const std::string error = ParseServeArgs(args, options); !error.empty()) {
    std::cerr << "beugwerk serve: " << error << "\n" << kUsage;
    return 2;
  }
  // Every open connection is a descriptor: allow as many as the server takes, where the hard
  // limit lets us.
  rlimit files{};
  if (::getrlimit(RLIMIT_NOFILE, &files) == 0) {
    const rlim_t wanted = static_cast<rlim_t>(options.connectionLimit) + 256;
    if (files.rlim_cur < wanted) {
      files.rlim_cur = std::min(wanted, files.rlim_max);
      ::setrlimit(RLIMIT_NOFILE, &files);
    }
  }
  try {
    VerbListsPath = ResolveVerbListsPath(DefaultVerbListsSearch(verbLists));
    TBeugwerkServer server(options);
    const int port = server.Bind();
    if (port < 0) {
      std::cerr << "beugwerk serve: " << server.BindError() << "\n";
      return 1;
    }
    // SIGINT and SIGTERM end the serving: requests in flight are finished, idle and slow
    // connections closed.
    boost::asio::signal_set signals(server.Context(), SIGINT, SIGTERM);
    signals.async_wait([&server](const boost::system::error_code& ec, int) {
      if (!ec) server.Stop();
    });
    std::cerr << "beugwerk serve: http://" << options.host << ":" << port
              << UniToUtf8(site::kGeneratorPath) << "\n";
    const bool served = server.Listen();
    return served ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "beugwerk serve: " << e.what() << "\n";
    return 1;
  }
}
