// Test worlds made of the system's clipboard, windows and ole32.
#include <windows.h>

#include <objbase.h>

#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "clipboard_world.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_screen.h"
#include "platform/win32/win32_storage.h"
#include "platform/win32/win32_window_messages.h"
#include "screen_world.h"
#include "storage_world.h"

namespace quill::platform::testing {
namespace {

constexpr wchar_t kWindowClass[] = L"QuilleteerContractWindow";

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window && IsWatchedMessage(message)) {
    window->received.push_back({message, wparam, lparam});
    if (window->on_message) window->on_message(window->received.back());
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class Win32ClipboardWorld : public ClipboardWorld {
 public:
  Win32ClipboardWorld() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = LoggingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    // Every test starts from an empty clipboard.
    if (::OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      ::CloseClipboard();
    }
    Pump();
  }

  ~Win32ClipboardWorld() override {
    LetGoOfClipboard();
    for (TestWindow& window : windows_) {
      window.on_message = nullptr;
      ::SetWindowLongPtrW(reinterpret_cast<HWND>(window.id), GWLP_USERDATA, 0);
      ::DestroyWindow(reinterpret_cast<HWND>(window.id));
    }
    for (HWND hwnd : foreground_) ::DestroyWindow(hwnd);
    Pump();
  }

  Clipboard& clipboard() override { return clipboard_; }
  WindowMessages& messages() override { return messages_; }

  TestWindow& NewWindow() override {
    TestWindow& window = windows_.emplace_back();
    const HWND hwnd = ::CreateWindowExW(0, kWindowClass, L"contract", WS_OVERLAPPED, 0, 0, 10, 10,
                                        nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&window));
    window.id = reinterpret_cast<WindowId>(hwnd);
    return window;
  }

  void MakeForeground(const std::string& class_name) override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = class_name.c_str();
    ::RegisterClassA(&wc);
    const HWND hwnd = ::CreateWindowExA(0, class_name.c_str(), "front", WS_OVERLAPPEDWINDOW, 0, 0,
                                        100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    ::SetForegroundWindow(hwnd);
    foreground_.push_back(hwnd);
    Pump();
  }

  // The holder is a thread of its own: the clipboard is held per thread.
  void HoldClipboard(unsigned milliseconds) override {
    LetGoOfClipboard();
    let_go_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    holder_ = std::thread([this, milliseconds, opened] {
      const bool open = ::OpenClipboard(nullptr) != FALSE;
      ::SetEvent(opened);
      ::WaitForSingleObject(let_go_, milliseconds);
      if (open) ::CloseClipboard();
    });
    ::WaitForSingleObject(opened, INFINITE);
    ::CloseHandle(opened);
  }

  void LetGoOfClipboard() override {
    if (!holder_.joinable()) return;
    ::SetEvent(let_go_);
    holder_.join();
    ::CloseHandle(let_go_);
    let_go_ = nullptr;
  }

  // Notifications between windows of one thread arrive at once; this only
  // dispatches what was posted, until the queue is empty.
  void Pump() override {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }

 private:
  Win32Clipboard clipboard_;
  Win32WindowMessages messages_;
  std::thread holder_;
  HANDLE let_go_ = nullptr;
  std::deque<TestWindow> windows_;
  std::vector<HWND> foreground_;
};

struct CloseFile {
  void operator()(HANDLE file) const { ::CloseHandle(file); }
};
using UniqueFile = std::unique_ptr<void, CloseFile>;

UniqueFile OpenPlainFile(const std::u16string& path, DWORD access, DWORD disposition) {
  const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), access, 0,
                                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return UniqueFile(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

class Win32StorageWorld : public StorageWorld {
 public:
  Win32StorageWorld() {
    initialised_ = SUCCEEDED(::OleInitialize(nullptr));
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ =
        std::wstring(temp) + L"quilleteer-contract-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
  }

  ~Win32StorageWorld() override {
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW((folder_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        ::DeleteFileW((folder_ + L"\\" + found.cFileName).c_str());
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder_.c_str());
    if (initialised_) ::OleUninitialize();
  }

  StorageFiles& files() override { return files_; }

  std::u16string PathOf(const std::u16string& name) override {
    const std::wstring path = folder_ + L"\\" + reinterpret_cast<const wchar_t*>(name.c_str());
    return std::u16string(reinterpret_cast<const char16_t*>(path.c_str()));
  }

  void WritePlainFile(const std::u16string& path, const std::string& bytes) override {
    const UniqueFile file = OpenPlainFile(path, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    if (file)
      ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }

  std::string ReadPlainFile(const std::u16string& path) override {
    const UniqueFile file = OpenPlainFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
      bytes.append(buffer, read);
    return bytes;
  }

 private:
  bool initialised_ = false;
  std::wstring folder_;
  Win32StorageFiles files_;
};

constexpr wchar_t kPopupClass[] = L"QuilleteerScreenContractPopup";

// Paints the popup with the brush it was created with.
LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCREATE:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lparam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(hwnd, &paint);
      RECT client;
      ::GetClientRect(hwnd, &client);
      ::FillRect(dc, &client, reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
      ::EndPaint(hwnd, &paint);
      return 0;
    }
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class Win32ScreenWorld : public ScreenWorld {
 public:
  Win32ScreenWorld() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PopupProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kPopupClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
  }

  ~Win32ScreenWorld() override {
    for (HWND hwnd : windows_) ::DestroyWindow(hwnd);
    for (HBRUSH brush : brushes_) ::DeleteObject(brush);
  }

  Screen& screen() override { return screen_; }

  WindowId ShowPopup(const Rect& rect, std::uint32_t colour) override {
    const HBRUSH brush = ::CreateSolidBrush(RGB(colour >> 16, (colour >> 8) & 0xFF, colour & 0xFF));
    brushes_.push_back(brush);
    const HWND hwnd =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kPopupClass, L"popup", WS_POPUP,
                          rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                          nullptr, nullptr, ::GetModuleHandleW(nullptr), brush);
    windows_.push_back(hwnd);
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    ::GdiFlush();
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    return reinterpret_cast<WindowId>(hwnd);
  }

  WindowId NewWindow() override {
    const HWND hwnd = ::CreateWindowExW(0, kPopupClass, L"owner", WS_POPUP, 0, 0, 1, 1, nullptr,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
    windows_.push_back(hwnd);
    return reinterpret_cast<WindowId>(hwnd);
  }

 private:
  Win32Screen screen_;
  std::vector<HWND> windows_;
  std::vector<HBRUSH> brushes_;
};

}  // namespace

ClipboardWorldMaker Win32ClipboardWorldMaker() {
  return {"Win32", [] { return std::unique_ptr<ClipboardWorld>(new Win32ClipboardWorld); }};
}

ScreenWorldMaker Win32ScreenWorldMaker() {
  return {"Win32", [] { return std::unique_ptr<ScreenWorld>(new Win32ScreenWorld); }};
}

StorageWorldMaker Win32StorageWorldMaker() {
  return {"Win32", [] { return std::unique_ptr<StorageWorld>(new Win32StorageWorld); }};
}

}  // namespace quill::platform::testing
