#include "platform/win32/win32_window_messages.h"

#include <windows.h>

namespace quill::platform {

LResult Win32WindowMessages::Send(WindowId window, unsigned message, WParam wparam, LParam lparam) {
  return ::SendMessageW(reinterpret_cast<HWND>(window), message, wparam, lparam);
}

bool Win32WindowMessages::Post(WindowId window, unsigned message, WParam wparam, LParam lparam) {
  return ::PostMessageW(reinterpret_cast<HWND>(window), message, wparam, lparam) != FALSE;
}

}  // namespace quill::platform
