#include "dib/kv_convert_one_bit.h"

#include <array>

#include "dib/kv_convert_common.h"

namespace quill::dib {

namespace {

struct Rgb {
  std::uint8_t red, green, blue;
};

Rgb Unpack(std::uint32_t color) {
  return {static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
          static_cast<std::uint8_t>(color >> 16)};
}

// Sets bit x of each output row where `white(row, x)` holds.
template <class IsWhite>
TDIBInfo ToOneBit(const TDIBInfo& source, int source_bits, const char* routine, const char* problem,
                  IsWhite white) {
  RequireUncompressed(source, source_bits, routine, problem);
  TDIBInfo dest = NewConvertedImage(source, 1);
  SetBlackWhiteTable(dest);
  // The block is zeroed: only white pixels set their bit.
  MapPixels(
      source, dest,
      [](std::uint8_t* row, std::int64_t x, bool is_white) {
        if (is_white) row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
      },
      white);
  return dest;
}

// Which table entries are the white colour.
std::array<bool, kMaxColors> WhiteEntries(const TDIBInfo& source, std::uint32_t one_bit_color) {
  const Rgb w = Unpack(one_bit_color);
  std::array<bool, kMaxColors> white{};
  for (std::size_t i = 0; i < kMaxColors; ++i) {
    const TRGBQuad& c = source.ColorTable[i];
    white[i] = c.rgbRed == w.red && c.rgbGreen == w.green && c.rgbBlue == w.blue;
  }
  return white;
}

}  // namespace

TDIBInfo ConvertTrueColorTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color) {
  const Rgb w = Unpack(one_bit_color);
  return ToOneBit(source, 24, "ConvertTrueColorTo1BitRGB", "Invalid Bitcount",
                  [w](const std::uint8_t* row, std::int64_t x) {
                    const std::uint8_t* p = row + 3 * x;
                    return p[0] == w.blue && p[1] == w.green && p[2] == w.red;
                  });
}

TDIBInfo Convert8BitTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color) {
  const auto white = WhiteEntries(source, one_bit_color);
  return ToOneBit(source, 8, "Convert8BitTo1BitRGB", "Invalid Bitcount or Compression",
                  [&white](const std::uint8_t* row, std::int64_t x) { return white[row[x]]; });
}

TDIBInfo Convert4BitRGBTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color) {
  const auto white = WhiteEntries(source, one_bit_color);
  return ToOneBit(
      source, 4, "Convert4BitRGBTo1BitRGB", "Invalid Bitcount",
      [&white](const std::uint8_t* row, std::int64_t x) { return white[Pixel4(row, x)]; });
}

}  // namespace quill::dib
