#pragma once
// The clipboard as the library's images use it: opened and emptied, data
// handles taken and handed over, and the movable global memory blocks the
// data lives in. The program supplies it over its own clipboard service.
#include <cstddef>

namespace quill::dib {

// A clipboard data handle's value (a global memory block or a palette);
// nullptr means none.
using ClipboardHandle = void*;

// CF_DIB and CF_PALETTE.
constexpr unsigned kCfDib = 8;
constexpr unsigned kCfPalette = 9;

class TKvClipboard {
 public:
  virtual ~TKvClipboard() = default;

  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual bool Empty() = 0;
  // nullptr when the format is absent.
  virtual ClipboardHandle GetData(unsigned format) = 0;
  // On success the clipboard owns `data`.
  virtual bool SetData(unsigned format, ClipboardHandle data) = 0;

  // A movable, zero-filled block; nullptr when there is no memory.
  virtual ClipboardHandle GlobalAlloc(std::size_t size) = 0;
  virtual void GlobalFree(ClipboardHandle block) = 0;
  // nullptr when the handle is not a global memory block.
  virtual void* GlobalLock(ClipboardHandle block) = 0;
  virtual void GlobalUnlock(ClipboardHandle block) = 0;
  virtual std::size_t GlobalSize(ClipboardHandle block) = 0;
};

}  // namespace quill::dib
