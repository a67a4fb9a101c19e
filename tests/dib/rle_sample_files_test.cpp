// RLE bitmaps written by another program (ImageMagick) and hand-made streams
// with deltas decode to the colours ImageMagick reads from the same files;
// re-encoding the pixels gives them back. The files and their .rgb
// references are made by rle/make_samples.sh.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "dib_test_util.h"
#include "rle_test_util.h"

namespace quill::dib::testing {
namespace {

namespace fs = std::filesystem;

Bytes ReadBytes(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Colour indices of pixel (x, y), y counted from the top.
unsigned IndexAt(const TDIBInfo& info, int x, int y) {
  const int rows = info.AbsHeight();
  const int memory_row = info.Header.biHeight > 0 ? rows - 1 - y : y;
  const std::uint8_t* row = info.Bits() + memory_row * info.Stride();
  if (info.Header.biBitCount == 8) return row[x];
  return x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4;
}

// Red, green, blue, top row first: the layout of ImageMagick's rgb: output.
Bytes ToRgb(const TDIBInfo& info) {
  Bytes rgb;
  for (int y = 0; y < info.AbsHeight(); ++y) {
    for (int x = 0; x < info.Header.biWidth; ++x) {
      const TRGBQuad& c = info.ColorTable[IndexAt(info, x, y)];
      rgb.insert(rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
  }
  return rgb;
}

class RleSampleFiles : public ::testing::TestWithParam<std::string> {};

TEST_P(RleSampleFiles, DecodeToThePixelsImageMagickReads) {
  const fs::path file = fs::path(QUILL_DIB_RLE_DIR) / (GetParam() + ".bmp");
  TKvDIB dib;
  dib.LoadFromFile(file);
  const TDIBInfo& loaded = Info(dib);
  const bool rle8 = loaded.Header.biBitCount == 8;
  ASSERT_EQ(loaded.Header.biCompression, rle8 ? kBiRle8 : kBiRle4);

  const TDIBInfo decoded = rle8 ? Convert8BitRLETo8BitRGB(loaded) : Convert4BitRLETo4BitRGB(loaded);
  const Bytes expected = ReadBytes(fs::path(QUILL_DIB_RLE_DIR) / (GetParam() + ".rgb"));
  ASSERT_EQ(expected.size(),
            3u * static_cast<unsigned>(loaded.Header.biWidth * loaded.AbsHeight()));
  EXPECT_EQ(ToRgb(decoded), expected);

  // Our own encoding of those pixels, where it fits, decodes to them again.
  try {
    const TDIBInfo again =
        rle8 ? Convert8BitRGBTo8BitRLE(decoded) : Convert4BitRGBTo4BitRLE(decoded);
    const TDIBInfo back = rle8 ? Convert8BitRLETo8BitRGB(again) : Convert4BitRLETo4BitRGB(again);
    EXPECT_EQ(ToRgb(back), expected);
  } catch (const EKvDIBCompressionFailed&) {
    // A one-pixel column needs 4 bytes a row; the plasma's 200 colours leave
    // few runs (ImageMagick's own stream is half as big again as the pixels).
    EXPECT_TRUE(GetParam() == "magick_column_1x9" || GetParam() == "magick_plasma_61x40")
        << GetParam() << " did not compress";
  }
}

// Every sample in the folder is listed, so a new file is not silently left out.
const std::set<std::string> kSamples = {"hand_rle4_9x6",       "hand_rle8_10x5",
                                        "magick_column_1x9",   "magick_long_runs_600x3",
                                        "magick_plasma_61x40", "magick_shapes_37x23"};

TEST(RleSampleFolder, HoldsTheListedSamples) {
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(QUILL_DIB_RLE_DIR)) {
    if (entry.path().extension() == ".bmp") found.insert(entry.path().stem().string());
  }
  EXPECT_EQ(found, kSamples);
}

INSTANTIATE_TEST_SUITE_P(Files, RleSampleFiles, ::testing::ValuesIn(kSamples));

}  // namespace
}  // namespace quill::dib::testing
