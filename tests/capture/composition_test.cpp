// What a capture holds: popups joined to a window on white, the rectangle
// clipped to the screen, and the cursor drawn with its hot spot on the
// pointer.
#include <string>
#include <vector>

#include "capture_fixture.h"

namespace quill::capture::testing {
namespace {

using platform::Rect;

// Every pixel of `picture` (taken at `cap`) is the screen's where one of
// `pieces` covers it, white elsewhere.
void ExpectComposed(const Picture& picture, const Rect& cap, const std::vector<Rect>& pieces) {
  ASSERT_EQ(picture.width, cap.Width());
  ASSERT_EQ(picture.height, cap.Height());
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const int sx = cap.left + x, sy = cap.top + y;
      bool covered = false;
      for (const Rect& r : pieces)
        covered |= sx >= r.left && sx < r.right && sy >= r.top && sy < r.bottom;
      ASSERT_EQ(picture.at(x, y), covered ? ScreenColour(sx, sy) : kWhite)
          << "at " << x << "," << y;
    }
}

const Rect kWindow = {20, 20, 100, 80};

struct PopupCase {
  std::string name;
  std::vector<Rect> popups;  // topmost first
  std::vector<int> joined;   // indexes into popups
  std::uint32_t style = kPopup;
  Rect window = kWindow;
};

void PrintTo(const PopupCase& c, std::ostream* out) { *out << c.name; }

class PopupComposition : public CaptureTest, public ::testing::WithParamInterface<PopupCase> {};

TEST_P(PopupComposition, JoinsThePopupsTouchingTheWindowOnWhite) {
  const PopupCase& c = GetParam();
  screen_.SetForeground(screen_.AddWindow(c.window, kFramed));
  for (auto it = c.popups.rbegin(); it != c.popups.rend(); ++it) screen_.AddWindow(*it, c.style);
  capturer_->MenuMenuClick();
  CaptureWindow(cap_mode::kActiveWindow);

  std::vector<Rect> pieces = {c.window};
  Rect cap = c.window;
  for (int i : c.joined) {
    Rect r = c.popups[i];
    r.right = std::min(r.right, kScreenWidth);
    pieces.push_back(r);
    cap = {std::min(cap.left, r.left), std::min(cap.top, r.top), std::max(cap.right, r.right),
           std::max(cap.bottom, r.bottom)};
  }
  EXPECT_EQ(capturer_->PopupCount(), int(pieces.size()));
  EXPECT_EQ(capturer_->CapRect(), cap);
  ExpectComposed(NewestRecord(), cap, pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Capture, PopupComposition,
    ::testing::Values(
        PopupCase{"NoPopup", {}, {}}, PopupCase{"FifteenBelowJoins", {{30, 95, 70, 120}}, {0}},
        PopupCase{"TwentyFiveBelowDoesNot", {{30, 105, 70, 130}}, {}},
        PopupCase{"TouchingTheRightEdgeJoins", {{100, 30, 140, 60}}, {0}},
        PopupCase{"OnePixelRightDoesNot", {{101, 30, 140, 60}}, {}},
        PopupCase{"TopLeftCornerNeverJoins", {{-5, -5, 25, 25}}, {}},
        PopupCase{"FramedWindowsAreNoPopups", {{30, 60, 70, 90}}, {}, kFramed},
        // The second joins only through the union grown by the first.
        PopupCase{
            "CascadeJoinsThroughTheGrownRect", {{90, 30, 130, 70}, {130, 60, 170, 90}}, {0, 1}},
        PopupCase{"PartlyOffScreenIsClipped", {{90, 60, 260, 100}}, {0}},
        PopupCase{"WhollyOffScreenIsSkipped", {{200, 30, 240, 60}}, {}, kPopup, {120, 20, 200, 80}},
        PopupCase{"SixPopupsOnlyTheTopFiveJoin",
                  {{30, 80, 40, 90},
                   {40, 80, 50, 90},
                   {50, 80, 60, 90},
                   {60, 80, 70, 90},
                   {70, 80, 80, 90},
                   {80, 80, 90, 90}},
                  {0, 1, 2, 3, 4}}),
    [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, PartlyOffScreenRectanglesAreClippedOrWhitened) {
  // The active window is clipped to the screen ...
  screen_.SetForeground(screen_.AddWindow({150, -10, 260, 40}, kFramed));
  CaptureWindow(cap_mode::kActiveWindow);
  ExpectComposed(NewestRecord(), {150, 0, 200, 40}, {{0, 0, 200, 150}});
  // ... the window under the pointer is not: what lies off the screen is white.
  screen_.AddWindow({150, 100, 260, 170}, kFramed);
  screen_.SetCursorPos({160, 120});
  CaptureWindow(cap_mode::kPointedWindow);
  ExpectComposed(NewestRecord(), {150, 100, 260, 170}, {{0, 0, 200, 150}});
}

struct CursorCase {
  std::string name;
  std::int32_t choice;
  std::int32_t current;                // the captured window's current cursor, for choice 1
  std::vector<platform::Point> black;  // relative to the pointer
  platform::Point untouched;           // relative to the pointer
};

void PrintTo(const CursorCase& c, std::ostream* out) { *out << c.name; }

class CursorOverlay : public CaptureTest, public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorOverlay, DrawsTheCursorWithItsHotSpotOnThePointer) {
  const CursorCase& c = GetParam();
  const platform::WindowId window = screen_.AddWindow(kWindow, kFramed);
  screen_.SetForeground(window);
  screen_.SetCurrentCursor(window, c.current);
  const platform::Point pointer = {kWindow.left, kWindow.top};  // the window's corner
  screen_.SetCursorPos(pointer);
  EXPECT_EQ(capturer_->MenuCapCurClick(c.choice), c.choice);
  CaptureWindow(cap_mode::kActiveWindow);
  const Picture picture = NewestRecord();
  // Offsets are from the pointer, which is pixel (0, 0) of the picture.
  for (const platform::Point& p : c.black)
    EXPECT_EQ(picture.at(p.x, p.y), kBlack) << p.x << "," << p.y;
  EXPECT_EQ(picture.at(c.untouched.x, c.untouched.y),
            ScreenColour(pointer.x + c.untouched.x, pointer.y + c.untouched.y));
}

// The double's arrow is a triangle with its tip at its hot spot (0, 0); its
// cross is 7 pixels wide with the hot spot in the middle, so at the corner
// only its lower-right quarter lands in the picture.
INSTANTIATE_TEST_SUITE_P(
    Capture, CursorOverlay,
    ::testing::Values(
        CursorCase{"ArrowTipOnThePointer", 32512, 0, {{0, 0}, {0, 5}, {3, 5}}, {1, 0}},
        CursorCase{"CrossCentredOnThePointer", 32515, 0, {{0, 0}, {3, 0}, {0, 3}}, {4, 0}},
        CursorCase{"CurrentCursorOfTheWindow", 1, 32515, {{0, 0}, {3, 0}}, {1, 1}},
        CursorCase{"UndrawableCurrentCursorIsTheArrow", 1, 32650, {{0, 0}, {1, 1}}, {1, 0}}),
    [](const auto& info) { return info.param.name; });

TEST_F(CaptureTest, ClickingTheCheckedCursorItemAgainDrawsNoCursor) {
  screen_.SetCursorPos({0, 0});
  EXPECT_EQ(capturer_->MenuCapCurClick(32512), 32512);
  EXPECT_EQ(capturer_->MenuCapCurClick(32515), 32515);  // another item moves the check
  EXPECT_EQ(capturer_->MenuCapCurClick(32515), 0);
  CaptureWindow(cap_mode::kFullScreen);
  ExpectComposed(NewestRecord(), {0, 0, kScreenWidth, kScreenHeight}, {{0, 0, 200, 150}});
}

}  // namespace
}  // namespace quill::capture::testing
