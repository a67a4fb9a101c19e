#pragma once
// Widening 16- and 32-bit pixels to 24 bits through red, green and blue
// masks: each channel is scaled so that its highest bit lands on bit 7.
#include <cstdint>

namespace quill::dib {

struct TBitFieldMasks {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

// 5-5-5 for 16 bits, 8-8-8 for 32 bits: the masks of an uncompressed image.
TBitFieldMasks DefaultMasks(int bit_count);

// Right shift that brings a non-zero mask into 128..255 (negative: a left
// shift). Halves while ≥ 256, then doubles while < 128.
int MaskShift(std::uint32_t mask);

class BitFieldWidener {
 public:
  // Raises EKvDIBInvalidDIB "TKvInternalDIB.LoadFromStream: Invalid Masks"
  // for a zero mask. `bit_count` is 16 or 32.
  BitFieldWidener(int bit_count, const TBitFieldMasks& masks);

  // Converts `width` pixels of one source row into blue, green, red
  // triples, and zeroes the row's padding up to the 24-bit stride.
  void WidenRow(const std::uint8_t* source, std::uint8_t* dest, std::int32_t width) const;

 private:
  struct Channel {
    std::uint32_t mask;
    int right;  // right shift, or 0
    int left;   // left shift, or 0
    std::uint8_t Of(std::uint32_t pixel) const {
      return static_cast<std::uint8_t>(((pixel & mask) >> right) << left);
    }
  };
  static Channel MakeChannel(std::uint32_t mask);

  int bytes_per_pixel_;
  Channel red_, green_, blue_;
};

}  // namespace quill::dib
