#pragma once
// The one place where an exception from a message handler or a command
// stops. It is shown with the application's standard error box and the
// program goes on; it never crosses a window procedure into the system's
// code.
#include <windows.h>

#include <exception>
#include <string>

namespace quill::win32 {

// Shows the error box for an exception that escaped a handler (null: one
// that is no std::exception). While one box is open, later errors are not
// shown again, so a handler that fails on every paint cannot stack boxes.
void ShowUnexpectedError(HWND owner, const std::exception* error) noexcept;
// The caption of the error box: the application's title.
void SetErrorTitle(const std::wstring& title);

// Runs a command; an exception it raises is shown as above and ends it.
// True when it ran to its end.
template <typename Command>
bool GuardCommand(HWND owner, Command&& command) noexcept {
  try {
    command();
    return true;
  } catch (const std::exception& error) {
    ShowUnexpectedError(owner, &error);
  } catch (...) {
    ShowUnexpectedError(owner, nullptr);
  }
  return false;
}

template <typename Handler>
LRESULT GuardMessage(HWND hwnd, UINT message, Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& error) {
    // An unpainted window would be asked to paint again at once.
    if (message == WM_PAINT) ::ValidateRect(hwnd, nullptr);
    ShowUnexpectedError(hwnd, &error);
  } catch (...) {
    if (message == WM_PAINT) ::ValidateRect(hwnd, nullptr);
    ShowUnexpectedError(hwnd, nullptr);
  }
  return 0;
}

}  // namespace quill::win32
