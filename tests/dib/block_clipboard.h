#pragma once
// A clipboard of plain memory blocks for the imaging tests: it records how
// it was used (open, locks, blocks freed) so tests can see every path
// closes and unlocks what it opened.
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "dib/kv_clipboard.h"

namespace quill::dib::testing {

class BlockClipboard final : public TKvClipboard {
 public:
  bool Open() override {
    if (refuse_open || open) return false;
    open = true;
    return true;
  }
  void Close() override { open = false; }
  bool Empty() override {
    ++empties;
    for (auto& [format, block] : data) GlobalFree(block);
    data.clear();
    return true;
  }
  ClipboardHandle GetData(unsigned format) override {
    const auto found = data.find(format);
    return found == data.end() ? nullptr : found->second;
  }
  bool SetData(unsigned format, ClipboardHandle block) override {
    if (refuse_data) return false;
    data[format] = block;
    return true;
  }
  ClipboardHandle GlobalAlloc(std::size_t size) override {
    if (refuse_memory) return nullptr;
    auto block = std::make_unique<std::vector<std::uint8_t>>(size);
    ClipboardHandle handle = block.get();
    blocks[handle] = std::move(block);
    return handle;
  }
  void GlobalFree(ClipboardHandle block) override { blocks.erase(block); }
  void* GlobalLock(ClipboardHandle block) override {
    const auto found = blocks.find(block);
    if (found == blocks.end()) return nullptr;
    ++locks;
    return found->second->data();
  }
  void GlobalUnlock(ClipboardHandle) override { --locks; }
  std::size_t GlobalSize(ClipboardHandle block) override {
    const auto found = blocks.find(block);
    return found == blocks.end() ? 0 : found->second->size();
  }

  // Puts a copy of `bytes` on the clipboard under `format`.
  void Put(unsigned format, const std::vector<std::uint8_t>& bytes) {
    ClipboardHandle block = GlobalAlloc(bytes.size());
    *blocks[block] = bytes;
    data[format] = block;
  }
  // The bytes of a format's block; empty if absent.
  std::vector<std::uint8_t> Bytes(unsigned format) {
    const auto found = data.find(format);
    return found == data.end() ? std::vector<std::uint8_t>{} : *blocks.at(found->second);
  }

  bool open = false;
  bool refuse_open = false;
  bool refuse_data = false;
  bool refuse_memory = false;
  int empties = 0;
  int locks = 0;  // locks not yet unlocked
  std::map<unsigned, ClipboardHandle> data;
  std::map<ClipboardHandle, std::unique_ptr<std::vector<std::uint8_t>>> blocks;
};

}  // namespace quill::dib::testing
