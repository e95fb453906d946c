// List files: saving, loading with the test of the first entry, the default list at start,
// and the write at Exit.
#include <gtest/gtest.h>

#include "Support.h"
#include "app/Unit3.h"
#include "platform/Paths.h"

namespace {

using Entries = std::vector<std::string>;
using imagelisttest::Nul;
using testenv::kProgramSection;

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testenv::WriteTestBmp(program.fixture.windowsDir.File("win1.bmp"), 16, 16, RGB(1, 1, 1));
    testenv::WriteTestJpeg(program.fixture.windowsDir.File("win2.jpg"), 16, 16, RGB(1, 1, 1));
    testenv::WriteTestBmp(File("pic.bmp"), 32, 24, RGB(200, 0, 0));
  }
  void Start() {
    program.Start();
    ASSERT_TRUE(program.Errors().empty()) << program.Errors()[0];
  }
  app::TForm1& form() { return program.form(); }
  std::string File(const std::string& name) { return program.fixture.workDir.File(name); }
  Entries WindowsImages() {
    return {program.fixture.windowsDir.File("win1.bmp"),
            program.fixture.windowsDir.File("win2.jpg")};
  }
  void Fill(const Entries& entries) {
    form().FileList->Clear();
    for (const std::string& e : entries) form().FileList->Add(e);
  }
  void Save(const std::string& path) {
    program.AnswerDialog(path);
    program.React([&] { form().SaveFileClick(); });
  }
  void Load(const std::string& path) {
    program.AnswerDialog(path);
    program.React([&] { form().LoadFileClick(); });
  }
  std::string NoticeCaption() { return program.fixture.form3().Text(); }
  std::string NoticeText() { return program.fixture.form3().Memo1->Text(); }

  imagelisttest::Program program;
};

