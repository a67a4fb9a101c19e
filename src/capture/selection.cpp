#include "capture/selection.h"

#include <algorithm>
#include <utility>

namespace quill::capture {
namespace {

constexpr unsigned kSettleMilliseconds = 500;
constexpr int kZoom = 4;
constexpr int kFreeSource = 32;
constexpr int kWindowSide = 130;
constexpr int kWindowLimit = 512;
constexpr int kOverlayMargin = 2;

constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDown = 0x28;

platform::Rect Zoomed(platform::Point at, std::int64_t width, std::int64_t height) {
  return {at.x, at.y, static_cast<std::int32_t>(at.x + kZoom * width),
          static_cast<std::int32_t>(at.y + kZoom * height)};
}

}  // namespace

platform::Point ClampFixedPoint(platform::Point p, const FixSize& size,
                                const platform::Rect& screen) {
  p.x = std::min(std::max<std::int32_t>(p.x, size.width), screen.right);
  p.y = std::min(std::max<std::int32_t>(p.y, size.height), screen.bottom);
  return p;
}

platform::Rect FixedRect(platform::Point clamped, const FixSize& size) {
  return {std::max(clamped.x - size.width, 0), std::max(clamped.y - size.height, 0), clamped.x,
          clamped.y};
}

platform::Rect NormalizedSelection(platform::Rect band) {
  if (band.right < band.left) std::swap(band.left, band.right);
  if (band.bottom < band.top) std::swap(band.top, band.bottom);
  if (band.right == band.left) ++band.right;
  if (band.bottom == band.top) ++band.bottom;
  return band;
}

std::optional<platform::Rect> MagnifierWindowRect(bool fixed, const FixSize& size,
                                                  int expand_setting,
                                                  const platform::Rect& screen) {
  const int width = fixed ? kZoom * size.width : kWindowSide;
  const int height = fixed ? kZoom * size.height : kWindowSide;
  if (width >= kWindowLimit || height >= kWindowLimit) return std::nullopt;
  switch (expand_setting) {
    case expand_place::kTopLeft:
      return platform::Rect{0, 0, width, height};
    case expand_place::kTopRight:
      return platform::Rect{screen.right - width - 2, 0, screen.right - 2, height};
    default:
      return std::nullopt;
  }
}

Magnifier WindowMagnifier(platform::Point pointer, bool fixed, const FixSize& size) {
  if (fixed)
    return {{pointer.x - size.width, pointer.y - size.height, pointer.x, pointer.y},
            Zoomed({0, 0}, size.width, size.height),
            false};
  const int half = kFreeSource / 2;
  return {{pointer.x - half, pointer.y - half, pointer.x + half, pointer.y + half},
          Zoomed({0, 0}, kFreeSource, kFreeSource),
          true};
}

std::optional<Magnifier> OverlayMagnifier(platform::Point point, bool fixed,
                                          const platform::Rect& band, int expand_setting,
                                          const platform::Rect& screen) {
  const std::int64_t width = fixed ? band.Width() : kFreeSource;
  const std::int64_t height = fixed ? band.Height() : kFreeSource;
  std::int64_t x = 0;
  if (expand_setting == expand_place::kTopLeft)
    x = kOverlayMargin;
  else if (expand_setting == expand_place::kTopRight)
    x = screen.right - kZoom * width - kOverlayMargin;
  else
    return std::nullopt;
  const platform::Point reference =
      fixed ? point : platform::Point{point.x + kFreeSource / 2, point.y + kFreeSource / 2};
  return Magnifier{{static_cast<std::int32_t>(reference.x - width),
                    static_cast<std::int32_t>(reference.y - height), reference.x, reference.y},
                   Zoomed({static_cast<std::int32_t>(x), kOverlayMargin}, width, height),
                   !fixed};
}

Selection::Selection(Capturer& capturer, platform::Screen& screen, platform::Clock& clock,
                     SelectionSurface& surface)
    : capturer_(capturer), screen_(screen), clock_(clock), surface_(surface) {}

Selection::~Selection() { Abandon(); }

bool Selection::Start(int expand_setting) {
  if (active_) return false;
  if (!surface_.CreateOverlay()) {
    // Nothing could end the selection: the main window stays where it is.
    screen_.Beep(platform::beep::kError);
    return false;
  }
  capturer_.Cancel();
  active_ = true;
  expand_setting_ = expand_setting;
  keys_down_.reset();
  band_ = {};
  capturer_.SetDragState(0);
  capturer_.LeaveScreen();
  // Lets the main window leave the screen before the overlay freezes it.
  clock_.Sleep(kSettleMilliseconds);
  // Where the pointer is now, not before the pause.
  last_point_ = screen_.CursorPos();
  if (!capturer_.LayeredMode()) {
    const platform::Rect whole = screen_.PrimaryScreen();
    picture_ =
        screen_.CreateBitmap(static_cast<int>(whole.Width()), static_cast<int>(whole.Height()));
    if (picture_) picture_->CopyFromScreen(whole, {0, 0});
  }
  surface_.ShowOverlay(picture_.get());
  if (capturer_.LayeredMode()) {
    const auto bounds =
        MagnifierWindowRect(capturer_.FixMode(), Size(), expand_setting_, screen_.PrimaryScreen());
    if (bounds)
      surface_.ShowMagnifierWindow(*bounds);
    else
      surface_.HideMagnifier();
  }
  if (capturer_.FixMode()) {
    surface_.ShowPointer(false);
    pointer_hidden_ = true;
    TrackRubberBand(Track::kPress, last_point_);
    capturer_.SetDragState(2);
  }
  return true;
}

void Selection::Abandon() {
  if (!active_) return;
  active_ = false;
  // A band is on the screen from the first corner on; it goes too.
  if (capturer_.DragState() != 0) surface_.InvertOutline(band_);
  capturer_.SetDragState(0);
  if (std::exchange(pointer_hidden_, false)) surface_.ShowPointer(true);
  surface_.HideMagnifier();
  surface_.HideOverlay();
  surface_.ReleaseMouseCapture();
  picture_.reset();
  capturer_.ComeBack(false);
}

void Selection::KeyDown(unsigned key) {
  if (key < keys_down_.size()) keys_down_.set(key);
}

bool Selection::KeyUp(unsigned key) {
  static constexpr struct {
    unsigned key;
    int dx, dy;
  } kNudges[] = {{kVkLeft, -1, 0}, {kVkUp, 0, -1}, {kVkRight, 1, 0}, {kVkDown, 0, 1}};
  const bool pressed_here = key < keys_down_.size() && keys_down_.test(key);
  if (pressed_here) keys_down_.reset(key);
  for (const auto& nudge : kNudges)
    if (nudge.key == key) {
      if (pressed_here) surface_.NudgePointer(nudge.dx, nudge.dy);
      return false;
    }
  // Any other key confirms, exactly as releasing the button would, where
  // the band is: at the last position seen in the overlay's input, which
  // comes in order with the keys.
  if (pressed_here && active_) ButtonUp(last_point_);
  return true;
}

void Selection::MouseMove(platform::Point p) {
  if (!active_) return;
  last_point_ = p;
  if (capturer_.DragState() != 0)
    TrackRubberBand(Track::kMove, p);
  else
    UpdateMagnifier(p);
}

void Selection::ButtonDown(platform::Point p) {
  if (!active_) return;
  last_point_ = p;
  if (capturer_.DragState() != 0) return;
  TrackRubberBand(Track::kPress, p);
  capturer_.SetDragState(1);
}

void Selection::ButtonUp(platform::Point p) {
  // A release without a first corner (the button was down before the
  // overlay came up) selects nothing; the selection goes on.
  if (!active_) return;
  last_point_ = p;
  if (capturer_.DragState() == 0) return;
  if (std::exchange(pointer_hidden_, false)) surface_.ShowPointer(true);
  capturer_.SetDragState(0);
  TrackRubberBand(Track::kRelease, p);
  const platform::Rect area = NormalizedSelection(band_);
  active_ = false;
  // The magnifier goes first: drawn on the overlay, it would otherwise be
  // left on the screen that is captured.
  surface_.HideMagnifier();
  surface_.HideOverlay();
  const std::unique_ptr<platform::ScreenBitmap> picture = std::move(picture_);
  try {
    capturer_.CaptureArea(area, picture.get());
  } catch (...) {
    surface_.ReleaseMouseCapture();
    throw;
  }
  surface_.ReleaseMouseCapture();
}

Magnifier Selection::WindowMagnifierAt(platform::Point pointer) const {
  return WindowMagnifier(pointer, capturer_.FixMode(), Size());
}

void Selection::TrackRubberBand(Track kind, platform::Point p) {
  const bool fixed = capturer_.FixMode();
  if (fixed) p = ClampFixedPoint(p, Size(), screen_.PrimaryScreen());
  // Every outline drawn is inverted once more: the release takes off the
  // one last drawn, wherever the release itself happens, so the screen is
  // clean when it is captured.
  if (kind != Track::kPress) surface_.InvertOutline(band_);
  if (kind == Track::kMove) UpdateMagnifier(p);
  if (kind == Track::kPress) {
    band_.left = p.x;
    band_.top = p.y;
  }
  band_.right = p.x;
  band_.bottom = p.y;
  if (fixed) band_ = FixedRect(p, Size());
  if (kind != Track::kRelease) surface_.InvertOutline(band_);
}

void Selection::UpdateMagnifier(platform::Point p) {
  if (capturer_.LayeredMode()) {
    surface_.InvalidateMagnifierWindow();
    return;
  }
  const auto magnifier =
      OverlayMagnifier(p, capturer_.FixMode(), band_, expand_setting_, screen_.PrimaryScreen());
  if (magnifier) surface_.DrawMagnifier(*magnifier);
}

}  // namespace quill::capture
