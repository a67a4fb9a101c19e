// Another program on a busy desktop, as clipboard tools, remote-desktop
// clients and password managers are: it runs until it is ended.
//   quill-holder listen <ms>       on every clipboard change, opens the
//                                  clipboard, reads its text and holds it
//                                  for <ms> before closing it
//   quill-holder listen-once <ms>  the same for the first change only
//   quill-holder careless-viewer   joins the clipboard-viewer chain and
//                                  passes nothing on
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

enum class Mode { kListen, kListenOnce, kCarelessViewer };
Mode mode = Mode::kListen;
DWORD hold_ms = 0;
bool held_once = false;

void HoldClipboard(HWND window) {
  if (mode == Mode::kListenOnce && held_once) return;
  // The change is read as soon as it is told, while others still read it.
  int attempt = 0;
  while (!::OpenClipboard(window))
    if (++attempt == 200)
      return;
    else
      ::Sleep(1);
  if (const HANDLE text = ::GetClipboardData(CF_TEXT)) {
    volatile char first = *static_cast<const char*>(::GlobalLock(text));
    (void)first;
    ::GlobalUnlock(text);
  }
  ::Sleep(hold_ms);
  ::CloseClipboard();
  held_once = true;
}

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLIPBOARDUPDATE:
      HoldClipboard(window);
      return 0;
    case WM_DRAWCLIPBOARD:  // swallowed: the viewers after us hear nothing
    case WM_CHANGECBCHAIN:
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring verb = argc > 1 ? argv[1] : L"";
  if (verb == L"listen" && argc == 3) {
    mode = Mode::kListen;
  } else if (verb == L"listen-once" && argc == 3) {
    mode = Mode::kListenOnce;
  } else if (verb == L"careless-viewer" && argc == 2) {
    mode = Mode::kCarelessViewer;
  } else {
    std::fputs("usage: quill-holder listen|listen-once <ms> | careless-viewer\n", stderr);
    return 2;
  }
  if (argc == 3) hold_ms = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10));
  WNDCLASSW wc = {};
  wc.lpfnWndProc = HolderProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QuillClipboardHolder";
  ::RegisterClassW(&wc);
  const HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"holder", WS_OVERLAPPED, 0, 0, 10, 10,
                                        nullptr, nullptr, wc.hInstance, nullptr);
  if (!window) return 1;
  if (mode == Mode::kCarelessViewer)
    ::SetClipboardViewer(window);  // and never ChangeClipboardChain: careless
  else
    ::AddClipboardFormatListener(window);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  return 0;
}
