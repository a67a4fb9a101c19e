// Feeds arbitrary bytes to the bitmap-file reader. A rejected file must
// leave the default image; an accepted one must keep the invariants every
// later operation walks the pixels by, and survive a save and reload
// unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"

namespace {

using quill::dib::TDIBInfo;
using quill::dib::TKvDIB;

void Require(bool condition) {
  if (!condition) std::abort();
}

// A tiny file may describe a large image whose rows are left zero; copying
// such blocks around takes the time of thousands of inputs and takes no
// other path through the code.
constexpr std::int32_t kTouchLimit = 256 << 10;

void CheckInvariants(const TKvDIB& dib) {
  const TDIBInfo& info = dib.InternalDIB().DIBInfo;
  const auto& h = info.Header;
  const int bits = h.biBitCount;
  Require(bits == 1 || bits == 4 || bits == 8 || bits == 24);
  Require(h.biCompression == 0 || (h.biCompression == 1 && bits == 8) ||
          (h.biCompression == 2 && bits == 4));
  Require(h.biClrUsed <= 256 && h.biSize == 40);
  Require(dib.GetWidth() == h.biWidth && dib.GetWidth() > 0);
  Require(dib.GetHeight() == info.AbsHeight() && dib.GetHeight() > 0);
  Require(info.ImageSize >= 0 && info.Bits() != nullptr);
  if (h.biCompression == 0) Require(info.ImageSize >= info.Stride() * info.AbsHeight());
}

std::vector<std::uint8_t> Save(const TKvDIB& dib) {
  quill::dib::MemoryStream out;
  dib.SaveToStream(out);
  return {out.Bytes().begin(), out.Bytes().end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TKvDIB dib;
  quill::dib::MemoryStream in(std::vector<std::uint8_t>(data, data + size));
  try {
    dib.LoadFromStream(in);
  } catch (const quill::dib::Exception&) {
    const TDIBInfo& info = dib.InternalDIB().DIBInfo;
    Require(dib.GetWidth() == 1 && dib.GetHeight() == 1 && info.ImageSize == 4);
    return 0;
  }
  CheckInvariants(dib);
  const TDIBInfo& info = dib.InternalDIB().DIBInfo;
  if (info.ImageSize > kTouchLimit) return 0;

  const std::vector<std::uint8_t> saved = Save(dib);
  TKvDIB again;
  quill::dib::MemoryStream back(saved);
  again.LoadFromStream(back);  // what was written must read back
  const TDIBInfo& reread = again.InternalDIB().DIBInfo;
  Require(reread.Header == info.Header && reread.ImageSize == info.ImageSize);
  Require(std::memcmp(reread.ColorTable.data(), info.ColorTable.data(),
                      info.Header.biClrUsed * sizeof info.ColorTable[0]) == 0);
  Require(std::memcmp(reread.Bits(), info.Bits(), static_cast<std::size_t>(info.ImageSize)) == 0);
  Require(Save(again) == saved);
  return 0;
}
