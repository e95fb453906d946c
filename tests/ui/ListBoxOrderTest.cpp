// The bulk paths of the sorted list box (AddAll, SetSorted) sort through sort keys, Add
// inserts one entry through the comparison itself: both must give the same order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/ListBox.h"
#include "ui/Window.h"

namespace {

using Texts = std::vector<std::string>;

class Host : public ui::Window {
 public:
  Host() {
    CreateHwnd({.className = "TOrderTestHost",
                .style = WS_POPUP,
                .x = 0,
                .y = 0,
                .width = 400,
                .height = 300});
  }
};

// Texts the case-ignoring word sort treats specially: case-only and exact duplicates (ties),
// hyphens and apostrophes (weighed apart from other punctuation), digits, spaces, accented
// Latin-1 letters, long paths, texts that begin others, and the empty text.
Texts CollationTexts() {
  std::string deep = "C:\\Users\\Public\\Pictures";
  for (int i = 0; i < 24; ++i) deep += "\\Folder " + std::to_string(i);
  return {"a.bmp",
          "b.BMP",
          "A.bmp",
          "B.bmp",
          "a.bmp",
          "b.bmp",
          "co-op.jpg",
          "coop.jpg",
          "co'op.jpg",
          "Co-op.JPG",
          "c-o.jpg",
          "-.jpg",
          "'.jpg",
          "a-b",
          "ab",
          "a'b",
          "a b",
          "C:\\Pictures\\10.jpg",
          "C:\\Pictures\\9.jpg",
          "C:\\Pictures\\1 0.jpg",
          "C:\\Pictures\\ 10.jpg",
          "C:\\Pictures\\0010.jpg",
          "C:\\Pictures",
          "C:\\Pictures\\",
          "C:\\Pictures-old\\a.jpg",
          "C:\\Pictures old\\a.jpg",
          "caf\xE9.bmp",
          "CAF\xC9.bmp",
          "cafe.bmp",
          "caf\xE8.bmp",
          "\xE9t\xE9.jpg",
          "ete.jpg",
          "\xC5ngstr\xF6m.jpg",
          "zeta.jpg",
          "Z\xFC"
          "rich.bmp",
          deep + "\\x.jpg",
          deep + "\\X.JPG",
          deep,
          "",
          "~.jpg",
          "_a.jpg"};
}

class ListBoxOrderTest : public ::testing::Test {
 protected:
  // A sorted list box filled by Add, one text after the other.
  Texts AddedOneByOne(const Texts& listed, const Texts& added) {
    ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
    list.SetSorted(true);
    for (const std::string& text : listed) list.Add(text);
    for (const std::string& text : added) list.Add(text);
    return list.Items();
  }
  Host host;
};

TEST_F(ListBoxOrderTest, AddAllIntoAnEmptyListGivesTheOrderOfAdd) {
  Texts texts = CollationTexts();
  for (int round = 0; round < 3; ++round) {
    ui::ListBox bulk(host.hwnd(), {.width = 200, .height = 100});
    bulk.SetSorted(true);
    bulk.AddAll(texts);
    const Texts expected = AddedOneByOne({}, texts);
    EXPECT_EQ(bulk.Items(), expected) << "round " << round;
    // The ties in another order of arrival.
    if (round == 0) std::reverse(texts.begin(), texts.end());
    if (round == 1) std::rotate(texts.begin(), texts.begin() + 7, texts.end());
  }
}

TEST_F(ListBoxOrderTest, AddAllIntoAListedListMergesAsAddAndKeepsTheSelectedEntry) {
  const Texts texts = CollationTexts();
  for (size_t split : {size_t{1}, texts.size() / 3, texts.size() - 2}) {
    const Texts listed(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(split));
    Texts added(texts.begin() + static_cast<std::ptrdiff_t>(split), texts.end());
    // The added ones again in part: texts equal to listed ones go after them.
    added.insert(added.end(), listed.begin(), listed.end());
    ui::ListBox bulk(host.hwnd(), {.width = 200, .height = 100});
    bulk.SetSorted(true);
    for (const std::string& text : listed) bulk.Add(text);
    const int selected = static_cast<int>(split / 2);
    bulk.SetItemIndex(selected);
    const std::string selectedText = bulk.Item(selected);
    const Texts before = bulk.Items();

    bulk.AddAll(added);

    const Texts expected = AddedOneByOne(listed, added);
    EXPECT_EQ(bulk.Items(), expected) << "split " << split;
    // The same entry stays selected: as many entries equal to it before it as before.
    ASSERT_GE(bulk.ItemIndex(), 0);
    EXPECT_EQ(bulk.Item(bulk.ItemIndex()), selectedText);
    const auto rank = [](const Texts& list, int upTo, const std::string& text) {
      return std::count(list.begin(), list.begin() + upTo, text);
    };
    const Texts after = bulk.Items();
    EXPECT_EQ(rank(after, bulk.ItemIndex(), selectedText), rank(before, selected, selectedText));
  }
}

TEST_F(ListBoxOrderTest, SetSortedGivesTheOrderOfAddAndKeepsTheSelectedNumber) {
  Texts texts = CollationTexts();
  std::reverse(texts.begin(), texts.end());
  ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
  for (const std::string& text : texts) list.Add(text);
  ASSERT_EQ(list.Items(), texts);  // unsorted: in the order added
  list.SetItemIndex(5);
  list.SetSorted(true);
  EXPECT_EQ(list.Items(), AddedOneByOne({}, texts));
  EXPECT_EQ(list.ItemIndex(), 5);
  // Off and on again over a sorted list changes nothing.
  list.SetSorted(false);
  list.SetSorted(true);
  EXPECT_EQ(list.Items(), AddedOneByOne({}, texts));
}

TEST_F(ListBoxOrderTest, UnsortedAddAllAppendsInTheGivenOrder) {
  ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
  list.Add("z.jpg");
  list.SetItemIndex(0);
  const Texts texts = CollationTexts();
  list.AddAll(texts);
  Texts expected{"z.jpg"};
  expected.insert(expected.end(), texts.begin(), texts.end());
  EXPECT_EQ(list.Items(), expected);
  EXPECT_EQ(list.ItemIndex(), 0);
}

}  // namespace
