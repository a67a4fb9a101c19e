#pragma once
// Where a picture goes in the preview: scaled to fit the area with its
// aspect ratio kept, anchored at the top-left corner, never enlarged.
namespace quill::ui {

struct PictureSize {
  int width;
  int height;
};

// The drawn size of a `picture` (both sides positive) in an `area`.
PictureSize FitPicture(PictureSize picture, PictureSize area);

}  // namespace quill::ui
