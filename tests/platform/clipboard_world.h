#pragma once
// What the clipboard contract needs of an implementation: the clipboard,
// windows that log the messages they receive, and a way to let pending
// messages arrive.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"

namespace quill::platform::testing {

struct Message {
  unsigned message;
  WParam wparam;
  LParam lparam;
};

struct TestWindow {
  WindowId id = 0;
  std::vector<Message> received;  // clipboard messages only
  // Extra behaviour, run after the message is logged.
  std::function<void(const Message&)> on_message;

  int Count(unsigned message) const {
    int n = 0;
    for (const Message& m : received) n += m.message == message;
    return n;
  }
};

class ClipboardWorld {
 public:
  virtual ~ClipboardWorld() = default;
  virtual Clipboard& clipboard() = 0;
  // A new window, owned by the world.
  virtual TestWindow& NewWindow() = 0;
  // Lets every pending message arrive.
  virtual void Pump() = 0;
};

struct ClipboardWorldMaker {
  std::string name;
  std::function<std::unique_ptr<ClipboardWorld>()> make;
};

// Whether a message is one the contract watches.
inline bool IsClipboardMessage(unsigned message) {
  return message >= 0x0305 && message <= 0x030D;
}

}  // namespace quill::platform::testing
