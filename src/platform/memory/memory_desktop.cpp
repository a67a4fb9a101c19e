#include "platform/memory/memory_desktop.h"

#include <utility>

namespace quill::platform {

WindowId MemoryDesktop::AddWindow(Handler handler) {
  const WindowId id = next_id_;
  next_id_ += 0x10;  // spaced like real handles, never 0
  windows_.emplace(id, std::move(handler));
  return id;
}

void MemoryDesktop::DestroyWindow(WindowId window) { windows_.erase(window); }

LResult MemoryDesktop::Send(WindowId window, unsigned message, WParam wparam, LParam lparam) {
  const auto found = windows_.find(window);
  if (found == windows_.end())
    return foreign_ && window ? foreign_(window, message, wparam, lparam) : 0;
  // A copy, so that a handler may create or destroy windows while it runs.
  Handler handler = found->second;
  return handler(window, message, wparam, lparam);
}

bool MemoryDesktop::Post(WindowId window, unsigned message, WParam wparam, LParam lparam) {
  if (!IsWindow(window) && !(foreign_ && window)) return false;
  queue_.push_back({window, message, wparam, lparam});
  return true;
}

void MemoryDesktop::PumpMessages() {
  while (!queue_.empty()) {
    const Posted next = queue_.front();
    queue_.pop_front();
    Send(next.window, next.message, next.wparam, next.lparam);
  }
}

}  // namespace quill::platform
