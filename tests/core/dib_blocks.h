#pragma once
// Packed DIBs (CF_DIB blocks) as other programs put them on the clipboard,
// built byte by byte.
#include <algorithm>
#include <cstdint>
#include <string>

namespace quill::core::testing {

inline void Put32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
}

inline std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The 40-byte info header.
inline std::string InfoHeader(int width, int height, int bits, std::uint32_t compression,
                              std::uint32_t colours_used) {
  std::string block;
  Put32(block, 40);
  Put32(block, static_cast<std::uint32_t>(width));
  Put32(block, static_cast<std::uint32_t>(height));
  Put32(block, 1u | static_cast<std::uint32_t>(bits) << 16);  // planes, bit count
  Put32(block, compression);
  for (int i = 0; i < 3; ++i) Put32(block, 0);
  Put32(block, colours_used);
  Put32(block, 0);
  return block;
}

// A 24-bit picture whose pixel (x, y) is `colour(x, y)` (0x00RRGGBB).
template <typename Colour>
std::string Picture24Of(int width, int height, Colour colour) {
  std::string block = InfoHeader(width, height, 24, 0, 0);
  const int stride = (width * 3 + 3) / 4 * 4;
  for (int y = 0; y < height; ++y) {
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      for (int k = 0; k < 3; ++k) row[x * 3 + k] = static_cast<char>(c >> (8 * k));
    }
    block += row;
  }
  return block;
}

// A 24-bit picture with a colour gradient.
inline std::string Picture24(int width, int height) {
  return Picture24Of(width, height, [&](int x, int y) {
    const std::uint32_t blue = static_cast<std::uint32_t>(x * 255 / std::max(1, width - 1));
    const std::uint32_t green = static_cast<std::uint32_t>(y * 255 / std::max(1, height - 1));
    const std::uint32_t red = static_cast<std::uint32_t>((x + y) * 8) & 0xFF;
    return red << 16 | green << 8 | blue;
  });
}

// A 24-bit picture of one colour, which compresses well.
inline std::string Flat24(int width, int height) {
  return Picture24Of(width, height, [](int, int) { return 0x806040u; });
}

}  // namespace quill::core::testing
