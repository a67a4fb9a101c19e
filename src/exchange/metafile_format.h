#pragma once
// The two metafile files the program reads and writes: an enhanced
// metafile as its bytes, and a Windows metafile behind the 22-byte
// placeable header. Every size in a file is checked against the file.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quill::exchange {

// The placeable header's bounding box, in its units per inch.
struct PlaceableBox {
  std::int16_t left = 0, top = 0, right = 0, bottom = 0;
  std::uint16_t inch = 0;  // as stored; 0 stands for 96
};

enum class MetafileKind { kInvalid, kEnhanced, kPlaceable };

struct MetafileContent {
  MetafileKind kind = MetafileKind::kInvalid;
  // The enhanced metafile's bytes, or the Windows metafile's records.
  std::span<const std::uint8_t> bytes;
  PlaceableBox box;  // placeable only
};

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableHeaderSize = 22;

// Decides by content what a metafile file holds.
MetafileContent ParseMetafile(std::span<const std::uint8_t> file);

// The frame rectangle's width and height (0.01 mm) of an enhanced
// metafile's header; none when the bytes hold no header.
struct FrameSize {
  std::int32_t width = 0, height = 0;
};
std::optional<FrameSize> EnhancedFrame(std::span<const std::uint8_t> emf);

// The placeable header for a picture of that frame at 96 units per inch.
std::array<std::uint8_t, kPlaceableHeaderSize> PlaceableHeader(const FrameSize& frame);

// The box's size in 0.01 mm, at its units per inch (96 when 0).
FrameSize BoxFrame(const PlaceableBox& box);

// Converts between the Windows and the enhanced form; the system does it.
class MetafileConverter {
 public:
  virtual ~MetafileConverter() = default;
  // An enhanced metafile of the records with the box as its frame, in the
  // anisotropic mapping mode; empty when the system refuses the records.
  virtual std::vector<std::uint8_t> WindowsToEnhanced(std::span<const std::uint8_t> records,
                                                      const PlaceableBox& box) = 0;
  // The Windows metafile records of an enhanced metafile, anisotropic, with
  // the screen as reference device; empty on failure.
  virtual std::vector<std::uint8_t> EnhancedToWindows(std::span<const std::uint8_t> emf) = 0;
};

}  // namespace quill::exchange
