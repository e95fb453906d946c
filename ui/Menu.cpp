#include "ui/Menu.h"

#include "ui/ErrorBox.h"

namespace ui {

PopupMenu::PopupMenu()
    : PopupMenu(Shared{std::make_shared<std::vector<platform::UniqueBitmap>>(),
                       std::make_shared<UINT>(kFirstMenuCommandId)}) {}

PopupMenu::PopupMenu(Shared shared)
    : menu_(CreatePopupMenu()),
      images_(std::move(shared.images)),
      nextId_(std::move(shared.nextId)) {}

void PopupMenu::SetImages(HBITMAP strip) {
  images_->clear();
  BITMAP info{};
  if (!strip || !GetObjectA(strip, sizeof(info), &info)) return;
  platform::WindowDC screen(nullptr);
  platform::UniqueDC source(CreateCompatibleDC(screen.get()));
  platform::SelectGuard selectSource(source.get(), strip);
  for (int x = 0; x + kImageSize <= info.bmWidth; x += kImageSize) {
    // 32-bit premultiplied image: magenta pixels become fully transparent.
    BITMAPINFO bi{};
    bi.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                    .biWidth = kImageSize,
                    .biHeight = kImageSize,
                    .biPlanes = 1,
                    .biBitCount = 32,
                    .biCompression = BI_RGB};
    void* bits = nullptr;
    platform::UniqueBitmap image(
        CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!image || !bits) continue;
    auto* pixels = static_cast<DWORD*>(bits);
    // Bottom-up rows, as the positive height makes them.
    for (int y = 0; y < kImageSize; ++y) {
      for (int i = 0; i < kImageSize; ++i) {
        const COLORREF c = GetPixel(source.get(), x + i, kImageSize - 1 - y);
        DWORD& out = pixels[y * kImageSize + i];
        if (c == kTransparentColour) {
          out = 0;
        } else {
          out = 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
      }
    }
    images_->push_back(std::move(image));
  }
}

HBITMAP PopupMenu::Image(int index) const {
  if (index < 0 || index >= static_cast<int>(images_->size())) return nullptr;
  return (*images_)[static_cast<size_t>(index)].get();
}

UINT PopupMenu::Add(const std::string& caption, int imageIndex, std::function<void()> onClick) {
  const UINT id = (*nextId_)++;
  items_[id] = {caption, imageIndex, std::move(onClick)};
  MENUITEMINFOA mii{.cbSize = sizeof(MENUITEMINFOA),
                    .fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE,
                    .fType = MFT_STRING,
                    .wID = id,
                    .dwTypeData = const_cast<char*>(caption.c_str()),
                    .hbmpItem = Image(imageIndex)};
  InsertMenuItemA(menu_.get(), GetMenuItemCount(menu_.get()), TRUE, &mii);
  return id;
}

PopupMenu& PopupMenu::AddSubmenu(const std::string& caption) {
  submenus_.push_back(std::make_unique<PopupMenu>(Shared{images_, nextId_}));
  PopupMenu& sub = *submenus_.back();
  MENUITEMINFOA mii{.cbSize = sizeof(MENUITEMINFOA),
                    .fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE,
                    .fType = MFT_STRING,
                    .hSubMenu = sub.handle(),
                    .dwTypeData = const_cast<char*>(caption.c_str())};
  InsertMenuItemA(menu_.get(), GetMenuItemCount(menu_.get()), TRUE, &mii);
  return sub;
}

void PopupMenu::AddSeparator() {
  AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
}

void PopupMenu::SetItem(UINT id, const std::string& caption, int imageIndex) {
  auto it = items_.find(id);
  if (it == items_.end()) return;
  it->second.caption = caption;
  it->second.image = imageIndex;
  MENUITEMINFOA mii{.cbSize = sizeof(MENUITEMINFOA),
                    .fMask = MIIM_STRING | MIIM_BITMAP,
                    .dwTypeData = const_cast<char*>(it->second.caption.c_str()),
                    .hbmpItem = Image(imageIndex)};
  SetMenuItemInfoA(menu_.get(), id, FALSE, &mii);
}

std::string PopupMenu::Caption(UINT id) const {
  auto it = items_.find(id);
  return it == items_.end() ? std::string() : it->second.caption;
}

int PopupMenu::ImageIndex(UINT id) const {
  auto it = items_.find(id);
  return it == items_.end() ? -1 : it->second.image;
}

bool PopupMenu::Dispatch(UINT id) {
  if (auto it = items_.find(id); it != items_.end()) {
    if (it->second.onClick) it->second.onClick();
    return true;
  }
  for (auto& sub : submenus_) {
    if (sub->Dispatch(id)) return true;
  }
  return false;
}

void PopupMenu::Track(HWND owner, int x, int y) {
  TrackPopupMenuEx(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERNEGANIMATION,
                   x, y, owner, nullptr);
}

}  // namespace ui
