#pragma once
// The clipboard, in memory, behaving as the system's does in everything the
// recorder relies on: formats listed in the order they were set with the
// derived formats after them, the viewer chain and its notifications,
// delayed rendering through the owner, 39-character format names, global
// memory blocks and enhanced metafiles as distinct kinds of handle.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/memory/memory_desktop.h"

namespace quill::platform {

class MemoryClipboard : public Clipboard {
 public:
  explicit MemoryClipboard(MemoryDesktop& desktop);
  ~MemoryClipboard() override;

  WindowId SetViewer(WindowId viewer) override;
  bool ChangeChain(WindowId viewer, WindowId next) override;
  bool AddListener(WindowId window) override;
  void RemoveListener(WindowId window) override;

  bool Open(WindowId owner) override;
  // Time passes only here: a hold of HoldFor ends once enough was waited.
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

  std::string ForegroundClassName() override { return foreground_class_; }
  std::uint32_t SequenceNumber() override { return sequence_; }

  // Bitmaps, as the screen double makes them: the bytes of a packed DIB
  // (info header, then the pixels). The clipboard derives CF_DIB from a
  // bitmap put on it as CF_BITMAP, as the system does.
  DataHandle CreateBitmap(std::vector<std::uint8_t> dib);
  void DeleteBitmap(DataHandle bitmap);
  // The bitmap's bytes; nullptr if the handle is no bitmap.
  std::vector<std::uint8_t>* BitmapBytes(DataHandle bitmap);

  // Test controls.
  // Another program opens the clipboard and keeps it open until
  // `milliseconds` have been waited through WaitForRelease, or EndHold.
  void HoldFor(unsigned milliseconds);
  void EndHold();
  unsigned WaitedMs() const { return waited_ms_; }
  void SetForegroundClassName(std::string name) { foreground_class_ = std::move(name); }
  // Number of handles not yet freed (blocks, metafiles, bitmaps), whether
  // the clipboard or the caller holds them.
  std::size_t LiveHandles() const { return objects_.size(); }
  WindowId Owner() const { return owner_; }

 private:
  enum class Kind { kGlobal, kEnhMetafile, kBitmap };
  struct Object {
    Kind kind;
    std::vector<std::uint8_t> bytes;
    int locks = 0;
  };
  struct Entry {
    unsigned format;
    DataHandle data;  // nullptr: announced for delayed rendering
    bool derived;
  };

  DataHandle NewObject(Kind kind, std::vector<std::uint8_t> bytes);
  Object* Find(DataHandle handle, Kind kind);
  void FreeData(DataHandle handle);
  Entry* FindEntry(unsigned format);
  void ClearEntries();
  void AddDerivedFormats();
  DataHandle Derive(unsigned format);
  // The packed DIB the derived picture formats are made from.
  const std::vector<std::uint8_t>* SourceDib();
  std::vector<std::uint8_t> TextOf(unsigned source);

  MemoryDesktop& desktop_;
  std::map<DataHandle, Object> objects_;
  std::uintptr_t next_handle_ = 0x1000;
  std::vector<Entry> entries_;
  std::map<std::string, unsigned> registered_;  // upper-case name -> format
  std::map<unsigned, std::string> names_;
  unsigned next_format_ = 0xC000;
  WindowId viewer_ = 0;
  std::vector<WindowId> listeners_;
  bool held_ = false;
  unsigned hold_ends_at_ = 0;
  unsigned waited_ms_ = 0;
  WindowId open_by_ = 0;
  bool open_ = false;
  bool changed_ = false;
  WindowId owner_ = 0;
  bool rendering_ = false;
  std::string foreground_class_;
  std::uint32_t sequence_ = 1;
};

}  // namespace quill::platform
