#pragma once
// The capture menu and what it commands: window captures, the selection
// of an area (with the fixed-size dialog), the cursor drawn into captures
// and popup composition. The captures are the capturer's and the
// selection's; this holds the menu's check marks. Its messages come in
// through the form: the print-screen hotkey and the delay timer, taken
// with Form::Handle and Form::HandleTimer; the overlay's own in its
// windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "capture/capturer.h"
#include "capture/size_form.h"
#include "capture/win32/area_selection.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "platform/clock.h"
#include "ui/command_runner.h"
#include "win32/handles.h"

namespace quill::ui {

class CaptureCommands {
 public:
  struct Parts {
    framework::Form& form;
    capture::CaptureServices services;
    platform::Clock& clock;
    const framework::Edit& delay;         // seconds before a delayed capture
    const framework::RadioGroup& expand;  // the magnifier's place
    CommandRunner run;
  };
  // Everything in `parts` must outlive the commands.
  explicit CaptureCommands(const Parts& parts);
  ~CaptureCommands();
  CaptureCommands(const CaptureCommands&) = delete;
  CaptureCommands& operator=(const CaptureCommands&) = delete;

  // The capture items of the menu bar, or of the tray's popup menu (named
  // with a "P", without accelerators); the cursor submenu.
  std::vector<framework::MenuItem> MenuItems(bool popup);
  framework::MenuItem CursorMenu();

  void MenuCaptureClick(int tag);
  void MenuAreaClick(int tag);
  void MenuCapCurClick(int tag);
  void MenuMenuClick();
  // The storage is closed: a pending capture does not fire any more, and
  // the selection's windows go with their classes.
  void Close();

  capture::Capturer& capturer() { return *capturer_; }
  capture::TFSize& size_form() { return *size_form_; }
  capture::AreaSelection& area_selection() { return *area_selection_; }

 private:
  void MenuArrowDrawItem(const framework::MenuItem& item, HDC dc, const RECT& rect,
                         const framework::MenuItemLook& look);

  Parts parts_;
  win32::UniqueImageList cursor_images_;  // ImageList3
  std::unique_ptr<capture::Capturer> capturer_;
  std::unique_ptr<capture::AreaSelection> area_selection_;
  std::unique_ptr<capture::TFSize> size_form_;
};

}  // namespace quill::ui
