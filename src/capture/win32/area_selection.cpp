#include "capture/win32/area_selection.h"

#include <windows.h>

#include "win32/handles.h"
#include "win32/window.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <utility>

namespace quill::capture {
namespace {

constexpr wchar_t kGrabClass[] = L"FGrab";
constexpr wchar_t kExpandClass[] = L"FExpand";
constexpr BYTE kOverlayOpacity = 1;

// Positions arrive signed, so that nothing left of or above the primary
// screen is read as a far-away point.
platform::Point PointOf(LPARAM lparam) {
  return {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
}

// An error ends the selection before the boundary shows it: the box must
// not sit under a screen-wide overlay that holds the mouse.
class AbandonOnError {
 public:
  explicit AbandonOnError(Selection& selection)
      : selection_(selection), errors_(std::uncaught_exceptions()) {}
  ~AbandonOnError() {
    if (std::uncaught_exceptions() > errors_) selection_.Abandon();
  }
  AbandonOnError(const AbandonOnError&) = delete;
  AbandonOnError& operator=(const AbandonOnError&) = delete;

 private:
  Selection& selection_;
  int errors_;
};

win32::WindowClass SelectionClass(const wchar_t* name) {
  return win32::WindowClass(name, static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)),
                            ::LoadCursorW(nullptr, IDC_CROSS));
}

// Looked up by name: older systems have no layered windows.
void MakeNearlyTransparent(HWND hwnd) {
  using SetAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  const win32::UniqueModule user32(::LoadLibraryW(L"user32.dll"));
  if (!user32.get()) return;
  const FARPROC found = ::GetProcAddress(user32.get(), "SetLayeredWindowAttributes");
  if (!found) return;
  reinterpret_cast<SetAttributes>(reinterpret_cast<void (*)()>(found))(hwnd, 0, kOverlayOpacity,
                                                                       LWA_ALPHA);
}

// Looked up by name: systems before version 6 have no composition.
bool DesktopComposed() {
  using IsComposed = HRESULT(WINAPI*)(BOOL*);
  const win32::UniqueModule dwmapi(::LoadLibraryW(L"dwmapi.dll"));
  if (!dwmapi.get()) return false;
  const FARPROC found = ::GetProcAddress(dwmapi.get(), "DwmIsCompositionEnabled");
  if (!found) return false;
  BOOL composed = FALSE;
  return SUCCEEDED(reinterpret_cast<IsComposed>(reinterpret_cast<void (*)()>(found))(&composed)) &&
         composed;
}

BOOL CALLBACK RepaintNow(HWND hwnd, LPARAM) {
  ::UpdateWindow(hwnd);
  return TRUE;
}

RECT ToRect(const platform::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

platform::Rect Union(const platform::Rect& a, const platform::Rect& b) {
  if (a.IsEmpty()) return b;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

void Stretch(HDC to, const platform::Rect& target, HDC from, const platform::Rect& source) {
  ::StretchBlt(to, target.left, target.top, static_cast<int>(target.Width()),
               static_cast<int>(target.Height()), from, source.left, source.top,
               static_cast<int>(source.Width()), static_cast<int>(source.Height()), SRCCOPY);
}

}  // namespace

class AreaSelection::Windows : public SelectionSurface {
 public:
  Windows(Capturer& capturer, platform::Screen& screen, platform::Clock& clock)
      : layered_(capturer.LayeredMode()), selection_(capturer, screen, clock, *this) {}

  Selection& selection() { return selection_; }
  HWND overlay() const { return overlay_ ? overlay_->hwnd() : nullptr; }
  HWND magnifier() const { return magnifier_ ? magnifier_->hwnd() : nullptr; }

  void Close() {
    selection_.Abandon();
    magnifier_.reset();
    overlay_.reset();
    expand_class_ = win32::WindowClass();
    grab_class_ = win32::WindowClass();
  }

  // --- SelectionSurface ---
  bool CreateOverlay() override {
    if (overlay() && ::IsWindow(overlay())) return true;
    // Destroyed by someone else: made anew.
    overlay_.reset();
    grab_class_ = win32::WindowClass();
    grab_class_ = SelectionClass(kGrabClass);
    if (!grab_class_) return false;
    const DWORD ex_style = layered_ ? WS_EX_LAYERED | WS_EX_TOPMOST : WS_EX_TOPMOST;
    overlay_ = std::make_unique<win32::HandledWindow>(
        [this](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
          return OnGrab(hwnd, message, wparam, lparam);
        });
    if (!overlay_->CreateOwned(
            ex_style, kGrabClass, L"", WS_POPUP,
            {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}, nullptr)) {
      overlay_.reset();
      grab_class_ = win32::WindowClass();
      return false;
    }
    if (layered_) MakeNearlyTransparent(overlay());
    return true;
  }

  void ShowOverlay(const platform::ScreenBitmap* picture) override {
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    // The frozen variant paints this picture, and its magnifier enlarges
    // it, never its own drawing.
    picture_ = picture ? static_cast<HBITMAP>(picture->Handle()) : nullptr;
    ::ShowWindow(overlay(), SW_SHOW);
    // Covers the screen as it is now, also after a change of resolution.
    ::SetWindowPos(overlay(), HWND_TOPMOST, 0, 0, width, height, 0);
    // Painted now, before any outline is inverted over it.
    ::UpdateWindow(overlay());
    // Keys reach the overlay only while it has the focus.
    ::SetForegroundWindow(overlay());
  }

  void HideOverlay() override {
    picture_ = nullptr;
    ::ShowWindow(overlay(), SW_HIDE);
    ::SetWindowPos(overlay(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Where the screen does not keep what lies under a window, our own
    // windows beneath repaint now, before the screen is captured.
    ::EnumThreadWindows(::GetCurrentThreadId(), RepaintNow, 0);
    ::GdiFlush();
  }

  void ShowMagnifierWindow(const platform::Rect& bounds) override {
    if (!magnifier()) {
      expand_class_ = SelectionClass(kExpandClass);
      if (!expand_class_) return;
      magnifier_ = std::make_unique<win32::HandledWindow>(
          [this](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
            return OnExpand(hwnd, message, wparam, lparam);
          });
      if (!magnifier_->CreateOwned(0, kExpandClass, L"", WS_POPUP | WS_BORDER, ToRect(bounds),
                                   nullptr)) {
        magnifier_.reset();
        return;
      }
    }
    // Not activated: the keys belong to the overlay.
    ::ShowWindow(magnifier(), SW_SHOWNOACTIVATE);
    ::SetWindowPos(magnifier(), nullptr, bounds.left, bounds.top, static_cast<int>(bounds.Width()),
                   static_cast<int>(bounds.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void HideMagnifier() override {
    if (magnifier()) ::ShowWindow(magnifier(), SW_HIDE);
    if (drawn_.IsEmpty() || !overlay()) return;
    // The overlay's picture comes back where the magnifier was drawn.
    win32::WindowDC dc(overlay());
    win32::MemoryDC copy(dc.get());
    if (dc.get() && copy.get() && picture_) {
      win32::ScopedSelectObject selected(copy.get(), picture_);
      ::BitBlt(dc.get(), drawn_.left, drawn_.top, static_cast<int>(drawn_.Width()),
               static_cast<int>(drawn_.Height()), copy.get(), drawn_.left, drawn_.top, SRCCOPY);
    }
    drawn_ = {};
  }

  void InvalidateMagnifierWindow() override {
    if (magnifier()) ::InvalidateRect(magnifier(), nullptr, FALSE);
  }

  void DrawMagnifier(const Magnifier& m) override {
    win32::WindowDC dc(overlay());
    win32::MemoryDC copy(dc.get());
    if (!dc.get() || !copy.get() || !picture_) return;
    {
      win32::ScopedSelectObject selected(copy.get(), picture_);
      Stretch(dc.get(), m.target, copy.get(), m.source);
    }
    if (m.crosshair) {
      const int cx = m.target.left + static_cast<int>(m.target.Width() / 2) - 1;
      const int cy = m.target.top + static_cast<int>(m.target.Height() / 2) - 1;
      ::PatBlt(dc.get(), m.target.left, cy, static_cast<int>(m.target.Width()), 1, DSTINVERT);
      ::PatBlt(dc.get(), cx, m.target.top, 1, static_cast<int>(m.target.Height()), DSTINVERT);
    }
    RECT edge = ToRect(m.target);
    ::InflateRect(&edge, 2, 2);
    ::DrawEdge(dc.get(), &edge, EDGE_RAISED, BF_RECT);
    drawn_ = Union(drawn_, {edge.left, edge.top, edge.right, edge.bottom});
  }

  void InvertOutline(const platform::Rect& rect) override {
    win32::UniqueDC display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    if (!display.get()) return;
    ::SetROP2(display.get(), R2_NOT);
    win32::ScopedSelectObject brush(display.get(), ::GetStockObject(NULL_BRUSH));
    ::Rectangle(display.get(), rect.left, rect.top, rect.right, rect.bottom);
  }

  void ShowPointer(bool show) override { ::ShowCursor(show ? TRUE : FALSE); }
  void NudgePointer(int dx, int dy) override {
    ::mouse_event(MOUSEEVENTF_MOVE, static_cast<DWORD>(dx), static_cast<DWORD>(dy), 0, 0);
  }
  void ReleaseMouseCapture() override { ::ReleaseCapture(); }

 private:
  LRESULT OnGrab(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    const AbandonOnError guard(selection_);
    switch (message) {
      case WM_KEYDOWN:
        selection_.KeyDown(static_cast<unsigned>(wparam));
        break;
      case WM_KEYUP:
        if (selection_.KeyUp(static_cast<unsigned>(wparam))) return 0;
        break;
      case WM_MOUSEMOVE:
        selection_.MouseMove(PointOf(lparam));
        return 0;
      case WM_LBUTTONDOWN:
        selection_.ButtonDown(PointOf(lparam));
        return 0;
      case WM_LBUTTONUP:
        selection_.ButtonUp(PointOf(lparam));
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        PaintOverlay(hwnd);
        return 0;
      case WM_CLOSE:
        // Alt+F4 and the like end the selection, not the overlay, which
        // is reused.
        selection_.Abandon();
        return 0;
      case WM_DISPLAYCHANGE:
        // The overlay and its picture no longer cover the screen.
        selection_.Abandon();
        break;
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }

  LRESULT OnExpand(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_PAINT) return ::DefWindowProcW(hwnd, message, wparam, lparam);
    win32::PaintDC paint(hwnd);
    POINT pointer = {};
    ::GetCursorPos(&pointer);
    const Magnifier m = selection_.WindowMagnifierAt({pointer.x, pointer.y});
    {
      const HWND desktop = ::GetDesktopWindow();
      win32::WindowDC screen(desktop);
      Stretch(paint.get(), m.target, screen.get(), m.source);
    }
    if (m.crosshair) {
      const int cx = static_cast<int>(m.target.Width() / 2);
      const int cy = static_cast<int>(m.target.Height() / 2);
      ::MoveToEx(paint.get(), 0, cy, nullptr);
      ::LineTo(paint.get(), static_cast<int>(m.target.Width()), cy);
      ::MoveToEx(paint.get(), cx, 0, nullptr);
      ::LineTo(paint.get(), cx, static_cast<int>(m.target.Height()));
    }
    return 0;
  }

  // The layered overlay shows nothing of its own; the other one shows the
  // screen as it was when it came up.
  void PaintOverlay(HWND hwnd) {
    win32::PaintDC paint(hwnd);
    if (layered_ || !picture_) return;
    win32::MemoryDC copy(paint.get());
    if (!copy.get()) return;
    win32::ScopedSelectObject selected(copy.get(), picture_);
    ::BitBlt(paint.get(), 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
             copy.get(), 0, 0, SRCCOPY);
  }

  bool layered_;
  HBITMAP picture_ = nullptr;  // the selection's, while the overlay shows it
  platform::Rect drawn_;       // where the magnifier was drawn on the overlay
  // Classes before windows: a class goes only after its windows.
  win32::WindowClass grab_class_;
  win32::WindowClass expand_class_;
  std::unique_ptr<win32::HandledWindow> overlay_;
  std::unique_ptr<win32::HandledWindow> magnifier_;
  // Last, so that a running selection ends while the windows still exist.
  Selection selection_;
};

bool LayeredOverlayShowsScreen() {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) && version.dwMajorVersion >= 6 && DesktopComposed();
}

AreaSelection::AreaSelection(Capturer& capturer, platform::Screen& screen, platform::Clock& clock)
    : windows_(std::make_unique<Windows>(capturer, screen, clock)) {}

AreaSelection::~AreaSelection() { windows_->Close(); }

bool AreaSelection::Start(int expand_setting) {
  return windows_->selection().Start(expand_setting);
}

void AreaSelection::Close() { windows_->Close(); }

void AreaSelection::Cancel() { windows_->selection().Abandon(); }

bool AreaSelection::Active() const { return windows_->selection().Active(); }

platform::WindowId AreaSelection::OverlayWindow() const {
  return reinterpret_cast<platform::WindowId>(windows_->overlay());
}

const Selection& AreaSelection::CurrentSelection() const { return windows_->selection(); }

}  // namespace quill::capture
