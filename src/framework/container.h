#pragma once
// A plain child window that holds other controls: tab sheets, panels, the
// frames of radio groups and group boxes. It lays out its aligned children
// and hands their notifications to the form.
#include <functional>

#include "framework/control.h"

namespace quill::framework {

class Container : public Control {
 public:
  Container(std::wstring name, std::wstring kind, Box box, std::wstring caption = {})
      : Control(std::move(name), std::move(kind)), box_(box), caption_(std::move(caption)) {}

  void Create(HWND parent, UINT id, HFONT font) override;
  void AddChild(Control* child) { children_.push_back(child); }
  const std::vector<Control*>& children() const { return children_; }
  void LayOut();

  // Mouse handlers of the panel itself (the splitter).
  std::function<void(UINT message, int x, int y)> on_mouse;
  HCURSOR cursor = nullptr;
  // Draws a caption at the left, vertically centred, with no frame.
  bool draw_caption = false;
  // Draws an etched group frame with this caption (none if empty).
  std::wstring group_caption;

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintCaption();
  Box box_;
  std::wstring caption_;
  std::vector<Control*> children_;
  HFONT font_ = nullptr;
};

}  // namespace quill::framework
