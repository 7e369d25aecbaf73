// SPDX-License-Identifier: MIT
// What the engine tests share: fixture paths, one verb object over the form fixture, and the
// generators of malformed input for the robustness runs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "engine/_ZTVerb.h"
#include "tests/GermanText.h"

inline std::filesystem::path Fixture(std::string_view folder, std::string_view name) {
  return std::filesystem::path(BEUGWERK_FIXTURES) / folder / name;
}

// One verb object over tests/fixtures/forms/forms.VLX for a whole suite; Analyse resets the
// fields a test may have changed, so rows do not leak into each other.
class FormsFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    VerbListsPath = Fixture("forms", "forms.VLX");
    verb_ = std::make_unique<TVerbGen>();
    verb_->SetOnErrMsg([](const std::u16string&) {});
  }
  static void TearDownTestSuite() { verb_.reset(); }

  // verb in UTF-8, as the rows spell it.
  static TVerbGen& Analyse(std::string_view verb, TSchwSt cls = unsp, TOrthoTyp ortho = NeuOrtho) {
    return AnalyseBytes(Ansi(verb), cls, ortho);
  }
  // verb as the engine's own bytes, for generated input.
  static TVerbGen& AnalyseBytes(const std::string& verb, TSchwSt cls = unsp,
                                TOrthoTyp ortho = NeuOrtho) {
    verb_->SetOrthoTyp(ortho);
    verb_->unPrefixed = false;
    verb_->InfiStattPart2 = ISP_InfiPart;
    verb_->newVerbA(verb, cls);
    return *verb_;
  }

  inline static std::unique_ptr<TVerbGen> verb_;
};

inline std::string RandomBytes(std::mt19937& rng, int length) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::string s;
  for (int i = 0; i < length; ++i) s.push_back(static_cast<char>(byte(rng)));
  return s;
}

// length characters made of pieces drawn at random (markers, pronouns, letters, endings).
template <class Pieces>
std::string MarkerSoup(std::mt19937& rng, int length, const Pieces& pieces) {
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
  std::string s;
  while (static_cast<int>(s.size()) < length) s += pieces[piece(rng)];
  s.resize(static_cast<std::size_t>(length));
  return s;
}
