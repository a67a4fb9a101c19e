// The area commands' selection: corners in any order, the fixed rectangle
// kept on the screen, the magnifier's place and size, keys that confirm or
// nudge, and a screen left clean for the capture.
#include "capture/selection.h"

#include <map>
#include <string>
#include <tuple>

#include "capture_fixture.h"

namespace quill::capture::testing {
namespace {

using platform::MemoryScreen;
using platform::Point;
using platform::Rect;

std::string Str(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Records what the selection does to the windows, in order.
class FakeSurface : public SelectionSurface {
 public:
  bool CreateOverlay() override { return can_create; }
  void ShowOverlay(const platform::ScreenBitmap* shown) override {
    log.push_back("show");
    picture = shown;
  }
  void HideOverlay() override { log.push_back("hide"); }
  void ShowMagnifierWindow(const Rect& b) override { log.push_back("magnifier " + Str(b)); }
  void HideMagnifier() override { log.push_back("hide magnifier"); }
  void InvalidateMagnifierWindow() override { ++repaints; }
  void DrawMagnifier(const Magnifier& m) override { drawn.push_back(m); }
  void InvertOutline(const Rect& r) override { ++inversions[Str(r)]; }
  void ShowPointer(bool show) override { log.push_back(show ? "pointer on" : "pointer off"); }
  void NudgePointer(int dx, int dy) override { nudges.emplace_back(dx, dy); }
  void ReleaseMouseCapture() override { log.push_back("release capture"); }

  // Every outline inverted an even number of times: none left on the screen.
  bool ScreenClean() const {
    for (const auto& [rect, count] : inversions)
      if (count % 2) return false;
    return true;
  }

  bool can_create = true;
  const platform::ScreenBitmap* picture = nullptr;
  std::vector<std::string> log;
  std::map<std::string, int> inversions;
  std::vector<Magnifier> drawn;
  std::vector<std::pair<int, int>> nudges;
  int repaints = 0;
};

class SelectionTest : public CaptureTest {
 protected:
  // A capturer in the other overlay variant replaces the fixture's.
  void UseLayeredMode(bool layered) {
    selection_.reset();
    capturer_ = std::make_unique<Capturer>(
        CaptureServices{screen_, clipboard_, dialogs_, *recorder_}, main_, layered);
    selection_ = std::make_unique<Selection>(*capturer_, screen_, clock_, surface_);
  }
  void StartFixed(std::u16string width, std::u16string height, Point pointer) {
    capturer_->MenuAreaClick(cap_mode::kFixedArea);
    std::u16string error;
    ASSERT_TRUE(capturer_->SetFixSize(width, height, error));
    screen_.SetCursorPos(pointer);
    ASSERT_TRUE(selection_->Start(expand_place::kTopLeft));
  }
  void Drag(Point from, Point to) {
    selection_->MouseMove(from);
    selection_->ButtonDown(from);
    selection_->MouseMove({(from.x + to.x) / 2, (from.y + to.y) / 2});
    selection_->MouseMove(to);
    selection_->ButtonUp(to);
    desktop_.PumpMessages();
  }

  FakeSurface surface_;
  std::unique_ptr<Selection> selection_ =
      std::make_unique<Selection>(*capturer_, screen_, clock_, surface_);
};

TEST_F(SelectionTest, AFreeDragCapturesTheSameRectangleInEveryDirection) {
  const struct {
    Point from, to;
    Rect expected;
  } cases[] = {{{10, 20}, {50, 40}, {10, 20, 50, 40}},
               {{50, 40}, {10, 20}, {10, 20, 50, 40}},
               {{50, 20}, {10, 40}, {10, 20, 50, 40}},
               {{10, 40}, {50, 20}, {10, 20, 50, 40}},
               // A click without movement: the pixel clicked.
               {{70, 80}, {70, 80}, {70, 80, 71, 81}}};
  int records = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(Str(c.expected) + " from " + std::to_string(c.from.x));
    capturer_->MenuAreaClick(cap_mode::kArea);
    ASSERT_TRUE(selection_->Start(expand_place::kNone));
    EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kMinimized);
    Drag(c.from, c.to);
    EXPECT_EQ(Records(), ++records);
    EXPECT_EQ(capturer_->CapRect(), c.expected);
    const Picture picture = NewestRecord();
    ASSERT_EQ(picture.width, c.expected.Width());
    ASSERT_EQ(picture.height, c.expected.Height());
    EXPECT_EQ(picture.at(0, 0), ScreenColour(c.expected.left, c.expected.top));
    EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1),
              ScreenColour(c.expected.right - 1, c.expected.bottom - 1));
    EXPECT_TRUE(surface_.ScreenClean());
    EXPECT_FALSE(selection_->Active());
    EXPECT_EQ(capturer_->DragState(), 0);
    EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kNormal);
  }
  EXPECT_EQ(clock_.slept, std::vector<unsigned>(5, 500u));
}

