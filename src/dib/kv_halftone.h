#pragma once
// Serpentine error-diffusion halftones: onto the fixed 215-colour palette,
// and onto black and white.
#include <array>
#include <cstdint>

#include "dib/kv_dib_info.h"

namespace quill::dib {

// The levels each channel is quantised to.
inline constexpr std::array<std::uint8_t, 6> kHalfToneRedLevels = {0x00, 0x33, 0x66,
                                                                   0x99, 0xCC, 0xFF};
inline constexpr std::array<std::uint8_t, 7> kHalfToneGreenLevels = {0x00, 0x2B, 0x55, 0x80,
                                                                     0xAB, 0xD6, 0xFF};
inline constexpr std::array<std::uint8_t, 5> kHalfToneBlueLevels = {0x00, 0x40, 0x80, 0xC0, 0xFF};
// Five colours beyond the level grid, as 0x00BBGGRR.
inline constexpr std::array<std::uint32_t, 5> kHalfToneExtraColors = {0x000080, 0x008080, 0x800080,
                                                                      0xC0C0C0, 0x808080};

constexpr std::size_t kHalfTonePaletteSize = 215;

constexpr std::array<TRGBQuad, kHalfTonePaletteSize> MakeHalfTonePalette() {
  std::array<TRGBQuad, kHalfTonePaletteSize> palette{};
  for (std::size_t r = 0; r < kHalfToneRedLevels.size(); ++r) {
    for (std::size_t g = 0; g < kHalfToneGreenLevels.size(); ++g) {
      for (std::size_t b = 0; b < kHalfToneBlueLevels.size(); ++b) {
        palette[35 * r + 5 * g + b] =
            TRGBQuad{kHalfToneBlueLevels[b], kHalfToneGreenLevels[g], kHalfToneRedLevels[r], 0};
      }
    }
  }
  for (std::size_t i = 0; i < kHalfToneExtraColors.size(); ++i) {
    const std::uint32_t c = kHalfToneExtraColors[i];
    palette[210 + i] = TRGBQuad{static_cast<std::uint8_t>(c >> 16),
                                static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c), 0};
  }
  return palette;
}

// Entry 35·r + 5·g + b is (red level r, green level g, blue level b);
// entries 210 to 214 are the extra colours.
inline constexpr std::array<TRGBQuad, kHalfTonePaletteSize> HalfTonePalette = MakeHalfTonePalette();

// Uncompressed 1, 4, 8 or 24 bits -> 8 bits on HalfTonePalette (biClrUsed
// 215), same row order. EKvDIBAssert "ConvertToHalfTone: Invalid DIB Format"
// for compressed input, "ConvertToHalfTone: Invalid Bit Count" for others.
TDIBInfo ConvertToHalfTone(const TDIBInfo& source);

// The same input -> 1 bit, black and white. EKvDIBAssert
// "ConvertToHalfToneBW: Invalid DIB Format" / "ConvertToHalfToneBW: Invalid Bit Count".
TDIBInfo ConvertToHalfToneBW(const TDIBInfo& source);

}  // namespace quill::dib
