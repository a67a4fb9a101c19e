#include "ui/capture_pacing.h"

#include <algorithm>

namespace quill::ui {

bool CapturePacing::Captured(std::uint64_t now) {
  if (!waiting_ && (!shown_before_ || now - last_shown_ >= kBurstGap)) return true;
  if (!waiting_) first_waiting_ = last_progress_ = now;
  waiting_ = true;
  last_waiting_ = now;
  return false;
}

std::uint64_t CapturePacing::ShowDue() const {
  return std::min(
      {last_waiting_ + kSettle, first_waiting_ + kLongestWait, last_progress_ + kProgressEvery});
}

bool CapturePacing::ShowsRows(std::uint64_t now) const {
  return !waiting_ || now >= last_waiting_ + kSettle || now >= first_waiting_ + kLongestWait;
}

void CapturePacing::Shown(std::uint64_t now) {
  shown_before_ = true;
  waiting_ = false;
  last_shown_ = now;
}

}  // namespace quill::ui
