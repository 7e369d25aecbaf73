// SPDX-License-Identifier: MIT
// Random and mutated byte strings through the reader: it may throw our exceptions, nothing
// else, and must not crash (run under the sanitizers too).
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "common/ZT.Files.h"
#include "common/_ZT_cmn_A.h"

namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t maxLen) {
  std::uniform_int_distribution<std::size_t> len(0, maxLen);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string s(len(rng), '\0');
  for (char& c : s) c = static_cast<char>(byte(rng));
  return s;
}

// Flip, drop, insert or cut a few bytes.
std::string Mutate(std::string s, std::mt19937& rng) {
  std::uniform_int_distribution<int> op(0, 3), byte(0, 255), count(1, 4);
  for (int n = count(rng); n > 0 && !s.empty(); --n) {
    const std::size_t at = std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(rng);
    switch (op(rng)) {
      case 0:
        s[at] = static_cast<char>(s[at] ^ (1 << (byte(rng) % 8)));
        break;
      case 1:
        s.erase(at, 1);
        break;
      case 2:
        s.insert(at, 1, static_cast<char>(byte(rng)));
        break;
      default:
        s.resize(at);
    }
  }
  return s;
}

void ReadAllWays(const std::string& bytes, std::mt19937& rng) {
  static constexpr int kAnswers[] = {0, 2, 3, 1251, 1252, 932, 936, 949, 950, 65001, 12345};
  const int answer = kAnswers[std::uniform_int_distribution<std::size_t>(0, 10)(rng)];
  const TDeciderCallback fixed = [answer](std::string_view, TEncodingType) { return answer; };
  const TDeciderCallback ex = [](std::string_view b, TEncodingType t) {
    return DefaultDecider().AnsiDeciderEx(b, t);
  };
  for (const TDeciderCallback* d : {static_cast<const TDeciderCallback*>(nullptr), &fixed, &ex}) {
    try {
      TEncodingType t = et_undetected;
      const std::u16string text = d ? ReadTextBytes(bytes, &t, *d) : ReadTextBytes(bytes, &t);
      EXPECT_LE(static_cast<int>(t), static_cast<int>(et_UTF8C_zip));
    } catch (const EEncodingError&) {
    }
  }
  // Every type the caller may pass, at a random offset.
  const auto type =
      static_cast<TEncodingType>(std::uniform_int_distribution<int>(et_none, et_UTF8C_zip)(rng));
  const std::size_t offset = std::uniform_int_distribution<std::size_t>(0, bytes.size() + 2)(rng);
  try {
    DecodeText(bytes, type, offset, fixed);
  } catch (const EEncodingError&) {
  } catch (const EAssertionFailed&) {
    EXPECT_EQ(type, et_16);
  }
  IsPlausibleUtf8(bytes);
  std::u16string u(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < u.size(); ++i)
    u[i] =
        static_cast<char16_t>(bytes[2 * i] & 1 ? u'\\' : static_cast<unsigned char>(bytes[2 * i]));
  StressNotationToUni(u, answer & 3);
}

TEST(ReadTextBytesFuzz, RandomAndMutatedInputsDoNotCrash) {
  std::mt19937 rng(20240611);
  const std::string seeds[] = {
      WriteContainer(et_UTF8_zip, "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F\x00Rest"),
      WriteContainer(et_ANSI_zip, std::string(300, '\xE4') + "lesen"),
      WriteContainer(et_UTF8C_zip, "abc"),
      std::string("\xFF\xFE\x41\x00\x3D\xD8\x00\xDE", 8),
      "\xFE\xFF\x00\x41\xD8\x3D",
      "\xEF\xBB\xBFgr\xC3\xBC\xC3",
      "\xC2\xA7 \\acu a\\dot \xC3\xB3",
      "\xA7\x80\x81",
  };
  for (int i = 0; i < 2000; ++i) ReadAllWays(RandomBytes(rng, 64), rng);
  for (int i = 0; i < 3000; ++i) {
    const std::string& seed = seeds[static_cast<std::size_t>(i) % std::size(seeds)];
    ReadAllWays(Mutate(seed, rng), rng);
  }
  // Valid signatures in front of random bytes.
  static const char* kHeads[] = {"\xA7",     "\xEF\xBB\xBF",   "\xC2\xA7",       "\xFE\xFF",
                                 "\xFF\xFE", "DLZTU8\x00\x01", "DLZTUC\x00\x01", "DLZTAZ\x00\x01"};
  for (int i = 0; i < 2000; ++i) {
    const char* head = kHeads[i % 8];
    const std::size_t headLen = i % 8 >= 5 ? 8 : std::char_traits<char>::length(head);
    ReadAllWays(std::string(head, headLen) + RandomBytes(rng, 48), rng);
  }
}

}  // namespace
