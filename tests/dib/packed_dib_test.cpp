// The clipboard's packed DIB: read from blocks other programs made, and
// handed back as a plain CF_DIB block.
#include <gtest/gtest.h>

#include <cstring>

#include "block_clipboard.h"
#include "bmp_builder.h"
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

constexpr unsigned kDib = 8;

// A packed DIB is a bitmap file without its 14-byte file header.
Bytes Packed(const BmpFields& fields) {
  const Bytes file = BuildBmp(fields);
  return Bytes(file.begin() + 14, file.end());
}

std::uint32_t Field32(const Bytes& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

class PackedDIBTest : public ::testing::Test {
 protected:
  void LoadBlock(const Bytes& block) {
    clipboard_.Put(kDib, block);
    dib_.Assign(clipboard_);
  }
  Bytes SaveBlock() {
    dib_.AssignTo(clipboard_);
    return clipboard_.Bytes(kDib);
  }
  void TearDown() override {
    EXPECT_FALSE(clipboard_.open) << "the clipboard was left open";
    EXPECT_EQ(clipboard_.locks, 0) << "a block was left locked";
  }

  BlockClipboard clipboard_;
  TKvDIB dib_;
};

TEST_F(PackedDIBTest, BitFieldsWidenTo24BitsAndGoBackAsPlainBlockWithoutMasks) {
  // Masks in an unusual order, so that defaults would give other colours;
  // two table entries follow the masks.
  BmpFields f;
  f.bit_count = 32;
  f.compression = 3;
  f.width = 3;
  f.height = 2;
  f.clr_used = 2;
  f.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};  // red, green, blue
  f.table = {1, 2, 3, 0, 4, 5, 6, 0};
  for (std::uint32_t i = 0; i < 6; ++i) Put32(f.pixels, 0x00302010u + i * 0x010101u);
  LoadBlock(Packed(f));

  const TDIBInfo& info = Info(dib_);
  EXPECT_EQ(info.Header.biBitCount, 24);
  EXPECT_EQ(info.Header.biCompression, 0u);
  ASSERT_EQ(info.Header.biClrUsed, 2u);
  EXPECT_EQ(info.ColorTable[1], (TRGBQuad{4, 5, 6, 0}));
  // Pixel 0: red 0x10, green 0x20, blue 0x30, stored blue first.
  EXPECT_EQ(Pixels(dib_)[0], 0x30);
  EXPECT_EQ(Pixels(dib_)[1], 0x20);
  EXPECT_EQ(Pixels(dib_)[2], 0x10);

  const Bytes block = SaveBlock();
  ASSERT_EQ(block.size(), 40u + 8u + 2u * 12u);
  EXPECT_EQ(Field32(block, 0), 40u);
  EXPECT_EQ(block[14], 24);
  EXPECT_EQ(Field32(block, 16), 0u) << "no bit fields";
  EXPECT_EQ(Field32(block, 32), 2u);
  EXPECT_EQ(Bytes(block.begin() + 40, block.begin() + 48), f.table) << "no masks before the table";
  EXPECT_EQ(Bytes(block.begin() + 48, block.end()), Pixels(dib_));
  EXPECT_EQ(clipboard_.data.size(), 1u) << "the DIB is the clipboard's only content";
}

TEST_F(PackedDIBTest, ColourCountsDecideWhereThePixelsStart) {
  BmpFields all = PlainImage(8, 4, 2, 0);
  all.table = Pattern(256 * 4, 9);
  LoadBlock(Packed(all));
  EXPECT_EQ(Info(dib_).Header.biClrUsed, 256u);
  EXPECT_EQ(Info(dib_).ColorTable[255].rgbBlue, all.table[255 * 4]);
  EXPECT_EQ(Pixels(dib_), all.pixels);

  // 300 entries: 256 kept, the pixels found after all 300.
  BmpFields many = PlainImage(8, 4, 2, 300);
  LoadBlock(Packed(many));
  EXPECT_EQ(Info(dib_).Header.biClrUsed, 256u);
  EXPECT_EQ(Info(dib_).ColorTable[200].rgbRed, many.table[200 * 4 + 2]);
  EXPECT_EQ(Pixels(dib_), many.pixels);
  EXPECT_EQ(SaveBlock().size(), 40u + 256u * 4u + many.pixels.size());
}

