#pragma once
// Bitmap files with the 108- and 124-byte headers (colour masks, colour
// space, profiles) that most image programs write today, rewritten as the
// same picture with the 40-byte header before the imaging library reads
// them. The library itself keeps reading only the 12- and 40-byte headers.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quill::exchange {

constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;

// The file with a 40-byte header when `file` is a bitmap file with a 108-
// or 124-byte header; nullopt for every other file, which is read as it is.
// Bit-field masks move behind the header (alpha-bit-fields become plain
// bit fields), colour-space fields are dropped, and an embedded profile
// behind the pixels is cut off; a linked profile's file name is never
// looked at. Offsets the library would not believe stay unbelievable, and
// a file cut short stays cut short, so the library gives the same error
// it gives for the 40-byte file. A file too short for its own header
// raises the library's EReadError.
std::optional<std::vector<std::uint8_t>> WithInfoHeader(std::span<const std::uint8_t> file);

}  // namespace quill::exchange
