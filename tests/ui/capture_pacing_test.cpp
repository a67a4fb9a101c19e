// When captured records are shown: a capture on its own at once, those of
// a burst together once the copies pause, and never later than the
// longest wait while the burst goes on.
#include <gtest/gtest.h>

#include "ui/capture_pacing.h"

namespace quill::ui {
namespace {

TEST(CapturePacing, ShowsAloneAtOnceAndABurstTogether) {
  CapturePacing pacing;
  EXPECT_TRUE(pacing.Captured(1000));  // the first capture ever
  pacing.Shown(1020);
  EXPECT_TRUE(pacing.Captured(1020 + CapturePacing::kBurstGap));  // after a pause
  pacing.Shown(1200);
  // A burst: each capture within the gap waits, the settling moves on.
  EXPECT_FALSE(pacing.Captured(1210));
  EXPECT_TRUE(pacing.Waiting());
  EXPECT_EQ(pacing.ShowDue(), 1210 + CapturePacing::kSettle);
  EXPECT_FALSE(pacing.Captured(1250));
  EXPECT_EQ(pacing.ShowDue(), 1250 + CapturePacing::kSettle);
  // However long ago the last showing was, a capture joins those waiting.
  EXPECT_FALSE(pacing.Captured(5000));
  EXPECT_EQ(pacing.ShowDue(), 1210 + CapturePacing::kLongestWait);
  pacing.Shown(5050);
  EXPECT_FALSE(pacing.Waiting());
  EXPECT_FALSE(pacing.Captured(5060));  // the burst goes on
  pacing.Shown(5300);
  EXPECT_TRUE(pacing.Captured(5300 + CapturePacing::kBurstGap));
}

}  // namespace
}  // namespace quill::ui
