#include "dib/kv_convert_common.h"

#include <string>

#include "dib/kv_errors.h"

namespace quill::dib {

void RequirePixelBlock(const TDIBInfo& source, const char* routine) {
  const auto size =
      PixelBlockSize(source.Header.biWidth, source.AbsHeight(), source.Header.biBitCount);
  if (!size || !source.Pixels || source.ImageSize < *size) {
    throw EKvDIBInvalidDIB(std::string(routine) + ": Invalid Image Size");
  }
}

void RequireUncompressed(const TDIBInfo& source, int bit_count, const char* routine,
                         const char* problem) {
  if (source.Header.biBitCount != bit_count || source.Header.biCompression != kBiRgb) {
    throw EKvDIBBadDIBType(std::string(routine) + ": " + problem);
  }
  RequirePixelBlock(source, routine);
}

TDIBInfo NewConvertedImage(const TDIBInfo& source, int bit_count) {
  const auto size = PixelBlockSize(source.Header.biWidth, source.AbsHeight(), bit_count);
  // Widening can outgrow the 32-bit block limit; such a block is one the
  // system could not map either.
  if (!size) throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
  TDIBInfo info = CopyDescription(source);
  info.Header.biBitCount = static_cast<std::uint16_t>(bit_count);
  info.Header.biCompression = kBiRgb;
  info.Header.biSizeImage = 0;
  info.ImageSize = *size;
  info.Pixels = GetFileMap(static_cast<std::size_t>(*size));
  return info;
}

void SetBlackWhiteTable(TDIBInfo& info) {
  info.ColorTable.fill(TRGBQuad{});
  info.ColorTable[1] = TRGBQuad{255, 255, 255, 0};
  info.Header.biClrUsed = 2;
}

}  // namespace quill::dib
