#include "framework/application.h"

#include <windows.h>

#include <commctrl.h>

namespace quill::framework {
namespace {
std::wstring g_title;
}  // namespace

const std::wstring& Application::CurrentTitle() { return g_title; }

bool Application::Initialize(std::wstring title) {
  title_ = std::move(title);
  g_title = title_;
  INITCOMMONCONTROLSEX controls = {sizeof controls,
                                   ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES};
  return ::InitCommonControlsEx(&controls) != FALSE;
}

int Application::Run() {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
  return static_cast<int>(message.wParam);
}

void Application::Deliver(MSG& message) {
  // The program's forms (made with WS_EX_CONTROLPARENT) get the dialog
  // keyboard: Tab between controls, the mnemonics of their captions.
  const HWND root = message.hwnd ? ::GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && (::GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
      ::IsDialogMessageW(root, &message))
    return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Application::Terminate(int exit_code) { ::PostQuitMessage(exit_code); }

}  // namespace quill::framework
