// Feeds arbitrary bytes to the clipboard's packed-DIB reader as a CF_DIB
// block. A rejected block must leave the default image; an accepted one
// must keep the invariants later operations rely on, and survive being
// put back as a block and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "dib/kv_clipboard.h"
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"
#include "dib_invariants.h"

namespace {

using quill::fuzz::CheckDefaultImage;
using quill::fuzz::CheckInvariants;
using quill::fuzz::kTouchLimit;
using quill::fuzz::Require;

using quill::dib::ClipboardHandle;
using quill::dib::TDIBInfo;
using quill::dib::TKvDIB;

// Blocks are vectors; a handle is the vector's address.
class Blocks final : public quill::dib::TKvClipboard {
 public:
  bool Open() override { return true; }
  void Close() override {}
  bool Empty() override { return true; }
  ClipboardHandle GetData(unsigned) override { return nullptr; }
  bool SetData(unsigned, ClipboardHandle) override { return false; }
  ClipboardHandle GlobalAlloc(std::size_t size) override {
    saved_.assign(size, 0);
    return &saved_;
  }
  void GlobalFree(ClipboardHandle) override {}
  void* GlobalLock(ClipboardHandle block) override {
    return static_cast<std::vector<std::uint8_t>*>(block)->data();
  }
  void GlobalUnlock(ClipboardHandle) override {}
  std::size_t GlobalSize(ClipboardHandle block) override {
    return static_cast<std::vector<std::uint8_t>*>(block)->size();
  }

 private:
  std::vector<std::uint8_t> saved_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Its own copy, so that a read past the end is caught.
  std::vector<std::uint8_t> block(data, data + size);
  Blocks memory;
  TKvDIB dib;
  try {
    dib.LoadFromClipboardFormat(TKvDIB::kClipboardFormat, &block, nullptr, memory);
  } catch (const quill::dib::Exception&) {
    CheckDefaultImage(dib);
    return 0;
  }
  CheckInvariants(dib);
  const TDIBInfo& info = dib.InternalDIB().DIBInfo;
  if (info.ImageSize > kTouchLimit) return 0;

  unsigned format = 0;
  ClipboardHandle saved = nullptr;
  ClipboardHandle palette = nullptr;
  dib.SaveToClipboardFormat(format, saved, palette, memory);
  Require(format == 8 && saved && !palette);
  const std::vector<std::uint8_t> first = *static_cast<std::vector<std::uint8_t>*>(saved);
  std::vector<std::uint8_t> copy = first;
  TKvDIB again;
  again.LoadFromClipboardFormat(8, &copy, nullptr, memory);  // what was written must read back
  const TDIBInfo& reread = again.InternalDIB().DIBInfo;
  Require(reread.Header == info.Header && reread.ImageSize == info.ImageSize);
  Require(std::memcmp(reread.Bits(), info.Bits(), static_cast<std::size_t>(info.ImageSize)) == 0);
  again.SaveToClipboardFormat(format, saved, palette, memory);
  Require(*static_cast<std::vector<std::uint8_t>*>(saved) == first);
  return 0;
}
