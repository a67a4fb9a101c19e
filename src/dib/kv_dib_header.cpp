#include "dib/kv_dib_header.h"

#include <climits>

#include "dib/kv_errors.h"

namespace quill::dib {

ParsedHeader ParseInfoHeader(const std::uint8_t* bytes) {
  ParsedHeader parsed;
  TBitmapInfoHeader& h = parsed.header;
  h.biSize = kInfoHeaderSize;
  h.biWidth = GetI32(bytes + 4);
  h.biHeight = GetI32(bytes + 8);
  // biPlanes (bytes 12-13) is taken as 1, the only count a DIB can have.
  h.biBitCount = GetU16(bytes + 14);
  h.biCompression = GetU32(bytes + 16);
  h.biSizeImage = GetU32(bytes + 20);
  h.biXPelsPerMeter = GetI32(bytes + 24);
  h.biYPelsPerMeter = GetI32(bytes + 28);
  h.biClrUsed = GetU32(bytes + 32);
  h.biClrImportant = GetU32(bytes + 36);
  if (h.biClrUsed == 0) h.biClrUsed = ColorCount(h.biBitCount);
  parsed.has_masks = h.biCompression == kBiBitFields;
  return parsed;
}

ParsedHeader ParseCoreHeader(const std::uint8_t* bytes) {
  ParsedHeader parsed;
  TBitmapInfoHeader& h = parsed.header;
  h.biSize = kInfoHeaderSize;
  h.biWidth = GetU16(bytes + 4);
  h.biHeight = GetU16(bytes + 6);
  // bcPlanes (bytes 8-9) is taken as 1, as for the info header.
  h.biBitCount = GetU16(bytes + 10);
  h.biClrUsed = ColorCount(h.biBitCount);
  parsed.entry_size = 3;
  return parsed;
}

namespace {

// Only what every later operation understands is let in.
bool CompressionFits(int bit_count, std::uint32_t compression) {
  switch (bit_count) {
    case 8:
      return compression == kBiRgb || compression == kBiRle8;
    case 4:
      return compression == kBiRgb || compression == kBiRle4;
    case 16:
    case 32:
      return compression == kBiRgb || compression == kBiBitFields;
    default:
      return compression == kBiRgb;
  }
}

}  // namespace

void ValidateHeader(const TBitmapInfoHeader& h) {
  // INT_MIN has no absolute value; it is refused, never negated.
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT_MIN) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid Width or Height");
  }
  if (!CompressionFits(h.biBitCount, h.biCompression)) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid Compression");
  }
  const std::int64_t height = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
  if (!PixelBlockSize(h.biWidth, height, StoredBitCount(h.biBitCount))) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Image Too Large");
  }
}

void PutInfoHeader(std::uint8_t* bytes, const TBitmapInfoHeader& h) {
  PutU32(bytes, h.biSize);
  PutU32(bytes + 4, static_cast<std::uint32_t>(h.biWidth));
  PutU32(bytes + 8, static_cast<std::uint32_t>(h.biHeight));
  // Readers refuse any other planes count.
  PutU16(bytes + 12, 1);
  PutU16(bytes + 14, h.biBitCount);
  PutU32(bytes + 16, h.biCompression);
  PutU32(bytes + 20, h.biSizeImage);
  PutU32(bytes + 24, static_cast<std::uint32_t>(h.biXPelsPerMeter));
  PutU32(bytes + 28, static_cast<std::uint32_t>(h.biYPelsPerMeter));
  PutU32(bytes + 32, h.biClrUsed);
  PutU32(bytes + 36, h.biClrImportant);
}

}  // namespace quill::dib
