#pragma once
// The primary screen and the top-level windows on it, as screen capture
// needs them: geometry, the Z order, the Print Screen hotkey, the delay
// timer, the main window's show state, and a bitmap to capture into.
#include <cstdint>
#include <memory>

#include "platform/types.h"

namespace quill::platform {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Screen pixels; right and bottom are exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  // 64-bit, so that no pair of 32-bit edges overflows.
  std::int64_t Width() const { return std::int64_t{right} - left; }
  std::int64_t Height() const { return std::int64_t{bottom} - top; }
  bool IsEmpty() const { return Width() <= 0 || Height() <= 0; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Message-beep kinds (the system's MB_* values).
namespace beep {
constexpr unsigned kDefault = 0x00;  // MB_OK
constexpr unsigned kError = 0x10;    // MB_ICONHAND
}  // namespace beep

// A bitmap in the display's colour format. It is freed when the object goes,
// unless Release() handed it on (to the clipboard, as CF_BITMAP).
class ScreenBitmap {
 public:
  virtual ~ScreenBitmap() = default;
  ScreenBitmap() = default;
  ScreenBitmap(const ScreenBitmap&) = delete;
  ScreenBitmap& operator=(const ScreenBitmap&) = delete;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Copies `source` of the screen to `to`; what of `source` lies outside the
  // screen arrives white.
  virtual void CopyFromScreen(const Rect& source, Point to) = 0;
  // Copies `source` of another bitmap (a picture of the screen taken
  // earlier) to `to`; what of `source` lies outside that bitmap arrives white.
  virtual void CopyFromBitmap(const ScreenBitmap& picture, const Rect& source, Point to) = 0;
  // Fills the whole bitmap white.
  virtual void FillWhite() = 0;
  // Draws a cursor with its hot spot at `at`. `choice`: 1 the current cursor
  // of `window`'s input thread (0: our own), above 1 a system cursor id,
  // negative a framework cursor index. False if there is no such cursor.
  virtual bool DrawCursor(std::int32_t choice, WindowId window, Point at) = 0;
  // The pixel at (x, y) as 0xRRGGBB, for checks.
  virtual std::uint32_t PixelAt(int x, int y) const = 0;
  // The bitmap handle, still owned by this object.
  virtual DataHandle Handle() const = 0;
  // Gives up ownership, once the clipboard has taken the handle.
  virtual void Release() = 0;
};

// How a window shows: hidden (as in the notification area), minimised, or
// on the screen.
enum class ShowState { kNormal, kMinimized, kHidden };

class Screen {
 public:
  virtual ~Screen() = default;

  // --- geometry ---
  // Width and height of the primary screen, as a rectangle at (0, 0).
  virtual Rect PrimaryScreen() = 0;
  // The pointer position in screen pixels.
  virtual Point CursorPos() = 0;
  // The foreground window (0: none).
  virtual WindowId ForegroundWindow() = 0;
  // A window's rectangle, frame included; empty if it is no window.
  virtual Rect WindowRect(WindowId window) = 0;
  // The innermost visible window or control at a point (0: none).
  virtual WindowId WindowFromPoint(Point at) = 0;
  // The top-level window at the top of the Z order (0: none).
  virtual WindowId TopWindow() = 0;
  // The top-level window below `window` in the Z order (0: none).
  virtual WindowId NextWindow(WindowId window) = 0;
  // A window's style bits (GWL_STYLE); 0 if it is no window.
  virtual std::uint32_t WindowStyle(WindowId window) = 0;

  // --- hotkeys and timers, delivered to `window` as WM_HOTKEY / WM_TIMER ---
  // False if the key is registered already (by anyone, this window included).
  virtual bool RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned key) = 0;
  virtual bool UnregisterHotKey(WindowId window, int id) = 0;
  // Starts or restarts timer `id` of `window`.
  virtual bool SetTimer(WindowId window, std::uintptr_t id, unsigned milliseconds) = 0;
  virtual bool KillTimer(WindowId window, std::uintptr_t id) = 0;

  // --- show state ---
  virtual void Minimize(WindowId window) = 0;
  // Back to the normal state from minimised (or maximised).
  virtual void Restore(WindowId window) = 0;
  virtual void BringToForeground(WindowId window) = 0;
  virtual ShowState ShowStateOf(WindowId window) const = 0;
  // MessageBeep with one of the beep kinds.
  virtual void Beep(unsigned kind) = 0;

  // --- capture ---
  // A bitmap of width x height in the display's format; nullptr when it
  // cannot be made (no positive size, or too large).
  virtual std::unique_ptr<ScreenBitmap> CreateBitmap(int width, int height) = 0;
};

// Values the capture code passes to the calls above.
namespace screen {
constexpr int kPrintScreenHotKeyId = 101;
constexpr unsigned kVkSnapshot = 0x2C;  // VK_SNAPSHOT
constexpr std::uintptr_t kDelayTimerId = 1;
constexpr unsigned kWmHotKey = 0x0312;  // WM_HOTKEY
constexpr unsigned kWmTimer = 0x0113;   // WM_TIMER
// Style bits that tell a popup (menu, drop-down list, tooltip).
constexpr std::uint32_t kPopupStyleMask = 0x144F0000;
constexpr std::uint32_t kPopupStyle = 0x14000000;  // WS_VISIBLE | WS_CLIPSIBLINGS
}  // namespace screen

}  // namespace quill::platform
