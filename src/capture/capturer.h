#pragma once
// Screen capture's state and logic, without a window: the pending window
// capture with its Print Screen hotkey and delay timer, popup composition,
// the cursor drawn into captures, and the routine every capture ends in,
// which puts the bitmap on the clipboard and records it at once.
//
// The main window routes to it: WM_HOTKEY (any id) to WMHotKey(), WM_TIMER
// with id 1 to CaptureTimerProc(), and calls Cancel() before it closes.
#include <array>
#include <cstdint>
#include <string_view>

#include "capture/fix_size.h"
#include "core/recorder.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "platform/screen.h"

namespace quill::capture {

struct CaptureServices {
  platform::Screen& screen;
  platform::Clipboard& clipboard;
  platform::Dialogs& dialogs;
  core::Recorder& recorder;
};

// The capture commands' menu tags.
namespace cap_mode {
constexpr int kArea = 0;
constexpr int kFixedArea = 1;
constexpr int kActiveWindow = 2;
constexpr int kPointedWindow = 3;
constexpr int kFullScreen = 4;
}  // namespace cap_mode

// Shown when the Print Screen key belongs to another program and no delay
// would end the pending capture either.
inline constexpr std::u16string_view kPrintScreenTaken =
    u"Print Screen キーは他のプログラムが使用しています。"
    u"キャプチャ遅延秒数を 1 以上にしてください。";

class Capturer {
 public:
  static constexpr int kMaxPopups = 5;

  Capturer(const CaptureServices& services, platform::WindowId main_window, bool layered_mode);
  // Cancels a pending capture, so that nothing fires into a closed window.
  ~Capturer();
  Capturer(const Capturer&) = delete;
  Capturer& operator=(const Capturer&) = delete;

  // --- window captures (tags 2 to 4) ---
  // Minimises the main window and waits for Print Screen or for the delay
  // (the leading number of `delay_text`, in seconds). Another command while
  // one is pending replaces its mode and delay.
  void MenuCaptureClick(int tag, std::u16string_view delay_text);
  // Performs the pending window capture, once; nothing if none is pending.
  void WMHotKey();
  void CaptureTimerProc() { WMHotKey(); }
  // Gives up a pending capture: hotkey and timer are released.
  void Cancel();
  bool Pending() const { return pending_; }

  // --- area captures (tags 0 and 1), driven by the overlay ---
  // Starts an area command: FixMode := (tag = 1).
  void MenuAreaClick(int tag) { fix_mode_ = tag == cap_mode::kFixedArea; }
  // Takes the fixed size from the dialog's edits; false (with the message in
  // `error`) leaves the size as it was.
  bool SetFixSize(std::u16string_view width_text, std::u16string_view height_text,
                  std::u16string& error);
  // Captures `area` (no window, no composition) and brings the main window
  // back. `picture`: the screen as the user saw it under the overlay, taken
  // before the overlay came up; none means the screen as it is now.
  bool CaptureArea(const platform::Rect& area, const platform::ScreenBitmap* picture = nullptr);

  // --- the main window while a capture runs ---
  // Takes the main window off the screen; one hidden in the notification
  // area stays hidden. Its state is kept from the first call until
  // ComeBack, so a restarted command does not take "minimised" for it.
  void LeaveScreen();
  // Gives the main window back the state it had: restored (and, for
  // `foreground`, activated), or left hidden.
  void ComeBack(bool foreground);

  // --- the steps, by their own names ---
  // Clamps `rect` to the primary screen.
  void ClipToScreen(platform::Rect& rect);
  // Joins the popups touching CapRect (at most five) into PopupRects.
  void AddPopupWindows();
  // Captures CapRect into a new record, from `picture` (a picture of the
  // whole screen) or, without one, from the screen. False, with an error
  // beep, when no bitmap could be made or the clipboard could not be
  // opened; nothing is recorded then.
  bool GrabScreen(const platform::ScreenBitmap* picture = nullptr);

  // --- menu switches ---
  // A cursor item clicked: the checked item turns the overlay off, another
  // one chooses its cursor. Returns the new CursorChoice; the item whose tag
  // equals it is the one to check (none for 0).
  std::int32_t MenuCapCurClick(std::int32_t tag);
  // Toggles popup composition; returns the new check state.
  bool MenuMenuClick();

  // --- state ---
  int CapMode() const { return cap_mode_; }
  const platform::Rect& CapRect() const { return cap_rect_; }
  platform::WindowId CapWindow() const { return cap_window_; }
  const std::array<platform::Rect, kMaxPopups + 1>& PopupRects() const { return popup_rects_; }
  std::int16_t PopupCount() const { return popup_count_; }
  bool FixMode() const { return fix_mode_; }
  std::int16_t FixWidth() const { return fix_size_.width; }
  std::int16_t FixHeight() const { return fix_size_.height; }
  std::uint8_t DragState() const { return drag_state_; }
  void SetDragState(std::uint8_t state) { drag_state_ = state; }
  bool LayeredMode() const { return layered_mode_; }
  std::int32_t CursorChoice() const { return cursor_choice_; }
  bool PopupComposition() const { return popup_composition_; }
  // For tests and the overlay: the rectangle the next GrabScreen captures.
  void SetCapRect(const platform::Rect& rect, platform::WindowId window);

 private:
  void ReleaseTriggers();
  bool PutOnClipboard(platform::ScreenBitmap& bitmap);

  platform::Screen& screen_;
  platform::Clipboard& clipboard_;
  platform::Dialogs& dialogs_;
  core::Recorder& recorder_;
  platform::WindowId main_window_;

  int cap_mode_ = cap_mode::kFullScreen;
  platform::Rect cap_rect_;
  platform::WindowId cap_window_ = 0;
  std::array<platform::Rect, kMaxPopups + 1> popup_rects_{};
  std::int16_t popup_count_ = 1;
  bool fix_mode_ = false;
  FixSize fix_size_;
  std::uint8_t drag_state_ = 0;
  bool layered_mode_;
  std::int32_t cursor_choice_ = 0;
  bool popup_composition_ = false;

  bool away_ = false;         // LeaveScreen until ComeBack
  bool away_hidden_ = false;  // ... and the window was hidden when it left
  bool pending_ = false;
  bool hotkey_held_ = false;
  bool timer_running_ = false;
};

}  // namespace quill::capture
