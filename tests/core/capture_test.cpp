// Turning clipboard changes into records: automatic and manual capture,
// the skip rule, the format filter, and content marked as private.
#include <algorithm>
#include <cstdint>

#include "emf_bytes.h"
#include "forwarding_clipboard.h"
#include "platform/clipboard_guards.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

namespace cf = platform::cf;
using Names = std::vector<std::string>;

class CaptureTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
  }
  // The formats the record lists in its Header, date left out.
  Names ListedFormats(int n) {
    std::string date;
    recorder_->ReadRecord(n, false, date);
    Names names = view_->display_menu;
    if (!names.empty()) names.erase(names.begin());
    return names;
  }
};

TEST_P(CaptureTest, EachChangeInAutomaticModeBecomesOneRecord) {
  recorder_->FormActivate(true);
  CopyText("line one\r\nline two");
  ASSERT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(ListedFormats(1), (Names{"Text", "Locale", "OEMText", "UniCodeText"}));
  ASSERT_EQ(view_->rows.size(), 1u);
  EXPECT_EQ(view_->rows[0].date, "2026/12/07 09:05");
  EXPECT_EQ(view_->rows[0].content, "line one");
  EXPECT_EQ(view_->rows[0].icon, kHasText);
  EXPECT_EQ(view_->previews.front(), kHasText);
  CopyText("again");
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(recorder_->CurrentNo(), 2);
}

TEST_P(CaptureTest, NotificationsRepeatedForOneClipboardStateMakeOneRecord) {
  recorder_->FormActivate(true);
  CopyText("one");
  // The same state announced again (notifications queued faster than the
  // captures ran): no duplicate.
  recorder_->WMDrawClipboard(0, 0);
  recorder_->WMDrawClipboard(0, 0);
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 1);
  CopyText("two");
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(TextOfRecord(2), "two");
}

TEST_P(CaptureTest, PuttingARecordBackIsNotRecordedAgain) {
  recorder_->FormActivate(true);
  CopyText("one");
  CopyText("two");
  recorder_->SetCurrentNo(1);
  recorder_->MovePosition(true);
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kAutomatic);
  // The skip was used up by our own change: the next copy is recorded.
  CopyText("three");
  EXPECT_EQ(recorder_->RecordCount(), 3);
}

TEST_P(CaptureTest, ManualModeRecordsOnlyOnTheManualRead) {
  recorder_->WatchRGClick(false);
  CopyText("not yet");
  EXPECT_EQ(recorder_->RecordCount(), 0);
  recorder_->FormActivate(false);  // activation in manual mode changes nothing
  CopyText("now");
  EXPECT_EQ(recorder_->RecordCount(), 0);
  recorder_->CaptureClipboard();
  EXPECT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(TextOfRecord(1), "now");
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kManual);
}

TEST_P(CaptureTest, BeforeTheFirstActivationNothingIsRecorded) {
  CopyText("too early");
  EXPECT_EQ(recorder_->RecordCount(), 0);
  recorder_->FormActivate(true);
  CopyText("in time");
  EXPECT_EQ(recorder_->RecordCount(), 1);
}

TEST_P(CaptureTest, TheFilterKeepsOnlyTickedFormats) {
  recorder_->FormActivate(true);
  FormatFilter& filter = recorder_->Filter();
  filter.SetFlag(FormatFilter::kAll, false);
  filter.SetFlag(cf::kText, true);
  CopyText("filtered");
  EXPECT_EQ(ListedFormats(1), Names{"Text"});
  std::string date;
  EXPECT_EQ(recorder_->ReadRecord(1, false, date), kHasText);
  EXPECT_EQ(ClipboardFormats().front(), cf::kText);

  // Nothing ticked that is offered: no record, the ring unchanged.
  filter.SetFlag(cf::kText, false);
  CopyText("dropped");
  EXPECT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(TextOfRecord(1), "filtered");
}

TEST_P(CaptureTest, ARegisteredFormatPassesOnlyThroughAnExactlyMatchingOtherCaption) {
  recorder_->FormActivate(true);
  const unsigned rich = Register("Quilleteer Rich Text");
  FormatFilter& filter = recorder_->Filter();
  filter.SetFlag(FormatFilter::kAll, false);
  filter.SetFlag(FormatFilter::kOther, true);
  Copy({{rich, "rtf"}});
  EXPECT_EQ(recorder_->RecordCount(), 0);
  filter.SetCaption(FormatFilter::kOther, "Quilleteer Rich");
  Copy({{rich, "rtf"}});
  EXPECT_EQ(recorder_->RecordCount(), 0);
  filter.SetCaption(FormatFilter::kOther, "Quilleteer Rich Text");
  Copy({{rich, "rtf"}, Text("plain")});
  EXPECT_EQ(ListedFormats(1), Names{"Quilleteer Rich Text"});
  std::string date;
  EXPECT_EQ(recorder_->ReadRecord(1, false, date), 0);  // neither text nor picture
}

