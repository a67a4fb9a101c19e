// The RLE decoders: placement of runs, absolute runs and deltas, every bound
// check with its message, and streams that end early.
#include <gtest/gtest.h>

#include "dib_test_util.h"
#include "rle_test_util.h"

namespace quill::dib::testing {
namespace {

std::string Rle8Error(int width, int height, const Bytes& stream) {
  return MessageOf<EKvDIBInvalidDIB>(
      [&] { Convert8BitRLETo8BitRGB(RleImage(width, height, 8, stream)); });
}

std::string Rle4Error(int width, int height, const Bytes& stream) {
  return MessageOf<EKvDIBInvalidDIB>(
      [&] { Convert4BitRLETo4BitRGB(RleImage(width, height, 4, stream)); });
}

TEST(Rle8Decode, PlacesRunsAbsoluteRunsAndDeltas) {
  // 6 × 3: row 0 a run and an odd absolute run (with its pad); row 1 skipped
  // by a delta to x = 2 of row 2, then a run.
  const TDIBInfo source = RleImage(6, 3, 8,
                                   {2, 9, 0, 3, 4, 5, 6, 0, 0, 0,  //
                                    0, 2, 2, 1, 3, 8, 0, 1});
  const TDIBInfo out = Convert8BitRLETo8BitRGB(source);
  EXPECT_EQ(Block(out), (Bytes{9, 9, 4, 5, 6, 0, 0, 0,  //
                               0, 0, 0, 0, 0, 0, 0, 0,  //
                               0, 0, 8, 8, 8, 0, 0, 0}));
  EXPECT_EQ(out.Header.biCompression, kBiRgb);
  EXPECT_EQ(out.Header.biSizeImage, 0u);
  EXPECT_EQ(out.Header.biHeight, 3);
  EXPECT_EQ(out.Header.biClrUsed, 256u);
  EXPECT_EQ(out.ImageSize, 24);
  EXPECT_EQ(out.ColorTable, source.ColorTable);
  EXPECT_EQ(source.Header.biCompression, kBiRle8);  // the source is left alone
}

TEST(Rle8Decode, RowsFollowMemoryOrderAndKeepTheHeightSign) {
  const TDIBInfo out = Convert8BitRLETo8BitRGB(RleImage(4, -2, 8, {4, 1, 0, 0, 4, 2, 0, 1}));
  EXPECT_EQ(Block(out), (Bytes{1, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_EQ(out.Header.biHeight, -2);
}

TEST(Rle8Decode, RejectsDataThatLeavesTheImage) {
  const std::string prefix = "Convert8BitRLETo8BitRGB: Bad RLE Data ";
  // Width 4, stride 4.
  EXPECT_EQ(Rle8Error(4, 1, {5, 1}), prefix + "4");
  EXPECT_EQ(Rle8Error(4, 1, {2, 1, 3, 1}), prefix + "4");
  EXPECT_EQ(Rle8Error(4, 1, {1, 1, 0, 4, 1, 2, 3, 4}), prefix + "3");
  EXPECT_EQ(Rle8Error(4, 2, {0, 2, 5, 0}), prefix + "2");
  EXPECT_EQ(Rle8Error(4, 2, {0, 2, 0, 3}), prefix + "2");
  // After the last row's end-of-line nothing may be written, and a second
  // end-of-line leaves the image.
  EXPECT_EQ(Rle8Error(4, 1, {4, 1, 0, 0, 1, 1}), prefix + "4");
  EXPECT_EQ(Rle8Error(4, 1, {4, 1, 0, 0, 0, 3, 1, 2, 3, 0}), prefix + "3");
  EXPECT_EQ(Rle8Error(4, 1, {4, 1, 0, 0, 0, 0}), prefix + "1");
  // A delta onto the row past the last is allowed; a write there is not.
  EXPECT_EQ(Rle8Error(4, 1, {0, 2, 1, 1, 1, 7}), prefix + "4");
}

// Writers that code each row's pad bytes as well (ImageMagick does) make
// valid files: the row ends at the stride, and pixels past the width are
// dropped so that the pad stays zero.
TEST(Rle8Decode, RowsMayRunIntoTheirPadButItStaysZero) {
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(RleImage(3, 1, 8, {4, 9, 0, 0, 0, 1}))),
            (Bytes{9, 9, 9, 0}));
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(RleImage(3, 1, 8, {0, 4, 1, 2, 3, 4, 0, 1}))),
            (Bytes{1, 2, 3, 0}));
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(RleImage(3, 2, 8, {0, 2, 4, 0, 0, 0, 2, 5}))),
            (Bytes{0, 0, 0, 0, 5, 5, 0, 0}));
  EXPECT_EQ(Rle8Error(3, 1, {5, 1}), "Convert8BitRLETo8BitRGB: Bad RLE Data 4");
}

