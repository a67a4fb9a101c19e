#pragma once
// The window is declared in pixels of a 96-dpi screen; on a scaled screen
// every size is multiplied by the screen's dots per inch over 96.
#include <windows.h>

#include "framework/box.h"

namespace quill::framework {

inline constexpr UINT kDesignDpi = 96;

// The dots per inch of the screen `window` is on: the system's where the
// system knows no figure per window (or for no window).
UINT DpiOf(HWND window);

inline int Scaled(int value, UINT dpi) {
  return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// A window's place and size measured at one dots per inch, at another: the
// size scales, the place stays where it is on the screen (a point of a
// second screen scaled would be somewhere else).
inline Box Resized(const Box& box, UINT from, UINT to) {
  const auto scale = [from, to](int value) {
    return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
  };
  return {box.x, box.y, scale(box.width), scale(box.height)};
}

}  // namespace quill::framework
