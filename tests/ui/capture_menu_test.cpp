// The capture menus of the real window over the in-memory screen: the items
// and their tags, the cursor radio group, popup composition in both menus,
// the hotkey and the timer reaching the capture, the size dialog.
#include <atomic>
#include <thread>

#include "capture/capturer.h"
#include "form_over_doubles.h"
#include "ui/capture_commands.h"
#include "ui/code_page.h"
#include "window_shots.h"

namespace quill::ui {
namespace {

class CaptureMenuTest : public FormOverDoubles {
 protected:
  framework::MenuSet& menus() { return form_->menus(); }
  capture::Capturer& capturer() { return form_->captures().capturer(); }
  std::vector<std::wstring> Checked(const std::wstring& submenu) {
    std::vector<std::wstring> checked;
    for (const std::wstring& name : menus().Children(submenu))
      if (menus().Checked(name)) checked.push_back(name);
    return checked;
  }
};

TEST_F(CaptureMenuTest, BothMenusHoldTheCaptureItemsWithTheirTags) {
  const struct {
    const wchar_t* name;
    const wchar_t* caption;
    int tag;
  } items[] = {{L"MenuArea", L"領域指定(&A)", 0},
               {L"MenuFix", L"固定サイズ(&R)", 1},
               {L"MenuWin", L"アクティブウィンドウ(&W)", 2},
               {L"MenuPart", L"部品/指定ウィンドウ(&P)", 3},
               {L"MenuFull", L"全画面(&F)", 4},
               {L"MenuMenu", L"ポップアップ合成(&M)", 0}};
  for (const auto& item : items) {
    const std::wstring popup = std::wstring(item.name) + L"P";
    const std::wstring plain = std::wstring(item.caption).substr(0, wcslen(item.caption) - 4);
    EXPECT_EQ(menus().Caption(item.name), item.caption);
    EXPECT_EQ(menus().Caption(popup), plain);
    EXPECT_EQ(menus().Tag(item.name), item.tag);
    EXPECT_EQ(menus().Tag(popup), item.tag);
  }
  const std::vector<std::wstring> cursors = menus().Children(L"MenuCursor");
  ASSERT_EQ(cursors.size(), 21u);
  EXPECT_EQ(cursors.front(), L"MenuCapCur");
  EXPECT_EQ(menus().Tag(L"MenuCapCur"), 1);
  EXPECT_EQ(menus().Tag(L"MenuHelp1"), 32651);
  EXPECT_EQ(menus().Tag(L"MenuHandPoint"), -21);
  // "Drag" opens the second column.
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  ASSERT_TRUE(::GetMenuItemInfoW(menus().Submenu(L"MenuCursor"), 14, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
}

TEST_F(CaptureMenuTest, CursorItemsFormOneGroupAndTheCheckedOneTurnsTheCursorOff) {
  const struct {
    const wchar_t* click;
    std::int32_t choice;
    std::vector<std::wstring> checked;
  } steps[] = {{L"MenuArrow", 32512, {L"MenuArrow"}},
               {L"MenuDrag", -12, {L"MenuDrag"}},
               {L"MenuCapCur", 1, {L"MenuCapCur"}},
               {L"MenuCapCur", 0, {}}};
  for (const auto& step : steps) {
    menus().Click(step.click);
    EXPECT_EQ(capturer().CursorChoice(), step.choice) << "after " << ToAnsi(step.click);
    EXPECT_EQ(Checked(L"MenuCursor"), step.checked);
  }
}

TEST_F(CaptureMenuTest, PopupCompositionIsSwitchedFromEitherMenuInStep) {
  for (const wchar_t* click : {L"MenuMenu", L"MenuMenuP", L"MenuMenuP"}) {
    const bool was = capturer().PopupComposition();
    menus().Click(click);
    EXPECT_EQ(capturer().PopupComposition(), !was);
    EXPECT_EQ(menus().Checked(L"MenuMenu"), !was);
    EXPECT_EQ(menus().Checked(L"MenuMenuP"), !was);
  }
}

TEST_F(CaptureMenuTest, TheHotkeyAndTheTimerReachTheCaptureOnce) {
  const platform::WindowId window = reinterpret_cast<platform::WindowId>(form_->hwnd());
  screen_.Paint({0, 0, 1280, 1024}, 0x336699);
  // Delay 0: only Print Screen captures.
  c().DelayEdit->SetText(L"0");
  menus().Click(L"MenuFullP");
  EXPECT_EQ(screen_.ShowStateOf(window), platform::MemoryScreen::ShowState::kMinimized);
  EXPECT_FALSE(screen_.TimerOf(window, platform::screen::kDelayTimerId));
  ::PostMessageW(form_->hwnd(), WM_HOTKEY, platform::screen::kPrintScreenHotKeyId, 0);
  ::PostMessageW(form_->hwnd(), WM_HOTKEY, platform::screen::kPrintScreenHotKeyId, 0);
  Pump();
  EXPECT_EQ(c().ListView->Count(), 1) << "a second Print Screen captured again";
  EXPECT_EQ(screen_.ShowStateOf(window), platform::MemoryScreen::ShowState::kNormal);
  // A delay: the timer captures, and Print Screen is free again.
  screen_.SetForeground(screen_.AddWindow({100, 100, 300, 250}, 0x10CF0000));
  c().DelayEdit->SetText(L"3");
  menus().Click(L"MenuWin");
  EXPECT_EQ(screen_.TimerOf(window, platform::screen::kDelayTimerId), 3000u);
  ::PostMessageW(form_->hwnd(), WM_TIMER, platform::screen::kDelayTimerId, 0);
  Pump();
  EXPECT_EQ(c().ListView->Count(), 2);
  EXPECT_FALSE(screen_.HotKeyOwner(0, platform::screen::kVkSnapshot));
}

TEST_F(CaptureMenuTest, ClosingWithACapturePendingReleasesTheKeyAndTheTimer) {
  const platform::WindowId window = reinterpret_cast<platform::WindowId>(form_->hwnd());
  c().DelayEdit->SetText(L"3");
  menus().Click(L"MenuFull");
  ASSERT_TRUE(screen_.HotKeyOwner(0, platform::screen::kVkSnapshot));
  dialogs_.answers = {platform::answer::kNo};
  ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(screen_.HotKeyOwner(0, platform::screen::kVkSnapshot));
  EXPECT_FALSE(screen_.TimerOf(window, platform::screen::kDelayTimerId));
  // A timer message already queued finds nothing pending.
  ::SendMessageW(form_->hwnd(), WM_TIMER, platform::screen::kDelayTimerId, 0);
  EXPECT_EQ(screen_.BitmapsMade(), 0);
  Pump();
}

// Finds the size dialog from another thread, as the user's eyes would.
HWND WaitForSizeDialog() {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kWait; ::Sleep(20))
    if (const HWND dialog = ::FindWindowW(L"TFSize", L"サイズ指定"); ::IsWindowVisible(dialog))
      return dialog;
  return nullptr;
}

HWND WaitForErrorBox() {
  for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kWait; ::Sleep(20))
    if (const HWND box = ::FindWindowW(L"#32770", L"Quilleteer")) return box;
  return nullptr;
}

void PressKey(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
}

TEST_F(CaptureMenuTest, TheSizeDialogKeepsItsValuesAndRefusesWhatIsNoSize) {
  capture::TFSize& size = form_->captures().size_form();
  std::wstring refused;
  bool stayed_open = false;
  std::thread user([&] {
    const HWND dialog = WaitForSizeDialog();
    if (!dialog) return;
    size.WEdit().SetText(L"0");
    PressKey(VK_RETURN);
    if (const HWND box = WaitForErrorBox()) {
      wchar_t text[256] = {};
      ::GetDlgItemTextW(box, 0xFFFF, text, 256);
      refused = text;
      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    while (::FindWindowW(L"#32770", L"Quilleteer")) ::Sleep(20);
    stayed_open = ::IsWindowVisible(dialog);
    size.WEdit().SetText(L"48");
    size.HEdit().SetText(L"40");
    PressKey(VK_RETURN);
  });
  menus().Click(L"MenuFix");
  user.join();
  // OK went on to the selection of the area on the screen.
  EXPECT_TRUE(form_->captures().area_selection().Active());
  form_->captures().area_selection().Close();
  EXPECT_EQ(refused.rfind(L"'0' ", 0), 0u) << ToAnsi(refused);
  EXPECT_TRUE(stayed_open);
  EXPECT_TRUE(capturer().FixMode());
  EXPECT_EQ(capturer().FixWidth(), 48);
  EXPECT_EQ(capturer().FixHeight(), 40);

  // Reused: the values stay; Escape changes nothing.
  std::wstring shown;
  std::thread cancel([&] {
    if (!WaitForSizeDialog()) return;
    shown = size.WEdit().Text() + L"x" + size.HEdit().Text();
    PressKey(VK_ESCAPE);
  });
  menus().Click(L"MenuFixP");
  cancel.join();
  EXPECT_EQ(shown, L"48x40");
  EXPECT_EQ(capturer().FixWidth(), 48);
  EXPECT_FALSE(::IsWindowVisible(size.hwnd()));
}

// Takes the picture of the open menu from inside its loop, then closes it.
void CALLBACK ShootTheMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  RECT area = {};
  for (HWND menu = ::FindWindowW(L"#32768", nullptr); menu;
       menu = ::FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    RECT r;
    ::GetWindowRect(menu, &r);
    ::UnionRect(&area, &area, &r);
  }
  EXPECT_TRUE(SaveScreenShot(area, L"capture_cursor_menu.bmp"));
  ::EndMenu();
}

TEST_F(CaptureMenuTest, ScreenshotOfTheCursorMenu) {
  menus().Click(L"MenuIBeam");
  ::SetTimer(nullptr, 0, 300, ShootTheMenu);
  RECT r;
  ::GetWindowRect(form_->hwnd(), &r);
  ::TrackPopupMenu(menus().Submenu(L"MenuCursor"), TPM_LEFTALIGN | TPM_TOPALIGN, r.left + 20,
                   r.top + 40, 0, form_->hwnd(), nullptr);
}

}  // namespace
}  // namespace quill::ui
