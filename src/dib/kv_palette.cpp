#include "dib/kv_palette.h"

#include <algorithm>

#include "dib/kv_dib_info.h"
#include "dib/kv_errors.h"

namespace quill::dib {

LogicalPalette GetPaletteFromDIBInfos(const TDIBInfo& info) {
  const std::size_t count = std::min<std::uint32_t>(info.Header.biClrUsed, kMaxColors);
  std::vector<PaletteEntry> entries(count);
  for (std::size_t i = 0; i < count; ++i) {
    const TRGBQuad& quad = info.ColorTable[i];
    entries[i] = {quad.rgbRed, quad.rgbGreen, quad.rgbBlue, 0};
  }
  PaletteHandle handle = CreateLogicalPalette(entries);
  if (!handle) throw EOutOfResources("GetPaletteFromDIBInfos: Cannot Make Palette");
  return LogicalPalette(handle);
}

}  // namespace quill::dib
