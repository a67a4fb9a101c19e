#pragma once
// Helpers of the RLE codec tests: images made from raw streams or rows, and
// a reader of encoded streams that checks their structure item by item.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dib/kv_dib_info.h"
#include "dib/kv_errors.h"
#include "dib/kv_rle.h"

namespace quill::dib::testing {

using Bytes = std::vector<std::uint8_t>;

// An RLE image whose ImageSize is the stream; `spare` bytes of 0xFF follow it
// in the mapping, so a decoder that reads past ImageSize sees them.
inline TDIBInfo RleImage(int width, int height, int bits, const Bytes& stream,
                         std::size_t spare = 0) {
  TDIBInfo info;
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = static_cast<std::uint16_t>(bits);
  info.Header.biCompression = bits == 8 ? kBiRle8 : kBiRle4;
  info.Header.biSizeImage = static_cast<std::uint32_t>(stream.size());
  info.Header.biClrUsed = ColorCount(bits);
  for (std::size_t i = 0; i < info.ColorTable.size(); ++i) {
    info.ColorTable[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3), 7, 0};
  }
  info.ImageSize = static_cast<std::int32_t>(stream.size());
  info.Pixels = GetFileMap(stream.size() + spare);
  if (!stream.empty()) std::memcpy(info.Bits(), stream.data(), stream.size());
  std::memset(info.Bits() + stream.size(), 0xFF, spare);
  return info;
}

// An uncompressed image holding `block` (stride × |height| bytes).
inline TDIBInfo RgbImage(int width, int height, int bits, const Bytes& block) {
  TDIBInfo info;
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = static_cast<std::uint16_t>(bits);
  info.Header.biClrUsed = ColorCount(bits);
  info.ColorTable[1] = {1, 2, 3, 0};
  info.ImageSize = static_cast<std::int32_t>(block.size());
  info.Pixels = GetFileMap(block.size());
  if (!block.empty()) std::memcpy(info.Bits(), block.data(), block.size());
  return info;
}

inline Bytes Block(const TDIBInfo& info) {
  return Bytes(info.Bits(), info.Bits() + info.ImageSize);
}

// Walks an encoded stream as a strict reader would: every row covers
// exactly `width` pixels with runs and absolute runs only, each row ends
// with an end-of-line, the end-of-bitmap is the last item. Returns the
// failure, or an empty string.
inline std::string StreamProblem(const Bytes& s, int width, int height, int bits) {
  std::size_t pos = 0;
  for (int row = 0; row < height; ++row) {
    int x = 0;
    for (;;) {
      if (s.size() - pos < 2) return "stream ends inside row " + std::to_string(row);
      const unsigned n = s[pos], v = s[pos + 1];
      pos += 2;
      if (n > 0) {
        x += static_cast<int>(n);
      } else if (v == 0) {
        break;
      } else if (v >= 3) {
        x += static_cast<int>(v);
        const std::size_t data = bits == 8 ? v + (v & 1) : (v + 3) / 4 * 2;
        if (bits == 8 && (v & 1) && pos + v < s.size() && s[pos + v] != 0) return "pad not zero";
        pos += data;
        if (pos > s.size()) return "absolute run past the end";
      } else {
        return "unexpected escape " + std::to_string(v) + " in row " + std::to_string(row);
      }
    }
    if (x != width) {
      return "row " + std::to_string(row) + " covers " + std::to_string(x) + " pixels";
    }
  }
  if (s.size() - pos != 2 || s[pos] != 0 || s[pos + 1] != 1) return "no end-of-bitmap at the end";
  return {};
}

}  // namespace quill::dib::testing
