#pragma once
// The main window, TFQuillet.
#include "framework/window.h"

namespace quill::ui {

class TFQuillet : public framework::Window {
 public:
  // Creates the window, hidden; false if it could not be created.
  bool Create();
  void Show(int show_command);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void FormCreate();
  // Returns whether the window may close.
  bool FormClose();
};

}  // namespace quill::ui
