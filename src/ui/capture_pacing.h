#pragma once
// When the rows of new records are shown. Showing a record redraws the
// list and the preview, which takes longer than another program may take
// between two copies: a copy made while the window redraws is replaced
// before it can be read. So a capture that comes soon after the last
// showing is recorded at once and shown later, together with the others
// of its burst - once the copies pause, or after a longest wait. Meanwhile
// the window shows progress by its counter alone, which costs a copy
// nothing.
#include <cstdint>

namespace quill::ui {

class CapturePacing {
 public:
  // A capture that comes this soon after the last showing is part of a burst.
  static constexpr std::uint64_t kBurstGap = 80;
  // The rows of a burst are shown once no capture has come for this long...
  static constexpr std::uint64_t kSettle = 60;
  // ...or at the latest this long after the first of them.
  static constexpr std::uint64_t kLongestWait = 5000;
  // Until then the counter tells how many are in, this often.
  static constexpr std::uint64_t kProgressEvery = 1000;

  // A record was captured at `now` (milliseconds): true if it is to be
  // shown now, false if it waits for ShowDue.
  bool Captured(std::uint64_t now);
  bool Waiting() const { return waiting_; }
  // When the waiting rows are to be shown, or the progress told.
  std::uint64_t ShowDue() const;
  // Whether at `now` the rows are shown, not only the progress told.
  bool ShowsRows(std::uint64_t now) const;
  // The progress was told at `now`.
  void Progressed(std::uint64_t now) { last_progress_ = now; }
  // The rows were shown, the last drawing ending at `now`.
  void Shown(std::uint64_t now);

 private:
  bool shown_before_ = false;
  bool waiting_ = false;
  std::uint64_t last_shown_ = 0;
  std::uint64_t first_waiting_ = 0;
  std::uint64_t last_waiting_ = 0;
  std::uint64_t last_progress_ = 0;
};

}  // namespace quill::ui
