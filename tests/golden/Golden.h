// SPDX-License-Identifier: MIT
// The golden cases of one kind (tests/golden/<kind>/<case>.in and .out) for a parametrised
// GoogleTest runner: the options line and the input of each case, and the comparison that
// shows a unified diff, or rewrites the .out when BEUGWERK_UPDATE_GOLDEN=1.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace golden {

namespace fs = std::filesystem;

inline fs::path Dir(std::string_view kind) {
  return fs::path(BEUGWERK_SOURCE_DIR) / "tests" / "golden" / kind;
}

inline std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Case {
  std::string name;
  fs::path in, out;
  std::map<std::string, std::string, std::less<>> options;
  std::string input;  // the bytes after the options line

  std::string Option(std::string_view key, std::string_view fallback = "") const {
    auto it = options.find(key);
    return it == options.end() ? std::string(fallback) : it->second;
  }
  // The input as one line: without its line end.
  std::string Line() const {
    std::string s = input;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    return s;
  }
};

// GoogleTest prints a failing case by its file.
inline void PrintTo(const Case& c, std::ostream* os) {
  *os << c.in.filename().string();
}

// Reads a case: line 1 holds blank-separated key=value options (maybe none).
inline Case ReadCase(const fs::path& in) {
  Case c;
  c.name = in.stem().string();
  c.in = in;
  c.out = fs::path(in).replace_extension(".out");
  const std::string bytes = ReadBytes(in);
  const std::size_t eol = std::min(bytes.find('\n'), bytes.size());
  std::istringstream words(bytes.substr(0, eol));
  for (std::string w; words >> w;) {
    const std::size_t eq = w.find('=');
    c.options[w.substr(0, eq)] = eq == std::string::npos ? "1" : w.substr(eq + 1);
  }
  c.input = bytes.substr(std::min(eol + 1, bytes.size()));
  return c;
}

// Every case of a kind, by name.
inline std::vector<Case> Cases(std::string_view kind) {
  std::vector<Case> cases;
  std::error_code ec;  // a missing folder leaves the suite without cases, which GoogleTest flags
  for (const auto& e : fs::directory_iterator(Dir(kind), ec))
    if (e.path().extension() == ".in") cases.push_back(ReadCase(e.path()));
  std::sort(cases.begin(), cases.end(),
            [](const Case& a, const Case& b) { return a.name < b.name; });
  return cases;
}

inline std::string TestName(const ::testing::TestParamInfo<Case>& info) {
  std::string n = info.param.name;
  for (char& ch : n)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return n;
}

inline bool Updating() {
  const char* v = std::getenv("BEUGWERK_UPDATE_GOLDEN");
  return v != nullptr && std::string_view(v) == "1";
}

// `diff -u` of the expected file against the actual bytes, cut to a readable length.
inline std::string UnifiedDiff(const fs::path& expected, const std::string& actual) {
  const fs::path tmp = fs::temp_directory_path() /
                       ("golden_" + std::to_string(getpid()) + "_" + expected.filename().string());
  std::ofstream(tmp, std::ios::binary) << actual;
  const std::string cmd = "diff -u --label '" + expected.string() + "' --label actual '" +
                          expected.string() + "' '" + tmp.string() + "' 2>&1 | head -n 80";
  std::string diff;
  if (FILE* p = popen(cmd.c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) diff.append(buf, n);
    pclose(p);
  }
  fs::remove(tmp);
  return diff;
}

// Compares the actual bytes with the case's .out, or writes them there when updating.
inline ::testing::AssertionResult Matches(const Case& c, const std::string& actual) {
  if (Updating()) {
    if (ReadBytes(c.out) != actual) std::ofstream(c.out, std::ios::binary) << actual;
    return ::testing::AssertionSuccess();
  }
  if (!fs::exists(c.out))
    return ::testing::AssertionFailure()
           << c.out << " is missing; BEUGWERK_UPDATE_GOLDEN=1 writes it";
  if (ReadBytes(c.out) == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << c.out.filename() << " differs (BEUGWERK_UPDATE_GOLDEN=1 rewrites it):\n"
         << UnifiedDiff(c.out, actual);
}

}  // namespace golden
