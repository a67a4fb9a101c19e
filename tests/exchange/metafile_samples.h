#pragma once
// Small metafiles built byte by byte.
#include <cstdint>
#include <vector>

#include "exchange/metafile_format.h"

namespace quill::exchange::testing {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, static_cast<std::uint16_t>(v));
  Put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A header with the given frame (0.01 mm), a rectangle and the end record.
inline Bytes EnhancedMetafile(std::int32_t left, std::int32_t top, std::int32_t right,
                              std::int32_t bottom) {
  Bytes b(88 + 24 + 20, 0);
  Put32(b, 0, 1);
  Put32(b, 4, 88);
  Put32(b, 16, 99), Put32(b, 20, 99);  // bounds
  Put32(b, 24, static_cast<std::uint32_t>(left));
  Put32(b, 28, static_cast<std::uint32_t>(top));
  Put32(b, 32, static_cast<std::uint32_t>(right));
  Put32(b, 36, static_cast<std::uint32_t>(bottom));
  Put32(b, 40, 0x464D4520);
  Put32(b, 44, 0x10000);
  Put32(b, 48, static_cast<std::uint32_t>(b.size()));
  Put32(b, 52, 3);
  Put32(b, 56, 1);
  Put32(b, 72, 1024), Put32(b, 76, 768), Put32(b, 80, 320), Put32(b, 84, 240);
  Put32(b, 88, 43);  // EMR_RECTANGLE
  Put32(b, 92, 24);
  Put32(b, 96, 10), Put32(b, 100, 10), Put32(b, 104, 90), Put32(b, 108, 90);
  Put32(b, 112, 14);  // EMR_EOF
  Put32(b, 116, 20);
  Put32(b, 124, 16);
  Put32(b, 128, 20);
  return b;
}

// A Windows metafile: its header, a window extent, a rectangle, the end.
inline Bytes WindowsRecords() {
  Bytes b(18 + 10 + 14 + 6, 0);
  Put16(b, 0, 1);
  Put16(b, 2, 9);
  Put16(b, 4, 0x300);
  Put32(b, 6, static_cast<std::uint32_t>(b.size() / 2));
  Put32(b, 12, 7);
  Put32(b, 18, 5), Put16(b, 22, 0x020C), Put16(b, 24, 100), Put16(b, 26, 200);  // SetWindowExt
  Put32(b, 28, 7), Put16(b, 32, 0x041B);  // Rectangle(bottom, right, top, left)
  Put16(b, 34, 90), Put16(b, 36, 190), Put16(b, 38, 10), Put16(b, 40, 10);
  Put32(b, 42, 3);  // end
  return b;
}

inline Bytes Placeable(const PlaceableBox& box, const Bytes& records) {
  Bytes h(22, 0);
  Put32(h, 0, kPlaceableKey);
  Put16(h, 6, static_cast<std::uint16_t>(box.left));
  Put16(h, 8, static_cast<std::uint16_t>(box.top));
  Put16(h, 10, static_cast<std::uint16_t>(box.right));
  Put16(h, 12, static_cast<std::uint16_t>(box.bottom));
  Put16(h, 14, box.inch);
  std::uint16_t sum = 0;
  for (int i = 0; i < 20; i += 2) sum ^= static_cast<std::uint16_t>(h[i] | h[i + 1] << 8);
  Put16(h, 20, sum);
  return Concat(h, records);
}

}  // namespace quill::exchange::testing
