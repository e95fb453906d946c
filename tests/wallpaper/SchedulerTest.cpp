#include "wallpaper/Scheduler.h"

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/core/Error.h"
#include "tests/support/Checks.h"

namespace {

using Names = std::vector<std::string>;
using testsupport::ErrorOf;

// An image list whose preview fails for "missing" entries and whose apply fails for
// "bad" ones; the preview and the entry read fail with nothing selected, as the list
// box's entry read does.
class FakeList final : public wallpaper::ChangeList {
 public:
  explicit FakeList(Names names, int index = -1) : entries(std::move(names)), selected(index) {}

  int Count() const override { return static_cast<int>(entries.size()); }
  int Selected() const override { return selected; }
  void Select(int index) override { selected = index >= 0 && index < Count() ? index : -1; }
  void Preview() override {
    const std::string& name = Entry();
    ++previews;
    if (missing.count(name)) throw platform::Error("Cannot open file \"" + name + "\". not found");
  }
  void ApplySelected() override {
    const std::string name = Entry();
    if (bad.count(name)) throw platform::Error("JPEG error #42");
    applied.push_back(name);
  }
  void DeleteSelected() override {
    if (selected < 0) return;
    entries.erase(entries.begin() + selected);
    selected = -1;
  }
  void NoticeInvalid() override { ++notices; }

  const std::string& Entry() const {
    if (selected < 0 || selected >= Count()) {
      throw platform::Error("List index out of bounds (" + std::to_string(selected) + ")");
    }
    return entries[selected];
  }

  Names entries;
  int selected;
  std::set<std::string> missing, bad;
  Names applied;
  int previews = 0;
  int notices = 0;
};

TEST(ListOrder, NextEntryWrapsAndNothingSelectedStartsAtTheFirst) {
  FakeList list({"a.bmp", "b.bmp", "c.bmp"}, 2);
  wallpaper::ChangeInListOrder(list);
  EXPECT_EQ(list.applied, Names{"a.bmp"});
  EXPECT_EQ(list.selected, 0);
  wallpaper::ChangeInListOrder(list);
  EXPECT_EQ(list.applied, (Names{"a.bmp", "b.bmp"}));

  FakeList none({"a.bmp", "b.bmp"}, -1);
  wallpaper::ChangeInListOrder(none);
  EXPECT_EQ(none.applied, Names{"a.bmp"});
}

TEST(ListOrder, OneEntryIsAppliedAgainInBothModes) {
  FakeList list({"only.jpg"}, 0);
  for (int i = 0; i < 3; ++i) wallpaper::ChangeInListOrder(list);
  for (int i = 0; i < 20; ++i) wallpaper::ChangeAtRandom(list);
  EXPECT_EQ(list.applied, Names(23, "only.jpg"));
  EXPECT_EQ(list.notices, 0);
}

TEST(ListOrder, EmptyListEndsInThePreviewErrorWithoutNotice) {
  FakeList list({});
  EXPECT_EQ(ErrorOf([&] { wallpaper::ChangeInListOrder(list); }), "List index out of bounds (-1)");
  EXPECT_EQ(ErrorOf([&] { wallpaper::ChangeAtRandom(list); }), "List index out of bounds (-1)");
  EXPECT_EQ(list.notices, 0);
}

TEST(ListOrder, FailingEntriesAreRemovedOneAfterAnotherRetryingFromTheFirst) {
  // The change starts after "b.bmp"; "c.jpg" fails, then the retry from the first entry
  // meets the failing "a.jpg" before "b.bmp" is applied.
  FakeList list({"a.jpg", "b.bmp", "c.jpg", "d.jpg"}, 1);
  list.bad = {"a.jpg", "c.jpg"};
  wallpaper::ChangeInListOrder(list);
  EXPECT_EQ(list.entries, (Names{"b.bmp", "d.jpg"}));
  EXPECT_EQ(list.applied, Names{"b.bmp"});
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(list.notices, 2);

  // When every entry fails the list runs empty, and the preview then has nothing.
  FakeList allBad({"x.jpg", "y.jpg", "z.jpg"}, 0);
  allBad.bad = {"x.jpg", "y.jpg", "z.jpg"};
  EXPECT_EQ(ErrorOf([&] { wallpaper::ChangeInListOrder(allBad); }),
            "List index out of bounds (-1)");
  EXPECT_TRUE(allBad.entries.empty());
  EXPECT_EQ(allBad.notices, 3);
}

TEST(ListOrder, FailedPreviewKeepsTheEntrySelectedAndTheNextChangeGoesOn) {
  FakeList list({"a.bmp", "b.bmp", "c.bmp"}, 0);
  list.missing = {"b.bmp"};
  EXPECT_EQ(ErrorOf([&] { wallpaper::ChangeInListOrder(list); }),
            "Cannot open file \"b.bmp\". not found");
  EXPECT_EQ(list.selected, 1);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.notices, 0);
  wallpaper::ChangeInListOrder(list);
  EXPECT_EQ(list.applied, Names{"c.bmp"});
}

