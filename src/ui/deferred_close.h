#pragma once
// A close asked for while a load or a drop delivers messages between its
// steps: the window closes when that work has stopped.
#include <windows.h>

#include "framework/form.h"

namespace quill::ui {

class DeferredClose {
 public:
  explicit DeferredClose(const framework::Form& window) : window_(window) {}
  void Ask() { asked_ = true; }
  bool Asked() const { return asked_; }
  // Closes the window now if that was asked meanwhile.
  void CloseIfAsked() {
    if (!asked_) return;
    asked_ = false;
    ::PostMessageW(window_.hwnd(), WM_CLOSE, 0, 0);
  }

 private:
  const framework::Form& window_;
  bool asked_ = false;
};

}  // namespace quill::ui
