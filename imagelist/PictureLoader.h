#pragma once
// Loading a picture file for the preview: the type by the file name's extension ("bmp";
// "jpg" and "jpeg"; "ico"; "emf" and "wmf"), then the file's contents, each failure with
// the user-facing text of its kind.
//
// The preview never shows more than its frame, so the bitmap made here covers the size
// the frame shows and no more: JPEG images are decoded with libjpeg's DCT scaling, large
// bitmaps are reduced after decoding, metafiles are played at the reduced size. The size
// reported for the picture is always its own full size.
#include <string>

#include "platform/Handles.h"

namespace imagelist {

struct LoadedPicture {
  platform::UniqueBitmap bitmap;  // 24 bits per pixel, device-independent; may be smaller
  int width = 0;                  // of the picture itself
  int height = 0;
};

// Loads the picture for a frame of frameW x frameH pixels. Errors: "Unknown picture file
// extension (.%s)", "Cannot open file "%s". %s", "Bitmap image is not valid", "Icon image
// is not valid", "Metafile is not valid", "JPEG error #%d".
LoadedPicture LoadPicture(const std::string& path, int frameW, int frameH);

// The test that a file is a picture, with the same errors, except that a JPEG file is read
// only up to its header: its data are decoded when it is shown, so damaged data pass here.
// The bitmap of a JPEG file stays empty.
LoadedPicture TestPicture(const std::string& path, int frameW, int frameH);

// The size text of a picture: "( W x H ) pixels".
std::string GetBitmapInfo(const LoadedPicture& picture);

}  // namespace imagelist
