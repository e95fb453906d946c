// Editing the image list: removing, sorting, adding through the dialog, filling from the
// Windows directory and the system's wallpapers, and the bulk add that list files use.
#include <gtest/gtest.h>

#include <algorithm>

#include "Support.h"
#include "imagelist/FileDialogs.h"
#include "platform/Paths.h"

namespace {

using Entries = std::vector<std::string>;
using imagelisttest::Nul;

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"one.bmp", "two.bmp", "three.bmp"}) {
      testenv::WriteTestBmp(program.fixture.windowsDir.File(name), 20, 10, RGB(9, 9, 9));
    }
    program.Start();
    ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  }
  app::TForm1& form() { return program.form(); }
  std::string Win(const char* name) { return program.fixture.windowsDir.File(name); }

  imagelisttest::Program program;
};

TEST_F(ImageListTest, RemovingFollowsTheSelectionRules) {
  const Entries three{Win("one.bmp"), Win("two.bmp"), Win("three.bmp")};

  // The only entry: the list empties, nothing is previewed.
  program.Fill({Win("one.bmp")});
  form().FileList->SetItemIndex(0);
  const std::string hint = form().Image1Hint->Text();
  program.React([&] { form().removeClick(); });
  EXPECT_EQ(form().FileList->Count(), 0);
  EXPECT_EQ(program.Selected(), -1);
  EXPECT_EQ(form().Image1Hint->Text(), hint);

  // The first of three: the new first entry is selected and previewed.
  program.Fill(three);
  form().FileList->SetItemIndex(0);
  program.React([&] { form().removeClick(); });
  EXPECT_EQ(program.Entries(), (Entries{three[1], three[2]}));
  EXPECT_EQ(program.Selected(), 0);
  EXPECT_EQ(form().Image1Hint->Text(), "two.bmp\r( 20 x 10 ) pixels");

  // The last of three: the one before it.
  program.Fill(three);
  form().FileList->SetItemIndex(2);
  program.React([&] { form().removeClick(); });
  EXPECT_EQ(program.Entries(), (Entries{three[0], three[1]}));
  EXPECT_EQ(program.Selected(), 1);
  EXPECT_EQ(form().Image1Hint->Text(), "two.bmp\r( 20 x 10 ) pixels");

  // Nothing selected among three: nothing removed, the first selected and previewed.
  program.Fill(three);
  form().FileList->SetItemIndex(-1);
  program.React([&] { form().removeClick(); });
  EXPECT_EQ(program.Entries(), three);
  EXPECT_EQ(program.Selected(), 0);
  EXPECT_EQ(form().Image1Hint->Text(), "one.bmp\r( 20 x 10 ) pixels");
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(ImageListTest, SortingOnKeepsThePositionNumber) {
  program.Fill({"C:\\d.jpg", "C:\\b.jpg", "c:\\E.jpg", "C:\\a.jpg", "C:\\C.jpg"});
  form().FileList->SetItemIndex(3);
  form().SortFiles->SetChecked(true);
  EXPECT_EQ(program.Entries(),
            (Entries{"C:\\a.jpg", "C:\\b.jpg", "C:\\C.jpg", "C:\\d.jpg", "c:\\E.jpg"}));
  EXPECT_EQ(program.Selected(), 3);
  // Off again: the order stays, new entries go to the end.
  form().SortFiles->SetChecked(false);
  form().FileList->Add("C:\\0.jpg");
  EXPECT_EQ(program.Entries().back(), "C:\\0.jpg");
}

TEST_F(ImageListTest, AddDialogAddsEveryChosenFileInItsOrder) {
  program.Fill({"C:\\m.jpg"});
  const std::string dir = program.fixture.workDir.path();
  program.AnswerDialog(Nul({dir, "z.jpg", "a.bmp"}));
  program.React([&] { form().addClick(); });
  EXPECT_EQ(program.Entries(), (Entries{"C:\\m.jpg", dir + "\\z.jpg", dir + "\\a.bmp"}));

  // The same file again is a second entry; one chosen file comes as its full path.
  program.AnswerDialog(dir + "\\z.jpg");
  program.React([&] { form().addClick(); });
  const Entries twice = program.Entries();
  EXPECT_EQ(std::count(twice.begin(), twice.end(), dir + "\\z.jpg"), 2);

  // Sorted: each at its place. Cancelled: nothing.
  form().SortFiles->SetChecked(true);
  program.AnswerDialog(Nul({"C:\\", "b.jpg", "A.JPG"}));
  program.React([&] { form().addClick(); });
  const Entries entries = program.Entries();
  EXPECT_EQ(entries[0], "C:\\A.JPG");
  EXPECT_EQ(entries[1], "C:\\b.jpg");
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                             [](auto& a, auto& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }));
  program.AnswerDialog("");
  program.React([&] { form().addClick(); });
  EXPECT_EQ(program.Entries(), entries);
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(ImageListTest, AddDialogIsThePictureDialogInTheCurrentFolder) {
  testenv::TempDir elsewhere;
  SetCurrentDirectoryA(elsewhere.path().c_str());
  program.AnswerDialog("");
  program.React([&] { form().addClick(); });
  ASSERT_EQ(program.dialogs, 1);
  EXPECT_FALSE(program.askedSave);
  EXPECT_EQ(program.askedTitle, "Add image file ...");
  EXPECT_EQ(program.askedFilter, Nul({"All (*.jpg;*.bmp)", "*.jpg;*.bmp", "JPEG Image File (*.jpg)",
                                      "*.jpg", "Bitmaps (*.bmp)", "*.bmp", ""}));
  EXPECT_EQ(program.asked.nFilterIndex, 1u);
  EXPECT_EQ(program.askedInitialDir, elsewhere.path());
  const DWORD wanted = OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                       OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_DONTADDTORECENT | OFN_EXPLORER |
                       OFN_ENABLEHOOK | OFN_NOCHANGEDIR;
  EXPECT_EQ(program.asked.Flags & wanted, wanted);
  // The folder the user went to is where the next dialog opens; the current one stays.
  testenv::TempDir chosen;
  program.AnswerDialog(chosen.File("x.jpg"));
  program.React([&] { form().addClick(); });
  program.AnswerDialog("");
  program.React([&] { form().LoadFileClick(); });
  EXPECT_EQ(program.askedInitialDir, chosen.path());
  EXPECT_EQ(platform::CurrentDirectory(), elsewhere.path());
  SetCurrentDirectoryA(program.fixture.workDir.path().c_str());
}

