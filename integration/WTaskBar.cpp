#include "integration/WTaskBar.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "ui/ErrorBox.h"
#include "ui/Menu.h"
#include "platform/Seams.h"

namespace integration {

namespace {

// About two minutes of retries, the time a busy shell may take at logon.
constexpr UINT kAddRetryMs = 5000;
constexpr int kAddRetries = 24;

void CopyText(char* field, size_t fieldSize, const std::string& text) {
  const size_t n = std::min(text.size(), fieldSize - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

}  // namespace

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
  addRetry_ = std::make_unique<ui::Timer>(*this, kAddRetryMs, false);
  addRetry_->onTimer = [this] { RetryAdd(); };
}

TCustomWinTaskbar::~TCustomWinTaskbar() {
  SetShowIcon(false);
}

void TCustomWinTaskbar::SetHint(const std::string& hint) {
  if (hint != hint_) {
    // The first-version record's tip holds at most 63 characters and the zero.
    constexpr size_t kTipField = 64;
    CopyText(data_.szTip, kTipField, hint);
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
    const bool answered = notify(request, &data_) != FALSE;
    if (request == NIM_ADD && !answered) {
      // No notification area yet, or a shell too busy to answer (logon): forget the add,
      // and try again from the timer, on the next update or at "TaskbarCreated".
      data_.hIcon = nullptr;
      if (!addRetry_->Enabled()) {
        retriesLeft_ = kAddRetries;
        addRetry_->SetEnabled(true);
      }
    } else if (request == NIM_ADD) {
      IconArrived();
    }
  } else {
    data_.hIcon = nullptr;
    notify(NIM_DELETE, &data_);
  }
}

void TCustomWinTaskbar::RetryAdd() {
  if (!showIcon_ || !icon_ || IconAdded()) {
    addRetry_->SetEnabled(false);
    return;
  }
  auto& notify = platform::seams().shellNotifyIcon;
  data_.hIcon = icon_.get();
  // An add that timed out may still have reached the shell: a modify finds it there, and
  // a second add would show the icon twice.
  if (notify(NIM_MODIFY, &data_) || notify(NIM_ADD, &data_)) {
    IconArrived();
    return;
  }
  data_.hIcon = nullptr;
  if (--retriesLeft_ <= 0) addRetry_->SetEnabled(false);
}

void TCustomWinTaskbar::IconArrived() {
  addRetry_->SetEnabled(false);
  if (!balloonText_.empty()) SendBalloon();
}

void TCustomWinTaskbar::ShowBalloon(const std::string& title, const std::string& text) {
  balloonTitle_ = title;
  balloonText_ = text;
  if (IconAdded()) SendBalloon();
}

void TCustomWinTaskbar::SendBalloon() {
  // The balloon's fields lie beyond the first-version record the icon is kept with.
  NOTIFYICONDATAA balloon = data_;
  balloon.cbSize = NOTIFYICONDATAA_V2_SIZE;
  balloon.uFlags = NIF_INFO;
  CopyText(balloon.szInfoTitle, sizeof balloon.szInfoTitle, balloonTitle_);
  CopyText(balloon.szInfo, sizeof balloon.szInfo, balloonText_);
  balloon.dwInfoFlags = NIIF_INFO;
  platform::seams().shellNotifyIcon(NIM_MODIFY, &balloon);
  balloonTitle_.clear();
  balloonText_.clear();
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
