#include "ui/settings_pages.h"
#include "ui/program_title.h"

#include <cstdint>

#include "core/element_name.h"
#include "core/settings.h"
#include "framework/dpi.h"
#include "ui/code_page.h"
#include "ui/window_modes.h"

namespace quill::ui {
namespace {

// An index outside the group's items keeps the control as it is.
void SetIndex(framework::RadioGroup& group, int index) {
  if (index >= 0 && index < static_cast<int>(group.Items().size())) group.SetItemIndex(index);
}

}  // namespace

void SettingsPages::ReadIni(platform::SettingsStore& store) {
  const core::Settings s = core::ReadSettings(store);
  // Sizes kept in the pixels of a 96-dpi screen, so that they mean the
  // same size on a screen of any scaling.
  modes_.PlaceFullView({s.Left, s.Top, s.Width, s.Height});
  c_.MaxEdit->SetText(std::to_wstring(s.Max));
  recorder_.SetMaxRecords(s.Max);
  SetIndex(*c_.WatchRG, s.Manual);
  WatchRGClick();
  SetIndex(*c_.PositionRG, s.Position);
  c_.StayCB->SetChecked(s.StayOnTop == 1);
  StayCBClick();
  c_.MiniCB->SetChecked(s.Minimize == 1);
  if (c_.MiniCB->Checked()) modes_.StartMinimized();
  c_.ConvertEdit->SetText(FromU16(core::PrefixOfConvert(s.Convert)));
  c_.ConvertCB->SetChecked(!s.Convert.empty());
  c_.DelayEdit->SetText(std::to_wstring(s.Timer));
  recorder_.SetOpusAppWait(s.Delay > 0 ? static_cast<unsigned>(s.Delay) : 0);
  SetIndex(*c_.ColorRG, s.Color);
  auto& quality = *c_.QualityBar;
  quality.SetPosition(s.Quality);
  c_.QualityUpDown->SetPosition(quality.Position());
  c_.GrayCB->SetChecked(s.GrayScale != 0);
  c_.ProgCB->SetChecked(s.Progressive != 0);
  SetIndex(*c_.ExpandRG, s.Expand);
}

void SettingsPages::WriteIni(platform::SettingsStore& store) {
  core::Settings s;
  const framework::Box kept = modes_.FullViewToKeep();
  s.Left = kept.x;
  s.Top = kept.y;
  s.Width = kept.width;
  s.Height = kept.height;
  s.Max = recorder_.MaxRecords();
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
    form_.ShowError(FromU16(core::SettingFailedMessage(*failed)), kProgramTitle);
}

void SettingsPages::StayCBClick() {
  const bool on_top = c_.StayCB->Checked();
  ::SetWindowPos(form_.hwnd(), on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SettingsPages::WatchRGClick() { recorder_.WatchRGClick(c_.WatchRG->ItemIndex() == 0); }

void SettingsPages::MaxEditChange() { recorder_.MaxEditChange(ToU16(c_.MaxEdit->Text())); }

bool SettingsPages::MaxEditKeyPress(wchar_t key) {
  return (key >= L'0' && key <= L'9') || key == 8;
}

void SettingsPages::FilterListViewChange(int entry, bool ticked) {
  if (entry >= 0 && entry < core::FormatFilter::kEntries) recorder_.Filter().SetFlag(entry, ticked);
}

void SettingsPages::FilterCaptionEdited(int entry, const std::wstring& caption) {
  recorder_.Filter().SetCaption(entry, ToAnsi(caption));
}

void SettingsPages::QualityUpDownClick() {
  const int position = static_cast<std::int16_t>(c_.QualityUpDown->Position());
  if (position != c_.QualityBar->Position()) c_.QualityBar->SetPosition(position);
}

void SettingsPages::QualityBarChange() {
  const int position = c_.QualityBar->Position();
  if (position != c_.QualityUpDown->Position()) c_.QualityUpDown->SetPosition(position);
}

}  // namespace quill::ui
