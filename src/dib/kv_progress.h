#pragma once
// The graphic's progress event: long operations report a start, running
// percentages and an end, with the area they change.
#include <cstdint>
#include <functional>
#include <string>

namespace quill::dib {

class TKvGraphic;

enum class TProgressStage : std::uint8_t { psStarting, psRunning, psEnding };

struct TKvRect {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Right = 0;
  std::int32_t Bottom = 0;
  friend bool operator==(const TKvRect&, const TKvRect&) = default;
};

using ProgressHandler =
    std::function<void(TKvGraphic& sender, TProgressStage stage, std::uint8_t percent_done,
                       bool redraw_now, const TKvRect& rect, const std::string& message)>;

}  // namespace quill::dib
