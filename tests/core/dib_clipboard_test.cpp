// DIB objects loaded from and put on the recorder's clipboard: the system's
// under Wine, the double natively. Blocks come as screenshot tools and
// other programs make them.
#include <cstring>

#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"
#include "dib_blocks.h"
#include "platform/clipboard_guards.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

namespace cf = platform::cf;
using Block = std::vector<std::uint8_t>;

class DibClipboardTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    adapter_ = std::make_unique<DibClipboard>(clipboard(), other_->id);
  }
  // Another program copies a packed DIB; the recorder stays manual.
  void CopyDib(const std::string& block) {
    recorder_->WatchRGClick(false);
    Copy({{cf::kDib, block}});
  }
  Block ClipboardBlock(unsigned format) {
    platform::ClipboardSession session(clipboard(), other_->id);
    platform::GlobalView view(clipboard(), clipboard().GetData(format));
    return Block(view.bytes().begin(), view.bytes().end());
  }
  std::string LoadError(unsigned format, bool with_data) {
    platform::ClipboardSession session(clipboard(), other_->id);
    try {
      picture_.LoadFromClipboardFormat(format, with_data ? clipboard().GetData(format) : nullptr,
                                       nullptr, *adapter_);
    } catch (const dib::EInvalidGraphic& e) {
      return e.what();
    }
    return "no error";
  }

  std::unique_ptr<DibClipboard> adapter_;
  dib::TKvDIB picture_;
};

TEST_P(DibClipboardTest, BitFieldPictureLoadsAs24BitsAndGoesBackWithoutMasks) {
  // As screenshot tools put it: 32 bits, BI_BITFIELDS, three masks.
  std::string block = InfoHeader(5, 3, 32, 3, 0);
  Put32(block, 0x00FF0000);
  Put32(block, 0x0000FF00);
  Put32(block, 0x000000FF);
  for (std::uint32_t i = 0; i < 15; ++i) Put32(block, 0x00102030u + i);
  CopyDib(block);
  picture_.Assign(*adapter_);
  EXPECT_EQ(picture_.GetPixelFormat(), dib::TKvPixelFormat::kvPf24Bit);
  EXPECT_EQ(picture_.InternalDIB().DIBInfo.Bits()[0], 0x30);  // blue of pixel 0

  picture_.AssignTo(*adapter_);
  const Block back = ClipboardBlock(cf::kDib);
  ASSERT_EQ(back.size(), 40u + 3u * 16u) << "header and 24-bit rows, no masks";
  EXPECT_EQ(Get32(back.data() + 14) & 0xFFFF, 24u);
  EXPECT_EQ(Get32(back.data() + 16), 0u);
  EXPECT_EQ(back[40], 0x30);
  EXPECT_EQ(back[42], 0x10);
}

TEST_P(DibClipboardTest, ColourCountsOfEightBitPictures) {
  std::string all = InfoHeader(4, 1, 8, 0, 0);
  for (int i = 0; i < 256; ++i) Put32(all, static_cast<std::uint32_t>(i) * 0x010101u);
  all += std::string("\x05\x06\x07\x08", 4);
  CopyDib(all);
  picture_.Assign(*adapter_);
  const dib::TDIBInfo& info = picture_.InternalDIB().DIBInfo;
  EXPECT_EQ(info.Header.biClrUsed, 256u);
  EXPECT_EQ(info.ColorTable[200].rgbRed, 200);
  EXPECT_EQ(info.Bits()[3], 8);

  std::string many = InfoHeader(4, 1, 8, 0, 300);
  for (int i = 0; i < 300; ++i) Put32(many, 0x00FFFFFF);
  many += std::string("\x01\x02\x03\x04", 4);
  CopyDib(many);
  picture_.Assign(*adapter_);
  EXPECT_EQ(picture_.InternalDIB().DIBInfo.Header.biClrUsed, 256u);
  EXPECT_EQ(picture_.InternalDIB().DIBInfo.Bits()[0], 1) << "pixels after all 300 entries";
}

TEST_P(DibClipboardTest, CompressedPictureGoesToTheClipboardAsItsStream) {
  CopyDib(Flat24(64, 8));
  picture_.Assign(*adapter_);
  picture_.SetPixelFormat(dib::TKvPixelFormat::kvPf8BitRLE);
  const dib::TDIBInfo& info = picture_.InternalDIB().DIBInfo;
  const Block stream(info.Bits(), info.Bits() + info.ImageSize);
  picture_.AssignTo(*adapter_);
  const Block back = ClipboardBlock(cf::kDib);
  ASSERT_EQ(back.size(), 40u + 4u * info.Header.biClrUsed + stream.size());
  EXPECT_EQ(Get32(back.data() + 16), 1u) << "BI_RLE8";
  EXPECT_EQ(Block(back.end() - static_cast<std::ptrdiff_t>(stream.size()), back.end()), stream);
}

TEST_P(DibClipboardTest, OtherFormatsAndMissingDataAreRefused) {
  const std::string expected =
      "TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data";
  CopyDib(Picture24(4, 4));
  EXPECT_EQ(LoadError(cf::kBitmap, true), expected);
  EXPECT_EQ(LoadError(cf::kDib, false), expected);
  EXPECT_EQ(picture_.GetWidth(), 1);
}

INSTANTIATE_TEST_SUITE_P(Worlds, DibClipboardTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
