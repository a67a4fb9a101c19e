#pragma once
// Sending and posting window messages: the recorder passes clipboard
// notifications down the viewer chain and posts requests to itself.
#include "platform/types.h"

namespace quill::platform {

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  // Delivers the message and waits for its result (SendMessage).
  virtual LResult Send(WindowId window, unsigned message, WParam wparam, LParam lparam) = 0;
  // Queues the message for the window's thread (PostMessage); false if it
  // could not be queued.
  virtual bool Post(WindowId window, unsigned message, WParam wparam, LParam lparam) = 0;
};

}  // namespace quill::platform
