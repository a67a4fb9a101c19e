#include "framework/window.h"

#include "framework/error_boundary.h"
#include "framework/lifetime.h"

namespace quill::framework {

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
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc = {};
  if (::GetClassInfoExW(instance, class_name, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  return ::RegisterClassExW(&wc) != 0;
}

bool Window::CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                            const Bounds& bounds, HBRUSH background) {
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!EnsureWindowClass(class_name, Procedure, background, ::LoadCursorW(nullptr, IDC_ARROW)))
    return false;
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, class_name, caption.c_str(), style, bounds.left,
                           bounds.top, bounds.width, bounds.height, nullptr, nullptr, instance,
                           this) != nullptr;
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

}  // namespace quill::framework
