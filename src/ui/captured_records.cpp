// Showing captured records. A capture records at once; its row and
// preview are shown at once too, unless captures come in a burst, when the
// burst's rows are shown together (the pacing says when).
#include <utility>

#include "ui/record_view.h"

namespace quill::ui {

void RecordView::CollectCapture() {
  collecting_capture_ = true;
  try {
    recorder_->WMCaptureClip();
  } catch (...) {
    collecting_capture_ = false;
    ShowCaptured();
    throw;
  }
  collecting_capture_ = false;
}

void RecordView::ReadWaitingChanges() {
  // A copy another program made meanwhile is read before the window draws:
  // drawing takes longer than a program may wait before its next copy,
  // which would replace this one unread. Its notification finds it read.
  constexpr int kMostReads = 8;
  if (recorder_->CaptureState() != core::capture_state::kAutomatic) return;
  for (int i = 0; i < kMostReads && !recorder_->CaptureHeld() &&
                  parts_.clipboard.SequenceNumber() != recorder_->ExaminedSequence();
       ++i)
    CollectCapture();
}

void RecordView::CaptureClip() {
  const std::size_t before = captured_rows_.size();
  CollectCapture();
  if (captured_rows_.size() == before) return;  // nothing recorded
  const ULONGLONG now = ::GetTickCount64();
  if (in_batches_) {
    // A load waits for each of its captures, so it shows them itself, in
    // batches, as a storage that opens shows its records: drawing the
    // list and the preview for every piece would cost more than the rest
    // of the load. The first one is shown at once; the load shows the last.
    if (now - batch_shown_at_ >= kBatchShownEveryMs) {
      ShowCaptured();
      batch_shown_at_ = ::GetTickCount64();
    }
    return;
  }
  if (capture_pacing_.Captured(now)) {
    ShowCaptured();
    return;
  }
  const ULONGLONG due = capture_pacing_.ShowDue();
  ::SetTimer(hwnd(), kShowCapturedTimer, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

void RecordView::RetryCaptureLater() {
  constexpr UINT kRetryCaptureMs = 250;
  ::SetTimer(hwnd(), kRetryCaptureTimer, kRetryCaptureMs, nullptr);
}

void RecordView::ShowLostChanges(int count) {
  parts_.controls.StatusBar->SetSimpleText(LostChangesNote(count));
}

void RecordView::BeginBatches() {
  in_batches_ = true;
  batch_shown_at_ = 0;  // the first is shown at once
}

void RecordView::EndBatches() {
  in_batches_ = false;
  ShowCaptured();
}

void RecordView::ShowCapturedWhenDue() {
  const ULONGLONG now = ::GetTickCount64();
  if (capture_pacing_.ShowsRows(now)) {
    ShowCaptured();
    return;
  }
  UpdateCounter(recorder_->CurrentNo(), recorder_->RecordCount());
  capture_pacing_.Progressed(now);
  const ULONGLONG due = capture_pacing_.ShowDue();
  ::SetTimer(hwnd(), kShowCapturedTimer, static_cast<UINT>(due > now ? due - now : 0), nullptr);
}

void RecordView::ShowCaptured() {
  if (captured_rows_.empty() || collecting_capture_) return;
  ReadWaitingChanges();
  ::KillTimer(hwnd(), kShowCapturedTimer);
  const std::vector<PendingRow> rows = std::exchange(captured_rows_, {});
  const core::RecordKind preview = std::exchange(captured_preview_, core::kNoRecord);
  if (captured_menu_) BuildDisplayMenu(*std::exchange(captured_menu_, std::nullopt));
  if (rows.size() == 1 && !capture_pacing_.Waiting()) {
    // One capture on its own: the clipboard still holds what was recorded.
    RefreshPreview(preview);
    SetListRow(rows[0].number, rows[0].kind, rows[0].date);
  } else {
    ShowCapturedTogether(rows, preview);
  }
  capture_pacing_.Shown(::GetTickCount64());
}

void RecordView::ShowCapturedTogether(const std::vector<PendingRow>& rows,
                                      core::RecordKind preview) {
  // The clipboard may hold a later copy by now: each row's first line
  // comes from the text that was recorded.
  framework::ListView& list = *parts_.controls.ListView;
  {
    // The rows are drawn once, with the last one selected.
    const framework::ListView::Filling filling(list);
    PutRowsTogether(rows);
    list.SelectOnly(rows.back().number - 1);
  }
  RefreshPreview(preview);
}

}  // namespace quill::ui
