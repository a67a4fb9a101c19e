// Picture files written by other programs (ImageMagick, Pillow), made by
// make_foreign_images.sh when the tests run, import with the pixels those
// programs report for them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "dib/kv_dib_header.h"
#include "dib_pixels.h"
#include "exchange_fixture.h"

namespace quill::exchange::testing {
namespace {

std::filesystem::path ForeignImages() { return QUILL_FOREIGN_IMAGES_DIR; }

std::vector<std::uint8_t> Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The files of one extension the script wrote, by name.
std::vector<std::filesystem::path> Written(const std::string& extension) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(ForeignImages(), error))
    if (entry.path().extension() == extension) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

class ForeignImagesTest : public ExchangeTest {
 protected:
  // Imports the file and compares the clipboard's DIB with the report;
  // gives the DIB's bit count.
  int ExpectImportedAsReported(const std::filesystem::path& file) {
    auto exchange = MakeExchange();
    EXPECT_TRUE(exchange.ImportFile(file.u16string()));
    const RgbaPixels pixels = RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib));
    const auto reported = Bytes(file.string() + ".rgba");
    EXPECT_FALSE(reported.empty());
    EXPECT_EQ(pixels.rgba.size(), reported.size());
    EXPECT_TRUE(pixels.rgba == reported);
    return pixels.bit_count;
  }
};

TEST_P(ForeignImagesTest, BitmapsWithTheLongerHeadersImportWithTheirWritersPixels) {
  const auto files = Written(".bmp");
  ASSERT_GE(files.size(), 12u) << "make_foreign_images.sh has not written " << ForeignImages();
  for (const auto& file : files) {
    const auto bytes = Bytes(file);
    ASSERT_GE(bytes.size(), 18u);
    const std::uint32_t header = dib::GetU32(bytes.data() + 14);
    EXPECT_TRUE(header == 108 || header == 124) << file;
    SCOPED_TRACE(file.filename().string());
    ExpectImportedAsReported(file);
  }
  EXPECT_TRUE(dialogs().shown.empty());
}

// A profile said to lie among the headers or before the pixels is not
// picture data to cut off: the pixels stay whole.
TEST_P(ForeignImagesTest, AProfileOffsetThatLiesLeavesThePixelsWhole) {
  auto bytes = Bytes(ForeignImages() / "v5_24.bmp");
  ASSERT_GT(bytes.size(), 14u + 124u);
  const std::uint8_t embedded[] = {'D', 'E', 'B', 'M'};
  std::copy(std::begin(embedded), std::end(embedded), bytes.begin() + 14 + 56);
  const auto reported = Bytes(ForeignImages() / "v5_24.bmp.rgba");
  auto exchange = MakeExchange();
  for (const std::uint32_t offset : {0u, 40u, 130u}) {
    SCOPED_TRACE(offset);
    dib::PutU32(bytes.data() + 14 + 112, offset);
    WriteFile("lying.bmp", bytes);
    ASSERT_TRUE(exchange.ImportFile(PathOf("lying.bmp")));
    EXPECT_TRUE(RgbaOfPackedDib(ClipboardBlock(platform::cf::kDib)).rgba == reported);
  }
}

// The DIB each PNG becomes: palettes and grey stay palettes (two bits become
// four), 16 bits per channel become 8, and only a picture with a pixel that
// is not opaque gets 32 bits with alpha.
TEST_P(ForeignImagesTest, PngFilesOfEveryKindImportWithTheirWritersPixels) {
  const std::map<std::string, int> depths = {{"im_grey16.png", 8},
                                             {"im_grey8.png", 8},
                                             {"im_grey_alpha.png", 32},
                                             {"im_interlaced.png", 24},
                                             {"im_palette.png", 8},
                                             {"im_rgb16.png", 24},
                                             {"im_rgba_interlaced.png", 32},
                                             {"pil_grey1.png", 1},
                                             {"pil_grey8.png", 8},
                                             {"pil_palette1.png", 1},
                                             {"pil_palette2.png", 4},
                                             {"pil_palette4.png", 4},
                                             {"pil_palette8.png", 8},
                                             {"pil_palette_opaque_trns.png", 4},
                                             {"pil_palette_transparent.png", 32},
                                             {"pil_rgb_key.png", 32},
                                             {"pil_rgba.png", 32}};
  const auto files = Written(".png");
  ASSERT_EQ(files.size(), depths.size())
      << "make_foreign_images.sh has not written " << ForeignImages();
  const unsigned png_format = clipboard().RegisterFormat("PNG");
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    ASSERT_TRUE(depths.contains(name));
    EXPECT_EQ(ExpectImportedAsReported(file), depths.at(name));
    // The file itself, for the programs that read PNG.
    EXPECT_EQ(ClipboardBlock(png_format), Bytes(file));
  }
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ForeignImagesTest, OtherHeaderSizesKeepTheirErrorAndLeaveTheClipboard) {
  auto bytes = Bytes(ForeignImages() / "v5_24.bmp");
  ASSERT_FALSE(bytes.empty());
  auto exchange = MakeExchange();
  ASSERT_TRUE(exchange.ImportFile(ForeignImages().u16string() + u"/v4_4.bmp"));
  const auto before = ClipboardBlock(platform::cf::kDib);
  const std::pair<std::uint32_t, std::string> cases[] = {
      {56, "TKvInternalDIB.LoadFromStream: Invalid Bitmap Header Size"},
      {64, "TKvInternalDIB.LoadFromStream: Invalid Bitmap Header Size"}};
  for (const auto& [size, message] : cases) {
    dib::PutU32(bytes.data() + 14, size);
    WriteFile("odd.bmp", bytes);
    dialogs().shown.clear();
    EXPECT_FALSE(exchange.ImportFile(PathOf("odd.bmp")));
    ASSERT_EQ(dialogs().shown.size(), 1u);
    EXPECT_EQ(dialogs().shown[0], std::u16string(message.begin(), message.end()));
  }
  // A 124-byte header cut short is a short file, as a 40-byte one would be.
  bytes.resize(14 + 100);
  dib::PutU32(bytes.data() + 14, 124);
  WriteFile("short.bmp", bytes);
  dialogs().shown.clear();
  EXPECT_FALSE(exchange.ImportFile(PathOf("short.bmp")));
  ASSERT_EQ(dialogs().shown.size(), 1u);
  EXPECT_EQ(dialogs().shown[0], u"Stream read error");
  EXPECT_EQ(ClipboardBlock(platform::cf::kDib), before);
}

INSTANTIATE_TEST_SUITE_P(Worlds, ForeignImagesTest, ::testing::ValuesIn(core::testing::AllWorlds()),
                         core::testing::WorldName);

}  // namespace
}  // namespace quill::exchange::testing
