// RLE encoders. Each row goes through a small state machine (pending single,
// run, literal) over its bytes; the stream is built in a buffer the size of
// the uncompressed pixels, and every write first checks that it leaves room
// for the end-of-line and end-of-bitmap codes still to come, so an image
// that does not compress fails instead of growing.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "dib/kv_errors.h"
#include "dib/kv_rle.h"
#include "dib/kv_rle_geometry.h"

namespace quill::dib {
namespace {

struct Format {
  const char* name;
  int bits;
  std::uint32_t compression;
  unsigned max_length;         // bytes per run or literal
  unsigned max_pair_literal;   // literals this short are written as pairs
};

constexpr Format kRle8{"Convert8BitRGBTo8BitRLE", 8, kBiRle8, 255, 2};
// Each byte holds two pixels, so 127 bytes keep a count within 255 pixels;
// an absolute run needs at least 3 pixels, which 2 bytes always are.
constexpr Format kRle4{"Convert4BitRGBTo4BitRLE", 4, kBiRle4, 127, 1};

// Bytes at `p` equal to `value`, at most `limit`; compares a word at a time
// because long runs are what screen images are made of.
std::size_t EqualPrefix(const std::uint8_t* p, std::size_t limit, std::uint8_t value) {
  std::size_t k = 0;
  if constexpr (std::endian::native == std::endian::little) {
    const std::uint64_t pattern = 0x0101010101010101ULL * value;
    while (limit - k >= 8) {
      std::uint64_t word;
      std::memcpy(&word, p + k, 8);
      if (const std::uint64_t diff = word ^ pattern) {
        return k + static_cast<std::size_t>(std::countr_zero(diff) / 8);
      }
      k += 8;
    }
  }
  while (k < limit && p[k] == value) ++k;
  return k;
}

// First k in [from, limit) with p[k] == p[k - 1], or limit; from ≥ 1. The
// stretch before it extends a literal, so text and icons skip ahead too.
std::size_t NextEqualNeighbour(const std::uint8_t* p, std::size_t from, std::size_t limit) {
  std::size_t k = from;
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
    while (limit - k >= 8) {
      std::uint64_t here, before;
      std::memcpy(&here, p + k, 8);
      std::memcpy(&before, p + k - 1, 8);
      const std::uint64_t diff = here ^ before;
      // Exact for the lowest zero byte, which is the one wanted.
      if (const std::uint64_t zero = (diff - kOnes) & ~diff & kHighs) {
        return k + static_cast<std::size_t>(std::countr_zero(zero) / 8);
      }
      k += 8;
    }
  }
  while (k < limit && p[k] != p[k - 1]) ++k;
  return k;
}

// Appends codes to the work buffer. Counts are given in bytes of the row and
// written as pixel counts.
class StreamWriter {
 public:
  StreamWriter(const Format& format, std::uint8_t* buffer, std::size_t capacity, std::int64_t width)
      : format_(format), buffer_(buffer), capacity_(capacity), width_(width) {}

  void BeginRow() { written_ = 0; }

  void Run(unsigned bytes, std::uint8_t value) {
    Room(6);
    Put(Count(bytes));
    Put(value);
  }

  void Literal(const std::uint8_t* data, unsigned bytes) {
    if (bytes == 0) throw EKvDIBAssert(std::string(format_.name) + ": WriteAbsolute Error");
    if (bytes <= format_.max_pair_literal) {
      for (unsigned i = 0; i < bytes; ++i) Run(1, data[i]);
      return;
    }
    const unsigned padded = bytes + (bytes & 1);
    Room(padded + 6);
    Put(0);
    Put(Count(bytes));
    std::memcpy(buffer_ + length_, data, bytes);
    length_ += bytes;
    if (bytes & 1) Put(0);
  }

  void EndOfLine() {
    Room(4);
    Put(0);
    Put(0);
  }

  void EndOfBitmap() {
    Room(2);
    Put(0);
    Put(1);
  }

  std::size_t length() const { return length_; }

 private:
  void Room(std::size_t needed) const {
    if (capacity_ - length_ < needed) {
      throw EKvDIBCompressionFailed(std::string(format_.name) + ": Compression Failed");
    }
  }
  void Put(unsigned byte) { buffer_[length_++] = static_cast<std::uint8_t>(byte); }

  // 4 bits: two pixels a byte, but never past the row's width, so an odd
  // width ends on an odd count.
  unsigned Count(unsigned bytes) {
    if (format_.bits == 8) return bytes;
    const auto count = static_cast<unsigned>(std::min<std::int64_t>(2 * bytes, width_ - written_));
    written_ += count;
    return count;
  }

