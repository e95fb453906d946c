#include "security/Unit4.h"

#include "security/StoredPassword.h"
#include "platform/core/Error.h"

namespace security {

namespace {

constexpr int kWidth = 262;
constexpr int kHeight = 160;

std::unique_ptr<ui::Edit> PasswordField(HWND parent, int y) {
  auto edit = ui::Make<ui::Edit>(parent, {.x = 110,
                                          .y = y,
                                          .width = 130,
                                          .height = 21,
                                          .style = ES_PASSWORD,
                                          .maxLength = kMaxPasswordLength});
  SendMessageA(edit->hwnd(), EM_SETPASSWORDCHAR, '*', 0);
  return edit;
}

}  // namespace

std::string UnstorableText(int position) {
  return platform::Format(
      "The character at position %d of the new password cannot be stored. Please choose "
      "another character for that position; your current password stays in force.",
      position);
}

TForm4::TForm4(PasswordHost& host, HWND owner) : host_(host) {
  CreateForm({.className = "TForm4",
              .caption = "Set Password..",
              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              .exStyle = WS_EX_TOOLWINDOW,
              .width = kWidth,
              .height = kHeight,
              .owner = owner});
  Label1 = ui::Make<ui::Label>(
      hwnd(), {.caption = "Old Password:", .x = 12, .y = 15, .width = 92, .height = 16});
  Edit1 = PasswordField(hwnd(), 12);
  Label2 = ui::Make<ui::Label>(
      hwnd(), {.caption = "New Password:", .x = 12, .y = 43, .width = 92, .height = 16});
  Edit2 = PasswordField(hwnd(), 40);
  Label3 = ui::Make<ui::Label>(
      hwnd(), {.caption = "Re Enter:", .x = 12, .y = 71, .width = 92, .height = 16});
  Edit3 = PasswordField(hwnd(), 68);
  Button1 = ui::Make<ui::Button>(
      hwnd(), {.caption = "Ok", .x = 84, .y = 102, .width = 75, .height = 25, .isDefault = true});
  Button2 = ui::Make<ui::Button>(
      hwnd(), {.caption = "Cancel", .x = 165, .y = 102, .width = 75, .height = 25});
  Button1->onClick = [this] { Button1Click(); };
  Button2->onClick = [this] { Button2Click(); };
  // Escape acts as the close box; the fields are emptied at the next showing.
  SetDialogButtons(Button1.get(), nullptr);
}

void TForm4::FormShow() {
  // What an earlier user typed and left behind with the close box is not offered again.
  ClearFields();
  MoveTo(ui::CentredOffset(ui::ScreenWidth(), Width()),
         ui::CentredOffset(ui::ScreenHeight(), Height()));
  KeepWithinWorkArea();
  FocusOn(host_.Password().empty() ? Edit2->hwnd() : Edit1->hwnd());
}

void TForm4::Button1Click() {
  const std::string newPassword = Edit2->Text();
  if (Edit1->Text() != host_.Password() || newPassword != Edit3->Text()) return;
  // Such a character would be stored as the zero byte that ends the stored text, or as a
  // substitute, and the password would come back changed at the next start.
  if (const int position = UnstorablePasswordPosition(newPassword); position != 0) {
    host_.ShowNotice(kUnstorableCaption, UnstorableText(position));
    return;
  }
  host_.StorePassword(newPassword);
  Hide();
}

void TForm4::Button2Click() {
  ClearFields();
  Hide();
}

void TForm4::ClearFields() {
  Edit1->SetText("");
  Edit2->SetText("");
  Edit3->SetText("");
}

}  // namespace security