TEST_F(PackedDIBTest, CoreHeaderGetsFourByteEntries) {
  BmpFields f;
  f.header_size = 12;
  f.bit_count = 4;
  f.width = 5;
  f.height = 3;
  f.table = Pattern(16 * 3, 5);
  f.pixels = Pattern(Stride(5, 4) * 3, 2);
  LoadBlock(Packed(f));
  const TDIBInfo& info = Info(dib_);
  EXPECT_EQ(info.Header.biSize, 40u);
  EXPECT_EQ(info.Header.biClrUsed, 16u);
  EXPECT_EQ(info.ColorTable[15], (TRGBQuad{f.table[45], f.table[46], f.table[47], 0}));
  EXPECT_EQ(Pixels(dib_), f.pixels);
  const Bytes block = SaveBlock();
  EXPECT_EQ(Field32(block, 0), 40u);
  EXPECT_EQ(block.size(), 40u + 64u + f.pixels.size());
}

// Other readers refuse a planes count other than 1, so none is written,
// whatever header and route the image came by.
TEST_F(PackedDIBTest, PlanesAreWrittenAsOneWhateverTheSourceSaid) {
  auto planes = [](const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; };
  for (std::uint16_t source_planes : {0, 3, 0xFFFF}) {
    for (std::uint32_t header_size : {40u, 12u}) {
      BmpFields f = PlainImage(1, 4, 2, 0);
      f.header_size = header_size;
      f.planes = source_planes;
      f.table = Pattern(header_size == 12 ? 6 : 8);
      for (bool from_file : {true, false}) {
        SCOPED_TRACE(::testing::Message() << source_planes << " planes, header " << header_size
                                          << (from_file ? ", file" : ", block"));
        if (from_file) {
          Load(dib_, BuildBmp(f));
        } else {
          LoadBlock(Packed(f));
        }
        EXPECT_EQ(Info(dib_).Header.biPlanes, 1) << "the loaded header is the one written";
        EXPECT_EQ(planes(Save(dib_), 14 + 12), 1);
        EXPECT_EQ(planes(SaveBlock(), 12), 1);
      }
    }
  }
}

TEST_F(PackedDIBTest, CompressedImageTravelsAsItsStream) {
  BmpFields f = PlainImage(8, 64, 4, 2);
  f.pixels.assign(f.pixels.size(), 1);
  LoadBlock(Packed(f));
  dib_.SetPixelFormat(TKvPixelFormat::kvPf8BitRLE);
  const Bytes stream = Pixels(dib_);

  const Bytes block = SaveBlock();
  EXPECT_EQ(Field32(block, 16), 1u) << "BI_RLE8";
  EXPECT_EQ(Bytes(block.begin() + 40 + 4 * Info(dib_).Header.biClrUsed, block.end()), stream);

  TKvDIB again;
  again.Assign(clipboard_);
  EXPECT_EQ(again.GetPixelFormat(), TKvPixelFormat::kvPf8BitRLE);
  EXPECT_EQ(Pixels(again), stream);
  EXPECT_EQ(Info(again).Header.biSizeImage, stream.size());
}

TEST_F(PackedDIBTest, ShortUncompressedBlockLeavesMissingRowsZero) {
  BmpFields f = PlainImage(8, 4, 4, 2);
  f.pixels.resize(4);  // one row of four
  LoadBlock(Packed(f));
  EXPECT_EQ(Info(dib_).ImageSize, 16);
  const Bytes pixels = Pixels(dib_);
  EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 4), f.pixels);
  EXPECT_EQ(Bytes(pixels.begin() + 4, pixels.end()), Bytes(12, 0));
}

TEST_F(PackedDIBTest, NoDIBFormatOrNoDataIsRefused) {
  const std::string expected =
      "TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data";
  clipboard_.Put(2, Packed(PlainImage(8, 2, 2, 2)));
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] {
              dib_.LoadFromClipboardFormat(2, clipboard_.GetData(2), nullptr, clipboard_);
            }),
            expected);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { dib_.Assign(clipboard_); }), expected)
      << "only format 2 is there";
  ExpectDefaultImage(dib_);
}

struct Malformed {
  const char* name;
  Bytes block;
  const char* message;
};

Bytes WithHeaderSize(Bytes block, std::uint32_t size) {
  block[0] = static_cast<std::uint8_t>(size);
  return block;
}

