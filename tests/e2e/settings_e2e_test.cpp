// Options changed through the program's own controls are there again at
// the next start.
#include <gtest/gtest.h>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr wchar_t kKey[] = L"Software\\Marlowin\\Quilleteer";

struct Search {
  const wchar_t* window_class;
  const wchar_t* text;
  HWND found;
};

// A control's text, asked of the control itself (the caption kept by the
// system is not the text of another process's edit).
std::wstring TextOf(HWND control) {
  wchar_t text[256] = {};
  ::SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
  return text;
}

BOOL CALLBACK Match(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  wchar_t name[32] = {};
  ::GetClassNameW(child, name, 32);
  if (_wcsicmp(name, search->window_class) == 0 && TextOf(child) == search->text) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

// A control of the window found by its class and text.
HWND ControlWithText(HWND window, const wchar_t* window_class, const wchar_t* text) {
  Search search = {window_class, text, nullptr};
  ::EnumChildWindows(window, Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class SettingsRoundTrip : public ::testing::Test {
 protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
};

TEST_F(SettingsRoundTrip, OptionsSetInTheControlsAreFoundAtTheNextStart) {
  {
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window, nullptr);
    const HWND max_edit = ControlWithText(window, L"Edit", L"999");
    ASSERT_NE(max_edit, nullptr);
    ::SendMessageW(max_edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"42"));
    const HWND quoting = ControlWithText(window, L"Button", L"引用文整形(&C)");
    ASSERT_NE(quoting, nullptr);
    ASSERT_EQ(::SendMessageW(quoting, BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(quoting, BM_CLICK, 0, 0);
    const HWND manual = ControlWithText(window, L"Button", L"手動(&M)");
    ASSERT_NE(manual, nullptr);
    ::SendMessageW(manual, BM_CLICK, 0, 0);
    ASSERT_TRUE(program.CloseDiscarding(window, kWait));
  }
  ProgramUnderTest program;
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(ControlWithText(window, L"Edit", L"42"), nullptr);
  const HWND quoting = ControlWithText(window, L"Button", L"引用文整形(&C)");
  ASSERT_NE(quoting, nullptr);
  EXPECT_EQ(::SendMessageW(quoting, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  const HWND manual = ControlWithText(window, L"Button", L"手動(&M)");
  ASSERT_NE(manual, nullptr);
  EXPECT_EQ(::SendMessageW(manual, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(program.CloseDiscarding(window, kWait));
}

}  // namespace
}  // namespace quill::e2e
