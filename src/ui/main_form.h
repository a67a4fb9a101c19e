#pragma once
// The main window, TFQuillet: the tool bar, menus, status bar and the pages
// of controls. It owns the recorder and the collaborators that do the
// window's work, routes commands and messages to them, and runs each
// command inside the one error boundary.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>

#include "core/recorder.h"
#include "framework/form.h"
#include "framework/page_control.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "ui/deferred_close.h"
#include "ui/main_controls.h"

namespace quill::ui {

class OleSession;
class SettingsPages;
class CaptureCommands;
class WindowModes;
class RecordFinder;
class FileCommands;
class RecordView;

// The captions of the filter's first and last entries.
inline constexpr wchar_t kFilterAll[] = L"(すべて)";
inline constexpr wchar_t kFilterOther[] = L"その他";

class TFQuillet : public framework::Form {
 public:
  // The services must outlive the window.
  TFQuillet(const core::RecorderServices& services, platform::Screen& screen,
            platform::Shell& shell);
  ~TFQuillet() override;

  // Creates the window, hidden, and runs FormCreate; false if the window
  // could not be made.
  bool Create();
  void Show(int show_command);
  // Whether the recorder has a storage open: without one the program ends.
  bool HasStorage() const { return recorder_ && recorder_->HasStorage(); }
  core::Recorder& recorder() { return *recorder_; }

  // The controls, made by BuildControls in the declared order.
  using Controls = MainControls;
  const Controls& widgets() const { return c_; }

  // --- the collaborators, each with the commands and messages it handles ---
  // The record list, the preview and the captured records shown: what the
  // recorder reports.
  RecordView& view() { return *view_; }
  // The capture menu's commands, the capturer and the area selection.
  CaptureCommands& captures() { return *captures_; }
  // The settings pages and the options kept between runs.
  SettingsPages& settings() { return *settings_; }
  // Import, export, dropped files and text files loaded as records.
  FileCommands& files() { return *files_; }
  // The full and minimal views, the tray icon, help and about box.
  WindowModes& modes() { return *modes_; }

  // --- handlers of the window's own ---
  void FormCreate();
  void FormActivate();
  bool FormClose();
  void OpenBtnClick();
  void MenuFileClick();
  void ListViewMouseDown(int x, int y);
  void ListViewDragDrop(int target);
  void MoveKeyDown(WPARAM key);
  void SplitterPanelMouse(UINT message, int x, int y);
  void CloseClick();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnMenuPopup(const std::wstring& menu_name) override;

 private:
  // The controls, page by page.
  void BuildControls();
  void BuildViewerPage(framework::PageControl& pages);
  void BuildSettingsPage1(framework::PageControl& pages);
  void BuildSettingsPage2(framework::PageControl& pages);
  void BuildMenus();
  // The recorder's messages, the clipboard's and the timers of captures.
  void HandleRecorderMessages();
  // After the window moved to a screen of other dots per inch.
  void OnDpiChanged();
  // Runs a command; an error it raises is shown and ends the command.
  // Captured records still waiting to be shown are shown first, so that
  // the command sees the list as the records are.
  void Run(const std::function<void()>& command, bool show_captured_first = true);
  // A handler (of this window, or any other callable) run as a command;
  // a menu's command is given the item's tag, which it does not need.
  template <typename Handler>
  std::function<void()> Command(Handler handler) {
    return [this, handler] {
      Run([this, handler] {
        if constexpr (std::is_member_function_pointer_v<Handler>) {
          (this->*handler)();
        } else {
          handler();
        }
      });
    };
  }
  template <typename Handler>
  std::function<void(int)> MenuCommand(Handler handler) {
    return [command = Command(handler)](int) { command(); };
  }

  core::RecorderServices services_;
  platform::Screen& screen_;
  platform::Shell& shell_;
  std::unique_ptr<OleSession> ole_;
  // The view outlives the recorder, which reports to it.
  std::unique_ptr<RecordView> view_;
  std::unique_ptr<core::Recorder> recorder_;
  std::unique_ptr<CaptureCommands> captures_;
  win32::UniqueImageList tool_images_;
  win32::UniqueImageList disabled_tool_images_;
  win32::UniqueImageList kind_images_;
  win32::UniqueIcon icon_large_;
  win32::UniqueIcon icon_small_;
  Controls c_;
  bool splitter_captured_ = false;
  std::unique_ptr<WindowModes> modes_;
  std::unique_ptr<SettingsPages> settings_;
  std::unique_ptr<FileCommands> files_;
  DeferredClose close_{*this};  // a close asked for during a load or a drop
  std::unique_ptr<RecordFinder> finder_;
  win32::UniqueAccelerators accelerators_;
};

}  // namespace quill::ui
