// Fitting a picture into the preview where its sides times the area's pass
// what 32 bits hold.
#include <gtest/gtest.h>

#include "ui/picture_fit.h"

namespace quill::ui {
namespace {

void ExpectFit(PictureSize picture, PictureSize area, PictureSize drawn) {
  const PictureSize fit = FitPicture(picture, area);
  EXPECT_EQ(fit.width, drawn.width) << picture.width << "x" << picture.height;
  EXPECT_EQ(fit.height, drawn.height) << picture.width << "x" << picture.height;
}

TEST(PictureFitTest, HugePicturesAreFittedWithoutOverflow) {
  // height × area width passes 2^31 when fitting by width.
  ExpectFit({2'200'000, 5'700'000}, {380, 1000}, {380, 984});
  // width × area height passes 2^31 when fitting by height.
  ExpectFit({5'700'000, 2'200'000}, {1000, 380}, {984, 380});
  ExpectFit({2'000'000'000, 2'000'000'000}, {380, 152}, {152, 152});
}

TEST(PictureFitTest, AnAreaWithoutRoomDrawsNothing) {
  ExpectFit({100, 50}, {0, 0}, {0, 0});
  ExpectFit({100, 50}, {0, 200}, {0, 0});
}

}  // namespace
}  // namespace quill::ui
