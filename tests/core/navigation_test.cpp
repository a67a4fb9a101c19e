// Moving through the records, each move putting the record on the
// clipboard, and link mode pasting one record after another.
#include "platform/clipboard_guards.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

constexpr unsigned kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr unsigned kHome = 0x24, kEnd = 0x23, kPageDown = 0x22;

class NavigationTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
    for (int i = 1; i <= 5; ++i) CopyText("record " + std::to_string(i));
    ASSERT_EQ(recorder_->CurrentNo(), 5);
  }
  // Another program pastes: it asks for the text that is on offer.
  std::string Paste() {
    std::string text;
    {
      platform::ClipboardSession session(clipboard(), other_->id);
      platform::GlobalView view(clipboard(), clipboard().GetData(platform::cf::kText));
      if (view.locked()) text = reinterpret_cast<const char*>(view.bytes().data());
    }
    Pump();
    return text;
  }
  std::size_t Moves() const { return view_->previews.size(); }
};

TEST_P(NavigationTest, MovesStayInsideTheRingAndEachPutsTheRecordBack) {
  const std::size_t before = Moves();
  recorder_->NextBtnClick();
  recorder_->LastBtnClick();
  EXPECT_EQ(recorder_->CurrentNo(), 5);
  EXPECT_EQ(Moves(), before);  // nothing happened

  recorder_->MoveKeyDown(kLeft);
  EXPECT_EQ(recorder_->CurrentNo(), 4);
  EXPECT_EQ(view_->ClipboardText(), "record 4");
  EXPECT_EQ(view_->selected, 3);
  recorder_->MoveKeyDown(kUp);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  recorder_->PrevBtnClick();
  EXPECT_EQ(recorder_->CurrentNo(), 1);

  // First at 1 still puts record 1 back, over whatever is there now.
  CopyText("something new");  // recorded as record 6
  recorder_->SetCurrentNo(1);
  recorder_->FirstBtnClick();
  Pump();
  EXPECT_EQ(view_->ClipboardText(), "record 1");
  recorder_->MoveKeyDown(kDown);
  EXPECT_EQ(recorder_->CurrentNo(), 6);
  recorder_->MoveKeyDown(kRight);
  EXPECT_EQ(recorder_->CurrentNo(), 6);
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 6);  // no move was recorded
}

TEST_P(NavigationTest, KeysOtherThanTheArrowsDoNothing) {
  const std::size_t before = Moves();
  for (unsigned key : {kHome, kEnd, kPageDown, 0x41u}) recorder_->MoveKeyDown(key);
  EXPECT_EQ(recorder_->CurrentNo(), 5);
  EXPECT_EQ(Moves(), before);
}

TEST_P(NavigationTest, LinkModePastesTheRecordsOneAfterAnotherWrappingAtTheEnd) {
  recorder_->SetCurrentNo(4);
  recorder_->LinkBtnClick();
  ASSERT_TRUE(recorder_->LinkMode());
  EXPECT_TRUE(view_->link_mode);
  EXPECT_EQ(Paste(), "record 4");
  EXPECT_EQ(recorder_->CurrentNo(), 5);
  EXPECT_EQ(view_->memo, "record 5");  // the preview follows
  EXPECT_EQ(Paste(), "record 5");
  EXPECT_EQ(Paste(), "record 1");
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(clock_.slept, (std::vector<unsigned>{100, 100, 100}));
  EXPECT_TRUE(recorder_->LinkMode());
  EXPECT_EQ(recorder_->RecordCount(), 5);
}

TEST_P(NavigationTest, WithoutCtrlAndVHeldAPasteGetsNothingAndNothingMoves) {
  recorder_->LinkBtnClick();
  paste_keys_held_ = false;
  EXPECT_EQ(Paste(), "");
  EXPECT_EQ(recorder_->CurrentNo(), 5);
  EXPECT_TRUE(clock_.slept.empty());
}

TEST_P(NavigationTest, AMoveEndsLinkModeAndWithoutARecordItNeverStarts) {
  recorder_->LinkBtnClick();
  ASSERT_TRUE(view_->link_mode);
  recorder_->FirstBtnClick();
  EXPECT_FALSE(recorder_->LinkMode());
  EXPECT_FALSE(view_->link_mode);
  recorder_->LinkBtnClick();
  recorder_->LinkBtnClick();  // a second click turns it off
  EXPECT_FALSE(recorder_->LinkMode());
  recorder_->SetCurrentNo(0);
  recorder_->LinkBtnClick();
  EXPECT_FALSE(recorder_->LinkMode());
  EXPECT_FALSE(view_->link_mode);
}

TEST_P(NavigationTest, ACopyAfterAPasteOutsideLinkModeIsRecorded) {
  recorder_->SetCurrentNo(2);
  recorder_->LinkBtnClick();
  recorder_->LinkBtnClick();  // off again; the formats stay announced
  ASSERT_FALSE(recorder_->LinkMode());
  EXPECT_EQ(Paste(), "record 2");
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  CopyText("copied after the paste");
  EXPECT_EQ(recorder_->RecordCount(), 6);
}

INSTANTIATE_TEST_SUITE_P(Worlds, NavigationTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
