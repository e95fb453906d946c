#pragma once
// Arithmetic and texts of the preview pane.
#include <string>

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

}  // namespace imagelist