TEST_F(ImageListTest, WindowsImagesBitmapsFirstThenSystemWallpapersByFolderNotCleared) {
  testenv::TempDir windows;
  platform::seams().windowsDirectory = [&] { return windows.path(); };
  testenv::WriteFileBytes(windows.File("b.jpg"), "x");
  testenv::WriteFileBytes(windows.File("a.bmp"), "x");
  testenv::WriteFileBytes(windows.File("c.BMP"), "x");
  testenv::WriteFileBytes(windows.File("d.jpeg"), "x");
  testenv::WriteFileBytes(windows.File("long name.bmpx"), "x");
  testenv::WriteFileBytes(windows.File("KESTROVA.bmp"), "x");  // the program's own, left out
  CreateDirectoryA(windows.File("folder.bmp").c_str(), nullptr);
  testenv::WriteFileBytes(windows.File("folder.bmp") + "\\inner.bmp", "x");
  // The system's wallpapers, as Windows 10 lays them out, made in no order.
  const std::string web = windows.File("Web"), wallpapers = web + "\\Wallpaper";
  for (const std::string& dir : {web, wallpapers, wallpapers + "\\Windows", wallpapers + "\\theme1",
                                 wallpapers + "\\theme1\\4K"})
    CreateDirectoryA(dir.c_str(), nullptr);
  const Entries system{wallpapers + "\\theme1\\img2.bmp", wallpapers + "\\theme1\\img1.jpg",
                       wallpapers + "\\theme1\\Img3.jpg", wallpapers + "\\theme1\\4K\\img1.jpg",
                       wallpapers + "\\Windows\\img0.jpg"};
  for (int i : {4, 2, 0, 3, 1}) testenv::WriteFileBytes(system[i], "x");
  testenv::WriteFileBytes(wallpapers + "\\Windows\\notes.txt", "x");
  program.Fill({"C:\\kept.jpg"});

  // Messages posted before the scan are delivered while it runs.
  int countWhenDelivered = -1;
  HWND listener =
      CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  static int* seen;
  seen = &countWhenDelivered;
  static app::TForm1* target;
  target = &form();
  SetWindowLongPtrA(listener, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                      if (m == WM_APP) *seen = target->FileList->Count();
                      return DefWindowProcA(h, m, w, l);
                    }));
  PostMessageA(listener, WM_APP, 0, 0);
  program.React([&] { form().FillWithWindowsImages(); });
  DestroyWindow(listener);

  const Entries entries = program.Entries();
  ASSERT_EQ(entries.size(), 9u);
  EXPECT_EQ(entries[0], "C:\\kept.jpg");
  Entries bitmaps{entries[1], entries[2]};
  std::sort(bitmaps.begin(), bitmaps.end());
  EXPECT_EQ(bitmaps, (Entries{windows.File("a.bmp"), windows.File("c.BMP")}));
  EXPECT_EQ(entries[3], windows.File("b.jpg"));
  EXPECT_EQ(Entries(entries.begin() + 4, entries.end()), system);
  EXPECT_GE(countWhenDelivered, 1);
  EXPECT_LT(countWhenDelivered, 4);
}

