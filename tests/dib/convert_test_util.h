#pragma once
// Builds small images in memory for the conversion tests and reads their
// pixels back by position, so that expectations read as pictures.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "bmp_builder.h"
#include "dib/kv_dib_info.h"

namespace quill::dib::testing {

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline void PrintTo(const Rgb& c, std::ostream* os) {
  *os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

inline TRGBQuad Quad(Rgb c) {
  return TRGBQuad{static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g),
                  static_cast<std::uint8_t>(c.r), 0};
}
inline Rgb FromQuad(const TRGBQuad& q) { return {q.rgbRed, q.rgbGreen, q.rgbBlue}; }

// A zeroed uncompressed image; `height` keeps its sign.
inline TDIBInfo Blank(std::int32_t width, std::int32_t height, int bits, std::uint32_t colors = 0) {
  TDIBInfo info;
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = static_cast<std::uint16_t>(bits);
  info.Header.biClrUsed = colors;
  info.ImageSize = *PixelBlockSize(width, height < 0 ? -height : height, bits);
  info.Pixels = GetFileMap(static_cast<std::size_t>(info.ImageSize));
  return info;
}

inline std::uint8_t* Row(const TDIBInfo& info, std::int32_t y) {
  return info.Bits() + y * info.Stride();
}

// Index of pixel (x, memory row y) of a 1-, 4- or 8-bit image.
inline unsigned IndexAt(const TDIBInfo& info, std::int32_t x, std::int32_t y) {
  const std::uint8_t* row = Row(info, y);
  switch (info.Header.biBitCount) {
    case 1:
      return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4:
      return x % 2 ? row[x / 2] & 15 : row[x / 2] >> 4;
    default:
      return row[x];
  }
}

inline void SetIndex(TDIBInfo& info, std::int32_t x, std::int32_t y, unsigned index) {
  std::uint8_t* row = Row(info, y);
  switch (info.Header.biBitCount) {
    case 1:
      row[x / 8] = static_cast<std::uint8_t>((row[x / 8] & ~(0x80 >> (x % 8))) |
                                             (index ? 0x80 >> (x % 8) : 0));
      break;
    case 4:
      row[x / 2] = static_cast<std::uint8_t>(x % 2 ? (row[x / 2] & 0xF0) | index
                                                   : (row[x / 2] & 0x0F) | index << 4);
      break;
    default:
      row[x] = static_cast<std::uint8_t>(index);
  }
}

inline Rgb ColorAt24(const TDIBInfo& info, std::int32_t x, std::int32_t y) {
  const std::uint8_t* p = Row(info, y) + 3 * x;
  return {p[2], p[1], p[0]};
}

inline void SetColor24(TDIBInfo& info, std::int32_t x, std::int32_t y, Rgb c) {
  std::uint8_t* p = Row(info, y) + 3 * x;
  p[0] = static_cast<std::uint8_t>(c.b);
  p[1] = static_cast<std::uint8_t>(c.g);
  p[2] = static_cast<std::uint8_t>(c.r);
}

// The colour a pixel shows, through the table for palette images.
inline Rgb ShownAt(const TDIBInfo& info, std::int32_t x, std::int32_t y) {
  if (info.Header.biBitCount == 24) return ColorAt24(info, x, y);
  return FromQuad(info.ColorTable[IndexAt(info, x, y)]);
}

// A 24-bit image filled row by row (memory order) from `colors`.
inline TDIBInfo TrueColor(std::int32_t width, std::int32_t height,
                          std::initializer_list<Rgb> colors) {
  TDIBInfo info = Blank(width, height, 24);
  std::int32_t i = 0;
  for (Rgb c : colors) {
    SetColor24(info, i % width, i / width, c);
    ++i;
  }
  EXPECT_EQ(i, width * (height < 0 ? -height : height)) << "colour count";
  return info;
}

// All pixel indices of a palette image, row by row in memory order.
inline std::vector<unsigned> Indices(const TDIBInfo& info) {
  std::vector<unsigned> out;
  for (std::int32_t y = 0; y < info.AbsHeight(); ++y) {
    for (std::int32_t x = 0; x < info.Header.biWidth; ++x) out.push_back(IndexAt(info, x, y));
  }
  return out;
}

inline Bytes BlockOf(const TDIBInfo& info) {
  return Bytes(info.Bits(), info.Bits() + info.ImageSize);
}

inline std::vector<Rgb> Table(const TDIBInfo& info) {
  std::vector<Rgb> out;
  for (std::uint32_t i = 0; i < info.Header.biClrUsed; ++i)
    out.push_back(FromQuad(info.ColorTable[i]));
  return out;
}

}  // namespace quill::dib::testing
