#include "platform/win32/win32_screen.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "res/resource.h"
#include "win32/handles.h"

namespace quill::platform {
namespace {

HWND Hwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

Rect PrimaryScreenRect() {
  return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

// A memory DC with a bitmap selected into it; the bitmap is put back out
// and the DC deleted at the end of the scope, so the bitmap is free to be
// handed to the clipboard between drawing operations.
class BitmapDC {
 public:
  explicit BitmapDC(HGDIOBJ bitmap) : selected_(dc_.get(), bitmap) {}
  HDC get() const { return dc_.get(); }

 private:
  win32::MemoryDC dc_{nullptr};
  win32::ScopedSelectObject selected_;
};

// Our thread's input state joined with another thread's for one scope, so
// that GetCursor reads that thread's cursor.
class AttachedInput {
 public:
  AttachedInput(DWORD other, DWORD own)
      : other_(other), own_(own), attached_(::AttachThreadInput(other, own, TRUE) != FALSE) {}
  ~AttachedInput() {
    if (attached_) ::AttachThreadInput(other_, own_, FALSE);
  }
  AttachedInput(const AttachedInput&) = delete;
  AttachedInput& operator=(const AttachedInput&) = delete;

 private:
  DWORD other_;
  DWORD own_;
  bool attached_;
};

HCURSOR CurrentCursor(WindowId window) {
  const DWORD own = ::GetCurrentThreadId();
  const DWORD other = window ? ::GetWindowThreadProcessId(Hwnd(window), nullptr) : 0;
  if (other == 0 || other == own) return ::GetCursor();
  AttachedInput attached(other, own);
  return ::GetCursor();
}

// Draws a cursor at its real size with its hot spot at `at`. False when the
// cursor cannot be read, as a cursor of another process cannot under Wine.
bool DrawWithHotSpot(HDC dc, HCURSOR cursor, Point at) {
  ICONINFO info = {};
  if (!cursor || !::GetIconInfo(cursor, &info)) return false;
  const win32::UniqueGdiObject mask(info.hbmMask), colour(info.hbmColor);
  return ::DrawIconEx(dc, at.x - static_cast<int>(info.xHotspot),
                      at.y - static_cast<int>(info.yHotspot), cursor, 0, 0, 0, nullptr,
                      DI_NORMAL) != FALSE;
}

class Win32ScreenBitmap : public ScreenBitmap {
 public:
  Win32ScreenBitmap(win32::UniqueGdiObject bitmap, int width, int height)
      : bitmap_(std::move(bitmap)), width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void CopyFromScreen(const Rect& source, Point to) override {
    // A source crossing the screen's edge comes back all black from some
    // displays, though the copy reports success: only the part on the
    // screen is copied, the rest is made white first.
    win32::WindowDC screen_dc(nullptr);
    CopyWithin(PrimaryScreenRect(), screen_dc.get(), source, to);
  }

  void CopyFromBitmap(const ScreenBitmap& picture, const Rect& source, Point to) override {
    BitmapDC from(picture.Handle());
    CopyWithin({0, 0, picture.Width(), picture.Height()}, from.get(), source, to);
  }

  void FillWhite() override {
    BitmapDC dc(bitmap_.get());
    if (dc.get()) ::PatBlt(dc.get(), 0, 0, width_, height_, WHITENESS);
  }

  bool DrawCursor(std::int32_t choice, WindowId window, Point at) override {
    BitmapDC dc(bitmap_.get());
    if (!dc.get()) return false;
    if (choice == 1) {
      // Where the current cursor cannot be drawn, the arrow stands for it.
      return DrawWithHotSpot(dc.get(), CurrentCursor(window), at) ||
             DrawWithHotSpot(dc.get(), ::LoadCursorW(nullptr, IDC_ARROW), at);
    }
    const HCURSOR cursor = choice < 0 ? ::LoadCursorW(::GetModuleHandleW(nullptr),
                                                      MAKEINTRESOURCEW(IDC_FRAMEWORK_BASE - choice))
                                      : ::LoadCursorW(nullptr, MAKEINTRESOURCEW(choice));
    return DrawWithHotSpot(dc.get(), cursor, at);
  }

  std::uint32_t PixelAt(int x, int y) const override {
    BitmapDC dc(bitmap_.get());
    const COLORREF c = dc.get() ? ::GetPixel(dc.get(), x, y) : CLR_INVALID;
    if (c == CLR_INVALID) return 0;
    return std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c);
  }

  DataHandle Handle() const override { return bitmap_.get(); }
  void Release() override { bitmap_.release(); }

 private:
  // Copies `source` of `from`, whose pixels cover `bounds`, to `to`: the
  // part within the bounds, what lies outside them white.
  void CopyWithin(const Rect& bounds, HDC from, const Rect& source, Point to) {
    const Rect inside = {std::max(source.left, bounds.left), std::max(source.top, bounds.top),
                         std::min(source.right, bounds.right),
                         std::min(source.bottom, bounds.bottom)};
    BitmapDC dc(bitmap_.get());
    if (!dc.get()) return;
    if (!(inside == source))
      ::PatBlt(dc.get(), to.x, to.y, static_cast<int>(source.Width()),
               static_cast<int>(source.Height()), WHITENESS);
    if (inside.IsEmpty() || !from) return;
    ::BitBlt(dc.get(), to.x + (inside.left - source.left), to.y + (inside.top - source.top),
             static_cast<int>(inside.Width()), static_cast<int>(inside.Height()), from, inside.left,
             inside.top, SRCCOPY);
  }

  win32::UniqueGdiObject bitmap_;
  int width_;
  int height_;
};

}  // namespace

Rect Win32Screen::PrimaryScreen() { return PrimaryScreenRect(); }

Point Win32Screen::CursorPos() {
  POINT p = {};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

WindowId Win32Screen::ForegroundWindow() { return Id(::GetForegroundWindow()); }

Rect Win32Screen::WindowRect(WindowId window) {
  RECT r = {};
  if (!window || !::GetWindowRect(Hwnd(window), &r)) return {};
  return {r.left, r.top, r.right, r.bottom};
}

WindowId Win32Screen::WindowFromPoint(Point at) { return Id(::WindowFromPoint({at.x, at.y})); }
WindowId Win32Screen::TopWindow() { return Id(::GetTopWindow(nullptr)); }
WindowId Win32Screen::NextWindow(WindowId window) {
  return Id(::GetWindow(Hwnd(window), GW_HWNDNEXT));
}

std::uint32_t Win32Screen::WindowStyle(WindowId window) {
  if (!window || !::IsWindow(Hwnd(window))) return 0;
  return static_cast<std::uint32_t>(::GetWindowLongW(Hwnd(window), GWL_STYLE));
}

bool Win32Screen::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned key) {
  return ::RegisterHotKey(Hwnd(window), id, modifiers, key) != FALSE;
}

bool Win32Screen::UnregisterHotKey(WindowId window, int id) {
  return ::UnregisterHotKey(Hwnd(window), id) != FALSE;
}

bool Win32Screen::SetTimer(WindowId window, std::uintptr_t id, unsigned milliseconds) {
  return ::SetTimer(Hwnd(window), id, milliseconds, nullptr) != 0;
}

bool Win32Screen::KillTimer(WindowId window, std::uintptr_t id) {
  return ::KillTimer(Hwnd(window), id) != FALSE;
}

void Win32Screen::Minimize(WindowId window) { ::ShowWindow(Hwnd(window), SW_MINIMIZE); }
void Win32Screen::Restore(WindowId window) { ::ShowWindow(Hwnd(window), SW_RESTORE); }
void Win32Screen::BringToForeground(WindowId window) { ::SetForegroundWindow(Hwnd(window)); }
ShowState Win32Screen::ShowStateOf(WindowId window) const {
  if (!::IsWindowVisible(Hwnd(window))) return ShowState::kHidden;
  return ::IsIconic(Hwnd(window)) ? ShowState::kMinimized : ShowState::kNormal;
}

void Win32Screen::Beep(unsigned kind) { ::MessageBeep(kind); }

std::unique_ptr<ScreenBitmap> Win32Screen::CreateBitmap(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  win32::WindowDC screen(nullptr);
  win32::UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), width, height));
  if (!bitmap.get()) return nullptr;
  return std::make_unique<Win32ScreenBitmap>(std::move(bitmap), width, height);
}

}  // namespace quill::platform
