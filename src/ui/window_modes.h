#pragma once
// The main window's modes: the full view and the minimal one at a corner of
// the screen or as an icon in the notification area (with its popup menu),
// the help file and the about box. Its messages come in through the tray
// icon's window and the shell's "TaskbarCreated", which it hands to the
// form; the form tells it of a change of scale.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/box.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "platform/screen.h"
#include "platform/shell.h"

namespace quill::ui {

class TrayIcon;
class HelpFile;
class TFAbout;

class WindowModes {
 public:
  struct Parts {
    framework::Form& form;
    platform::Screen& screen;
    platform::Shell& shell;
    HICON icon;                              // the icon's picture
    const framework::RadioGroup& placement;  // where the minimal view goes
    const framework::Control& tool_bar;      // what the minimal view keeps
    const framework::Control& status_bar;
    std::function<void()> activate;  // the window's activation, for a start in the tray
  };
  // Everything in `parts` must outlive the modes; the form is laid out.
  explicit WindowModes(const Parts& parts);
  ~WindowModes();
  WindowModes(const WindowModes&) = delete;
  WindowModes& operator=(const WindowModes&) = delete;

  // Switches between the full and the minimal view.
  void WideBtnClick();
  void MoveToTaskTray();
  void RemoveTaskTray();
  void MenuRestoreClick();
  void WMTrayIcon(UINT mouse_message);
  void MenuContentsClick();
  void MenuAboutClick();
  // The start-up step of the settings that opens the minimal view.
  void StartMinimized();
  bool MiniMode() const { return mini_mode_; }
  int MiniHeight() const { return mini_height_; }
  // The icon is in the notification area (the window is hidden).
  bool InTray() const;
  HWND NotifyWindow() const;
  // The icon's tip follows the window's caption.
  void SetTip(const std::wstring& caption);
  TFAbout& about_form() { return *about_; }

  // The full view's place and size, as kept between runs (in the pixels of
  // a 96-dpi screen): put the window there, and read where it is now.
  void PlaceFullView(const framework::Box& kept);
  framework::Box FullViewToKeep();
  // After the window moved to a screen of other dots per inch.
  void OnDpiChanged();

 private:
  void MeasureMiniHeight();
  HWND hwnd() const { return parts_.form.hwnd(); }
  platform::WindowId window_id() const { return reinterpret_cast<platform::WindowId>(hwnd()); }

  Parts parts_;
  bool mini_mode_ = false;            // the minimal view is shown
  framework::Box saved_bounds_ = {};  // of the full view, while the minimal one is shown
  int mini_height_ = 0;
  UINT bounds_dpi_ = 96;    // the dots per inch saved_bounds_ are in
  bool tray_busy_ = false;  // the tray's popup menu is open
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<HelpFile> help_;
  std::unique_ptr<TFAbout> about_;
};

}  // namespace quill::ui
