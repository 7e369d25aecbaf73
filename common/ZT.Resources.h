// SPDX-License-Identifier: MIT
// Raw-data resources compiled into the program: the fallback verb lists ("VERBLISTS") and,
// later, the built-in pages. The build turns each listed file into a byte array and one
// generated table names them all (cmake/BeugwerkResources.cmake), so nothing depends on the
// order in which static objects are initialised.
//
//   std::string lists;
//   if (LoadTextResource("VERBLISTS", lists)) ...   // the bytes of data/Beugwerk.VLX
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

struct TEmbeddedResource {
  std::string_view name;
  std::string_view bytes;
};

// Every resource of the program, in the order the build lists them (generated code).
std::span<const TEmbeddedResource> EmbeddedResources();

// The bytes of the resource of that name (ASCII letter case ignored, as resource names are on
// the desktop platform); nothing when there is none.
std::optional<std::string_view> FindTextResource(std::string_view name);
// Copies the resource's bytes into text; false (text unchanged) when there is none.
bool LoadTextResource(std::string_view name, std::string& text);