std::vector<Malformed> MalformedBlocks() {
  const char* const kInvalidData = "TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Data";
  const Bytes good = Packed(PlainImage(8, 4, 2, 4));
  std::vector<Malformed> cases;
  cases.push_back({"three bytes", Bytes{40, 0, 0}, kInvalidData});
  cases.push_back({"cut inside the header", Bytes(good.begin(), good.begin() + 30), kInvalidData});
  cases.push_back({"header size 20", WithHeaderSize(good, 20), kInvalidData});
  cases.push_back({"cut inside the table", Bytes(good.begin(), good.begin() + 50), kInvalidData});
  BmpFields endless = PlainImage(8, 4, 2, 0);
  endless.clr_used = 0xFFFFFFFF;
  endless.table.clear();
  cases.push_back({"four billion entries", Packed(endless), kInvalidData});
  BmpFields wide = PlainImage(32, 100, 2, 0);
  wide.pixels.resize(100 * 4);  // one row of two
  cases.push_back({"32-bit rows missing", Packed(wide), kInvalidData});
  BmpFields zero = PlainImage(8, 4, 2, 4);
  zero.height = 0;
  cases.push_back(
      {"zero height", Packed(zero), "TKvInternalDIB.LoadFromStream: Invalid Width or Height"});
  BmpFields negative = PlainImage(8, 4, 2, 4);
  negative.width = -4;
  cases.push_back({"negative width", Packed(negative),
                   "TKvInternalDIB.LoadFromStream: Invalid Width or Height"});
  BmpFields odd = PlainImage(8, 4, 2, 4);
  odd.bit_count = 2;
  cases.push_back(
      {"two bits", Packed(odd), "TKvInternalDIB.LoadFromClipboardFormat: Invalid biBitCount"});
  BmpFields no_mask = PlainImage(16, 4, 2, 0);
  no_mask.compression = 3;
  no_mask.masks = {0x7C00, 0, 0x001F};
  cases.push_back(
      {"zero green mask", Packed(no_mask), "TKvInternalDIB.LoadFromStream: Invalid Masks"});
  BmpFields rle24 = PlainImage(24, 4, 2, 0);
  rle24.compression = 1;
  cases.push_back(
      {"RLE8 on 24 bits", Packed(rle24), "TKvInternalDIB.LoadFromStream: Invalid Compression"});
  return cases;
}

TEST_F(PackedDIBTest, MalformedBlocksFailCleanlyAndLeaveTheDefaultImage) {
  for (const Malformed& c : MalformedBlocks()) {
    SCOPED_TRACE(c.name);
    TKvDIB other;
    dib_.Assign(other);  // a shared body must stay untouched by the failure
    EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { LoadBlock(c.block); }), c.message);
    ExpectDefaultImage(dib_);
    EXPECT_FALSE(clipboard_.open);
    EXPECT_EQ(clipboard_.locks, 0);
    EXPECT_EQ(other.InternalDIB().RefCount, 1);
  }
}

TEST_F(PackedDIBTest, ClipboardThatCannotBeOpenedOrRefusesData) {
  clipboard_.Put(kDib, Packed(PlainImage(8, 4, 2, 4)));
  clipboard_.refuse_open = true;
  EXPECT_EQ(MessageOf<EClipboardError>([&] { dib_.Assign(clipboard_); }), "Cannot open clipboard");
  EXPECT_EQ(MessageOf<EClipboardError>([&] { dib_.AssignTo(clipboard_); }),
            "Cannot open clipboard");
  EXPECT_EQ(clipboard_.empties, 0);
  EXPECT_EQ(clipboard_.blocks.size(), 1u) << "the new block was freed";

  clipboard_.refuse_open = false;
  clipboard_.refuse_data = true;
  EXPECT_EQ(MessageOf<EClipboardError>([&] { dib_.AssignTo(clipboard_); }),
            "Cannot set clipboard data");
  EXPECT_TRUE(clipboard_.blocks.empty()) << "the refused block was freed";
}

TEST_F(PackedDIBTest, NoMemoryLeavesTheClipboardAsItWas) {
  const Bytes before = Packed(PlainImage(8, 4, 2, 4));
  clipboard_.Put(kDib, before);
  clipboard_.refuse_memory = true;
  EXPECT_EQ(MessageOf<EOutOfMemory>([&] { dib_.AssignTo(clipboard_); }),
            "TKvInternalDIB.SaveToClipboardFormat: Out Of Memory");
  EXPECT_EQ(clipboard_.empties, 0);
  EXPECT_EQ(clipboard_.Bytes(kDib), before);
}

}  // namespace
}  // namespace quill::dib::testing
