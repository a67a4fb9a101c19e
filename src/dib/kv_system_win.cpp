// The Windows side of the library: pixel memory in page-file backed
// sections and GDI logical palettes. Only this file and the drawing see
// the system headers.
#include <windows.h>

#include <cstring>
#include <vector>

#include "dib/kv_errors.h"
#include "dib/kv_file_map.h"
#include "dib/kv_palette.h"

namespace quill::dib {

FileMap GetFileMap(std::size_t size) {
  const std::uint64_t length = size ? size : 1;
  HANDLE section = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                        static_cast<DWORD>(length >> 32),
                                        static_cast<DWORD>(length & 0xFFFFFFFFu), nullptr);
  if (!section) throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
  void* view = ::MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0);
  if (!view) {
    ::CloseHandle(section);
    throw EOutOfResources("GetFileMap: Cannot Make View of File Map");
  }
  return FileMap(section, static_cast<std::uint8_t*>(view), static_cast<std::size_t>(length));
}

void ReleaseFileMap(SectionHandle section, void* bits, std::size_t /*size*/) {
  const bool unmapped = ::UnmapViewOfFile(bits) != FALSE;
  // The section is closed even when the view would not go, so it is not lost.
  const bool closed = ::CloseHandle(section) != FALSE;
  if (!unmapped) throw EKvDIBAssert("ReleaseFileMap: Failed To Unmap View of File map");
  if (!closed) throw EKvDIBAssert("ReleaseFileMap: Failed To Close File Map");
}

PaletteHandle CreateLogicalPalette(std::span<const PaletteEntry> entries) {
  if (entries.empty() || entries.size() > 0xFFFF) return nullptr;
  // LOGPALETTE ends in a one-entry array that the real entries run past.
  std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(entries.size());
  static_assert(sizeof(PALETTEENTRY) == sizeof(PaletteEntry));
  std::memcpy(palette->palPalEntry, entries.data(), entries.size() * sizeof(PALETTEENTRY));
  return ::CreatePalette(palette);
}

void DeleteLogicalPalette(PaletteHandle palette) { ::DeleteObject(static_cast<HPALETTE>(palette)); }

std::vector<PaletteEntry> GetPaletteEntries(PaletteHandle palette) {
  WORD count = 0;
  if (!palette || ::GetObjectW(static_cast<HPALETTE>(palette), sizeof count, &count) == 0) {
    return {};
  }
  std::vector<PaletteEntry> entries(count);
  static_assert(sizeof(PALETTEENTRY) == sizeof(PaletteEntry));
  const UINT got = ::GetPaletteEntries(static_cast<HPALETTE>(palette), 0, count,
                                       reinterpret_cast<PALETTEENTRY*>(entries.data()));
  entries.resize(got);
  return entries;
}

}  // namespace quill::dib
