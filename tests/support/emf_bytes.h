#pragma once
// The smallest enhanced metafile: a header record and an end record.
#include <cstdint>
#include <cstring>
#include <vector>

namespace quill::platform::testing {

inline std::vector<std::uint8_t> MinimalEnhMetafile() {
  std::vector<std::uint8_t> bytes;
  const auto u32 = [&bytes](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  constexpr std::uint32_t kHeaderSize = 88, kEofSize = 20;
  u32(1);                                               // EMR_HEADER
  u32(kHeaderSize);                                     // record size
  for (std::uint32_t v : {0u, 0u, 9u, 9u}) u32(v);      // bounds, device units
  for (std::uint32_t v : {0u, 0u, 300u, 300u}) u32(v);  // frame, 0.01 mm
  u32(0x464D4520);                                      // " EMF"
  u32(0x10000);                                         // version
  u32(kHeaderSize + kEofSize);                          // total bytes
  u32(2);                                               // records
  u32(1);                                               // handles (16 bits) + reserved (16 bits)
  u32(0);                                               // description length
  u32(0);                                               // description offset
  u32(0);                                               // palette entries
  u32(1024), u32(768);                                  // device, pixels
  u32(320), u32(240);                                   // device, millimetres
  u32(14);                                              // EMR_EOF
  u32(kEofSize);
  u32(0);   // palette entries
  u32(16);  // palette offset
  u32(kEofSize);
  return bytes;
}

}  // namespace quill::platform::testing
