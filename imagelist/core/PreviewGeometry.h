#pragma once
// Arithmetic and texts of the preview pane, and the picture type chosen by a file name.
#include <string>
#include <string_view>

namespace imagelist {

struct PreviewFit {
  int left, top, width, height;
};

// Places a picture in the preview frame. A picture is never enlarged. A portrait picture is
// fitted by its height; a landscape or square one by its width only, so one whose ratio is
// below the frame's comes out taller than the frame and gets a negative top (the frame
// clips it). A picture without area gets an empty fit at the frame's centre.
PreviewFit FitPreview(int pictureW, int pictureH, int frameW, int frameH);

// "( 1024 x 768 ) pixels"
std::string BitmapInfoText(int w, int h);

// The part after the last '\' or ':'.
std::string FileNameOf(std::string_view path);

// The text after the last '.' of the file name (see FileNameOf), without the dot; empty
// when the file name has no dot.
std::string ExtensionOf(std::string_view path);

// The hint of the preview: file name, carriage return, size text.
std::string PreviewHint(std::string_view path, int w, int h);

enum class PictureKind { Bitmap, Jpeg, Icon, Metafile };

// By extension, letter case ignored. Any other extension, or none, throws
// ui::Error "Unknown picture file extension (.%s)".
PictureKind PictureKindOf(std::string_view path);

}  // namespace imagelist
