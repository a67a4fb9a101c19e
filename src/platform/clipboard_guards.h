#pragma once
// Scoped ownership for the clipboard's resources: the clipboard is closed,
// a block unlocked and a block or metafile freed on every path, unless its
// ownership was handed to the clipboard.
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "platform/clipboard.h"

namespace quill::platform {

// How long an opening waits for another program to let go of the
// clipboard. Clipboard tools, remote-desktop clients and password managers
// open it on every change and hold it for some milliseconds.
inline constexpr unsigned kOpenPatienceMs = 400;

// Opens the clipboard, trying again with growing pauses (1, 2, 4 ... ms,
// at most 50) while another program holds it, until `patience_ms` have
// been waited. False if it was still held then.
inline bool OpenPatiently(Clipboard& clipboard, WindowId owner,
                          unsigned patience_ms = kOpenPatienceMs) {
  unsigned waited = 0;
  for (unsigned pause = 1;; pause = pause < 50 ? pause * 2 : 50) {
    if (clipboard.Open(owner)) return true;
    if (waited >= patience_ms) return false;
    clipboard.WaitForRelease(pause);
    waited += pause;
  }
}

// Holds the clipboard open for the lifetime of the object; opened
// patiently, as every opening of ours is.
class ClipboardSession {
 public:
  ClipboardSession(Clipboard& clipboard, WindowId owner, unsigned patience_ms = kOpenPatienceMs)
      : clipboard_(clipboard), open_(OpenPatiently(clipboard, owner, patience_ms)) {}
  ~ClipboardSession() {
    if (open_) clipboard_.Close();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool is_open() const { return open_; }

 private:
  Clipboard& clipboard_;
  bool open_;
};

// Base for a clipboard data handle that is freed unless released.
template <typename Free>
class OwnedData {
 public:
  OwnedData(Clipboard& clipboard, DataHandle handle) : clipboard_(&clipboard), handle_(handle) {}
  ~OwnedData() { reset(); }
  OwnedData(OwnedData&& other) noexcept
      : clipboard_(other.clipboard_), handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedData& operator=(OwnedData&& other) noexcept {
    if (this != &other) {
      reset();
      clipboard_ = other.clipboard_;
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OwnedData(const OwnedData&) = delete;
  OwnedData& operator=(const OwnedData&) = delete;

  DataHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives up ownership, for a handle the clipboard now owns.
  DataHandle release() { return std::exchange(handle_, nullptr); }
  void reset() {
    if (handle_) Free{}(*clipboard_, std::exchange(handle_, nullptr));
  }

 protected:
  Clipboard* clipboard_;
  DataHandle handle_;
};

struct FreeGlobal {
  void operator()(Clipboard& c, DataHandle h) const { c.GlobalFree(h); }
};
struct FreeEnhMetafile {
  void operator()(Clipboard& c, DataHandle h) const { c.DeleteEnhMetaFile(h); }
};

// A movable global memory block of our own.
class GlobalBlock : public OwnedData<FreeGlobal> {
 public:
  GlobalBlock(Clipboard& clipboard, std::size_t size)
      : OwnedData(clipboard, clipboard.GlobalAlloc(size)) {}
};

// An enhanced metafile of our own.
class EnhMetafile : public OwnedData<FreeEnhMetafile> {
 public:
  EnhMetafile(Clipboard& clipboard, std::span<const std::uint8_t> bytes)
      : OwnedData(clipboard, clipboard.SetEnhMetaFileBits(bytes)) {}
};

// Puts owned data on the open clipboard; ownership passes to the clipboard
// only if it accepted the data, otherwise the data stays ours and is freed.
template <typename Owned>
bool HandOver(Clipboard& clipboard, unsigned format, Owned& data) {
  if (!data || !clipboard.SetData(format, data.get())) return false;
  data.release();
  return true;
}

// The locked bytes of a global memory block (owned or not), unlocked at the
// end of the scope. Empty when the handle is not a global memory block.
class GlobalView {
 public:
  GlobalView(Clipboard& clipboard, DataHandle block)
      : clipboard_(clipboard), block_(block), data_(block ? clipboard.GlobalLock(block) : nullptr) {
    if (data_) size_ = clipboard.GlobalSize(block);
  }
  ~GlobalView() {
    if (data_) clipboard_.GlobalUnlock(block_);
  }
  GlobalView(const GlobalView&) = delete;
  GlobalView& operator=(const GlobalView&) = delete;

  bool locked() const { return data_ != nullptr; }
  std::span<std::uint8_t> bytes() const { return {static_cast<std::uint8_t*>(data_), size_}; }

 private:
  Clipboard& clipboard_;
  DataHandle block_;
  void* data_;
  std::size_t size_ = 0;
};

}  // namespace quill::platform
