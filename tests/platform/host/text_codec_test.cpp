#include "platform/host/text_codec.h"

#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct sRoundTrip {
  const char* label;
  std::string cp932;
  std::string utf8;
  std::string back;  // what the UTF-8 form converts back to
};

void PrintTo(const sRoundTrip& c, std::ostream* out) { *out << c.label; }

class RoundTripTest : public ::testing::TestWithParam<sRoundTrip> {};

TEST_P(RoundTripTest, DecodesAndComesBack) {
  const sRoundTrip& c = GetParam();
  EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  EXPECT_EQ(Utf8ToCp932(c.utf8), c.back);
  std::string strict;
  EXPECT_TRUE(TryCp932ToUtf8(c.cp932, strict));
  EXPECT_EQ(strict, c.utf8);
  EXPECT_TRUE(TryUtf8ToCp932(c.utf8, strict));
  EXPECT_EQ(strict, c.back);
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, RoundTripTest,
    ::testing::Values(
        // 0x5C and 0x7E stay backslash and tilde: the paths depend on it (Shift-JIS proper would
        // give the yen sign and the overline).
        sRoundTrip{"Backslash", "a\\b", "a\\b", "a\\b"}, sRoundTrip{"Tilde", "~", "~", "~"},
        sRoundTrip{"WaveDash", "\x81\x60", "\xEF\xBD\x9E", "\x81\x60"},            // U+FF5E, Windows' choice
        sRoundTrip{"FullWidthBackslash", "\x81\x5F", "\xEF\xBC\xBC", "\x81\x5F"},  // U+FF3C
        sRoundTrip{"NecCircledOne", "\x87\x40", "\xE2\x91\xA0", "\x87\x40"},       // U+2460
        sRoundTrip{"IbmSmallRomanOne", "\xFA\x40", "\xE2\x85\xB0", "\xFA\x40"},    // U+2170
        // ED40 is in the NEC-selected copy of the IBM extension: it decodes to the same character
        // as IBM's FA5C (U+7E8A), and a character has one code on the way back, the IBM one, as
        // Windows does. So a name written with ED40 comes back spelt FA5C, whose trail byte is 0x5C.
        sRoundTrip{"NecSelectedIbm", "\xED\x40", "\xE7\xBA\x8A", "\xFA\x5C"},
        sRoundTrip{"IbmSameCharacter", "\xFA\x5C", "\xE7\xBA\x8A", "\xFA\x5C"},
        sRoundTrip{"HalfWidthKana", "\xB1", "\xEF\xBD\xB1", "\xB1"},  // U+FF71
        sRoundTrip{"SoWithTrail5C", "\x83\x5C", "ソ", "\x83\x5C"},
        sRoundTrip{"HyouWithTrail5C", "\x95\x5C\\x", "表\\x", "\x95\x5C\\x"},
        sRoundTrip{"EmbeddedZero", std::string("a\0b", 3), std::string("a\0b", 3), std::string("a\0b", 3)},
        sRoundTrip{"Empty", "", "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

struct sReplaced {
  const char* label;
  std::string input;
  std::string expected;
};

void PrintTo(const sReplaced& c, std::ostream* out) { *out << c.label; }

class DecodeReplacementTest : public ::testing::TestWithParam<sReplaced> {};

TEST_P(DecodeReplacementTest, ReplacesAndGoesOn) {
  const sReplaced& c = GetParam();
  EXPECT_EQ(Cp932ToUtf8(c.input), c.expected);
  std::string strict;
  EXPECT_FALSE(TryCp932ToUtf8(c.input, strict));
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, DecodeReplacementTest,
    ::testing::Values(sReplaced{"LoneLeadAtEnd", "a\x81", "a" + kReplacement},
                      sReplaced{"LoneLeadOnly", "\x83", kReplacement},
                      // A lead byte before a byte that cannot trail: only the lead byte is lost.
                      sReplaced{"LeadBeforeSpace", "\x81 x", kReplacement + " x"},
                      // An unassigned double-byte code is one bad character, not a bad byte and an '@'.
                      sReplaced{"UnassignedCode", "\x85\x40z", kReplacement + "z"},
                      sReplaced{"Byte80", "\x80", kReplacement}, sReplaced{"ByteA0", "\xA0", kReplacement},
                      sReplaced{"ByteFF", "x\xFFy", "x" + kReplacement + "y"},
                      sReplaced{"TwoBad", "\x80\x80", kReplacement + kReplacement}),
    [](const auto& info) { return std::string(info.param.label); });

class EncodeReplacementTest : public ::testing::TestWithParam<sReplaced> {};

TEST_P(EncodeReplacementTest, ReplacesAndGoesOn) {
  const sReplaced& c = GetParam();
  EXPECT_EQ(Utf8ToCp932(c.input), c.expected);
  std::string strict;
  EXPECT_FALSE(TryUtf8ToCp932(c.input, strict));
}

INSTANTIATE_TEST_SUITE_P(
    Utf8, EncodeReplacementTest,
    ::testing::Values(sReplaced{"NoCode", "a\xF0\x9F\x98\x80" "b", "a?b"},  // an emoji is one '?'
                      sReplaced{"Accent", "caf\xC3\xA9", "caf?"},
                      sReplaced{"CutOffAtEnd", "x\xE3\x81", "x?"},
                      sReplaced{"CutOffBeforeAscii", "\xE3\x81z", "?z"},
                      sReplaced{"StrayContinuation", "\x80\xE3\x81\x82", "?\x82\xA0"},
                      sReplaced{"BadByte", "\xFF", "?"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(TextCodecTest, SJConvertsOnceAndKeepsTheText) {
  const std::string& first = SJ("既に起動しています");
  EXPECT_EQ(first, Utf8ToCp932("既に起動しています"));
  EXPECT_EQ(first.substr(0, 2), "\x8A\xF9");  // 既
  // A different pointer with the same text gives the same cached string.
  const std::string copy = "既に起動しています";
  EXPECT_EQ(&SJ(copy.c_str()), &first);
  // Many more texts later, the first reference still holds its text.
  for (int i = 0; i < 2000; ++i) SJ(("テキスト" + std::to_string(i)).c_str());
  EXPECT_EQ(first, Utf8ToCp932("既に起動しています"));
  EXPECT_EQ(&SJ("既に起動しています"), &first);
  EXPECT_EQ(SJ(nullptr), "");
}

TEST(TextCodecTest, ThreadsConvertAtTheSameTime) {
  // Each thread has its own descriptors; a shared one would mix the threads' states and texts.
  std::string cp932;
  std::string utf8;
  for (int i = 0; i < 200; ++i) {
    cp932 += "\x83\x5C\x95\x5C" "ab\xB1";
    utf8 += "ソ表abｱ";
  }
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  std::vector<const std::string*> cached(8, nullptr);
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 300; ++i) {
        if (Cp932ToUtf8(cp932) != utf8 || Utf8ToCp932(utf8) != cp932) ++failures[t];
        if (Cp932ToUtf8("\x81") != kReplacement) ++failures[t];
      }
      cached[t] = &SJ("スレッド");
    });
  }
  for (auto& thread : threads) thread.join();
  for (int t = 0; t < 8; ++t) {
    EXPECT_EQ(failures[t], 0) << "thread " << t;
    EXPECT_EQ(cached[t], cached[0]);
  }
}

}  // namespace
