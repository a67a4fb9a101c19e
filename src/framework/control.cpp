#include "framework/control.h"

#include <algorithm>

#include "framework/dpi.h"
#include "win32/error_boundary.h"
#include "win32/lifetime.h"

namespace quill::framework {
namespace {
constexpr UINT_PTR kRouteId = 1;
}  // namespace

Control::Control(std::wstring name, std::wstring kind)
    : name_(std::move(name)), kind_(std::move(kind)) {
  win32::lifetime::Born(this);
}

Control::~Control() {
  win32::lifetime::Died(this);
  if (!hwnd_) return;
  const HWND hwnd = hwnd_;
  hwnd_ = nullptr;
  ::RemoveWindowSubclass(hwnd, Route, kRouteId);
  ::DestroyWindow(hwnd);
}

LRESULT Control::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  return Default(message, wparam, lparam);
}

LRESULT Control::Default(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Control::Route(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                DWORD_PTR data) {
  auto* self = reinterpret_cast<Control*>(data);
  if (!win32::lifetime::Alive(self)) {
    win32::lifetime::CountStray();
    ::RemoveWindowSubclass(hwnd, Route, kRouteId);
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, Route, kRouteId);
    self->hwnd_ = nullptr;
    return ::DefSubclassProc(hwnd, message, wparam, lparam);
  }
  return win32::GuardMessage(hwnd, message,
                             [&] { return self->WindowProcedure(message, wparam, lparam); });
}

Box Control::Bounds() const {
  RECT r = {};
  ::GetWindowRect(hwnd_, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Control::SetBounds(const Box& box) {
  ::SetWindowPos(hwnd_, nullptr, box.x, box.y, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetVisible(bool visible) { ::ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE); }
bool Control::Visible() const { return (::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetEnabled(bool enabled) { ::EnableWindow(hwnd_, enabled); }
bool Control::Enabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }

std::wstring Control::Text() const {
  const int length = ::GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd_, text.data(), length + 1)));
  return text;
}

void Control::SetText(const std::wstring& text) { ::SetWindowTextW(hwnd_, text.c_str()); }

Box Control::ScaledFor(HWND parent, const Box& box) {
  const UINT dpi = DpiOf(parent);
  return {Scaled(box.x, dpi), Scaled(box.y, dpi), Scaled(box.width, dpi), Scaled(box.height, dpi)};
}

void Control::CreateWindowAs(const wchar_t* window_class, const std::wstring& text, DWORD style,
                             DWORD ex_style, HWND parent, UINT id, HFONT font,
                             const Box& declared) {
  const Box box = ScaledFor(parent, declared);
  const HWND hwnd = ::CreateWindowExW(
      ex_style, window_class, text.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS, box.x, box.y,
      box.width, box.height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
      ::GetModuleHandleW(nullptr), nullptr);
  hwnd_ = hwnd;
  id_ = id;
  if (!hwnd) return;
  ::SetWindowSubclass(hwnd, Route, kRouteId, reinterpret_cast<DWORD_PTR>(this));
  if (font) ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void LayOutAligned(const std::vector<Control*>& controls, const RECT& client) {
  RECT rest = client;
  for (Control* c : controls) {
    const Box box = c->Bounds();
    if (c->align() == Align::kTop) {
      c->SetBounds({rest.left, rest.top, rest.right - rest.left, box.height});
      rest.top += box.height;
    }
  }
  for (Control* c : controls) {
    const Box box = c->Bounds();
    if (c->align() == Align::kBottom) {
      rest.bottom -= box.height;
      c->SetBounds({rest.left, rest.bottom, rest.right - rest.left, box.height});
    }
  }
  for (Control* c : controls)
    if (c->align() == Align::kClient)
      c->SetBounds({rest.left, rest.top, std::max(0L, rest.right - rest.left),
                    std::max(0L, rest.bottom - rest.top)});
}

}  // namespace quill::framework
