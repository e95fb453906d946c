#include <gtest/gtest.h>

#include "app/core/Slide.h"
#include "platform/core/Error.h"

namespace {

TEST(Slide, StepsBetweenTheRightEdgeAndTheCentre) {
  EXPECT_EQ(app::SlideSteps(1024, 490), 1233);
  EXPECT_EQ(app::SlideSteps(1025, 491), 1500 - (512 - 245));
  // So wide a screen that the centre lies at or right of the start: no moves.
  EXPECT_EQ(app::SlideSteps(3490, 490), 0);
  EXPECT_EQ(app::SlideSteps(4000, 490), 0);
}

TEST(ErrorText, FullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(platform::ErrorBoxText("Bitmap image is not valid"), "Bitmap image is not valid.");
  EXPECT_EQ(platform::ErrorBoxText("JPEG error #42"), "JPEG error #42.");
  EXPECT_EQ(platform::ErrorBoxText("Invalid data type for 'UseSound'"),
            "Invalid data type for 'UseSound'");
  EXPECT_EQ(platform::ErrorBoxText("List index out of bounds (-1)"),
            "List index out of bounds (-1)");
  EXPECT_EQ(platform::ErrorBoxText("ends."), "ends.");
  EXPECT_EQ(platform::ErrorBoxText(""), "");
  EXPECT_EQ(platform::ErrorBoxText("\xE9"), "\xE9.");  // 8-bit characters sort after '.'
}

TEST(ErrorText, FormatHasNoLengthLimit) {
  const std::string path(5000, 'p');
  EXPECT_EQ(platform::Format("Cannot open file \"%s\". %s", path.c_str(), "gone").size(),
            5000u + 25u);
}

}  // namespace
