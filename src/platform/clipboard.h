#pragma once
// The system clipboard with its viewer chain, the global memory blocks its
// data lives in, and enhanced metafiles. Every operation reports failure by
// its result, as the system calls do; callers test results where it matters.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/types.h"

namespace quill::platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;

  // --- viewer chain ---
  // Puts `viewer` at the head of the chain and returns the window that was
  // there (0 if none). The viewer gets one WM_DRAWCLIPBOARD right away and
  // one after every later change of the clipboard.
  virtual WindowId SetViewer(WindowId viewer) = 0;
  // Takes `viewer` out of the chain; `next` is the window that followed it.
  // The window at the head is told with WM_CHANGECBCHAIN(viewer, next)
  // unless `viewer` itself was the head.
  virtual bool ChangeChain(WindowId viewer, WindowId next) = 0;
  // Also tells `window` of every change with WM_CLIPBOARDUPDATE (posted),
  // whether or not the viewer chain passes its notification on; false
  // where the system has no such listeners.
  virtual bool AddListener(WindowId window) = 0;
  virtual void RemoveListener(WindowId window) = 0;

  // --- access ---
  // One try: false while another window holds the clipboard open. Callers
  // open it through OpenPatiently (clipboard_guards.h), which tries again.
  virtual bool Open(WindowId owner) = 0;
  // Waits about `milliseconds` for another program to let go of the
  // clipboard. Messages other programs send to our windows are answered
  // meanwhile (the holder may be waiting for one of them), but nothing
  // posted to us runs: no command or capture starts inside another's open.
  virtual void WaitForRelease(unsigned milliseconds) = 0;
  virtual bool Close() = 0;
  // Empties the clipboard and makes the opening window its owner.
  virtual bool Empty() = 0;
  virtual int CountFormats() = 0;
  // The format after `previous` in the clipboard's order (0 starts); 0 at
  // the end. The owner's formats come first, then the ones the system
  // derives from them.
  virtual unsigned EnumFormats(unsigned previous) = 0;
  virtual bool IsFormatAvailable(unsigned format) = 0;
  // The data of a format; asks the owner to render a delayed format first.
  virtual DataHandle GetData(unsigned format) = 0;
  // Hands `data` to the clipboard (nullptr announces the format for delayed
  // rendering). On success the clipboard owns the data.
  virtual bool SetData(unsigned format, DataHandle data) = 0;
  // The registered name of a format, read through a 40-byte buffer (so at
  // most 39 characters); empty for a format without a registered name.
  virtual std::string GetFormatName(unsigned format) = 0;
  // Registers (or finds) a named format; 0 on failure.
  virtual unsigned RegisterFormat(const std::string& name) = 0;
  // A number that changes with every change of the clipboard's content and
  // with nothing else: one value is one clipboard state.
  virtual std::uint32_t SequenceNumber() = 0;

  // --- global memory ---
  // A movable block of `size` bytes, zero-filled; nullptr on failure.
  virtual DataHandle GlobalAlloc(std::size_t size) = 0;
  virtual void GlobalFree(DataHandle block) = 0;
  // The block's bytes; nullptr if the handle is not a global memory block.
  virtual void* GlobalLock(DataHandle block) = 0;
  virtual void GlobalUnlock(DataHandle block) = 0;
  virtual std::size_t GlobalSize(DataHandle block) = 0;

  // --- enhanced metafiles ---
  // The metafile's complete byte image; empty if the handle is not one.
  virtual std::vector<std::uint8_t> GetEnhMetaFileBits(DataHandle metafile) = 0;
  // A metafile made from its byte image; nullptr if the bytes are not one.
  virtual DataHandle SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) = 0;
  virtual void DeleteEnhMetaFile(DataHandle metafile) = 0;

  // Class name of the foreground window (read through a 64-character
  // buffer); empty if there is none.
  virtual std::string ForegroundClassName() = 0;
};

}  // namespace quill::platform
