// The packed DIB of the clipboard (CF_DIB): read into a body, written from
// one. The block comes from another program, so no length is trusted.
#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/kv_bitfields.h"
#include "dib/kv_dib_header.h"
#include "dib/kv_errors.h"
#include "dib/kv_internal_dib.h"

namespace quill::dib {
namespace {

[[noreturn]] void InvalidData() {
  throw EKvDIBInvalidDIB("TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
}

bool KnownBitCount(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Header, masks and colour table as the block holds them.
struct PackedLayout {
  ParsedHeader parsed;
  TBitFieldMasks masks;
  // Bytes before the pixels.
  std::uint64_t table_end = 0;
};

PackedLayout ReadLayout(const std::uint8_t* block, std::size_t size, TDIBInfo& info) {
  if (size < 4) InvalidData();
  const std::uint32_t header_size = GetU32(block);
  PackedLayout layout;
  if (header_size == kInfoHeaderSize) {
    if (size < kInfoHeaderSize) InvalidData();
    layout.parsed = ParseInfoHeader(block);
  } else if (header_size == kCoreHeaderSize) {
    if (size < kCoreHeaderSize) InvalidData();
    layout.parsed = ParseCoreHeader(block);
  } else {
    InvalidData();
  }
  const TBitmapInfoHeader& h = layout.parsed.header;
  if (h.biWidth == 0 || h.biHeight == 0) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid Width or Height");
  }
  if (!KnownBitCount(h.biBitCount)) {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
  }
  // A negative width, an impossible compression, a block too large.
  ValidateHeader(h);

  const std::uint64_t entry = static_cast<std::uint64_t>(layout.parsed.entry_size);
  const std::uint64_t mask_bytes = layout.parsed.has_masks ? 12 : 0;
  layout.table_end = header_size + mask_bytes + entry * h.biClrUsed;
  if (layout.table_end > size) InvalidData();

  const std::uint8_t* p = block + header_size;
  if (layout.parsed.has_masks) {
    layout.masks = {GetU32(p), GetU32(p + 4), GetU32(p + 8)};
    p += 12;
  }
  info.Header = h;
  info.Header.biClrUsed = std::min(h.biClrUsed, kMaxColors);
  for (std::uint32_t i = 0; i < info.Header.biClrUsed; ++i, p += entry) {
    info.ColorTable[i] = {p[0], p[1], p[2], entry == 4 ? p[3] : std::uint8_t{0}};
  }
  return layout;
}

// 1, 4, 8 and 24 bits: the rest of the block, as it is. Rows the block
// leaves out stay zero, so every walk over stride × height stays inside.
void CopyPlainPixels(const std::uint8_t* pixels, std::size_t length, TDIBInfo& info) {
  if (length > static_cast<std::uint64_t>(kMaxImageSize)) InvalidData();
  std::int64_t size = static_cast<std::int64_t>(length);
  if (!info.Compressed()) size = std::max<std::int64_t>(size, info.Stride() * info.AbsHeight());
  info.ImageSize = static_cast<std::int32_t>(size);
  info.Pixels = GetFileMap(static_cast<std::size_t>(size));
  if (length) std::memcpy(info.Bits(), pixels, length);
  if (info.Compressed()) info.Header.biSizeImage = static_cast<std::uint32_t>(length);
}

// 16 and 32 bits, widened to 24 bits row by row.
void WidenPixels(const std::uint8_t* pixels, std::size_t length, const TBitFieldMasks& masks,
                 TDIBInfo& info) {
  TBitmapInfoHeader& h = info.Header;
  const int bits = h.biBitCount;
  const BitFieldWidener widener(bits, h.biCompression == kBiBitFields ? masks : DefaultMasks(bits));
  const std::int64_t rows = info.AbsHeight();
  const std::int64_t source_stride = RowStride(h.biWidth, bits);
  const std::int64_t dest_stride = RowStride(h.biWidth, 24);
  if (static_cast<std::uint64_t>(source_stride * rows) > length) InvalidData();
  info.ImageSize = static_cast<std::int32_t>(dest_stride * rows);
  info.Pixels = GetFileMap(static_cast<std::size_t>(info.ImageSize));
  std::uint8_t* dest = info.Bits();
  for (std::int64_t y = 0; y < rows; ++y, dest += dest_stride, pixels += source_stride) {
    widener.WidenRow(pixels, dest, h.biWidth);
  }
  h.biBitCount = 24;
  h.biCompression = kBiRgb;
  h.biSizeImage = 0;
}

}  // namespace

void TKvInternalDIB::LoadFromPackedDIB(const std::uint8_t* block, std::size_t size) {
  TDIBInfo info;
  const PackedLayout layout = ReadLayout(block, size, info);
  const std::uint8_t* pixels = block + layout.table_end;
  const std::size_t length = size - static_cast<std::size_t>(layout.table_end);
  if (info.Header.biBitCount == 16 || info.Header.biBitCount == 32) {
    WidenPixels(pixels, length, layout.masks, info);
  } else {
    CopyPlainPixels(pixels, length, info);
  }
  // A failure above releases `info` with its block; only now is it installed.
  ReplaceImage(std::move(info));
}

std::size_t TKvInternalDIB::PackedDIBSize() const {
  const std::size_t entries = std::min(DIBInfo.Header.biClrUsed, kMaxColors);
  return kInfoHeaderSize + 4 * entries + static_cast<std::size_t>(DIBInfo.ImageSize);
}

void TKvInternalDIB::WritePackedDIB(std::uint8_t* block) const {
  const std::size_t table_bytes =
      4 * static_cast<std::size_t>(std::min(DIBInfo.Header.biClrUsed, kMaxColors));
  PutInfoHeader(block, DIBInfo.Header);
  std::memcpy(block + kInfoHeaderSize, DIBInfo.ColorTable.data(), table_bytes);
  std::memcpy(block + kInfoHeaderSize + table_bytes, DIBInfo.Bits(),
              static_cast<std::size_t>(DIBInfo.ImageSize));
}

}  // namespace quill::dib
