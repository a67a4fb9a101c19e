#pragma once
// The main window's icon in the notification area, with the zero-size
// child window TNotifyWindow that receives the icon's messages. The child
// exists exactly while the icon does.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/shell.h"

namespace quill::ui {

// The icon's callback message.
inline constexpr UINT WM_TRAYICON = WM_USER + 0x66;

// The longest head of `text` of at most `max_bytes` bytes that does not
// cut a double-byte character in two; `is_lead` tells a lead byte.
std::string CutWhole(const std::string& text, std::size_t max_bytes,
                     const std::function<bool(unsigned char)>& is_lead);
// A window caption as the icon's tip, in the system code page.
std::string TrayTip(const std::wstring& caption);

class TrayIcon {
 public:
  // Gets the mouse message of every callback.
  using Handler = std::function<void(UINT mouse_message)>;
  // `shell` and `icon` must outlive the object.
  TrayIcon(platform::Shell& shell, HWND owner, HICON icon, Handler on_mouse);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Makes the notification window and adds the icon; when the shell
  // refuses, the window goes again and the result is false.
  bool Add(const std::string& tip);
  bool Exists() const;
  // Changes the tip of the icon, if there is one.
  void SetTip(const std::string& tip);
  // Adds the icon once more, after the shell has restarted without it.
  void AddAgain();
  // Deletes the icon and destroys the notification window, if they exist.
  void Remove();
  HWND notify_window() const;

 private:
  class NotifyWindow;
  platform::Shell& shell_;
  HWND owner_;
  Handler on_mouse_;
  platform::NotifyIconData data_;
  std::unique_ptr<NotifyWindow> window_;
};

}  // namespace quill::ui
