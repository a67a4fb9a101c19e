// A copied picture converted to the chosen colour mode before it is
// recorded: the clipboard then holds only the converted picture, and the
// conversion's own clipboard change is not recorded again.
#include <algorithm>

#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "dib_blocks.h"
#include "platform/clipboard_guards.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

namespace cf = platform::cf;
using dib::TKvPixelFormat;

// ColorRG items.
constexpr int kNoConversion = 0;
constexpr int kTwoColours = 1;
constexpr int k256ColoursCompressed = 5;

class ColourConversionTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
  }
  void CopyPicture(const std::string& block) { Copy({{cf::kDib, block}}); }
  // The DIB the clipboard holds now, as the imaging library reads it.
  void ReadClipboardPicture(dib::TKvDIB& picture) {
    DibClipboard adapter(clipboard(), other_->id);
    picture.Assign(adapter);
  }
  // The info header's compression field of the clipboard's DIB block.
  std::uint32_t ClipboardCompression() {
    platform::ClipboardSession session(clipboard(), other_->id);
    platform::GlobalView view(clipboard(), clipboard().GetData(cf::kDib));
    if (!view.locked() || view.bytes().size() < 40) return 0xFFFFFFFF;
    return Get32(view.bytes().data() + 16);
  }
  void PutRecordBack(int n) {
    std::string date;
    ASSERT_GE(recorder_->ReadRecord(n, false, date), 0);
    Pump();
  }
};

TEST_P(ColourConversionTest, TwoColoursReplaceTheClipboardAndRecordOnce) {
  view_->color_index = kTwoColours;
  recorder_->FormActivate(true);
  CopyPicture(Picture24(40, 12));
  Pump();
  ASSERT_EQ(recorder_->RecordCount(), 1) << "the conversion's own change is not recorded";
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kAutomatic);
  EXPECT_EQ(view_->previews, (std::vector<RecordKind>{kHasPicture}));

  const std::vector<unsigned> formats = ClipboardFormats();
  ASSERT_FALSE(formats.empty());
  EXPECT_EQ(formats.front(), cf::kDib);
  for (unsigned f : formats) {
    EXPECT_TRUE(f == cf::kDib || f == cf::kBitmap || f == cf::kDibV5 || f == 9)
        << "only the picture and what the system derives from it: " << f;
  }
  dib::TKvDIB picture;
  ReadClipboardPicture(picture);
  EXPECT_EQ(picture.GetPixelFormat(), TKvPixelFormat::kvPf1Bit);
  EXPECT_EQ(picture.GetWidth(), 40);

  PutRecordBack(1);
  dib::TKvDIB stored;
  ReadClipboardPicture(stored);
  EXPECT_EQ(stored.GetPixelFormat(), TKvPixelFormat::kvPf1Bit)
      << "the record holds the converted picture";

  // The skip was used up by the conversion: the next copy is recorded.
  CopyText("after");
  EXPECT_EQ(recorder_->RecordCount(), 2);
}

TEST_P(ColourConversionTest, CompressedModeStoresAnRLE8Block) {
  view_->color_index = k256ColoursCompressed;
  recorder_->FormActivate(true);
  CopyPicture(Flat24(64, 16));
  ASSERT_EQ(recorder_->RecordCount(), 1);
  CopyText("something else");
  PutRecordBack(1);
  EXPECT_EQ(ClipboardCompression(), 1u) << "BI_RLE8";
}

TEST_P(ColourConversionTest, FailedConversionRecordsThePictureAsItCame) {
  // A single pixel cannot be compressed: its RLE8 stream is longer than
  // the room the image has.
  view_->color_index = k256ColoursCompressed;
  recorder_->FormActivate(true);
  CopyPicture(Picture24(1, 1));
  ASSERT_EQ(recorder_->RecordCount(), 1);
  dib::TKvDIB picture;
  ReadClipboardPicture(picture);
  EXPECT_EQ(picture.GetPixelFormat(), TKvPixelFormat::kvPf24Bit);
  EXPECT_EQ(ClipboardCompression(), 0u);
}

TEST_P(ColourConversionTest, UnreadablePictureIsRecordedUnchanged) {
  view_->color_index = kTwoColours;
  recorder_->FormActivate(true);
  const std::string garbage = "not a bitmap at all, but a DIB all the same";
  Copy({Text("caption"), {cf::kDib, garbage}});
  ASSERT_EQ(recorder_->RecordCount(), 1);
  const std::vector<unsigned> formats = ClipboardFormats();
  EXPECT_NE(std::find(formats.begin(), formats.end(), cf::kText), formats.end())
      << "the clipboard was left alone";
  CopyText("next");
  EXPECT_EQ(recorder_->RecordCount(), 2) << "no skip was left pending";
}

TEST_P(ColourConversionTest, NoConversionLeavesTheClipboardAlone) {
  view_->color_index = kNoConversion;
  recorder_->FormActivate(true);
  Copy({Text("caption"), {cf::kDib, Picture24(8, 8)}});
  ASSERT_EQ(recorder_->RecordCount(), 1);
  const std::vector<unsigned> formats = ClipboardFormats();
  EXPECT_NE(std::find(formats.begin(), formats.end(), cf::kText), formats.end());
  dib::TKvDIB picture;
  ReadClipboardPicture(picture);
  EXPECT_EQ(picture.GetPixelFormat(), TKvPixelFormat::kvPf24Bit);
}

TEST_P(ColourConversionTest, APrivatePictureIsNeitherConvertedNorRecorded) {
  view_->color_index = kTwoColours;
  recorder_->FormActivate(true);
  const struct {
    const char* marker;
    std::string bytes;
  } markers[] = {{"ExcludeClipboardContentFromMonitorProcessing", std::string(1, '\0')},
                 {"Clipboard Viewer Ignore", std::string(1, '\0')},
                 {"CanIncludeInClipboardHistory", std::string(4, '\0')}};
  for (const auto& m : markers) {
    SCOPED_TRACE(m.marker);
    const unsigned marker = Register(m.marker);
    CopyPicture(Picture24(8, 8));  // something else first, so that the next change shows
    Copy({{cf::kDib, Picture24(16, 16)}, {marker, m.bytes}});
    recorder_->CaptureClipboard();  // the manual read as well
    Pump();
    const std::vector<unsigned> formats = ClipboardFormats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), marker), formats.end())
        << "the owner's content stays as it was";
    dib::TKvDIB picture;
    ReadClipboardPicture(picture);
    EXPECT_EQ(picture.GetPixelFormat(), TKvPixelFormat::kvPf24Bit);
    EXPECT_EQ(picture.GetWidth(), 16);
    EXPECT_EQ(recorder_->CaptureState(), capture_state::kAutomatic);
  }
  EXPECT_EQ(recorder_->RecordCount(), 3) << "only the three public pictures";
}

TEST_P(ColourConversionTest, ManualReadConvertsAndStaysManual) {
  view_->color_index = kTwoColours;
  recorder_->WatchRGClick(false);
  CopyPicture(Picture24(16, 16));
  EXPECT_EQ(recorder_->RecordCount(), 0);
  recorder_->CaptureClipboard();
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(recorder_->CaptureState(), capture_state::kManual);
  dib::TKvDIB picture;
  ReadClipboardPicture(picture);
  EXPECT_EQ(picture.GetPixelFormat(), TKvPixelFormat::kvPf1Bit);
}

INSTANTIATE_TEST_SUITE_P(Worlds, ColourConversionTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
