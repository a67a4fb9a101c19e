#pragma once
// What the clipboard contract needs of an implementation: the clipboard,
// windows that log the messages they receive, and a way to let pending
// messages arrive.
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/window_messages.h"

namespace quill::platform::testing {

struct Message {
  unsigned message;
  WParam wparam;
  LParam lparam;
};

struct TestWindow {
  WindowId id = 0;
  std::vector<Message> received;  // watched messages only
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
  virtual WindowMessages& messages() = 0;
  // A new window, owned by the world.
  virtual TestWindow& NewWindow() = 0;
  // Lets every pending message arrive.
  virtual void Pump() = 0;
  // Brings a window of the given class to the front.
  virtual void MakeForeground(const std::string& class_name) = 0;
  // Another program opens the clipboard and keeps it open until
  // `milliseconds` have passed (as the caller waits for it: real time on
  // the system, the double's own time in memory) or until let go.
  virtual void HoldClipboard(unsigned milliseconds) = 0;
  virtual void LetGoOfClipboard() = 0;
};

struct ClipboardWorldMaker {
  std::string name;
  std::function<std::unique_ptr<ClipboardWorld>()> make;
};

// Whether a test window logs the message: the clipboard's notifications
// and private messages.
inline bool IsWatchedMessage(unsigned message) {
  return (message >= msg::kRenderFormat && message <= msg::kChangeCbChain) ||
         message == msg::kClipboardUpdate || (message >= msg::kUser && message < 0x8000);
}

inline void PrintTo(const ClipboardWorldMaker& maker, std::ostream* out) { *out << maker.name; }

ClipboardWorldMaker MemoryClipboardWorldMaker();
#ifdef _WIN32
ClipboardWorldMaker Win32ClipboardWorldMaker();
#endif

}  // namespace quill::platform::testing
