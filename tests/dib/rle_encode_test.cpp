// The RLE encoders: the exact streams of runs and literals at their limits,
// the room checks that make a compression fail, odd widths of 4-bit rows and
// the bottom-up output of top-down images.
#include <gtest/gtest.h>

#include "dib_test_util.h"
#include "rle_test_util.h"

namespace quill::dib::testing {
namespace {

Bytes Rle8(const Bytes& block, int width, int height) {
  return Block(Convert8BitRGBTo8BitRLE(RgbImage(width, height, 8, block)));
}

// One 8-bit row of interest followed by a uniform row, which gives the
// stream room without adding to its interesting part.
Bytes Rle8FirstRow(const Bytes& row) {
  const auto width = static_cast<int>(row.size());
  const auto stride = static_cast<std::size_t>(RowStride(width, 8));
  Bytes block(2 * stride, 0);
  std::copy(row.begin(), row.end(), block.begin());
  const Bytes stream = Rle8(block, width, 2);
  EXPECT_EQ(StreamProblem(stream, width, 2, 8), "");
  return stream;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes Repeat(std::size_t count, std::uint8_t value) { return Bytes(count, value); }

// 1, 2, 1, 2, ...: no two neighbours equal.
Bytes Alternating(std::size_t count) {
  Bytes out(count);
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(1 + (i & 1));
  return out;
}

TEST(Rle8Encode, OnePixelImageDoesNotFitAndStaysUnchanged) {
  const TDIBInfo source = RgbImage(1, 1, 8, {9, 0, 0, 0});
  EXPECT_EQ(MessageOf<EKvDIBCompressionFailed>([&] { Convert8BitRGBTo8BitRLE(source); }),
            "Convert8BitRGBTo8BitRLE: Compression Failed");
  EXPECT_EQ(Block(source), (Bytes{9, 0, 0, 0}));
  EXPECT_EQ(source.Header.biCompression, kBiRgb);
}

TEST(Rle8Encode, RoomChecksAllowAnExactFitAndNotOneByteMore) {
  // 8 bytes of room: two pairs, an end-of-line and the end-of-bitmap fit
  // exactly; a third pair would leave too little for the codes after it.
  EXPECT_EQ(Rle8({4, 4, 4, 5, 5, 5, 5, 5}, 8, 1), (Bytes{3, 4, 5, 5, 0, 0, 0, 1}));
  EXPECT_EQ(MessageOf<EKvDIBCompressionFailed>([] {
              Rle8({4, 4, 5, 5, 6, 6, 6, 6}, 8, 1);
            }),
            "Convert8BitRGBTo8BitRLE: Compression Failed");
}

TEST(Rle8Encode, LongUniformRowIsPairsOf255AndTheRest) {
  EXPECT_EQ(Rle8(Repeat(600, 7), 600, 1), (Bytes{255, 7, 255, 7, 90, 7, 0, 0, 0, 1}));
  // A run of exactly 255 and of 256: the one pixel left over is a pair.
  EXPECT_EQ(Rle8(Repeat(256, 7), 255, 1), (Bytes{255, 7, 0, 0, 0, 1}));
  EXPECT_EQ(Rle8(Repeat(256, 7), 256, 1), (Bytes{255, 7, 1, 7, 0, 0, 0, 1}));
}

TEST(Rle8Encode, LiteralsOfOneAndTwoBytesArePairs) {
  EXPECT_EQ(Rle8FirstRow(Concat({{1, 2}, Repeat(14, 5)})),
            Concat({{1, 1, 1, 2, 14, 5, 0, 0}, {16, 0, 0, 0, 0, 1}}));
  // A single between two runs.
  EXPECT_EQ(Rle8FirstRow(Concat({Repeat(7, 5), {3}, Repeat(8, 6)})),
            Concat({{7, 5, 1, 3, 8, 6, 0, 0}, {16, 0, 0, 0, 0, 1}}));
}

TEST(Rle8Encode, LongerLiteralsAreAbsoluteRunsPaddedToEvenLength) {
  // The literal ends where a run begins: its last pixel goes to the run.
  EXPECT_EQ(Rle8FirstRow(Concat({{1, 2, 3}, Repeat(13, 5)})),
            Concat({{0, 3, 1, 2, 3, 0, 13, 5, 0, 0}, {16, 0, 0, 0, 0, 1}}));
  EXPECT_EQ(Rle8FirstRow(Concat({{1, 2, 3, 4}, Repeat(12, 5)})),
            Concat({{0, 4, 1, 2, 3, 4, 12, 5, 0, 0}, {16, 0, 0, 0, 0, 1}}));
  // A literal that runs to the end of the row.
  EXPECT_EQ(Rle8FirstRow(Concat({Repeat(13, 5), {1, 2, 3}})),
            Concat({{13, 5, 0, 3, 1, 2, 3, 0, 0, 0}, {16, 0, 0, 0, 0, 1}}));
}

TEST(Rle8Encode, LiteralsStopAt255Bytes) {
  // 300 pixels without equal neighbours: a full literal, then the rest.
  const Bytes row = Alternating(300);
  EXPECT_EQ(Rle8FirstRow(row), Concat({{0, 255},
                                       Bytes(row.begin(), row.begin() + 255),
                                       {0},
                                       {0, 45},
                                       Bytes(row.begin() + 255, row.end()),
                                       {0, 0, 0},
                                       {255, 0, 45, 0, 0, 0, 0, 1}}));
  // The 256th pixel repeats the 255th: the full literal gives its last
  // byte to the run.
  Bytes repeat = Alternating(255);
  repeat.insert(repeat.end(), 45, repeat.back());
  EXPECT_EQ(Rle8FirstRow(repeat), Concat({{0, 254},
                                          Bytes(repeat.begin(), repeat.begin() + 254),
                                          {46, repeat.back(), 0, 0},
                                          {255, 0, 45, 0, 0, 0, 0, 1}}));
}

TEST(Rle8Encode, PixelLeftOverFromAFullRunStartsTheNextLiteral) {
  const Bytes row = Concat({Repeat(256, 5), {1, 2}, Repeat(42, 3)});
  EXPECT_EQ(Rle8FirstRow(row),
            Concat({{255, 5, 0, 3, 5, 1, 2, 0, 42, 3, 0, 0}, {255, 0, 45, 0, 0, 0, 0, 1}}));
}

TEST(Rle8Encode, TopDownImageBecomesBottomUp) {
  // Memory rows 1, 2, 3 from the top: the stream starts with the bottom row.
  const TDIBInfo source =
      RgbImage(16, -3, 8, Concat({Repeat(16, 1), Repeat(16, 2), Repeat(16, 3)}));
  const TDIBInfo out = Convert8BitRGBTo8BitRLE(source);
  EXPECT_EQ(Block(out), (Bytes{16, 3, 0, 0, 16, 2, 0, 0, 16, 1, 0, 0, 0, 1}));
  EXPECT_EQ(out.Header.biHeight, 3);
  EXPECT_EQ(out.Header.biCompression, kBiRle8);
  EXPECT_EQ(out.Header.biSizeImage, 14u);
  EXPECT_EQ(out.ImageSize, 14);
  EXPECT_EQ(out.Pixels.size(), 14u);
  EXPECT_EQ(out.ColorTable, source.ColorTable);
  EXPECT_EQ(out.Header.biClrUsed, 256u);
  // Decoded, the bottom memory row is the image's bottom row.
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(out)),
            Concat({Repeat(16, 3), Repeat(16, 2), Repeat(16, 1)}));
}

TEST(Rle8Encode, RejectsOtherFormatsAndShortBlocks) {
  const std::string message = "Convert8BitRGBTo8BitRLE: Invalid Bitcount & Compression Combination";
  EXPECT_EQ(
      MessageOf<EKvDIBBadDIBType>([] { Convert8BitRGBTo8BitRLE(RgbImage(8, 1, 4, Bytes(4))); }),
      message);
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] {
              Convert8BitRGBTo8BitRLE(RleImage(8, 1, 8, {8, 0, 0, 0, 0, 1}));
            }),
            message);
  EXPECT_EQ(
      MessageOf<EKvDIBInvalidDIB>([] { Convert8BitRGBTo8BitRLE(RgbImage(8, 2, 8, Bytes(8))); }),
      "Convert8BitRGBTo8BitRLE: Invalid Image Size");
}

