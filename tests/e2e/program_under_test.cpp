#include "program_under_test.h"

#include <dlgs.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quill::e2e {
namespace {

std::wstring FolderOfThisExecutable() {
  std::vector<wchar_t> path(MAX_PATH);
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring text(path.data(), length);
  return text.substr(0, text.find_last_of(L'\\'));
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") ::DeleteFileW((folder + L"\\" + name).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

struct Search {
  DWORD process_id;
  const wchar_t* class_name;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (owner == search->process_id && std::wstring(name) == search->class_name) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

ProgramUnderTest::ProgramUnderTest() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  folder_ = std::wstring(temp) + L"quilleteer-e2e-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(::GetTickCount());
  ::CreateDirectoryW(folder_.c_str(), nullptr);
}

ProgramUnderTest::~ProgramUnderTest() {
  Kill();
  RemoveFolder(folder_);
}

void ProgramUnderTest::Kill() {
  if (!process_.hProcess) return;
  if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.hProcess, 99);
    ::WaitForSingleObject(process_.hProcess, 5000);
  }
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
  process_ = {};
}

bool ProgramUnderTest::Start() {
  Kill();
  const std::wstring program = folder_ + L"\\Quilleteer.exe";
  if (!::CopyFileW((FolderOfThisExecutable() + L"\\Quilleteer.exe").c_str(), program.c_str(),
                   FALSE))
    return false;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + program + L"\"";
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &process_))
    return false;
  return ::WaitForInputIdle(process_.hProcess, 20000) == 0;
}

HelperProgram::HelperProgram(const std::wstring& arguments) {
  const std::wstring program = FolderOfThisExecutable() + L"\\quill-holder.exe";
  std::wstring command = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
    process_ = {};
    return;
  }
  // Its window is up and listening once it waits for input.
  ::WaitForInputIdle(process_.hProcess, 20000);
}

