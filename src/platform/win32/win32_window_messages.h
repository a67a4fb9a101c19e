#pragma once
#include "platform/window_messages.h"

namespace quill::platform {

class Win32WindowMessages : public WindowMessages {
 public:
  LResult Send(WindowId window, unsigned message, WParam wparam, LParam lparam) override;
  bool Post(WindowId window, unsigned message, WParam wparam, LParam lparam) override;
};

}  // namespace quill::platform
