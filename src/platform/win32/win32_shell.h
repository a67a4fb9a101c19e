#pragma once
// The notification area through Shell_NotifyIconA, and popup menus (shell32,
// user32).
#include "platform/shell.h"

namespace quill::platform {

class Win32Shell : public Shell {
 public:
  bool NotifyIcon(unsigned action, const NotifyIconData& data) override;
  unsigned TrackPopupMenu(MenuId menu, Point at, WindowId owner) override;
  // The size of the record handed to the shell: the version with the
  // 128-byte tip, in the platform's own layout.
  static unsigned RecordSize();
};

}  // namespace quill::platform
