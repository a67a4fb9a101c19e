// Drives a running Quilleteer from outside, for the run script:
//   quill-driver wait <window class> <milliseconds>   waits until the window shows
//   quill-driver close <window class> <milliseconds>  closes it and waits until it is gone
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND WaitForWindow(const wchar_t* class_name, DWORD milliseconds, bool present) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    const HWND window = ::FindWindowW(class_name, nullptr);
    const bool shown = window && ::IsWindowVisible(window);
    if (shown == present) return window;
    if (::GetTickCount() - start > milliseconds) return reinterpret_cast<HWND>(-1);
    ::Sleep(100);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: quill-driver wait|close <window class> <milliseconds>\n", stderr);
    return 2;
  }
  const std::wstring verb = argv[1];
  const wchar_t* class_name = argv[2];
  const DWORD limit = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
  if (verb == L"wait") {
    const HWND window = WaitForWindow(class_name, limit, true);
    if (window == reinterpret_cast<HWND>(-1)) return 1;
    // Let it finish painting before anyone looks at it.
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return 0;
  }
  if (verb == L"close") {
    const HWND window = ::FindWindowW(class_name, nullptr);
    if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForWindow(class_name, limit, false) == reinterpret_cast<HWND>(-1) ? 1 : 0;
  }
  return 2;
}
