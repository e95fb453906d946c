#include "imagelist/core/ListFileCodec.h"

#include <gtest/gtest.h>

namespace {

using imagelist::ParseListFile;
using imagelist::SerializeListFile;
using Entries = std::vector<std::string>;

TEST(ListFile, WritesEveryLineWithCrLf) {
  EXPECT_EQ(SerializeListFile({"C:\\a.jpg", "C:\\b.bmp", "D:\\x y\\c.jpg"}),
            "C:\\a.jpg\r\nC:\\b.bmp\r\nD:\\x y\\c.jpg\r\n");
  EXPECT_EQ(SerializeListFile({}), "");
  EXPECT_EQ(SerializeListFile({""}), "\r\n");
}

TEST(ListFile, ReadsEveryKindOfLineEnd) {
  const Entries three{"C:\\a.jpg", "C:\\b.bmp", "D:\\x y\\c.jpg"};
  EXPECT_EQ(ParseListFile("C:\\a.jpg\r\nC:\\b.bmp\r\nD:\\x y\\c.jpg\r\n"), three);
  EXPECT_EQ(ParseListFile("C:\\a.jpg\nC:\\b.bmp\nD:\\x y\\c.jpg\n"), three);
  EXPECT_EQ(ParseListFile("C:\\a.jpg\rC:\\b.bmp\rD:\\x y\\c.jpg\r"), three);
  EXPECT_EQ(ParseListFile("C:\\a.jpg\r\nC:\\b.bmp\nD:\\x y\\c.jpg"), three);  // unterminated
  EXPECT_EQ(ParseListFile(""), Entries{});
}

TEST(ListFile, KeepsLinesExactly) {
  EXPECT_EQ(ParseListFile("a\r\n\r\nb\r\n"), (Entries{"a", "", "b"}));
  EXPECT_EQ(ParseListFile("  C:\\a b.jpg \t\r\n"), Entries{"  C:\\a b.jpg \t"});
  EXPECT_EQ(ParseListFile("a\r\r\nb"), (Entries{"a", "", "b"}));  // CR, then CR LF
  EXPECT_EQ(ParseListFile("a\n\rb"), (Entries{"a", "", "b"}));    // LF, then CR
  EXPECT_EQ(ParseListFile("\r\n"), Entries{""});
  EXPECT_EQ(ParseListFile("a\r\n\r\n"), (Entries{"a", ""}));
}

TEST(ListFile, ZeroByteEndsTheText) {
  using namespace std::string_view_literals;
  EXPECT_EQ(ParseListFile("a\r\nb\0c\r\nd\r\n"sv), (Entries{"a", "b"}));
  EXPECT_EQ(ParseListFile("\0a\r\n"sv), Entries{});
}

TEST(ListFile, SkipsAByteOrderMarkAtTheStartOnly) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(ParseListFile(bom + "C:\\a.jpg\r\nC:\\b.bmp\r\n"), (Entries{"C:\\a.jpg", "C:\\b.bmp"}));
  EXPECT_EQ(ParseListFile(bom), Entries{});
  EXPECT_EQ(ParseListFile("a\r\n" + bom + "b"), (Entries{"a", bom + "b"}));
}

TEST(ListFile, DecodesEachLineThatIsNotUtf8) {
  // Marks the line it was given, so that the test sees which lines went through it.
  const imagelist::LegacyLineDecoder legacy = [](std::string_view line) {
    return "legacy:" + std::string(line);
  };
  // UTF-8 at the edges of its ranges, one sequence a line.
  const std::string utf8 =
      "C:\\\xC3\x96l.jpg\n\xC2\x80\n\xE0\xA0\x80\n\xED\x9F\xBF\n\xEE\x80\x80\n\xF0\x90\x80\x80\n"
      "\xF0\x9F\x8C\x85\n\xF4\x8F\xBF\xBF\n";
  EXPECT_EQ(ParseListFile(utf8, legacy), ParseListFile(utf8));
  // Windows-1252; overlong forms; surrogates; past U+10FFFF; cut short; stray bytes.
  const std::string eightBit =
      "C:\\Z\xFCrich.bmp\n\xC0\xAF\n\xC1\xBF\n\xE0\x9F\xBF\n\xF0\x8F\xBF\xBF\n\xED\xA0\x80\n"
      "\xED\xBF\xBF\n\xF4\x90\x80\x80\n\xF5\x80\x80\x80\n\xE5\xA4\n\xC3\n\xF0\x9F\x8C\n\x80\n"
      "\xC3\x28\n\xF8\x88\x80\x80\x80\n";
  for (const std::string& line : ParseListFile(eightBit)) {
    EXPECT_EQ(ParseListFile(line, legacy), Entries{"legacy:" + line}) << line;
  }
  EXPECT_EQ(ParseListFile("a\r\nZ\xFC\r\n\xC3\xBC\r\n", legacy),
            (Entries{"a", "legacy:Z\xFC", "\xC3\xBC"}));
}

TEST(ListFile, LargeListsRoundTrip) {
  Entries entries;
  for (int i = 0; i < 100000; ++i) {
    entries.push_back(i % 1000 == 0 ? std::string()
                                    : "C:\\Pictures\\holiday " + std::to_string(i) + ".jpg");
  }
  const std::string bytes = SerializeListFile(entries);
  EXPECT_EQ(ParseListFile(bytes), entries);
}

}  // namespace
