#pragma once
// Base of every window of the program that is not a subclassed control:
// one object per window, found again from the window handle, with one
// virtual message handler, all behind the one window procedure.
//
// Ownership rules of the window layer:
// 1. Each object owns its window. Its destructor unhooks itself from the
//    window first (window procedure data, subclass), then destroys the
//    window; nothing reaches the object after that.
// 2. A form destroys its window before it frees anything a message may
//    use: the most derived form calls DestroyWindowNow() at the top of its
//    destructor (after work that needs the live window), Form does it
//    again as a backstop while its controls still exist. The system
//    destroys child windows before their parent, so every control sees its
//    own WM_NCDESTROY while its object is alive, and forgets its window.
// 3. A control freed on its own (its form still alive) takes its window
//    and the windows inside it along.
// 4. A window procedure uses its object only through lifetime::Alive(); a
//    message for an object already gone is counted, never delivered.
// 5. Every procedure runs its handler inside GuardMessage: no exception
//    crosses into the system.
// 6. Handles a window draws with (image lists, fonts, icons, bitmaps) are
//    members declared before the controls that use them, or outlive the
//    window by rule 2.
#include <windows.h>

#include <functional>
#include <string>

namespace quill::win32 {

// Registers a window class of this program once, its windows handled by
// `procedure`; true if it exists now.
bool EnsureWindowClass(const wchar_t* class_name, WNDPROC procedure, HBRUSH background,
                       HCURSOR cursor = nullptr);

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The procedure of every window of ours: classes of windows made by
  // CreateOwned are registered with it.
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

 protected:
  // Creates the window, its messages handled by this object; false if it
  // could not be created. The class must have been registered with
  // Procedure.
  bool CreateOwned(DWORD ex_style, const wchar_t* class_name, const std::wstring& caption,
                   DWORD style, const RECT& bounds, HWND parent);
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // Destroys the window while the whole object still handles its messages.
  void DestroyWindowNow();

 private:
  HWND hwnd_ = nullptr;
};

// A window whose messages one function handles: the small windows of a
// part (the notification area's, the capture overlay and magnifier).
class HandledWindow : public Window {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
  explicit HandledWindow(Handler handler) : handler_(std::move(handler)) {}
  using Window::CreateOwned;
  using Window::DestroyWindowNow;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    return handler_(hwnd(), message, wparam, lparam);
  }

 private:
  Handler handler_;
};

// A window class of ours that is unregistered when its owner goes, after
// its windows.
class WindowClass {
 public:
  WindowClass() = default;
  WindowClass(const wchar_t* name, HBRUSH background, HCURSOR cursor);
  ~WindowClass();
  WindowClass(WindowClass&& other) noexcept;
  WindowClass& operator=(WindowClass&& other) noexcept;
  explicit operator bool() const { return name_ != nullptr; }

 private:
  const wchar_t* name_ = nullptr;
};

}  // namespace quill::win32
