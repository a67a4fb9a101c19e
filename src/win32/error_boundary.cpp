#include "win32/error_boundary.h"

#include <string>

namespace quill::win32 {
namespace {
bool g_showing = false;
std::wstring g_title;
}  // namespace

void SetErrorTitle(const std::wstring& title) { g_title = title; }

void ShowUnexpectedError(HWND owner, const std::exception* error) noexcept {
  if (g_showing) return;
  g_showing = true;
  try {
    // Messages of the program and of the imaging library are in the
    // system's code page.
    std::wstring text = L"Unknown error";
    if (error && *error->what()) {
      const char* what = error->what();
      const int length = ::MultiByteToWideChar(CP_ACP, 0, what, -1, nullptr, 0);
      if (length > 1) {
        text.assign(static_cast<std::size_t>(length), L'\0');
        ::MultiByteToWideChar(CP_ACP, 0, what, -1, text.data(), length);
        text.resize(static_cast<std::size_t>(length - 1));
      }
    }
    const HWND parent = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
    ::MessageBoxW(parent, text.c_str(), g_title.c_str(), MB_OK | MB_ICONERROR);
  } catch (...) {
    // Out of memory for the text: nothing more can be shown.
  }
  g_showing = false;
}

}  // namespace quill::win32
