#include "Support.h"

#include <cstdint>

namespace imagelisttest {

namespace {

void Put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}

void Put32(std::string& s, uint32_t v) {
  Put16(s, static_cast<uint16_t>(v));
  Put16(s, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::string IconFileBytes(int w, int h, int border) {
  const uint32_t andRow = static_cast<uint32_t>((w + 31) / 32 * 4);
  const uint32_t imageSize = 40 + static_cast<uint32_t>(w * h * 4) + andRow * h;
  std::string s;
  Put16(s, 0);
  Put16(s, 1);
  Put16(s, 1);
  s += static_cast<char>(w);
  s += static_cast<char>(h);
  s += '\0';
  s += '\0';
  Put16(s, 1);
  Put16(s, 32);
  Put32(s, imageSize);
  Put32(s, 22);
  // BITMAPINFOHEADER with the doubled height of colour and mask.
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(w));
  Put32(s, static_cast<uint32_t>(2 * h));
  Put16(s, 1);
  Put16(s, 32);
  for (int i = 0; i < 6; ++i) Put32(s, 0);
  auto inside = [&](int x, int y) {
    return x >= border && y >= border && x < w - border && y < h - border;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) Put32(s, inside(x, y) ? 0xFFFF0000u : 0x00000000u);
  }
  for (int y = 0; y < h; ++y) {
    std::string row(andRow, '\0');
    for (int x = 0; x < w; ++x) {
      if (!inside(x, y)) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    s += row;
  }
  return s;
}

std::string PlaceableWmfBytes(int widthTwips, int heightTwips) {
  std::string body;
  // META_RECTANGLE (bottom, right, top, left), then the end record.
  const uint16_t rect[] = {
      7, 0, 0x041B, static_cast<uint16_t>(heightTwips), static_cast<uint16_t>(widthTwips), 0, 0};
  const uint16_t eof[] = {3, 0, 0};
  const uint32_t totalWords = 9 + 7 + 3;
  Put16(body, 1);  // on disk
  Put16(body, 9);  // header words
  Put16(body, 0x0300);
  Put32(body, totalWords);
  Put16(body, 0);  // objects
  Put32(body, 7);  // largest record
  Put16(body, 0);
  for (uint16_t v : rect) Put16(body, v);
  for (uint16_t v : eof) Put16(body, v);

  std::string header;
  Put32(header, 0x9AC6CDD7);
  Put16(header, 0);
  Put16(header, 0);
  Put16(header, 0);
  Put16(header, static_cast<uint16_t>(widthTwips));
  Put16(header, static_cast<uint16_t>(heightTwips));
  Put16(header, 1440);
  Put32(header, 0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < header.size(); i += 2) {
    checksum ^= static_cast<uint16_t>(static_cast<uint8_t>(header[i]) |
                                      static_cast<uint8_t>(header[i + 1]) << 8);
  }
  Put16(header, checksum);
  return header + body;
}

void WriteEmf(const std::string& path, int widthHmm, int heightHmm) {
  const RECT frame{0, 0, widthHmm, heightHmm};
  HDC dc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(dc, brush);
  Rectangle(dc, 0, 0, 50, 50);
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  const SIZE size = SizeOf(bitmap);
  BITMAPINFO bi{};
  bi.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                  .biWidth = size.cx,
                  .biHeight = -size.cy,
                  .biPlanes = 1,
                  .biBitCount = 32,
                  .biCompression = BI_RGB};
  std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * size.cy);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  const uint32_t p = pixels[static_cast<size_t>(y) * size.cx + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

SIZE SizeOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
}

RECT BoundsOf(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace imagelisttest
