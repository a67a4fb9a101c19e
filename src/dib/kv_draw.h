#pragma once
// Drawing a DIB stretched onto a device context. Windows only: the
// definition lives with the library's other system calls.
#include <cstdint>

#include "dib/kv_progress.h"  // TKvRect

namespace quill::dib {

class TKvDIB;

// A device context's value (HDC).
using DeviceContext = void*;

// SRCCOPY, the canvas's usual copy mode.
constexpr std::uint32_t kSrcCopy = 0x00CC0020;

// Stretches the whole image onto `rect` with COLORONCOLOR, the image's
// palette (if any) realised as a background palette, `copy_mode` as the
// raster operation. The context's stretch mode and palette are restored.
void StretchDraw(TKvDIB& dib, DeviceContext dc, const TKvRect& rect,
                 std::uint32_t copy_mode = kSrcCopy);

}  // namespace quill::dib
