#include "exchange/bitmap_header.h"

#include <algorithm>

#include "dib/kv_dib_header.h"
#include "dib/kv_errors.h"

namespace quill::exchange {
namespace {

constexpr std::uint32_t kBiAlphaBitFields = 6;
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::size_t kMaskBytes = 12;

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
  // A profile inside the pixels' range is a lie the pixels win.
  if (header_size == kV5HeaderSize && dib::GetU32(header + 56) == kProfileEmbedded) {
    const std::uint64_t profile =
        kFileHeader + static_cast<std::uint64_t>(dib::GetU32(header + 112));
    if (profile >= off_bits && profile < body_end) {
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
