// A desktop where other programs hold the clipboard for a while on every
// change, or sit before us in the viewer chain and pass nothing on: every
// state is still recorded once, and one that could not be read is told.
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

class BusyClipboardTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
  }
  std::vector<std::string> Records() {
    std::vector<std::string> texts;
    for (int n = 1; n <= recorder_->RecordCount(); ++n) texts.push_back(TextOfRecord(n));
    return texts;
  }
};

TEST_P(BusyClipboardTest, AStateHeldTooLongIsReadOnceLetGoOrCountedAsLostIfReplaced) {
  // Held past the patience: read by the retry once let go.
  Copy({Text("held")}, false);
  clipboard_world_->HoldClipboard(60'000);
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 0);
  EXPECT_TRUE(recorder_->CaptureHeld());
  EXPECT_GE(view_->retries_asked, 1);
  clipboard_world_->LetGoOfClipboard();
  recorder_->WMCaptureClip();  // the retry the window was asked for
  Pump();
  recorder_->WMCaptureClip();
  EXPECT_EQ(Records(), (std::vector<std::string>{"held"}));
  EXPECT_FALSE(recorder_->CaptureHeld());
  // Replaced by the next copy before it could be read: told, not silent.
  Copy({Text("never read")}, false);
  clipboard_world_->HoldClipboard(60'000);
  Pump();
  clipboard_world_->LetGoOfClipboard();
  CopyText("read");
  recorder_->WMCaptureClip();  // a retry still due finds nothing left to do
  EXPECT_EQ(Records(), (std::vector<std::string>{"held", "read"}));
  EXPECT_EQ(recorder_->LostChanges(), 1);
  EXPECT_EQ(view_->lost_shown, 1);
}

TEST_P(BusyClipboardTest, AViewerThatPassesNothingOnDoesNotStopRecording) {
  platform::testing::TestWindow& careless = clipboard_world_->NewWindow();
  const platform::WindowId next = clipboard().SetViewer(careless.id);
  CopyText("a");
  CopyText("b");
  EXPECT_EQ(Records(), (std::vector<std::string>{"a", "b"}));
  // Putting a record back is still our own change, not a new record.
  recorder_->SetCurrentNo(1);
  recorder_->MovePosition(true);
  Pump();
  CopyText("c");
  EXPECT_EQ(Records(), (std::vector<std::string>{"a", "b", "c"}));
  clipboard().ChangeChain(careless.id, next);
}

INSTANTIATE_TEST_SUITE_P(Worlds, BusyClipboardTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
