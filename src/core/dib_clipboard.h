#pragma once
// The recorder's clipboard service as the imaging library's clipboard, so
// that a DIB object can be loaded from and put on the clipboard the
// recorder works with (the system's, or a double in tests).
#include "dib/kv_clipboard.h"
#include "platform/clipboard_guards.h"

namespace quill::core {

class DibClipboard final : public dib::TKvClipboard {
 public:
  // `owner` is the window that opens the clipboard.
  DibClipboard(platform::Clipboard& clipboard, platform::WindowId owner)
      : clipboard_(clipboard), owner_(owner) {}

  bool Open() override { return platform::OpenPatiently(clipboard_, owner_); }
  void Close() override { clipboard_.Close(); }
  bool Empty() override { return clipboard_.Empty(); }
  dib::ClipboardHandle GetData(unsigned format) override { return clipboard_.GetData(format); }
  bool SetData(unsigned format, dib::ClipboardHandle data) override {
    return clipboard_.SetData(format, data);
  }
  dib::ClipboardHandle GlobalAlloc(std::size_t size) override {
    return clipboard_.GlobalAlloc(size);
  }
  void GlobalFree(dib::ClipboardHandle block) override { clipboard_.GlobalFree(block); }
  void* GlobalLock(dib::ClipboardHandle block) override { return clipboard_.GlobalLock(block); }
  void GlobalUnlock(dib::ClipboardHandle block) override { clipboard_.GlobalUnlock(block); }
  std::size_t GlobalSize(dib::ClipboardHandle block) override {
    return clipboard_.GlobalSize(block);
  }

 private:
  platform::Clipboard& clipboard_;
  platform::WindowId owner_;
};

}  // namespace quill::core
