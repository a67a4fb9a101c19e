// A DIB object on the clipboard: loaded from and handed over as CF_DIB.
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"

namespace quill::dib {
namespace {

// The locked bytes of a global memory block, unlocked on every path.
class LockedBlock {
 public:
  LockedBlock(TKvClipboard& memory, ClipboardHandle block)
      : memory_(memory),
        block_(block),
        bytes_(static_cast<std::uint8_t*>(memory.GlobalLock(block))) {
    if (bytes_) size_ = memory.GlobalSize(block);
  }
  ~LockedBlock() {
    if (bytes_) memory_.GlobalUnlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;

  std::uint8_t* bytes() const { return bytes_; }
  std::size_t size() const { return size_; }

 private:
  TKvClipboard& memory_;
  ClipboardHandle block_;
  std::uint8_t* bytes_;
  std::size_t size_ = 0;
};

}  // namespace

void TKvDIB::LoadFromClipboardFormat(unsigned format, ClipboardHandle data,
                                     ClipboardHandle /*palette*/, TKvClipboard& memory) {
  if (format != kClipboardFormat || !data) {
    throw EInvalidGraphic("TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data");
  }
  Body("TKvDIB.LoadFromClipboardFormat");
  ReplaceInternalDIB(new TKvInternalDIB());
  {
    const LockedBlock block(memory, data);
    // A handle that is no memory block holds no DIB.
    if (!block.bytes()) {
      throw EKvDIBInvalidDIB("TKvDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
    }
    internal_dib_->LoadFromPackedDIB(block.bytes(), block.size());
  }
  UpdatePaletteModified();
  Changed();
}

void TKvDIB::SaveToClipboardFormat(unsigned& format, ClipboardHandle& data,
                                   ClipboardHandle& palette, TKvClipboard& memory) const {
  const TKvInternalDIB& body = Body("TKvDIB.SaveToClipboardFormat");
  const std::size_t size = body.PackedDIBSize();
  ClipboardHandle block = memory.GlobalAlloc(size);
  if (!block) throw EOutOfMemory("TKvInternalDIB.SaveToClipboardFormat: Out Of Memory");
  {
    const LockedBlock locked(memory, block);
    if (!locked.bytes()) {
      memory.GlobalFree(block);
      throw EOutOfMemory("TKvInternalDIB.SaveToClipboardFormat: Out Of Memory");
    }
    body.WritePackedDIB(locked.bytes());
  }
  format = kClipboardFormat;
  data = block;
  palette = nullptr;
}

}  // namespace quill::dib
