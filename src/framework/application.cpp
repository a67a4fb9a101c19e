#include "framework/application.h"

#include <iterator>
#include <string_view>

#include <windows.h>

#include <commctrl.h>

#include "win32/error_boundary.h"

namespace quill::framework {
bool Application::Initialize(std::wstring title) {
  title_ = std::move(title);
  win32::SetErrorTitle(title_);
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  return ::InitCommonControlsEx(&controls) != FALSE;
}

bool Application::DeliverPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Deliver(message);
  }
  return true;
}

int Application::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
  return static_cast<int>(message.wParam);
}

namespace {

HWND accelerator_window = nullptr;
HACCEL accelerator_table = nullptr;

bool IsDialogWindow(HWND window) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring_view(name) == L"#32770";
}

}  // namespace

void Application::SetAccelerators(HWND window, HACCEL table) {
  accelerator_window = window;
  accelerator_table = table;
}

void Application::Deliver(MSG& message) {
  const HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && root == accelerator_window && accelerator_table &&
      ::TranslateAcceleratorW(root, accelerator_table, &message))
    return;
  // The program's forms (made with WS_EX_CONTROLPARENT) and its modeless
  // dialogs get the dialog keyboard: Tab between controls, the mnemonics
  // of their captions, Enter and Escape.
  if (root &&
      ((::GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) || IsDialogWindow(root)) &&
      ::IsDialogMessageW(root, &message))
    return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Application::Terminate(int exit_code) { ::PostQuitMessage(exit_code); }

}  // namespace quill::framework