TEST_F(SelectionTest, TheWindowsGoBeforeTheCaptureAndComeBackAfter) {
  capturer_->MenuAreaClick(cap_mode::kArea);
  ASSERT_TRUE(selection_->Start(expand_place::kTopRight));
  Drag({10, 10}, {20, 20});
  EXPECT_EQ(surface_.log, (std::vector<std::string>{"show", "magnifier 68,0,198,130",
                                                    "hide magnifier", "hide", "release capture"}));
  EXPECT_EQ(Records(), 1);
  // The idle move and the two moves of the drag repaint the magnifier.
  EXPECT_EQ(surface_.repaints, 3);
}

TEST_F(SelectionTest, AReleaseOrKeyWithoutAFirstCornerSelectsNothingYet) {
  capturer_->MenuAreaClick(cap_mode::kArea);
  ASSERT_TRUE(selection_->Start(expand_place::kNone));
  selection_->ButtonUp({30, 30});  // held down before the overlay came up
  selection_->KeyDown(0x0D);
  EXPECT_TRUE(selection_->KeyUp(0x0D));
  EXPECT_TRUE(selection_->Active());
  EXPECT_EQ(Records(), 0);
  Drag({5, 5}, {15, 25});
  EXPECT_EQ(capturer_->CapRect(), (Rect{5, 5, 15, 25}));
  EXPECT_EQ(Records(), 1);
}

TEST_F(SelectionTest, TheFixedRectangleEndsAtThePointerAndStaysOnTheScreen) {
  const struct {
    std::u16string width, height;
    Point pointer;
    Rect expected;
  } cases[] = {{u"32", u"32", {10, 10}, {0, 0, 32, 32}},
               {u"32", u"32", {100, 90}, {68, 58, 100, 90}},
               {u"32", u"32", {250, 400}, {168, 118, 200, 150}},
               {u"300", u"20", {50, 50}, {0, 30, 200, 50}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Str(c.expected));
    StartFixed(c.width, c.height, c.pointer);
    EXPECT_EQ(capturer_->DragState(), 2);
    EXPECT_EQ(selection_->Band(), c.expected);
    selection_->ButtonDown({1, 1});  // ignored while the rectangle follows
    selection_->ButtonUp(c.pointer);
    EXPECT_EQ(capturer_->CapRect(), c.expected);
    EXPECT_TRUE(surface_.ScreenClean());
  }
  EXPECT_EQ(Records(), 4);
  EXPECT_EQ(std::count(surface_.log.begin(), surface_.log.end(), "pointer off"), 4);
  EXPECT_EQ(std::count(surface_.log.begin(), surface_.log.end(), "pointer on"), 4);
}

TEST_F(SelectionTest, KeysPressedOnTheOverlayNudgeOrConfirm) {
  StartFixed(u"32", u"32", {100, 100});
  // The Enter that closed the size dialog is released over the overlay.
  EXPECT_TRUE(selection_->KeyUp(0x0D));
  EXPECT_TRUE(selection_->Active());
  const struct {
    unsigned key;
    std::pair<int, int> nudge;
  } arrows[] = {{0x25, {-1, 0}}, {0x26, {0, -1}}, {0x27, {1, 0}}, {0x28, {0, 1}}};
  for (const auto& a : arrows) {
    selection_->KeyDown(a.key);
    selection_->KeyDown(a.key);              // auto-repeat
    EXPECT_FALSE(selection_->KeyUp(a.key));  // default processing
    EXPECT_EQ(surface_.nudges.back(), a.nudge);
  }
  EXPECT_EQ(surface_.nudges.size(), 4u);
  selection_->MouseMove({120, 110});
  screen_.SetCursorPos({121, 110});  // a move not yet seen by the overlay
  selection_->KeyDown(0x1B);         // no key cancels: Escape captures too
  EXPECT_TRUE(selection_->KeyUp(0x1B));
  EXPECT_FALSE(selection_->Active());
  EXPECT_EQ(capturer_->CapRect(), (Rect{88, 78, 120, 110}));
  EXPECT_TRUE(surface_.ScreenClean());
  EXPECT_EQ(NewestRecord().width, 32);
}

TEST_F(SelectionTest, WithoutAnOverlayTheMainWindowStays) {
  surface_.can_create = false;
  capturer_->MenuAreaClick(cap_mode::kFixedArea);
  EXPECT_FALSE(selection_->Start(expand_place::kTopLeft));
  EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kNormal);
  EXPECT_EQ(screen_.Beeps(), std::vector<unsigned>{platform::beep::kError});
  EXPECT_TRUE(surface_.log.empty());
  EXPECT_FALSE(selection_->Active());
}

