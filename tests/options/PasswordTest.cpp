// The settings password: its storage, the set-password dialog and the prompt.
#include <gtest/gtest.h>

#include "app/SettingsStore.h"
#include "security/core/Scramble.h"
#include "tests/options/OptionsSupport.h"

namespace {

using app::kSectionSecurity;
namespace names = app::names;
using optionstest::Click;
using optionstest::OptionsTest;
using optionstest::Type;

class Password : public OptionsTest {
 protected:
  // The stored form of a password, as start-up reads it back.
  std::string ReadBack() {
    app::SettingsStore store(program.registry.root(), app::kProgramKeyPath);
    const std::string stored = store.ReadString(kSectionSecurity, names::kPassword, "");
    return security::ScrambleText(stored, security::kPasswordKey);
  }
  void Fill(const std::string& old, const std::string& fresh, const std::string& again) {
    form4->ClearFields();
    Type(*form4->Edit1, old);
    Type(*form4->Edit2, fresh);
    Type(*form4->Edit3, again);
  }
  void OpenDialog() {
    Click(*form1().Button1);
    ASSERT_TRUE(form4->Visible());
  }
};

TEST_F(Password, EveryStorablePasswordComesBackAsItWasSet) {
  Start();
  // Each byte value at each of the eight positions.
  int stored = 0;
  for (int b = 1; b < 256; ++b) {
    const std::string password(8, static_cast<char>(b));
    if (security::UnstorablePosition(password, security::kPasswordKey) != 0) continue;
    form1().StorePassword(password);
    ASSERT_EQ(ReadBack(), password) << "byte " << b;
    ++stored;
  }
  EXPECT_EQ(stored, 255 - 8);  // the key's eight characters that the positions meet
  form1().StorePassword("");
  EXPECT_EQ(Stored(kSectionSecurity, names::kPassword), "");
  EXPECT_EQ(form1().Password(), "");
}

TEST_F(Password, DialogRefusesAPasswordThatWouldBeStoredShortened) {
  Start();
  form1().StorePassword("abc");
  const std::string storedBefore = Stored(kSectionSecurity, names::kPassword);
  OpenDialog();
  Fill("abc", "xk12", "xk12");  // 'k' meets the key's third character, 'k'
  Click(*form4->Button1);
  EXPECT_EQ(form1().Password(), "abc");
  EXPECT_EQ(Stored(kSectionSecurity, names::kPassword), storedBefore);
  EXPECT_TRUE(form4->Visible());
  ASSERT_TRUE(form3().Visible());
  EXPECT_EQ(form3().Text(), security::kUnstorableCaption);
  EXPECT_EQ(form3().Memo1->Text(), security::UnstorableText(2));
  EXPECT_TRUE(form3().bt2->Visible());
  EXPECT_NE(security::UnstorableText(2).find("position 2"), std::string::npos);
}

TEST_F(Password, DialogIsCentredAndFocusesNewWithoutAPasswordElseOld) {
  Start();
  OpenDialog();
  const int left = ui::CentredOffset(ui::ScreenWidth(), form4->Width());
  const int top = ui::CentredOffset(ui::ScreenHeight(), form4->Height());
  EXPECT_EQ(form4->Left(), left);
  EXPECT_EQ(form4->Top(), top);
  EXPECT_EQ(GetFocus(), form4->Edit2->hwnd());

  Type(*form4->Edit2, "pw");
  Type(*form4->Edit3, "pw");
  Click(*form4->Button1);
  ASSERT_EQ(form1().Password(), "pw");
  ASSERT_FALSE(form4->Visible());
  OpenDialog();
  EXPECT_EQ(GetFocus(), form4->Edit1->hwnd());
}

TEST_F(Password, OkStoresOnlyWhenOldMatchesAndNewIsEnteredTwice) {
  Start();
  OpenDialog();
  // The fields take eight characters at most.
  Type(*form4->Edit2, "123456789");
  EXPECT_EQ(form4->Edit2->Text(), "12345678");
  EXPECT_EQ(SendMessageA(form4->Edit2->hwnd(), EM_GETPASSWORDCHAR, 0, 0), '*');

  Fill("", "secret", "secreT");
  Click(*form4->Button1);
  EXPECT_EQ(form1().Password(), "");
  EXPECT_TRUE(form4->Visible());
  EXPECT_EQ(form4->Edit3->Text(), "secreT");  // kept for correcting

  Fill("", "secret", "secret");
  Click(*form4->Button1);
  EXPECT_EQ(form1().Password(), "secret");
  EXPECT_EQ(ReadBack(), "secret");
  EXPECT_FALSE(form4->Visible());
  EXPECT_EQ(form4->Edit2->Text(), "");

  OpenDialog();
  Fill("Secret", "other", "other");  // wrong old password
  Click(*form4->Button1);
  EXPECT_EQ(form1().Password(), "secret");
  EXPECT_TRUE(form4->Visible());

  // The right old password with empty new fields removes the password.
  Fill("secret", "", "");
  Click(*form4->Button1);
  EXPECT_EQ(form1().Password(), "");
  EXPECT_EQ(Stored(kSectionSecurity, names::kPassword), "");

  OpenDialog();
  Type(*form4->Edit2, "typed");
  Click(*form4->Button2);
  EXPECT_FALSE(form4->Visible());
  EXPECT_EQ(form4->Edit2->Text(), "");
  EXPECT_TRUE(program.errors.texts.empty());
}

TEST_F(Password, EnterPressesOkAndEscapeCloses) {
  Start();
  OpenDialog();
  Type(*form4->Edit2, "enter");
  Type(*form4->Edit3, "enter");
  EXPECT_TRUE(optionstest::DialogKey(form4->hwnd(), form4->Edit3->hwnd(), VK_RETURN));
  EXPECT_EQ(form1().Password(), "enter");
  EXPECT_FALSE(form4->Visible());

  OpenDialog();
  Type(*form4->Edit1, "x");
  optionstest::DialogKey(form4->hwnd(), form4->Edit1->hwnd(), VK_ESCAPE);
  EXPECT_FALSE(form4->Visible());

  // The prompt: Enter in its field presses its "Ok".
  form1().PwdCheck->SetChecked(true);
  form1().TrayIconDblClick();
  Type(*form5->Edit1, "enter");
  EXPECT_TRUE(optionstest::DialogKey(form5->hwnd(), form5->Edit1->hwnd(), VK_RETURN));
  EXPECT_TRUE(form1().Visible());
  EXPECT_FALSE(form5->Visible());
}

TEST_F(Password, PromptOpensTheWindowOnlyForTheExactPassword) {
  Start();
  form1().StorePassword("secret12");
  form1().PwdCheck->SetChecked(true);

  form1().SettingsPopClick();
  ASSERT_TRUE(form5->Visible());
  EXPECT_FALSE(form1().Visible());
  EXPECT_EQ(form5->Left(), ui::ScreenWidth() - form5->Width() - 2);
  EXPECT_EQ(form5->Top(), ui::ScreenHeight() - form5->Height() - 30);
  EXPECT_EQ(GetFocus(), form5->Edit1->hwnd());

  for (const std::string wrong : {"Secret12", "secret123", "", "secret1"}) {
    form1().TrayIconDblClick();
    Type(*form5->Edit1, wrong);
    Click(*form5->Button1);
    EXPECT_FALSE(form1().Visible()) << wrong;
    EXPECT_FALSE(form5->Visible());
    EXPECT_EQ(form5->Edit1->Text(), "");
  }

  form1().TrayIconDblClick();
  Type(*form5->Edit1, "secret12");
  Click(*form5->Button1);
  EXPECT_TRUE(form1().Visible());
  EXPECT_FALSE(form5->Visible());
  EXPECT_EQ(form5->Edit1->Text(), "");

  // Without the switch the window opens directly; the password stays stored.
  form1().HideSettings();
  form1().PwdCheck->SetChecked(false);
  EXPECT_FALSE(form1().Button1->Enabled());
  form1().TrayIconDblClick();
  EXPECT_TRUE(form1().Visible());
  EXPECT_FALSE(form5->Visible());
  EXPECT_EQ(ReadBack(), "secret12");
}

TEST_F(Password, NewPasswordSurvivesCancelOfTheWindowAndARestart) {
  Start();
  form1().ShowSettings();
  form1().PwdCheck->SetChecked(true);
  OpenDialog();
  Fill("", "kept", "kept");
  Click(*form4->Button1);
  form1().BtCancelClick();
  EXPECT_FALSE(form1().PwdCheck->Checked());  // the switch was never stored
  EXPECT_EQ(form1().Password(), "kept");

  app::TForm1 restarted(form3());
  EXPECT_EQ(restarted.Password(), "kept");
}

}  // namespace
