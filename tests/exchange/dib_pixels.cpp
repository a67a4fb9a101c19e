#include "dib_pixels.h"

#include <gtest/gtest.h>

#include "dib/kv_dib_header.h"
#include "dib/kv_internal_dib.h"
#include "dib/kv_rle.h"

namespace quill::exchange::testing {

RgbaPixels RgbaOfPackedDib(std::span<const std::uint8_t> block) {
  RgbaPixels out;
  if (block.size() < dib::kInfoHeaderSize) {
    ADD_FAILURE() << "no DIB";
    return out;
  }
  dib::TKvInternalDIB body;
  body.LoadFromPackedDIB(block.data(), block.size());
  dib::TDIBInfo info = dib::CopyDIBInfo(body.DIBInfo);
  if (info.Header.biCompression == dib::kBiRle8) info = dib::Convert8BitRLETo8BitRGB(info);
  if (info.Header.biCompression == dib::kBiRle4) info = dib::Convert4BitRLETo4BitRGB(info);
  // The library widens 32 bits to 24; the alpha comes from the block itself.
  const int block_bits = dib::GetU16(block.data() + 14);
  out.bit_count = block_bits;
  out.width = info.Header.biWidth;
  out.height = info.AbsHeight();
  const bool bottom_up = info.Header.biHeight > 0;
  const int bits = info.Header.biBitCount;
  const std::int64_t stride = info.Stride();
  out.rgba.reserve(static_cast<std::size_t>(out.width) * out.height * 4);
  const std::size_t alpha_start =
      dib::kInfoHeaderSize + (dib::GetU32(block.data() + 16) == dib::kBiBitFields ? 12 : 0);
  const std::int64_t alpha_stride = static_cast<std::int64_t>(out.width) * 4;
  for (std::int32_t y = 0; y < out.height; ++y) {
    const std::int32_t row = bottom_up ? out.height - 1 - y : y;
    const std::uint8_t* p = info.Bits() + row * stride;
    for (std::int32_t x = 0; x < out.width; ++x) {
      dib::TRGBQuad c;
      if (bits == 24) {
        c = {p[x * 3], p[x * 3 + 1], p[x * 3 + 2], 0};
      } else {
        const int per_byte = 8 / bits;
        const int shift = 8 - bits * (x % per_byte + 1);
        const int index = (p[x / per_byte] >> shift) & ((1 << bits) - 1);
        c = info.ColorTable[static_cast<std::size_t>(index)];
      }
      std::uint8_t alpha = 255;
      if (block_bits == 32)
        alpha = block[alpha_start + static_cast<std::size_t>(row * alpha_stride + x * 4 + 3)];
      out.rgba.insert(out.rgba.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue, alpha});
    }
  }
  return out;
}

}  // namespace quill::exchange::testing
