#pragma once
// The program's picture strips (toolbar, record kinds, the capture menu's
// cursors), each drawn in the sizes screens at 100, 125, 150 and 200 % need.
#include <windows.h>

#include <iterator>

#include "win32/handles.h"

namespace quill::ui {

enum class Strip { kToolBar, kToolBarDisabled, kKinds, kCursors };

// The size step (0 to 3) for a screen: the largest drawing not larger than
// the screen's scale asks for, so no picture is ever stretched.
int StripStep(UINT dpi);

// The strip as an image list of the screen's size step.
win32::UniqueImageList LoadStrip(Strip strip, UINT dpi);

}  // namespace quill::ui
