// The capture routine and the two steps that shape what it captures: the
// rectangle clipped to the screen and the popups joined to a window.
#include <algorithm>
#include <limits>

#include "capture/capturer.h"
#include "platform/clipboard_guards.h"

namespace quill::capture {
namespace {

constexpr std::int32_t kVerticalTolerance = 20;
// A Z order that keeps changing under the walk must still end.
constexpr int kLongestWalk = 4096;

std::int32_t Clamp32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// `p` relative to the origin `at`.
platform::Point Offset(platform::Point p, const platform::Rect& at) {
  return {Clamp32(std::int64_t{p.x} - at.left), Clamp32(std::int64_t{p.y} - at.top)};
}

bool Touches(const platform::Rect& r, const platform::Rect& cap) {
  return r.right >= cap.left && r.left <= cap.right &&
         std::int64_t{r.bottom} >= std::int64_t{cap.top} - kVerticalTolerance &&
         std::int64_t{r.top} <= std::int64_t{cap.bottom} + kVerticalTolerance;
}

}  // namespace

void Capturer::ClipToScreen(platform::Rect& rect) {
  const platform::Rect screen = screen_.PrimaryScreen();
  rect.left = std::max(rect.left, 0);
  rect.top = std::max(rect.top, 0);
  rect.right = std::min(rect.right, screen.right);
  rect.bottom = std::min(rect.bottom, screen.bottom);
}

void Capturer::AddPopupWindows() {
  popup_rects_[0] = cap_rect_;
  popup_count_ = 1;
  int steps = 0;
  for (platform::WindowId w = screen_.TopWindow(); w && popup_count_ <= kMaxPopups;
       w = screen_.NextWindow(w)) {
    if (++steps > kLongestWalk) break;
    if ((screen_.WindowStyle(w) & platform::screen::kPopupStyleMask) !=
        platform::screen::kPopupStyle)
      continue;
    platform::Rect r = screen_.WindowRect(w);
    ClipToScreen(r);
    // A popup wholly off the screen is nothing to compose.
    if (r.IsEmpty()) continue;
    // Tooltips parked at the top-left corner belong to no menu.
    if (r.left <= 0 && r.top <= 0) continue;
    if (!Touches(r, cap_rect_)) continue;
    popup_rects_[popup_count_++] = r;
    cap_rect_ = {std::min(cap_rect_.left, r.left), std::min(cap_rect_.top, r.top),
                 std::max(cap_rect_.right, r.right), std::max(cap_rect_.bottom, r.bottom)};
  }
}

bool Capturer::GrabScreen(const platform::ScreenBitmap* picture) {
  const std::int64_t width = cap_rect_.Width();
  const std::int64_t height = cap_rect_.Height();
  std::unique_ptr<platform::ScreenBitmap> bitmap;
  if (width > 0 && height > 0 && width <= std::numeric_limits<int>::max() &&
      height <= std::numeric_limits<int>::max())
    bitmap = screen_.CreateBitmap(static_cast<int>(width), static_cast<int>(height));
  if (!bitmap) {
    // Nothing to capture or no memory for it: no record, no skip armed.
    screen_.Beep(platform::beep::kError);
    return false;
  }
  if (popup_count_ > 1) {
    bitmap->FillWhite();
    for (int i = 0; i < popup_count_; ++i) {
      const platform::Rect& piece = popup_rects_[i];
      bitmap->CopyFromScreen(piece, Offset({piece.left, piece.top}, cap_rect_));
    }
  } else if (picture) {
    bitmap->CopyFromBitmap(*picture, cap_rect_, {0, 0});
  } else {
    bitmap->CopyFromScreen(cap_rect_, {0, 0});
  }
  if (cursor_choice_ != 0)
    bitmap->DrawCursor(cursor_choice_, cap_window_, Offset(screen_.CursorPos(), cap_rect_));
  if (!PutOnClipboard(*bitmap)) {
    screen_.Beep(platform::beep::kError);
    return false;
  }
  recorder_.CaptureClipboard();
  screen_.Beep(platform::beep::kDefault);
  return true;
}

bool Capturer::PutOnClipboard(platform::ScreenBitmap& bitmap) {
  platform::ClipboardSession session(clipboard_, main_window_);
  if (!session.is_open() || !clipboard_.Empty()) return false;
  // The change is certain now: the notification it causes is our own.
  recorder_.SkipOwnChange();
  if (!clipboard_.SetData(platform::cf::kBitmap, bitmap.Handle())) return false;
  bitmap.Release();
  return true;
}

}  // namespace quill::capture
