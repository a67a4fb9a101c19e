// The options and bounds kept between runs: read into the controls before
// the window shows, taken from them after it has closed.
#include "core/element_name.h"
#include "core/settings.h"
#include "ui/code_page.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

// An index outside the group's items keeps the control as it is.
void SetIndex(framework::RadioGroup& group, int index) {
  if (index >= 0 && index < static_cast<int>(group.Items().size())) group.SetItemIndex(index);
}

}  // namespace

void TFQuillet::ReadIni(platform::SettingsStore& store) {
  const core::Settings s = core::ReadSettings(store);
  saved_bounds_ = {s.Left, s.Top, s.Width, s.Height};
  ::SetWindowPos(hwnd(), nullptr, s.Left, s.Top, s.Width, s.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  Get<framework::Edit>(L"MaxEdit").SetText(std::to_wstring(s.Max));
  recorder_->SetMaxRecords(s.Max);
  SetIndex(Get<framework::RadioGroup>(L"WatchRG"), s.Manual);
  WatchRGClick();
  SetIndex(Get<framework::RadioGroup>(L"PositionRG"), s.Position);
  Get<framework::CheckBox>(L"StayCB").SetChecked(s.StayOnTop == 1);
  StayCBClick();
  Get<framework::CheckBox>(L"MiniCB").SetChecked(s.Minimize == 1);
  Get<framework::Edit>(L"ConvertEdit").SetText(FromU16(core::PrefixOfConvert(s.Convert)));
  Get<framework::CheckBox>(L"ConvertCB").SetChecked(!s.Convert.empty());
  Get<framework::Edit>(L"DelayEdit").SetText(std::to_wstring(s.Timer));
  recorder_->SetOpusAppWait(s.Delay > 0 ? static_cast<unsigned>(s.Delay) : 0);
  SetIndex(Get<framework::RadioGroup>(L"ColorRG"), s.Color);
  auto& quality = Get<framework::TrackBar>(L"QualityBar");
  quality.SetPosition(s.Quality);
  Get<framework::UpDown>(L"QualityUpDown").SetPosition(quality.Position());
  Get<framework::CheckBox>(L"GrayCB").SetChecked(s.GrayScale != 0);
  Get<framework::CheckBox>(L"ProgCB").SetChecked(s.Progressive != 0);
  SetIndex(Get<framework::RadioGroup>(L"ExpandRG"), s.Expand);
}

void TFQuillet::WriteIni(platform::SettingsStore& store) {
  if (!mini_mode_) {
    // A minimized or maximized window is remembered at its normal place.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(hwnd(), &placement);
    RECT r = placement.rcNormalPosition;
    if (!::IsIconic(hwnd()) && !::IsZoomed(hwnd())) ::GetWindowRect(hwnd(), &r);
    saved_bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  core::Settings s;
  s.Left = saved_bounds_.left;
  s.Top = saved_bounds_.top;
  s.Width = saved_bounds_.width;
  s.Height = saved_bounds_.height;
  s.Max = recorder_->MaxRecords();
  s.Manual = Get<framework::RadioGroup>(L"WatchRG").ItemIndex();
  s.Position = Get<framework::RadioGroup>(L"PositionRG").ItemIndex();
  s.StayOnTop = Get<framework::CheckBox>(L"StayCB").Checked() ? 1 : 0;
  s.Minimize = Get<framework::CheckBox>(L"MiniCB").Checked() ? 1 : 0;
  s.Convert = core::ConvertOf(Get<framework::CheckBox>(L"ConvertCB").Checked(),
                              ToU16(Get<framework::Edit>(L"ConvertEdit").Text()));
  s.Timer = core::LeadingNumber(ToU16(Get<framework::Edit>(L"DelayEdit").Text()));
  s.Color = Get<framework::RadioGroup>(L"ColorRG").ItemIndex();
  s.Quality = Get<framework::TrackBar>(L"QualityBar").Position();
  s.GrayScale = Get<framework::CheckBox>(L"GrayCB").Checked() ? 1 : 0;
  s.Progressive = Get<framework::CheckBox>(L"ProgCB").Checked() ? 1 : 0;
  s.Expand = Get<framework::RadioGroup>(L"ExpandRG").ItemIndex();
  if (const auto failed = core::WriteSettings(store, s))
    ShowError(FromU16(core::SettingFailedMessage(*failed)), L"Quilleteer");
}

void TFQuillet::StayCBClick() {
  const bool on_top = Get<framework::CheckBox>(L"StayCB").Checked();
  ::SetWindowPos(hwnd(), on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TFQuillet::ColorRGIndex() { return Get<framework::RadioGroup>(L"ColorRG").ItemIndex(); }

}  // namespace quill::ui
