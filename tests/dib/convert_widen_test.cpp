// Widening and reduction to 1 bit: pixel order within bytes, what the
// output description keeps, and the exact-match rule of 1-bit reductions.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "convert_test_util.h"
#include "dib/kv_convert_common.h"
#include "dib/kv_convert_one_bit.h"
#include "dib/kv_convert_widen.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

const Rgb kRed{200, 10, 20}, kTeal{0, 128, 128};

// A 1-bit image 10 wide (two bytes of pixels per row) and 2 high, top-down,
// with a resolution, so that the copied description is visible.
TDIBInfo OneBitSample() {
  TDIBInfo info = Blank(10, -2, 1, 2);
  info.Header.biXPelsPerMeter = 3780;
  info.Header.biSizeImage = 99;
  info.ColorTable[0] = Quad(kRed);
  info.ColorTable[1] = Quad(kTeal);
  Row(info, 0)[0] = 0b1010'0000;
  Row(info, 0)[1] = 0b0100'0000;  // pixel 9 set
  Row(info, 1)[0] = 0b0000'0001;  // pixel 7 set
  return info;
}

void ExpectDescriptionKept(const TDIBInfo& out, const TDIBInfo& in, int bits) {
  EXPECT_EQ(out.Header.biBitCount, bits);
  EXPECT_EQ(out.Header.biCompression, kBiRgb);
  EXPECT_EQ(out.Header.biSizeImage, 0u);
  EXPECT_EQ(out.Header.biWidth, in.Header.biWidth);
  EXPECT_EQ(out.Header.biHeight, in.Header.biHeight);
  EXPECT_EQ(out.Header.biXPelsPerMeter, in.Header.biXPelsPerMeter);
  EXPECT_EQ(out.Header.biClrUsed, in.Header.biClrUsed);
  EXPECT_EQ(out.ColorTable, in.ColorTable);
  EXPECT_EQ(out.ImageSize, RowStride(in.Header.biWidth, bits) * in.AbsHeight());
}

TEST(ConvertWidenTest, OneBitToFourAndEightKeepIndicesMostSignificantFirst) {
  const TDIBInfo in = OneBitSample();
  const std::vector<unsigned> expected = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1,
                                          0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
  const TDIBInfo four = Convert1BitRGBTo4BitRGB(in);
  ExpectDescriptionKept(four, in, 4);
  EXPECT_EQ(Indices(four), expected);
  EXPECT_EQ(Row(four, 0)[0], 0x10);  // first pixel in the high nibble
  EXPECT_EQ(Row(four, 0)[4], 0x01);
  const TDIBInfo eight = Convert1BitRGBTo8BitRGB(in);
  ExpectDescriptionKept(eight, in, 8);
  EXPECT_EQ(Indices(eight), expected);
  EXPECT_EQ(Indices(in), expected) << "source untouched";
}

TEST(ConvertWidenTest, FourBitToEightReadsHighNibbleFirst) {
  TDIBInfo in = Blank(3, 1, 4, 16);
  Row(in, 0)[0] = 0x5A;
  Row(in, 0)[1] = 0xF3;  // the low nibble is padding
  const TDIBInfo out = Convert4BitRGBTo8BitRGB(in);
  ExpectDescriptionKept(out, in, 8);
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{5, 10, 15}));
  EXPECT_EQ(Row(out, 0)[3], 0) << "padding stays zero";
}

TEST(ConvertWidenTest, ToTrueColorStoresTableEntriesBlueGreenRedAndKeepsTheTable) {
  const TDIBInfo in1 = OneBitSample();
  const TDIBInfo out1 = Convert1BitRGBToTrueColor(in1);
  ExpectDescriptionKept(out1, in1, 24);
  EXPECT_EQ(ColorAt24(out1, 0, 0), kTeal);
  EXPECT_EQ(ColorAt24(out1, 1, 0), kRed);
  EXPECT_EQ(ColorAt24(out1, 7, 1), kTeal);
  EXPECT_EQ(Row(out1, 0)[0], 128) << "blue first";

  TDIBInfo in4 = Blank(2, 1, 4, 16);
  in4.ColorTable[3] = Quad(kRed);
  in4.ColorTable[12] = Quad(kTeal);
  Row(in4, 0)[0] = 0xC3;
  const TDIBInfo out4 = Convert4BitRGBToTrueColor(in4);
  ExpectDescriptionKept(out4, in4, 24);
  EXPECT_EQ(ColorAt24(out4, 0, 0), kTeal);
  EXPECT_EQ(ColorAt24(out4, 1, 0), kRed);

  // A 24-bit image from an 8-bit one still carries its 256 entries.
  TDIBInfo in8 = Blank(2, 2, 8, 256);
  in8.ColorTable[255] = Quad(kRed);
  SetIndex(in8, 1, 1, 255);
  const TDIBInfo out8 = Convert8BitRGBToTrueColor(in8);
  ExpectDescriptionKept(out8, in8, 24);
  EXPECT_EQ(ColorAt24(out8, 1, 1), kRed);
  EXPECT_EQ(ColorAt24(out8, 0, 1), Rgb{});
}