HelperProgram::~HelperProgram() {
  if (!process_.hProcess) return;
  ::TerminateProcess(process_.hProcess, 0);
  ::WaitForSingleObject(process_.hProcess, 10000);
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

void WaitUntilQuiet(HWND window, DWORD milliseconds) {
  std::wstring last;
  int steady = 0;
  const DWORD start = ::GetTickCount();
  while (steady < 10 && ::GetTickCount() - start < milliseconds) {
    ::Sleep(100);
    const std::wstring now = CaptionOf(window);
    steady = now == last ? steady + 1 : 0;
    last = now;
  }
}

std::wstring SaveAndClose(ProgramUnderTest& program, HWND window, const std::wstring& name) {
  constexpr DWORD kWait = 30000;
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const HWND question = program.WaitForDialog(kWait);
  if (!question) return {};
  PressButton(question, IDYES);
  const HWND save = program.WaitForOtherDialog(question, kWait);
  if (!save) return {};
  const std::wstring saved = program.folder() + L"\\" + name;
  if (!ChooseFile(save, saved) || !program.WaitForExit(kWait) || program.ExitCode() != 0) return {};
  return saved;
}

HWND ProgramUnderTest::FindWindowOfClass(const wchar_t* class_name) const {
  Search search = {process_.dwProcessId, class_name, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND ProgramUnderTest::WaitForWindowOfClass(const wchar_t* class_name, DWORD milliseconds) const {
  const DWORD start = ::GetTickCount();
  for (;;) {
    // Shown, so that the program has finished setting it up.
    const HWND window = FindWindowOfClass(class_name);
    if (window && ::IsWindowVisible(window)) return window;
    // Ends the wait early if the program died instead of showing a window.
    if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    if (::GetTickCount() - start > milliseconds) return nullptr;
  }
}

bool ProgramUnderTest::WaitForExit(DWORD milliseconds) {
  return ::WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

bool ProgramUnderTest::CloseDiscarding(HWND window, DWORD milliseconds) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  const DWORD start = ::GetTickCount();
  while (!WaitForExit(50)) {
    if (::GetTickCount() - start > milliseconds) return false;
    if (const HWND question = FindWindowOfClass(L"#32770")) PressButton(question, IDNO);
  }
  return true;
}

DWORD ProgramUnderTest::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND ProgramUnderTest::WaitForDialog(DWORD milliseconds) const {
  return WaitForOtherDialog(nullptr, milliseconds);
}

HWND ProgramUnderTest::WaitForOtherDialog(HWND previous, DWORD milliseconds) const {
  const DWORD start = ::GetTickCount();
  for (;;) {
    // Shown, so its controls exist: the window itself is made first.
    const HWND dialog = FindWindowOfClass(L"#32770");
    if (dialog && dialog != previous && ::IsWindowVisible(dialog)) return dialog;
    if (::WaitForSingleObject(process_.hProcess, 50) == WAIT_OBJECT_0) return nullptr;
    if (::GetTickCount() - start > milliseconds) return nullptr;
  }
}

bool ProgramUnderTest::HasFile(const std::wstring& name) const {
  return ::GetFileAttributesW((folder_ + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> ProgramUnderTest::Files(const std::wstring& pattern) const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder_ + L"\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

namespace {
BOOL CALLBACK CollectStatic(HWND child, LPARAM context) {
  wchar_t name[32] = {};
  ::GetClassNameW(child, name, 32);
  if (_wcsicmp(name, L"Static") == 0) *reinterpret_cast<std::wstring*>(context) += CaptionOf(child);
  return TRUE;
}
}  // namespace

std::wstring DialogText(HWND dialog) {
  std::wstring text;
  ::EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

void PressButton(HWND dialog, int button) { ::PostMessageW(dialog, WM_COMMAND, button, 0); }

void KeepSample(const std::wstring& path, const std::wstring& name) {
  const std::wstring folder = FolderOfThisExecutable() + L"\\samples";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  ::CopyFileW(path.c_str(), (folder + L"\\" + name).c_str(), FALSE);
}

bool ChooseFile(HWND dialog, const std::wstring& path) {
  // The name box is a combo box (cmb13) on newer dialogs, an edit (edt1)
  // on older ones.
  // The dialog may be found before its controls are made: try a while.
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < 10000) {
    if (::SetDlgItemTextW(dialog, cmb13, path.c_str()) ||
        ::SetDlgItemTextW(dialog, edt1, path.c_str())) {
      PressButton(dialog, IDOK);
      return true;
    }
    ::Sleep(50);
  }
  return false;
}

void SettleClipboard() {
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    ::CloseClipboard();
  }
  DWORD last = ::GetClipboardSequenceNumber();
  DWORD quiet_since = ::GetTickCount();
  const DWORD start = quiet_since;
  while (::GetTickCount() - quiet_since < 300 && ::GetTickCount() - start < 5000) {
    ::Sleep(20);
    const DWORD now = ::GetClipboardSequenceNumber();
    if (now != last) {
      last = now;
      quiet_since = ::GetTickCount();
    }
  }
}

bool CopyBlocks(const std::vector<ClipboardBlock>& blocks) {
  // As a careful program does: another may be reading what changed.
  for (int attempt = 0; !::OpenClipboard(nullptr); ++attempt) {
    if (attempt == 2000) return false;
    ::Sleep(1);
  }
  ::EmptyClipboard();
  bool placed = true;
  for (const ClipboardBlock& b : blocks) {
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, std::max<std::size_t>(b.bytes.size(), 1));
    if (!block) {
      placed = false;
      break;
    }
    if (!b.bytes.empty()) {
      memcpy(::GlobalLock(block), b.bytes.data(), b.bytes.size());
      ::GlobalUnlock(block);
    }
    if (!::SetClipboardData(b.format, block)) {
      ::GlobalFree(block);
      placed = false;
      break;
    }
  }
  ::CloseClipboard();
  return placed;
}

bool CopyBlock(unsigned format, const void* bytes, std::size_t size) {
  const auto* first = static_cast<const std::uint8_t*>(bytes);
  return CopyBlocks({{format, std::vector<std::uint8_t>(first, first + size)}});
}

void SendKeys(std::initializer_list<WORD> chord) {
  const auto key = [](WORD code, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.dwFlags = flags;
    return input;
  };
  std::vector<INPUT> input;
  for (WORD code : chord) input.push_back(key(code, 0));
  for (auto code = chord.end(); code != chord.begin();)
    input.push_back(key(*--code, KEYEVENTF_KEYUP));
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

bool CopyText(const std::string& text) { return CopyBlock(CF_TEXT, text.c_str(), text.size() + 1); }

std::wstring CaptionOf(HWND window) {
  wchar_t text[256] = {};
  const int length = ::GetWindowTextW(window, text, 256);
  return std::wstring(text, length > 0 ? length : 0);
}

bool WaitForCaption(HWND window, const std::wstring& caption, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (CaptionOf(window) != caption) {
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(20);
  }
  return true;
}

}  // namespace quill::e2e
