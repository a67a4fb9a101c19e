#pragma once
// The real main window over the in-memory clipboard, screen and storage,
// with scripted dialogs and a clock set by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fakes.h"
#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_screen.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_storage.h"
#include "platform/win32/win32_window_messages.h"
#include "pump.h"
#include "ui/main_form.h"
#include "ui/record_view.h"
#include "win32/lifetime.h"

namespace quill::ui {

inline constexpr DWORD kWait = 10000;

class FormOverDoubles : public ::testing::Test {
 public:
  void SetUp() override {
    form_ = std::make_unique<TFQuillet>(
        core::RecorderServices{clipboard_, messages_, files_, dialogs_, clock_}, screen_, shell_);
    ASSERT_TRUE(form_->Create());
    ASSERT_TRUE(form_->HasStorage());
    // The clipboard double tells the real window as the system would.
    desktop_.SetForeignWindows([](platform::WindowId window, unsigned message,
                                  platform::WParam wparam, platform::LParam lparam) {
      return static_cast<platform::LResult>(
          ::SendMessageW(reinterpret_cast<HWND>(window), message, wparam, lparam));
    });
    form_->Show(SW_SHOW);
    ::SetForegroundWindow(form_->hwnd());
    form_->FormActivate();  // automatic capture
    Pump();
    stray_before_ = win32::lifetime::StrayMessages();
  }
  void TearDown() override {
    if (form_) {
      dialogs_.answers = {platform::answer::kNo};
      ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
      Pump();
      form_.reset();
    }
    Pump();  // the quit message of the closed window is no later test's
    EXPECT_EQ(win32::lifetime::StrayMessages(), stray_before_)
        << "a message reached a destroyed window object";
  }
  // Lets the window handle what is waiting, including the showing of
  // captures that came quickly one after another, which waits a moment.
  void Pump() {
    PumpMessages();
    desktop_.PumpMessages();
    PumpWhile([this] { return form_ && form_->view().CapturesWaiting(); }, kWait);
  }
  // Pumps until `done` holds or the wait runs out; input from SendInput
  // arrives through the system's queue, not at once.
  template <typename Condition>
  bool PumpUntil(Condition done) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
      if (::GetTickCount() - start > kWait) return false;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      Pump();
    }
    return true;
  }
  // Another program copies a text.
  void Copy(const std::string& text) {
    CopyQuickly(text);
    Pump();
  }
  // The same, the window handling the change but not waiting to show it.
  void CopyQuickly(const std::string& text) {
    ASSERT_TRUE(clipboard_.Open(other_));
    clipboard_.Empty();
    const platform::DataHandle block = clipboard_.GlobalAlloc(text.size() + 1);
    std::memcpy(clipboard_.GlobalLock(block), text.c_str(), text.size() + 1);
    clipboard_.GlobalUnlock(block);
    clipboard_.SetData(platform::cf::kText, block);
    clipboard_.Close();
    PumpMessages();
    desktop_.PumpMessages();
    PumpMessages();
  }
  static void Press(std::initializer_list<WORD> keys) {
    std::vector<INPUT> input;
    for (WORD key : keys) {
      INPUT i = {};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = key;
      input.push_back(i);
    }
    for (auto key = keys.end(); key != keys.begin();) {
      INPUT i = {};
      i.type = INPUT_KEYBOARD;
      i.ki.wVk = *--key;
      i.ki.dwFlags = KEYEVENTF_KEYUP;
      input.push_back(i);
    }
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  }
  const TFQuillet::Controls& c() const { return form_->widgets(); }

  platform::MemoryDesktop desktop_;
  platform::MemoryClipboard clipboard_{desktop_};
  platform::MemoryScreen screen_{clipboard_, 1280, 1024};
  platform::MemoryShell shell_;
  platform::Win32WindowMessages messages_;
  platform::MemoryStorageFiles files_;
  core::testing::ScriptedDialogs dialogs_;
  core::testing::ManualClock clock_;
  platform::WindowId other_ = desktop_.AddWindow(
      [](platform::WindowId, unsigned, platform::WParam, platform::LParam) { return 0; });
  std::unique_ptr<TFQuillet> form_;
  unsigned long stray_before_ = 0;
};

}  // namespace quill::ui
