// Test worlds made of the in-memory doubles.
#include <deque>

#include "clipboard_world.h"
#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_screen.h"
#include "platform/memory/memory_storage.h"
#include "screen_world.h"
#include "storage_world.h"

namespace quill::platform::testing {
namespace {

class MemoryClipboardWorld : public ClipboardWorld {
 public:
  Clipboard& clipboard() override { return clipboard_; }
  WindowMessages& messages() override { return desktop_; }

  TestWindow& NewWindow() override {
    TestWindow& window = windows_.emplace_back();
    window.id = desktop_.AddWindow([&window](WindowId, unsigned m, WParam w, LParam l) {
      if (!IsWatchedMessage(m)) return LResult{0};
      window.received.push_back({m, w, l});
      if (window.on_message) window.on_message(window.received.back());
      return LResult{0};
    });
    return window;
  }

  void Pump() override { desktop_.PumpMessages(); }
  void MakeForeground(const std::string& class_name) override {
    clipboard_.SetForegroundClassName(class_name);
  }
  void HoldClipboard(unsigned milliseconds) override { clipboard_.HoldFor(milliseconds); }
  void LetGoOfClipboard() override { clipboard_.EndHold(); }

 private:
  MemoryDesktop desktop_;
  MemoryClipboard clipboard_{desktop_};
  std::deque<TestWindow> windows_;  // stable addresses
};

class MemoryStorageWorld : public StorageWorld {
 public:
  StorageFiles& files() override { return files_; }
  std::u16string PathOf(const std::u16string& name) override { return u"C:\\memory\\" + name; }
  void WritePlainFile(const std::u16string& path, const std::string& bytes) override {
    files_.PutPlainFile(path, bytes);
  }
  std::string ReadPlainFile(const std::u16string& path) override {
    return files_.PlainFileBytes(path).value_or("<missing>");
  }

 private:
  MemoryStorageFiles files_;
};

class MemoryScreenWorld : public ScreenWorld {
 public:
  Screen& screen() override { return screen_; }
  WindowId ShowPopup(const Rect& rect, std::uint32_t colour) override {
    screen_.Paint(rect, colour);
    return screen_.AddWindow(rect, 0x94000000);  // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS
  }
  WindowId NewWindow() override {
    const WindowId window =
        desktop_.AddWindow([](WindowId, unsigned, WParam, LParam) { return LResult{0}; });
    screen_.Hide(window);
    return window;
  }

 private:
  MemoryDesktop desktop_;
  MemoryClipboard clipboard_{desktop_};
  MemoryScreen screen_{clipboard_, 640, 480};
};

}  // namespace

ClipboardWorldMaker MemoryClipboardWorldMaker() {
  return {"Memory", [] { return std::unique_ptr<ClipboardWorld>(new MemoryClipboardWorld); }};
}

ScreenWorldMaker MemoryScreenWorldMaker() {
  return {"Memory", [] { return std::unique_ptr<ScreenWorld>(new MemoryScreenWorld); }};
}

StorageWorldMaker MemoryStorageWorldMaker() {
  return {"Memory", [] { return std::unique_ptr<StorageWorld>(new MemoryStorageWorld); }};
}

}  // namespace quill::platform::testing
