#include "dib/kv_pixel_format.h"

#include "dib/kv_errors.h"

namespace quill::dib {

namespace {

[[noreturn]] void Invalid(const char* what) {
  throw EKvDIBInvalidDIB(std::string("TKvInternalDIB.GetPixelFormat: Invalid DIB(") + what + ")");
}

}  // namespace

TKvPixelFormat GetPixelFormat(const TDIBInfo& info) {
  const std::uint32_t compression = info.Header.biCompression;
  switch (info.Header.biBitCount) {
    case 1:
      if (compression == kBiRgb) return TKvPixelFormat::kvPf1Bit;
      Invalid("1Bit");
    case 4:
      if (compression == kBiRgb) return TKvPixelFormat::kvPf4Bit;
      if (compression == kBiRle4) return TKvPixelFormat::kvPf4BitRLE;
      Invalid("4Bit");
    case 8:
      if (compression == kBiRgb) return TKvPixelFormat::kvPf8Bit;
      if (compression == kBiRle8) return TKvPixelFormat::kvPf8BitRLE;
      Invalid("8Bit");
    case 24:
      if (compression == kBiRgb) return TKvPixelFormat::kvPf24Bit;
      Invalid("24Bit");
    default:
      Invalid("Illegal BitCount");
  }
}

}  // namespace quill::dib
