#pragma once
// The two settings pages: what their controls change at once (the capture
// mode, the number of records, the format filter, staying on top, the JPEG
// quality), and the options and bounds kept between runs, read into the
// controls before the window shows and taken from them after it closed.
// Its messages come in as the controls' events.
#include <string>

#include "core/recorder.h"
#include "framework/form.h"
#include "platform/settings_store.h"
#include "ui/main_controls.h"

namespace quill::ui {

class WindowModes;

class SettingsPages {
 public:
  // All must outlive the pages.
  SettingsPages(framework::Form& form, const MainControls& controls, core::Recorder& recorder,
                WindowModes& modes)
      : form_(form), c_(controls), recorder_(recorder), modes_(modes) {}

  void ReadIni(platform::SettingsStore& store);
  void WriteIni(platform::SettingsStore& store);

  void WatchRGClick();
  void MaxEditChange();
  // Digits and backspace: the keys the number boxes take.
  static bool MaxEditKeyPress(wchar_t key);
  void FilterListViewChange(int entry, bool ticked);
  void FilterCaptionEdited(int entry, const std::wstring& caption);
  void StayCBClick();
  void QualityUpDownClick();
  void QualityBarChange();

 private:
  framework::Form& form_;
  const MainControls& c_;
  core::Recorder& recorder_;
  WindowModes& modes_;
};

}  // namespace quill::ui
