#include "ui/DialogForm.h"

namespace ui {

void DialogForm::SetDialogButtons(ui::Button* defaultButton, ui::Button* cancelButton) {
  // The dialog manager finds the buttons by their control ids.
  SetWindowLongPtrA(defaultButton->hwnd(), GWLP_ID, IDOK);
  if (cancelButton) SetWindowLongPtrA(cancelButton->hwnd(), GWLP_ID, IDCANCEL);
}

void DialogForm::FocusOn(HWND control) {
  focus_ = control;
  if (GetActiveWindow() == hwnd()) SetFocus(control);
}

LRESULT DialogForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focused = GetFocus();
        if (focused && IsChild(hwnd(), focused)) focus_ = focused;
        return 0;
      }
      // The default handling would put the focus on the dialog window itself.
      if (focus_ && !IsIconic(hwnd())) {
        SetFocus(focus_);
        return 0;
      }
      break;
    default:
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace ui
