#pragma once
// The notification-area icon: adds the icon, turns the shell's mouse notifications into
// the double-click event and the popup menu, and removes the icon when destroyed.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Handles.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace ui {
class PopupMenu;
}

namespace integration {

// The icon's hidden window; a second start finds the running copy by it.
inline constexpr char kTrayWindowClass[] = "TWinTaskbar";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 123;  // 1147
inline constexpr UINT kAfterPopupMessage = WM_USER;          // 1024

enum class MouseButton { Left, Right, Middle };

class TCustomWinTaskbar : public ui::Window {
 public:
  explicit TCustomWinTaskbar(HWND ownerForm);
  ~TCustomWinTaskbar() override;

  const std::string& Hint() const noexcept { return hint_; }
  void SetHint(const std::string& hint);
  HICON Icon() const noexcept { return icon_.get(); }
  // Copies the picture; nullptr empties it.
  void SetIcon(HICON picture);
  bool ShowIcon() const noexcept { return showIcon_; }
  void SetShowIcon(bool show);
  ui::PopupMenu* PopUpMenu() const noexcept { return popUpMenu_; }
  void SetPopUpMenu(ui::PopupMenu* menu) noexcept { popUpMenu_ = menu; }
  // Whether the shell holds the icon now (the record's icon handle is the marker).
  bool IconAdded() const noexcept { return data_.hIcon != nullptr; }
  // A balloon from the icon, shown once: at once when the icon is there, else as soon as
  // an add succeeds.
  void ShowBalloon(const std::string& title, const std::string& text);
  // Repeats a refused add for a while (a shell busy at logon refuses or times out).
  const ui::Timer& AddRetry() const noexcept { return *addRetry_; }

  std::function<void()> OnDblClick;
  // WM_CLOSE from outside; the hidden window and its icon stay either way.
  std::function<void()> OnCloseRequest;

 protected:
  virtual void DblClick();
  virtual void MouseDown(MouseButton, int /*x*/, int /*y*/) {}
  void UpdateIcon();
  HWND OwnerForm() const noexcept { return ownerForm_; }

  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void RetryAdd();
  // Called whenever the shell has taken the icon.
  void IconArrived();
  void SendBalloon();

  std::string hint_;
  platform::UniqueIcon icon_;
  NOTIFYICONDATAA data_{};
  HWND ownerForm_;
  ui::PopupMenu* popUpMenu_ = nullptr;
  bool showIcon_ = false;
  UINT taskbarCreated_ = 0;
  std::unique_ptr<ui::Timer> addRetry_;
  int retriesLeft_ = 0;
  std::string balloonTitle_, balloonText_;
};

class TWinTaskbar : public TCustomWinTaskbar {
 public:
  using TCustomWinTaskbar::TCustomWinTaskbar;

 protected:
  void DblClick() override;
  void MouseDown(MouseButton button, int x, int y) override;
  void PopupAtCursor(int x, int y);
};

}  // namespace integration
