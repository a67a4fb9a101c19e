#pragma once
// Builds bitmap files byte by byte, with every field under the test's
// control, so that tests and sample files can say exactly what is wrong.
#include <cstdint>
#include <optional>
#include <vector>

namespace quill::dib::testing {

using Bytes = std::vector<std::uint8_t>;

struct BmpFields {
  std::uint16_t type = 0x4D42;
  // Computed from the parts when not given.
  std::optional<std::uint32_t> bf_size;
  std::optional<std::uint32_t> off_bits;
  std::uint32_t header_size = 40;  // 40 or 12 are written as such; others as 40 bytes
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t planes = 1;
  std::uint16_t bit_count = 8;
  std::uint32_t compression = 0;
  std::uint32_t size_image = 0;
  std::int32_t x_pels = 0;
  std::int32_t y_pels = 0;
  std::uint32_t clr_used = 0;
  std::uint32_t clr_important = 0;
  // Written after the header when not empty (bit-field masks).
  std::vector<std::uint32_t> masks;
  Bytes table;   // raw colour-table bytes
  Bytes gap;     // bytes between the table and the pixels, as some writers leave
  Bytes pixels;  // raw pixel bytes
};

inline void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v);
  Put16(out, v >> 16);
}

inline Bytes BuildBmp(const BmpFields& f) {
  Bytes header;
  Put32(header, f.header_size);
  if (f.header_size == 12) {
    Put16(header, static_cast<std::uint32_t>(f.width));
    Put16(header, static_cast<std::uint32_t>(f.height));
    Put16(header, f.planes);
    Put16(header, f.bit_count);
  } else {
    Put32(header, static_cast<std::uint32_t>(f.width));
    Put32(header, static_cast<std::uint32_t>(f.height));
    Put16(header, f.planes);
    Put16(header, f.bit_count);
    Put32(header, f.compression);
    Put32(header, f.size_image);
    Put32(header, static_cast<std::uint32_t>(f.x_pels));
    Put32(header, static_cast<std::uint32_t>(f.y_pels));
    Put32(header, f.clr_used);
    Put32(header, f.clr_important);
  }
  for (std::uint32_t m : f.masks) Put32(header, m);
  header.insert(header.end(), f.table.begin(), f.table.end());
  const std::size_t off = 14 + header.size() + f.gap.size();
  Bytes out;
  Put16(out, f.type);
  Put32(out, f.bf_size.value_or(static_cast<std::uint32_t>(off + f.pixels.size())));
  Put32(out, 0);
  Put32(out, f.off_bits.value_or(static_cast<std::uint32_t>(off)));
  out.insert(out.end(), header.begin(), header.end());
  out.insert(out.end(), f.gap.begin(), f.gap.end());
  out.insert(out.end(), f.pixels.begin(), f.pixels.end());
  return out;
}

// Row stride of an uncompressed image.
inline std::size_t Stride(std::int64_t width, int bits) {
  return static_cast<std::size_t>((width * bits + 31) / 32 * 4);
}

// Bytes 1, 2, 3, ... (mod 251), so that every shift or swap shows.
inline Bytes Pattern(std::size_t size, std::uint8_t seed = 1) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>((seed + i) % 251);
  return out;
}

// An uncompressed image with a patterned table and patterned pixels.
inline BmpFields PlainImage(int bits, std::int32_t width, std::int32_t height,
                            std::uint32_t entries) {
  BmpFields f;
  f.bit_count = static_cast<std::uint16_t>(bits);
  f.width = width;
  f.height = height;
  f.clr_used = entries;
  f.table = Pattern(entries * 4, 7);
  const std::int64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
  f.pixels = Pattern(Stride(width, bits) * static_cast<std::size_t>(rows), 3);
  return f;
}

}  // namespace quill::dib::testing
