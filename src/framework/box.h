#pragma once
// The one rectangle of the window layer: a place and a size, in the pixels
// of a screen (a window's on the screen, a control's in its parent).

namespace quill::framework {

struct Box {
  int x, y, width, height;
  friend bool operator==(const Box&, const Box&) = default;
};

}  // namespace quill::framework
