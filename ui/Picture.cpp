#include "ui/Picture.h"

#include <cstdlib>
#include <cstring>

#include "platform/core/Error.h"
#include "picture/JpegToBmp.h"

namespace ui {

platform::UniqueBitmap CreateDib24(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                  .biWidth = width,
                  .biHeight = height,
                  .biPlanes = 1,
                  .biBitCount = 24,
                  .biCompression = BI_RGB};
  platform::WindowDC screen(nullptr);
  platform::UniqueBitmap bitmap(
      CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, bits, nullptr, 0));
  if (!bitmap || !*bits) throw platform::Error("Out of system resources");
  return bitmap;
}

platform::UniqueBitmap DibFromBgr(int width, int height, const std::vector<uint8_t>& bgr) {
  void* bits = nullptr;
  platform::UniqueBitmap bitmap = CreateDib24(width, height, &bits);
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  std::memcpy(bits, bgr.data(), std::min(bgr.size(), stride * static_cast<size_t>(height)));
  return bitmap;
}

platform::UniqueBitmap LoadJpegResource(int id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) throw platform::Error("Resource not found");
  const auto image =
      picture::DecodeJpegFull(static_cast<const uint8_t*>(bytes), SizeofResource(module, info));
  return DibFromBgr(image.width, image.height, image.bgr);
}

void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx == 0 || size.cy == 0) return;
  platform::UniqueDC memory(CreateCompatibleDC(dc));
  platform::SelectGuard select(memory.get(), bitmap);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, x, y, width, height, memory.get(), 0, 0, size.cx, size.cy, SRCCOPY);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, std::abs(info.bmHeight)};
}

}  // namespace ui