TEST(ListOrder, ApplyFailingWithNothingSelectedEndsTheChange) {
  // A preview that does not object to an empty selection must not make the change loop:
  // there is no entry to remove, so the apply's error ends it.
  FakeList list({});
  struct NoPreviewCheck final : wallpaper::ChangeList {
    FakeList& inner;
    explicit NoPreviewCheck(FakeList& l) : inner(l) {}
    int Count() const override { return inner.Count(); }
    int Selected() const override { return inner.Selected(); }
    void Select(int index) override { inner.Select(index); }
    void Preview() override {
      if (++previews > 100) throw std::runtime_error("the change keeps looping");
    }
    int previews = 0;
    void ApplySelected() override { inner.Entry(); }
    void DeleteSelected() override { inner.DeleteSelected(); }
    void NoticeInvalid() override { inner.NoticeInvalid(); }
  } wrapper(list);
  EXPECT_THROW(wallpaper::ChangeInListOrder(wrapper), platform::Error);
  EXPECT_THROW(wallpaper::ChangeAtRandom(wrapper), platform::Error);
  EXPECT_EQ(list.notices, 0);
}

TEST(RandomOrder, FailingEntryIsRemovedWithoutSecondAttempt) {
  FakeList list({"bad.jpg"}, -1);
  list.bad = {"bad.jpg"};
  wallpaper::ChangeAtRandom(list);
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.notices, 1);
  EXPECT_EQ(list.previews, 1);
  EXPECT_EQ(list.selected, -1);
}

TEST(RandomOrder, PicksAreUniformOverTheList) {
  EXPECT_EQ(wallpaper::RandomIndex(0), 0);
  EXPECT_EQ(wallpaper::RandomIndex(1), 0);

  // Back-to-back picks, each seeded anew from the clock. Chi-square with 6 degrees of
  // freedom: 45 is exceeded by chance with a probability of about 5e-8, while a pick that
  // repeats for a stretch of equal seeds or favours low indices goes far beyond it.
  constexpr int kCount = 7;
  constexpr int kDraws = 70000;
  std::vector<int> counts(kCount, 0);
  for (int i = 0; i < kDraws; ++i) {
    const int index = wallpaper::RandomIndex(kCount);
    ASSERT_GE(index, 0);
    ASSERT_LT(index, kCount);
    ++counts[index];
  }
  const double expected = static_cast<double>(kDraws) / kCount;
  double chi2 = 0;
  for (int c : counts) chi2 += (c - expected) * (c - expected) / expected;
  EXPECT_LT(chi2, 45.0) << "counts: " << ::testing::PrintToString(counts);
  for (int c : counts) EXPECT_GT(c, 0);

  // Successive picks are not runs of one value (a seed that repeats within a clock tick).
  int repeats = 0;
  int last = -1;
  for (int i = 0; i < 7000; ++i) {
    const int index = wallpaper::RandomIndex(kCount);
    repeats += index == last;
    last = index;
  }
  EXPECT_LT(repeats, 1400);  // about 1000 expected
}

}  // namespace
