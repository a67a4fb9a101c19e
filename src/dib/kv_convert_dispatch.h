#pragma once
// The body-level conversion: which chain of routines turns an image of one
// pixel format into another.
#include <cstdint>

#include "dib/kv_convert_common.h"
#include "dib/kv_dib_info.h"
#include "dib/kv_pixel_format.h"

namespace quill::dib {

// Returns `source` converted to `target`; `source` is not touched, and
// intermediate images are released as soon as the next step has its output
// (also when a later step fails).
//
// `quality` 0 selects the Low true-colour reductions. Raises EKvDIBAssert
// "TKvIntenalDIB.SetPixelsFormat: PixelFormat Error" when `target` is the
// source's own format, is no format at all, or needs a true-colour
// reduction of another quality (the High one is not part of this program).
// `step` reaches the palette reductions; `one_bit_color` the 1-bit ones.
// Other failures are those of the routines called.
TDIBInfo ConvertPixelFormat(const TDIBInfo& source, TKvPixelFormat target, std::uint8_t quality,
                            const ProgressStep& step, std::uint32_t one_bit_color);

}  // namespace quill::dib
