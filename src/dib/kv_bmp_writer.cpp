// Writing a body as a Windows bitmap file.
#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/kv_dib_header.h"
#include "dib/kv_internal_dib.h"
#include "dib/kv_stream.h"

namespace quill::dib {

void TKvInternalDIB::SaveToStream(Stream& stream) const {
  const TBitmapInfoHeader& h = DIBInfo.Header;
  const std::size_t table_bytes = static_cast<std::size_t>(std::min(h.biClrUsed, kMaxColors)) * 4;
  const std::size_t off_bits = kFileHeaderSize + kInfoHeaderSize + table_bytes;
  std::vector<std::uint8_t> head(off_bits);
  std::uint8_t* p = head.data();
  PutU16(p, 0x4D42);
  PutU32(p + 2, static_cast<std::uint32_t>(off_bits + static_cast<std::size_t>(DIBInfo.ImageSize)));
  PutU32(p + 6, 0);
  // The pixels always follow the table, whatever the source file had.
  PutU32(p + 10, static_cast<std::uint32_t>(off_bits));
  PutInfoHeader(p + kFileHeaderSize, h);
  std::memcpy(p + kFileHeaderSize + kInfoHeaderSize, DIBInfo.ColorTable.data(), table_bytes);
  stream.WriteBuffer(head.data(), head.size());
  stream.WriteBuffer(DIBInfo.Bits(), static_cast<std::size_t>(DIBInfo.ImageSize));
}

}  // namespace quill::dib
