#include "exchange/bitmap_header.h"

#include <algorithm>

#include "dib/kv_dib_header.h"
#include "dib/kv_errors.h"

namespace quill::exchange {
namespace {

constexpr std::uint32_t kBiAlphaBitFields = 6;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::size_t kMaskBytes = 12;

// Where the pixels end: from `off_bits`, or from the colour table's end when
// the offset reaches back into the headers (the library does not believe
// it), the rows of an uncompressed image or the stored size of a
// compressed one; past the file's end when the header claims more than the
// file holds.
std::uint64_t PixelsEnd(std::span<const std::uint8_t> file, std::uint64_t headers,
                        std::uint64_t off_bits) {
  const std::uint8_t* header = file.data() + dib::kFileHeaderSize;
  if (off_bits < headers) {
    const std::uint32_t colors = dib::GetU32(header + 32);
    off_bits = headers + 4 * static_cast<std::uint64_t>(
                                 colors ? colors : dib::ColorCount(dib::GetU16(header + 14)));
  }
  const std::int64_t width = dib::GetI32(header + 4);
  const std::int64_t height = dib::GetI32(header + 8);
  const int bits = dib::GetU16(header + 14);
  const std::uint32_t compression = dib::GetU32(header + 16);
  if (compression == dib::kBiRle8 || compression == dib::kBiRle4)
    return off_bits + static_cast<std::uint64_t>(dib::GetU32(header + 20));
  const std::int64_t stride = dib::RowStride(std::max<std::int64_t>(width, 0), bits);
  const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
  if (stride > 0 && rows > file.size() / static_cast<std::uint64_t>(stride)) return UINT64_MAX;
  return off_bits + rows * static_cast<std::uint64_t>(stride);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> WithInfoHeader(std::span<const std::uint8_t> file) {
  constexpr std::size_t kFileHeader = dib::kFileHeaderSize;
  if (file.size() < kFileHeader + 4 || dib::GetU16(file.data()) != 0x4D42) return std::nullopt;
  const std::uint8_t* header = file.data() + kFileHeader;
  const std::uint32_t header_size = dib::GetU32(header);
  if (header_size != kV4HeaderSize && header_size != kV5HeaderSize) return std::nullopt;
  if (file.size() < kFileHeader + header_size) throw dib::EReadError("Stream read error");

  std::uint32_t compression = dib::GetU32(header + 16);
  // The alpha mask has no place in a 40-byte header, and the library drops
  // alpha whatever the masks say.
  if (compression == kBiAlphaBitFields) compression = dib::kBiBitFields;
  const bool masks = compression == dib::kBiBitFields;
  const std::size_t new_headers = kFileHeader + dib::kInfoHeaderSize + (masks ? kMaskBytes : 0);
  const std::size_t old_headers = kFileHeader + header_size;
  const std::uint32_t shrink = static_cast<std::uint32_t>(old_headers - new_headers);

  std::uint32_t bf_size = dib::GetU32(file.data() + 2);
  const std::uint32_t off_bits = dib::GetU32(file.data() + 10);
  std::size_t body_end = file.size();
  // An embedded profile usually follows the pixels; it is not picture data.
  // A profile said to start among the headers or the pixels is a lie the
  // pixels win: only one behind both is cut off.
  if (header_size == kV5HeaderSize && dib::GetU32(header + 56) == kProfileEmbedded) {
    const std::uint64_t profile =
        kFileHeader + static_cast<std::uint64_t>(dib::GetU32(header + 112));
    if (profile >= std::max<std::uint64_t>(PixelsEnd(file, old_headers, off_bits), old_headers) &&
        profile < body_end) {
      body_end = static_cast<std::size_t>(profile);
      if (bf_size > profile) bf_size = static_cast<std::uint32_t>(profile);
    }
  }

  std::vector<std::uint8_t> out(new_headers + (body_end - old_headers));
  std::uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  // A size or an offset that reached into the old header stays one the
  // library refuses or disbelieves.
  dib::PutU32(p + 2, bf_size >= old_headers ? bf_size - shrink : 0);
  dib::PutU32(p + 6, 0);
  dib::PutU32(p + 10, off_bits >= old_headers ? off_bits - shrink : 0);
  std::uint8_t* info = p + kFileHeader;
  std::copy_n(header, dib::kInfoHeaderSize, info);
  dib::PutU32(info, dib::kInfoHeaderSize);
  dib::PutU32(info + 16, compression);
  if (masks) std::copy_n(header + dib::kInfoHeaderSize, kMaskBytes, info + dib::kInfoHeaderSize);
  std::copy(file.begin() + static_cast<std::ptrdiff_t>(old_headers),
            file.begin() + static_cast<std::ptrdiff_t>(body_end), out.begin() + new_headers);
  return out;
}

}  // namespace quill::exchange
