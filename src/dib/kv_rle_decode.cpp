// RLE decoders. Every run is checked against the row and the image before
// it is written, and every read against the length of the stream: the
// stream comes from files and the clipboard. A stream that ends without an
// end-of-bitmap code keeps what it decoded, the rest of the image stays zero;
// an item cut off by the end writes the pixels whose data is there.
//
// A row may be coded up to the end of its stride, not only to the width:
// common writers (ImageMagick among them) code the pad bytes of each row as
// a run, and such files must load. Pixels past the width are dropped, so the
// pad stays zero; a run past the stride is bad data.
#include <algorithm>
#include <cstring>
#include <string>

#include "dib/kv_errors.h"
#include "dib/kv_rle.h"
#include "dib/kv_rle_geometry.h"

namespace quill::dib {
namespace {

[[noreturn]] void BadData(const char* routine, int step) {
  throw EKvDIBInvalidDIB(std::string(routine) + ": Bad RLE Data " + std::to_string(step));
}

// The readable part of the stream: ImageSize bytes, and never more than the
// mapping holds.
std::size_t StreamLength(const TDIBInfo& info) {
  if (info.Bits() == nullptr || info.ImageSize <= 0) return 0;
  return std::min(static_cast<std::size_t>(info.ImageSize), info.Pixels.size());
}

// The uncompressed image the decoded rows go to: the source's description
// with compression 0 and a zeroed block.
TDIBInfo MakeTarget(const TDIBInfo& source, const rle::Geometry& g) {
  TDIBInfo out = CopyDescription(source);
  out.Header.biCompression = kBiRgb;
  out.Header.biSizeImage = 0;
  out.ImageSize = g.block;
  out.Pixels = GetFileMap(static_cast<std::size_t>(g.block));
  return out;
}

// Pixel x of a 4-bit row: an even x starts a byte (its low half cleared),
// an odd x completes it.
inline void PutNibble(std::uint8_t* row, std::int64_t x, unsigned value) {
  std::uint8_t& b = row[x >> 1];
  if ((x & 1) == 0) {
    b = static_cast<std::uint8_t>(value << 4);
  } else {
    b = static_cast<std::uint8_t>(b | (value & 0x0F));
  }
}

// Of `count` pixels from x, those left of the width.
inline std::size_t Visible(std::int64_t x, std::size_t count, std::int64_t width) {
  return x >= width ? 0 : std::min(count, static_cast<std::size_t>(width - x));
}

}  // namespace

TDIBInfo Convert8BitRLETo8BitRGB(const TDIBInfo& source) {
  constexpr const char* kName = "Convert8BitRLETo8BitRGB";
  if (source.Header.biBitCount != 8 || source.Header.biCompression != kBiRle8) {
    throw EKvDIBBadDIBType(std::string(kName) + ": Invalid Bitcount & Compression Combination");
  }
  const rle::Geometry g = rle::GeometryOf(source, 8, kName);
  TDIBInfo out = MakeTarget(source, g);

  const std::uint8_t* in = source.Bits();
  const std::size_t end = StreamLength(source);
  std::uint8_t* const pixels = out.Bits();
  std::size_t pos = 0;
  std::int64_t x = 0, y = 0;
  while (end - pos >= 2) {
    const unsigned n = in[pos], v = in[pos + 1];
    pos += 2;
    if (n > 0) {
      x += n;
      if (x > g.stride || y >= g.height) BadData(kName, 4);
      std::memset(pixels + y * g.stride + (x - n), static_cast<int>(v), Visible(x - n, n, g.width));
    } else if (v == 0) {
      ++y;
      x = 0;
      if (y > g.height) BadData(kName, 1);
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      if (end - pos < 2) break;
      x += in[pos];
      y += in[pos + 1];
      pos += 2;
      if (x > g.stride || y > g.height) BadData(kName, 2);
    } else {
      x += v;
      if (x > g.stride || y >= g.height) BadData(kName, 3);
      const std::size_t present = std::min<std::size_t>(v, end - pos);
      std::memcpy(pixels + y * g.stride + (x - v), in + pos, Visible(x - v, present, g.width));
      if (present < v) break;
      pos = std::min(end, pos + v + (v & 1));
    }
  }
  return out;
}

TDIBInfo Convert4BitRLETo4BitRGB(const TDIBInfo& source) {
  constexpr const char* kName = "Convert4BitRLETo4BitRGB";
  if (source.Header.biBitCount != 4 || source.Header.biCompression != kBiRle4) {
    throw EKvDIBBadDIBType(std::string(kName) + ": Invalid Bitcount & Compression Combination");
  }
  const rle::Geometry g = rle::GeometryOf(source, 4, kName);
  TDIBInfo out = MakeTarget(source, g);
  const std::int64_t limit = 2 * g.stride;

  const std::uint8_t* in = source.Bits();
  const std::size_t end = StreamLength(source);
  std::uint8_t* const pixels = out.Bits();
  std::size_t pos = 0;
  std::int64_t x = 0, y = 0;
  while (end - pos >= 2) {
    const unsigned n = in[pos], v = in[pos + 1];
    pos += 2;
    if (n > 0) {
      if (x + n > limit || y >= g.height) BadData(kName, 8);
      std::uint8_t* row = pixels + y * g.stride;
      const std::size_t m = Visible(x, n, g.width);
      if ((x & 1) == 0) {
        // Byte-aligned: whole bytes of v, then a last high half.
        std::memset(row + (x >> 1), static_cast<int>(v), m >> 1);
        if (m & 1) PutNibble(row, x + static_cast<std::int64_t>(m) - 1, v >> 4);
      } else {
        for (std::size_t j = 0; j < m; ++j) {
          PutNibble(row, x + static_cast<std::int64_t>(j), (j & 1) ? v & 0x0F : v >> 4);
        }
      }
      x += n;
    } else if (v == 0) {
      ++y;
      x = 0;
      if (y > g.height) BadData(kName, 5);
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      if (end - pos < 2) break;
      x += in[pos];
      y += in[pos + 1];
      pos += 2;
      if (x > limit || y > g.height) BadData(kName, 6);
    } else {
      if (x + v > limit || y >= g.height) BadData(kName, 7);
      const std::size_t data = (v + 3) / 4 * 2;
      const std::size_t present = std::min<std::size_t>(v, (end - pos) * 2);
      std::uint8_t* row = pixels + y * g.stride;
      const std::size_t m = Visible(x, present, g.width);
      if ((x & 1) == 0) {
        std::memcpy(row + (x >> 1), in + pos, m >> 1);
        if (m & 1) PutNibble(row, x + static_cast<std::int64_t>(m) - 1, in[pos + (m >> 1)] >> 4);
      } else {
        for (std::size_t j = 0; j < m; ++j) {
          const unsigned b = in[pos + (j >> 1)];
          PutNibble(row, x + static_cast<std::int64_t>(j), (j & 1) ? b & 0x0F : b >> 4);
        }
      }
      if (present < v) break;
      pos = std::min(end, pos + data);
      x += v;
    }
  }
  return out;
}

}  // namespace quill::dib
