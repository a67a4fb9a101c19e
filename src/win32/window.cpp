#include "win32/window.h"

#include <utility>

#include "win32/error_boundary.h"
#include "win32/lifetime.h"

namespace quill::win32 {
namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

bool RegisterClassOfOurs(const wchar_t* name, WNDPROC procedure, HBRUSH background,
                         HCURSOR cursor) {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Instance();
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return ::RegisterClassExW(&wc) != 0;
}

}  // namespace

Window::Window() { lifetime::Born(this); }

Window::~Window() {
  lifetime::Died(this);
  if (hwnd_) {
    // What is left of the object is no handler: the window is destroyed
    // without it.
    const HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd);
  }
}

void Window::DestroyWindowNow() {
  if (hwnd_) ::DestroyWindow(hwnd_);  // WM_NCDESTROY forgets the handle
}

bool EnsureWindowClass(const wchar_t* class_name, WNDPROC procedure, HBRUSH background,
                       HCURSOR cursor) {
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  return ::GetClassInfoExW(Instance(), class_name, &existing) ||
         RegisterClassOfOurs(class_name, procedure, background, cursor);
}

bool Window::CreateOwned(DWORD ex_style, const wchar_t* class_name, const std::wstring& caption,
                         DWORD style, const RECT& bounds, HWND parent) {
  return ::CreateWindowExW(ex_style, class_name, caption.c_str(), style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                           Instance(), this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (!lifetime::Alive(self)) {
    lifetime::CountStray();
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return GuardMessage(hwnd, message, [&] { return self->HandleMessage(message, wparam, lparam); });
}

WindowClass::WindowClass(const wchar_t* name, HBRUSH background, HCURSOR cursor) {
  if (RegisterClassOfOurs(name, Window::Procedure, background, cursor)) name_ = name;
}

WindowClass::~WindowClass() {
  if (name_) ::UnregisterClassW(name_, Instance());
}

WindowClass::WindowClass(WindowClass&& other) noexcept
    : name_(std::exchange(other.name_, nullptr)) {}

WindowClass& WindowClass::operator=(WindowClass&& other) noexcept {
  std::swap(name_, other.name_);
  return *this;
}

}  // namespace quill::win32