TEST(Rle8Decode, AcceptsDataThatReachesTheEdges) {
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(RleImage(3, 1, 8, {3, 5, 0, 0, 0, 1}))),
            (Bytes{5, 5, 5, 0}));
  // A delta to x = width and to the row past the last, then the end.
  EXPECT_EQ(Block(Convert8BitRLETo8BitRGB(RleImage(3, 1, 8, {2, 5, 0, 2, 1, 1, 0, 1}))),
            (Bytes{5, 5, 0, 0}));
  // Runs of 255 and absolute runs of 255 fill a 510-wide row.
  Bytes stream{255, 4, 0, 255};
  for (int i = 0; i < 255; ++i) stream.push_back(static_cast<std::uint8_t>(i));
  stream.insert(stream.end(), {0, 0, 1});
  const Bytes out = Block(Convert8BitRLETo8BitRGB(RleImage(510, 1, 8, stream)));
  ASSERT_EQ(out.size(), 512u);
  EXPECT_EQ(out[254], 4);
  EXPECT_EQ(out[255], 0);
  EXPECT_EQ(out[509], 254);
}

TEST(Rle8Decode, RejectsOtherFormats) {
  const std::string message = "Convert8BitRLETo8BitRGB: Invalid Bitcount & Compression Combination";
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] {
              Convert8BitRLETo8BitRGB(RleImage(2, 1, 4, {0, 1}));
            }),
            message);
  TDIBInfo plain = RleImage(2, 1, 8, {0, 1});
  plain.Header.biCompression = kBiRgb;
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([&] { Convert8BitRLETo8BitRGB(plain); }), message);
}

TEST(Rle8Decode, RejectsSizesNoBlockCanHold) {
  TDIBInfo info = RleImage(1, 1, 8, {0, 1});
  info.Header.biHeight = INT32_MIN;
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { Convert8BitRLETo8BitRGB(info); }),
            "Convert8BitRLETo8BitRGB: Image Too Large");
  info.Header.biHeight = 1;
  info.Header.biWidth = 0;
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { Convert8BitRLETo8BitRGB(info); }),
            "Convert8BitRLETo8BitRGB: Invalid Width or Height");
}

