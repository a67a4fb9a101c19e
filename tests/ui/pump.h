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

// Delivers messages until `waiting` no longer holds, waiting for more to
// come meanwhile, at most `limit` milliseconds.
template <typename Condition>
void PumpWhile(Condition waiting, DWORD limit) {
  PumpMessages();
  const DWORD start = ::GetTickCount();
  while (waiting() && ::GetTickCount() - start < limit) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
}

}  // namespace quill::ui
