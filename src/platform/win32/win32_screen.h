#pragma once
// The primary screen, its windows and GDI capture (user32, gdi32).
#include "platform/screen.h"

namespace quill::platform {

class Win32Screen : public Screen {
 public:
  Rect PrimaryScreen() override;
  Point CursorPos() override;
  WindowId ForegroundWindow() override;
  Rect WindowRect(WindowId window) override;
  WindowId WindowFromPoint(Point at) override;
  WindowId TopWindow() override;
  WindowId NextWindow(WindowId window) override;
  std::uint32_t WindowStyle(WindowId window) override;

  bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned key) override;
  bool UnregisterHotKey(WindowId window, int id) override;
  bool SetTimer(WindowId window, std::uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(WindowId window, std::uintptr_t id) override;

  void Minimize(WindowId window) override;
  void Restore(WindowId window) override;
  void BringToForeground(WindowId window) override;
  ShowState ShowStateOf(WindowId window) const override;
  void Beep(unsigned kind) override;

  // Framework cursors come from the executable's own cursor resources.
  std::unique_ptr<ScreenBitmap> CreateBitmap(int width, int height) override;
};

}  // namespace quill::platform
