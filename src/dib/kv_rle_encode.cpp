// RLE encoders. A row is coded greedily: two or more equal bytes make a run,
// anything else a literal that stops before the next pair of equal bytes.
// Both are found from a bitmask of "equals the next byte", so most of a row
// is skipped a word at a time. The work buffer holds one row's worst case
// (a pair per byte) beyond the size of the uncompressed pixels, so codes are
// written without checks and each row is checked once it ends: the stream
// must still fit in that size, and a row that ends past it makes the
// compression fail instead of growing.
#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define QUILL_RLE_SSE2 1
#endif

#include "dib/kv_errors.h"
#include "dib/kv_rle.h"
#include "dib/kv_rle_geometry.h"

namespace quill::dib {
namespace {

struct Format {
  const char* name;
  int bits;
  std::uint32_t compression;
  unsigned max_length;  // bytes per run or literal
};

constexpr Format kRle8{"Convert8BitRGBTo8BitRLE", 8, kBiRle8, 255};
// Each byte holds two pixels, so 127 bytes keep a count within 255 pixels;
// an absolute run needs at least 3 pixels, which 2 bytes always are.
constexpr Format kRle4{"Convert4BitRGBTo4BitRLE", 4, kBiRle4, 127};

// Bit t of the result is set when p[t] == p[t + 1]; bits from n - 1 on are
// clear, so a run always ends within the row.
void EqualNeighbours(const std::uint8_t* p, std::size_t n, std::uint64_t* bits) {
  // One clear word more, so 64 bits can be read from any bit of the row.
  const std::size_t words = n / 64 + 2;
  std::size_t t = 0;
  // Whole words whose last comparison still reads inside the row.
  for (; t + 65 <= n; t += 64) {
    std::uint64_t mask = 0;
#ifdef QUILL_RLE_SSE2
    for (int q = 0; q < 4; ++q) {
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + t + 16 * q));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + t + 16 * q + 1));
      const auto m = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(here, next)));
      mask |= static_cast<std::uint64_t>(m) << (16 * q);
    }
#else
    if constexpr (std::endian::native == std::endian::little) {
      constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7FULL, kHighs = 0x8080808080808080ULL;
      for (int q = 0; q < 8; ++q) {
        std::uint64_t here, next;
        std::memcpy(&here, p + t + 8 * q, 8);
        std::memcpy(&next, p + t + 8 * q + 1, 8);
        const std::uint64_t diff = here ^ next;
        // High bit of each byte that is zero, exactly; then gathered into
        // the top byte, one bit per byte in order.
        const std::uint64_t zero = ~(((diff & kLows) + kLows) | diff) & kHighs;
        mask |= (((zero >> 7) * 0x0102040810204080ULL) >> 56) << (8 * q);
      }
    } else {
      for (int b = 0; b < 64; ++b)
        mask |= static_cast<std::uint64_t>(p[t + b] == p[t + b + 1]) << b;
    }
#endif
    bits[t / 64] = mask;
  }
  for (std::size_t w = t / 64; w < words; ++w) bits[w] = 0;
  for (; t + 1 < n; ++t) bits[t / 64] |= static_cast<std::uint64_t>(p[t] == p[t + 1]) << (t % 64);
}

// First set bit at or after `from`, or `until` when there is none before it.
std::size_t FirstSet(const std::uint64_t* bits, std::size_t from, std::size_t until) {
  std::size_t w = from / 64;
  std::uint64_t word = bits[w] >> (from % 64) << (from % 64);
  while (word == 0) {
    if (64 * (w + 1) >= until) return until;
    word = bits[++w];
  }
  return std::min(until, 64 * w + static_cast<std::size_t>(std::countr_zero(word)));
}

// First clear bit at or after `from`; found within the row since its last
// bit is clear.
std::size_t FirstClear(const std::uint64_t* bits, std::size_t from, std::size_t until) {
  std::size_t w = from / 64;
  std::uint64_t word = ~bits[w] >> (from % 64) << (from % 64);
  while (word == 0) {
    if (64 * (w + 1) >= until) return until;
    word = ~bits[++w];
  }
  return std::min(until, 64 * w + static_cast<std::size_t>(std::countr_zero(word)));
}

// Literal bytes are copied in blocks of this size, which may run past the
// codes and, where the pixels allow, past the literal.
constexpr std::size_t kCopySlack = 16;

