#pragma once
// The screen, in memory: a raster of pixels that tests paint and read back,
// top-level windows with rectangles, styles and a Z order, the pointer, the
// hotkey registry, timers, show states, beeps, and cursors with known
// images and hot spots. Its bitmaps are the clipboard double's bitmap
// objects, so a capture can be handed to that clipboard as CF_BITMAP.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/memory/memory_clipboard.h"
#include "platform/screen.h"

namespace quill::platform {

// A cursor's picture: 0xAARRGGBB pixels row by row, alpha 0 transparent.
struct CursorImage {
  int width = 0;
  int height = 0;
  Point hot_spot;
  std::vector<std::uint32_t> pixels;
};

class MemoryScreen : public Screen {
 public:
  using ShowState = platform::ShowState;

  MemoryScreen(MemoryClipboard& clipboard, int width, int height);

  Rect PrimaryScreen() override { return {0, 0, width_, height_}; }
  Point CursorPos() override { return cursor_pos_; }
  WindowId ForegroundWindow() override { return foreground_; }
  Rect WindowRect(WindowId window) override;
  WindowId WindowFromPoint(Point at) override;
  WindowId TopWindow() override;
  WindowId NextWindow(WindowId window) override;
  std::uint32_t WindowStyle(WindowId window) override;

  bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned key) override;
  bool UnregisterHotKey(WindowId window, int id) override;
  bool SetTimer(WindowId window, std::uintptr_t id, unsigned milliseconds) override;
  bool KillTimer(WindowId window, std::uintptr_t id) override;

  void Minimize(WindowId window) override { show_[window] = ShowState::kMinimized; }
  void Restore(WindowId window) override { show_[window] = ShowState::kNormal; }
  void BringToForeground(WindowId window) override { foreground_ = window; }
  ShowState ShowStateOf(WindowId window) const override;
  void Beep(unsigned kind) override { beeps_.push_back(kind); }

  std::unique_ptr<ScreenBitmap> CreateBitmap(int width, int height) override;

  // --- test controls ---
  // Paints a rectangle of the screen (clipped to it) in 0xRRGGBB.
  void Paint(const Rect& area, std::uint32_t colour);
  std::uint32_t ScreenPixel(int x, int y) const;
  // A top-level window on top of the Z order, or a child control that
  // WindowFromPoint finds before the top-level windows.
  WindowId AddWindow(const Rect& rect, std::uint32_t style, bool top_level = true);
  void SetForeground(WindowId window) { foreground_ = window; }
  // Hides a window, as the notification area does with the main window.
  void Hide(WindowId window) { show_[window] = ShowState::kHidden; }
  void SetCursorPos(Point at) { cursor_pos_ = at; }
  void SetCursor(std::int32_t choice, CursorImage image) { cursors_[choice] = std::move(image); }
  // The current cursor (a system id) of a window's thread; 0: our own.
  void SetCurrentCursor(WindowId window, std::int32_t id) { current_[window] = id; }
  // Bitmaps of more pixels than this cannot be made.
  void SetMaxBitmapPixels(std::int64_t pixels) { max_bitmap_pixels_ = pixels; }

  std::optional<unsigned> TimerOf(WindowId window, std::uintptr_t id) const;
  // The window and id holding a key, if any.
  std::optional<std::pair<WindowId, int>> HotKeyOwner(unsigned modifiers, unsigned key) const;
  const std::vector<unsigned>& Beeps() const { return beeps_; }
  int BitmapsMade() const { return bitmaps_made_; }

 private:
  friend class MemoryScreenBitmap;
  struct Window {
    WindowId id;
    Rect rect;
    std::uint32_t style;
    bool top_level;
  };
  const Window* Find(WindowId window) const;
  const CursorImage* CursorFor(std::int32_t choice, WindowId window) const;

  MemoryClipboard& clipboard_;
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint32_t> raster_;
  std::vector<Window> windows_;  // top of the Z order first
  WindowId next_window_ = 0x20010;
  WindowId foreground_ = 0;
  Point cursor_pos_;
  std::map<std::int32_t, CursorImage> cursors_;
  std::map<WindowId, std::int32_t> current_;
  std::map<std::pair<unsigned, unsigned>, std::pair<WindowId, int>> hotkeys_;
  std::map<std::pair<WindowId, std::uintptr_t>, unsigned> timers_;
  std::map<WindowId, ShowState> show_;
  std::vector<unsigned> beeps_;
  std::int64_t max_bitmap_pixels_ = std::int64_t{1} << 24;
  int bitmaps_made_ = 0;
};

}  // namespace quill::platform
