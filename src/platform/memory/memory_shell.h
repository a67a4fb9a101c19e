#pragma once
// The notification area in memory: every call and its record is kept; adds
// can be made to fail, and the popup menu answers through a function.
#include <functional>
#include <vector>

#include "platform/shell.h"

namespace quill::platform {

class MemoryShell : public Shell {
 public:
  struct Call {
    unsigned action;
    NotifyIconData data;
  };
  bool NotifyIcon(unsigned action, const NotifyIconData& data) override {
    calls.push_back({action, data});
    if (action == notify::kAdd && refuse_add) return false;
    if (action != notify::kAdd && !shown) return false;
    shown = action != notify::kDelete;
    return true;
  }
  unsigned TrackPopupMenu(MenuId menu, Point at, WindowId owner) override {
    ++popups;
    return on_popup ? on_popup(menu, at, owner) : 0;
  }

  std::vector<Call> calls;
  bool refuse_add = false;
  bool shown = false;  // an icon is in the area
  int popups = 0;
  std::function<unsigned(MenuId, Point, WindowId)> on_popup;
};

}  // namespace quill::platform