TEST_F(ImageListTest, WindowsImagesTakeTheirSortedPlacesAndTheSelectedEntryStays) {
  testenv::TempDir windows;
  platform::seams().windowsDirectory = [&] { return windows.path(); };
  // Enough files for the search to hand them over in several blocks, made in no order.
  Entries names;
  for (int i = 0; i < 400; ++i) {
    const int n = i * 37 % 400;
    names.push_back("Pic " + std::to_string(n) + (n % 3 ? ".bmp" : ".JPG"));
    testenv::WriteFileBytes(windows.File(names.back()), "x");
  }
  testenv::WriteFileBytes(windows.File("notes.txt"), "x");
  const Entries listed{"C:\\kept.jpg", windows.File("Pic 5.bmp"), "Z:\\last.bmp"};
  form().FileList->SetSorted(true);
  program.Fill(listed);
  form().FileList->SetItemIndex(1);

  program.React([&] { form().FillWithWindowsImages(); });

  // As if each file had been added on its own.
  ui::ListBox reference(form().hwnd(), {.width = 10, .height = 10});
  reference.SetSorted(true);
  for (const std::string& e : listed) reference.Add(e);
  for (const std::string& name : names) reference.Add(windows.File(name));
  const Entries entries = program.Entries();
  EXPECT_EQ(entries.size(), 403u);
  EXPECT_EQ(entries, reference.Items());
  // The listed twin comes first and stays selected.
  const int selected = program.Selected();
  ASSERT_GE(selected, 0);
  ASSERT_LT(selected + 1, static_cast<int>(entries.size()));
  EXPECT_EQ(entries[selected], windows.File("Pic 5.bmp"));
  EXPECT_EQ(entries[selected + 1], windows.File("Pic 5.bmp"));
  EXPECT_TRUE(program.Errors().empty());
}

// The bulk add used for list files gives what adding one by one gives.
TEST(ListBoxAddAll, EqualsAddingOneByOne) {
  HWND parent =
      CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ui::ListBox single(parent, {.width = 100, .height = 100});
  ui::ListBox bulk(parent, {.width = 100, .height = 100});
  const Entries listed{"C:\\b.jpg", "C:\\B.JPG", "C:\\x.jpg", "C:\\m.jpg"};
  const Entries added{"C:\\n.jpg", "c:\\b.jpg", "C:\\a.jpg", "",
                      "C:\\Z.bmp", "C:\\b.JPG", "C:\\m.jpg"};
  for (bool sorted : {false, true}) {
    single.Clear();
    bulk.Clear();
    single.SetSorted(sorted);
    bulk.SetSorted(sorted);
    for (const std::string& e : listed) {
      single.Add(e);
      bulk.Add(e);
    }
    single.SetItemIndex(2);
    bulk.SetItemIndex(2);
    const std::string selected = single.Item(2);
    for (const std::string& e : added) single.Add(e);
    bulk.AddAll(added);
    EXPECT_EQ(bulk.Items(), single.Items()) << "sorted " << sorted;
    EXPECT_EQ(bulk.ItemIndex(), single.ItemIndex()) << "sorted " << sorted;
    EXPECT_EQ(bulk.Item(bulk.ItemIndex()), selected);
  }
  DestroyWindow(parent);
}

TEST(FileDialogs, SelectionsSplitIntoFullPaths) {
  using imagelist::SplitSelection;
  const std::string one("C:\\pics\\a.jpg\0\0", 15);
  EXPECT_EQ(SplitSelection(one.data(), one.size()), Entries{"C:\\pics\\a.jpg"});
  const std::string several("C:\\pics\0a.jpg\0b c.bmp\0\0", 23);
  EXPECT_EQ(SplitSelection(several.data(), several.size()),
            (Entries{"C:\\pics\\a.jpg", "C:\\pics\\b c.bmp"}));
  const std::string root("C:\\\0a.jpg\0b.jpg\0\0", 17);
  EXPECT_EQ(SplitSelection(root.data(), root.size()), (Entries{"C:\\a.jpg", "C:\\b.jpg"}));
  const std::string none(4, '\0');
  EXPECT_TRUE(SplitSelection(none.data(), none.size()).empty());
  // Unterminated text never reads past the buffer.
  const std::string cut = "C:\\x";
  EXPECT_EQ(SplitSelection(cut.data(), cut.size()), Entries{"C:\\x"});
}

}  // namespace
