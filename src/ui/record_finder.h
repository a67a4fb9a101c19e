#pragma once
// Finding a record by its text through the system's find dialog: Ctrl+F
// opens it, its "次を検索" and F3 find the next record that holds the text.
// Its messages come in through the registered message the dialog sends,
// which it hands to the form.
#include <windows.h>

#include <commdlg.h>

#include <functional>

#include "core/recorder.h"
#include "framework/form.h"
#include "framework/list_view.h"
#include "platform/dialogs.h"
#include "ui/command_runner.h"

namespace quill::ui {

class RecordFinder {
 public:
  // All must outlive the finder; `form` gets the dialog's message.
  RecordFinder(framework::Form& form, core::Recorder& recorder, framework::ListView& list,
               platform::Dialogs& dialogs, CommandRunner run);
  RecordFinder(const RecordFinder&) = delete;
  RecordFinder& operator=(const RecordFinder&) = delete;

  // Opens the system's find dialog, or brings it forward.
  void MenuFindClick();
  // Finds the last text again (F3); with none yet, opens the dialog.
  void FindNextClick();
  HWND FindDialog() const { return find_dialog_; }

 private:
  void OnFindMessage(const FINDREPLACEW& find);
  void FindAndShow();

  framework::Form& form_;
  core::Recorder& recorder_;
  framework::ListView& list_;
  platform::Dialogs& dialogs_;
  CommandRunner run_;
  // The system keeps pointers into find_ and find_text_ while the dialog
  // is open.
  HWND find_dialog_ = nullptr;
  FINDREPLACEW find_ = {};
  DWORD find_flags_ = FR_DOWN;  // match case and direction, as last chosen
  wchar_t find_text_[256] = {};
};

}  // namespace quill::ui
