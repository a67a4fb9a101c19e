// Palette reduction: the split rule, the partition, the order of palette
// indices and the rounding of entries, then the two image reductions built
// on it, each on images small enough to follow by hand.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "convert_test_util.h"
#include "dib/kv_divide_cells.h"
#include "dib/kv_reduce.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

TColorCell Cell(Rgb c, std::uint32_t weight, std::uint32_t key) {
  return TColorCell{c.r, c.g, c.b, weight, key, 0};
}

// Palette index of each key after DivideCells.
std::map<std::uint32_t, int> IndexByKey(const std::vector<TColorCell>& cells) {
  std::map<std::uint32_t, int> out;
  for (const TColorCell& c : cells) out[c.Key] = c.PaletteIndex;
  return out;
}

std::vector<Rgb> Entries(const TReducedPalette& p) {
  std::vector<Rgb> out;
  for (std::uint32_t i = 0; i < p.Count; ++i) out.push_back(FromQuad(p.Entries[i]));
  return out;
}

TEST(ConvertDivideCellsTest, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfToEven(0.5L), 0.0L);
  EXPECT_EQ(RoundHalfToEven(1.5L), 2.0L);
  EXPECT_EQ(RoundHalfToEven(2.5L), 2.0L);
  EXPECT_EQ(RoundHalfToEven(3.5L), 4.0L);
  EXPECT_EQ(RoundHalfToEven(254.5L), 254.0L);
  EXPECT_EQ(RoundHalfToEven(2.5L - 1e-15L), 2.0L);
  EXPECT_EQ(RoundHalfToEven(2.5L + 1e-15L), 3.0L);
  EXPECT_EQ(RoundHalfToEven(7.0L), 7.0L);
}

TEST(ConvertDivideCellsTest, SplitChannelWeighsRedThreeGreenFourBlueTwo) {
  using enum TSplitChannel;
  EXPECT_EQ(ChooseSplitChannel(4, 3, 6), kRed) << "ties stay with red";
  EXPECT_EQ(ChooseSplitChannel(4, 3.01L, 0), kGreen) << "4·3.01 beats 3·4";
  EXPECT_EQ(ChooseSplitChannel(10, 0, 14), kRed) << "2·14 is below 3·10 though 14 > 10";
  EXPECT_EQ(ChooseSplitChannel(4, 0, 6.5L), kBlue) << "2·6.5 beats 3·4";
  EXPECT_EQ(ChooseSplitChannel(4, 2.5L, 6.2L), kBlue);
  // Blue is judged against 3·green, not 4·green: 2·6.1 > 3·4 but < 4·4.
  EXPECT_EQ(ChooseSplitChannel(0, 4, 6.1L), kBlue);
  EXPECT_EQ(ChooseSplitChannel(0, 4, 5.9L), kGreen);
}

TEST(ConvertDivideCellsTest, WeightedGreenSplitDecidesTheOrder) {
  // Red variance 100 is larger than green's 81, but 4·81 > 3·100: the split
  // is on green, and the cell above the green mean takes index 0.
  std::vector<TColorCell> cells = {Cell({20, 0, 0}, 1, 1), Cell({0, 18, 0}, 1, 2)};
  TReducedPalette palette;
  DivideCells(cells, 1, palette, {});
  EXPECT_EQ(Entries(palette), (std::vector<Rgb>{{0, 18, 0}, {20, 0, 0}}));
  EXPECT_EQ(IndexByKey(cells), (std::map<std::uint32_t, int>{{1, 1}, {2, 0}}));
}

TEST(ConvertDivideCellsTest, BlueAgainstThreeTimesGreenDecidesTheOrder) {
  // Green variance 100, blue 156.25: 2·156.25 > 3·100 splits on blue.
  std::vector<TColorCell> cells = {Cell({0, 20, 0}, 1, 1), Cell({0, 0, 25}, 1, 2)};
  TReducedPalette palette;
  DivideCells(cells, 1, palette, {});
  EXPECT_EQ(Entries(palette), (std::vector<Rgb>{{0, 0, 25}, {0, 20, 0}}));
}

TEST(ConvertDivideCellsTest, CellAtTheMeanJoinsTheLowerHalf) {
  // Red mean 10: the cell of red 10 goes below with 0, so the lower leaf
  // averages 0 and 10 and the upper holds 20 alone.
  std::vector<TColorCell> cells = {Cell({10, 0, 0}, 1, 1), Cell({20, 0, 0}, 1, 2),
                                   Cell({0, 0, 0}, 1, 3)};
  TReducedPalette palette;
  DivideCells(cells, 1, palette, {});
  EXPECT_EQ(Entries(palette), (std::vector<Rgb>{{20, 0, 0}, {5, 0, 0}}));
  EXPECT_EQ(IndexByKey(cells), (std::map<std::uint32_t, int>{{1, 1}, {2, 0}, {3, 1}}));
}

