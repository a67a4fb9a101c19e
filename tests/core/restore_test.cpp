// Putting records back on the clipboard: the stored bytes under the stored
// numbers, announce-only for delayed rendering, missing records.
#include <algorithm>

#include "core/storage_modes.h"
#include "platform/clipboard_guards.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

namespace cf = platform::cf;
using Formats = std::vector<unsigned>;

class RestoreTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
  }
  static Formats Sorted(Formats formats) {
    std::sort(formats.begin(), formats.end());
    return formats;
  }
  std::string BytesOf(unsigned format) {
    platform::ClipboardSession session(clipboard(), other_->id);
    platform::GlobalView view(clipboard(), clipboard().GetData(format));
    return std::string(view.bytes().begin(), view.bytes().end());
  }
};

TEST_P(RestoreTest, ATextRecordComesBackWithExactlyItsStoredFormatsAndBytes) {
  CopyText("stored text");
  CopyText("something else");
  std::string date;
  EXPECT_EQ(recorder_->ReadRecord(1, false, date), kHasText);
  Pump();
  EXPECT_EQ(date, "2026/12/07 09:05");
  EXPECT_EQ(Sorted(ClipboardFormats()),
            (Formats{cf::kText, cf::kOemText, cf::kUnicodeText, cf::kLocale}));
  EXPECT_EQ(BytesOf(cf::kText).substr(0, 12), std::string("stored text\0", 12));
  EXPECT_EQ(BytesOf(cf::kUnicodeText).substr(0, 6), std::string("s\0t\0o\0", 6));
  EXPECT_EQ(recorder_->RecordCount(), 2);  // our own put was not recorded
}

TEST_P(RestoreTest, AnnouncingOffersEveryFormatWithoutData) {
  const unsigned rich = Register("Quilleteer Restore Rich");
  Copy({Text("announced"), {rich, "rich"}});
  std::string date;
  EXPECT_EQ(recorder_->ReadRecord(1, true, date), kHasText);
  Pump();
  const Formats offered = ClipboardFormats();
  for (unsigned f : {cf::kText, cf::kUnicodeText, rich})
    EXPECT_NE(std::find(offered.begin(), offered.end(), f), offered.end()) << f;
  // Asked for without Ctrl+V held, nothing is rendered; with it, the data.
  paste_keys_held_ = false;
  EXPECT_EQ(BytesOf(rich), "");
  paste_keys_held_ = true;
  EXPECT_EQ(BytesOf(rich), "rich");
  EXPECT_EQ(recorder_->RecordCount(), 1);
}

TEST_P(RestoreTest, AMissingRecordLeavesTheClipboardAlone) {
  CopyText("only one");
  CopyText("current content");  // recorded as record 2
  std::string date = "unchanged?";
  EXPECT_EQ(recorder_->ReadRecord(7, false, date), kNoRecord);
  EXPECT_EQ(date, "");
  EXPECT_EQ(view_->ClipboardText(), "current content");
}

TEST_P(RestoreTest, ARecordWithoutHeaderComesBackWithAnEmptyDate) {
  CopyText("will lose its header");
  recorder_.reset();  // releases the storage so that it can be changed from outside
  {
    std::unique_ptr<platform::Storage> root, record;
    ASSERT_EQ(files().OpenDocfile(TempStorage(), mode::kOpenRoot, root), platform::kOk);
    ASSERT_EQ(root->OpenStorage(u"1", platform::stgm::kShareExclusive | platform::stgm::kReadWrite,
                                record),
              platform::kOk);
    ASSERT_EQ(record->DestroyElement(u"Header"), platform::kOk);
  }
  // A fresh recorder over the same file, as after opening it.
  const RecorderServices services = {clipboard(), clipboard_world_->messages(), files(), dialogs_,
                                     clock_};
  recorder_ = std::make_unique<Recorder>(services, window_->id, Folder(), *view_,
                                         FormatFilter("(all)", "Other"));
  dialogs_.open_paths.push_back(TempStorage());
  recorder_->OpenBtnClick();  // loads the file in place
  ASSERT_EQ(recorder_->RecordCount(), 1);
  std::string date = "x";
  EXPECT_EQ(recorder_->ReadRecord(1, false, date), kHasText);
  EXPECT_EQ(date, "");
  EXPECT_TRUE(view_->display_menu.empty());
}

TEST_P(RestoreTest, AFormattedWriteRewritesTheCurrentRecordWithoutANewOne) {
  CopyText("first");
  CopyText("reply to this");
  clock_.now.minute = 30;
  const std::u16string reply = u"> reply to this\r\n> \u00e9\u3042";
  std::string date;
  EXPECT_EQ(recorder_->FormattedWrite(reply, date), kHasText);
  Pump();
  EXPECT_EQ(date, "2026/12/07 09:30");
  std::string utf16le;  // the clipboard's Unicode text: little-endian, zero-terminated
  for (const char16_t c : reply + u'\0') utf16le += {char(c & 0xFF), char(c >> 8)};
  EXPECT_EQ(BytesOf(cf::kUnicodeText), utf16le);
  EXPECT_EQ(recorder_->RecordCount(), 2);
  EXPECT_EQ(TextOfRecord(2).substr(0, 15), "> reply to this");
  CopyText("next");  // the skip was used up by the write itself
  EXPECT_EQ(recorder_->RecordCount(), 3);
}

TEST_P(RestoreTest, AFormattedWriteThatCannotChangeTheClipboardChangesNothing) {
  CopyText("kept");
  std::string date;
  // Nothing to write: an empty text box, even in manual mode with another
  // program's text on the clipboard.
  recorder_->WatchRGClick(false);
  CopyText("another program's");
  EXPECT_EQ(recorder_->FormattedWrite(u"", date), kNoRecord);
  recorder_->WatchRGClick(true);
  EXPECT_EQ(recorder_->FormattedWrite(u"", date), kNoRecord);
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kAutomatic);
  {  // the clipboard held by another program
    platform::ClipboardSession held(clipboard(), other_->id);
    EXPECT_EQ(recorder_->FormattedWrite(u"reply", date), kNoRecord);
  }
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kAutomatic);
  EXPECT_EQ(TextOfRecord(1), "kept");
  CopyText("next");
  EXPECT_EQ(recorder_->RecordCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Worlds, RestoreTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
