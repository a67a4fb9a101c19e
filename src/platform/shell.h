#pragma once
// The shell's notification area and the popup menu the icon opens: the
// icon record and its add, modify and delete, and a popup menu shown
// until the user chooses or dismisses it.
#include <cstdint>
#include <string>

#include "platform/screen.h"
#include "platform/types.h"

namespace quill::platform {

// A popup menu handle's value.
using MenuId = void*;

// The system's NIM_* and NIF_* values.
namespace notify {
constexpr unsigned kAdd = 0;
constexpr unsigned kModify = 1;
constexpr unsigned kDelete = 2;
constexpr unsigned kMessage = 1;
constexpr unsigned kIcon = 2;
constexpr unsigned kTip = 4;
// The longest tip in bytes, without its terminating zero.
constexpr std::size_t kTipBytes = 127;
}  // namespace notify

// One notification icon, in the terms of the system's record.
struct NotifyIconData {
  WindowId window = 0;  // receives the callback message
  unsigned id = 0;
  unsigned flags = 0;
  unsigned callback_message = 0;
  DataHandle icon = nullptr;
  std::string tip;  // system code page bytes
};

class Shell {
 public:
  virtual ~Shell() = default;
  // One of the notify actions on the icon; false if the shell refused it.
  virtual bool NotifyIcon(unsigned action, const NotifyIconData& data) = 0;
  // Shows `menu` at `at` for `owner`; the command chosen, or 0 when the
  // menu was dismissed.
  virtual unsigned TrackPopupMenu(MenuId menu, Point at, WindowId owner) = 0;
};

}  // namespace quill::platform
