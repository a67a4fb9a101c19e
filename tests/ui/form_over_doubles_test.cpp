// The real main window over the in-memory clipboard and storage: what is
// copied shows in the window's own controls; the keyboard works as in a
// dialog; the window can go at awkward moments without a message reaching
// a destroyed object.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fakes.h"
#include "framework/lifetime.h"
#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_storage.h"
#include "platform/win32/win32_window_messages.h"
#include "pump.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

constexpr DWORD kWait = 10000;

class FormOverDoubles : public ::testing::Test {
 public:
  void SetUp() override {
    form_ = std::make_unique<TFQuillet>(
        core::RecorderServices{clipboard_, messages_, files_, dialogs_, clock_});
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
    stray_before_ = framework::lifetime::StrayMessages();
  }
  void TearDown() override {
    if (form_) {
      dialogs_.answers = {platform::answer::kNo};
      ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
      Pump();
      form_.reset();
    }
    Pump();  // the quit message of the closed window is no later test's
    EXPECT_EQ(framework::lifetime::StrayMessages(), stray_before_)
        << "a message reached a destroyed window object";
  }
  void Pump() {
    PumpMessages();
    desktop_.PumpMessages();
    PumpMessages();
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
    ASSERT_TRUE(clipboard_.Open(other_));
    clipboard_.Empty();
    const platform::DataHandle block = clipboard_.GlobalAlloc(text.size() + 1);
    std::memcpy(clipboard_.GlobalLock(block), text.c_str(), text.size() + 1);
    clipboard_.GlobalUnlock(block);
    clipboard_.SetData(platform::cf::kText, block);
    clipboard_.Close();
    Pump();
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
  platform::Win32WindowMessages messages_;
  platform::MemoryStorageFiles files_;
  core::testing::ScriptedDialogs dialogs_;
  core::testing::ManualClock clock_;
  platform::WindowId other_ = desktop_.AddWindow(
      [](platform::WindowId, unsigned, platform::WParam, platform::LParam) { return 0; });
  std::unique_ptr<TFQuillet> form_;
  unsigned long stray_before_ = 0;
};

TEST_F(FormOverDoubles, WhatIsCopiedShowsInTheWindowsOwnControls) {
  Copy("alpha");
  Copy("beta");
  ASSERT_EQ(c().ListView->Count(), 2);
  EXPECT_EQ(c().ListView->Caption(0), L" 001");
  EXPECT_EQ(c().ListView->SubItem(1, 2), L"beta");
  EXPECT_TRUE(c().ListView->Selected(1));
  EXPECT_EQ(c().Memo1->Text(), L"beta");
  EXPECT_EQ(form_->recorder().RecordCount(), 2);
}

TEST_F(FormOverDoubles, TabLeavesMaxEditForTheNextTabStop) {
  c().PageControl->SetActivePage(1);
  ::SetFocus(c().MaxEdit->hwnd());
  Press({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() != c().MaxEdit->hwnd(); }));
  // The position group comes next, entered at its chosen button.
  const auto& position = *c().PositionRG;
  EXPECT_EQ(::GetFocus(), position.buttons()[position.ItemIndex()]);
  Press({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == c().MaxEdit->hwnd(); }));
}

TEST_F(FormOverDoubles, AMnemonicChoosesItsRadioButtonAndRunsTheHandler) {
  c().PageControl->SetActivePage(1);
  ::SetFocus(c().MaxEdit->hwnd());
  ASSERT_EQ(form_->recorder().CaptureState(), core::capture_state::kAutomatic);
  Press({VK_MENU, 'M'});
  ASSERT_TRUE(PumpUntil([&] { return c().WatchRG->ItemIndex() == 1; }));
  EXPECT_EQ(::SendMessageW(c().WatchRG->buttons()[1], BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(form_->recorder().CaptureState(), core::capture_state::kManual);
}

TEST_F(FormOverDoubles, ArrowKeysInTheListStillMoveThroughTheRecords) {
  for (const char* text : {"one", "two", "three"}) Copy(text);
  ::SetFocus(c().ListView->hwnd());
  const struct {
    WORD key;
    int current;
  } steps[] = {{VK_LEFT, 2}, {VK_UP, 1}, {VK_RIGHT, 2}, {VK_DOWN, 3}};
  for (const auto& step : steps) {
    Press({step.key});
    EXPECT_TRUE(PumpUntil([&] { return form_->recorder().CurrentNo() == step.current; }))
        << "key " << step.key << " left record " << form_->recorder().CurrentNo();
    EXPECT_EQ(::GetFocus(), c().ListView->hwnd());
  }
}

// --- the window going at awkward moments ---

TEST_F(FormOverDoubles, GoesWhileItsListHoldsTheMouseCapture) {
  const HWND list = c().ListView->hwnd();
  ::SetCapture(list);
  ASSERT_EQ(::GetCapture(), list);
  form_.reset();  // the list hears WM_CAPTURECHANGED on the way
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(FormOverDoubles, GoesWhileARowIsDragged) {
  Copy("one");
  Copy("two");
  const HWND list = c().ListView->hwnd();
  NMLISTVIEW begin = {};
  begin.hdr = {list, c().ListView->id(), LVN_BEGINDRAG};
  begin.iItem = 1;
  ::SendMessageW(form_->hwnd(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
  ASSERT_EQ(::GetCapture(), list);
  form_.reset();
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_EQ(::GetCapture(), nullptr);
}

FormOverDoubles* g_closing = nullptr;

// Closes the window from inside the menu's own loop.
void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_closing || !g_closing->form_) return;
  g_closing->dialogs_.answers = {platform::answer::kNo};
  ::SendMessageW(g_closing->form_->hwnd(), WM_CLOSE, 0, 0);
  g_closing->form_.reset();
}

TEST_F(FormOverDoubles, GoesWhileItsPopupMenuIsOpen) {
  g_closing = this;
  const HWND window = form_->hwnd();
  const HMENU popup = form_->menus().Submenu(L"MyPopup");
  ASSERT_NE(popup, nullptr);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CloseTheWindow);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 50, 50, 0, window, nullptr);
  ::KillTimer(nullptr, timer);
  g_closing = nullptr;
  EXPECT_EQ(form_, nullptr);
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace quill::ui
