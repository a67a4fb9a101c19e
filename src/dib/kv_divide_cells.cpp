#include "dib/kv_divide_cells.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "dib/kv_errors.h"

namespace quill::dib {

// The split decisions compare means computed with a 64-bit mantissa; a
// narrower long double would move colours across splits.
static_assert(std::numeric_limits<long double>::digits == 64,
              "colour reduction needs the 80-bit extended long double");

TSplitChannel ChooseSplitChannel(long double var_red, long double var_green, long double var_blue) {
  if (4 * var_green <= 3 * var_red && 2 * var_blue <= 3 * var_red) return TSplitChannel::kRed;
  if (3 * var_red > 4 * var_green || 2 * var_blue > 3 * var_green) return TSplitChannel::kBlue;
  return TSplitChannel::kGreen;
}

long double RoundHalfToEven(long double value) {
  long double result = std::floor(value);
  const long double fraction = value - result;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(result, 2.0L) != 0)) result += 1;
  return result;
}

namespace {

std::int32_t Channel(const TColorCell& cell, TSplitChannel channel) {
  switch (channel) {
    case TSplitChannel::kRed:
      return cell.Red;
    case TSplitChannel::kGreen:
      return cell.Green;
    default:
      return cell.Blue;
  }
}

std::uint8_t ToLevel(long double mean) {
  return static_cast<std::uint8_t>(std::clamp(RoundHalfToEven(mean), 0.0L, 255.0L));
}

class Divider {
 public:
  Divider(int target_depth, TReducedPalette& palette, const ProgressStep& step)
      : target_depth_(target_depth), palette_(palette), step_(step) {}

  void Divide(TColorCell* first, TColorCell* last, int depth) {
    if (first == last) {
      // An empty branch still counts its leaves, so the steps always total
      // 2^target_depth.
      for (std::uint32_t n = 1u << (target_depth_ - depth); n > 0; --n) Step();
      return;
    }
    // Integer sums are exact (at most 2^31 pixels × 255²) and so is their
    // conversion to the 64-bit mantissa.
    std::uint64_t weight = 0;
    std::uint64_t sum[3] = {}, square[3] = {};
    for (const TColorCell* c = first; c != last; ++c) {
      const std::uint64_t w = c->Weight;
      const std::uint64_t v[3] = {static_cast<std::uint64_t>(c->Red),
                                  static_cast<std::uint64_t>(c->Green),
                                  static_cast<std::uint64_t>(c->Blue)};
      weight += w;
      for (int k = 0; k < 3; ++k) {
        sum[k] += w * v[k];
        square[k] += w * v[k] * v[k];
      }
    }
    // Cells of weight 0 are never passed; a zero total would divide by 0.
    const long double total = static_cast<long double>(std::max<std::uint64_t>(weight, 1));
    long double mean[3], variance[3];
    for (int k = 0; k < 3; ++k) {
      mean[k] = static_cast<long double>(sum[k]) / total;
      variance[k] = static_cast<long double>(square[k]) / total - mean[k] * mean[k];
    }
    if (depth == target_depth_) {
      const std::uint32_t index = palette_.Count++;
      palette_.Entries[index] = TRGBQuad{ToLevel(mean[2]), ToLevel(mean[1]), ToLevel(mean[0]), 0};
      for (TColorCell* c = first; c != last; ++c)
        c->PaletteIndex = static_cast<std::uint8_t>(index);
      Step();
      return;
    }
    const TSplitChannel channel = ChooseSplitChannel(variance[0], variance[1], variance[2]);
    const long double m = mean[static_cast<int>(channel)];
    TColorCell* i = first;
    TColorCell* j = last;
    while (i < j) {
      while (i < j && Channel(*i, channel) <= m) ++i;
      while (i < j && Channel(*(j - 1), channel) > m) --j;
      if (i < j) std::swap(*i, *(j - 1));
    }
    // The upper half first: it takes the lower palette indices.
    Divide(i, last, depth + 1);
    Divide(first, i, depth + 1);
  }

 private:
  void Step() {
    if (step_) step_();
  }

  int target_depth_;
  TReducedPalette& palette_;
  const ProgressStep& step_;
};

}  // namespace

void DivideCells(std::span<TColorCell> cells, int target_depth, TReducedPalette& palette,
                 const ProgressStep& step) {
  // More than 8 levels would make more entries than a table holds.
  if (target_depth < 1 || target_depth > 8 || palette.Count != 0) {
    throw EKvDIBAssert("DivideCells: Invalid Depth");
  }
  Divider(target_depth, palette, step).Divide(cells.data(), cells.data() + cells.size(), 0);
}

}  // namespace quill::dib
