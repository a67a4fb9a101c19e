#pragma once
// What every conversion routine shares: the input check, the output
// description made from the input, reading packed pixels, and the
// black-and-white table of 1-bit results.
#include <cstdint>
#include <functional>

#include "dib/kv_dib_info.h"

namespace quill::dib {

// Called once per palette leaf by the reductions; may be empty.
using ProgressStep = std::function<void()>;

// Raises EKvDIBBadDIBType "<routine>: <problem>" unless the input is
// uncompressed with `bit_count` bits. A block shorter than its rows (which
// no loader makes) raises EKvDIBInvalidDIB "<routine>: Invalid Image Size",
// so no routine reads past it.
void RequireUncompressed(const TDIBInfo& source, int bit_count, const char* routine,
                         const char* problem);

// The same block check alone, for routines that take several bit counts.
void RequirePixelBlock(const TDIBInfo& source, const char* routine);

// The input's description (width, height with its sign, resolution,
// biClrUsed, colour table) with `bit_count` bits, no compression,
// biSizeImage 0, and a fresh zeroed block of stride × |height| bytes.
// A block beyond the 32-bit limit cannot be mapped: EOutOfResources.
TDIBInfo NewConvertedImage(const TDIBInfo& source, int bit_count);

// Index of pixel x in a 1- or 4-bit row: most significant bits first.
inline unsigned Pixel1(const std::uint8_t* row, std::int64_t x) {
  return (row[x >> 3] >> (7 - (x & 7))) & 1u;
}
inline unsigned Pixel4(const std::uint8_t* row, std::int64_t x) {
  return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4;
}

// Black at 0, white at 1, biClrUsed 2, the rest of the table cleared.
// Walks the rows of both images in memory order and stores
// `index(source row, x)` as pixel x of each destination row.
template <class Store, class Index>
void MapPixels(const TDIBInfo& source, TDIBInfo& dest, Store store, Index index) {
  const std::int64_t width = source.Header.biWidth;
  const std::int64_t source_stride = source.Stride();
  const std::int64_t dest_stride = dest.Stride();
  const std::uint8_t* in = source.Bits();
  std::uint8_t* out = dest.Bits();
  for (std::int32_t y = 0; y < source.AbsHeight(); ++y, in += source_stride, out += dest_stride) {
    for (std::int64_t x = 0; x < width; ++x) store(out, x, index(in, x));
  }
}

void SetBlackWhiteTable(TDIBInfo& info);

}  // namespace quill::dib
