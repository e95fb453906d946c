#pragma once
// Bitmaps made from decoded pictures, and drawing them.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/Handles.h"

namespace ui {

// A 24-bit bottom-up DIB section of the given size; bits receives its pixels.
platform::UniqueBitmap CreateDib24(int width, int height, void** bits);
// A DIB section holding 24-bit bottom-up rows (stride (width*3+3)&~3).
platform::UniqueBitmap DibFromBgr(int width, int height, const std::vector<uint8_t>& bgr);
// Decodes a JPEG stored as RCDATA in the executable.
platform::UniqueBitmap LoadJpegResource(int id);
// Draws the whole bitmap stretched into the rectangle.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height);
// Width and height of a bitmap (0, 0 for none).
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace ui
