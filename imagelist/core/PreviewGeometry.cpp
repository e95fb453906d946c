#include "imagelist/core/PreviewGeometry.h"

#include "platform/core/Error.h"

namespace imagelist {

PreviewFit FitPreview(int pictureW, int pictureH, int frameW, int frameH) {
  if (pictureW <= 0 || pictureH <= 0) return {frameW / 2, frameH / 2, 0, 0};
  const double ratio = static_cast<double>(pictureW) / pictureH;
  int w = 0;
  int h = 0;
  // Both results are bounded by the picture and frame sizes, so the conversions cannot
  // overflow.
  if (ratio >= 1.0) {
    w = pictureW > frameW ? frameW : pictureW;
    h = static_cast<int>(w / ratio);
  } else {
    h = pictureH > frameH ? frameH : pictureH;
    w = static_cast<int>(h * ratio);
  }
  return {frameW / 2 - w / 2, frameH / 2 - h / 2, w, h};
}

std::string BitmapInfoText(int w, int h) {
  return platform::Format("( %d x %d ) pixels", w, h);
}

}  // namespace imagelist
