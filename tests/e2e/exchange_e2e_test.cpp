// Import and export through the program's own menu and the system's file
// dialogs, answered as a user answers them.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (const HANDLE data = ::GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ExchangeE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    SettleClipboard();
    ASSERT_TRUE(program_.Start());
    window_ = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window_, nullptr);
    ::SetForegroundWindow(window_);  // automatic capture
  }
  void TearDown() override {
    if (window_) program_.CloseDiscarding(window_, kWait);
  }
  // "ファイル(&F)" and one of its items, typed.
  HWND FileMenuDialog(WORD item) {
    ::SetForegroundWindow(window_);
    ::Sleep(200);
    SendKeys({VK_MENU, 'F'});
    ::Sleep(150);
    SendKeys({item});
    return program_.WaitForDialog(kWait);
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(ExchangeE2E, AFileWithoutExtensionIsImportedAsTextWithWindowsLineEnds) {
  const std::wstring path = program_.folder() + L"\\notes";
  std::ofstream(path.c_str(), std::ios::binary) << std::string("one\ntwo\n\0after", 15);
  const HWND dialog = FileMenuDialog('I');  // "ファイルから読み込み(&I)..."
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseFile(dialog, path));
  ASSERT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  EXPECT_EQ(ClipboardText(), "one\r\ntwo\r\n") << "line ends made CR LF, cut at the NUL";
}

TEST_F(ExchangeE2E, ARecordIsExportedAsTextUnderTheNameChosen) {
  ASSERT_TRUE(CopyText("exported\r\nas it is"));
  ASSERT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  const std::wstring path = program_.folder() + L"\\x.txt";
  const HWND dialog = FileMenuDialog('S');  // "ファイルへ保存(&S)..."
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseFile(dialog, path));
  const DWORD start = ::GetTickCount();
  while (!program_.HasFile(L"x.txt") && ::GetTickCount() - start < kWait) ::Sleep(50);
  ::Sleep(200);
  EXPECT_EQ(FileBytes(path), "exported\r\nas it is") << "ANSI bytes, no BOM, nothing added";
}

}  // namespace
}  // namespace quill::e2e
