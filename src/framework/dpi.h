#pragma once
// The window is declared in pixels of a 96-dpi screen; on a scaled screen
// every size is multiplied by the screen's dots per inch over 96.
#include <windows.h>

#include "framework/window.h"

namespace quill::framework {

inline constexpr UINT kDesignDpi = 96;

// The dots per inch of the screen `window` is on: the system's where the
// system knows no figure per window (or for no window).
UINT DpiOf(HWND window);

inline int Scaled(int value, UINT dpi) {
  return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// Window bounds measured at one dots per inch, at another.
inline Bounds Rescaled(const Bounds& bounds, UINT from, UINT to) {
  const auto scale = [from, to](int value) {
    return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
  };
  return {scale(bounds.left), scale(bounds.top), scale(bounds.width), scale(bounds.height)};
}

}  // namespace quill::framework
