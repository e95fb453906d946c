#include "security/core/Scramble.h"

#include <gtest/gtest.h>

namespace {

using security::kPasswordKey;
using security::ScrambleText;
using security::UnstorablePosition;

TEST(Scramble, FirstCharacterMeetsSecondKeyCharacterAndWraps) {
  // Key "wqkzdvmrt": positions 1..8 meet q k z d v m r t, position 9 meets w, 10 meets q.
  const std::string scrambled = ScrambleText("aaaaaaaaaa", kPasswordKey);
  ASSERT_EQ(scrambled.size(), 10u);
  const char expected[] = {'a' ^ 'q', 'a' ^ 'k', 'a' ^ 'z', 'a' ^ 'd', 'a' ^ 'v',
                           'a' ^ 'm', 'a' ^ 'r', 'a' ^ 't', 'a' ^ 'w', 'a' ^ 'q'};
  EXPECT_EQ(scrambled, std::string(expected, sizeof expected));
  EXPECT_EQ(ScrambleText("", kPasswordKey), "");
  EXPECT_EQ(ScrambleText("abc", "x"), std::string({'a' ^ 'x', 'b' ^ 'x', 'c' ^ 'x'}));
}

TEST(Scramble, ScramblingTwiceGivesTheTextBack) {
  for (const std::string text :
       {"secret", "Passw0rd", "12345678", "\xE4\xF6\xFC\xDF", "a b c d e f g h i j k"}) {
    EXPECT_EQ(ScrambleText(ScrambleText(text, kPasswordKey), kPasswordKey), text);
  }
  EXPECT_EQ(ScrambleText("keep", ""), "keep");
}

TEST(Scramble, FindsTheCharacterThatWouldBeStoredAsZero) {
  EXPECT_EQ(UnstorablePosition("q", kPasswordKey), 1);
  EXPECT_EQ(UnstorablePosition("xk", kPasswordKey), 2);
  EXPECT_EQ(UnstorablePosition("abcxefgt", kPasswordKey), 8);
  EXPECT_EQ(UnstorablePosition("xkzz", kPasswordKey), 2);      // the first one counts
  EXPECT_EQ(UnstorablePosition("wqkzdvmr", kPasswordKey), 0);  // shifted by one: no match
  EXPECT_EQ(UnstorablePosition("", kPasswordKey), 0);

  // The position is exactly where the scrambled text holds its first zero.
  for (const std::string password : {"secret", "qqqq", "aktt", "hello wq", "zzzzzzzzzz"}) {
    const std::string scrambled = ScrambleText(password, kPasswordKey);
    const size_t zero = scrambled.find('\0');
    EXPECT_EQ(UnstorablePosition(password, kPasswordKey),
              zero == std::string::npos ? 0 : static_cast<int>(zero) + 1)
        << password;
  }
}

}  // namespace
