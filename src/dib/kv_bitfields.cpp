#include "dib/kv_bitfields.h"

#include <cstring>

#include "dib/kv_dib_header.h"
#include "dib/kv_dib_info.h"
#include "dib/kv_errors.h"

namespace quill::dib {

TBitFieldMasks DefaultMasks(int bit_count) {
  if (bit_count == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

int MaskShift(std::uint32_t mask) {
  int shift = 0;
  while (mask >= 256) {
    mask >>= 1;
    ++shift;
  }
  while (mask != 0 && mask < 128) {
    mask <<= 1;
    --shift;
  }
  return shift;
}

BitFieldWidener::Channel BitFieldWidener::MakeChannel(std::uint32_t mask) {
  const int shift = MaskShift(mask);
  return {mask, shift > 0 ? shift : 0, shift < 0 ? -shift : 0};
}

BitFieldWidener::BitFieldWidener(int bit_count, const TBitFieldMasks& masks)
    : bytes_per_pixel_(bit_count / 8) {
  if (masks.red == 0 || masks.green == 0 || masks.blue == 0) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid Masks");
  }
  red_ = MakeChannel(masks.red);
  green_ = MakeChannel(masks.green);
  blue_ = MakeChannel(masks.blue);
}

void BitFieldWidener::WidenRow(const std::uint8_t* source, std::uint8_t* dest,
                               std::int32_t width) const {
  const std::size_t used = static_cast<std::size_t>(width) * 3;
  std::memset(dest + used, 0, static_cast<std::size_t>(RowStride(width, 24)) - used);
  for (std::int32_t x = 0; x < width; ++x, dest += 3) {
    const std::uint32_t pixel = bytes_per_pixel_ == 2 ? GetU16(source) : GetU32(source);
    source += bytes_per_pixel_;
    dest[0] = blue_.Of(pixel);
    dest[1] = green_.Of(pixel);
    dest[2] = red_.Of(pixel);
  }
}

}  // namespace quill::dib