TEST(Rle4Encode, OddWidthEndsTheRowWithAnOddCount) {
  // 21 pixels of 3: ten bytes 0x33 and a last 0x30 whose low half is pad.
  const int width = 21;
  Bytes block(12 * 2, 0);
  for (int row = 0; row < 2; ++row) {
    std::fill_n(block.begin() + row * 12, 10, 0x33);
    block[static_cast<std::size_t>(row * 12 + 10)] = 0x30;
  }
  const TDIBInfo out = Convert4BitRGBTo4BitRLE(RgbImage(width, 2, 4, block));
  EXPECT_EQ(Block(out), (Bytes{20, 0x33, 1, 0x30, 0, 0, 20, 0x33, 1, 0x30, 0, 0, 0, 1}));
  EXPECT_EQ(out.Header.biCompression, kBiRle4);
  EXPECT_EQ(out.Header.biBitCount, 4);
  EXPECT_EQ(Block(Convert4BitRLETo4BitRGB(out)), block);
}

TEST(Rle4Encode, OddWidthLiteralCountsPixelsAndPadsItsData) {
  // 31 pixels 1..15, 1..15, 1: sixteen bytes, no two neighbours equal.
  const int width = 31;
  Bytes block(16 * 2, 0x77);
  for (int i = 0; i < 16; ++i) {
    const int high = (2 * i) % 15 + 1, low = i < 15 ? (2 * i + 1) % 15 + 1 : 0;
    block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(high << 4 | low);
  }
  block[31] = 0x70;  // the second row's pad half
  const TDIBInfo out = Convert4BitRGBTo4BitRLE(RgbImage(width, 2, 4, block));
  EXPECT_EQ(Block(out), Concat({{0, 31},
                                Bytes(block.begin(), block.begin() + 16),
                                {0, 0},
                                {30, 0x77, 1, 0x70, 0, 0, 0, 1}}));
  EXPECT_EQ(Block(Convert4BitRLETo4BitRGB(out)), block);
}

