#pragma once
#include <windows.h>

#include "framework/application.h"

namespace quill::ui {

// Lets every message waiting for this thread's windows arrive, as the
// program's loop delivers them.
inline void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    framework::Application::Deliver(message);
}

}  // namespace quill::ui
