#pragma once
// Reduction of decoded pictures for the preview. The preview never shows a picture larger
// than its frame, so a picture is kept only as large as what is shown needs.
#include "ui/core/Image.h"

namespace imagelist {

// The largest whole factor by which a picture of pictureW x pictureH can be divided and
// still cover shownW x shownH; 1 when it cannot be reduced.
int ReductionFactor(int pictureW, int pictureH, int shownW, int shownH);

// Averages blocks of factor x factor pixels (a box filter). The result is
// ceil(width / factor) x ceil(height / factor); partial blocks at the right and top edges
// average the pixels they have. The full size of the picture is carried over.
ui::DecodedImage ReduceImage(const ui::DecodedImage& image, int factor);

}  // namespace imagelist