TEST_F(ListFileTest, SaveWritesCrLfLinesAndMakesTheFileCurrent) {
  Start();
  form().TimedChange->SetEnabled(true);
  Fill({"C:\\a.jpg", "C:\\b.bmp", "D:\\x y\\c.jpg"});
  form().FileList->SetItemIndex(2);
  Save(File("three.kvl"));
  EXPECT_EQ(testenv::ReadFileBytes(File("three.kvl")),
            "C:\\a.jpg\r\nC:\\b.bmp\r\nD:\\x y\\c.jpg\r\n");
  EXPECT_EQ(form().ListFileName, File("three.kvl"));
  EXPECT_EQ(program.Selected(), 0);
  EXPECT_FALSE(form().TimedChange->Enabled());
  EXPECT_EQ(program.askedFilter, Nul({"Kestrova Listflies", "*.kvl", ""}));
  EXPECT_EQ(program.askedDefExt, "kvl");
  EXPECT_TRUE(program.askedSave);
  EXPECT_EQ(program.askedInitialDir, program.fixture.workDir.path());
  EXPECT_EQ(program.asked.Flags & (OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR),
            static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR));

  // An empty list is a file of zero bytes; nothing is selected.
  form().FileList->Clear();
  Save(File("three.kvl"));
  EXPECT_EQ(testenv::ReadFileBytes(File("three.kvl")), "");
  EXPECT_EQ(program.Selected(), -1);

  // Cancelled: nothing changes.
  Fill({"C:\\z.jpg"});
  Save("");
  EXPECT_EQ(testenv::ReadFileBytes(File("three.kvl")), "");
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(ListFileTest, FailedSaveLeavesTheOldFileByteForByte) {
  Start();
  const std::string current = form().ListFileName;
  const std::string old = "C:\\old.jpg\r\nC:\\older.bmp\r\n";
  testenv::WriteFileBytes(File("locked.kvl"), old);
  {
    // Another program holds the file open and does not let it be replaced.
    platform::UniqueFile holder(CreateFileA(File("locked.kvl").c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Fill({"C:\\new.jpg"});
    Save(File("locked.kvl"));
  }
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_EQ(program.Errors()[0].rfind("Cannot create file \"" + File("locked.kvl") + "\". ", 0), 0u)
      << program.Errors()[0];
  EXPECT_EQ(testenv::ReadFileBytes(File("locked.kvl")), old);
  EXPECT_EQ(form().ListFileName, current);

  // A folder that does not exist: the same error, nothing left behind.
  Save(File("nowhere\\list.kvl"));
  ASSERT_EQ(program.Errors().size(), 2u);
  EXPECT_EQ(program.Errors()[1].rfind("Cannot create file \"" + File("nowhere\\list.kvl"), 0), 0u);
  EXPECT_EQ(form().ListFileName, current);
}

TEST_F(ListFileTest, LoadReadsEveryLineEndAndKeepsLinesExactly) {
  Start();
  const std::string pic = File("pic.bmp");
  struct Case {
    std::string bytes;
    Entries entries;
  };
  const Case cases[] = {
      {pic + "\nC:\\b.bmp\nD:\\x y\\c.jpg\n", {pic, "C:\\b.bmp", "D:\\x y\\c.jpg"}},  // LF only
      {pic + "\r\nC:\\b.bmp\rD:\\x y\\c.jpg", {pic, "C:\\b.bmp", "D:\\x y\\c.jpg"}},  // unended
      {pic + "\r\n\r\n  C:\\b.bmp \r\n", {pic, "", "  C:\\b.bmp "}},  // empty line, blanks
      {pic + "\r\nC:\\b.bmp" + std::string(1, '\0') + "C:\\hidden.jpg\r\n", {pic, "C:\\b.bmp"}},
  };
  for (const Case& c : cases) {
    testenv::WriteFileBytes(File("case.kvl"), c.bytes);
    Load(File("case.kvl"));
    EXPECT_EQ(program.Entries(), c.entries);
  }
  EXPECT_TRUE(program.Errors().empty());
  EXPECT_FALSE(program.fixture.form3().Visible());  // every test passed
}

TEST_F(ListFileTest, SuccessfulLoadSelectsTheFirstAndMakesTheFileCurrent) {
  Start();
  form().TimedChange->SetEnabled(true);
  // Only the first entry is tested; a JPEG only up to its header.
  testenv::WriteTestJpeg(File("first.jpg"), 300, 200, RGB(5, 5, 5));
  std::string jpeg = testenv::ReadFileBytes(File("first.jpg"));
  jpeg.resize(jpeg.size() * 2 / 3);
  testenv::WriteFileBytes(File("first.jpg"), jpeg);
  testenv::WriteFileBytes(File("good.kvl"), File("first.jpg") + "\r\nC:\\missing.jpg\r\n");
  Load(File("good.kvl"));
  EXPECT_EQ(program.Entries(), (Entries{File("first.jpg"), "C:\\missing.jpg"}));
  EXPECT_EQ(program.Selected(), 0);
  EXPECT_EQ(form().ListFileName, File("good.kvl"));
  EXPECT_FALSE(form().TimedChange->Enabled());
  EXPECT_TRUE(program.Errors().empty());
  EXPECT_EQ(program.askedFilter, Nul({" Kestrova Listfiles", "*.kvl", ""}));
  EXPECT_EQ(program.askedDefExt, "");
  EXPECT_FALSE(program.askedSave);
  EXPECT_EQ(program.asked.Flags & OFN_FILEMUSTEXIST, 0u);
}

TEST_F(ListFileTest, FailedTestFallsBackToTheWindowsImagesWithoutCurrentFile) {
  Start();
  const std::string previous = form().ListFileName;
  const std::string previousBytes = testenv::ReadFileBytes(previous);
  testenv::WriteFileBytes(File("empty.kvl"), "");
  testenv::WriteFileBytes(File("text.kvl"), "C:\\notes.txt\r\n" + File("pic.bmp") + "\r\n");
  testenv::WriteFileBytes(File("blank.kvl"), "\r\n\r\n");
  for (const char* name : {"empty.kvl", "text.kvl", "blank.kvl"}) {
    Fill({File("pic.bmp")});
    Load(File(name));
    EXPECT_EQ(NoticeCaption(), "Not a valid .kvl-file") << name;
    EXPECT_EQ(NoticeText(), "Try to load a different filelist") << name;
    EXPECT_TRUE(program.fixture.form3().bt2->Visible());
    EXPECT_EQ(form().ListFileName, "ListFileName") << name;
    EXPECT_EQ(program.Entries(), WindowsImages()) << name;
    EXPECT_EQ(program.Selected(), 0) << name;
    EXPECT_EQ(form().Image1Hint->Text(), "win1.bmp\r( 16 x 16 ) pixels") << name;
    EXPECT_FALSE(form().TimedChange->Enabled());
  }
  EXPECT_TRUE(program.Errors().empty());

  // With no current list file, Exit stores the marker and writes no list anywhere: not a
  // file named after the marker, not over the list that was current before.
  EXPECT_EQ(form().SaveForExit().at(0).rfind("Your imagelist is not saved: no list file", 0), 0u);
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, "FileListSource"), "ListFileName");
  EXPECT_FALSE(platform::PathExists(File("ListFileName")));
  EXPECT_EQ(testenv::ReadFileBytes(previous), previousBytes);
}

