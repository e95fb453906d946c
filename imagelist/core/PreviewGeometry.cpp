#include "imagelist/core/PreviewGeometry.h"

#include "ui/core/Error.h"

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
  return ui::Format("( %d x %d ) pixels", w, h);
}

namespace {

size_t FileNameStart(std::string_view path) {
  const size_t sep = path.find_last_of("\\:");
  return sep == std::string_view::npos ? 0 : sep + 1;
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string FileNameOf(std::string_view path) {
  return std::string(path.substr(FileNameStart(path)));
}

std::string ExtensionOf(std::string_view path) {
  const std::string_view name = path.substr(FileNameStart(path));
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string PreviewHint(std::string_view path, int w, int h) {
  return FileNameOf(path) + '\r' + BitmapInfoText(w, h);
}

PictureKind PictureKindOf(std::string_view path) {
  const std::string ext = ExtensionOf(path);
  std::string lower = ext;
  for (char& c : lower) c = AsciiLower(c);
  if (lower == "bmp") return PictureKind::Bitmap;
  if (lower == "jpg" || lower == "jpeg") return PictureKind::Jpeg;
  if (lower == "ico") return PictureKind::Icon;
  if (lower == "emf" || lower == "wmf") return PictureKind::Metafile;
  throw ui::Error(ui::Format("Unknown picture file extension (.%s)", ext.c_str()));
}

}  // namespace imagelist
