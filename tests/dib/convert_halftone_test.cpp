// Error-diffusion halftones: the fixed palette, the serpentine walk, the
// truncating division and the black-and-white threshold, followed by hand.
#include <gtest/gtest.h>

#include "convert_test_util.h"
#include "dib/kv_halftone.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

TEST(ConvertHalfToneTest, PaletteIsTheLevelGridThenFiveExtraColours) {
  EXPECT_EQ(FromQuad(HalfTonePalette[0]), (Rgb{0, 0, 0}));
  EXPECT_EQ(FromQuad(HalfTonePalette[209]), (Rgb{255, 255, 255}));
  EXPECT_EQ(FromQuad(HalfTonePalette[35 * 1 + 5 * 2 + 3]), (Rgb{0x33, 0x55, 0xC0}));
  EXPECT_EQ(FromQuad(HalfTonePalette[35 * 4 + 5 * 6 + 1]), (Rgb{0xCC, 0xFF, 0x40}));
  EXPECT_EQ(FromQuad(HalfTonePalette[210]), (Rgb{0x80, 0, 0}));
  EXPECT_EQ(FromQuad(HalfTonePalette[211]), (Rgb{0x80, 0x80, 0}));
  EXPECT_EQ(FromQuad(HalfTonePalette[212]), (Rgb{0x80, 0, 0x80}));
  EXPECT_EQ(FromQuad(HalfTonePalette[213]), (Rgb{0xC0, 0xC0, 0xC0}));
  EXPECT_EQ(FromQuad(HalfTonePalette[214]), (Rgb{0x80, 0x80, 0x80}));
}

TEST(ConvertHalfToneTest, BlackAndWhiteCarryNoError) {
  const Rgb k{0, 0, 0}, w{255, 255, 255};
  const TDIBInfo black = ConvertToHalfTone(TrueColor(3, 2, {k, k, k, k, k, k}));
  EXPECT_EQ(Indices(black), std::vector<unsigned>(6, 0));
  const TDIBInfo white = ConvertToHalfTone(TrueColor(3, 2, {w, w, w, w, w, w}));
  EXPECT_EQ(Indices(white), std::vector<unsigned>(6, 209));
  EXPECT_EQ(white.Header.biBitCount, 8);
  EXPECT_EQ(white.Header.biClrUsed, 215u);
  EXPECT_EQ(white.ImageSize, 8);
  EXPECT_EQ(Table(white)[214], (Rgb{0x80, 0x80, 0x80}));
  EXPECT_EQ(white.ColorTable[215], TRGBQuad{}) << "nothing beyond the palette";
}

// Grey 100 everywhere, 2 × 2. Row 0 left to right: (100,100,100) -> levels
// (102, 85, 128) = index 82, errors (2, -15, 28); the next pixel sees
// 12·error div 32 = (0, -5, 10): desired (100, 105, 90) -> index 81,
// errors (2, -20, -26). Row 1 runs right to left: pixel 1 first sees
// 12·(2,-20,-26) div 32 = (0,-7,-9): (100, 107, 109) -> index 87, errors
// (2, 21, 19); pixel 0 sees 12·(2,-15,28) + 12·(2,21,19) + 5·(2,-20,-26)
// = (58, -28, 434), div 32 = (1, 0, 13): (99, 100, 87) -> index 81.
TEST(ConvertHalfToneTest, SerpentineDiffusionHandComputed) {
  const Rgb g{100, 100, 100};
  const TDIBInfo out = ConvertToHalfTone(TrueColor(2, 2, {g, g, g, g}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{82, 81, 81, 87}));
  // The same memory rows in a top-down image give the same bytes: the walk
  // follows memory order, whatever the picture's orientation.
  const TDIBInfo top_down = ConvertToHalfTone(TrueColor(2, -2, {g, g, g, g}));
  EXPECT_EQ(top_down.Header.biHeight, -2);
  EXPECT_EQ(Indices(top_down), (std::vector<unsigned>{82, 81, 81, 87}));
}

// Grey 100 beside (200, 50, 10), twice. Row 0 as above up to pixel 1,
// which wants (200, 55, 0): index 145, errors (4, -12, 0). Row 1 starts at
// pixel 1: 12·(4,-12,0) div 32 = (1,-4,0), wants (199, 54, 10): index
// 145, errors (5, -11, -10). Pixel 0: 12·(2,-15,28) + 12·(5,-11,-10) +
// 5·(4,-12,0) = (104, -372, 216), div 32 = (3, -11, 6): (97, 111, 94),
// index 86. Walking row 1 left to right would give 81 and 150.
TEST(ConvertHalfToneTest, OddRowsRunRightToLeft) {
  const Rgb a{100, 100, 100}, b{200, 50, 10};
  const TDIBInfo out = ConvertToHalfTone(TrueColor(2, 2, {a, b, a, b}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{82, 145, 86, 145}));
}

