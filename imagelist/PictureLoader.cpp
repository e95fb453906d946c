#include "imagelist/PictureLoader.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "picture/BmpDecode.h"
#include "picture/IconImage.h"
#include "picture/MetafileCheck.h"
#include "imagelist/core/PreviewGeometry.h"
#include "picture/PictureKind.h"
#include "picture/Reduction.h"
#include "platform/FileIO.h"
#include "ui/Picture.h"
#include "platform/core/Error.h"
#include "picture/JpegToBmp.h"

namespace imagelist {

namespace {

using UniqueEnhMetaFile =
    platform::UniqueHandle<platform::traits::Simple<HENHMETAFILE, DeleteEnhMetaFile>>;

enum class Depth { Show, Test };

// The size in which the frame shows a picture of w x h, at least one pixel each way.
SIZE ShownSize(int w, int h, int frameW, int frameH) {
  const PreviewFit fit = FitPreview(w, h, frameW, frameH);
  return {std::max(fit.width, 1), std::max(fit.height, 1)};
}

LoadedPicture FromDecoded(const picture::DecodedImage& image, int fullW, int fullH) {
  LoadedPicture picture;
  picture.bitmap = ui::DibFromBgr(image.width, image.height, image.bgr);
  picture.width = fullW;
  picture.height = fullH;
  return picture;
}

// The file is read only as far as libjpeg goes: a test reads the header alone.
LoadedPicture LoadJpeg(const std::string& path, int frameW, int frameH, Depth depth) {
  platform::SequentialReader file(path);
  const picture::JpegInput input(
      [&file](uint8_t* into, size_t size) { return file.Read(into, size); });
  const picture::JpegHeader header = picture::ReadJpegHeader(input);
  if (depth == Depth::Test) {
    LoadedPicture picture;
    picture.width = header.width;
    picture.height = header.height;
    return picture;
  }
  const SIZE shown = ShownSize(header.width, header.height, frameW, frameH);
  file.Rewind();
  picture::DecodedImage image = picture::DecodeJpegForPreview(input, shown.cx, shown.cy);
  // libjpeg scales by 1/8 at most: a 48 MP picture still comes out at 1000 x 750. The
  // preview keeps only what it shows, and a box filter draws it better than stretching.
  const int factor = picture::ReductionFactor(image.width, image.height, shown.cx, shown.cy);
  if (factor > 1) image = picture::ReduceImage(image, factor);
  return FromDecoded(image, image.fullWidth, image.fullHeight);
}

LoadedPicture LoadBmp(const std::vector<uint8_t>& data, int frameW, int frameH) {
  const picture::BmpSize full = picture::ReadBmpSize(data.data(), data.size());
  const SIZE shown = ShownSize(full.width, full.height, frameW, frameH);
  const int factor = picture::ReductionFactor(full.width, full.height, shown.cx, shown.cy);
  return FromDecoded(picture::DecodeBmpReduced(data.data(), data.size(), factor), full.width,
                     full.height);
}

// A 24-bit bitmap of w x h filled with the button face colour, selected into a memory DC
// for the duration of draw(dc).
template <typename Draw>
platform::UniqueBitmap DrawOnBitmap(int w, int h, Draw&& draw) {
  void* bits = nullptr;
  platform::UniqueBitmap bitmap = ui::CreateDib24(w, h, &bits);
  platform::WindowDC screen(nullptr);
  platform::UniqueDC dc(CreateCompatibleDC(screen.get()));
  if (!dc) throw platform::Error("Out of system resources");
  {
    platform::SelectGuard select(dc.get(), bitmap.get());
    const RECT all{0, 0, w, h};
    FillRect(dc.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    draw(dc.get());
  }
  GdiFlush();
  return bitmap;
}

LoadedPicture LoadIconFile(const std::vector<uint8_t>& data) {
  const picture::IconEntry entry = picture::PickIconEntry(data.data(), data.size());
  const uint8_t* image = data.data() + entry.offset;
  picture::CheckIconImage(image, entry.size);
  platform::UniqueIcon icon(CreateIconFromResourceEx(const_cast<uint8_t*>(image), entry.size, TRUE,
                                                     0x00030000, entry.width, entry.height,
                                                     LR_DEFAULTCOLOR));
  if (!icon) throw platform::Error("Icon image is not valid");
  LoadedPicture picture;
  picture.bitmap = DrawOnBitmap(entry.width, entry.height, [&](HDC dc) {
    DrawIconEx(dc, 0, 0, icon.get(), entry.width, entry.height, 0, nullptr, DI_NORMAL);
  });
  picture.width = entry.width;
  picture.height = entry.height;
  return picture;
}

int ScreenDpi(int which) {
  platform::WindowDC screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), which);
  return dpi > 0 ? dpi : 96;
}

LoadedPicture LoadMetafile(const std::vector<uint8_t>& data, int frameW, int frameH) {
  const picture::MetafileInfo info = picture::ParseMetafile(data.data(), data.size());
  const int fullW = picture::HmmToPixels(info.widthHmm, ScreenDpi(LOGPIXELSX));
  const int fullH = picture::HmmToPixels(info.heightHmm, ScreenDpi(LOGPIXELSY));
  if (fullW <= 0 || fullH <= 0) throw platform::Error("Metafile is not valid");

  const uint8_t* body = data.data() + info.bodyOffset;
  UniqueEnhMetaFile metafile;
  if (info.placeable) {
    const METAFILEPICT picture{
        .mm = MM_ANISOTROPIC, .xExt = info.widthHmm, .yExt = info.heightHmm, .hMF = nullptr};
    metafile.reset(SetWinMetaFileBits(static_cast<UINT>(info.bodySize), body, nullptr, &picture));
  } else {
    metafile.reset(SetEnhMetaFileBits(static_cast<UINT>(info.bodySize), body));
  }
  if (!metafile) throw platform::Error("Metafile is not valid");

  // A vector picture loses nothing by being played straight at the size that is shown.
  const SIZE shown = ShownSize(fullW, fullH, frameW, frameH);
  const int factor = picture::ReductionFactor(fullW, fullH, shown.cx, shown.cy);
  const int w = (fullW + factor - 1) / factor;
  const int h = (fullH + factor - 1) / factor;
  LoadedPicture loaded;
  loaded.bitmap = DrawOnBitmap(w, h, [&](HDC dc) {
    const RECT target{0, 0, w, h};
    PlayEnhMetaFile(dc, metafile.get(), &target);
  });
  loaded.width = fullW;
  loaded.height = fullH;
  return loaded;
}

LoadedPicture Load(const std::string& path, int frameW, int frameH, Depth depth) {
  const picture::PictureKind kind = picture::PictureKindOf(path);
  switch (kind) {
    case picture::PictureKind::Bitmap:
      return LoadBmp(platform::ReadWholeFile(path), frameW, frameH);
    case picture::PictureKind::Jpeg:
      return LoadJpeg(path, frameW, frameH, depth);
    case picture::PictureKind::Icon:
      return LoadIconFile(platform::ReadWholeFile(path));
    case picture::PictureKind::Metafile:
      return LoadMetafile(platform::ReadWholeFile(path), frameW, frameH);
  }
  throw platform::Error(
      platform::Format("Unknown picture file extension (.%s)", picture::ExtensionOf(path).c_str()));
}

}  // namespace

LoadedPicture LoadPicture(const std::string& path, int frameW, int frameH) {
  return Load(path, frameW, frameH, Depth::Show);
}

LoadedPicture TestPicture(const std::string& path, int frameW, int frameH) {
  return Load(path, frameW, frameH, Depth::Test);
}

std::string GetBitmapInfo(const LoadedPicture& picture) {
  return BitmapInfoText(picture.width, picture.height);
}

}  // namespace imagelist
