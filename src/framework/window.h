#pragma once
// Base of every top-level window: one object per window, found again from
// the window handle, with one virtual message handler.
#include <windows.h>

#include <string>

namespace quill::framework {

struct Bounds {
  int left, top, width, height;
};

// Registers a window class of this program once; true if it exists now.
bool EnsureWindowClass(const wchar_t* class_name, WNDPROC procedure, HBRUSH background,
                       HCURSOR cursor = nullptr);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class on first use and creates the window; false if the
  // window could not be created.
  bool CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                      const Bounds& bounds, HBRUSH background);
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace quill::framework
