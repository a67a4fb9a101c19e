#include "exchange/metafile_format.h"

#include <algorithm>
#include <cmath>

namespace quill::exchange {
namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEnhSignature = 0x464D4520;  // " EMF"
// The smallest enhanced-metafile header record (without the later
// extensions); a file needs at least that and the end record.
constexpr std::uint32_t kEnhHeaderMin = 80;
constexpr std::size_t kEnhMinFile = 100;
// A Windows metafile's own header: 9 words.
constexpr std::size_t kWindowsHeaderSize = 18;

std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

void Put16(std::uint8_t* to, std::uint16_t v) {
  to[0] = static_cast<std::uint8_t>(v);
  to[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint16_t Checksum(std::span<const std::uint8_t> header) {
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < 20; i += 2) sum ^= U16(header, i);
  return sum;
}

// The Windows metafile header must describe records that lie in the file:
// Wine takes records that claim more than there is.
bool WindowsRecordsValid(std::span<const std::uint8_t> records) {
  if (records.size() < kWindowsHeaderSize) return false;
  const std::uint16_t type = U16(records, 0);
  const std::uint16_t header_words = U16(records, 2);
  const std::uint64_t total = static_cast<std::uint64_t>(U32(records, 6)) * 2;
  return (type == 1 || type == 2) && header_words == kWindowsHeaderSize / 2 &&
         total >= kWindowsHeaderSize && total <= records.size();
}

std::int16_t Saturate16(double v) {
  return static_cast<std::int16_t>(std::clamp(v, -32768.0, 32767.0));
}

}  // namespace

MetafileContent ParseMetafile(std::span<const std::uint8_t> file) {
  MetafileContent content;
  if (file.size() > kEnhMinFile && U32(file, 0) == kEmrHeader && U32(file, 40) == kEnhSignature) {
    // The total size decides the picture's bytes; it must lie within the
    // file and hold at least the header record it starts with.
    const std::uint32_t header = U32(file, 4);
    const std::uint32_t total = U32(file, 48);
    if (header < kEnhHeaderMin || total < header || total < kEnhMinFile || total > file.size())
      return content;
    content.kind = MetafileKind::kEnhanced;
    content.bytes = file.first(total);
    return content;
  }
  if (file.size() < kPlaceableHeaderSize || U32(file, 0) != kPlaceableKey ||
      U16(file, 20) != Checksum(file))
    return content;
  const auto records = file.subspan(kPlaceableHeaderSize);
  if (!WindowsRecordsValid(records)) return content;
  content.kind = MetafileKind::kPlaceable;
  content.box = {static_cast<std::int16_t>(U16(file, 6)), static_cast<std::int16_t>(U16(file, 8)),
                 static_cast<std::int16_t>(U16(file, 10)), static_cast<std::int16_t>(U16(file, 12)),
                 U16(file, 14)};
  content.bytes = records;
  return content;
}

std::optional<FrameSize> EnhancedFrame(std::span<const std::uint8_t> emf) {
  if (emf.size() < kEnhHeaderMin || U32(emf, 0) != kEmrHeader || U32(emf, 40) != kEnhSignature)
    return std::nullopt;
  const auto i32 = [&](std::size_t at) {
    return static_cast<std::int64_t>(static_cast<std::int32_t>(U32(emf, at)));
  };
  return FrameSize{
      static_cast<std::int32_t>(std::clamp<std::int64_t>(i32(32) - i32(24), INT32_MIN, INT32_MAX)),
      static_cast<std::int32_t>(std::clamp<std::int64_t>(i32(36) - i32(28), INT32_MIN, INT32_MAX))};
}

std::array<std::uint8_t, kPlaceableHeaderSize> PlaceableHeader(const FrameSize& frame) {
  std::array<std::uint8_t, kPlaceableHeaderSize> header{};
  Put16(&header[0], static_cast<std::uint16_t>(kPlaceableKey));
  Put16(&header[2], static_cast<std::uint16_t>(kPlaceableKey >> 16));
  Put16(&header[10],
        static_cast<std::uint16_t>(Saturate16(std::round(frame.width * 96.0 / 2540.0))));
  Put16(&header[12],
        static_cast<std::uint16_t>(Saturate16(std::round(frame.height * 96.0 / 2540.0))));
  Put16(&header[14], 96);
  Put16(&header[20], Checksum(header));
  return header;
}

FrameSize BoxFrame(const PlaceableBox& box) {
  const double inch = box.inch == 0 ? 96.0 : box.inch;
  return {static_cast<std::int32_t>(std::lround((box.right - box.left) * 2540.0 / inch)),
          static_cast<std::int32_t>(std::lround((box.bottom - box.top) * 2540.0 / inch))};
}

}  // namespace quill::exchange
