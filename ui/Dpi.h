#pragma once
// Layout units: the positions and sizes that forms and controls are made with are pixels
// at 96 DPI, scaled to the system's DPI when the window is made (the program is aware of
// the system DPI, so the system does not stretch its windows as bitmaps). Window's
// ClientWidth and ClientHeight and TabControl::PageArea answer in layout units too; Bounds,
// Width, Height, MoveTo and SetBounds are in real pixels.
namespace ui {

inline constexpr int kLayoutDpi = 96;
int ScaleToDpi(int layoutPixels);
int ScaleFromDpi(int pixels);

}  // namespace ui
