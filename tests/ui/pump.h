#pragma once
#include <windows.h>

namespace quill::ui {

// Lets every message waiting for this thread's windows arrive.
inline void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace quill::ui
