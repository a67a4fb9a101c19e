// Feeds arbitrary bytes to PNG import. A refused file raises the PNG error
// and nothing else; an accepted one must give a packed DIB the imaging
// library reads with the sizes its header claims, and survive export and
// import again unchanged.
#include <cstdint>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_dib_header.h"
#include "dib_invariants.h"
#include "exchange/png_codec.h"

namespace {

using quill::fuzz::Require;
namespace dib = quill::dib;
namespace exchange = quill::exchange;

// Larger pictures take the same paths; they only take longer.
constexpr std::uint64_t kPixelLimit = 1 << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  exchange::DecodedPng decoded;
  try {
    decoded = exchange::DecodePng({data, size}, kPixelLimit);
  } catch (const exchange::EPngError&) {
    return 0;
  }
  const std::vector<std::uint8_t>& block = decoded.dib;
  Require(block.size() >= dib::kInfoHeaderSize && dib::GetU32(block.data()) == 40);
  const std::int32_t width = dib::GetI32(block.data() + 4);
  const std::int32_t height = dib::GetI32(block.data() + 8);
  const int bits = dib::GetU16(block.data() + 14);
  const std::uint32_t colors = dib::GetU32(block.data() + 32);
  Require(width > 0 && height > 0 && colors <= 256);
  Require((bits == 32) == decoded.alpha);
  Require(block.size() ==
          40 + 4 * std::uint64_t{colors} + dib::RowStride(width, bits) * std::uint64_t(height));

  dib::TKvDIB picture;
  picture.MutableInternalDIB().LoadFromPackedDIB(block.data(), block.size());
  quill::fuzz::CheckInvariants(picture);
  const std::vector<std::uint8_t> alpha = exchange::AlphaOfPackedDib(block);
  // A picture that is transparent all over reads as one whose fourth bytes
  // are unused, as the system leaves them: it comes back opaque.
  if (decoded.alpha && alpha.empty()) return 0;
  const auto again = exchange::DecodePng(exchange::EncodePng(picture, alpha), kPixelLimit);
  Require(again.dib == block);
  return 0;
}
