#pragma once
// The system's conversion between Windows and enhanced metafiles.
#include "exchange/metafile_format.h"

namespace quill::exchange {

class Win32Metafiles final : public MetafileConverter {
 public:
  std::vector<std::uint8_t> WindowsToEnhanced(std::span<const std::uint8_t> records,
                                              const PlaceableBox& box) override;
  std::vector<std::uint8_t> EnhancedToWindows(std::span<const std::uint8_t> emf) override;
};

}  // namespace quill::exchange
