#pragma once
// Palette reductions: true colour to 256 or 16 colours through a 5-6-5
// histogram, and 256 to 16 colours through the colour table, both choosing
// the palette with DivideCells. Pixels are mapped through a table, never
// searched against the palette, and not dithered.
#include "dib/kv_convert_common.h"
#include "dib/kv_dib_info.h"

namespace quill::dib {

// 24 bits -> 8 bits, at most 256 entries (biClrUsed = entries made).
// Wrong input: EKvDIBBadDIBType "ConvertTrueColorTo8BitRGBLow: Invalid Bitcount".
// `step` is called 256 times.
TDIBInfo ConvertTrueColorTo8BitRGBLow(const TDIBInfo& source, const ProgressStep& step = {});

// 24 bits -> 4 bits, at most 16 entries; `step` is called 16 times.
// Wrong input: EKvDIBBadDIBType "ConvertTrueColorTo4BitRGBLow: Invalid Bitcount".
TDIBInfo ConvertTrueColorTo4BitRGBLow(const TDIBInfo& source, const ProgressStep& step = {});

// 8 bits -> 4 bits, at most 16 entries, from the colours of all 256 slots
// the pixels use; `step` is called 16 times. Wrong input: EKvDIBBadDIBType
// "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression".
TDIBInfo Convert8BitRGBTo4BitRGB(const TDIBInfo& source, const ProgressStep& step = {});

}  // namespace quill::dib
