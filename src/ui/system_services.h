#pragma once
// The system's own services, made once by the program's main block (and by
// the window tests that are about the real services).
#include "core/recorder.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_storage.h"
#include "platform/win32/win32_window_messages.h"

namespace quill::ui {

struct SystemServices {
  platform::Win32Clipboard clipboard;
  platform::Win32WindowMessages messages;
  platform::Win32StorageFiles files;
  platform::Win32Dialogs dialogs{0, u"Quilleteer"};
  platform::Win32Clock clock;
  platform::Win32Screen screen;
  platform::Win32Shell shell;

  core::RecorderServices All() { return With(dialogs); }
  // The same with another answerer of the questions.
  core::RecorderServices With(platform::Dialogs& asked) {
    return {clipboard, messages, files, asked, clock};
  }
};

}  // namespace quill::ui
