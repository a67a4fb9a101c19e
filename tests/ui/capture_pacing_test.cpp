// When captured records are shown: a capture on its own at once, those of
// a burst together once the copies pause, and never later than the
// longest wait while the burst goes on, its progress told meanwhile.
#include <gtest/gtest.h>

#include "ui/capture_pacing.h"

namespace quill::ui {
namespace {

TEST(CapturePacing, ShowsAloneAtOnceABurstTogetherAndItsProgressMeanwhile) {
  CapturePacing pacing;
  EXPECT_TRUE(pacing.Captured(1000));  // the first capture ever
  pacing.Shown(1020);
  EXPECT_TRUE(pacing.Captured(1020 + CapturePacing::kBurstGap));  // after a pause
  pacing.Shown(1200);
  // A burst: each capture within the gap waits, the settling moves on.
  EXPECT_FALSE(pacing.Captured(1210));
  EXPECT_TRUE(pacing.Waiting());
  EXPECT_EQ(pacing.ShowDue(), 1210 + CapturePacing::kSettle);
  // Copies every 20 ms: the timer comes for the progress first, which
  // shows no rows, then for the rows at the longest wait.
  int progress = 0;
  std::uint64_t rows_at = 0;
  for (std::uint64_t now = 1230; now < 9000 && !rows_at; now += 20) {
    EXPECT_FALSE(pacing.Captured(now));
    if (pacing.ShowDue() > now + 20) continue;
    const std::uint64_t due = pacing.ShowDue();
    if (pacing.ShowsRows(due)) {
      rows_at = due;
    } else {
      ++progress;
      pacing.Progressed(due);
    }
  }
  EXPECT_EQ(rows_at, 1210 + CapturePacing::kLongestWait);
  // Once a second, the last second's being the rows'.
  EXPECT_EQ(progress,
            static_cast<int>(CapturePacing::kLongestWait / CapturePacing::kProgressEvery) - 1);
  pacing.Shown(rows_at + 30);
  EXPECT_FALSE(pacing.Captured(rows_at + 40));  // the burst goes on
  // It pauses: the rows are due once the copies have settled.
  EXPECT_EQ(pacing.ShowDue(), rows_at + 40 + CapturePacing::kSettle);
  EXPECT_TRUE(pacing.ShowsRows(rows_at + 40 + CapturePacing::kSettle));
  pacing.Shown(rows_at + 200);
  EXPECT_TRUE(pacing.Captured(rows_at + 200 + CapturePacing::kBurstGap));
}

}  // namespace
}  // namespace quill::ui
