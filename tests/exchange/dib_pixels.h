#pragma once
// A packed DIB's pixels as red-green-blue-alpha bytes, top row first, the
// form the image tools report pixels in. The fourth byte of a 32-bit DIB is
// taken as alpha; every other depth is opaque.
#include <cstdint>
#include <span>
#include <vector>

namespace quill::exchange::testing {

struct RgbaPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bit_count = 0;  // of the DIB, before any RLE is unpacked
  std::vector<std::uint8_t> rgba;
};

RgbaPixels RgbaOfPackedDib(std::span<const std::uint8_t> block);

}  // namespace quill::exchange::testing
