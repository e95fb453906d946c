#pragma once
// Arithmetic of the settings window's slide in from and out to the right screen edge.

namespace app {

inline constexpr int kSlideStart = 1500;  // pixels from the left screen edge

// Number of one-pixel moves between kSlideStart and the centred position; 0 when the
// centred position lies at or right of kSlideStart.
constexpr int SlideSteps(int screenWidth, int windowWidth) {
  const int steps = kSlideStart - (screenWidth / 2 - windowWidth / 2);
  return steps > 0 ? steps : 0;
}

}  // namespace app
