#include "dib/kv_convert_widen.h"

#include "dib/kv_convert_common.h"

namespace quill::dib {

namespace {

constexpr const char* kBadInput = "Invalid Bitcount & Compression Combination";

unsigned Pixel8(const std::uint8_t* row, std::int64_t x) { return row[x]; }

// Walks the rows of both images in memory order; `read` gives pixel x of a
// source row and `write` stores it in the destination row.
template <class Read, class Write>
TDIBInfo Widen(const TDIBInfo& source, int source_bits, int dest_bits, const char* routine,
               Read read, Write write) {
  RequireUncompressed(source, source_bits, routine, kBadInput);
  TDIBInfo dest = NewConvertedImage(source, dest_bits);
  MapPixels(source, dest, write, read);
  return dest;
}

void StoreNibble(std::uint8_t* row, std::int64_t x, unsigned index) {
  // The destination is zeroed, so OR-ing places either half.
  row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? index : index << 4);
}

void StoreByte(std::uint8_t* row, std::int64_t x, unsigned index) {
  row[x] = static_cast<std::uint8_t>(index);
}

// The entry of `index` as blue, green, red.
auto StoreEntry(const TDIBInfo& source) {
  return [&table = source.ColorTable](std::uint8_t* row, std::int64_t x, unsigned index) {
    const TRGBQuad& c = table[index];
    std::uint8_t* p = row + 3 * x;
    p[0] = c.rgbBlue;
    p[1] = c.rgbGreen;
    p[2] = c.rgbRed;
  };
}

}  // namespace

TDIBInfo Convert1BitRGBTo4BitRGB(const TDIBInfo& source) {
  return Widen(source, 1, 4, "Convert1BitRGBTo4BitRGB", Pixel1, StoreNibble);
}

TDIBInfo Convert1BitRGBTo8BitRGB(const TDIBInfo& source) {
  return Widen(source, 1, 8, "Convert1BitRGBTo8BitRGB", Pixel1, StoreByte);
}

TDIBInfo Convert4BitRGBTo8BitRGB(const TDIBInfo& source) {
  return Widen(source, 4, 8, "Convert4BitRGBTo8BitRGB", Pixel4, StoreByte);
}

TDIBInfo Convert1BitRGBToTrueColor(const TDIBInfo& source) {
  return Widen(source, 1, 24, "Convert1BitRGBToTrueColor", Pixel1, StoreEntry(source));
}

TDIBInfo Convert4BitRGBToTrueColor(const TDIBInfo& source) {
  return Widen(source, 4, 24, "Convert4BitRGBToTrueColor", Pixel4, StoreEntry(source));
}

TDIBInfo Convert8BitRGBToTrueColor(const TDIBInfo& source) {
  return Widen(source, 8, 24, "Convert8BitRGBToTrueColor", Pixel8, StoreEntry(source));
}

}  // namespace quill::dib
