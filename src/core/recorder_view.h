#pragma once
// What the recorder asks of the window that shows it: the record list, the
// preview and the commands whose state follows the records. Row indexes
// are record numbers - 1.
#include <string>
#include <vector>

#include "core/record_kind.h"

namespace quill::core {

class RecorderView {
 public:
  virtual ~RecorderView() = default;

  // Creates or refreshes the row of record `number` (" %.3d", the date,
  // the first line of the shown text, the kind's icon) and selects it.
  virtual void SetListRow(int number, RecordKind kind, const std::string& date) = 0;
  virtual void DeleteListRow(int index) = 0;
  virtual void ClearList() = 0;
  // Sets the caption of row `index` to " %.3d" of `number`.
  virtual void SetRowCaption(int index, int number) = 0;
  // Moves a row's date, content and icon to another index, shifting the
  // rows between by one; captions stay where they are.
  virtual void MoveRowContent(int from, int to) = 0;
  // Selects a row without scrolling to it.
  virtual void SelectRow(int index) = 0;

  // Shows what the clipboard holds for a record of that kind.
  virtual void RefreshPreview(RecordKind kind) = 0;
  // Rebuilds the display menu from a record's name list (date first).
  virtual void BuildDisplayMenu(const std::vector<std::string>& items) = 0;
  virtual void UpdateCounter(int current, int count) = 0;
  // A storage is being loaded: rows are set one after another from
  // BeginLoading to EndLoading, each just after its record was placed on
  // the clipboard and its text kept, and ShowLoading tells how many records
  // are in so far (the view shows it now and then, as progress).
  virtual void BeginLoading() = 0;
  virtual void ShowLoading(int loaded) = 0;
  virtual void EndLoading() = 0;
  // No record is shown: empty text box, no picture.
  virtual void ShowNoRecord() = 0;
  // Hides both the text box and the picture.
  virtual void HidePreview() = 0;

  virtual void SetFormattedWriteEnabled(bool enabled) = 0;
  virtual void SetExportEnabled(bool enabled) = 0;
  // Link mode on or off: the link button's state and image, the check
  // mark of its menu item.
  virtual void ShowLinkMode(bool on) = 0;

  // Another program held the clipboard past our patience: call
  // WMCaptureClip again in a moment (once, however often this is asked).
  virtual void RetryCaptureLater() = 0;
  // So many clipboard states have been lost since the start, each held by
  // another program until the next one replaced it: the user is told.
  virtual void ShowLostChanges(int count) = 0;

  // The item chosen in the colour conversion setting: 0 leaves pictures as
  // they come, item i converts them to pixel format i − 1.
  virtual int ColorRGIndex() = 0;
};

}  // namespace quill::core