TEST(ConvertDivideCellsTest, LeafEntriesAreWeightedMeansRoundedHalfToEven) {
  // Upper leaf: red 200. Lower leaf: weights 1 and 1 give red 12.5 -> 12,
  // green 3.5 -> 4, blue 0.5 -> 0; weight 3 against 1 would move them.
  std::vector<TColorCell> cells = {Cell({12, 3, 0}, 1, 1), Cell({13, 4, 1}, 1, 2),
                                   Cell({200, 0, 0}, 1, 3)};
  TReducedPalette palette;
  DivideCells(cells, 1, palette, {});
  EXPECT_EQ(Entries(palette), (std::vector<Rgb>{{200, 0, 0}, {12, 4, 0}}));

  std::vector<TColorCell> weighted = {Cell({12, 0, 0}, 3, 1), Cell({16, 0, 0}, 1, 2),
                                      Cell({200, 0, 0}, 1, 3)};
  TReducedPalette weighted_palette;
  DivideCells(weighted, 1, weighted_palette, {});
  EXPECT_EQ(Entries(weighted_palette), (std::vector<Rgb>{{200, 0, 0}, {13, 0, 0}}));
}

TEST(ConvertDivideCellsTest, EveryLeafIsOneStepAndEmptyLeavesMakeNoEntry) {
  for (const int depth : {4, 8}) {
    std::vector<TColorCell> one = {Cell({1, 2, 3}, 5, 9)};
    TReducedPalette palette;
    int steps = 0;
    DivideCells(one, depth, palette, [&] { ++steps; });
    EXPECT_EQ(steps, 1 << depth);
    EXPECT_EQ(palette.Count, 1u);
    EXPECT_EQ(one[0].PaletteIndex, 0);

    std::vector<TColorCell> none;
    TReducedPalette empty;
    steps = 0;
    DivideCells(none, depth, empty, [&] { ++steps; });
    EXPECT_EQ(steps, 1 << depth);
    EXPECT_EQ(empty.Count, 0u);
  }
}

TEST(ConvertDivideCellsTest, MoreColoursThanLeavesStillFillTheTable) {
  std::vector<TColorCell> cells;
  for (std::uint32_t i = 0; i < 64; ++i) {
    cells.push_back(Cell(
        {static_cast<int>(i * 4), static_cast<int>(255 - i), static_cast<int>(i % 7)}, i + 1, i));
  }
  TReducedPalette palette;
  DivideCells(cells, 4, palette, {});
  EXPECT_EQ(palette.Count, 16u);
  for (const TColorCell& c : cells) EXPECT_LT(c.PaletteIndex, 16);
}

// One pixel each of red, green and blue. The first split is on green (equal
// variances: 4·v > 3·v), green above; then red above blue.
TEST(ConvertReduceTest, TrueColorToEightBitsHandComputed) {
  TDIBInfo in = TrueColor(3, -1, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}});
  in.Header.biYPelsPerMeter = 2835;
  const TDIBInfo out = ConvertTrueColorTo8BitRGBLow(in);
  EXPECT_EQ(out.Header.biBitCount, 8);
  EXPECT_EQ(out.Header.biHeight, -1);
  EXPECT_EQ(out.Header.biYPelsPerMeter, 2835);
  EXPECT_EQ(out.ImageSize, 4);
  EXPECT_EQ(Table(out), (std::vector<Rgb>{{0, 255, 0}, {255, 0, 0}, {0, 0, 255}}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{1, 0, 2}));
}

TEST(ConvertReduceTest, CellColourIsItsBaseAndTheTruncatedMeanOfDroppedBits) {
  // Both pixels share cell (1, 1, 0): red 8 + (0 + 5) div 2 = 10, green
  // 4 + (0 + 3) div 2 = 5, blue 0 + 7 div 2 = 3.
  const TDIBInfo out = ConvertTrueColorTo8BitRGBLow(TrueColor(2, 1, {{8, 4, 0}, {13, 7, 7}}));
  EXPECT_EQ(Table(out), (std::vector<Rgb>{{10, 5, 3}}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{0, 0}));
}

