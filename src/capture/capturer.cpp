#include "capture/capturer.h"

#include <algorithm>
#include <utility>

#include "core/element_name.h"

namespace quill::capture {
namespace {

// The system's longest timer period (USER_TIMER_MAXIMUM).
constexpr std::int64_t kLongestDelay = 0x7FFFFFFF;

}  // namespace

Capturer::Capturer(const CaptureServices& services, platform::WindowId main_window,
                   bool layered_mode)
    : screen_(services.screen),
      clipboard_(services.clipboard),
      dialogs_(services.dialogs),
      recorder_(services.recorder),
      main_window_(main_window),
      layered_mode_(layered_mode) {}

Capturer::~Capturer() { Cancel(); }

void Capturer::MenuCaptureClick(int tag, std::u16string_view delay_text) {
  if (tag < cap_mode::kActiveWindow || tag > cap_mode::kFullScreen) return;
  LeaveScreen();
  cap_mode_ = tag;
  // A second registration fails even for the holder: keep what we hold.
  if (!hotkey_held_)
    hotkey_held_ = screen_.RegisterHotKey(main_window_, platform::screen::kPrintScreenHotKeyId, 0,
                                          platform::screen::kVkSnapshot);
  const std::int64_t delay =
      std::min(std::int64_t{core::LeadingNumber(delay_text)} * 1000, kLongestDelay);
  if (delay > 0) {
    timer_running_ = screen_.SetTimer(main_window_, platform::screen::kDelayTimerId,
                                      static_cast<unsigned>(delay));
  } else if (timer_running_) {
    // A delay of 0 means Print Screen only, also for a restarted command.
    screen_.KillTimer(main_window_, platform::screen::kDelayTimerId);
    timer_running_ = false;
  }
  pending_ = hotkey_held_ || timer_running_;
  if (!pending_) {
    // Nothing could ever end the capture: give the window back and say why.
    ComeBack(true);
    dialogs_.ShowMessage(std::u16string(kPrintScreenTaken), platform::mb::kIconWarning);
  }
}

void Capturer::WMHotKey() {
  // Print Screen and the timer may both be queued: only the first one
  // finds the capture pending.
  if (!pending_) return;
  pending_ = false;
  popup_count_ = 1;
  ReleaseTriggers();
  switch (cap_mode_) {
    case cap_mode::kActiveWindow:
      cap_window_ = screen_.ForegroundWindow();
      cap_rect_ = screen_.WindowRect(cap_window_);
      ClipToScreen(cap_rect_);
      if (popup_composition_) AddPopupWindows();
      break;
    case cap_mode::kPointedWindow:
      cap_window_ = screen_.WindowFromPoint(screen_.CursorPos());
      cap_rect_ = screen_.WindowRect(cap_window_);
      if (popup_composition_) AddPopupWindows();
      break;
    default:
      cap_window_ = 0;
      cap_rect_ = screen_.PrimaryScreen();
      break;
  }
  if (GrabScreen()) screen_.Beep(platform::beep::kDefault);
  ComeBack(true);
}

void Capturer::Cancel() {
  pending_ = false;
  ReleaseTriggers();
}

void Capturer::LeaveScreen() {
  if (!away_) {
    away_ = true;
    away_hidden_ = screen_.ShowStateOf(main_window_) == platform::ShowState::kHidden;
  }
  if (!away_hidden_) screen_.Minimize(main_window_);
}

void Capturer::ComeBack(bool foreground) {
  if (!std::exchange(away_, false) || away_hidden_) return;
  screen_.Restore(main_window_);
  if (foreground) screen_.BringToForeground(main_window_);
}

void Capturer::ReleaseTriggers() {
  if (hotkey_held_) screen_.UnregisterHotKey(main_window_, platform::screen::kPrintScreenHotKeyId);
  if (timer_running_) screen_.KillTimer(main_window_, platform::screen::kDelayTimerId);
  hotkey_held_ = false;
  timer_running_ = false;
}

bool Capturer::SetFixSize(std::u16string_view width_text, std::u16string_view height_text,
                          std::u16string& error) {
  FixSizeResult parsed = ParseFixSize(width_text, height_text);
  if (!parsed.size) {
    error = std::move(parsed.error);
    return false;
  }
  fix_size_ = *parsed.size;
  return true;
}

bool Capturer::CaptureArea(const platform::Rect& area, const platform::ScreenBitmap* picture) {
  SetCapRect(area, 0);
  // The window comes back however the capture ends.
  struct ComingBack {
    Capturer& capturer;
    ~ComingBack() { capturer.ComeBack(false); }
  } coming_back{*this};
  return GrabScreen(picture);
}

void Capturer::SetCapRect(const platform::Rect& rect, platform::WindowId window) {
  cap_rect_ = rect;
  cap_window_ = window;
  popup_count_ = 1;
}

std::int32_t Capturer::MenuCapCurClick(std::int32_t tag) {
  cursor_choice_ = cursor_choice_ == tag ? 0 : tag;
  return cursor_choice_;
}

bool Capturer::MenuMenuClick() {
  popup_composition_ = !popup_composition_;
  return popup_composition_;
}

}  // namespace quill::capture