// A stream that stops early keeps what it decoded; whatever lies in the
// mapping after ImageSize (0xFF here) is never read.
TEST(Rle8Decode, StopsAtTheEndOfTheStream) {
  auto decode = [](const Bytes& stream) {
    return Block(Convert8BitRLETo8BitRGB(RleImage(4, 2, 8, stream, 8)));
  };
  EXPECT_EQ(decode({}), Bytes(8, 0));
  EXPECT_EQ(decode({2, 3}), (Bytes{3, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(decode({2, 3, 0}), (Bytes{3, 3, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(decode({2, 3, 0, 2, 1}), (Bytes{3, 3, 0, 0, 0, 0, 0, 0}));
  // An absolute run cut off writes the pixels that are there.
  EXPECT_EQ(decode({0, 0, 0, 4, 6, 7}), (Bytes{0, 0, 0, 0, 6, 7, 0, 0}));
  // An odd absolute run whose pad byte is missing is complete.
  EXPECT_EQ(decode({0, 3, 6, 7, 8}), (Bytes{6, 7, 8, 0, 0, 0, 0, 0}));
}

TEST(Rle4Decode, DeltaToAnOddPixelLandsInTheLowNibble) {
  const Bytes out = Block(Convert4BitRLETo4BitRGB(RleImage(8, 1, 4, {0, 2, 5, 0, 1, 0xA0, 0, 1})));
  EXPECT_EQ(out, (Bytes{0x00, 0x00, 0x0A, 0x00}));
}

TEST(Rle4Decode, PlacesNibblesAtEvenAndOddPixels) {
  // Row 0: an odd run, then a run starting at an odd pixel (its first pixel
  // is the high nibble of the value), then an absolute run of 3.
  // Row 1: a delta to x = 1, an absolute run of 5 from there.
  const TDIBInfo out = Convert4BitRLETo4BitRGB(
      RleImage(9, 2, 4, {3, 0x12, 3, 0xAB, 0, 3, 0x34, 0x50, 0,    0,  //
                         0, 2,    1, 0,    0, 5, 0x12, 0x34, 0x50, 0, 0, 1}));
  EXPECT_EQ(Block(out), (Bytes{0x12, 0x1A, 0xBA, 0x34, 0x50, 0x00, 0x00, 0x00,  //
                               0x01, 0x23, 0x45, 0x00, 0x00, 0x00, 0x00, 0x00}));
  EXPECT_EQ(out.Header.biCompression, kBiRgb);
  EXPECT_EQ(out.Header.biBitCount, 4);
  EXPECT_EQ(out.Header.biClrUsed, 16u);
  EXPECT_EQ(out.ImageSize, 16);
}

TEST(Rle4Decode, RejectsDataThatLeavesTheImage) {
  const std::string prefix = "Convert4BitRLETo4BitRGB: Bad RLE Data ";
  // Width 8: a stride of 4 bytes holds exactly the row.
  EXPECT_EQ(Rle4Error(8, 1, {9, 0x11}), prefix + "8");
  EXPECT_EQ(Rle4Error(8, 1, {1, 0x11, 0, 8, 0x12, 0x34, 0x56, 0x78}), prefix + "7");
  EXPECT_EQ(Rle4Error(8, 1, {0, 2, 9, 0}), prefix + "6");
  EXPECT_EQ(Rle4Error(8, 1, {0, 2, 0, 2}), prefix + "6");
  EXPECT_EQ(Rle4Error(8, 1, {8, 0x11, 0, 0, 1, 0x11}), prefix + "8");
  EXPECT_EQ(Rle4Error(8, 1, {8, 0x11, 0, 0, 0, 3, 0x12, 0x30}), prefix + "7");
  EXPECT_EQ(Rle4Error(8, 1, {8, 0x11, 0, 0, 0, 0}), prefix + "5");
}

TEST(Rle4Decode, RowsMayRunIntoTheirPadButItStaysZero) {
  // Width 3: the pad half of byte 1 and bytes 2 and 3 are never pixels.
  EXPECT_EQ(Block(Convert4BitRLETo4BitRGB(RleImage(3, 1, 4, {8, 0x12, 0, 0, 0, 1}))),
            (Bytes{0x12, 0x10, 0, 0}));
  EXPECT_EQ(
      Block(Convert4BitRLETo4BitRGB(RleImage(3, 1, 4, {0, 2, 1, 0, 0, 5, 0x12, 0x34, 0x50, 0}))),
      (Bytes{0x01, 0x20, 0, 0}));
  EXPECT_EQ(Rle4Error(3, 1, {9, 0x11}), "Convert4BitRLETo4BitRGB: Bad RLE Data 8");
}

TEST(Rle4Decode, RejectsOtherFormats) {
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] {
              Convert4BitRLETo4BitRGB(RleImage(2, 1, 8, {0, 1}));
            }),
            "Convert4BitRLETo4BitRGB: Invalid Bitcount & Compression Combination");
}

TEST(Rle4Decode, StopsAtTheEndOfTheStream) {
  auto decode = [](const Bytes& stream) {
    return Block(Convert4BitRLETo4BitRGB(RleImage(8, 1, 4, stream, 8)));
  };
  EXPECT_EQ(decode({3, 0x12, 0}), (Bytes{0x12, 0x10, 0, 0}));
  // 7 nibbles announced, 4 bytes of data due, 2 present: 4 pixels written.
  EXPECT_EQ(decode({0, 7, 0x12, 0x34}), (Bytes{0x12, 0x34, 0, 0}));
  // From an odd pixel: 4 nibbles present of 5 announced.
  EXPECT_EQ(decode({0, 2, 1, 0, 0, 5, 0x12, 0x3}), (Bytes{0x01, 0x20, 0x30, 0}));
}

}  // namespace
}  // namespace quill::dib::testing
