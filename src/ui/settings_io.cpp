// The options and bounds kept between runs: read into the controls before
// the window shows, taken from them after it has closed.
#include "core/element_name.h"
#include "core/settings.h"
#include "framework/dpi.h"
#include "ui/code_page.h"
#include "ui/main_form.h"
#include "ui/window_modes.h"

namespace quill::ui {
namespace {

// An index outside the group's items keeps the control as it is.
void SetIndex(framework::RadioGroup& group, int index) {
  if (index >= 0 && index < static_cast<int>(group.Items().size())) group.SetItemIndex(index);
}

}  // namespace

void TFQuillet::ReadIni(platform::SettingsStore& store) {
  const core::Settings s = core::ReadSettings(store);
  // Sizes kept in the pixels of a 96-dpi screen, so that they mean the
  // same size on a screen of any scaling.
  modes_->PlaceFullView({s.Left, s.Top, s.Width, s.Height});
  c_.MaxEdit->SetText(std::to_wstring(s.Max));
  recorder_->SetMaxRecords(s.Max);
  SetIndex(*c_.WatchRG, s.Manual);
  WatchRGClick();
  SetIndex(*c_.PositionRG, s.Position);
  c_.StayCB->SetChecked(s.StayOnTop == 1);
  StayCBClick();
  c_.MiniCB->SetChecked(s.Minimize == 1);
  if (c_.MiniCB->Checked()) modes_->StartMinimized();
  c_.ConvertEdit->SetText(FromU16(core::PrefixOfConvert(s.Convert)));
  c_.ConvertCB->SetChecked(!s.Convert.empty());
  c_.DelayEdit->SetText(std::to_wstring(s.Timer));
  recorder_->SetOpusAppWait(s.Delay > 0 ? static_cast<unsigned>(s.Delay) : 0);
  SetIndex(*c_.ColorRG, s.Color);
  auto& quality = *c_.QualityBar;
  quality.SetPosition(s.Quality);
  c_.QualityUpDown->SetPosition(quality.Position());
  c_.GrayCB->SetChecked(s.GrayScale != 0);
  c_.ProgCB->SetChecked(s.Progressive != 0);
  SetIndex(*c_.ExpandRG, s.Expand);
}

void TFQuillet::WriteIni(platform::SettingsStore& store) {
  core::Settings s;
  const framework::Box kept = modes_->FullViewToKeep();
  s.Left = kept.x;
  s.Top = kept.y;
  s.Width = kept.width;
  s.Height = kept.height;
  s.Max = recorder_->MaxRecords();
  s.Manual = c_.WatchRG->ItemIndex();
  s.Position = c_.PositionRG->ItemIndex();
  s.StayOnTop = c_.StayCB->Checked() ? 1 : 0;
  s.Minimize = c_.MiniCB->Checked() ? 1 : 0;
  s.Convert = core::ConvertOf(c_.ConvertCB->Checked(), ToU16(c_.ConvertEdit->Text()));
  s.Timer = core::LeadingNumber(ToU16(c_.DelayEdit->Text()));
  s.Color = c_.ColorRG->ItemIndex();
  s.Quality = c_.QualityBar->Position();
  s.GrayScale = c_.GrayCB->Checked() ? 1 : 0;
  s.Progressive = c_.ProgCB->Checked() ? 1 : 0;
  s.Expand = c_.ExpandRG->ItemIndex();
  if (const auto failed = core::WriteSettings(store, s))
    ShowError(FromU16(core::SettingFailedMessage(*failed)), L"Quilleteer");
}

void TFQuillet::StayCBClick() {
  const bool on_top = c_.StayCB->Checked();
  ::SetWindowPos(hwnd(), on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TFQuillet::ColorRGIndex() { return c_.ColorRG->ItemIndex(); }

}  // namespace quill::ui