TEST(ConvertWidenTest, WrongInputNamesTheRoutine) {
  struct Case {
    std::function<TDIBInfo(const TDIBInfo&)> convert;
    int wrong_bits;
    std::string message;
  };
  const Case cases[] = {
      {Convert1BitRGBTo4BitRGB, 4,
       "Convert1BitRGBTo4BitRGB: Invalid Bitcount & Compression Combination"},
      {Convert1BitRGBTo8BitRGB, 8,
       "Convert1BitRGBTo8BitRGB: Invalid Bitcount & Compression Combination"},
      {Convert4BitRGBTo8BitRGB, 1,
       "Convert4BitRGBTo8BitRGB: Invalid Bitcount & Compression Combination"},
      {Convert1BitRGBToTrueColor, 24,
       "Convert1BitRGBToTrueColor: Invalid Bitcount & Compression Combination"},
      {Convert4BitRGBToTrueColor, 8,
       "Convert4BitRGBToTrueColor: Invalid Bitcount & Compression Combination"},
      {Convert8BitRGBToTrueColor, 4,
       "Convert8BitRGBToTrueColor: Invalid Bitcount & Compression Combination"},
  };
  for (const Case& c : cases) {
    const TDIBInfo wrong = Blank(4, 4, c.wrong_bits);
    EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([&] { c.convert(wrong); }), c.message);
  }
  // The right bit count with compression is wrong as well.
  TDIBInfo rle = Blank(4, 4, 4);
  rle.Header.biCompression = kBiRle4;
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([&] { Convert4BitRGBTo8BitRGB(rle); }),
            "Convert4BitRGBTo8BitRGB: Invalid Bitcount & Compression Combination");
}

TEST(ConvertWidenTest, ShortPixelBlockIsRefusedInsteadOfRead) {
  TDIBInfo in = Blank(8, 1, 8);
  in.Header.biHeight = 8;  // rows the block does not hold
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { Convert8BitRGBToTrueColor(in); }),
            "Convert8BitRGBToTrueColor: Invalid Image Size");
}

TEST(ConvertWidenTest, ResultBeyondTheBlockLimitCannotBeMapped) {
  // Only the description matters: the limit is checked before any pixel.
  TDIBInfo in;
  in.Header.biWidth = 100000;
  in.Header.biHeight = 10000;
  in.Header.biBitCount = 1;
  EXPECT_EQ(MessageOf<EOutOfResources>([&] { NewConvertedImage(in, 24); }),
            "GetFileMap: Cannot Make File Mapping Object");
}

TEST(ConvertOneBitTest, TrueColorKeepsOnlyTheExactColorWhite) {
  // Width 9: the ninth pixel is the top bit of the second byte.
  const Rgb w{255, 255, 255};
  const TDIBInfo in = TrueColor(9, 1,
                                {w,
                                 {254, 255, 255},
                                 {255, 255, 254},
                                 {255, 254, 255},
                                 {},
                                 {255, 0, 0},
                                 w,
                                 {128, 128, 128},
                                 w});
  const TDIBInfo out = ConvertTrueColorTo1BitRGB(in, 0xFFFFFF);
  EXPECT_EQ(out.Header.biBitCount, 1);
  EXPECT_EQ(out.Header.biClrUsed, 2u);
  EXPECT_EQ(Table(out), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(out.ImageSize, 4);
  EXPECT_EQ(Row(out, 0)[0], 0b1000'0010);
  EXPECT_EQ(Row(out, 0)[1], 0b1000'0000);

  // The colour value is 0x00BBGGRR: 0x0000FF is pure red.
  const TDIBInfo red = ConvertTrueColorTo1BitRGB(in, 0x0000FF);
  EXPECT_EQ(Indices(red), (std::vector<unsigned>{0, 0, 0, 0, 0, 1, 0, 0, 0}));
  const TDIBInfo white_only = ConvertTrueColorTo1BitRGB(TrueColor(2, 1, {w, w}), 0xFFFFFF);
  EXPECT_EQ(Indices(white_only), (std::vector<unsigned>{1, 1}));
}

TEST(ConvertOneBitTest, PaletteImagesCompareTheirTableEntries) {
  TDIBInfo in8 = Blank(4, 1, 8, 4);
  in8.ColorTable[1] = Quad({255, 255, 255});
  in8.ColorTable[2] = Quad({254, 255, 255});
  in8.ColorTable[200] = Quad({255, 255, 255});  // beyond biClrUsed, still its entry
  for (int x = 0; x < 4; ++x) SetIndex(in8, x, 0, std::vector<unsigned>{2, 1, 0, 200}[x]);
  const TDIBInfo out8 = Convert8BitTo1BitRGB(in8, 0xFFFFFF);
  EXPECT_EQ(Indices(out8), (std::vector<unsigned>{0, 1, 0, 1}));
  EXPECT_EQ(out8.Header.biClrUsed, 2u);
  EXPECT_EQ(out8.ColorTable[2], TRGBQuad{}) << "no stale entries";

  TDIBInfo in4 = Blank(3, 2, 4, 16);
  in4.ColorTable[7] = Quad({0, 0, 255});
  Row(in4, 0)[0] = 0x70;
  Row(in4, 1)[1] = 0x70;
  const TDIBInfo out4 = Convert4BitRGBTo1BitRGB(in4, 0xFF0000);  // blue
  EXPECT_EQ(Indices(out4), (std::vector<unsigned>{1, 0, 0, 0, 0, 1}));
}

TEST(ConvertOneBitTest, WrongInputNamesTheRoutine) {
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] { ConvertTrueColorTo1BitRGB(Blank(2, 2, 8), 0); }),
            "ConvertTrueColorTo1BitRGB: Invalid Bitcount");
  TDIBInfo rle8 = Blank(2, 2, 8);
  rle8.Header.biCompression = kBiRle8;
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([&] { Convert8BitTo1BitRGB(rle8, 0); }),
            "Convert8BitTo1BitRGB: Invalid Bitcount or Compression");
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] { Convert4BitRGBTo1BitRGB(Blank(2, 2, 1), 0); }),
            "Convert4BitRGBTo1BitRGB: Invalid Bitcount");
}

}  // namespace
}  // namespace quill::dib::testing
