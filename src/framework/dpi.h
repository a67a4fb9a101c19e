#pragma once
// The window is declared in pixels of a 96-dpi screen; on a scaled screen
// every size is multiplied by the screen's dots per inch over 96.
#include <windows.h>

namespace quill::framework {

inline constexpr UINT kDesignDpi = 96;

// The dots per inch of the screen `window` is on: the system's where the
// system knows no figure per window (or for no window).
UINT DpiOf(HWND window);

inline int Scaled(int value, UINT dpi) {
  return ::MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}
// The other way: pixels at `dpi` back to the declared ones.
inline int Unscaled(int value, UINT dpi) {
  return ::MulDiv(value, static_cast<int>(kDesignDpi), static_cast<int>(dpi));
}

}  // namespace quill::framework
