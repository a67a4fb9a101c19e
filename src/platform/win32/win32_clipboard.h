#pragma once
// The system clipboard (user32, kernel32, gdi32).
#include "platform/clipboard.h"

namespace quill::platform {

class Win32Clipboard : public Clipboard {
 public:
  WindowId SetViewer(WindowId viewer) override;
  bool ChangeChain(WindowId viewer, WindowId next) override;

  bool AddListener(WindowId window) override;
  void RemoveListener(WindowId window) override;

  bool Open(WindowId owner) override;
  void WaitForRelease(unsigned milliseconds) override;
  bool Close() override;
  bool Empty() override;
  int CountFormats() override;
  unsigned EnumFormats(unsigned previous) override;
  bool IsFormatAvailable(unsigned format) override;
  DataHandle GetData(unsigned format) override;
  bool SetData(unsigned format, DataHandle data) override;
  std::string GetFormatName(unsigned format) override;
  unsigned RegisterFormat(const std::string& name) override;

  DataHandle GlobalAlloc(std::size_t size) override;
  void GlobalFree(DataHandle block) override;
  void* GlobalLock(DataHandle block) override;
  void GlobalUnlock(DataHandle block) override;
  std::size_t GlobalSize(DataHandle block) override;

  std::vector<std::uint8_t> GetEnhMetaFileBits(DataHandle metafile) override;
  DataHandle SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) override;
  void DeleteEnhMetaFile(DataHandle metafile) override;

  std::string ForegroundClassName() override;
  std::uint32_t SequenceNumber() override;
};

}  // namespace quill::platform