TEST_F(ListFileTest, UnreadableFileIsReportedAndChangesNothing) {
  Start();
  Fill({"C:\\a.jpg", "C:\\b.jpg"});
  form().FileList->SetItemIndex(1);
  const std::string current = form().ListFileName;
  Load(File("no such list.kvl"));
  ASSERT_EQ(program.Errors().size(), 1u);
  EXPECT_EQ(program.Errors()[0].rfind("Cannot open file \"" + File("no such list.kvl") + "\". ", 0),
            0u)
      << program.Errors()[0];
  EXPECT_EQ(program.Entries(), (Entries{"C:\\a.jpg", "C:\\b.jpg"}));
  EXPECT_EQ(program.Selected(), 1);
  EXPECT_EQ(form().ListFileName, current);
  EXPECT_FALSE(program.fixture.form3().Visible());
}

TEST_F(ListFileTest, SortedListLoadsAndSavesInSortedOrder) {
  Start();
  form().SortFiles->SetChecked(true);
  // The picture (on drive C) sorts first, so the test of entry 0 passes.
  const std::string pic = File("pic.bmp");
  ASSERT_EQ(pic.rfind("C:\\", 0), 0u) << pic;
  testenv::WriteFileBytes(File("mixed.kvl"),
                          "E:\\z.jpg\r\nd:\\B.jpg\r\n" + pic + "\r\nD:\\a.jpg\r\n");
  Load(File("mixed.kvl"));
  const Entries sorted{pic, "D:\\a.jpg", "d:\\B.jpg", "E:\\z.jpg"};
  EXPECT_EQ(program.Entries(), sorted);
  EXPECT_EQ(form().ListFileName, File("mixed.kvl"));
  Save(File("sorted.kvl"));
  EXPECT_EQ(testenv::ReadFileBytes(File("sorted.kvl")),
            pic + "\r\nD:\\a.jpg\r\nd:\\B.jpg\r\nE:\\z.jpg\r\n");
  EXPECT_TRUE(program.Errors().empty());
}

TEST_F(ListFileTest, FirstStartBuildsTheDefaultListFromTheWindowsDirectory) {
  Start();
  const std::string path = File("default.kvl");
  EXPECT_EQ(form().ListFileName, path);
  EXPECT_EQ(program.Entries(), WindowsImages());
  EXPECT_EQ(testenv::ReadFileBytes(path),
            WindowsImages()[0] + "\r\n" + WindowsImages()[1] + "\r\n");
  EXPECT_EQ(program.Selected(), 0);
  EXPECT_EQ(form().Image1Hint->Text(), "win1.bmp\r( 16 x 16 ) pixels");
  EXPECT_FALSE(program.fixture.form3().Visible());
  form().SaveForExit();
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, "FileListSource"), path);
}