TEST(ConvertReduceTest, SingleColourGivesOneEntryAndAllPixelsZero) {
  const Rgb c{100, 150, 200};
  const TDIBInfo out = ConvertTrueColorTo8BitRGBLow(TrueColor(3, 2, {c, c, c, c, c, c}));
  EXPECT_EQ(out.Header.biClrUsed, 1u);
  EXPECT_EQ(Table(out), (std::vector<Rgb>{c}));
  EXPECT_EQ(BlockOf(out), Bytes(8, 0));
}

TEST(ConvertReduceTest, FewerCellsThanTargetGiveFewerEntries) {
  // 32 reds, each alone in its cell; some of them twice.
  TDIBInfo in = Blank(40, 1, 24);
  for (int x = 0; x < 40; ++x) SetColor24(in, x, 0, {x % 32 * 8, 0, 0});
  const TDIBInfo eight = ConvertTrueColorTo8BitRGBLow(in);
  EXPECT_EQ(eight.Header.biClrUsed, 32u);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(ShownAt(eight, x, 0), (Rgb{x % 32 * 8, 0, 0})) << x;

  const TDIBInfo four =
      ConvertTrueColorTo4BitRGBLow(TrueColor(3, 1, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}}));
  EXPECT_EQ(four.Header.biClrUsed, 3u);
  EXPECT_EQ(Table(four), (std::vector<Rgb>{{0, 255, 0}, {255, 0, 0}, {0, 0, 255}}));
  EXPECT_EQ(Row(four, 0)[0], 0x10) << "first pixel in the high nibble";
  EXPECT_EQ(Row(four, 0)[1], 0x20);
}

TEST(ConvertReduceTest, TrueColorToFourBitsKeepsSixteenEntriesAtMost) {
  TDIBInfo in = Blank(64, 2, 24);
  for (int x = 0; x < 64; ++x) {
    SetColor24(in, x, 0, {x * 4, 255 - x * 4, x * 2});
    SetColor24(in, x, 1, {255, x * 3, 0});
  }
  int steps = 0;
  const TDIBInfo out = ConvertTrueColorTo4BitRGBLow(in, [&] { ++steps; });
  EXPECT_EQ(steps, 16);
  EXPECT_EQ(out.Header.biClrUsed, 16u);
  EXPECT_EQ(out.ImageSize, 32 * 2);
  // The darkest and the brightest red stay apart.
  EXPECT_NE(IndexAt(out, 0, 0), IndexAt(out, 63, 0));
}

TEST(ConvertReduceTest, EightToFourUsesEverySlotThePixelsUse) {
  // Slot 200 lies beyond biClrUsed 2 and is used all the same; unused slots
  // map to 0. Equal variances split on green: white above black.
  TDIBInfo in = Blank(3, 1, 8, 2);
  in.ColorTable[5] = Quad({0, 0, 0});
  in.ColorTable[200] = Quad({255, 255, 255});
  in.ColorTable[7] = Quad({1, 2, 3});  // unused
  SetIndex(in, 0, 0, 5);
  SetIndex(in, 1, 0, 200);
  SetIndex(in, 2, 0, 5);
  int steps = 0;
  const TDIBInfo out = Convert8BitRGBTo4BitRGB(in, [&] { ++steps; });
  EXPECT_EQ(steps, 16);
  EXPECT_EQ(out.Header.biBitCount, 4);
  EXPECT_EQ(Table(out), (std::vector<Rgb>{{255, 255, 255}, {0, 0, 0}}));
  EXPECT_EQ(Indices(out), (std::vector<unsigned>{1, 0, 1}));
  EXPECT_EQ(Row(out, 0)[0], 0x10);
  EXPECT_EQ(Row(out, 0)[1], 0x10);
}

TEST(ConvertReduceTest, WrongInputNamesTheRoutine) {
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] { ConvertTrueColorTo8BitRGBLow(Blank(2, 2, 8)); }),
            "ConvertTrueColorTo8BitRGBLow: Invalid Bitcount");
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([] { ConvertTrueColorTo4BitRGBLow(Blank(2, 2, 4)); }),
            "ConvertTrueColorTo4BitRGBLow: Invalid Bitcount");
  TDIBInfo rle8 = Blank(2, 2, 8);
  rle8.Header.biCompression = kBiRle8;
  EXPECT_EQ(MessageOf<EKvDIBBadDIBType>([&] { Convert8BitRGBTo4BitRGB(rle8); }),
            "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
}

}  // namespace
}  // namespace quill::dib::testing
