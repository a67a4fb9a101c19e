// Feeds arbitrary streams to both RLE decoders. The first bytes choose the
// width, height and depth; the rest is the stream. Whatever lies in the
// mapping after ImageSize must not change the result, and a decoded image
// must keep its description and have clean row pads.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "dib/kv_errors.h"
#include "dib/kv_rle.h"

namespace {

using quill::dib::TDIBInfo;

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr std::size_t kSpare = 64;

TDIBInfo Source(int width, int height, int bits, const std::uint8_t* data, std::size_t size,
                std::uint8_t filler) {
  TDIBInfo info;
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = static_cast<std::uint16_t>(bits);
  info.Header.biCompression = bits == 8 ? quill::dib::kBiRle8 : quill::dib::kBiRle4;
  info.ImageSize = static_cast<std::int32_t>(size);
  info.Pixels = quill::dib::GetFileMap(size + kSpare);
  if (size > 0) std::memcpy(info.Bits(), data, size);
  std::memset(info.Bits() + size, filler, kSpare);
  return info;
}

// Decodes, or returns false for data the decoder rejects.
bool Decode(const TDIBInfo& source, TDIBInfo& out) {
  try {
    out = source.Header.biBitCount == 8 ? quill::dib::Convert8BitRLETo8BitRGB(source)
                                        : quill::dib::Convert4BitRLETo4BitRGB(source);
    return true;
  } catch (const quill::dib::EKvDIBInvalidDIB&) {
    return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  // Small images keep each run fast; odd sizes and both row orders matter.
  const int width = 1 + data[0] % 64;
  const int height = (1 + data[1] % 32) * (data[2] & 0x80 ? -1 : 1);
  const int bits = data[2] & 1 ? 4 : 8;
  data += 3;
  size -= 3;

  TDIBInfo plain, noisy;
  const bool ok = Decode(Source(width, height, bits, data, size, 0x00), plain);
  Require(Decode(Source(width, height, bits, data, size, 0xFF), noisy) == ok);
  if (!ok) return 0;

  Require(plain.ImageSize == noisy.ImageSize);
  Require(std::memcmp(plain.Bits(), noisy.Bits(), static_cast<std::size_t>(plain.ImageSize)) == 0);
  Require(plain.Header.biCompression == quill::dib::kBiRgb && plain.Header.biHeight == height);
  const std::int64_t stride = plain.Stride();
  const int rows = plain.AbsHeight();
  Require(plain.ImageSize == stride * rows);
  // Nothing lands past the width: pad bits of every row stay zero.
  const std::int64_t used_bits = static_cast<std::int64_t>(width) * bits;
  for (int y = 0; y < rows; ++y) {
    const std::uint8_t* row = plain.Bits() + y * stride;
    for (std::int64_t bit = used_bits; bit < stride * 8; ++bit) {
      Require((row[bit / 8] & (0x80 >> (bit % 8))) == 0);
    }
  }
  return 0;
}
