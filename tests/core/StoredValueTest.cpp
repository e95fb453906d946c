#include "app/core/StoredValue.h"

#include <gtest/gtest.h>

namespace {

using app::DecodeBool;
using app::DecodeInteger;
using app::ParseInteger;
using app::TextUpToZero;

TEST(StoredValue, ParsesDecimalWithLeadingBlanksAndSign) {
  EXPECT_EQ(ParseInteger(" 12"), 12);
  EXPECT_EQ(ParseInteger("-1"), -1);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
}

TEST(StoredValue, RejectsTextThatIsNotOneInt) {
  for (const char* text :
       {"", " ", "-", "+", "abc", "12 ", "1a", "0x10", "1.5", "- 1", "2147483648", "-2147483649",
        "99999999999", "99999999999999999999999999"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(StoredValue, IntegerFallsBackToDefaultWhenAbsentOrNotANumber) {
  EXPECT_EQ(DecodeInteger(std::nullopt, 15), 15);
  EXPECT_EQ(DecodeInteger("abc", 15), 15);
  EXPECT_EQ(DecodeInteger("99999999999", 2), 2);
  EXPECT_EQ(DecodeInteger("-1", 0), -1);
  EXPECT_EQ(DecodeInteger("0", 15), 0);
}

TEST(StoredValue, BoolIsAnyNonZeroInteger) {
  EXPECT_TRUE(DecodeBool("1", false));
  EXPECT_TRUE(DecodeBool("2", false));
  EXPECT_TRUE(DecodeBool("-1", false));
  EXPECT_FALSE(DecodeBool("0", true));
  EXPECT_TRUE(DecodeBool("abc", true));
  EXPECT_FALSE(DecodeBool("abc", false));
  EXPECT_TRUE(DecodeBool(std::nullopt, true));
  EXPECT_FALSE(DecodeBool(std::nullopt, false));
}

TEST(StoredValue, TextEndsAtFirstZeroByteOrAtTheData) {
  const char embedded[] = {'a', 'b', '\0', 'c', 'd', '\0'};
  EXPECT_EQ(TextUpToZero(embedded, sizeof embedded), "ab");
  const char unterminated[] = {'x', 'y', 'z'};
  EXPECT_EQ(TextUpToZero(unterminated, sizeof unterminated), "xyz");
  EXPECT_EQ(TextUpToZero("\0abc", 4), "");
  EXPECT_EQ(TextUpToZero(nullptr, 0), "");
  // An embedded zero ends an integer too: "12\0" + "3" is 12.
  const char number[] = {'1', '2', '\0', '3'};
  EXPECT_EQ(DecodeInteger(TextUpToZero(number, sizeof number), 0), 12);
}

}  // namespace
