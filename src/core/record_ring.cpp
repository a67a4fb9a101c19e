// The ring of records: where the next one goes, showing one, deleting and
// reordering with renumbering.
#include "core/element_name.h"
#include "core/recorder.h"
#include "platform/clipboard_guards.h"

namespace quill::core {

int Recorder::NextSlot() const {
  if (record_count_ < max_records_) return record_count_ + 1;
  const int slot = current_no_ + 1;
  return slot > max_records_ ? 1 : slot;
}

void Recorder::MovePosition(bool select) {
  EndLinkMode();
  std::string date;
  const RecordKind kind = ReadRecord(current_no_, false, date);
  view_.RefreshPreview(kind);
  if (select) view_.SelectRow(current_no_ - 1);
}

void Recorder::RenameRecord(int from, int to) {
  if (root_->RenameElement(ElementName(from), ElementName(to)) != platform::kOk) {
    record_texts_.erase(from);
    return;
  }
  // The kept text goes with its record.
  record_texts_.erase(to);
  auto text = record_texts_.extract(from);
  if (!text) return;
  text.key() = to;
  record_texts_.insert(std::move(text));
}

void Recorder::MenuDelClick() {
  if (!root_ || current_no_ < 1) return;
  const bool deleted = InOneTransaction([this] {
    if (root_->DestroyElement(ElementName(current_no_)) != platform::kOk) return false;
    record_texts_.erase(current_no_);
    for (int i = current_no_; i < record_count_; ++i) RenameRecord(i + 1, i);
    return true;
  });
  if (!deleted) return;
  // With a ring of size 0 the current record lies above RecordCount: it
  // was never counted, so deleting it leaves the count as it is.
  const bool counted = current_no_ <= record_count_;
  view_.DeleteListRow(current_no_ - 1);
  if (counted) --record_count_;
  if (current_no_ > record_count_) current_no_ = record_count_;
  if (current_no_ == 0) {
    // Nothing left to show or to paste.
    {
      platform::ClipboardSession session(clipboard_, window_);
      if (session.is_open()) clipboard_.Empty();
    }
    EndLinkMode();
    view_.SetFormattedWriteEnabled(false);
    view_.SetExportEnabled(false);
    view_.ShowNoRecord();
    view_.UpdateCounter(current_no_, record_count_);
    return;
  }
  for (int number = current_no_; number <= record_count_; ++number)
    view_.SetRowCaption(number - 1, number);
  MovePosition(true);
}

void Recorder::ListViewDragDrop(int target) {
  const int c = current_no_;
  const int t = target;
  if (!root_ || c < 1 || t < 1 || c == t) return;
  // The dragged record waits under the free name "0" while the others
  // move up or down by one.
  constexpr int kParked = 0;
  if (c < t && t == c + 1) return;  // dropped just below itself: it is already there
  InOneTransaction([&] {
    RenameRecord(c, kParked);
    if (c < t) {
      for (int i = c + 1; i <= t - 1; ++i) RenameRecord(i, i - 1);
      RenameRecord(kParked, t - 1);
    } else {
      for (int i = c - 1; i >= t; --i) RenameRecord(i, i + 1);
      RenameRecord(kParked, t);
    }
    return true;
  });
  view_.MoveRowContent(c - 1, c < t ? t - 2 : t - 1);
  MovePosition(false);
}

}  // namespace quill::core
