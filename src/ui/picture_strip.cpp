#include "ui/picture_strip.h"

#include <commctrl.h>

#include "framework/dpi.h"
#include "res/resource.h"

namespace quill::ui {
namespace {

constexpr int kStepPercents[] = {100, 125, 150, 200};

struct StripResource {
  UINT first;
  int count;
  int size;  // pixels at 100 %
};

StripResource ResourceOf(Strip strip) {
  switch (strip) {
    case Strip::kToolBar:
      return {IDB_TOOLBAR, 12, 16};
    case Strip::kToolBarDisabled:
      return {IDB_TOOLBAR_DISABLED, 12, 16};
    case Strip::kKinds:
      return {IDB_KINDS, 4, 16};
    case Strip::kCursors:
      break;
  }
  return {IDB_CURSORS, 20, 24};
}

}  // namespace

int StripStep(UINT dpi) {
  int step = 0;
  for (int k = 1; k < static_cast<int>(std::size(kStepPercents)); ++k)
    if (static_cast<int>(dpi) * 100 >= kStepPercents[k] * static_cast<int>(framework::kDesignDpi))
      step = k;
  return step;
}

win32::UniqueImageList LoadStrip(Strip strip, UINT dpi) {
  const StripResource resource = ResourceOf(strip);
  const int step = StripStep(dpi);
  const int size = resource.size * kStepPercents[step] / 100;
  win32::UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR32, resource.count, 0));
  win32::UniqueBitmap pictures(static_cast<HBITMAP>(
      ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource.first + step),
                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (list && pictures) ::ImageList_Add(list.get(), pictures.get(), nullptr);
  return list;
}

}  // namespace quill::ui
