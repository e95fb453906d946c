#include "ui/DialogForm.h"

namespace ui {

namespace {

bool Usable(HWND dialog, HWND control) {
  if (!control || !IsChild(dialog, control) || !IsWindowEnabled(control)) return false;
  // Shown within the dialog, which may itself be activated before it is shown.
  for (HWND h = control; h != dialog; h = GetParent(h))
    if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE)) return false;
  return true;
}

}  // namespace

void DialogForm::SetDialogButtons(ui::Button* defaultButton, ui::Button* cancelButton) {
  // The dialog manager finds the buttons by their control ids.
  SetWindowLongPtrA(defaultButton->hwnd(), GWLP_ID, IDOK);
  if (cancelButton) SetWindowLongPtrA(cancelButton->hwnd(), GWLP_ID, IDCANCEL);
}

void DialogForm::FocusOn(HWND control) {
  focus_ = control;
  if (GetActiveWindow() == hwnd()) SetFocus(control);
}

void DialogForm::SaveFocus() {
  HWND focused = GetFocus();
  if (focused && IsChild(hwnd(), focused)) focus_ = focused;
}

void DialogForm::RestoreFocus() {
  // A control that was hidden or disabled since it had the focus hands it to the first one.
  HWND target = Usable(hwnd(), focus_) ? focus_ : GetNextDlgTabItem(hwnd(), nullptr, FALSE);
  if (target) SetFocus(target);
}

bool DialogForm::PreTranslate(const MSG& msg) {
  if (!pages_ || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
    return false;
  pages_->SelectNext(GetKeyState(VK_SHIFT) < 0 ? -1 : +1);
  // The focus must not stay on a control of the page that went out of sight.
  if (!IsWindowVisible(GetFocus())) {
    HWND first = GetNextDlgTabItem(pages_->ActivePageWindow(), nullptr, FALSE);
    SetFocus(first ? first : pages_->hwnd());
  }
  return true;
}

LRESULT DialogForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_NEXTDLGCTL: {
      // Sent by a multi-line edit for Tab, which it would otherwise keep.
      HWND next =
          LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd(), GetFocus(), wp != 0);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_COMMAND:
      // Escape in a dialog without a cancel button.
      if (LOWORD(wp) == IDCANCEL && lp == 0) {
        FormClose();
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      // Hiding moves the focus away before the window is deactivated.
      if (!wp) SaveFocus();
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        SaveFocus();
        return 0;
      }
      // The default handling would put the focus on the dialog window itself.
      if (!IsIconic(hwnd())) {
        RestoreFocus();
        return 0;
      }
      break;
    case WM_WINDOWPOSCHANGED:
      // Shown while it was already the active window: no activation brings the focus back.
      if ((reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_SHOWWINDOW) &&
          GetActiveWindow() == hwnd() && !IsChild(hwnd(), GetFocus()))
        RestoreFocus();
      break;
    default:
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

}  // namespace ui