TEST_F(ListFileTest, MissingStoredListGivesWindowsImagesAndIsWrittenAtExit) {
  const std::string stored = File("gone.kvl");
  program.fixture.registry.WriteText(kProgramSection, "FileListSource", stored);
  Start();
  EXPECT_EQ(program.Entries(), WindowsImages());
  EXPECT_EQ(NoticeCaption(), "Unable to load File(s) List");
  EXPECT_EQ(NoticeText().rfind("It accurs to be some kind of problem, we are verry sorry", 0), 0u);
  EXPECT_EQ(form().ListFileName, stored);
  EXPECT_FALSE(platform::PathExists(File("default.kvl")));
  form().SaveForExit();
  EXPECT_EQ(testenv::ReadFileBytes(stored),
            WindowsImages()[0] + "\r\n" + WindowsImages()[1] + "\r\n");
}

TEST_F(ListFileTest, StoredListThatIsThereButUnreadableIsNotOverwritten) {
  const std::string stored = File("mine.kvl");
  const std::string mine = "C:\\mine.jpg\r\n";
  testenv::WriteFileBytes(stored, mine);
  program.fixture.registry.WriteText(kProgramSection, "FileListSource", stored);
  {
    // Locked by another program while the list is read at start.
    platform::UniqueFile lock(
        CreateFileA(stored.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    Start();
  }
  EXPECT_EQ(NoticeCaption(), "Unable to load File(s) List");
  EXPECT_EQ(program.Entries(), WindowsImages());
  EXPECT_EQ(form().ListFileName, stored);
  form().SaveForExit();
  EXPECT_EQ(testenv::ReadFileBytes(stored), mine);
  EXPECT_EQ(program.fixture.registry.ReadText(kProgramSection, "FileListSource"), stored);
  // Saved there on purpose, it is written as any list file.
  Save(stored);
  EXPECT_EQ(testenv::ReadFileBytes(stored),
            WindowsImages()[0] + "\r\n" + WindowsImages()[1] + "\r\n");
}

TEST_F(ListFileTest, NamesThatLostCharactersAreNeverWrittenBack) {
  if (GetACP() == CP_UTF8) GTEST_SKIP();  // without the manifest: as before Windows 10 1903
  const std::string mine = File("pic.bmp") + "\r\nC:\\\xE6\x97\xA5.bmp\r\n";
  testenv::WriteFileBytes(File("mine.kvl"), mine);
  Start();
  Load(File("mine.kvl"));
  EXPECT_EQ(form().SaveForExit().size(), 1u);
  EXPECT_TRUE(form().SaveForExit().empty());  // said once
  Save(File("mine.kvl"));
  EXPECT_EQ(testenv::ReadFileBytes(File("mine.kvl")), mine);
}

TEST_F(ListFileTest, StoredListLoadsSortedAndRestoresTheSelection) {
  const std::string stored = File("mine.kvl");
  testenv::WriteFileBytes(stored, "C:\\z.jpg\r\n" + File("pic.bmp") + "\r\nC:\\a.jpg\r\n");
  program.fixture.registry.WriteText(kProgramSection, "FileListSource", stored);
  program.fixture.registry.WriteText(kProgramSection, "FileListSorted", "1");
  program.fixture.registry.WriteText(kProgramSection, "ItemIndex", "1");
  Start();
  const Entries entries = program.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "C:\\a.jpg");
  EXPECT_EQ(program.Selected(), 1);
  EXPECT_EQ(entries[1], File("pic.bmp"));
  EXPECT_EQ(form().Image1Hint->Text(), "pic.bmp\r( 32 x 24 ) pixels");
}

}  // namespace
