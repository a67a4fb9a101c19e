#pragma once
// Windows of a test, in memory: each window is a handler function. Sent
// messages are delivered at once, posted ones when the queue is pumped, as
// on a single GUI thread.
#include <deque>
#include <functional>
#include <map>

#include "platform/window_messages.h"

namespace quill::platform {

class MemoryDesktop : public WindowMessages {
 public:
  using Handler = std::function<LResult(WindowId, unsigned, WParam, LParam)>;

  WindowId AddWindow(Handler handler);
  // Messages for windows it did not create go here (the system's windows
  // of a test that puts a real window over the doubles); dropped without.
  void SetForeignWindows(Handler handler) { foreign_ = std::move(handler); }
  void DestroyWindow(WindowId window);
  bool IsWindow(WindowId window) const { return windows_.count(window) != 0; }

  LResult Send(WindowId window, unsigned message, WParam wparam, LParam lparam) override;
  bool Post(WindowId window, unsigned message, WParam wparam, LParam lparam) override;
  // Delivers the posted messages, including those posted meanwhile.
  void PumpMessages();

 private:
  struct Posted {
    WindowId window;
    unsigned message;
    WParam wparam;
    LParam lparam;
  };
  std::map<WindowId, Handler> windows_;
  Handler foreign_;
  std::deque<Posted> queue_;
  WindowId next_id_ = 0x10010;
};

}  // namespace quill::platform