TEST_P(CaptureTest, RegisteredNamesWithCommasAndQuotesSurviveTheHeader) {
  recorder_->FormActivate(true);
  const std::string odd = "Odd, \"quoted\" name";
  const unsigned format = Register(odd);
  Copy({{format, "x"}, Text("t")});
  EXPECT_EQ(ListedFormats(1), (Names{odd, "Text", "Locale", "OEMText", "UniCodeText"}));
  // The stored number puts it back under the same format.
  const std::vector<unsigned> back = ClipboardFormats();
  EXPECT_NE(std::find(back.begin(), back.end(), format), back.end());
}

TEST_P(CaptureTest, ADrawingIsKeptAsItsMetafileBytesAndNeverAsAMetafilePicture) {
  recorder_->FormActivate(true);
  const std::vector<std::uint8_t> emf = platform::testing::MinimalEnhMetafile();
  CopyMetafile(emf);
  ASSERT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(view_->rows[0].icon, kHasPicture);
  EXPECT_EQ(ListedFormats(1), Names{"EnhancedMetaFile"});
  platform::ClipboardSession session(clipboard(), other_->id);
  EXPECT_EQ(clipboard().GetEnhMetaFileBits(clipboard().GetData(cf::kEnhMetafile)), emf);
}

TEST_P(CaptureTest, ContentMarkedPrivateIsNeverRecorded) {
  recorder_->FormActivate(true);
  CopyText("public");
  const unsigned exclude = Register("ExcludeClipboardContentFromMonitorProcessing");
  const unsigned ignore = Register("Clipboard Viewer Ignore");
  const unsigned history = Register("CanIncludeInClipboardHistory");
  Copy({Text("secret 1"), {exclude, std::string(1, '\0')}});
  Copy({Text("secret 2"), {ignore, std::string(1, '\0')}});
  Copy({Text("secret 3"), {history, std::string(4, '\0')}});
  recorder_->CaptureClipboard();  // the manual read too
  EXPECT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(TextOfRecord(1), "public");
  // History allowed explicitly: recorded as usual.
  Copy({Text("allowed"), {history, std::string("\1\0\0\0", 4)}});
  EXPECT_EQ(recorder_->RecordCount(), 2);
}

TEST_P(CaptureTest, AWordWindowInFrontMakesTheCaptureWait) {
  recorder_->FormActivate(true);
  recorder_->SetOpusAppWait(1234);
  CopyText("no wait");
  EXPECT_TRUE(clock_.slept.empty());
  ForegroundIs("OpusApp");
  CopyText("after waiting");
  EXPECT_EQ(clock_.slept, std::vector<unsigned>{1234});
  EXPECT_EQ(recorder_->RecordCount(), 2);
}

TEST_P(CaptureTest, TheRingSizeFollowsTheLeadingDigitsOfItsEdit) {
  recorder_->MaxEditChange(u"42");
  EXPECT_EQ(recorder_->MaxRecords(), 42);
  recorder_->MaxEditChange(u"");
  EXPECT_EQ(recorder_->MaxRecords(), 0);
  recorder_->MaxEditChange(u"7x");
  EXPECT_EQ(recorder_->MaxRecords(), 7);
}

// A clipboard whose blocks of one format are larger than this process can
// ever take into memory.
class HugeBlocks : public platform::testing::ForwardingClipboard {
 public:
  HugeBlocks(platform::Clipboard& real, unsigned format)
      : ForwardingClipboard(real), format_(format) {}
  bool Open(platform::WindowId owner) override {
    huge_ = nullptr;  // the system reuses the handles of freed blocks
    return ForwardingClipboard::Open(owner);
  }
  platform::DataHandle GetData(unsigned format) override {
    const platform::DataHandle data = ForwardingClipboard::GetData(format);
    if (format == format_) huge_ = data;
    return data;
  }
  std::size_t GlobalSize(platform::DataHandle block) override {
    return block == huge_ ? SIZE_MAX : ForwardingClipboard::GlobalSize(block);
  }

 private:
  unsigned format_;
  platform::DataHandle huge_ = nullptr;
};

TEST_P(RecorderTest, ACopyTooLargeForMemoryRecordsNothingAndLosesNothing) {
  const unsigned huge = Register("Quilleteer huge test format");
  HugeBlocks blocks(clipboard(), huge);
  recorder_clipboard_ = &blocks;
  ASSERT_TRUE(Start());
  recorder_->FormActivate(true);
  recorder_->SetMaxRecords(2);
  CopyText("a");
  CopyText("b");
  // The ring is full: the next capture would replace record 1.
  Copy({Text("half of it"), {huge, "more than memory holds"}});
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(recorder_->CurrentNo(), 2);
  EXPECT_EQ(TextOfRecord(1), "a");
  EXPECT_EQ(TextOfRecord(2), "b");
  ASSERT_EQ(view_->rows.size(), 2u);
  EXPECT_EQ(view_->rows[0].content, "a");
  // The next copy that fits is recorded as usual.
  CopyText("c");
  EXPECT_EQ(TextOfRecord(1), "c");
  recorder_.reset();  // before the clipboard it was given
}

INSTANTIATE_TEST_SUITE_P(Worlds, CaptureTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