// Codes one row of n bytes at `out` and returns the end; writes at most
// 2 * n + 2 bytes, plus up to kCopySlack past them. `readable` bytes from p
// may be read. Counts are given in bytes and written as pixels.
template <int kBits>
std::uint8_t* EncodeRow(const std::uint8_t* p, std::size_t n, std::size_t readable,
                        std::int64_t width, std::uint64_t* bits, std::uint8_t* out) {
  constexpr std::size_t kMax = kBits == 8 ? 255 : 127;
  // Literals this short are cheaper, or only possible, as pairs.
  constexpr std::size_t kMaxPairLiteral = kBits == 8 ? 2 : 1;
  std::int64_t written = 0;  // pixels so far; 4 bits only
  // An odd width ends on an odd count, never past the row.
  auto count = [&](std::size_t bytes) -> std::uint8_t {
    if constexpr (kBits == 8) {
      return static_cast<std::uint8_t>(bytes);
    } else {
      const auto c = std::min<std::int64_t>(static_cast<std::int64_t>(2 * bytes), width - written);
      written += c;
      return static_cast<std::uint8_t>(c);
    }
  };

  EqualNeighbours(p, n, bits);
  // Whole blocks of the row may be copied and stored past the codes.
  const bool blocks = n + kCopySlack <= readable;
  std::size_t i = 0;
  // The row's bits from i on; `valid` of them are known, the rest read as clear.
  std::uint64_t window = 0;
  unsigned valid = 0;
  while (i + 1 < n) {
    if constexpr (kBits == 8) {
      if (blocks) {
        // Screen text makes the kind of each code unpredictable, so both are
        // worked out and chosen without branches; the window is shifted
        // along rather than read again, which would hold up the next code.
        if (valid < 32) {
          const std::size_t s = i % 64;
          window = bits[i / 64] >> s | bits[i / 64 + 1] << 1 << (63 - s);
          valid = 64;
        }
        const bool is_run = window & 1;
        const auto ones = static_cast<unsigned>(std::countr_one(window));
        const auto gap = static_cast<unsigned>(std::countr_zero(window >> 1)) + 1;
        if (is_run ? ones < valid : gap < valid) {
          const std::size_t run = std::min<std::size_t>(ones + 1, kMax);
          const std::size_t length = std::min<std::size_t>({gap, kMax, n - i});
          const bool pairs = length <= kMaxPairLiteral;
          const std::uint8_t value = p[i];
          std::memcpy(out + 2, p + i, kCopySlack);
          if (!is_run && length > kCopySlack) {
            for (std::size_t k = kCopySlack; k < length; k += kCopySlack) {
              std::memcpy(out + 2 + k, p + i + k, kCopySlack);
            }
          }
          out[0] = static_cast<std::uint8_t>(is_run ? run : pairs ? 1 : 0);
          out[1] = is_run || pairs ? value : static_cast<std::uint8_t>(length);
          out[2] = pairs ? 1 : value;        // a second pair repeats the count
          out[is_run ? 2 : 2 + length] = 0;  // pads an odd absolute run
          out += is_run ? 2 : pairs ? 2 * length : 2 + length + (length & 1);
          const std::size_t step = is_run ? run : length;
          window = window >> (step - 1) >> 1;  // step may be 64
          valid -= static_cast<unsigned>(step);
          i += step;
          continue;
        }
        // The code goes past the window: a fresh one, or the long way.
        const bool fresh = valid == 64;
        valid = 0;
        if (!fresh) continue;
      }
    }
    if (bits[i / 64] >> (i % 64) & 1) {
      const std::size_t end = FirstClear(bits, i, i + kMax);
      const std::size_t run = std::min(end - i + 1, kMax);
      out[0] = count(run);
      out[1] = p[i];
      out += 2;
      i += run;
      continue;
    }
    // Up to the byte before the next equal pair, so that pair can start a run.
    const std::size_t next = FirstSet(bits, i + 1, std::min(n, i + kMax));
    const std::size_t length = std::min({next - i, kMax, n - i});
    if (length <= kMaxPairLiteral) {
      for (std::size_t k = 0; k < length; ++k) {
        out[0] = count(1);
        out[1] = p[i + k];
        out += 2;
      }
    } else {
      out[0] = 0;
      out[1] = count(length);
      if (blocks) {
        for (std::size_t k = 0; k < length; k += kCopySlack)
          std::memcpy(out + 2 + k, p + i + k, kCopySlack);
      } else {
        std::memcpy(out + 2, p + i, length);
      }
      out += 2 + length;
      if (length & 1) *out++ = 0;
    }
    i += length;
  }
  if (i < n) {
    out[0] = count(1);
    out[1] = p[i];
    out += 2;
  }
  out[0] = 0;
  out[1] = 0;
  return out + 2;
}

template <int kBits>
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
  const auto fail = [&] { return EKvDIBCompressionFailed(name + ": Compression Failed"); };

  const auto capacity = static_cast<std::size_t>(g.block);
  const auto row_bytes = static_cast<std::size_t>(kBits == 8 ? g.width : (g.width + 1) / 2);
  // Rows are checked once they are written, so the last one may overrun the
  // capacity by its worst case before the compression fails.
  const std::unique_ptr<std::uint8_t[]> work(
      new std::uint8_t[capacity + 2 * row_bytes + 2 + 2 * kCopySlack]);
  std::vector<std::uint64_t> bits(row_bytes / 64 + 2);
  std::uint8_t* out = work.get();
  const bool top_down = source.Header.biHeight < 0;
  for (std::int64_t r = 0; r < g.height; ++r) {
    // Bottom row first, whatever the source's order.
    const std::int64_t row = top_down ? g.height - 1 - r : r;
    const auto offset = static_cast<std::size_t>(row * g.stride);
    out = EncodeRow<kBits>(source.Bits() + offset, row_bytes, source.Pixels.size() - offset,
                           g.width, bits.data(), out);
    // Room for the end-of-bitmap code is still needed.
    if (static_cast<std::size_t>(out - work.get()) + 2 > capacity) throw fail();
  }
  if (static_cast<std::size_t>(out - work.get()) + 2 > capacity) throw fail();
  out[0] = 0;
  out[1] = 1;
  out += 2;

  const auto length = static_cast<std::size_t>(out - work.get());
  TDIBInfo result = CopyDescription(source);
  result.Header.biHeight = static_cast<std::int32_t>(g.height);
  result.Header.biCompression = format.compression;
  result.Header.biSizeImage = static_cast<std::uint32_t>(length);
  result.ImageSize = static_cast<std::int32_t>(length);
  result.Pixels = GetFileMap(length);
  std::memcpy(result.Bits(), work.get(), length);
  return result;
}

}  // namespace

TDIBInfo Convert8BitRGBTo8BitRLE(const TDIBInfo& source) { return Encode<8>(source, kRle8); }

TDIBInfo Convert4BitRGBTo4BitRLE(const TDIBInfo& source) { return Encode<4>(source, kRle4); }

}  // namespace quill::dib
