#include "platform/win32/win32_shell.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstring>

namespace quill::platform {

unsigned Win32Shell::RecordSize() { return NOTIFYICONDATAA_V2_SIZE; }

bool Win32Shell::NotifyIcon(unsigned action, const NotifyIconData& data) {
  NOTIFYICONDATAA record = {};
  record.cbSize = RecordSize();
  record.hWnd = reinterpret_cast<HWND>(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callback_message;
  record.hIcon = static_cast<HICON>(data.icon);
  const std::size_t length = std::min(data.tip.size(), sizeof record.szTip - 1);
  std::memcpy(record.szTip, data.tip.data(), length);
  return ::Shell_NotifyIconA(action, &record) != FALSE;
}

unsigned Win32Shell::TrackPopupMenu(MenuId menu, Point at, WindowId owner) {
  const HWND window = reinterpret_cast<HWND>(owner);
  const unsigned command = static_cast<unsigned>(
      ::TrackPopupMenu(static_cast<HMENU>(menu), TPM_RETURNCMD, at.x, at.y, 0, window, nullptr));
  // Without a message after it, a menu opened from the notification area
  // may not close the next time the user clicks elsewhere.
  ::PostMessageW(window, WM_NULL, 0, 0);
  return command;
}

}  // namespace quill::platform
