#pragma once
// A popup menu that owns its HMENU, the images of its items and the reactions to them.
// The window that tracks it forwards WM_COMMAND of menu items to Dispatch.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Handles.h"

namespace ui {

// Menu items get command ids from here on: the dialog manager sends IDOK and IDCANCEL to
// the same window as WM_COMMAND without a control, as a menu command arrives.
inline constexpr UINT kFirstMenuCommandId = 1000;

class PopupMenu {
 public:
  // The side of an item image, in pixels.
  static constexpr int kImageSize = 16;
  // The colour of a strip's transparent pixels.
  static constexpr COLORREF kTransparentColour = RGB(255, 0, 255);

  PopupMenu();

 private:
  struct Shared {
    std::shared_ptr<std::vector<platform::UniqueBitmap>> images;
    std::shared_ptr<UINT> nextId;
  };

 public:
  // A submenu shares its parent's images and command ids.
  explicit PopupMenu(Shared shared);
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  HMENU handle() const noexcept { return menu_.get(); }
  // Cuts a strip of kImageSize x kImageSize images, side by side, into item images.
  void SetImages(HBITMAP strip);
  // Returns the command id of the new item; imageIndex -1 for none.
  UINT Add(const std::string& caption, int imageIndex, std::function<void()> onClick);
  PopupMenu& AddSubmenu(const std::string& caption);
  void AddSeparator();
  void SetItem(UINT id, const std::string& caption, int imageIndex);
  std::string Caption(UINT id) const;
  int ImageIndex(UINT id) const;
  // Runs the reaction of a command id of this menu or its submenus; false when unknown.
  bool Dispatch(UINT id);
  // Opens at (x, y) for owner and returns when it closes; the choice arrives as WM_COMMAND.
  void Track(HWND owner, int x, int y);

 private:
  struct Item {
    std::string caption;
    int image = -1;
    std::function<void()> onClick;
  };
  HBITMAP Image(int index) const;

  platform::UniqueMenu menu_;
  std::shared_ptr<std::vector<platform::UniqueBitmap>> images_;
  std::shared_ptr<UINT> nextId_;
  std::map<UINT, Item> items_;
  std::vector<std::unique_ptr<PopupMenu>> submenus_;
};

}  // namespace ui
