#include "dib/kv_reduce.h"

#include <vector>

#include "dib/kv_divide_cells.h"

namespace quill::dib {

namespace {

constexpr std::size_t kHistogramCells = 65536;

// 5-6-5 cell of a blue, green, red pixel.
inline unsigned CellOf(const std::uint8_t* bgr) {
  return (static_cast<unsigned>(bgr[2] >> 3) << 11) | (static_cast<unsigned>(bgr[1] >> 2) << 5) |
         (bgr[0] >> 3);
}

// The bits a cell index drops, summed over its pixels. 64-bit sums: a
// block of 2 GB holds more pixels than 32 bits of sevens can count.
struct HistogramCell {
  std::uint64_t red = 0;
  std::uint64_t green = 0;
  std::uint64_t blue = 0;
  std::uint32_t count = 0;
};

void StoreByte(std::uint8_t* row, std::int64_t x, std::uint8_t index) { row[x] = index; }
void StoreNibble(std::uint8_t* row, std::int64_t x, std::uint8_t index) {
  // The block is zeroed, so OR-ing places either half.
  row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? index : index << 4);
}

void InstallPalette(const TReducedPalette& palette, TDIBInfo& dest) {
  dest.ColorTable = palette.Entries;
  dest.Header.biClrUsed = palette.Count;
}

TDIBInfo ReduceTrueColor(const TDIBInfo& source, int depth, int bits, const char* routine,
                         const ProgressStep& step) {
  RequireUncompressed(source, 24, routine, "Invalid Bitcount");
  TDIBInfo dest = NewConvertedImage(source, bits);
  const std::int64_t width = source.Header.biWidth;
  const std::int32_t rows = source.AbsHeight();
  const std::int64_t source_stride = source.Stride();

  std::vector<HistogramCell> histogram(kHistogramCells);
  const std::uint8_t* in = source.Bits();
  for (std::int32_t y = 0; y < rows; ++y, in += source_stride) {
    const std::uint8_t* p = in;
    for (std::int64_t x = 0; x < width; ++x, p += 3) {
      HistogramCell& h = histogram[CellOf(p)];
      h.red += p[2] & 7u;
      h.green += p[1] & 3u;
      h.blue += p[0] & 7u;
      ++h.count;
    }
  }

  // The occupied cells in ascending order, each at its pixels' mean colour.
  std::vector<TColorCell> cells;
  for (std::uint32_t i = 0; i < kHistogramCells; ++i) {
    const HistogramCell& h = histogram[i];
    if (h.count == 0) continue;
    const std::uint64_t n = h.count;
    cells.push_back(TColorCell{static_cast<std::int32_t>((i >> 11) * 8 + h.red / n),
                               static_cast<std::int32_t>(((i >> 5) & 63) * 4 + h.green / n),
                               static_cast<std::int32_t>((i & 31) * 8 + h.blue / n), h.count, i,
                               0});
  }
  histogram = {};

  TReducedPalette palette;
  DivideCells(cells, depth, palette, step);
  std::vector<std::uint8_t> map(kHistogramCells, 0);
  for (const TColorCell& c : cells) map[c.Key] = c.PaletteIndex;

  if (bits == 8) {
    MapPixels(source, dest, StoreByte,
              [&map](const std::uint8_t* row, std::int64_t x) { return map[CellOf(row + 3 * x)]; });
  } else {
    MapPixels(source, dest, StoreNibble,
              [&map](const std::uint8_t* row, std::int64_t x) { return map[CellOf(row + 3 * x)]; });
  }
  InstallPalette(palette, dest);
  return dest;
}

}  // namespace

TDIBInfo ConvertTrueColorTo8BitRGBLow(const TDIBInfo& source, const ProgressStep& step) {
  return ReduceTrueColor(source, 8, 8, "ConvertTrueColorTo8BitRGBLow", step);
}

TDIBInfo ConvertTrueColorTo4BitRGBLow(const TDIBInfo& source, const ProgressStep& step) {
  return ReduceTrueColor(source, 4, 4, "ConvertTrueColorTo4BitRGBLow", step);
}

TDIBInfo Convert8BitRGBTo4BitRGB(const TDIBInfo& source, const ProgressStep& step) {
  RequireUncompressed(source, 8, "Convert8BitRGBTo4BitRGB", "Invalid Bitcount or Compression");
  TDIBInfo dest = NewConvertedImage(source, 4);
  const std::int64_t width = source.Header.biWidth;
  const std::int32_t rows = source.AbsHeight();
  const std::int64_t source_stride = source.Stride();

  std::array<std::uint32_t, kMaxColors> count{};
  const std::uint8_t* in = source.Bits();
  for (std::int32_t y = 0; y < rows; ++y, in += source_stride) {
    for (std::int64_t x = 0; x < width; ++x) ++count[in[x]];
  }
  // Every slot counts, whatever biClrUsed says: pixels may use any of them.
  std::vector<TColorCell> cells;
  for (std::uint32_t i = 0; i < kMaxColors; ++i) {
    if (count[i] == 0) continue;
    const TRGBQuad& c = source.ColorTable[i];
    cells.push_back(TColorCell{c.rgbRed, c.rgbGreen, c.rgbBlue, count[i], i, 0});
  }

  TReducedPalette palette;
  DivideCells(cells, 4, palette, step);
  std::array<std::uint8_t, kMaxColors> map{};
  for (const TColorCell& c : cells) map[c.Key] = c.PaletteIndex;

  MapPixels(source, dest, StoreNibble,
            [&map](const std::uint8_t* row, std::int64_t x) { return map[row[x]]; });
  InstallPalette(palette, dest);
  return dest;
}

}  // namespace quill::dib
