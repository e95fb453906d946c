#pragma once
// One class per standard control kind, each owning its HWND. Events are
// single-assignment std::function members named after the event.
//
// A control is built from its kind's Layout, named fields in the parent's client coordinates:
//   ui::CheckBox box(parent, {.caption = "Sound", .x = 12, .y = 70, .width = 200, .height = 20});
//
// Rules the program relies on: setting a check box's state from code runs onClick when
// the state changes; setting a spin field's value runs onChange; setting a combo box
// index or a list selection runs nothing.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace ui {

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  HWND hwnd() const noexcept { return hwnd_.get(); }
  static Control* FromHwnd(HWND hwnd) noexcept;

  bool Enabled() const noexcept;
  void SetEnabled(bool enabled);
  // The control's own visible flag (not whether its page is on show).
  bool Visible() const noexcept;
  void SetVisible(bool visible);
  std::string Text() const;
  void SetText(const std::string& text);
  void SetBounds(int x, int y, int width, int height);
  RECT Bounds() const;  // in the parent's client coordinates
  void SetFont(HFONT font);

  // Called by the parent window for WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and
  // WM_CTLCOLOR*; true when handled.
  virtual bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 protected:
  Control() = default;
  void Create(const char* windowClass, const std::string& text, DWORD style, DWORD exStyle,
              HWND parent, int x, int y, int width, int height);
  // For OnParentNotify: the WM_COMMAND notification `code` runs `react`, when set, with
  // its errors shown in the error box.
  static bool ReactToCommand(UINT msg, WPARAM wp, WORD code, const std::function<void()>& react,
                             LRESULT& result);
  // Routes the control's own messages to OnOwnMessage. Only for controls that need it:
  // under Wine every message to a subclassed control costs a server round trip.
  void Subclass();
  // Messages sent to the control itself (once subclassed); return true when handled.
  virtual bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                       DWORD_PTR ref);
  platform::UniqueWindow hwnd_;
  bool subclassed_ = false;
};

class Label : public Control {
 public:
  struct Layout {
    std::string caption;
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;  // SS_* beside left-aligned text without prefix characters
  };
  Label(HWND parent, const Layout& layout);
  // Colour of the text (CLR_INVALID: the system's window text colour).
  void SetTextColour(COLORREF colour) { textColour_ = colour; }
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  COLORREF textColour_ = CLR_INVALID;
};

class Button : public Control {
 public:
  struct Layout {
    std::string caption;
    int x = 0, y = 0, width = 0, height = 0;
    bool isDefault = false;  // drawn as the button Enter presses
  };
  Button(HWND parent, const Layout& layout);
  std::function<void()> onClick;
  void Click();  // as a user click
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

class CheckBox : public Control {
 public:
  struct Layout {
    std::string caption;
    int x = 0, y = 0, width = 0, height = 0;
  };
  CheckBox(HWND parent, const Layout& layout);
  bool Checked() const noexcept;
  // Runs onClick when the state changes.
  void SetChecked(bool checked);
  std::function<void()> onClick;
  // After a mouse button was released over the box (its state already updated).
  std::function<void()> onMouseUp;
  // After the space bar toggled the box (its state already updated).
  std::function<void()> onKeyToggle;
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 protected:
  bool OnOwnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// EDIT for text input; the password fields show '*'.
class Edit : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
    DWORD style = 0;    // ES_*, WS_VSCROLL
    int maxLength = 0;  // 0: the system's limit
  };
  Edit(HWND parent, const Layout& layout);
};

// Read-only EDIT with an up-down control: changed by its arrows and the arrow keys only.
class SpinEdit : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
    int minValue = 0, maxValue = 0;
  };
  SpinEdit(HWND parent, const Layout& layout);
  int Value() const;
  // Brings the value into the bounds and runs onChange.
  void SetValue(int value);
  int MinValue() const noexcept { return min_; }
  int MaxValue() const noexcept { return max_; }
  void SetEnabledBoth(bool enabled);
  std::function<void()> onChange;
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  HWND upDown() const noexcept { return upDown_.get(); }

 private:
  platform::UniqueWindow upDown_;  // destroyed before the field
  int min_, max_;
  bool settingFromCode_ = false;
};

class ComboBox : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;  // the height includes the open list
    std::vector<std::string> items;
  };
  ComboBox(HWND parent, const Layout& layout);
  int ItemIndex() const;
  void SetItemIndex(int index);    // runs nothing
  std::function<void()> onChange;  // the user picked an item
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

// SysTabControl32 whose tabs show one page panel each.
class TabControl : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<std::string> tabs;
  };
  TabControl(HWND parent, const Layout& layout);
  int ActivePage() const;
  void SetActivePage(int index);  // shows that page's panel
  // The next page (delta +1) or the previous one (-1), round the end.
  void SelectNext(int delta);
  HWND ActivePageWindow() const;
  // The display area of the pages, in the parent's client coordinates.
  RECT PageArea() const;
  void SetPages(std::vector<HWND> pages) { pages_ = std::move(pages); }
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void ShowOnly(int index);
  std::vector<HWND> pages_;
};

// Owner-drawn STATIC that paints a bitmap stretched to its size (shares the caller's bitmap).
class Picture : public Control {
 public:
  struct Layout {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Picture(HWND parent, const Layout& layout);
  void SetBitmap(HBITMAP bitmap);  // not owned
  HBITMAP Bitmap() const noexcept { return bitmap_; }
  bool OnParentNotify(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  HBITMAP bitmap_ = nullptr;
};

// A tooltip on one control.
class Hint {
 public:
  Hint(HWND owner, HWND tool);
  Hint(const Hint&) = delete;
  Hint& operator=(const Hint&) = delete;
  void SetText(const std::string& text);
  const std::string& Text() const noexcept { return text_; }

 private:
  platform::UniqueWindow tip_;
  HWND owner_, tool_;
  std::string text_;
  std::string shown_;
};

// A control (or panel) owned by the caller, from its Layout written in place:
//   ui::Make<ui::Button>(parent, {.caption = "Ok", .x = 84, ...}).
template <typename T>
std::unique_ptr<T> Make(HWND parent, const typename T::Layout& layout) {
  return std::make_unique<T>(parent, layout);
}

// The fonts of the program's controls, created once.
HFONT DefaultFont();
HFONT ItalicFont();
HFONT BoldFont();

}  // namespace ui
