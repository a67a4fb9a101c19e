#include "dib/kv_dib_info.h"

#include <cstring>

namespace quill::dib {

std::optional<std::int32_t> PixelBlockSize(std::int64_t width, std::int64_t height, int bit_count) {
  if (width <= 0 || width > INT32_MAX || height < 0 || height > INT32_MAX || bit_count <= 0 ||
      bit_count > 32) {
    return std::nullopt;
  }
  const std::int64_t stride = RowStride(width, bit_count);
  if (height != 0 && stride > kMaxImageSize / height) return std::nullopt;
  return static_cast<std::int32_t>(stride * height);
}

TDIBInfo CopyDescription(const TDIBInfo& source) {
  TDIBInfo copy;
  copy.ImageSize = source.ImageSize;
  copy.Header = source.Header;
  copy.ColorTable = source.ColorTable;
  return copy;
}

TDIBInfo CopyDIBInfo(const TDIBInfo& source) {
  TDIBInfo copy = CopyDescription(source);
  copy.Pixels = GetFileMap(static_cast<std::size_t>(source.ImageSize));
  if (source.ImageSize > 0)
    std::memcpy(copy.Bits(), source.Bits(), static_cast<std::size_t>(source.ImageSize));
  return copy;
}

}  // namespace quill::dib
