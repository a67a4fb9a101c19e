#pragma once
// Size checks shared by the RLE codecs: the header fields come from outside,
// so the uncompressed block is sized in checked arithmetic before any memory
// is touched.
#include <cstdint>
#include <string>

#include "dib/kv_dib_info.h"
#include "dib/kv_errors.h"

namespace quill::dib::rle {

struct Geometry {
  std::int64_t width = 0;
  std::int64_t height = 0;  // absolute
  std::int64_t stride = 0;
  std::int32_t block = 0;  // stride × height
};

// The uncompressed layout of `info` at `bits` bits per pixel. Raises
// EKvDIBInvalidDIB "<routine>: Invalid Width or Height" for a width ≤ 0 or a
// height of 0, and "<routine>: Image Too Large" for a block beyond the
// library's limit.
inline Geometry GeometryOf(const TDIBInfo& info, int bits, const char* routine) {
  Geometry g;
  g.width = info.Header.biWidth;
  // 64-bit: the absolute value of INT32_MIN does not fit the header's type.
  g.height = info.Header.biHeight;
  if (g.height < 0) g.height = -g.height;
  if (g.width <= 0 || g.height == 0) {
    throw EKvDIBInvalidDIB(std::string(routine) + ": Invalid Width or Height");
  }
  const auto block = PixelBlockSize(g.width, g.height, bits);
  if (!block) throw EKvDIBInvalidDIB(std::string(routine) + ": Image Too Large");
  g.stride = RowStride(g.width, bits);
  g.block = *block;
  return g;
}

}  // namespace quill::dib::rle
