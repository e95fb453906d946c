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
  // Marks what it decodes. The edges of UTF-8 are the fuzz target's, against a reference.
  const auto legacy = [](std::string_view line) { return "8-bit:" + std::string(line); };
  EXPECT_EQ(ParseListFile("a\r\nZ\xFC\r\n\xC3\xBC\r\n\xED\xA0\x80\r\n\xF0\x9F\x8C\x85", legacy),
            (Entries{"a", "8-bit:Z\xFC", "\xC3\xBC", "8-bit:\xED\xA0\x80", "\xF0\x9F\x8C\x85"}));
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