TEST(Rle4Encode, RunsAndLiteralsStopAt127Bytes) {
  // 300 pixels of one value: 150 bytes, a run of 127 bytes then 23.
  Bytes block(152 * 2, 0);
  std::fill_n(block.begin(), 150, 0x11);
  std::fill_n(block.begin() + 152, 150, 0x11);
  const TDIBInfo runs = Convert4BitRGBTo4BitRLE(RgbImage(300, 2, 4, block));
  EXPECT_EQ(Block(runs), (Bytes{254, 0x11, 46, 0x11, 0, 0, 254, 0x11, 46, 0x11, 0, 0, 0, 1}));
  // A first row of bytes without equal neighbours: a literal of 127 bytes,
  // then one of 23.
  for (std::size_t i = 0; i < 150; ++i) block[i] = i & 1 ? 0x12 : 0x34;
  const Bytes stream = Block(Convert4BitRGBTo4BitRLE(RgbImage(300, 2, 4, block)));
  ASSERT_EQ(StreamProblem(stream, 300, 2, 4), "");
  EXPECT_EQ(Bytes(stream.begin(), stream.begin() + 2), (Bytes{0, 254}));
  EXPECT_EQ(Bytes(stream.begin() + 130, stream.begin() + 132), (Bytes{0, 46}));
  EXPECT_EQ(Block(Convert4BitRLETo4BitRGB(RleImage(300, 2, 4, stream))), block);
}

TEST(Rle4Encode, LiteralOfOneByteIsAPair) {
  // Bytes 0x12, 0x55 × 15: the lone first byte is a pair of two pixels.
  Bytes block(16 * 2, 0x55);
  block[0] = 0x12;
  EXPECT_EQ(Block(Convert4BitRGBTo4BitRLE(RgbImage(32, 2, 4, block))),
            (Bytes{2, 0x12, 30, 0x55, 0, 0, 32, 0x55, 0, 0, 0, 1}));
}

TEST(Rle4Encode, FailsWhenTheStreamWouldNotFit) {
  const TDIBInfo source = RgbImage(1, 1, 4, {0x90, 0, 0, 0});
  EXPECT_EQ(MessageOf<EKvDIBCompressionFailed>([&] { Convert4BitRGBTo4BitRLE(source); }),
            "Convert4BitRGBTo4BitRLE: Compression Failed");
  EXPECT_EQ(Block(source), (Bytes{0x90, 0, 0, 0}));
  EXPECT_EQ(
      MessageOf<EKvDIBBadDIBType>([] { Convert4BitRGBTo4BitRLE(RgbImage(8, 1, 8, Bytes(8))); }),
      "Convert4BitRGBTo4BitRLE: Invalid Bitcount & Compression Combination");
}

}  // namespace
}  // namespace quill::dib::testing
