// Clipboard notifications and turning a clipboard change into a record.
#include "core/dib_clipboard.h"
#include "core/element_name.h"
#include "core/recorder.h"
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"

namespace quill::core {

namespace {
constexpr char kWordWindowClass[] = "OpusApp";
}  // namespace

void Recorder::WMChangeCBChain(platform::WindowId removed, platform::WindowId next) {
  if (removed == next_viewer_) {
    next_viewer_ = next;
    return;
  }
  if (next_viewer_)
    messages_.Send(next_viewer_, platform::msg::kChangeCbChain, removed,
                   static_cast<platform::LParam>(next));
}

void Recorder::WMDrawClipboard(platform::WParam wparam, platform::LParam lparam) {
  if (next_viewer_) messages_.Send(next_viewer_, platform::msg::kDrawClipboard, wparam, lparam);
  if (capture_state_ == capture_state::kAutomatic) {
    // The capture runs later, once the notification has gone down the chain.
    messages_.Post(window_, WM_CAPTURECLIP, 0, 0);
  } else if (capture_state_ == capture_state::kSkipNext) {
    capture_state_ = capture_state::kAutomatic;
  }
}

void Recorder::WMCaptureClip() {
  // Several notifications may be queued for one clipboard state (changes
  // come faster than they are recorded): one state is one record.
  examined_sequence_ = clipboard_.SequenceNumber();
  if (examined_sequence_ == recorded_sequence_) return;
  // Word puts its formats on the clipboard in stages: give it time.
  if (clipboard_.ForegroundClassName() == kWordWindowClass) clock_.Sleep(opus_app_wait_);
  CaptureClipboard();
}

void Recorder::CaptureClipboard() {
  // Private content is left exactly as its owner made it: not converted,
  // not recorded.
  if (clipboard_.CountFormats() == 0 || ContentIsPrivate()) return;
  const int slot = NextSlot();
  ConvertClipboardPicture();
  std::string date;
  const RecordKind kind = WriteRecord(slot, date);
  if (kind < 0) return;
  recorded_sequence_ = clipboard_.SequenceNumber();
  if (record_count_ < max_records_) record_count_ = slot;
  current_no_ = slot;
  view_.RefreshPreview(kind);
  view_.SetListRow(current_no_, kind, date);
}

void Recorder::ConvertClipboardPicture() {
  const int target = view_.ColorRGIndex() - 1;
  if (target < 0 || target > static_cast<int>(dib::TKvPixelFormat::kvPfHalfToneBW) ||
      !clipboard_.IsFormatAvailable(platform::cf::kDib)) {
    return;
  }
  DibClipboard clipboard(clipboard_, window_);
  dib::TKvDIB picture;
  try {
    picture.Assign(clipboard);
  } catch (const dib::Exception&) {
    // A picture we cannot read is recorded as it came, not lost.
    return;
  }
  try {
    picture.SetPixelFormat(static_cast<dib::TKvPixelFormat>(target));
  } catch (const dib::Exception&) {
    // The picture goes back as the failed conversion left it.
  }
  const int state = capture_state_;
  SkipOwnChange();
  try {
    picture.AssignTo(clipboard);
  } catch (const dib::Exception&) {
    // Either the clipboard was not changed or it was emptied without our
    // picture: no change of ours is left to skip. What it holds is recorded.
    capture_state_ = state;
  }
}

void Recorder::SkipOwnChange() {
  if (capture_state_ == capture_state::kAutomatic) capture_state_ = capture_state::kSkipNext;
}

void Recorder::WatchRGClick(bool automatic_mode) {
  capture_state_ = automatic_mode ? capture_state::kAutomatic : capture_state::kManual;
}

void Recorder::MaxEditChange(std::u16string_view text) { max_records_ = LeadingNumber(text); }

}  // namespace quill::core
