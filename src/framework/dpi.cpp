#include "framework/dpi.h"

namespace quill::framework {

UINT DpiOf(HWND window) {
  // Looked up by name: systems before Windows 10 have no figure per window.
  using PerWindow = UINT(WINAPI*)(HWND);
  static const auto per_window = reinterpret_cast<PerWindow>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window && per_window) {
    if (const UINT dpi = per_window(window)) return dpi;
  }
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

}  // namespace quill::framework
