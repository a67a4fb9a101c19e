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
#include "dib_invariants.h"

namespace {

using quill::fuzz::CheckDefaultImage;
using quill::fuzz::CheckInvariants;
using quill::fuzz::kTouchLimit;
using quill::fuzz::Require;

using quill::dib::TDIBInfo;
using quill::dib::TKvDIB;

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
    CheckDefaultImage(dib);
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
