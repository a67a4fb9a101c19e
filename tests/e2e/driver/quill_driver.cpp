// Drives a running Quilleteer from outside, for the run and package scripts:
//   quill-driver wait <window class> <milliseconds>   waits until the window shows
//   quill-driver close <window class> <milliseconds>  closes it and waits until it is gone
//   quill-driver target <shortcut>                     prints the program a shortcut
//                                                      starts, as the shell reads it
#include <windows.h>
// After windows.h, which they need.
#include <objbase.h>
#include <shlobj.h>
#include <wrl/client.h>

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

// The shell's own reading of the shortcut, not a parse of ours: what the
// Start menu would start.
int PrintShortcutTarget(const wchar_t* shortcut) {
  if (FAILED(::CoInitialize(nullptr))) return 1;
  int result = 1;
  {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
    std::wstring target(MAX_PATH, L'\0');
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_PPV_ARGS(&link))) &&
        SUCCEEDED(link.As(&file)) && SUCCEEDED(file->Load(shortcut, STGM_READ)) &&
        link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, SLGP_RAWPATH) ==
            S_OK) {
      target.resize(std::wcslen(target.c_str()));
      std::fputws(target.c_str(), stdout);
      std::fputws(L"\n", stdout);
      result = 0;
    }
  }
  ::CoUninitialize();
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"target") return PrintShortcutTarget(argv[2]);
  if (argc != 4) {
    std::fputs("usage: quill-driver wait|close <window class> <milliseconds> | target <shortcut>\n",
               stderr);
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
