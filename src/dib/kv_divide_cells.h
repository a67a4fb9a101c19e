#pragma once
// Palette reduction by weighted variance split: the colour cells are split
// in two around the mean of their most spread channel, again and again down
// to a fixed depth, and each leaf becomes one palette entry.
#include <array>
#include <cstdint>
#include <span>

#include "dib/kv_convert_common.h"
#include "dib/kv_dib_info.h"

namespace quill::dib {

// One colour with its pixel count. `Key` is the caller's own reference
// (histogram cell or table slot) and travels with the cell when cells are
// reordered; DivideCells writes `PaletteIndex`.
struct TColorCell {
  std::int32_t Red = 0;
  std::int32_t Green = 0;
  std::int32_t Blue = 0;
  std::uint32_t Weight = 0;
  std::uint32_t Key = 0;
  std::uint8_t PaletteIndex = 0;
};

// The palette being built: Count entries of Entries are made.
struct TReducedPalette {
  std::array<TRGBQuad, kMaxColors> Entries{};
  std::uint32_t Count = 0;
};

// In the order of the means: red, green, blue.
enum class TSplitChannel { kRed = 0, kGreen = 1, kBlue = 2 };

// The channel to split, from the three weighted variances: red counts 3,
// green 4, blue 2 — with blue judged against green at weight 3, as the
// reduction has always done.
TSplitChannel ChooseSplitChannel(long double var_red, long double var_green, long double var_blue);

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long double RoundHalfToEven(long double value);

// Splits `cells` down to `target_depth` (1..8) and appends one entry per
// non-empty leaf to `palette`. Cells above a split's mean take the lower
// indices. Calls `step` once per leaf, empty or not: exactly
// 2^target_depth times. Means and variances are taken in 80-bit extended
// precision, so the result is the same on every build.
void DivideCells(std::span<TColorCell> cells, int target_depth, TReducedPalette& palette,
                 const ProgressStep& step);

}  // namespace quill::dib
