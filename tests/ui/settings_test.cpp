// The options through the real registry and the real controls: read at
// start, taken from the controls at the end, found again next time.
#include <gtest/gtest.h>

#include <memory>

#include "fakes.h"
#include "platform/win32/win32_settings.h"
#include "pump.h"
#include "ui/main_form.h"
#include "ui/settings_pages.h"
#include "ui/system_services.h"
#include "window_shots.h"

namespace quill::ui {
namespace {

constexpr char16_t kKey[] = u"Software\\Marlowin\\Quilleteer";

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(kKey));
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(kKey));
  }

  // One run of the program: make the window, read the settings, let the
  // test change it, close, write the settings.
  template <typename Change>
  void Run(Change change) {
    TFQuillet form(system_.With(dialogs_), system_.screen, system_.shell);
    ASSERT_TRUE(form.Create());
    platform::Win32Settings store(kKey, u"Setting");
    form.settings().ReadIni(store);
    change(form);
    ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    form.settings().WriteIni(store);
    PumpMessages();
  }
  static framework::Box WindowBox(const TFQuillet& form) {
    RECT r;
    ::GetWindowRect(form.hwnd(), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }

  // What each radio group's buttons show, read from the buttons
  // themselves: exactly the group's item is ticked.
  static void ExpectRadioGroupsShowTheirIndex(TFQuillet& form) {
    for (const wchar_t* name : kRadioGroups) {
      const auto& group = form.Get<framework::RadioGroup>(name);
      for (std::size_t i = 0; i < group.buttons().size(); ++i)
        EXPECT_EQ(::SendMessageW(group.buttons()[i], BM_GETCHECK, 0, 0) == BST_CHECKED,
                  static_cast<int>(i) == group.ItemIndex())
            << "group " << ::testing::PrintToString(std::wstring(name)) << ", button " << i;
    }
  }
  static constexpr const wchar_t* kRadioGroups[] = {L"WatchRG", L"PositionRG", L"ColorRG",
                                                    L"ExpandRG"};

  SystemServices system_;
  core::testing::ScriptedDialogs dialogs_;
};

