#pragma once
// The eight pixel formats an image can be converted to, and the
// classification of an image description into the first six.
#include <cstdint>

#include "dib/kv_dib_info.h"

namespace quill::dib {

// The settings' colour-mode items after "no conversion", in their order:
// item index − 1 is the value.
enum class TKvPixelFormat : std::uint8_t {
  kvPf1Bit = 0,
  kvPf4Bit = 1,
  kvPf4BitRLE = 2,
  kvPf8Bit = 3,
  kvPf8BitRLE = 4,
  kvPf24Bit = 5,
  // Conversion targets only: GetPixelFormat never reports them, so
  // converting to them always converts.
  kvPfHalfTone = 6,
  kvPfHalfToneBW = 7,
};

// Classifies by bit count and compression. Anything outside the six
// reportable combinations raises EKvDIBInvalidDIB
// "TKvInternalDIB.GetPixelFormat: Invalid DIB(1Bit|4Bit|8Bit|24Bit|Illegal BitCount)".
TKvPixelFormat GetPixelFormat(const TDIBInfo& info);

}  // namespace quill::dib
