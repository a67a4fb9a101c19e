// Reading a Windows bitmap file into a body.
#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/kv_bitfields.h"
#include "dib/kv_dib_header.h"
#include "dib/kv_errors.h"
#include "dib/kv_internal_dib.h"
#include "dib/kv_stream.h"

namespace quill::dib {
namespace {

[[noreturn]] void ReadError() { throw EReadError("Stream read error"); }

// Reads the table entries that fit into the in-memory table and skips the
// rest. Masks, when present, come first.
void ReadColorTable(Stream& stream, const ParsedHeader& parsed, TDIBInfo& info,
                    TBitFieldMasks& masks) {
  if (parsed.has_masks) {
    std::uint8_t bytes[12];
    stream.ReadBuffer(bytes, sizeof bytes);
    masks = {GetU32(bytes), GetU32(bytes + 4), GetU32(bytes + 8)};
  }
  const std::uint32_t count = parsed.header.biClrUsed;
  const std::uint32_t kept = std::min(count, kMaxColors);
  const auto entry = static_cast<std::size_t>(parsed.entry_size);
  std::uint8_t bytes[kMaxColors * 4];
  stream.ReadBuffer(bytes, kept * entry);
  for (std::uint32_t i = 0; i < kept; ++i) {
    const std::uint8_t* e = bytes + i * entry;
    // Four-byte entries keep their fourth byte; three-byte ones gain a zero.
    info.ColorTable[i] = {e[0], e[1], e[2], entry == 4 ? e[3] : std::uint8_t{0}};
  }
  stream.Skip(static_cast<std::uint64_t>(count - kept) * entry);
}

// Some writers leave a gap after the table; bfOffBits then finds the pixels.
// An offset into the headers or the table, or past the end of the file, is
// not believed: the pixels follow the table. Returns where the pixels start,
// counted from the file's first byte, with the stream moved there.
std::uint64_t SeekPixels(Stream& stream, std::uint64_t file_start, std::uint32_t off_bits) {
  const std::uint64_t table_end = stream.Position() - file_start;
  if (off_bits < table_end || file_start + off_bits >= stream.Size()) return table_end;
  stream.Skip(off_bits - table_end);
  return off_bits;
}

// The pixel bytes bfSize announces after the pixel offset. It may not be
// negative nor more than the stream holds: such a file is cut short, and
// nothing is allocated for it.
std::int64_t AnnouncedPixelBytes(std::uint32_t bf_size, std::uint64_t pixel_offset,
                                 const Stream& stream) {
  const std::int64_t announced =
      static_cast<std::int64_t>(bf_size) - static_cast<std::int64_t>(pixel_offset);
  if (announced < 0 || static_cast<std::uint64_t>(announced) > stream.Remaining() ||
      announced > kMaxImageSize) {
    ReadError();
  }
  return announced;
}

// 1, 4, 8 and 24 bits, read as they come. Uncompressed rows the file leaves
// out stay zero, so every walk over stride × height stays in the block.
void ReadPlainPixels(Stream& stream, std::int64_t announced, TDIBInfo& info) {
  std::int64_t size = announced;
  if (!info.Compressed()) size = std::max<std::int64_t>(size, info.Stride() * info.AbsHeight());
  info.ImageSize = static_cast<std::int32_t>(size);
  info.Pixels = GetFileMap(static_cast<std::size_t>(size));
  stream.ReadBuffer(info.Bits(), static_cast<std::size_t>(announced));
  // The stored size of a compressed image is its stream's length.
  if (info.Compressed()) info.Header.biSizeImage = static_cast<std::uint32_t>(announced);
}

// 16 and 32 bits, widened to 24 bits row by row.
void ReadWidenedPixels(Stream& stream, const TBitFieldMasks& file_masks, TDIBInfo& info) {
  TBitmapInfoHeader& h = info.Header;
  const int bits = h.biBitCount;
  const TBitFieldMasks masks = h.biCompression == kBiBitFields ? file_masks : DefaultMasks(bits);
  const BitFieldWidener widener(bits, masks);
  const std::int64_t rows = info.AbsHeight();
  const std::int64_t source_stride = RowStride(h.biWidth, bits);
  const std::int64_t dest_stride = RowStride(h.biWidth, 24);
  if (static_cast<std::uint64_t>(source_stride * rows) > stream.Remaining()) ReadError();
  info.ImageSize = static_cast<std::int32_t>(dest_stride * rows);
  info.Pixels = GetFileMap(static_cast<std::size_t>(info.ImageSize));
  std::vector<std::uint8_t> row(static_cast<std::size_t>(source_stride));
  std::uint8_t* dest = info.Bits();
  for (std::int64_t y = 0; y < rows; ++y, dest += dest_stride) {
    stream.ReadBuffer(row.data(), row.size());
    widener.WidenRow(row.data(), dest, h.biWidth);
  }
  h.biBitCount = 24;
  h.biCompression = kBiRgb;
  h.biSizeImage = 0;
}

}  // namespace

void TKvInternalDIB::LoadFromStream(Stream& stream) {
  // The file need not start the stream; its offsets count from its first byte.
  const std::uint64_t file_start = stream.Position();
  std::uint8_t file_header[kFileHeaderSize];
  stream.ReadBuffer(file_header, sizeof file_header);
  if (GetU16(file_header) != 0x4D42) {
    throw EKvDIBInvalidDIBFile("TKvInternalDIB.LoadFromFile: File type is invalid");
  }
  const std::uint32_t bf_size = GetU32(file_header + 2);
  const std::uint32_t off_bits = GetU32(file_header + 10);

  std::uint8_t header[kInfoHeaderSize];
  stream.ReadBuffer(header, 4);
  const std::uint32_t header_size = GetU32(header);
  ParsedHeader parsed;
  if (header_size == kInfoHeaderSize) {
    stream.ReadBuffer(header + 4, kInfoHeaderSize - 4);
    parsed = ParseInfoHeader(header);
    const int bits = parsed.header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
      throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid BitCout");
    }
  } else if (header_size == kCoreHeaderSize) {
    stream.ReadBuffer(header + 4, kCoreHeaderSize - 4);
    parsed = ParseCoreHeader(header);
    const int bits = parsed.header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
      throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid BitCount");
    }
  } else {
    throw EKvDIBInvalidDIB("TKvInternalDIB.LoadFromStream: Invalid Bitmap Header Size");
  }
  // Every field is checked before anything is read or allocated for it.
  ValidateHeader(parsed.header);

  TDIBInfo info;
  info.Header = parsed.header;
  TBitFieldMasks masks;
  ReadColorTable(stream, parsed, info, masks);
  info.Header.biClrUsed = std::min(parsed.header.biClrUsed, kMaxColors);
  // Without a gap the pixel size counts every table entry of the file, also
  // those not kept.
  const std::uint64_t pixel_offset = SeekPixels(stream, file_start, off_bits);

  if (info.Header.biBitCount == 16 || info.Header.biBitCount == 32) {
    ReadWidenedPixels(stream, masks, info);
  } else {
    ReadPlainPixels(stream, AnnouncedPixelBytes(bf_size, pixel_offset, stream), info);
  }
  // A failure above releases `info` with its block; only now is it installed.
  ReplaceImage(std::move(info));
}

}  // namespace quill::dib
