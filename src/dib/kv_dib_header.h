#pragma once
// Decoding the headers that start a bitmap file or a packed DIB, and the
// checks every header must pass before any pixel memory is asked for.
#include <cstdint>

#include "dib/kv_dib_info.h"

namespace quill::dib {

// Little-endian fields, read and written byte by byte.
inline std::uint16_t GetU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::int32_t GetI32(const std::uint8_t* p) { return static_cast<std::int32_t>(GetU32(p)); }
inline void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::uint8_t* p, std::uint32_t v) {
  PutU16(p, v);
  PutU16(p + 2, v >> 16);
}

// A header turned into the in-memory info-header form, with what follows it.
struct ParsedHeader {
  // biClrUsed holds the entry count of the source: the stored value, or the
  // bit count's ColorCount when 0; not yet capped at 256.
  TBitmapInfoHeader header;
  // Bytes of one colour-table entry in the source: 4, or 3 after a core header.
  int entry_size = 4;
  // 12 bit-field mask bytes precede the colour table.
  bool has_masks = false;
};

// The 40-byte info header. The header's size field is taken as read; the
// planes count of either header becomes 1 whatever the source says.
ParsedHeader ParseInfoHeader(const std::uint8_t* bytes);
// The 12-byte core header: unsigned 16-bit width and height, planes and
// bit count; no compression, ColorCount entries of three bytes.
ParsedHeader ParseCoreHeader(const std::uint8_t* bytes);

// Checks width, height, compression against bit count, and the size of the
// uncompressed block (after widening to 24 bits for 16 and 32 bits), each
// with an EKvDIBInvalidDIB "TKvInternalDIB.LoadFromStream: ..." message. The
// bit count must already be one of 1, 4, 8, 16, 24, 32.
void ValidateHeader(const TBitmapInfoHeader& header);

// The bit count the image has in memory: 16 and 32 bits become 24.
constexpr int StoredBitCount(int bit_count) {
  return bit_count == 16 || bit_count == 32 ? 24 : bit_count;
}

// Writes the 40-byte info header, always with 1 plane.
void PutInfoHeader(std::uint8_t* bytes, const TBitmapInfoHeader& header);

}  // namespace quill::dib
