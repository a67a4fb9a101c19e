#pragma once
// The in-memory DIB record: the info header, the colour table and the pixel
// block, with the size rules every operation on pixels relies on.
#include <array>
#include <cstdint>
#include <optional>

#include "dib/kv_file_map.h"

namespace quill::dib {

// Compression values of the info header.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;

// Colour-table entry as stored: blue, green, red, reserved.
struct TRGBQuad {
  std::uint8_t rgbBlue = 0;
  std::uint8_t rgbGreen = 0;
  std::uint8_t rgbRed = 0;
  std::uint8_t rgbReserved = 0;
  friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};
static_assert(sizeof(TRGBQuad) == 4);

// BITMAPINFOHEADER. biHeight keeps its sign: positive bottom-up, negative
// top-down.
struct TBitmapInfoHeader {
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = kBiRgb;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
  friend bool operator==(const TBitmapInfoHeader&, const TBitmapInfoHeader&) = default;
};

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kMaxColors = 256;

// The largest pixel block of an image: its size must fit the 32-bit fields
// of the file and clipboard formats.
constexpr std::int64_t kMaxImageSize = INT32_MAX;

// Table entries a bit count implies: 2, 16, 256, or 0 for true colour.
constexpr std::uint32_t ColorCount(int bit_count) {
  switch (bit_count) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

// Bytes of one uncompressed row: whole 32-bit words. Exact in 64 bits for
// any 32-bit width and bit count; multiplying it by a height is not.
constexpr std::int64_t RowStride(std::int64_t width, int bit_count) {
  return (width * bit_count + 31) / 32 * 4;
}

// stride × |height| when that block is no larger than kMaxImageSize; the
// product is checked before it is formed.
std::optional<std::int32_t> PixelBlockSize(std::int64_t width, std::int64_t height, int bit_count);

// Description and pixels of one image (the body's DIBInfo).
struct TDIBInfo {
  // Byte size of the pixel block; for RLE images the compressed length.
  std::int32_t ImageSize = 0;
  // The section and its view holding the pixels.
  FileMap Pixels;
  TBitmapInfoHeader Header;
  std::array<TRGBQuad, kMaxColors> ColorTable{};

  std::uint8_t* Bits() const { return Pixels.bits(); }
  bool Compressed() const { return Header.biCompression != kBiRgb; }
  // Stride of the uncompressed rows of this bit count and width.
  std::int64_t Stride() const { return RowStride(Header.biWidth, Header.biBitCount); }
  std::int32_t AbsHeight() const {
    return Header.biHeight < 0 ? -Header.biHeight : Header.biHeight;
  }
};

// A copy of the description (sizes, header, colour table) without pixels;
// the start of every routine that makes a new image from an old one.
TDIBInfo CopyDescription(const TDIBInfo& source);

// A copy with a new pixel block holding the same ImageSize bytes.
TDIBInfo CopyDIBInfo(const TDIBInfo& source);

}  // namespace quill::dib
