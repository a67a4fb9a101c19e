#pragma once
// What the main window shows of the records, as the recorder asks: the
// list's rows (put in batches while a storage loads), the counter in the
// caption, the preview, and the records captures bring, shown at once or,
// when they come in a burst or during a load or a drop, together later.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/recorder.h"
#include "core/recorder_view.h"
#include "framework/form.h"
#include "framework/list_view.h"
#include "ui/capture_pacing.h"
#include "ui/file_commands.h"
#include "ui/main_controls.h"
#include "ui/record_preview.h"

namespace quill::ui {

class RecordView final : public core::RecorderView, public FileCommands::Host {
 public:
  // What the preview works with, and:
  struct Parts : RecordPreview::Parts {
    // Shows the counter beside the caption (the notification area's tip).
    std::function<void(const std::wstring&)> show_counter;
  };
  // Everything in `parts` must outlive the view.
  explicit RecordView(const Parts& parts);
  RecordView(const RecordView&) = delete;
  RecordView& operator=(const RecordView&) = delete;
  // The recorder is made with its view: it is attached before it reports.
  void Attach(core::Recorder& recorder) { recorder_ = &recorder; }

  RecordPreview& preview() { return preview_; }

  void SetListRow(int number, core::RecordKind kind, const std::string& date) override;
  void DeleteListRow(int index) override;
  void ClearList() override;
  void SetRowCaption(int index, int number) override;
  void MoveRowContent(int from, int to) override;
  void SelectRow(int index) override;
  void RefreshPreview(core::RecordKind kind) override;
  void BuildDisplayMenu(const std::vector<std::string>& items) override;
  void UpdateCounter(int current, int count) override;
  void BeginLoading() override;
  void ShowLoading(int loaded) override;
  void EndLoading() override;
  void ShowNoRecord() override { preview_.ShowNoRecord(); }
  void HidePreview() override { preview_.Hide(); }
  void SetFormattedWriteEnabled(bool enabled) override {
    preview_.SetFormattedWriteEnabled(enabled);
  }
  void SetExportEnabled(bool enabled) override { preview_.SetExportEnabled(enabled); }
  void ShowLinkMode(bool on) override;
  void RetryCaptureLater() override;
  void ShowLostChanges(int count) override;
  int ColorRGIndex() override { return parts_.controls.ColorRG->ItemIndex(); }

  // "整形書き込み": the memo's text, quoted if wished, becomes the
  // clipboard's text and the current record's new content.
  void CopyBtnClick();

  // --- captures ---
  // The clipboard's notification: reads it and shows what was recorded,
  // at once or later.
  void CaptureClip() override;
  // Shows the records captured and not shown yet.
  void ShowCaptured();
  // Records of a burst of captures recorded but not shown yet.
  bool CapturesWaiting() const { return !captured_rows_.empty(); }
  // The timer's: the rows once due, until then the counter.
  void ShowCapturedWhenDue();
  static constexpr UINT_PTR kShowCapturedTimer = 2;
  // A clipboard state another program held too long is read again then.
  static constexpr UINT_PTR kRetryCaptureTimer = 3;

  void BeginBatches() override;
  void EndBatches() override;
  bool ListFilling() const override { return list_filling_.has_value(); }

 private:
  // A row set while it is not drawn, put in the list later with others.
  struct PendingRow {
    int number;
    core::RecordKind kind;
    std::string date;
  };
  // Creates or refreshes record `number`'s row, without selecting it.
  int PutListRow(int number, core::RecordKind kind, const std::string& date,
                 const std::wstring& first_line);
  // Puts rows in the list, each with the first line of its record's kept
  // text as the memo would lay it out, all measured at once.
  void PutRowsTogether(const std::vector<PendingRow>& rows);
  std::wstring KeptTextOf(const PendingRow& row) const;
  // Reads the clipboard with the rows and the preview it asks for collected.
  void CollectCapture();
  void ReadWaitingChanges();
  void ShowCapturedTogether(const std::vector<PendingRow>& rows, core::RecordKind preview);
  HWND hwnd() const { return parts_.form.hwnd(); }

  Parts parts_;
  RecordPreview preview_;
  core::Recorder* recorder_ = nullptr;
  // While a storage loads: the list's redrawing held, the rows loaded
  // since progress was last shown, and when that was.
  std::optional<framework::ListView::Filling> list_filling_;
  std::vector<PendingRow> loaded_rows_;
  ULONGLONG loading_shown_at_ = 0;
  HWND focus_before_loading_ = nullptr;
  // Captures: the rows and the preview a capture asks for are collected
  // and shown at once or, during a burst, together later.
  bool collecting_capture_ = false;
  std::vector<PendingRow> captured_rows_;
  core::RecordKind captured_preview_ = core::kNoRecord;
  std::optional<std::vector<std::string>> captured_menu_;  // the display menu asked for
  CapturePacing capture_pacing_;
  // A load or a drop shows its captured records in batches, this often.
  static constexpr ULONGLONG kBatchShownEveryMs = 250;
  bool in_batches_ = false;
  ULONGLONG batch_shown_at_ = 0;
};

}  // namespace quill::ui
