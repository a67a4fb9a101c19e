#pragma once
// The window's commands on files: import and export through the exchange,
// files dropped on the window (with the choice menu), and loading a text
// file as records, each piece put on the clipboard and recorded by capture
// as if another program had copied it. Its messages come in as menu and
// tool-bar commands and as the window's WM_DROPFILES; a load and a drop
// deliver messages between their steps.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "core/recorder.h"
#include "exchange/exchange.h"
#include "framework/form.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "ui/command_runner.h"
#include "ui/deferred_close.h"
#include "ui/main_controls.h"

namespace quill::ui {

class FileCommands {
 public:
  // What the records' view does for a load or a drop between its steps.
  class Host {
   public:
    // Reads the clipboard now, as its notification would.
    virtual void CaptureClip() = 0;
    // From now on, captured records are shown in batches ...
    virtual void BeginBatches() = 0;
    // ... until the load or drop ends, when the rest is shown.
    virtual void EndBatches() = 0;
    // A storage is being loaded: the list is not complete.
    virtual bool ListFilling() const = 0;

   protected:
    ~Host() = default;
  };
  struct Parts {
    framework::Form& form;
    const MainControls& controls;
    exchange::TextPane& memo;
    const core::RecorderServices& services;
    core::Recorder& recorder;
    platform::Screen& screen;
    platform::Shell& shell;
    Host& host;
    // A close asked for meanwhile stops a load after its step.
    DeferredClose& close;
    CommandRunner run;
  };
  // Everything in `parts` must outlive the commands.
  explicit FileCommands(const Parts& parts);
  FileCommands(const FileCommands&) = delete;
  FileCommands& operator=(const FileCommands&) = delete;

  void ImportBtnClick();
  // Puts the file's content on the clipboard; a failure is shown (false).
  bool ImportFile(const std::wstring& path);
  void ExportBtnClick();

  void WMDropFiles(HDROP drop);
  void MenuDropClick(int tag) { drop_choice_ = tag; }

  void MenuTextClick();
  bool PageSeparated() const { return page_separated_; }
  // A text load or a drop is delivering messages between its steps.
  bool Busy() const { return loading_text_ || dropping_; }

 private:
  friend class WindowDropSite;
  // How a step of a text load went: done, the clipboard held by another
  // program for seconds, or the program ending.
  enum class TextStep { kDone, kHeld, kEnding };
  // Puts `text` on the clipboard, waiting for another program that holds
  // it (the window answering meanwhile).
  TextStep PutClipboardText(const std::string& text);
  // After a change of the clipboard: in automatic mode lets messages
  // arrive until capture has read that state, reading it directly where
  // no notification brings it; in manual mode delivers what is pending
  // once.
  TextStep AwaitCapture();
  platform::WindowId window_id() const {
    return reinterpret_cast<platform::WindowId>(parts_.form.hwnd());
  }

  Parts parts_;
  bool page_separated_ = false;  // text records are pages, not lines
  bool loading_text_ = false;
  int drop_choice_ = 0;    // the item chosen from DropPopup
  bool dropping_ = false;  // a drop is being handled
};

}  // namespace quill::ui
