#pragma once
// Base of every top-level window: one object per window, found again from
// the window handle, with one virtual message handler.
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
  Window();
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
  // Destroys the window while the whole object still handles its messages.
  void DestroyWindowNow();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

}  // namespace quill::framework
