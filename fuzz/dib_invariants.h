#pragma once
// What every image a reader accepts must hold: later operations walk the
// pixels by these sizes. A broken invariant aborts, which the fuzzer reports.
#include <cstdint>
#include <cstdlib>

#include "dib/kv_dib.h"

namespace quill::fuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

// A tiny input may describe a large image whose rows are left zero; copying
// such blocks around takes the time of thousands of inputs and takes no
// other path through the code.
constexpr std::int32_t kTouchLimit = 256 << 10;

inline void CheckInvariants(const dib::TKvDIB& image) {
  const dib::TDIBInfo& info = image.InternalDIB().DIBInfo;
  const auto& h = info.Header;
  const int bits = h.biBitCount;
  Require(bits == 1 || bits == 4 || bits == 8 || bits == 24);
  Require(h.biCompression == 0 || (h.biCompression == 1 && bits == 8) ||
          (h.biCompression == 2 && bits == 4));
  Require(h.biClrUsed <= 256 && h.biSize == 40);
  Require(image.GetWidth() == h.biWidth && image.GetWidth() > 0);
  Require(image.GetHeight() == info.AbsHeight() && image.GetHeight() > 0);
  Require(info.ImageSize >= 0 && info.Bits() != nullptr);
  if (h.biCompression == 0) Require(info.ImageSize >= info.Stride() * info.AbsHeight());
}

// A rejected input leaves the default 1 × 1 image.
inline void CheckDefaultImage(const dib::TKvDIB& image) {
  Require(image.GetWidth() == 1 && image.GetHeight() == 1 &&
          image.InternalDIB().DIBInfo.ImageSize == 4);
}

}  // namespace quill::fuzz
