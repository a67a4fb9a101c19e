#pragma once
// The fixed-size dialog's two edits, read as the size of the rectangle that
// follows the pointer.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill::capture {

struct FixSize {
  std::int16_t width = 32;
  std::int16_t height = 32;
};

// Either a size or the message to show (the dialog then stays open).
struct FixSizeResult {
  std::optional<FixSize> size;
  std::u16string error;
};

// Each text must be a whole decimal number (leading blanks and a sign
// allowed) from 1 to 32767: anything else would make an empty, inverted or
// truncated rectangle.
FixSizeResult ParseFixSize(std::u16string_view width_text, std::u16string_view height_text);

}  // namespace quill::capture
