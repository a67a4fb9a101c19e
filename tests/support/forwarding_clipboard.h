#pragma once
// A clipboard that passes every call to another: the base of test
// decorators that change one answer of a real or in-memory clipboard.
#include "platform/clipboard.h"

namespace quill::platform::testing {

class ForwardingClipboard : public Clipboard {
 public:
  explicit ForwardingClipboard(Clipboard& real) : real_(real) {}
  WindowId SetViewer(WindowId v) override { return real_.SetViewer(v); }
  bool ChangeChain(WindowId v, WindowId n) override { return real_.ChangeChain(v, n); }
  bool AddListener(WindowId w) override { return real_.AddListener(w); }
  void RemoveListener(WindowId w) override { real_.RemoveListener(w); }
  bool Open(WindowId owner) override { return real_.Open(owner); }
  void WaitForRelease(unsigned ms) override { real_.WaitForRelease(ms); }
  bool Close() override { return real_.Close(); }
  bool Empty() override { return real_.Empty(); }
  int CountFormats() override { return real_.CountFormats(); }
  unsigned EnumFormats(unsigned previous) override { return real_.EnumFormats(previous); }
  bool IsFormatAvailable(unsigned format) override { return real_.IsFormatAvailable(format); }
  DataHandle GetData(unsigned format) override { return real_.GetData(format); }
  bool SetData(unsigned format, DataHandle data) override { return real_.SetData(format, data); }
  std::string GetFormatName(unsigned format) override { return real_.GetFormatName(format); }
  unsigned RegisterFormat(const std::string& name) override { return real_.RegisterFormat(name); }
  std::uint32_t SequenceNumber() override { return real_.SequenceNumber(); }
  DataHandle GlobalAlloc(std::size_t size) override { return real_.GlobalAlloc(size); }
  void GlobalFree(DataHandle block) override { real_.GlobalFree(block); }
  void* GlobalLock(DataHandle block) override { return real_.GlobalLock(block); }
  void GlobalUnlock(DataHandle block) override { real_.GlobalUnlock(block); }
  std::size_t GlobalSize(DataHandle block) override { return real_.GlobalSize(block); }
  std::vector<std::uint8_t> GetEnhMetaFileBits(DataHandle metafile) override {
    return real_.GetEnhMetaFileBits(metafile);
  }
  DataHandle SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) override {
    return real_.SetEnhMetaFileBits(bytes);
  }
  void DeleteEnhMetaFile(DataHandle metafile) override { real_.DeleteEnhMetaFile(metafile); }
  std::string ForegroundClassName() override { return real_.ForegroundClassName(); }

 private:
  Clipboard& real_;
};

}  // namespace quill::platform::testing
