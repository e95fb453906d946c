#include "security/Unit5.h"

#include "ui/Dpi.h"

namespace security {

namespace {

constexpr int kWidth = 206;
constexpr int kHeight = 72;
// Near the notification area: at the screen's lower right corner, above a taskbar of
// the usual height.
constexpr int kRightMargin = 2;
constexpr int kBottomMargin = 30;

}  // namespace

TForm5::TForm5(PasswordHost& host) : host_(host) {
  CreateForm({.className = "TForm5",
              .caption = "Password",
              .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
              .exStyle = WS_EX_TOOLWINDOW,
              .width = kWidth,
              .height = kHeight});
  Edit1 = ui::Make<ui::Edit>(hwnd(),
                             {.x = 8, .y = 10, .width = 112, .height = 21, .style = ES_PASSWORD});
  SendMessageA(Edit1->hwnd(), EM_SETPASSWORDCHAR, '*', 0);
  // No limit of its own: a longer entry simply never matches.
  SendMessageA(Edit1->hwnd(), EM_SETLIMITTEXT, 0, 0);
  Button1 = ui::Make<ui::Button>(
      hwnd(), {.caption = "Ok", .x = 126, .y = 8, .width = 64, .height = 25, .isDefault = true});
  Button1->onClick = [this] { Button1Click(); };
  SetDialogButtons(Button1.get(), nullptr);
}

void TForm5::FormShow() {
  // A password typed and abandoned with the close box must not let the next person in.
  Edit1->SetText("");
  MoveTo(ui::ScreenWidth() - Width() - ui::ScaleToDpi(kRightMargin),
         ui::ScreenHeight() - Height() - ui::ScaleToDpi(kBottomMargin));
  KeepWithinWorkArea();  // a taskbar taller than the margin allows for
  FocusOn(Edit1->hwnd());
}

void TForm5::Button1Click() {
  // Compared byte for byte: letter case matters.
  if (Edit1->Text() == host_.Password()) host_.ShowSettings();
  Edit1->SetText("");
  Hide();
}

}  // namespace security
