#pragma once
// The area commands' windows: the overlay "FGrab" that covers the primary
// screen and takes the mouse, and the magnifier "FExpand". One object for
// the program, beside the capturer; it owns both windows and their classes
// and takes them down when it goes or is closed.
#include <memory>

#include "capture/capturer.h"
#include "capture/selection.h"
#include "platform/clock.h"
#include "platform/screen.h"

namespace quill::capture {

// Whether the nearly transparent overlay lets the user see the live screen:
// a system of version 6 or later that composes its windows. Elsewhere (a
// desktop without composition, or Wine, where such a window shows black)
// the overlay shows a picture of the screen taken before it came up.
bool LayeredOverlayShowsScreen();

class AreaSelection {
 public:
  AreaSelection(Capturer& capturer, platform::Screen& screen, platform::Clock& clock);
  ~AreaSelection();
  AreaSelection(const AreaSelection&) = delete;
  AreaSelection& operator=(const AreaSelection&) = delete;

  // An area command after Capturer::MenuAreaClick(tag) and, for the fixed
  // size, a successful Capturer::SetFixSize. `expand_setting` is the
  // magnifier's place (expand_place). False if no selection was started.
  bool Start(int expand_setting);
  // Destroys the windows and unregisters their classes (the main window
  // closing); a selection still running ends without capturing.
  void Close();
  // Ends a running selection without capturing (another capture starts).
  void Cancel();

  bool Active() const;
  // The overlay's window (0 before the first area command), for tests.
  platform::WindowId OverlayWindow() const;
  const Selection& CurrentSelection() const;

 private:
  class Windows;
  std::unique_ptr<Windows> windows_;
};

}  // namespace quill::capture
