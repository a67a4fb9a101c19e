#pragma once
// What the screen contract needs of an implementation: the screen, and
// windows to find on it.
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/screen.h"

namespace quill::platform::testing {

class ScreenWorld {
 public:
  virtual ~ScreenWorld() = default;
  virtual Screen& screen() = 0;
  // A borderless popup on top of all others, filled with 0xRRGGBB.
  virtual WindowId ShowPopup(const Rect& rect, std::uint32_t colour) = 0;
  // A hidden window of our own, to own hotkeys and timers.
  virtual WindowId NewWindow() = 0;
};

struct ScreenWorldMaker {
  std::string name;
  std::function<std::unique_ptr<ScreenWorld>()> make;
};

inline void PrintTo(const ScreenWorldMaker& maker, std::ostream* out) { *out << maker.name; }

ScreenWorldMaker MemoryScreenWorldMaker();
#ifdef _WIN32
ScreenWorldMaker Win32ScreenWorldMaker();
#endif

}  // namespace quill::platform::testing
