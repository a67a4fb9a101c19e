#pragma once
// A top-level window of the window layer, made from a declared box. Its
// object, procedure and ownership rules are the floor's (win32/window.h).
#include <windows.h>

#include <string>

#include "framework/box.h"
#include "win32/window.h"

namespace quill::framework {

class Window : public win32::Window {
 protected:
  // Registers the class on first use and creates the window; false if the
  // window could not be created.
  bool CreateTopLevel(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                      const Box& box, HBRUSH background);
};

}  // namespace quill::framework
