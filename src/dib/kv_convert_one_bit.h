#pragma once
// Reductions to 1 bit without threshold or dithering: a pixel stays white
// exactly when its colour is `one_bit_color` (0x00BBGGRR); everything else
// turns black. The result carries the black-and-white table.
#include <cstdint>

#include "dib/kv_dib_info.h"

namespace quill::dib {

// 24 bits; else EKvDIBBadDIBType "ConvertTrueColorTo1BitRGB: Invalid Bitcount".
TDIBInfo ConvertTrueColorTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color);
// 8 bits, uncompressed; else EKvDIBBadDIBType
// "Convert8BitTo1BitRGB: Invalid Bitcount or Compression".
TDIBInfo Convert8BitTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color);
// 4 bits, uncompressed; else EKvDIBBadDIBType "Convert4BitRGBTo1BitRGB: Invalid Bitcount".
TDIBInfo Convert4BitRGBTo1BitRGB(const TDIBInfo& source, std::uint32_t one_bit_color);

}  // namespace quill::dib
