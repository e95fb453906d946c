#include "picture/PictureKind.h"

#include "platform/core/Error.h"
#include "platform/core/PathText.h"

namespace picture {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string ExtensionOf(std::string_view path) {
  const std::string name = platform::FileNameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

PictureKind PictureKindOf(std::string_view path) {
  const std::string ext = ExtensionOf(path);
  std::string lower = ext;
  for (char& c : lower) c = AsciiLower(c);
  if (lower == "bmp") return PictureKind::Bitmap;
  if (lower == "jpg" || lower == "jpeg") return PictureKind::Jpeg;
  if (lower == "ico") return PictureKind::Icon;
  if (lower == "emf" || lower == "wmf") return PictureKind::Metafile;
  throw platform::Error(platform::Format("Unknown picture file extension (.%s)", ext.c_str()));
}

}  // namespace picture
