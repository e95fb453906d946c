// The change sound in the settings window: start-up, the browse button, the menu entry and
// Cancel. The device is observed at the mciSend seam.
#include <gtest/gtest.h>

#include "integration/SoundDevice.h"
#include "tests/options/OptionsSupport.h"

namespace {

using app::kSectionProgram;
namespace names = app::names;
using optionstest::Click;
using optionstest::OptionsTest;

class SoundOptions : public OptionsTest {
 protected:
  // The dialog answers with path (empty: the user cancels) and remembers what it was asked.
  void ChooseInDialog(const std::string& path) {
    platform::seams().fileDialog = [this, path](OPENFILENAMEA& ofn, bool save) {
      ++dialogs;
      asked = ofn;
      askedFilter.assign(ofn.lpstrFilter, 18);
      askedInitialDir = ofn.lpstrInitialDir ? ofn.lpstrInitialDir : "";
      askedSave = save;
      if (path.empty()) return false;
      lstrcpynA(ofn.lpstrFile, path.c_str(), static_cast<int>(ofn.nMaxFile));
      return true;
    };
  }
  void Browse() {
    form1().SoundCh->SetChecked(true);
    Click(*form1().SoundBrowse);
  }

  int dialogs = 0;
  OPENFILENAMEA asked{};
  std::string askedFilter, askedInitialDir;
  bool askedSave = true;
};

TEST_F(SoundOptions, StartOpensTheStoredFileAndShowsItsName) {
  const std::string chosen = program.workDir.File("chime.wav");
  Store(kSectionProgram, names::kSoundFileName, chosen);
  Start();
  EXPECT_TRUE(form1().Sound->IsOpen());
  EXPECT_EQ(form1().Sound->FileName(), chosen);
  EXPECT_EQ(mci.LastOpened(), chosen);
  EXPECT_EQ(form1().SoundLabel->Text(), "chime.wav");
  EXPECT_EQ(form1().SoundLabel2, chosen);
}

TEST_F(SoundOptions, DefaultSoundPlaysTheMediaFoldersNotification) {
  CreateDirectoryA(program.windowsDir.File("Media").c_str(), nullptr);
  const std::string notify = program.windowsDir.File("Media\\Windows Notify.wav");
  program.windowsDir.Write("Media\\Windows Notify.wav", "RIFF");
  Start();
  EXPECT_TRUE(form1().Sound->IsOpen());
  EXPECT_EQ(form1().Sound->FileName(), notify);
  EXPECT_EQ(form1().SoundLabel->Text(), app::kDefaultSound);
  EXPECT_EQ(form1().SoundLabel2, app::kDefaultSound);
}

TEST_F(SoundOptions, StoredFileThatCannotBeOpenedIsPassedOverSilently) {
  const std::string broken = program.workDir.File("broken.wav");
  Store(kSectionProgram, names::kSoundFileName, broken);
  mci.refused = {broken};
  Start();
  EXPECT_FALSE(form1().Sound->IsOpen());
  EXPECT_EQ(form1().SoundLabel->Text(), "broken.wav");
  EXPECT_TRUE(program.errors.texts.empty());
}

TEST_F(SoundOptions, BrowseTakesTheChosenFileAndCancelChangesNothing) {
  Start();
  const std::string chosen = program.workDir.File("bell.wav");
  ChooseInDialog(chosen);
  Browse();
  ASSERT_EQ(dialogs, 1);
  EXPECT_FALSE(askedSave);
  EXPECT_EQ(askedFilter, std::string("wave files\0*.wav\0\0", 18));
  EXPECT_EQ(askedInitialDir, program.workDir.path());
  const DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLESIZING;
  EXPECT_EQ(asked.Flags & flags, flags);
  EXPECT_EQ(form1().SoundLabel2, chosen);
  EXPECT_EQ(form1().SoundLabel->Text(), "bell.wav");
  EXPECT_TRUE(form1().Sound->IsOpen());
  EXPECT_EQ(form1().Sound->FileName(), chosen);

  mci.calls.clear();
  ChooseInDialog("");
  Browse();
  EXPECT_EQ(dialogs, 2);
  EXPECT_TRUE(mci.calls.empty());
  EXPECT_TRUE(form1().Sound->IsOpen());
  EXPECT_EQ(form1().SoundLabel2, chosen);
  EXPECT_EQ(form1().SoundLabel->Text(), "bell.wav");
  // Nothing is stored before Done.
  EXPECT_EQ(Stored(kSectionProgram, names::kSoundFileName), "<absent>");
}

TEST_F(SoundOptions, BrowseToAnUnplayableFileReportsOnceAndChangesStaySilent) {
  Start();
  const std::string bad = program.workDir.File("noise.wav");
  mci.refused = {bad};
  mci.openError = MCIERR_INVALID_FILE;
  ChooseInDialog(bad);
  Browse();
  ASSERT_EQ(program.errors.texts.size(), 1u);
  EXPECT_NE(program.errors.texts[0].find(' '), std::string::npos);  // the interface's text
  EXPECT_FALSE(form1().Sound->IsOpen());
  // The labels keep the choice, so the next Done stores it.
  EXPECT_EQ(form1().SoundLabel2, bad);
  EXPECT_EQ(form1().SoundLabel->Text(), "noise.wav");

  // Later changes with the sound on: no report and no play request.
  form1().ChangePopClick();
  form1().ChangePopClick();
  EXPECT_EQ(program.errors.texts.size(), 1u);
  EXPECT_EQ(mci.Count(MCI_PLAY), 0);
}

TEST_F(SoundOptions, MenuEntryFlipsTheBoxAndTheButtonAndEntryFollow) {
  Start();
  app::TForm1& f = form1();
  ASSERT_FALSE(f.SoundCh->Checked());
  f.SoundPopClick();
  EXPECT_TRUE(f.SoundCh->Checked());
  EXPECT_TRUE(f.SoundBrowse->Enabled());
  EXPECT_EQ(f.PopupMenu1->Caption(f.SoundPop), "Disable Sound");
  EXPECT_EQ(f.PopupMenu1->ImageIndex(f.SoundPop), app::menuimage::kSoundOn);
  f.SoundPopClick();
  EXPECT_FALSE(f.SoundCh->Checked());
  EXPECT_FALSE(f.SoundBrowse->Enabled());
  EXPECT_EQ(f.PopupMenu1->Caption(f.SoundPop), "Enable Sound");
  EXPECT_EQ(f.PopupMenu1->ImageIndex(f.SoundPop), app::menuimage::kSoundOff);
  EXPECT_EQ(Stored(kSectionProgram, names::kUseSound), "<absent>");
}

TEST_F(SoundOptions, CancelPutsTheLabelAndTheDeviceBackToTheStoredSound) {
  const std::string stored = program.workDir.File("stored.wav");
  Store(kSectionProgram, names::kSoundFileName, stored);
  Store(kSectionProgram, names::kUseSound, "1");
  Start();
  ChooseInDialog(program.workDir.File("other.wav"));
  Browse();
  ASSERT_EQ(form1().Sound->FileName(), program.workDir.File("other.wav"));

  form1().BtCancelClick();
  EXPECT_EQ(form1().SoundLabel2, stored);
  EXPECT_EQ(form1().SoundLabel->Text(), "stored.wav");
  EXPECT_EQ(form1().Sound->FileName(), stored);
  EXPECT_TRUE(form1().Sound->IsOpen());
  EXPECT_EQ(mci.openDevices.size(), 1u);

  // Back to the marker: the default sound (none in this Windows directory) and its label.
  ChooseInDialog(program.workDir.File("other.wav"));
  Browse();
  Store(kSectionProgram, names::kSoundFileName, app::kDefaultSound);
  form1().BtCancelClick();
  EXPECT_EQ(form1().SoundLabel->Text(), app::kDefaultSound);
  EXPECT_FALSE(form1().Sound->IsOpen());
}

}  // namespace
