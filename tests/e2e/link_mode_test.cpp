// Link mode from outside: another program pastes with Ctrl+V held and gets
// the records one after another; a paste without the keys gets nothing.
#include <gtest/gtest.h>

#include <string>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr int kLinkButtonCommand = 10;  // the tool bar's tenth button

void Keys(bool down) {
  INPUT input[2] = {};
  for (INPUT& i : input) i.type = INPUT_KEYBOARD;
  input[0].ki.wVk = down ? VK_CONTROL : 'V';
  input[1].ki.wVk = down ? 'V' : VK_CONTROL;
  if (!down) input[0].ki.dwFlags = input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
}

// Reads the clipboard's text as a paste would, with or without Ctrl+V held.
std::string Paste(bool keys_held) {
  if (keys_held) {
    Keys(true);
    // The keys reach the system's key state through its input queue.
    const DWORD start = ::GetTickCount();
    while (!(::GetAsyncKeyState('V') & 0x8000) && ::GetTickCount() - start < kWait) ::Sleep(10);
    // A process may see the key state it read last for up to 50 ms (Wine
    // caches it): hold the keys a little longer, as a person does.
    ::Sleep(80);
  }
  std::string text;
  if (::OpenClipboard(nullptr)) {
    if (const HANDLE data = ::GetClipboardData(CF_TEXT)) {
      text = static_cast<const char*>(::GlobalLock(data));
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  if (keys_held) {
    Keys(false);
    const DWORD start = ::GetTickCount();
    while ((::GetAsyncKeyState('V') & 0x8000) && ::GetTickCount() - start < kWait) ::Sleep(10);
  }
  return text;
}

bool WaitForCaption(HWND window, const std::wstring& caption) {
  return e2e::WaitForCaption(window, caption, kWait);
}

BOOL CALLBACK MatchToolBar(HWND child, LPARAM context) {
  wchar_t name[32] = {};
  ::GetClassNameW(child, name, 32);
  if (std::wstring(name) != L"ToolbarWindow32") return TRUE;
  *reinterpret_cast<HWND*>(context) = child;
  return FALSE;
}

HWND ToolBarOf(HWND window) {
  HWND found = nullptr;
  ::EnumChildWindows(window, MatchToolBar, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(LinkMode, PastesWithCtrlVGetSuccessiveRecordsAndOthersGetNothing) {
  ProgramUnderTest program;
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  ::SetForegroundWindow(window);
  for (int n = 1; n <= 3; ++n) {
    ASSERT_TRUE(CopyText("record " + std::to_string(n)));
    ASSERT_TRUE(
        WaitForCaption(window, L"Quilleteer  " + std::to_wstring(n) + L"/" + std::to_wstring(n)));
  }
  ::SendMessageW(window, WM_KEYDOWN, VK_UP, 0);  // to the first record
  ASSERT_TRUE(WaitForCaption(window, L"Quilleteer  1/3"));
  ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(kLinkButtonCommand, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ToolBarOf(window)));

  EXPECT_EQ(Paste(false), "");  // from a menu, say: nothing, and no advance
  EXPECT_EQ(CaptionOf(window), L"Quilleteer  1/3");
  for (int n : {1, 2, 3, 1}) {
    EXPECT_EQ(Paste(true), "record " + std::to_string(n));
    const int next = n % 3 + 1;
    EXPECT_TRUE(WaitForCaption(window, L"Quilleteer  " + std::to_wstring(next) + L"/3"));
  }

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const HWND question = program.WaitForDialog(kWait);
  ASSERT_NE(question, nullptr);
  PressButton(question, IDNO);
  ASSERT_TRUE(program.WaitForExit(kWait));
}

}  // namespace
}  // namespace quill::e2e
