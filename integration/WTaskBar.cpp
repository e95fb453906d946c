#include "integration/WTaskBar.h"

#include <windowsx.h>

#include <cstring>

#include "ui/ErrorBox.h"
#include "ui/Menu.h"
#include "platform/Seams.h"

namespace integration {

TCustomWinTaskbar::TCustomWinTaskbar(HWND ownerForm) : ownerForm_(ownerForm) {
  // A top-level (hidden) window: message-only windows miss the shell's broadcasts.
  CreateHwnd({.className = kTrayWindowClass,
              .style = WS_POPUP,
              .exStyle = WS_EX_TOOLWINDOW,
              .x = 0,
              .y = 0,
              .width = 0,
              .height = 0,
              .background = nullptr});
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data_.hWnd = hwnd();
  data_.uID = 0;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  data_.hIcon = nullptr;
  data_.szTip[0] = '\0';
}

TCustomWinTaskbar::~TCustomWinTaskbar() {
  SetShowIcon(false);
}

void TCustomWinTaskbar::SetHint(const std::string& hint) {
  if (hint != hint_) {
    // The first-version record's tip holds at most 63 characters and the zero.
    constexpr size_t kTipField = 64;
    const size_t n = std::min(hint.size(), kTipField - 1);
    std::memcpy(data_.szTip, hint.data(), n);
    data_.szTip[n] = '\0';
    hint_ = hint;
    UpdateIcon();
  }
  hint_ = hint;
}

void TCustomWinTaskbar::SetIcon(HICON picture) {
  icon_.reset(picture ? CopyIcon(picture) : nullptr);
  data_.hIcon = (showIcon_ && picture) ? icon_.get() : nullptr;
  UpdateIcon();
}

void TCustomWinTaskbar::SetShowIcon(bool show) {
  showIcon_ = show;
  UpdateIcon();
}

void TCustomWinTaskbar::UpdateIcon() {
  auto& notify = platform::seams().shellNotifyIcon;
  if (showIcon_ && icon_) {
    const DWORD request = data_.hIcon == nullptr ? NIM_ADD : NIM_MODIFY;
    data_.hIcon = icon_.get();
    if (!notify(request, &data_) && request == NIM_ADD) {
      // No notification area yet (logon): forget the add, so the next update or the
      // shell's "TaskbarCreated" broadcast adds the icon again.
      data_.hIcon = nullptr;
    }
  } else {
    data_.hIcon = nullptr;
    notify(NIM_DELETE, &data_);
  }
}

LRESULT TCustomWinTaskbar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  POINT cursor{};
  GetCursorPos(&cursor);
  if (taskbarCreated_ != 0 && msg == taskbarCreated_) {
    // The shell (re)started: its notification area holds none of our icons.
    data_.hIcon = nullptr;
    UpdateIcon();
    return 0;
  }
  if (msg == WM_CLOSE) {
    ui::Guarded([this] {
      if (OnCloseRequest) OnCloseRequest();
    });
    return 0;
  }
  if (msg != kTrayCallbackMessage) return Window::OnMessage(msg, wp, lp);
  const int x = cursor.x;
  const int y = cursor.y;
  ui::Guarded([&] {
    switch (static_cast<UINT>(lp)) {
      case WM_LBUTTONDOWN:
        MouseDown(MouseButton::Left, x, y);
        break;
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        DblClick();
        break;
      case WM_RBUTTONDOWN:
        MouseDown(MouseButton::Right, x, y);
        break;
      case WM_MBUTTONDOWN:
        MouseDown(MouseButton::Middle, x, y);
        break;
      default:
        break;
    }
  });
  return 0;
}

void TCustomWinTaskbar::DblClick() {
  if (OnDblClick) OnDblClick();
}

void TWinTaskbar::DblClick() {
  if (!OnDblClick) return;
  SetForegroundWindow(OwnerForm());
  OnDblClick();
}

void TWinTaskbar::MouseDown(MouseButton button, int x, int y) {
  if (button == MouseButton::Right) PopupAtCursor(x, y);
}

void TWinTaskbar::PopupAtCursor(int x, int y) {
  if (!PopUpMenu()) return;
  SetForegroundWindow(OwnerForm());
  PopUpMenu()->Track(OwnerForm(), x, y);
  PostMessageA(OwnerForm(), kAfterPopupMessage, 0, 0);
}

}  // namespace integration
