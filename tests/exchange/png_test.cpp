// PNG export and import through the clipboard, in every world: pictures of
// every depth come back with the same pixels, and damaged files change
// nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "dib/kv_dib_header.h"
#include "dib_pixels.h"
#include "exchange/png_codec.h"
#include "exchange_fixture.h"

namespace quill::exchange::testing {
namespace {

enum class Alpha { kNone, kZero, kVarying };

struct Picture {
  const char* name;
  int bits;
  bool top_down = false;
  Alpha alpha = Alpha::kNone;
  // What the PNG file holds (IHDR bit depth and colour type), and the bit
  // count of the DIB the import makes of it.
  int png_depth = 0;
  int png_colour_type = 0;
  int imported_bits = 0;
};

// A packed DIB of noise with a few flat runs, a random colour table, and
// every index in range.
std::vector<std::uint8_t> MakeDib(const Picture& picture, std::int32_t width, std::int32_t height) {
  std::mt19937 random(static_cast<unsigned>(picture.bits * 31 + width));
  const std::uint32_t colors = picture.bits <= 8 ? (1u << picture.bits) - picture.bits / 4 : 0;
  const std::int64_t stride = dib::RowStride(width, picture.bits);
  std::vector<std::uint8_t> block(40 + 4 * colors + static_cast<std::size_t>(stride * height));
  dib::TBitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = picture.top_down ? -height : height;
  header.biBitCount = static_cast<std::uint16_t>(picture.bits);
  header.biClrUsed = colors;
  dib::PutInfoHeader(block.data(), header);
  for (std::uint32_t i = 0; i < colors * 4; ++i)
    block[40 + i] = i % 4 == 3 ? 0 : static_cast<std::uint8_t>(random());
  std::uint8_t* pixels = block.data() + 40 + 4 * colors;
  for (std::int32_t y = 0; y < height; ++y) {
    std::uint8_t* row = pixels + y * stride;
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint32_t value = x > width / 2 ? 3 : static_cast<std::uint32_t>(random());
      if (picture.bits <= 8) {
        const auto index = static_cast<int>(value % colors);
        const int per_byte = 8 / picture.bits;
        row[x / per_byte] |=
            static_cast<std::uint8_t>(index << (8 - picture.bits * (x % per_byte + 1)));
      } else {
        const int bytes = picture.bits / 8;
        for (int c = 0; c < bytes; ++c)
          row[x * bytes + c] = static_cast<std::uint8_t>(value >> (8 * c));
        if (picture.bits == 32)
          row[x * 4 + 3] =
              picture.alpha == Alpha::kZero ? 0 : static_cast<std::uint8_t>(x * 255 / width);
      }
    }
  }
  return block;
}

class PngTest : public ExchangeTest {
 protected:
  // Another program puts the packed DIB on the clipboard.
  void CopyDib(const std::vector<std::uint8_t>& dib) {
    platform::ClipboardSession session(clipboard(), other_->id);
    ASSERT_TRUE(session.is_open());
    clipboard().Empty();
    platform::GlobalBlock block(clipboard(), dib.size());
    std::memcpy(platform::GlobalView(clipboard(), block.get()).bytes().data(), dib.data(),
                dib.size());
    ASSERT_TRUE(platform::HandOver(clipboard(), platform::cf::kDib, block));
  }
};

TEST_P(PngTest, EveryDepthComesBackWithItsPixels) {
  const Picture pictures[] = {
      {"1-bit", 1, false, Alpha::kNone, 1, 3, 1},
      {"4-bit", 4, false, Alpha::kNone, 4, 3, 4},
      {"8-bit", 8, false, Alpha::kNone, 8, 3, 8},
      {"24-bit", 24, false, Alpha::kNone, 8, 2, 24},
      {"24-bit top-down", 24, true, Alpha::kNone, 8, 2, 24},
      {"32-bit, alpha", 32, false, Alpha::kVarying, 8, 6, 32},
      {"32-bit, alpha, top-down", 32, true, Alpha::kVarying, 8, 6, 32},
      {"32-bit, fourth byte unused", 32, false, Alpha::kZero, 8, 2, 24},
  };
  auto exchange = MakeExchange();
  for (const Picture& picture : pictures) {
    SCOPED_TRACE(picture.name);
    const auto original = MakeDib(picture, 45, 17);
    CopyDib(original);
    dialogs().save_paths = {PathOf("out.png")};
    exchange.ExportBtnClick({});
    const auto file = ReadFile("out.png");
    ASSERT_TRUE(IsPng(file));
    EXPECT_EQ(file[24], picture.png_depth);
    EXPECT_EQ(file[25], picture.png_colour_type);

    CopyText("between");
    ASSERT_TRUE(exchange.ImportFile(PathOf("out.png")));
    const RgbaPixels imported = RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib));
    RgbaPixels expected = RgbaOfPackedDib(original);
    if (picture.alpha == Alpha::kZero)
      for (std::size_t i = 3; i < expected.rgba.size(); i += 4) expected.rgba[i] = 255;
    EXPECT_EQ(imported.bit_count, picture.imported_bits);
    EXPECT_EQ(imported.width, expected.width);
    EXPECT_EQ(imported.height, expected.height);
    EXPECT_TRUE(imported.rgba == expected.rgba);
  }
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(PngTest, AnRlePictureIsWrittenWithItsPalette) {
  dib::TKvDIB picture;
  picture.MutableInternalDIB().CreateDIB(40, 9, 8, 5);
  auto& info = picture.MutableInternalDIB().DIBInfo;
  for (int i = 0; i < 5; ++i)
    info.ColorTable[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i * 50), 7,
                                                    static_cast<std::uint8_t>(255 - i), 0};
  for (std::int32_t i = 0; i < info.ImageSize; ++i)
    info.Bits()[i] = static_cast<std::uint8_t>(i / 13 % 5);
  picture.SetPixelFormat(dib::TKvPixelFormat::kvPf8BitRLE);
  ASSERT_EQ(picture.InternalDIB().DIBInfo.Header.biCompression, dib::kBiRle8);
  CopyPicture(picture);
  const auto original = RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib));
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("rle.png")};
  exchange.ExportBtnClick({});
  ASSERT_TRUE(exchange.ImportFile(PathOf("rle.png")));
  const auto imported = RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib));
  EXPECT_EQ(imported.bit_count, 8);
  EXPECT_TRUE(imported.rgba == original.rgba);
}

