// SPDX-License-Identifier: MIT
#include "common/ZT.Resources.h"

namespace {

bool SameNameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
    if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

std::optional<std::string_view> FindTextResource(std::string_view name) {
  for (const TEmbeddedResource& r : EmbeddedResources())
    if (SameNameAscii(r.name, name)) return r.bytes;
  return std::nullopt;
}

bool LoadTextResource(std::string_view name, std::string& text) {
  const std::optional<std::string_view> bytes = FindTextResource(name);
  if (!bytes) return false;
  text.assign(bytes->data(), bytes->size());
  return true;
}
