// The full and the minimal view, the notification-area icon and its menu,
// staying on top, the about box and the help file, on the real window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "core/settings.h"
#include "form_over_doubles.h"
#include "platform/memory/memory_settings.h"
#include "platform/win32/win32_shell.h"
#include "quill_version.h"
#include "ui/about_form.h"
#include "ui/code_page.h"
#include "ui/settings_pages.h"
#include "ui/tray_icon.h"
#include "ui/window_modes.h"
#include "window_shots.h"

namespace quill::framework {

// For the checks below; found next to the type.
[[maybe_unused]] static void PrintTo(const Box& b, std::ostream* out) {
  *out << "(" << b.x << ", " << b.y << ", " << b.width << " x " << b.height << ")";
}

}  // namespace quill::framework

namespace quill::ui {
namespace {

framework::Box BoundsOf(HWND window) {
  RECT r;
  ::GetWindowRect(window, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::wstring Caption(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

enum { kTopLeft = 0, kBottomLeft = 1, kTray = 2, kTopRight = 3, kBottomRight = 4 };

class WindowModesTest : public FormOverDoubles {
 protected:
  HWND hwnd() const { return form_->hwnd(); }
  void GoMini(int placement) {
    c().PositionRG->SetItemIndex(placement);
    form_->modes().WideBtnClick();
    Pump();
  }
  // The shell reports a mouse message on the icon.
  void Mouse(UINT message) {
    ::SendMessageW(form_->modes().NotifyWindow(), WM_TRAYICON, 1, message);
    Pump();
  }
  // The popup menu, when it opens, chooses `item` (after `meanwhile`).
  void Choose(const std::wstring& item, std::function<void()> meanwhile = {}) {
    shell_.on_popup = [this, item, meanwhile](platform::MenuId menu, platform::Point,
                                              platform::WindowId) -> unsigned {
      EXPECT_EQ(menu, form_->menus().Submenu(L"MyPopup"));
      if (meanwhile) meanwhile();
      return form_->menus().Command(item);
    };
  }
  void ReadStartSettings(int placement) {
    platform::MemorySettings store;
    store.WriteNumber(u"Minimize", 1);
    store.WriteNumber(u"Position", static_cast<std::uint32_t>(placement));
    store.WriteNumber(u"Left", 60);
    store.WriteNumber(u"Top", 50);
    store.WriteNumber(u"Width", 400);
    store.WriteNumber(u"Height", 450);
    form_->settings().ReadIni(store);
    Pump();
  }
  HWND NotifyChild() const { return ::FindWindowExW(hwnd(), nullptr, L"TNotifyWindow", nullptr); }
};

TEST_F(WindowModesTest, MiniViewSitsInTheChosenCornerAndTheFullViewComesBackExactly) {
  const framework::Box full = BoundsOf(hwnd());
  const int mini_height = form_->modes().MiniHeight();
  RECT client;
  ::GetClientRect(hwnd(), &client);
  // The title, menu bar and frame, plus the tool bar and the status bar.
  EXPECT_EQ(mini_height, full.height - client.bottom + c().ToolBar1->Bounds().height +
                             c().StatusBar->Bounds().height);
  const struct {
    int placement;
    framework::Box bounds;
  } cases[] = {
      {kTopLeft, {0, 0, 320, mini_height}},
      {kBottomLeft, {0, 1024 - mini_height, 320, mini_height}},
      {kTopRight, {1280 - 320, 0, 320, mini_height}},
      {kBottomRight, {1280 - 320, 1024 - mini_height, 320, mini_height}},
  };
  for (const auto& expected : cases) {
    SCOPED_TRACE(expected.placement);
    GoMini(expected.placement);
    EXPECT_TRUE(form_->modes().MiniMode());
    EXPECT_EQ(BoundsOf(hwnd()), expected.bounds);
    // Only the bars remain: the pages have no room left.
    ::GetClientRect(hwnd(), &client);
    EXPECT_EQ(client.bottom, c().ToolBar1->Bounds().height + c().StatusBar->Bounds().height);
    if (expected.placement == kBottomRight) {
      Copy("a record in the mini view");
      EXPECT_TRUE(SaveWindowShot(hwnd(), L"mini_view.bmp"));
    }
    form_->modes().WideBtnClick();
    EXPECT_FALSE(form_->modes().MiniMode());
    EXPECT_EQ(BoundsOf(hwnd()), full);
  }
}

TEST_F(WindowModesTest, MaximisedWindowLeavesAndComesBackAtItsNormalBounds) {
  const framework::Box normal = BoundsOf(hwnd());
  ::ShowWindow(hwnd(), SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(::IsZoomed(hwnd()));
  GoMini(kTopLeft);
  EXPECT_FALSE(::IsZoomed(hwnd()));
  EXPECT_EQ(BoundsOf(hwnd()), (framework::Box{0, 0, 320, form_->modes().MiniHeight()}));
  form_->modes().WideBtnClick();
  EXPECT_EQ(BoundsOf(hwnd()), normal);
}

TEST_F(WindowModesTest, SettingsWrittenInTheMiniViewKeepTheFullBounds) {
  const framework::Box full = BoundsOf(hwnd());
  for (int placement : {kBottomRight, kTray}) {
    SCOPED_TRACE(placement);
    GoMini(placement);
    platform::MemorySettings store;
    form_->settings().WriteIni(store);
    const core::Settings s = core::ReadSettings(store);
    EXPECT_EQ((framework::Box{s.Left, s.Top, s.Width, s.Height}), full);
    form_->modes().WideBtnClick();
    Pump();
  }
}

TEST_F(WindowModesTest, StartingMinimisedUsesEachPlacement) {
  for (int placement : {kTopLeft, kBottomLeft, kTray, kTopRight, kBottomRight}) {
    SCOPED_TRACE(placement);
    ReadStartSettings(placement);
    EXPECT_TRUE(form_->modes().MiniMode());
    EXPECT_EQ(form_->modes().InTray(), placement == kTray);
    if (placement == kTray) {
      EXPECT_FALSE(::IsWindowVisible(hwnd()));
      // Recording runs although the window was never activated.
      const int before = form_->recorder().RecordCount();
      Copy("copied while in the tray");
      EXPECT_EQ(form_->recorder().RecordCount(), before + 1);
      form_->modes().MenuRestoreClick();
    } else {
      const int right = placement >= kTopRight ? 1280 - 320 : 0;
      const bool low = placement == kBottomLeft || placement == kBottomRight;
      const int bottom = low ? 1024 - form_->modes().MiniHeight() : 0;
      EXPECT_EQ(BoundsOf(hwnd()),
                (framework::Box{right, bottom, 320, form_->modes().MiniHeight()}));
      form_->modes().WideBtnClick();
    }
    EXPECT_EQ(BoundsOf(hwnd()), (framework::Box{60, 50, 400, 450}));
  }
}

TEST_F(WindowModesTest, TrayIconOpensItsMenuOnALeftPressAndRestoresTheWindow) {
  const framework::Box full = BoundsOf(hwnd());
  GoMini(kTray);
  ASSERT_TRUE(form_->modes().InTray());
  EXPECT_FALSE(::IsWindowVisible(hwnd()));
  ASSERT_EQ(shell_.calls.size(), 1u);
  const platform::MemoryShell::Call& add = shell_.calls[0];
  EXPECT_EQ(add.action, platform::notify::kAdd);
  const HWND notify = form_->modes().NotifyWindow();
  EXPECT_EQ(add.data.window, reinterpret_cast<platform::WindowId>(notify));
  EXPECT_EQ(NotifyChild(), notify);
  RECT r;
  ::GetWindowRect(notify, &r);
  EXPECT_TRUE(::IsRectEmpty(&r));
  EXPECT_EQ(add.data.id, 1u);
  EXPECT_EQ(add.data.flags, 7u);
  EXPECT_EQ(add.data.callback_message, 0x466u);
  EXPECT_NE(add.data.icon, nullptr);
  EXPECT_EQ(add.data.tip, ToAnsi(Caption(hwnd())));

  Mouse(WM_RBUTTONDOWN);
  Mouse(WM_LBUTTONDBLCLK);
  EXPECT_EQ(shell_.popups, 0);

  // A second press while the menu is open opens no second menu.
  Choose(L"MenuRestore", [this] { Mouse(WM_LBUTTONDOWN); });
  Mouse(WM_LBUTTONDOWN);
  EXPECT_EQ(shell_.popups, 1);
  EXPECT_EQ(screen_.ForegroundWindow(), reinterpret_cast<platform::WindowId>(hwnd()));
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_EQ(BoundsOf(hwnd()), full);
  EXPECT_FALSE(form_->modes().MiniMode());
  EXPECT_EQ(shell_.calls.back().action, platform::notify::kDelete);
  EXPECT_EQ(shell_.calls.back().data.window, reinterpret_cast<platform::WindowId>(notify));
  EXPECT_FALSE(::IsWindow(notify));
  EXPECT_EQ(NotifyChild(), nullptr);

  // The next switch goes to the tray again, and the menu opens again.
  GoMini(kTray);
  EXPECT_TRUE(form_->modes().InTray());
  Mouse(WM_LBUTTONDOWN);
  EXPECT_EQ(shell_.popups, 2);
  form_->modes().MenuRestoreClick();
}

TEST_F(WindowModesTest, CaptureInTheTrayChangesTheTip) {
  GoMini(kTray);
  Copy("first");
  Copy("second");
  EXPECT_EQ(Caption(hwnd()), L"Quilleteer  2/2");
  ASSERT_EQ(shell_.calls.back().action, platform::notify::kModify);
  EXPECT_EQ(shell_.calls.back().data.tip, "Quilleteer  2/2");
  EXPECT_EQ(shell_.calls.back().data.window, shell_.calls.front().data.window);
  form_->modes().MenuRestoreClick();
  const std::size_t calls = shell_.calls.size();
  Copy("third");
  EXPECT_EQ(shell_.calls.size(), calls) << "no icon, no tip";
}

TEST_F(WindowModesTest, RefusedIconKeepsTheWindowInTheFullView) {
  shell_.refuse_add = true;
  const framework::Box full = BoundsOf(hwnd());
  GoMini(kTray);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(form_->modes().MiniMode());
  EXPECT_FALSE(form_->modes().InTray());
  EXPECT_EQ(NotifyChild(), nullptr);
  EXPECT_EQ(BoundsOf(hwnd()), full);
  ReadStartSettings(kTray);
  EXPECT_TRUE(::IsWindowVisible(hwnd()));
  EXPECT_FALSE(form_->modes().MiniMode());
  EXPECT_FALSE(form_->modes().InTray());
}

TEST_F(WindowModesTest, IconComesBackWhenTheShellRestarts) {
  const UINT taskbar_created = ::RegisterWindowMessageW(L"TaskbarCreated");
  ::SendMessageW(hwnd(), taskbar_created, 0, 0);
  EXPECT_TRUE(shell_.calls.empty()) << "no icon to put back";
  GoMini(kTray);
  shell_.shown = false;  // the new shell knows no icon
  ::SendMessageW(hwnd(), taskbar_created, 0, 0);
  ASSERT_EQ(shell_.calls.size(), 2u);
  EXPECT_EQ(shell_.calls[1].action, platform::notify::kAdd);
  EXPECT_EQ(shell_.calls[1].data.window, shell_.calls[0].data.window);
  EXPECT_EQ(shell_.calls[1].data.tip, shell_.calls[0].data.tip);
  EXPECT_TRUE(shell_.shown);
  form_->modes().MenuRestoreClick();
}

TEST_F(WindowModesTest, ExitFromTheTrayMenuClosesAfterTheMenuIsDone) {
  GoMini(kTray);
  const HWND notify = form_->modes().NotifyWindow();
  bool notify_lived = false;
  shell_.on_popup = [&](platform::MenuId, platform::Point, platform::WindowId) {
    return form_->menus().Command(L"MenuExitP");
  };
  ::SendMessageW(notify, WM_TRAYICON, 1, WM_LBUTTONDOWN);
  notify_lived = ::IsWindow(notify) != FALSE;
  Pump();
  EXPECT_TRUE(notify_lived) << "the window the message came through went during its handler";
  EXPECT_FALSE(::IsWindow(notify));
  EXPECT_EQ(shell_.calls.back().action, platform::notify::kDelete);
  EXPECT_FALSE(shell_.shown);
  form_.reset();  // closed already
}

TEST(TrayTipTest, CutsAtMostTheTipLengthWithoutSplittingACharacter) {
  const auto shift_jis_lead = [](unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
  };
  const std::string kanji = "\x8B\x4C";  // one double-byte character
  std::string pairs;
  for (int i = 0; i < 64; ++i) pairs += kanji;
  const struct {
    std::string text;
    std::size_t kept;
  } cases[] = {
      {"Quilleteer  1/1", 15},
      {std::string(130, 'a'), 127},
      {"a" + pairs, 127},                         // ends exactly after a character
      {pairs, 126},                               // the 64th would be cut in two
      {std::string(126, 'a') + kanji, 126},       // likewise after single bytes
      {std::string(120, 'a') + "\x8B", 121},      // a lone lead byte at the end
      {std::string(3, 'a') + kanji + "\xB1", 6},  // a single-byte kana is no lead
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size());
    const std::string cut = CutWhole(c.text, 127, shift_jis_lead);
    EXPECT_EQ(cut, c.text.substr(0, c.kept));
  }
}

TEST_F(WindowModesTest, StayOnTopFollowsTheBoxWithoutMovingTheWindow) {
  const framework::Box before = BoundsOf(hwnd());
  for (bool on : {true, false, true, false}) {
    c().StayCB->SetChecked(on);
    form_->settings().StayCBClick();
    EXPECT_EQ((::GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, on);
    EXPECT_EQ(BoundsOf(hwnd()), before);
  }
}

TEST_F(WindowModesTest, AboutBoxShowsItsControlsAndClosesWithOK) {
  const HWND about = form_->modes().about_form().hwnd();
  ASSERT_TRUE(about);
  EXPECT_EQ(::FindWindowW(L"TFAbout", L"バージョン情報"), about);
  EXPECT_FALSE(::IsWindowVisible(about));
  const LONG style = static_cast<LONG>(::GetWindowLongPtrW(about, GWL_STYLE));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  RECT client;
  ::GetClientRect(about, &client);
  EXPECT_EQ(client.right, 264);
  EXPECT_EQ(client.bottom, 124);
  const framework::Box box = BoundsOf(about);
  EXPECT_LE(std::abs(box.x * 2 + box.width - ::GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs(box.y * 2 + box.height - ::GetSystemMetrics(SM_CYSCREEN)), 1);

  const struct {
    const wchar_t* text;
    framework::Box place;
  } controls[] = {
      {L"Quilleteer", {84, 8, 96, 16}},
      // The project's one version, which a release changes in one place.
      {L"Version " QUILL_VERSION_WIDE, {98, 26, 68, 13}},
      {L"OK", {94, 91, 75, 25}},
  };
  HWND ok = nullptr;
  for (const auto& expected : controls) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(expected.text)));
    const HWND control = ::FindWindowExW(about, nullptr, nullptr, expected.text);
    ASSERT_TRUE(control);
    RECT r;
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((framework::Box{r.left, r.top, r.right - r.left, r.bottom - r.top}), expected.place);
    ok = control;
  }
  LOGFONTW title = {};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(
                   ::FindWindowExW(about, nullptr, nullptr, L"Quilleteer"), WM_GETFONT, 0, 0)),
               sizeof title, &title);
  EXPECT_EQ(std::abs(title.lfHeight), 16);
  EXPECT_EQ(title.lfWeight, FW_BOLD);

  // Modal over the main window, and the same box every time.
  for (int shown = 0; shown < 2; ++shown) {
    bool owner_enabled = true;
    std::thread user([&] {
      for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kWait; ::Sleep(20))
        if (::IsWindowVisible(about)) break;
      owner_enabled = ::IsWindowEnabled(hwnd()) != FALSE;
      ::PostMessageW(ok, BM_CLICK, 0, 0);
    });
    form_->modes().MenuAboutClick();
    user.join();
    EXPECT_FALSE(owner_enabled);
    EXPECT_FALSE(::IsWindowVisible(about));
    EXPECT_TRUE(::IsWindowEnabled(hwnd()));
  }
  EXPECT_EQ(form_->modes().about_form().hwnd(), about);
}

TEST_F(WindowModesTest, HelpOpensTheHelpFileInTheViewer) {
  form_->modes().MenuContentsClick();
  HWND viewer = nullptr;
  ASSERT_TRUE(
      PumpUntil([&] { return (viewer = ::FindWindowW(L"HH Parent", nullptr)) != nullptr; }));
  EXPECT_EQ(Caption(viewer), L"Quilleteer ヘルプ");
  ::SendMessageW(viewer, WM_CLOSE, 0, 0);
  Pump();
}

TEST(Win32ShellTest, AddsChangesAndDeletesARealIcon) {
  // The record handed to the shell has the platform's layout.
  EXPECT_EQ(platform::Win32Shell::RecordSize(), sizeof(void*) == 4 ? 488u : 504u);
  const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                        ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(window);
  platform::Win32Shell shell;
  platform::NotifyIconData data;
  data.window = reinterpret_cast<platform::WindowId>(window);
  data.id = 1;
  data.flags = 7;
  data.callback_message = WM_TRAYICON;
  data.icon = ::LoadIconW(nullptr, IDI_APPLICATION);
  data.tip = "Quilleteer  0/0";
  EXPECT_TRUE(shell.NotifyIcon(platform::notify::kAdd, data));
  data.tip = "Quilleteer  1/1";
  EXPECT_TRUE(shell.NotifyIcon(platform::notify::kModify, data));
  EXPECT_TRUE(shell.NotifyIcon(platform::notify::kDelete, data));
  ::DestroyWindow(window);
}

}  // namespace
}  // namespace quill::ui
