#pragma once
// A capturer over the screen double, wired to a recorder in automatic mode
// whose main window gets the clipboard's notifications, on a screen whose
// every pixel has its own colour: (x << 8) | y, never white.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "capture/capturer.h"
#include "core/recorder.h"
#include "fakes.h"
#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_screen.h"
#include "platform/memory/memory_storage.h"

namespace quill::capture::testing {

constexpr int kScreenWidth = 200;
constexpr int kScreenHeight = 150;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kPopup = 0x94000000;   // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS
constexpr std::uint32_t kFramed = 0x14CF0000;  // WS_OVERLAPPEDWINDOW | the same

inline std::uint32_t ScreenColour(int x, int y) { return std::uint32_t(x) << 8 | std::uint32_t(y); }

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest();
  ~CaptureTest() override;

  // The picture of the newest record, as the record puts it back.
  Picture NewestRecord();
  int Records() const { return recorder_->RecordCount(); }
  // A window capture in `mode` started and ended by Print Screen.
  void CaptureWindow(int mode);

  platform::MemoryDesktop desktop_;
  platform::MemoryClipboard clipboard_{desktop_};
  platform::MemoryScreen screen_{clipboard_, kScreenWidth, kScreenHeight};
  platform::MemoryStorageFiles files_;
  core::testing::ScriptedDialogs dialogs_;
  core::testing::ManualClock clock_;
  platform::WindowId main_ = 0;
  std::unique_ptr<core::testing::FakeView> view_;
  std::unique_ptr<core::Recorder> recorder_;
  std::unique_ptr<Capturer> capturer_;
};

}  // namespace quill::capture::testing
