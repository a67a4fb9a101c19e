// The window-capture commands: minimise, wait for Print Screen or the
// delay, capture once, give the window back; and captures that cannot be
// made record nothing.
#include <string>

#include "capture_fixture.h"
#include "platform/clipboard_guards.h"

namespace quill::capture::testing {
namespace {

using platform::MemoryScreen;
using platform::screen::kDelayTimerId;
using platform::screen::kPrintScreenHotKeyId;
using platform::screen::kVkSnapshot;

TEST_F(CaptureTest, PrintScreenCapturesOnceAndTheQueuedTimerFindsNothingPending) {
  capturer_->MenuCaptureClick(cap_mode::kFullScreen, u"5");
  EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kMinimized);
  EXPECT_EQ(screen_.HotKeyOwner(0, kVkSnapshot), std::pair(main_, kPrintScreenHotKeyId));
  EXPECT_EQ(screen_.TimerOf(main_, kDelayTimerId), 5000u);

  capturer_->WMHotKey();
  desktop_.PumpMessages();
  capturer_->CaptureTimerProc();  // was queued already
  capturer_->WMHotKey();
  desktop_.PumpMessages();

  EXPECT_EQ(Records(), 1);  // automatic mode: the capture, not its notification too
  EXPECT_EQ(screen_.BitmapsMade(), 1);
  EXPECT_EQ(NewestRecord().width, kScreenWidth);
  EXPECT_FALSE(screen_.HotKeyOwner(0, kVkSnapshot));
  EXPECT_FALSE(screen_.TimerOf(main_, kDelayTimerId));
  EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kNormal);
  EXPECT_EQ(screen_.ForegroundWindow(), main_);
  EXPECT_EQ(screen_.Beeps(),
            (std::vector<unsigned>{platform::beep::kDefault, platform::beep::kDefault}));
  EXPECT_EQ(recorder_->CaptureState(), core::capture_state::kAutomatic);
}

TEST_F(CaptureTest, ACaptureInManualModeIsRecordedToo) {
  recorder_->WatchRGClick(false);
  CaptureWindow(cap_mode::kFullScreen);
  EXPECT_EQ(Records(), 1);
}

TEST_F(CaptureTest, TheDelayIsTheLeadingNumberInSeconds) {
  const struct {
    std::u16string text;
    std::optional<unsigned> timer;
  } cases[] = {{u"", std::nullopt}, {u"0", std::nullopt},  {u"7x", 7000u},
               {u"99", 99000u},     {u"x5", std::nullopt}, {u"99999999999", 0x7FFFFFFFu}};
  for (const auto& c : cases) {
    capturer_->MenuCaptureClick(cap_mode::kActiveWindow, c.text);
    EXPECT_EQ(screen_.TimerOf(main_, kDelayTimerId), c.timer);
    EXPECT_TRUE(capturer_->Pending());
    capturer_->Cancel();
  }
}

TEST_F(CaptureTest, ARestartedCaptureKeepsTheHotKeyAndTakesTheNewModeAndDelay) {
  capturer_->MenuCaptureClick(cap_mode::kFullScreen, u"5");
  capturer_->MenuCaptureClick(cap_mode::kActiveWindow, u"3");
  EXPECT_EQ(capturer_->CapMode(), cap_mode::kActiveWindow);
  EXPECT_EQ(screen_.TimerOf(main_, kDelayTimerId), 3000u);
  capturer_->MenuCaptureClick(cap_mode::kActiveWindow, u"0");
  EXPECT_FALSE(screen_.TimerOf(main_, kDelayTimerId));
  // The hotkey is still ours, though registering it again fails.
  EXPECT_EQ(screen_.HotKeyOwner(0, kVkSnapshot), std::pair(main_, kPrintScreenHotKeyId));
  capturer_->Cancel();
  EXPECT_FALSE(screen_.HotKeyOwner(0, kVkSnapshot));
}

TEST_F(CaptureTest, PrintScreenHeldByAnotherProgramWithoutDelayGivesTheWindowBack) {
  ASSERT_TRUE(screen_.RegisterHotKey(0x999, 7, 0, kVkSnapshot));
  capturer_->MenuCaptureClick(cap_mode::kFullScreen, u"0");
  EXPECT_FALSE(capturer_->Pending());
  EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kNormal);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0], kPrintScreenTaken);
  EXPECT_EQ(screen_.HotKeyOwner(0, kVkSnapshot), std::pair(platform::WindowId{0x999}, 7));

  // With a delay, the timer alone ends the capture.
  capturer_->MenuCaptureClick(cap_mode::kFullScreen, u"2");
  EXPECT_TRUE(capturer_->Pending());
  capturer_->CaptureTimerProc();
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(screen_.HotKeyOwner(0, kVkSnapshot), std::pair(platform::WindowId{0x999}, 7));
}

TEST_F(CaptureTest, ClosingWhileACaptureIsPendingReleasesHotKeyAndTimer) {
  capturer_->MenuCaptureClick(cap_mode::kFullScreen, u"5");
  capturer_.reset();
  EXPECT_FALSE(screen_.HotKeyOwner(0, kVkSnapshot));
  EXPECT_FALSE(screen_.TimerOf(main_, kDelayTimerId));
  EXPECT_EQ(Records(), 0);
}

TEST_F(CaptureTest, ACaptureThatCannotBeMadeRecordsNothingAndArmsNoSkip) {
  const struct {
    std::string name;
    platform::Rect area;
    std::int64_t max_pixels;
  } cases[] = {{"Empty", {50, 50, 50, 90}, 1 << 24},
               {"Inverted", {50, 50, 10, 10}, 1 << 24},
               {"TooLargeForABitmap", {0, 0, 200, 150}, 1000}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    screen_.SetMaxBitmapPixels(c.max_pixels);
    const std::size_t handles = clipboard_.LiveHandles();
    EXPECT_FALSE(capturer_->CaptureArea(c.area));
    desktop_.PumpMessages();
    EXPECT_EQ(Records(), 0);
    EXPECT_EQ(recorder_->CaptureState(), core::capture_state::kAutomatic);
    EXPECT_EQ(clipboard_.LiveHandles(), handles);
    EXPECT_EQ(screen_.Beeps().back(), platform::beep::kError);
  }
  // Nor does an active-window capture with no active window.
  screen_.SetForeground(0);
  CaptureWindow(cap_mode::kActiveWindow);
  EXPECT_EQ(Records(), 0);
  EXPECT_EQ(screen_.Beeps().size(), 4u);  // one error beep each, no success beep
  EXPECT_EQ(screen_.ShowStateOf(main_), MemoryScreen::ShowState::kNormal);
}

TEST_F(CaptureTest, AClipboardHeldByAnotherWindowRecordsNothingAndFreesTheBitmap) {
  const std::size_t handles = clipboard_.LiveHandles();
  {
    platform::ClipboardSession other(clipboard_, 0x777);
    EXPECT_FALSE(capturer_->CaptureArea({0, 0, 10, 10}));
  }
  EXPECT_EQ(clipboard_.LiveHandles(), handles);
  EXPECT_EQ(recorder_->CaptureState(), core::capture_state::kAutomatic);
  EXPECT_EQ(Records(), 0);
}

}  // namespace
}  // namespace quill::capture::testing
