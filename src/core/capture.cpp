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

void Recorder::WMClipboardUpdate() {
  // The same request as the chain's: the state read once, whichever
  // notification comes first.
  if (capture_state_ != capture_state::kManual) messages_.Post(window_, WM_CAPTURECLIP, 0, 0);
}

void Recorder::WMCaptureClip() {
  const std::uint32_t state = clipboard_.SequenceNumber();
  if (unread_sequence_ && *unread_sequence_ != state) {
    // The state another program held is gone, replaced before we could
    // read it: not silently.
    unread_sequence_.reset();
    view_.ShowLostChanges(++lost_changes_);
  }
  // Several requests come for one state (the chain and the listener both
  // tell, and changes come faster than they are recorded): one state is
  // read once.
  if (state == examined_sequence_ && !unread_sequence_) return;
  // Word puts its formats on the clipboard in stages: give it time.
  if (clipboard_.ForegroundClassName() == kWordWindowClass) clock_.Sleep(opus_app_wait_);
  CaptureClipboard();
}

void Recorder::CaptureClipboard() {
  const std::uint32_t state = clipboard_.SequenceNumber();
  if (ReadIntoNextSlot() == Reading::kRead) {
    unread_sequence_.reset();
    return;
  }
  unread_sequence_ = state;
  view_.RetryCaptureLater();
}

Recorder::Reading Recorder::ReadIntoNextSlot() {
  const std::uint32_t state = clipboard_.SequenceNumber();
  // Private content is left exactly as its owner made it: not converted,
  // not recorded.
  const Privacy privacy = clipboard_.CountFormats() == 0 ? Privacy::kPrivate : ContentPrivacy();
  if (privacy == Privacy::kHeld) return Reading::kHeld;
  if (privacy == Privacy::kPrivate || !root_) {
    examined_sequence_ = state;
    return Reading::kRead;
  }
  const int slot = NextSlot();
  ConvertClipboardPicture();
  std::string date;
  Reading reading = Reading::kRead;
  captured_text_.reset();
  const RecordKind kind = WriteRecordFrom(slot, date, reading);
  if (reading == Reading::kHeld || kind < 0) return reading;
  captured_record_ = slot;
  captured_sequence_ = state;
  if (record_count_ < max_records_) record_count_ = slot;
  current_no_ = slot;
  view_.RefreshPreview(kind);
  view_.SetListRow(current_no_, kind, date);
  return Reading::kRead;
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
