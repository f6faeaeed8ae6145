#include "platform/services/text.h"

#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/host/text_codec.h"

namespace {

TEST(IsDoubleByteTest, NeedsLeadAndTrailByte) {
  struct Case {
    const char* bytes;
    bool expected;
  };
  const Case cases[] = {
      {"\x81\x40", true},   // first lead, first trail
      {"\x9F\xFC", true},   // last lead of the low range, last trail
      {"\xE0\x80", true},   // first lead of the high range
      {"\xFC\x7E", true},
      {"\x81\x7F", false},  // 7F is no trail byte
      {"\xA0\x40", false},  // A0 is no lead byte
      {"\xFD\x40", false},
      {"\x81", false},      // lead byte at the end of the text
      {"a\x40", false},
      {"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDoubleByte(c.bytes), c.expected) << testing::PrintToString(std::string(c.bytes));
  }
}

TEST(CharCountTest, CountsCharactersNotBytes) {
  struct Case {
    std::string text;
    int expected;
  };
  const Case cases[] = {
      {SJ("あい") + "\n", 2},
      {"ab\ncd", 4},
      {"\n\n", 0},
      {"", 0},
      {"\x82", 1},               // lone lead byte at the end
      {"a\x82", 2},
      {"\x82 ", 2},              // lead byte before a non-trail byte counts alone, so does the blank
      {SJ("ソ") + "x", 2},       // trail byte 5C belongs to its character
      {"\x82\x0A", 1},           // a line feed after a lead byte is still a line feed
      {SJ("半角ｶﾅ"), 4},         // half-width katakana are single bytes
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CharCount(c.text), c.expected) << testing::PrintToString(c.text);
  }
  EXPECT_EQ(CharCount(static_cast<const char*>(nullptr)), 0);
}

TEST(CountDigitsTest, DigitsWithoutSign) {
  const std::pair<int, int> cases[] = {
      {0, 1}, {9, 1}, {10, 2}, {-10, 2}, {-9, 1}, {999999999, 9}, {1000000000, 10}, {INT_MAX, 10}, {INT_MIN, 10},
  };
  for (const auto& [n, digits] : cases) {
    EXPECT_EQ(CountDigits(n), digits) << n;
  }
}

TEST(IntToPaddedStringTest, Table) {
  struct Case {
    int value, width, keepZeros, plusSign;
    const char* expected;
  };
  const Case cases[] = {
      {7, 2, 1, 0, "07"},
      {7, 3, 0, 0, "  7"},
      {-5, 3, 0, 0, "-  5"},
      {0, 3, 0, 0, "  0"},
      {0, 3, 1, 0, "000"},
      {12, 0, 0, 0, "12"},
      {12, 0, 1, 1, "+12"},
      {100, 5, 0, 0, "  100"},       // zeros after the first other digit stay
      {1234, 2, 1, 0, "1234"},       // a width below the digits needed is ignored
      {-7, -3, 1, 0, "-7"},
      {5, 2, 1, 1, "+05"},
      {5, 3, 0, 1, "+  5"},
      {0, 1, 0, 1, "+0"},
      {-3, 2, 1, 1, "-03"},          // the plus sign is only for values that are not negative
      {INT_MAX, 0, 1, 0, "2147483647"},
      {INT_MIN, 0, 1, 0, "-2147483648"},
      {INT_MIN, 12, 1, 0, "-002147483648"},
      {INT_MIN, 12, 0, 0, "-  2147483648"},
  };
  for (const Case& c : cases) {
    std::string out = "old";
    IntToPaddedString(out, c.value, c.width, c.keepZeros, c.plusSign);
    EXPECT_EQ(out, c.expected) << c.value << " width " << c.width << " keepZeros " << c.keepZeros << " plus "
                               << c.plusSign;
  }
}

TEST(IntToPaddedStringTest, HugeWidthStaysBounded) {
  std::string out;
  IntToPaddedString(out, 42, INT_MAX, 1, 0);
  ASSERT_GE(out.size(), 2u);
  EXPECT_LE(out.size(), 256u);
  EXPECT_EQ(out.substr(out.size() - 2), "42");
  EXPECT_EQ(out.find_first_not_of('0'), out.size() - 2);
}

TEST(SyncStringLengthTest, CutsAtFirstZeroByte) {
  std::string text("abc\0def", 7);
  EXPECT_EQ(SyncStringLength(text), 3);
  EXPECT_EQ(text, "abc");

  // The edit controls write into the buffer directly, then sync.
  std::string buffer(16, 'x');
  std::strcpy(buffer.data(), "hi");
  EXPECT_EQ(SyncStringLength(buffer), 2);
  EXPECT_EQ(buffer, "hi");

  std::string plain = "plain";
  EXPECT_EQ(SyncStringLength(plain), 5);
  EXPECT_EQ(plain, "plain");
}

TEST(SubStringTest, Table) {
  struct Case {
    int pos, count;
    const char* expected;
  };
  const Case cases[] = {
      {0, 3, "abc"},
      {2, 2, "cd"},
      {4, 10, "ef"},            // running past the end takes the rest
      {2, -1, "cdef"},
      {2, -7, "cdef"},          // any negative count takes the rest
      {2, 0, ""},
      {6, 1, ""},               // at the end: nothing left
      {7, 1, ""},               // beyond the end
      {7, -1, ""},
      {-2, 4, "ab"},            // a negative pos shortens count and starts at 0
      {-2, 2, ""},
      {-3, 2, "abcdef"},        // shortened below zero: the rest
      {1, INT_MAX, "bcdef"},    // pos + count would overflow an int
      {INT_MAX, INT_MAX, ""},
      {INT_MIN, INT_MIN, "abcdef"},
      {-1, INT_MIN, "abcdef"},
      {INT_MIN, INT_MAX, "abcdef"},
  };
  for (const Case& c : cases) {
    std::string source = "abcdef";
    std::string result = "old";
    EXPECT_EQ(SubString(source, &result, c.pos, c.count), &result);
    EXPECT_EQ(result, c.expected) << "pos " << c.pos << " count " << c.count;
    EXPECT_EQ(source, "abcdef");
  }
}

TEST(SubStringTest, ResyncsSourceAndAllowsItAsResult) {
  std::string source("abc\0def", 7);
  std::string result;
  SubString(source, &result, 1, -1);
  EXPECT_EQ(result, "bc");
  EXPECT_EQ(source, "abc");

  std::string same = "abcdef";
  SubString(same, &same, 1, 3);
  EXPECT_EQ(same, "bcd");
}

}  // namespace