TEST_F(SelectionTest, EveryWayOutLeavesTheProgramWholeAndTheNextCaptureWorking) {
  const struct {
    const char* name;
    bool fixed, dragging, in_tray, destroyed;
  } cases[] = {{"closed before the first corner", false, false, false, false},
               {"closed while dragging", false, true, false, false},
               {"fixed, started from the tray", true, false, true, false},
               {"program closing during a fixed selection", true, false, false, true}};
  int records = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    surface_ = FakeSurface();
    UseLayeredMode(true);
    const MemoryScreen::ShowState before =
        c.in_tray ? MemoryScreen::ShowState::kHidden : MemoryScreen::ShowState::kNormal;
    if (c.in_tray) screen_.Hide(main_);
    if (c.fixed) {
      StartFixed(u"32", u"32", {100, 100});
    } else {
      capturer_->MenuAreaClick(cap_mode::kArea);
      ASSERT_TRUE(selection_->Start(expand_place::kTopLeft));
    }
    EXPECT_FALSE(selection_->Start(expand_place::kTopLeft)) << "one at a time";
    EXPECT_EQ(screen_.ShowStateOf(main_), c.in_tray ? before : MemoryScreen::ShowState::kMinimized);
    if (c.dragging) {
      selection_->ButtonDown({10, 10});
      selection_->MouseMove({30, 40});
    }
    if (c.destroyed)
      selection_.reset();
    else
      selection_->Abandon();
    EXPECT_EQ(surface_.log.back(), "release capture");
    EXPECT_EQ(std::count(surface_.log.begin(), surface_.log.end(), "hide"), 1);
    EXPECT_EQ(std::count(surface_.log.begin(), surface_.log.end(), "pointer on"),
              std::count(surface_.log.begin(), surface_.log.end(), "pointer off"));
    EXPECT_TRUE(surface_.ScreenClean());
    EXPECT_EQ(screen_.ShowStateOf(main_), before);
    EXPECT_EQ(capturer_->DragState(), 0);
    EXPECT_EQ(Records(), records);
    if (c.destroyed) continue;
    capturer_->MenuAreaClick(cap_mode::kArea);
    ASSERT_TRUE(selection_->Start(expand_place::kNone)) << "the next capture starts";
    Drag({5, 5}, {25, 15});
    EXPECT_EQ(Records(), ++records);
    EXPECT_EQ(NewestRecord().width, 20);
    EXPECT_EQ(screen_.ShowStateOf(main_), before);
    screen_.Restore(main_);
  }
}

TEST_F(SelectionTest, TheFixedRectangleStartsWhereThePointerIsAfterThePause) {
  clock_.while_asleep = [this] { screen_.SetCursorPos({100, 90}); };
  StartFixed(u"32", u"32", {10, 10});
  EXPECT_EQ(selection_->Band(), (Rect{68, 58, 100, 90}));
}

TEST(MagnifierGeometry, WindowBoundsByPlaceAndSize) {
  const Rect screen{0, 0, 1280, 1024};
  const struct {
    bool fixed;
    std::int16_t width, height;
    int place;
    std::optional<Rect> expected;
  } cases[] = {{false, 32, 32, expand_place::kTopLeft, Rect{0, 0, 130, 130}},
               {false, 32, 32, expand_place::kTopRight, Rect{1148, 0, 1278, 130}},
               {false, 32, 32, expand_place::kNone, std::nullopt},
               {false, 32, 32, 7, std::nullopt},
               {true, 127, 20, expand_place::kTopLeft, Rect{0, 0, 508, 80}},
               {true, 128, 20, expand_place::kTopLeft, std::nullopt},
               {true, 20, 128, expand_place::kTopRight, std::nullopt}};
  for (const auto& c : cases)
    EXPECT_EQ(MagnifierWindowRect(c.fixed, {c.width, c.height}, c.place, screen), c.expected)
        << c.width << "x" << c.height << " at " << c.place;
}

TEST(MagnifierGeometry, WhatTheMagnifiersShow) {
  EXPECT_EQ(WindowMagnifier({100, 50}, false, {}),
            (Magnifier{{84, 34, 116, 66}, {0, 0, 128, 128}, true}));
  EXPECT_EQ(WindowMagnifier({100, 50}, true, {40, 10}),
            (Magnifier{{60, 40, 100, 50}, {0, 0, 160, 40}, false}));
  const Rect screen{0, 0, 1280, 1024};
  EXPECT_EQ(OverlayMagnifier({100, 50}, false, {}, expand_place::kTopLeft, screen),
            (Magnifier{{84, 34, 116, 66}, {2, 2, 130, 130}, true}));
  // Drawn on the overlay there is no size limit.
  EXPECT_EQ(OverlayMagnifier({300, 200}, true, {0, 0, 200, 150}, expand_place::kTopRight, screen),
            (Magnifier{{100, 50, 300, 200}, {478, 2, 1278, 602}, false}));
  EXPECT_FALSE(OverlayMagnifier({1, 1}, false, {}, expand_place::kNone, screen));
}

TEST_F(SelectionTest, WithoutLayeringTheMagnifierIsDrawnOnTheOverlayAndTakenOff) {
  UseLayeredMode(false);
  capturer_->MenuAreaClick(cap_mode::kArea);
  ASSERT_TRUE(selection_->Start(expand_place::kTopLeft));
  Drag({40, 40}, {60, 70});
  ASSERT_EQ(surface_.drawn.size(), 3u);
  EXPECT_EQ(surface_.drawn.back().source, (Rect{44, 54, 76, 86}));
  EXPECT_EQ(surface_.repaints, 0);
  EXPECT_EQ(surface_.log,
            (std::vector<std::string>{"show", "hide magnifier", "hide", "release capture"}));
  EXPECT_EQ(Records(), 1);
}

}  // namespace
}  // namespace quill::capture::testing
