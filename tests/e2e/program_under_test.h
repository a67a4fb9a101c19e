#pragma once
// Quilleteer.exe started the way a user starts it, from a folder of its own,
// and found again by its main window.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quill::e2e {

class ProgramUnderTest {
 public:
  ProgramUnderTest();
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Starts the program and waits until it takes input; false on failure.
  // After a Kill, starts it again in the same folder.
  bool Start();
  // Ends the program at once, as the system ends a process it kills:
  // nothing more of it runs, nothing is closed or saved.
  void Kill();
  // The program's top-level window of the given class, or nullptr.
  HWND FindWindowOfClass(const wchar_t* class_name) const;
  // The same, waiting up to `milliseconds` for the window to show.
  HWND WaitForWindowOfClass(const wchar_t* class_name, DWORD milliseconds) const;
  // Waits for the program to end; false if it is still running then.
  bool WaitForExit(DWORD milliseconds);
  DWORD ExitCode() const;
  // Closes the window and answers No if asked to save: for tests that do
  // not care whether something was recorded meanwhile (another program's
  // clipboard change may arrive at any time).
  bool CloseDiscarding(HWND window, DWORD milliseconds);
  // A message box or dialog of the program (class "#32770"), waiting up to
  // `milliseconds` for one to appear; nullptr if none did.
  HWND WaitForDialog(DWORD milliseconds) const;
  // A dialog other than `previous` (the one that follows it).
  HWND WaitForOtherDialog(HWND previous, DWORD milliseconds) const;
  // Whether a file of that name is in the program's folder.
  bool HasFile(const std::wstring& name) const;
  // The names in the program's folder that match a pattern ("*.stg").
  std::vector<std::wstring> Files(const std::wstring& pattern) const;
  const std::wstring& folder() const { return folder_; }
  HANDLE process() const { return process_.hProcess; }

 private:
  std::wstring folder_;
  PROCESS_INFORMATION process_ = {};
};

// Another program of the tests' own beside the program under test
// (quill-holder, with its arguments), ended with the object.
class HelperProgram {
 public:
  explicit HelperProgram(const std::wstring& arguments);
  ~HelperProgram();
  HelperProgram(const HelperProgram&) = delete;
  HelperProgram& operator=(const HelperProgram&) = delete;
  bool running() const { return process_.hProcess != nullptr; }

 private:
  PROCESS_INFORMATION process_ = {};
};

// Closes the program's window, answers that the records are to be saved
// under `name` in its folder, and waits for it to end; the saved file's
// path, or empty if any step failed.
std::wstring SaveAndClose(ProgramUnderTest& program, HWND window, const std::wstring& name);

// The text of a window's caption.
std::wstring CaptionOf(HWND window);
// Waits until the caption (the record counter) has stopped changing for a
// second, at most `milliseconds`.
void WaitUntilQuiet(HWND window, DWORD milliseconds);
// Waits until the window's caption reads `caption`; false if it does not.
bool WaitForCaption(HWND window, const std::wstring& caption, DWORD milliseconds);
// The texts of a dialog's static controls, joined.
std::wstring DialogText(HWND dialog);
// Answers a dialog as if its button had been pressed.
void PressButton(HWND dialog, int button);
// Copies a file into the "samples" folder beside the test program, where
// checks outside Windows look at it.
void KeepSample(const std::wstring& path, const std::wstring& name);
// Types a file name into a file dialog and confirms it.
bool ChooseFile(HWND dialog, const std::wstring& path);
// Empties the clipboard and waits until no further change follows (the
// system may still be settling what an earlier program left there).
void SettleClipboard();
// Puts blocks of the given formats (or one, or text) on the clipboard as
// another program would, as its only content.
struct ClipboardBlock {
  unsigned format;
  std::vector<std::uint8_t> bytes;
};
bool CopyBlocks(const std::vector<ClipboardBlock>& blocks);
bool CopyBlock(unsigned format, const void* bytes, std::size_t size);
bool CopyText(const std::string& text);
// Presses the keys of a chord in order and lets them go in reverse, as real
// input (Alt+C: {VK_MENU, 'C'}).
void SendKeys(std::initializer_list<WORD> chord);

}  // namespace quill::e2e
