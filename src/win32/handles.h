#pragma once
// Move-only owners of the system handles every Windows part of the program
// uses, each released exactly once.
#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace quill::win32 {

template <typename Handle, typename Traits>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, Handle{}));
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  Handle release() { return std::exchange(handle_, Handle{}); }
  void reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Traits::Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

struct GdiObjectTraits {
  static void Free(HGDIOBJ object) { ::DeleteObject(object); }
};
struct ImageListTraits {
  static void Free(HIMAGELIST list) { ::ImageList_Destroy(list); }
};
struct MenuTraits {
  static void Free(HMENU menu) { ::DestroyMenu(menu); }
};
struct IconTraits {
  static void Free(HICON icon) { ::DestroyIcon(icon); }
};
struct AcceleratorTraits {
  static void Free(HACCEL table) { ::DestroyAcceleratorTable(table); }
};
// For windows no parent destroys.
struct WindowTraits {
  static void Free(HWND window) { ::DestroyWindow(window); }
};
// For DCs the program created (not those it borrowed from a window).
struct CreatedDCTraits {
  static void Free(HDC dc) { ::DeleteDC(dc); }
};
struct ModuleTraits {
  static void Free(HMODULE module) { ::FreeLibrary(module); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectTraits>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectTraits>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, GdiObjectTraits>;
using UniqueDC = UniqueHandle<HDC, CreatedDCTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;

// Selects an object into a DC and puts the previous one back at the end of
// the scope.
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~ScopedSelectObject() {
    if (previous_) ::SelectObject(dc_, previous_);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's DC (nullptr: the screen's), released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The DC of a WM_PAINT: BeginPaint here, EndPaint at the end of the scope.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  ~PaintDC() { ::EndPaint(window_, &paint_); }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

// A memory DC compatible with another (nullptr: the screen), deleted at the
// end of the scope.
class MemoryDC : public UniqueDC {
 public:
  explicit MemoryDC(HDC compatible) : UniqueDC(::CreateCompatibleDC(compatible)) {}
};

}  // namespace quill::win32
