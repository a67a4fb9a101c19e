// Encodes arbitrary pixels with both RLE encoders and decodes the result:
// the pixels must come back, the stream must fit the uncompressed size, and
// a failed compression must leave the source as it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dib/kv_errors.h"
#include "dib/kv_rle.h"

namespace {

using quill::dib::TDIBInfo;

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int width = 1 + (data[0] | (data[1] & 0x03) << 8);  // up to 1024: runs past 255
  const bool top_down = data[1] & 0x80;
  const int bits = data[1] & 0x40 ? 4 : 8;
  data += 2;
  size -= 2;

  const std::int64_t stride = quill::dib::RowStride(width, bits);
  const std::int64_t used = bits == 8 ? width : (width + 1) / 2;
  const int rows = static_cast<int>(
      std::min<std::int64_t>(16, (static_cast<std::int64_t>(size) + used - 1) / used));
  // The input's bytes fill the rows (repeated when short); pad bits stay
  // zero, as the decoders leave them.
  std::vector<std::uint8_t> block(static_cast<std::size_t>(stride * rows), 0);
  for (int y = 0; y < rows; ++y) {
    for (std::int64_t i = 0; i < used; ++i) {
      block[static_cast<std::size_t>(y * stride + i)] =
          data[static_cast<std::size_t>(y * used + i) % size];
    }
    if (bits == 4 && width % 2) block[static_cast<std::size_t>(y * stride + used - 1)] &= 0xF0;
  }

  TDIBInfo source;
  source.Header.biWidth = width;
  source.Header.biHeight = top_down ? -rows : rows;
  source.Header.biBitCount = static_cast<std::uint16_t>(bits);
  source.ImageSize = static_cast<std::int32_t>(block.size());
  source.Pixels = quill::dib::GetFileMap(block.size());
  std::memcpy(source.Bits(), block.data(), block.size());

  TDIBInfo encoded;
  try {
    encoded = bits == 8 ? quill::dib::Convert8BitRGBTo8BitRLE(source)
                        : quill::dib::Convert4BitRGBTo4BitRLE(source);
  } catch (const quill::dib::EKvDIBCompressionFailed&) {
    Require(std::memcmp(source.Bits(), block.data(), block.size()) == 0);
    return 0;
  }
  Require(encoded.ImageSize > 0 && encoded.ImageSize <= source.ImageSize);
  Require(encoded.Header.biHeight == rows);
  const TDIBInfo decoded = bits == 8 ? quill::dib::Convert8BitRLETo8BitRGB(encoded)
                                     : quill::dib::Convert4BitRLETo4BitRGB(encoded);
  Require(decoded.ImageSize == source.ImageSize);
  for (int y = 0; y < rows; ++y) {
    const int from = top_down ? rows - 1 - y : y;
    Require(std::memcmp(decoded.Bits() + y * stride, block.data() + from * stride,
                        static_cast<std::size_t>(stride)) == 0);
  }
  return 0;
}