  const Format& format_;
  std::uint8_t* buffer_;
  std::size_t capacity_;
  std::int64_t width_;
  std::size_t length_ = 0;
  std::int64_t written_ = 0;  // pixels of the current row
};

void EncodeRow(const std::uint8_t* p, std::size_t n, unsigned max, StreamWriter& out) {
  enum class State { kStart, kSingle, kRun, kLiteral };
  State state = State::kStart;
  std::uint8_t value = 0;
  unsigned count = 0;
  // A literal is always a stretch of the row itself.
  std::size_t literal = 0;
  unsigned literal_length = 0;
  out.BeginRow();
  for (std::size_t i = 0; i < n;) {
    const std::uint8_t pixel = p[i];
    switch (state) {
      case State::kStart:
        value = pixel;
        state = State::kSingle;
        ++i;
        break;
      case State::kSingle:
        if (pixel == value) {
          count = 2;
          state = State::kRun;
        } else {
          literal = i - 1;
          literal_length = 2;
          state = State::kLiteral;
        }
        ++i;
        break;
      case State::kRun:
        if (pixel == value && count < max) {
          const std::size_t more = EqualPrefix(p + i, std::min<std::size_t>(n - i, max - count), value);
          count += static_cast<unsigned>(more);
          i += more;
        } else {
          out.Run(count, value);
          state = State::kStart;  // this pixel starts anew
        }
        break;
      case State::kLiteral:
        if (pixel != p[literal + literal_length - 1]) {
          if (literal_length < max) {
            const std::size_t end = NextEqualNeighbour(p, i + 1, std::min<std::size_t>(n, i + max - literal_length));
            literal_length += static_cast<unsigned>(end - i);
            i = end;
          } else {
            out.Literal(p + literal, literal_length);
            state = State::kStart;
          }
        } else {
          // The literal's last byte and this pixel become a run.
          out.Literal(p + literal, literal_length - 1);
          value = pixel;
          count = 2;
          state = State::kRun;
          ++i;
        }
        break;
    }
  }
  switch (state) {
    case State::kSingle: out.Run(1, value); break;
    case State::kRun: out.Run(count, value); break;
    case State::kLiteral: out.Literal(p + literal, literal_length); break;
    case State::kStart: break;
  }
  out.EndOfLine();
}

TDIBInfo Encode(const TDIBInfo& source, const Format& format) {
  const std::string name = format.name;
  if (source.Header.biBitCount != format.bits || source.Header.biCompression != kBiRgb) {
    throw EKvDIBBadDIBType(name + ": Invalid Bitcount & Compression Combination");
  }
  const rle::Geometry g = rle::GeometryOf(source, format.bits, format.name);
  if (source.Bits() == nullptr || source.ImageSize < g.block ||
      source.Pixels.size() < static_cast<std::size_t>(g.block)) {
    throw EKvDIBInvalidDIB(name + ": Invalid Image Size");
  }

  const auto capacity = static_cast<std::size_t>(g.block);
  FileMap work = GetFileMap(capacity);
  StreamWriter out(format, work.bits(), capacity, g.width);
  const auto row_bytes = static_cast<std::size_t>(format.bits == 8 ? g.width : (g.width + 1) / 2);
  const bool top_down = source.Header.biHeight < 0;
  for (std::int64_t r = 0; r < g.height; ++r) {
    // Bottom row first, whatever the source's order.
    const std::int64_t row = top_down ? g.height - 1 - r : r;
    EncodeRow(source.Bits() + row * g.stride, row_bytes, format.max_length, out);
  }
  out.EndOfBitmap();

  TDIBInfo result = CopyDescription(source);
  const auto length = static_cast<std::int32_t>(out.length());
  result.Header.biHeight = static_cast<std::int32_t>(g.height);
  result.Header.biCompression = format.compression;
  result.Header.biSizeImage = static_cast<std::uint32_t>(length);
  result.ImageSize = length;
  result.Pixels = GetFileMap(out.length());
  std::memcpy(result.Bits(), work.bits(), out.length());
  return result;
}

}  // namespace

TDIBInfo Convert8BitRGBTo8BitRLE(const TDIBInfo& source) { return Encode(source, kRle8); }

TDIBInfo Convert4BitRGBTo4BitRLE(const TDIBInfo& source) { return Encode(source, kRle4); }

}  // namespace quill::dib
