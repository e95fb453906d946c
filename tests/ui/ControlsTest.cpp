#include <gtest/gtest.h>

#include "tests/support/win/TestEnv.h"

#include <commctrl.h>
#include <windowsx.h>
#include "ui/Controls.h"
#include "ui/ListBox.h"
#include "ui/ErrorBox.h"
#include "ui/Timer.h"
#include "ui/Window.h"
#include "platform/core/Error.h"
#include "tests/support/Checks.h"

namespace {

// A hidden top-level window of ours to hold the controls.
class Host : public ui::Window {
 public:
  Host() {
    CreateHwnd(
        {.className = "TTestHost", .style = WS_POPUP, .x = 0, .y = 0, .width = 400, .height = 300});
  }
};

class ControlsTest : public ::testing::Test {
 protected:
  Host host;
};

TEST_F(ControlsTest, ListBoxPrimitives) {
  ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
  EXPECT_EQ(list.ItemIndex(), -1);
  list.Add("C:\\b.jpg");
  list.Add("C:\\a.jpg");
  list.Add("C:\\a.jpg");  // the same path twice gives two entries
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Item(1), "C:\\a.jpg");
  EXPECT_EQ(testsupport::ErrorOf([&] { list.Item(3); }), "List index out of bounds (3)");
  EXPECT_THROW(list.Item(-1), platform::Error);
  list.SetItemIndex(1);
  EXPECT_EQ(list.ItemIndex(), 1);
  list.SetItemIndex(7);  // outside: nothing selected, no error
  EXPECT_EQ(list.ItemIndex(), -1);
  list.Delete(-1);
  list.Delete(3);
  EXPECT_EQ(list.Count(), 3);
  list.Delete(0);
  EXPECT_EQ(list.Item(0), "C:\\a.jpg");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(ControlsTest, SortedModeIgnoresCaseAndKeepsTheSelectedNumber) {
  ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
  for (const char* s : {"d:\\z.bmp", "C:\\b.jpg", "c:\\A.jpg", "E:\\c.jpg"}) list.Add(s);
  list.SetItemIndex(3);
  list.SetSorted(true);
  EXPECT_EQ(list.Items(),
            (std::vector<std::string>{"c:\\A.jpg", "C:\\b.jpg", "d:\\z.bmp", "E:\\c.jpg"}));
  EXPECT_EQ(list.ItemIndex(), 3);
  EXPECT_EQ(list.Add("C:\\B.bmp"), 1);  // between "c:\A.jpg" and "C:\b.jpg"
  list.SetSorted(false);
  EXPECT_EQ(list.Add("A:\\first.jpg"), 5);  // appended again once sorting is off
}

TEST_F(ControlsTest, HorizontalScrollRangeReachesTheEndOfTheWidestEntry) {
  ui::ListBox list(host.hwnd(), {.width = 200, .height = 100});
  auto reaches = [&list](const std::string& text) {
    platform::WindowDC dc(list.hwnd());
    platform::SelectGuard font(dc.get(), GetWindowFont(list.hwnd()));
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    const LRESULT extent = ListBox_GetHorizontalExtent(list.hwnd());
    return extent >= size.cx && extent <= size.cx + 8;
  };
  const std::string path = "C:\\a.bmp", wider(200, 'W'), widest(2000, 'm');
  list.Add(path);
  EXPECT_TRUE(reaches(path));
  list.AddAll({widest, wider});  // as a list file loads
  list.SetSorted(true);          // C:\a.bmp, mmm..., WWW...
  EXPECT_TRUE(reaches(widest));
  list.Delete(1);
  EXPECT_TRUE(reaches(wider));
  list.Clear();
  EXPECT_EQ(ListBox_GetHorizontalExtent(list.hwnd()), 0);
}

TEST_F(ControlsTest, CheckBoxRunsItsClickOnlyWhenTheStateChanges) {
  ui::CheckBox box(host.hwnd(), {.caption = "x", .width = 100, .height = 20});
  int clicks = 0;
  box.onClick = [&] { ++clicks; };
  box.SetChecked(false);
  EXPECT_EQ(clicks, 0);
  box.SetChecked(true);
  box.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(box.Checked());
}

TEST_F(ControlsTest, SpinEditKeepsItsBoundsAndReportsChanges) {
  ui::SpinEdit spin(host.hwnd(), {.width = 60, .height = 22, .minValue = 1, .maxValue = 60});
  int changes = 0;
  spin.onChange = [&] { ++changes; };
  spin.SetValue(0);
  EXPECT_EQ(spin.Value(), 1);
  spin.SetValue(99);
  EXPECT_EQ(spin.Value(), 60);
  spin.SetValue(15);
  EXPECT_EQ(spin.Value(), 15);
  EXPECT_EQ(changes, 3);
  // The arrows act through the up-down control's buddy.
  EXPECT_EQ(SendMessageA(spin.upDown(), UDM_GETPOS32, 0, 0), 15);
}

TEST_F(ControlsTest, ComboIndexFromCodeRunsNothing) {
  ui::ComboBox combo(host.hwnd(),
                     {.width = 100, .height = 200, .items = {"Title", "Center", "Stretch"}});
  int changes = 0;
  combo.onChange = [&] { ++changes; };
  combo.SetItemIndex(2);
  EXPECT_EQ(combo.ItemIndex(), 2);
  combo.SetItemIndex(5);
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(changes, 0);
}

TEST_F(ControlsTest, TimerTicksAndStopsWhenDisabled) {
  ui::Timer timer(host, 30, false);
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  testenv::Pump(100);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  testenv::Pump(200);
  EXPECT_GT(ticks, 0);
  timer.SetEnabled(false);
  const int before = ticks;
  testenv::Pump(100);
  EXPECT_EQ(ticks, before);
}

TEST(ErrorBox, ReactionErrorsReachTheBoxWithItsFullStopRule) {
  testenv::ErrorBoxCapture capture;
  ui::Guarded([] { throw platform::Error("FileName not valid"); });
  ui::Guarded([] { throw platform::Error("Already a sentence."); });
  ui::Guarded(
      [] { throw platform::Error("List index out of bounds (-1)"); });  // ')' sorts before '.'
  EXPECT_EQ(capture.texts, (std::vector<std::string>{"FileName not valid.", "Already a sentence.",
                                                     "List index out of bounds (-1)"}));
}

TEST(ErrorBox, NoExceptionCrossesTheWindowProcedure) {
  testenv::ErrorBoxCapture capture;
  Host host;
  ui::Button button(host.hwnd(), {.caption = "b", .width = 50, .height = 20});
  button.onClick = [] { throw platform::Error("Boom"); };
  SendMessageA(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(capture.texts, std::vector<std::string>{"Boom."});
}

}  // namespace
