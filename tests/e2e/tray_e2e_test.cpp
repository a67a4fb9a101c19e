// Started in the notification area: no window shows, recording runs from
// the start, the icon's menu brings the window back where it was, and the
// full-view bounds are what is stored at the end.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr wchar_t kKey[] = L"Software\\Marlowin\\Quilleteer";
constexpr wchar_t kSection[] = L"Software\\Marlowin\\Quilleteer\\Setting";

void SetNumber(const wchar_t* name, DWORD value) {
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kSection, name, REG_DWORD, &value, sizeof value);
}

DWORD Number(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  ::RegGetValueW(HKEY_CURRENT_USER, kSection, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
  return value;
}

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds = kWait) {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < milliseconds; ::Sleep(20))
    if (done()) return true;
  return false;
}

void CopyText(const char* text) {
  ASSERT_TRUE(WaitFor([] { return ::OpenClipboard(nullptr) != FALSE; }));
  ::EmptyClipboard();
  const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
  std::memcpy(::GlobalLock(block), text, std::strlen(text) + 1);
  ::GlobalUnlock(block);
  ::SetClipboardData(CF_TEXT, block);
  ::CloseClipboard();
}

void SendMouse(DWORD flags, POINT at = {}) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  input.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
  ::SendInput(1, &input, sizeof input);
}

void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
}

RECT BoundsOf(HWND window) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  return r;
}

BOOL CALLBACK CountMenu(HWND window, LPARAM count) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && ::IsWindowVisible(window))
    ++*reinterpret_cast<int*>(count);
  return TRUE;
}

// The menus on the screen (a submenu is one more).
int MenusOpen() {
  int open = 0;
  ::EnumWindows(CountMenu, reinterpret_cast<LPARAM>(&open));
  return open;
}

class TrayStart : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    SetNumber(L"Minimize", 1);
    SetNumber(L"Position", 2);
    SetNumber(L"Left", 120);
    SetNumber(L"Top", 90);
    SetNumber(L"Width", 400);
    SetNumber(L"Height", 460);
    SetNumber(L"Timer", 1);
    ASSERT_TRUE(program_.Start());
    ASSERT_TRUE(WaitFor([this] {
      window_ = program_.FindWindowOfClass(L"TFQuillet");
      return window_ && ::FindWindowExW(window_, nullptr, L"TNotifyWindow", nullptr);
    }));
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }

  // Clicks the icon and waits for its menu. In the virtual desktop the icon
  // is the last one of the taskbar's notification area, at its right end.
  void OpenIconMenu() {
    const HWND taskbar = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    ASSERT_NE(taskbar, nullptr) << "no taskbar: run inside the virtual desktop";
    const RECT bar = BoundsOf(taskbar);
    const POINT icon = {bar.right - ::GetSystemMetrics(SM_CXSMICON) / 2 - 2,
                        (bar.top + bar.bottom) / 2};
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, icon);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(WaitFor([] { return MenusOpen() == 1; })) << "the menu did not open";
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(TrayStart, RecordsWithoutAWindowAndKeepsTheFullBounds) {
  EXPECT_FALSE(::IsWindowVisible(window_));
  CopyText("recorded while hidden");
  EXPECT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  ASSERT_TRUE(program_.CloseDiscarding(window_, kWait));
  EXPECT_EQ(Number(L"Left"), 120u);
  EXPECT_EQ(Number(L"Top"), 90u);
  EXPECT_EQ(Number(L"Width"), 400u);
  EXPECT_EQ(Number(L"Height"), 460u);
}

TEST_F(TrayStart, ClickOnTheIconOpensTheMenuThatRestoresTheWindow) {
  OpenIconMenu();
  PressKey(VK_DOWN);  // "元のサイズに戻す", the first item
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitFor([this] { return ::IsWindowVisible(window_) != FALSE; }));
  const RECT r = BoundsOf(window_);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 400);
  EXPECT_EQ(r.bottom - r.top, 460);
  EXPECT_TRUE(WaitFor(
      [this] { return ::FindWindowExW(window_, nullptr, L"TNotifyWindow", nullptr) == nullptr; }));
  ASSERT_TRUE(program_.CloseDiscarding(window_, kWait));
}

TEST_F(TrayStart, ACaptureFromTheIconsMenuLeavesTheWindowInTheTray) {
  OpenIconMenu();
  // "キャプチャ" follows "元のサイズに戻す", "手動読み込み" and the greyed
  // "整形書き込み", which some systems' menus skip: Right opens it once
  // it is the one chosen.
  for (int i = 0; i < 3; ++i) PressKey(VK_DOWN);
  PressKey(VK_RIGHT);
  if (!WaitFor([] { return MenusOpen() == 2; }, 1500)) {
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT);
  }
  ASSERT_TRUE(WaitFor([] { return MenusOpen() == 2; })) << "no capture submenu";
  for (int i = 0; i < 4; ++i) PressKey(VK_DOWN);  // "全画面", after a one-second delay
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  ::Sleep(1000);
  EXPECT_FALSE(::IsWindowVisible(window_)) << "the window stays in the tray";
  EXPECT_FALSE(::IsIconic(window_));
  EXPECT_NE(::FindWindowExW(window_, nullptr, L"TNotifyWindow", nullptr), nullptr);
  ASSERT_TRUE(program_.CloseDiscarding(window_, kWait));
}

}  // namespace
}  // namespace quill::e2e
