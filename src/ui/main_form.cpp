#include "ui/main_form.h"

#include "framework/application.h"

namespace quill::ui {
namespace {

constexpr wchar_t kClassName[] = L"TFQuillet";
constexpr wchar_t kInitialCaption[] = L"Quilleteer";
// Where the window opens until the stored bounds are read.
constexpr framework::Bounds kDefaultBounds = {100, 80, 380, 440};

}  // namespace

bool TFQuillet::Create() {
  if (!CreateTopLevel(kClassName, kInitialCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      kDefaultBounds, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  FormCreate();
  return true;
}

void TFQuillet::Show(int show_command) {
  ::ShowWindow(hwnd(), show_command);
  ::UpdateWindow(hwnd());
}

void TFQuillet::FormCreate() {}

bool TFQuillet::FormClose() { return true; }

LRESULT TFQuillet::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      if (FormClose()) ::DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      framework::Application::Terminate();
      return 0;
    default:
      return Window::HandleMessage(message, wparam, lparam);
  }
}

}  // namespace quill::ui
