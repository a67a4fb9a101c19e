#pragma once
// Move-only owners of the system handles every Windows part of the program
// uses, each released exactly once.
#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace quill::win32 {

// Owns a handle that `Free` releases.
template <typename Handle, auto Free>
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
    if (handle_ != Handle{}) Free(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_{};
};

using UniqueFont = UniqueHandle<HFONT, ::DeleteObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, ::DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, ::DeleteObject>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, ::DeleteObject>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ::ImageList_Destroy>;
using UniqueMenu = UniqueHandle<HMENU, ::DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, ::DestroyIcon>;
using UniqueAccelerators = UniqueHandle<HACCEL, ::DestroyAcceleratorTable>;
// For windows no parent destroys.
using UniqueWindow = UniqueHandle<HWND, ::DestroyWindow>;
// For DCs the program created (not those it borrowed from a window).
using UniqueDC = UniqueHandle<HDC, ::DeleteDC>;
using UniqueModule = UniqueHandle<HMODULE, ::FreeLibrary>;

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
