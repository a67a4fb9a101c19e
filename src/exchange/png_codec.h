#pragma once
// PNG to and from DIBs, through libspng. Portable: the clipboard blocks are
// plain bytes here, so round trips, the fuzzer and most tests run natively.
#include <cstdint>
#include <span>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_errors.h"

namespace quill::exchange {

// A PNG that cannot be read or written; the message says why, in English
// as the imaging library's do.
class EPngError : public dib::Exception {
 public:
  explicit EPngError(const std::string& message) : dib::Exception(message) {}
};

// The registered clipboard format that programs which understand PNG ask for.
inline constexpr char kPngClipboardFormat[] = "PNG";

// The most pixels an imported PNG may have: what a 32-bit DIB can hold.
inline constexpr std::uint64_t kMaxPngPixels = dib::kMaxImageSize / 4;

struct DecodedPng {
  // The packed DIB (CF_DIB block): 40-byte header, colour table, rows
  // bottom-up.
  std::vector<std::uint8_t> dib;
  // The DIB is 32-bit with the PNG's alpha, not premultiplied, in the
  // fourth byte of each pixel; otherwise it has no alpha at all.
  bool alpha = false;
};

bool IsPng(std::span<const std::uint8_t> bytes);

// Decodes a whole PNG. Indexed PNGs keep their palette (2 bits become 4),
// grey ones become a grey palette, colour ones 24 bits; 16-bit channels are
// divided down to 8 (65535 is 255, 257·n is n). Only where some pixel is not opaque (an alpha
// channel or a transparency chunk that takes effect) is the result 32-bit with alpha. Raises
// EPngError for a damaged or hostile file, before any result exists.
DecodedPng DecodePng(std::span<const std::uint8_t> file, std::uint64_t max_pixels = kMaxPngPixels);

// The fourth bytes of a 32-bit packed DIB, top row first, when they carry
// alpha: not all 0 (what the system leaves in unused bytes) nor all 255.
// Empty otherwise, and for every other block.
std::vector<std::uint8_t> AlphaOfPackedDib(std::span<const std::uint8_t> block);

// Encodes the picture losslessly: 1-, 4- and 8-bit pictures (also RLE) as
// indexed PNGs of that depth with their colour table, 24-bit ones as RGB,
// or as RGBA with `alpha` (one byte per pixel, top row first) when it is
// given. Raises EPngError when the library fails.
std::vector<std::uint8_t> EncodePng(const dib::TKvDIB& picture,
                                    std::span<const std::uint8_t> alpha = {});

}  // namespace quill::exchange
