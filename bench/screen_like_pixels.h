#pragma once
// The 24-bit pixels the benchmarks work on: a gradient with a flat window
// and a band of fine detail, as a screenshot has.
#include <cstdint>

namespace quill::bench {

inline void PaintScreenLike(std::uint8_t* bits, int stride, int width, int height) {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = bits + y * stride;
    for (int x = 0; x < width; ++x, p += 3) {
      int r = x * 255 / (width - 1), g = y * 255 / (height - 1), b = 128;
      if (x > 200 && x < 900 && y > 100 && y < 700) r = g = b = 240;  // a window
      if (y > 800 && y < 900) b = (x * 7 + y * 13) & 255;             // detail
      p[0] = static_cast<std::uint8_t>(b);
      p[1] = static_cast<std::uint8_t>(g);
      p[2] = static_cast<std::uint8_t>(r);
    }
  }
}

}  // namespace quill::bench
