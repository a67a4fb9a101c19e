// The contracts, run against the in-memory doubles.
#include <deque>

#include "clipboard_contract.h"
#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_storage.h"
#include "storage_contract.h"

namespace quill::platform::testing {
namespace {

class MemoryClipboardWorld : public ClipboardWorld {
 public:
  Clipboard& clipboard() override { return clipboard_; }

  TestWindow& NewWindow() override {
    TestWindow& window = windows_.emplace_back();
    window.id = desktop_.CreateWindow([&window](WindowId, unsigned m, WParam w, LParam l) {
      if (!IsClipboardMessage(m)) return LResult{0};
      window.received.push_back({m, w, l});
      if (window.on_message) window.on_message(window.received.back());
      return LResult{0};
    });
    return window;
  }

  void Pump() override { desktop_.PumpMessages(); }

 private:
  MemoryDesktop desktop_;
  MemoryClipboard clipboard_{desktop_};
  std::deque<TestWindow> windows_;  // stable addresses
};

class MemoryStorageWorld : public StorageWorld {
 public:
  StorageFiles& files() override { return files_; }
  std::u16string PathOf(const std::u16string& name) override { return u"C:\\memory\\" + name; }

 private:
  MemoryStorageFiles files_;
};

INSTANTIATE_TEST_SUITE_P(
    Memory, ClipboardContract,
    ::testing::Values(ClipboardWorldMaker{
        "Memory", [] { return std::unique_ptr<ClipboardWorld>(new MemoryClipboardWorld); }}),
    ClipboardMakerName);

const StorageWorldMaker kMemoryStorage{
    "Memory", [] { return std::unique_ptr<StorageWorld>(new MemoryStorageWorld); }};
INSTANTIATE_TEST_SUITE_P(Memory, StorageContract, ::testing::Values(kMemoryStorage),
                         StorageMakerName);
INSTANTIATE_TEST_SUITE_P(Memory, StorageContractWithFile, ::testing::Values(kMemoryStorage),
                         StorageMakerName);

}  // namespace
}  // namespace quill::platform::testing