// A PNG with one chunk changed; the CRC is made right again unless asked.
std::vector<std::uint8_t> Png(std::uint32_t width, std::uint32_t height, int depth, int type) {
  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto chunk = [&](const char* name, std::vector<std::uint8_t> data) {
    const auto put32 = [&](std::uint32_t v) {
      for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(static_cast<std::uint8_t>(v >> shift));
    };
    put32(static_cast<std::uint32_t>(data.size()));
    const std::size_t start = file.size();
    file.insert(file.end(), name, name + 4);
    file.insert(file.end(), data.begin(), data.end());
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = start; i < file.size(); ++i) {
      crc ^= file[i];
      for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
    }
    put32(~crc);
  };
  std::vector<std::uint8_t> ihdr = {static_cast<std::uint8_t>(width >> 24),
                                    static_cast<std::uint8_t>(width >> 16),
                                    static_cast<std::uint8_t>(width >> 8),
                                    static_cast<std::uint8_t>(width),
                                    static_cast<std::uint8_t>(height >> 24),
                                    static_cast<std::uint8_t>(height >> 16),
                                    static_cast<std::uint8_t>(height >> 8),
                                    static_cast<std::uint8_t>(height),
                                    static_cast<std::uint8_t>(depth),
                                    static_cast<std::uint8_t>(type),
                                    0,
                                    0,
                                    0};
  chunk("IHDR", ihdr);
  // One stored deflate block of a 1 x 1 image's single row.
  chunk("IDAT", {0x78, 0x01, 0x01, 0x04, 0x00, 0xFB, 0xFF, 0, 0, 0, 0, 0x00, 0x04, 0x00, 0x01});
  chunk("IEND", {});
  return file;
}

TEST_P(PngTest, ADamagedOrHostileFileIsRefusedAndChangesNothing) {
  auto good = Png(1, 1, 8, 2);
  auto bad_crc = good;
  bad_crc[8 + 8 + 4] ^= 1;  // a byte of the width, under the old CRC
  auto cut = good;
  cut.resize(cut.size() - 20);
  const std::pair<std::string, std::vector<std::uint8_t>> cases[] = {
      {"bad_crc.png", bad_crc},
      {"cut.png", cut},
      {"huge.png", Png(1u << 30, 1u << 30, 8, 6)},
      {"zero_width.png", Png(0, 1, 8, 2)},
      {"no_palette.png", Png(1, 1, 8, 3)},
      {"bad_depth.png", Png(1, 1, 5, 2)},
      {"text.png", std::vector<std::uint8_t>{'h', 'e', 'l', 'l', 'o'}},
  };
  auto exchange = MakeExchange();
  WriteFile("good.png", good);
  ASSERT_TRUE(exchange.ImportFile(PathOf("good.png")));
  EXPECT_EQ(RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib)).rgba,
            (std::vector<std::uint8_t>{0, 0, 0, 255}));
  CopyText("before");
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    WriteFile(name, bytes);
    dialogs().shown.clear();
    EXPECT_FALSE(exchange.ImportFile(PathOf(name)));
    ASSERT_EQ(dialogs().shown.size(), 1u);
    EXPECT_EQ(dialogs().shown[0].rfind(u"PNG: ", 0), 0u);
    EXPECT_GT(dialogs().shown[0].size(), 6u);
  }
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_FALSE(clipboard().IsFormatAvailable(platform::cf::kDib));
}

INSTANTIATE_TEST_SUITE_P(Worlds, PngTest, ::testing::ValuesIn(core::testing::AllWorlds()),
                         core::testing::WorldName);

}  // namespace
}  // namespace quill::exchange::testing
