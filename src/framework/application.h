#pragma once
// The application object: its title (the caption of its message boxes) and
// the message loop that runs until the main window has closed.
#include <windows.h>

#include <string>

namespace quill::framework {

class Application {
 public:
  // Loads the common controls; false if they are not available.
  bool Initialize(std::wstring title);
  const std::wstring& title() const { return title_; }
  // Runs until the main window is gone; returns the exit code.
  int Run();
  // Delivers one message as the loop does, keyboard navigation included.
  static void Deliver(MSG& message);
  // Delivers the messages waiting for this thread once, for work that
  // keeps the window answering between its steps; false when the program
  // is to end (the quit message is put back for the main loop).
  static bool DeliverPending();
  // The shortcut keys of a window: while the window or a control in it has
  // the keyboard, the table turns them into its WM_COMMAND messages. The
  // table must outlive the window (or be replaced by none first).
  static void SetAccelerators(HWND window, HACCEL table);
  // Ends the loop; called when the main window is destroyed.
  static void Terminate(int exit_code = 0);

 private:
  std::wstring title_;
};

}  // namespace quill::framework
