#pragma once
// Quilleteer.exe started the way a user starts it, from a folder of its own,
// and found again by its main window.
#include <windows.h>

#include <string>

namespace quill::e2e {

class ProgramUnderTest {
 public:
  ProgramUnderTest();
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Starts the program and waits until it takes input; false on failure.
  bool Start();
  // The program's top-level window of the given class, or nullptr.
  HWND FindWindowOfClass(const wchar_t* class_name) const;
  // The same, waiting up to `milliseconds` for the window to appear.
  HWND WaitForWindowOfClass(const wchar_t* class_name, DWORD milliseconds) const;
  // Waits for the program to end; false if it is still running then.
  bool WaitForExit(DWORD milliseconds);
  DWORD ExitCode() const;
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_;
  PROCESS_INFORMATION process_ = {};
};

// The text of a window's caption.
std::wstring CaptionOf(HWND window);

}  // namespace quill::e2e
