#pragma once
// Logical palettes made from a colour table. On Windows these are GDI
// palettes; elsewhere an in-memory stand-in with the same entries, so the
// palette bookkeeping of the DIB classes runs in native tests too.
#include <cstdint>
#include <span>
#include <vector>

namespace quill::dib {

struct TDIBInfo;

// PALETTEENTRY: red, green, blue, flags.
struct PaletteEntry {
  std::uint8_t peRed = 0;
  std::uint8_t peGreen = 0;
  std::uint8_t peBlue = 0;
  std::uint8_t peFlags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

// A palette handle's value (HPALETTE on Windows); nullptr means none.
using PaletteHandle = void*;

// The system side, one implementation per platform.
// A palette (version 0x300) of the entries; nullptr on failure.
PaletteHandle CreateLogicalPalette(std::span<const PaletteEntry> entries);
void DeleteLogicalPalette(PaletteHandle palette);
// The entries a palette holds; empty for no palette.
std::vector<PaletteEntry> GetPaletteEntries(PaletteHandle palette);

// Owns one palette and deletes it at the end.
class LogicalPalette {
 public:
  LogicalPalette() = default;
  explicit LogicalPalette(PaletteHandle handle) : handle_(handle) {}
  ~LogicalPalette() { reset(); }
  LogicalPalette(LogicalPalette&& other) noexcept : handle_(other.handle_) {
    other.handle_ = nullptr;
  }
  LogicalPalette& operator=(LogicalPalette&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  LogicalPalette(const LogicalPalette&) = delete;
  LogicalPalette& operator=(const LogicalPalette&) = delete;

  PaletteHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) DeleteLogicalPalette(handle_);
    handle_ = nullptr;
  }

 private:
  PaletteHandle handle_ = nullptr;
};

// A palette of the biClrUsed table entries, flags 0. Raises EOutOfResources
// "GetPaletteFromDIBInfos: Cannot Make Palette".
LogicalPalette GetPaletteFromDIBInfos(const TDIBInfo& info);

}  // namespace quill::dib
