#include "ui/picture_fit.h"

#include <cstdint>

namespace quill::ui {

PictureSize FitPicture(PictureSize picture, PictureSize area) {
  // In 64 bits: a picture's side times an area's side passes 2^31 for tall
  // or wide pictures. What is kept never exceeds the area, so fits an int.
  const std::int64_t w = picture.width, h = picture.height;
  // By width first; by height when the result would be too tall.
  std::int64_t dw = area.width, dh = h * area.width / w;
  if (area.height < dh) {
    dh = area.height;
    dw = w * area.height / h;
  }
  // A picture smaller than the area keeps its own size.
  if (h < dh || w < dw) return picture;
  return {static_cast<int>(dw), static_cast<int>(dh)};
}

}  // namespace quill::ui
