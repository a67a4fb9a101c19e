#pragma once
// Picking a rectangle of the screen with the mouse, for the two area
// commands: freely by dragging from corner to corner, or as a rectangle of
// fixed size whose bottom-right corner follows the pointer. The rules live
// here; the overlay and magnifier windows are behind SelectionSurface.
#include <bitset>
#include <cstdint>
#include <memory>
#include <optional>

#include "capture/capturer.h"
#include "platform/clock.h"
#include "platform/screen.h"

namespace quill::capture {

// The magnifier's place, the settings' index.
namespace expand_place {
constexpr int kNone = 0;
constexpr int kTopLeft = 1;
constexpr int kTopRight = 2;
}  // namespace expand_place

// One magnifier picture: `source` of the screen stretched onto `target`.
struct Magnifier {
  platform::Rect source;
  platform::Rect target;
  bool crosshair = false;
  friend bool operator==(const Magnifier&, const Magnifier&) = default;
};

// --- the rules ---
// A fixed rectangle ends at the pointer, so the pointer is kept where the
// whole rectangle fits: not above or left of the size, not past the screen.
platform::Point ClampFixedPoint(platform::Point p, const FixSize& size,
                                const platform::Rect& screen);
// The fixed rectangle ending at a clamped point, its edges kept on the screen.
platform::Rect FixedRect(platform::Point clamped, const FixSize& size);
// Corners in any order made into a rectangle; a click without movement
// becomes the one pixel clicked, so that it is captured and recorded too.
platform::Rect NormalizedSelection(platform::Rect band);
// The magnifier window's bounds, or none (no place chosen, or 512 pixels or
// more in either direction).
std::optional<platform::Rect> MagnifierWindowRect(bool fixed, const FixSize& size,
                                                  int expand_setting, const platform::Rect& screen);
// What the magnifier window shows for a pointer position.
Magnifier WindowMagnifier(platform::Point pointer, bool fixed, const FixSize& size);
// What the magnifier drawn on the overlay itself shows (no size limit), or
// none. `band` is the fixed rectangle, whose size it shows.
std::optional<Magnifier> OverlayMagnifier(platform::Point point, bool fixed,
                                          const platform::Rect& band, int expand_setting,
                                          const platform::Rect& screen);

// The overlay covering the screen and the magnifier, as the selection uses
// them. The implementation owns the windows.
class SelectionSurface {
 public:
  virtual ~SelectionSurface() = default;
  // Creates the overlay the first time; false when it cannot exist.
  virtual bool CreateOverlay() = 0;
  // Shows the overlay at the top of the topmost band, showing `picture`
  // (the screen as it was) or, without one, nothing of its own.
  virtual void ShowOverlay(const platform::ScreenBitmap* picture) = 0;
  // Hides the overlay and takes it out of the topmost band.
  virtual void HideOverlay() = 0;
  // The magnifier window at `bounds` (made the first time), shown.
  virtual void ShowMagnifierWindow(const platform::Rect& bounds) = 0;
  // Hides the magnifier window, or takes the magnifier off the overlay.
  virtual void HideMagnifier() = 0;
  // The magnifier window repaints for the pointer's new place.
  virtual void InvalidateMagnifierWindow() = 0;
  // Draws a magnifier onto the overlay.
  virtual void DrawMagnifier(const Magnifier& magnifier) = 0;
  // Inverts the one-pixel outline of `rect` on the screen; twice restores.
  virtual void InvertOutline(const platform::Rect& rect) = 0;
  virtual void ShowPointer(bool show) = 0;
  // Moves the pointer by one unit of relative mouse motion.
  virtual void NudgePointer(int dx, int dy) = 0;
  virtual void ReleaseMouseCapture() = 0;
};

// The selection's course from the area command to the capture.
class Selection {
 public:
  Selection(Capturer& capturer, platform::Screen& screen, platform::Clock& clock,
            SelectionSurface& surface);
  // A selection still running gives the pointer back.
  ~Selection();
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

  // The area command after its size dialog (Capturer::MenuAreaClick and,
  // for a fixed size, SetFixSize done): takes the main window off the
  // screen and puts the overlay up. A window capture still pending is
  // given up: its trigger would capture the overlay. Without layered
  // windows composed by the system, the overlay shows a picture of the
  // screen taken first, and that picture is what is captured. False, with
  // an error beep and the main window left as it was, when no overlay can
  // exist; false too while one is running.
  bool Start(int expand_setting);
  bool Active() const { return active_; }
  // Takes a running selection off the screen without capturing (the
  // overlay closed, the program closing, another capture, a new screen
  // size): pointer shown, main window back as it was.
  void Abandon();

  // --- the overlay's input; positions in screen pixels ---
  void KeyDown(unsigned key);
  // True when the key is consumed; false asks for default processing.
  bool KeyUp(unsigned key);
  void MouseMove(platform::Point p);
  void ButtonDown(platform::Point p);
  void ButtonUp(platform::Point p);

  // What the magnifier window shows now.
  Magnifier WindowMagnifierAt(platform::Point pointer) const;
  const platform::Rect& Band() const { return band_; }
  // Where the overlay last saw the pointer.
  platform::Point LastPoint() const { return last_point_; }

 private:
  enum class Track { kMove, kPress, kRelease };
  void TrackRubberBand(Track kind, platform::Point p);
  void UpdateMagnifier(platform::Point p);
  FixSize Size() const { return {capturer_.FixWidth(), capturer_.FixHeight()}; }

  Capturer& capturer_;
  platform::Screen& screen_;
  platform::Clock& clock_;
  SelectionSurface& surface_;
  bool active_ = false;
  bool pointer_hidden_ = false;
  int expand_setting_ = expand_place::kNone;
  platform::Rect band_;
  platform::Point last_point_;
  std::unique_ptr<platform::ScreenBitmap> picture_;  // the frozen variant's screen
  // Keys pressed while the overlay was up: the release of a key pressed
  // before (the Enter that closed the size dialog) confirms nothing.
  std::bitset<256> keys_down_;
};

}  // namespace quill::capture
