#pragma once
// Widening conversions: more bits per pixel, no colour lost. Each takes an
// uncompressed image and returns a new one; the colour table and biClrUsed
// are kept, also in 24-bit results. Wrong input raises EKvDIBBadDIBType
// "<routine>: Invalid Bitcount & Compression Combination".
#include "dib/kv_dib_info.h"

namespace quill::dib {

TDIBInfo Convert1BitRGBTo4BitRGB(const TDIBInfo& source);
TDIBInfo Convert1BitRGBTo8BitRGB(const TDIBInfo& source);
TDIBInfo Convert4BitRGBTo8BitRGB(const TDIBInfo& source);

// Each pixel becomes its table entry, stored blue, green, red.
TDIBInfo Convert1BitRGBToTrueColor(const TDIBInfo& source);
TDIBInfo Convert4BitRGBToTrueColor(const TDIBInfo& source);
TDIBInfo Convert8BitRGBToTrueColor(const TDIBInfo& source);

}  // namespace quill::dib