TEST_F(SettingsTest, AFirstStartShowsTheDefaults) {
  Run([](TFQuillet& form) {
    const framework::Box box = WindowBox(form);
    EXPECT_EQ(box.x, 100);
    EXPECT_EQ(box.y, 80);
    EXPECT_EQ(box.width, 380);
    EXPECT_EQ(box.height, 440);
    EXPECT_EQ(form.widgets().MaxEdit->Text(), L"999");
    EXPECT_EQ(form.recorder().MaxRecords(), 999);
    EXPECT_EQ(form.recorder().CaptureState(), core::capture_state::kAutomatic);
    EXPECT_EQ(form.widgets().PositionRG->ItemIndex(), 4);
    EXPECT_TRUE(form.widgets().ConvertCB->Checked());
    EXPECT_EQ(form.widgets().ConvertEdit->Text(), L"> ");
    EXPECT_EQ(form.widgets().DelayEdit->Text(), L"5");
    EXPECT_EQ(form.widgets().ColorRG->ItemIndex(), 0);
    EXPECT_EQ(form.widgets().QualityBar->Position(), 75);
    EXPECT_EQ(form.widgets().ExpandRG->ItemIndex(), 1);
    EXPECT_EQ(form.recorder().OpusAppWait(), 2000u);
    ExpectRadioGroupsShowTheirIndex(form);
    // For people to look at: both settings pages as a first start shows them.
    form.Show(SW_SHOW);
    for (int page : {1, 2}) {
      form.widgets().PageControl->SetActivePage(page);
      ::RedrawWindow(form.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      PumpMessages();
      EXPECT_TRUE(
          SaveWindowShot(form.hwnd(), L"first_start_settings" + std::to_wstring(page) + L".bmp"));
    }
  });
}

// Each group is on its own: a click ticks one button of its group and
// leaves every other group as it was.
TEST_F(SettingsTest, AClickOnARadioButtonChangesOnlyItsGroup) {
  Run([](TFQuillet& form) {
    for (const wchar_t* name : kRadioGroups) {
      const auto& group = form.Get<framework::RadioGroup>(name);
      for (std::size_t i = group.buttons().size(); i-- > 0;) {
        ::SendMessageW(group.buttons()[i], BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_EQ(group.ItemIndex(), static_cast<int>(i));
        ExpectRadioGroupsShowTheirIndex(form);
      }
    }
  });
}

TEST_F(SettingsTest, EveryOptionSetInTheControlsIsFoundAgain) {
  Run([](TFQuillet& form) {
    ::SetWindowPos(form.hwnd(), nullptr, 150, 90, 420, 480, SWP_NOZORDER);
    form.widgets().MaxEdit->SetText(L"50");
    form.widgets().WatchRG->SetItemIndex(1);
    form.widgets().PositionRG->SetItemIndex(2);
    form.widgets().StayCB->SetChecked(true);
    form.widgets().MiniCB->SetChecked(true);
    form.widgets().ConvertCB->SetChecked(false);
    form.widgets().DelayEdit->SetText(L"12");
    form.widgets().ColorRG->SetItemIndex(7);
    form.widgets().QualityBar->SetPosition(33);
    form.widgets().GrayCB->SetChecked(true);
    form.widgets().ProgCB->SetChecked(true);
    form.widgets().ExpandRG->SetItemIndex(2);
  });
  Run([](TFQuillet& form) {
    const framework::Box box = WindowBox(form);
    EXPECT_EQ(box.x, 150);
    EXPECT_EQ(box.width, 420);
    EXPECT_EQ(form.recorder().MaxRecords(), 50);
    EXPECT_EQ(form.widgets().WatchRG->ItemIndex(), 1);
    EXPECT_EQ(form.recorder().CaptureState(), core::capture_state::kManual);
    EXPECT_EQ(form.widgets().PositionRG->ItemIndex(), 2);
    EXPECT_TRUE(form.widgets().StayCB->Checked());
    EXPECT_TRUE(::GetWindowLongPtrW(form.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(form.widgets().MiniCB->Checked());
    EXPECT_FALSE(form.widgets().ConvertCB->Checked());
    EXPECT_EQ(form.widgets().ConvertEdit->Text(), L"");
    EXPECT_EQ(form.widgets().DelayEdit->Text(), L"12");
    EXPECT_EQ(form.widgets().ColorRG->ItemIndex(), 7);
    EXPECT_EQ(form.widgets().QualityBar->Position(), 33);
    EXPECT_EQ(form.widgets().QualityUpDown->Position(), 33);
    EXPECT_TRUE(form.widgets().GrayCB->Checked());
    EXPECT_TRUE(form.widgets().ProgCB->Checked());
    EXPECT_EQ(form.widgets().ExpandRG->ItemIndex(), 2);
    ExpectRadioGroupsShowTheirIndex(form);
  });
  // "Delay" is never written; a value set by hand is kept and used.
  platform::Win32Settings store(kKey, u"Setting");
  ASSERT_TRUE(store.Open());
  EXPECT_EQ(store.Read(u"Delay").kind, platform::SettingValue::Kind::kMissing);
  EXPECT_EQ(store.Read(u"Convert").text, u"");
  ASSERT_TRUE(store.WriteNumber(u"Delay", 0));
  ASSERT_TRUE(store.WriteText(u"Max", u"77"));
  Run([](TFQuillet& form) {
    EXPECT_EQ(form.recorder().OpusAppWait(), 0u);
    EXPECT_EQ(form.recorder().MaxRecords(), 77);
  });
  EXPECT_EQ(store.Read(u"Delay").number, 0u);
  EXPECT_EQ(store.Read(u"Max").kind, platform::SettingValue::Kind::kText);
}

}  // namespace
}  // namespace quill::ui
