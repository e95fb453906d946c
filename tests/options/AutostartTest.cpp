// The autostart box and the Run value.
#include <gtest/gtest.h>

#include "integration/Autostart.h"
#include "tests/options/OptionsSupport.h"

namespace {

using integration::kRunKeyPath;
using integration::kRunValueName;
using optionstest::MouseClick;
using optionstest::OptionsTest;

constexpr char kInformation[] = "Important Information";
constexpr char kRestrictions[] = "System Restrictions";

class Autostart : public OptionsTest {
 protected:
  void SetUp() override {
    program.registry.WriteText(kRunKeyPath, "Other", "C:\\other.exe");
    SetExecutable("C:\\Program Files\\Papershift 7\\Papershift7.exe");
  }
  void TearDown() override { AllowWrites(); }
  void AllowWrites() { program.registry.SetReadOnly(kRunKeyPath, false); }
  void SetExecutable(const std::string& path) {
    platform::seams().executablePath = [path] { return path; };
  }
  std::string RunValue() const { return program.registry.ReadText(kRunKeyPath, kRunValueName); }
  // The caption of the notice shown since the last call ("" for none).
  std::string Notice() {
    if (!form3().Visible()) return "";
    const std::string caption = form3().Text();
    form3().Hide();
    return caption;
  }
  // The Run key lets itself be read only; the settings go on being written.
  void RefuseWrites() { program.registry.SetReadOnly(kRunKeyPath, true); }
};

TEST_F(Autostart, TickingWritesThePathQuotedOnlyWhenItHasASpace) {
  Start();
  app::TForm1& f = form1();
  ASSERT_FALSE(f.StartChangeCh->Visible());
  MouseClick(*f.autostart);
  EXPECT_TRUE(f.autostart->Checked());
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
  EXPECT_EQ(program.registry.ValueType(kRunKeyPath, kRunValueName), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Notice(), kInformation);
  EXPECT_NE(form3().Memo1->Text().find("reply: \"yes\"!"), std::string::npos);
  EXPECT_TRUE(f.StartChangeCh->Visible());

  MouseClick(*f.autostart);
  SetExecutable("C:\\Tools\\Papershift7.exe");
  MouseClick(*f.autostart);
  EXPECT_EQ(RunValue(), "C:\\Tools\\Papershift7.exe");
  EXPECT_EQ(program.registry.ReadText(kRunKeyPath, "Other"), "C:\\other.exe");
}

TEST_F(Autostart, UntickingWritesEmptyTextAndKeepsTheValue) {
  Store(app::kSectionProgram, app::names::kAutoStart, "1");
  program.registry.WriteText(kRunKeyPath, kRunValueName,
                             "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
  Start();
  app::TForm1& f = form1();
  ASSERT_TRUE(f.autostart->Checked());
  ASSERT_TRUE(f.StartChangeCh->Visible());
  MouseClick(*f.autostart);
  EXPECT_FALSE(f.autostart->Checked());
  EXPECT_TRUE(program.registry.ValueExists(kRunKeyPath, kRunValueName));
  EXPECT_EQ(RunValue(), "");
  EXPECT_EQ(Notice(), kInformation);
  EXPECT_FALSE(f.StartChangeCh->Visible());

  // A release that does not toggle the box applies its state again.
  MouseClick(*f.autostart, /*rightButton=*/true);
  EXPECT_FALSE(f.autostart->Checked());
  EXPECT_EQ(Notice(), kInformation);
}

TEST_F(Autostart, KeyboardToggleWritesTheRunValueAsAClickDoes) {
  Start();
  optionstest::KeyToggle(*form1().autostart);
  EXPECT_TRUE(form1().autostart->Checked());
  EXPECT_EQ(Notice(), kInformation);
  optionstest::KeyToggle(*form1().autostart);
  EXPECT_EQ(RunValue(), "");
}

TEST_F(Autostart, MissingRunKeyIsCreated) {
  Start();
  RegDeleteTreeA(program.registry.root(), kRunKeyPath);
  RegDeleteKeyA(program.registry.root(), kRunKeyPath);
  MouseClick(*form1().autostart);
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
  EXPECT_EQ(Notice(), kInformation);
  EXPECT_TRUE(form1().StartChangeCh->Visible());
}

TEST_F(Autostart, TheBoxIsTickedExactlyWhenWindowsStartsThisProgram) {
  const std::string approved = integration::kStartupApprovedKeyPath;
  const BYTE off[12] = {3};
  Store(app::kSectionProgram, app::names::kAutoStart, "1");
  program.registry.WriteText(kRunKeyPath, kRunValueName, "C:\\old place\\Papershift7.exe");
  Start();  // the moved copy's old place is brought up to date
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
  EXPECT_TRUE(form1().autostart->Checked());
  program.registry.WriteRaw(approved, kRunValueName, REG_BINARY, off, sizeof(off));
  form1().ShowSettings();  // switched off in Task Manager meanwhile
  EXPECT_FALSE(form1().autostart->Checked());
  EXPECT_FALSE(form1().StartChangeCh->Visible());
  MouseClick(*form1().autostart);  // ticking switches it on again
  EXPECT_TRUE(form1().autostart->Checked());
  EXPECT_EQ(program.registry.ReadText(approved, kRunValueName).substr(0, 1), "\x02");
  form1().HideSettings();
  RegDeleteKeyValueA(program.registry.root(), kRunKeyPath, kRunValueName);  // an uninstaller
  form1().ShowSettings();
  EXPECT_FALSE(form1().autostart->Checked());
}

TEST_F(Autostart, RefusedWriteGivesSystemRestrictionsAndSetsTheBoxBack) {
  Start();
  app::TForm1& f = form1();
  RefuseWrites();
  MouseClick(*f.autostart);
  EXPECT_EQ(Notice(), kRestrictions);
  EXPECT_NE(form3().Memo1->Text().find("not entitled to use this option"), std::string::npos);
  EXPECT_FALSE(f.autostart->Checked());
  EXPECT_FALSE(f.StartChangeCh->Visible());
  EXPECT_EQ(RunValue(), "<absent>");

  AllowWrites();
  MouseClick(*f.autostart);
  ASSERT_TRUE(f.autostart->Checked());
  RefuseWrites();
  Notice();
  MouseClick(*f.autostart);
  EXPECT_EQ(Notice(), kRestrictions);
  EXPECT_NE(form3().Memo1->Text().find("not entitled to change this option"), std::string::npos);
  EXPECT_TRUE(f.autostart->Checked());
  EXPECT_TRUE(f.StartChangeCh->Visible());
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
}

TEST_F(Autostart, CancelPutsTheRunValueBackInStepWithTheRestoredBox) {
  Start();
  form1().ShowSettings();
  MouseClick(*form1().autostart);
  ASSERT_TRUE(form1().StartChangeCh->Visible());
  form1().BtCancelClick();
  EXPECT_FALSE(form1().autostart->Checked());
  EXPECT_FALSE(form1().StartChangeCh->Visible());
  EXPECT_EQ(RunValue(), "");
  MouseClick(*form1().autostart);  // refused, the box stays with what the Run value does
  RefuseWrites();
  form1().BtCancelClick();
  EXPECT_TRUE(form1().autostart->Checked());
  EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Papershift 7\\Papershift7.exe\"");
}

}  // namespace
