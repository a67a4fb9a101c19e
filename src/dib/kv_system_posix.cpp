// The native side of the library: pixel memory in anonymous mappings, and
// an in-memory stand-in for logical palettes (there is no GDI here).
#include <sys/mman.h>

#include <cstdint>
#include <vector>

#include "dib/kv_errors.h"
#include "dib/kv_file_map.h"
#include "dib/kv_palette.h"

namespace quill::dib {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}  // namespace

FileMap GetFileMap(std::size_t size) {
  std::size_t length = size ? size : 1;
  // Whole huge pages, so that the block's tail is one of them too (and the
  // system aligns the mapping to them).
  if (length >= kHugePage && length <= SIZE_MAX - kHugePage) {
    length = (length + kHugePage - 1) / kHugePage * kHugePage;
  }
  // Anonymous pages come zero-filled and are only backed once touched.
  void* view = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (view == MAP_FAILED) throw EOutOfResources("GetFileMap: Cannot Make File Mapping Object");
#ifdef MADV_HUGEPAGE
  // A screen-sized block then takes a handful of page faults instead of
  // thousands; pages no one touches stay unbacked all the same.
  if (length >= kHugePage) ::madvise(view, length, MADV_HUGEPAGE);
#endif
  return FileMap(nullptr, static_cast<std::uint8_t*>(view), length);
}

void ReleaseFileMap(SectionHandle /*section*/, void* bits, std::size_t size) {
  if (::munmap(bits, size) != 0) {
    throw EKvDIBAssert("ReleaseFileMap: Failed To Unmap View of File map");
  }
}

namespace {
using StandInPalette = std::vector<PaletteEntry>;
}  // namespace

PaletteHandle CreateLogicalPalette(std::span<const PaletteEntry> entries) {
  if (entries.empty() || entries.size() > 0xFFFF) return nullptr;
  return new StandInPalette(entries.begin(), entries.end());
}

void DeleteLogicalPalette(PaletteHandle palette) { delete static_cast<StandInPalette*>(palette); }

std::vector<PaletteEntry> GetPaletteEntries(PaletteHandle palette) {
  if (!palette) return {};
  return *static_cast<const StandInPalette*>(palette);
}

}  // namespace quill::dib