TEST(ConvertHalfToneTest, DivisionTruncatesTowardZero) {
  // Green error -15 of the first pixel: -180 div 32 = -5, so green 101
  // wants 106, still level 2 (index 81); flooring (-6) would give 107,
  // level 3 (index 86).
  const TDIBInfo out = ConvertToHalfTone(TrueColor(2, 1, {{100, 100, 100}, {100, 101, 100}}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{82, 81}));
}

TEST(ConvertHalfToneTest, PaletteSourcesUseTheirEntriesInBitOrder) {
  TDIBInfo four = Blank(3, 1, 4, 16);
  four.ColorTable[9] = Quad({255, 255, 255});
  Row(four, 0)[0] = 0x90;  // white, black
  Row(four, 0)[1] = 0x90;  // white
  EXPECT_EQ(Indices(ConvertToHalfTone(four)), (std::vector<unsigned>{209, 0, 209}));

  TDIBInfo one = Blank(9, 1, 1, 2);
  one.ColorTable[1] = Quad({255, 255, 255});
  Row(one, 0)[0] = 0x81;
  Row(one, 0)[1] = 0x80;
  EXPECT_EQ(Indices(ConvertToHalfTone(one)),
            (std::vector<unsigned>{209, 0, 0, 0, 0, 0, 0, 209, 209}));

  TDIBInfo eight = Blank(2, 1, 8, 256);
  eight.ColorTable[77] = Quad({0xCC, 0xFF, 0x40});  // exactly a palette colour
  SetIndex(eight, 1, 0, 77);
  EXPECT_EQ(Indices(ConvertToHalfTone(eight)), (std::vector<unsigned>{0, 171}));
}

// Grey 128, 3 × 2. Row 0: 384 is white (error 127), then 128 - 47 = 81
// black (error -81), then 128 + 30 = 158 white (error 97). Row 1 from the
// right: 128 - 36 = 92 black (-92); 128 - (-1591 div 32 = -49) = 177 white
// (78); 128 - (2055 div 32 = 64) = 64 black.
TEST(ConvertHalfToneBWTest, SerpentineDiffusionHandComputed) {
  const Rgb g{128, 128, 128};
  const TDIBInfo out = ConvertToHalfToneBW(TrueColor(3, 2, {g, g, g, g, g, g}));
  EXPECT_EQ(out.Header.biBitCount, 1);
  EXPECT_EQ(Table(out), (std::vector<Rgb>{{0, 0, 0}, {255, 255, 255}}));
  EXPECT_EQ(out.ImageSize, 8);
  EXPECT_EQ(Row(out, 0)[0], 0b1010'0000);
  EXPECT_EQ(Row(out, 1)[0], 0b0100'0000);
}

TEST(ConvertHalfToneBWTest, WhiteFromASumOf384) {
  EXPECT_EQ(Indices(ConvertToHalfToneBW(TrueColor(1, 1, {{128, 128, 128}}))),
            (std::vector<unsigned>{1}));
  EXPECT_EQ(Indices(ConvertToHalfToneBW(TrueColor(1, 1, {{128, 128, 127}}))),
            (std::vector<unsigned>{0}));
  TDIBInfo one = Blank(2, 1, 1, 2);
  one.ColorTable[0] = Quad({255, 255, 255});
  one.ColorTable[1] = Quad({0, 0, 0});
  Row(one, 0)[0] = 0x40;
  EXPECT_EQ(Indices(ConvertToHalfToneBW(one)), (std::vector<unsigned>{1, 0}));
}

TEST(ConvertHalfToneTest, RefusesCompressedAndOtherBitCounts) {
  TDIBInfo rle = Blank(2, 2, 8);
  rle.Header.biCompression = kBiRle8;
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertToHalfTone(rle); }),
            "ConvertToHalfTone: Invalid DIB Format");
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertToHalfToneBW(rle); }),
            "ConvertToHalfToneBW: Invalid DIB Format");
  TDIBInfo sixteen = Blank(2, 2, 16);
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertToHalfTone(sixteen); }),
            "ConvertToHalfTone: Invalid Bit Count");
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertToHalfToneBW(sixteen); }),
            "ConvertToHalfToneBW: Invalid Bit Count");
}

}  // namespace
}  // namespace quill::dib::testing
