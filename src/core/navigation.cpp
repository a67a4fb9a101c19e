// Moving through the records, and link mode: pasting records one after
// another into another program.
#include "core/recorder.h"

namespace quill::core {
namespace {

constexpr unsigned kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28;
constexpr unsigned kLinkStepWait = 100;  // ms before the next record is announced

}  // namespace

void Recorder::FirstBtnClick() {
  if (record_count_ <= 0) return;
  current_no_ = 1;
  MovePosition(true);
}

void Recorder::PrevBtnClick() {
  if (current_no_ <= 1) return;
  --current_no_;
  MovePosition(true);
}

void Recorder::NextBtnClick() {
  if (current_no_ >= record_count_) return;
  ++current_no_;
  MovePosition(true);
}

void Recorder::LastBtnClick() {
  if (current_no_ >= record_count_) return;
  current_no_ = record_count_;
  MovePosition(true);
}

void Recorder::MoveKeyDown(unsigned key) {
  switch (key) {
    case kLeft:
      PrevBtnClick();
      break;
    case kUp:
      FirstBtnClick();
      break;
    case kRight:
      NextBtnClick();
      break;
    case kDown:
      LastBtnClick();
      break;
  }
}

void Recorder::EndLinkMode() {
  link_mode_ = false;
  view_.ShowLinkMode(false);
}

void Recorder::LinkBtnClick() {
  bool on = false;
  if (current_no_ >= 1) {
    on = !link_mode_;
    std::string date;
    if (on) ReadRecord(current_no_, true, date);
  }
  link_mode_ = on;
  view_.ShowLinkMode(on);
}

// Inside a render request the requester holds the clipboard, so the record
// is only placed, format by format. No change notification follows, so
// nothing is marked as our own change: the user's next copy is recorded.
void Recorder::WMRenderFormat(bool paste_keys_held) {
  if (!paste_keys_held) return;
  std::string date;
  ReadRecord(current_no_, false, date);
  if (link_mode_) messages_.Post(window_, WM_LINKNEXT, 0, 0);
}

void Recorder::WMLinkNext() {
  clock_.Sleep(kLinkStepWait);
  current_no_ = current_no_ < record_count_ ? current_no_ + 1 : 1;
  std::string date;
  view_.RefreshPreview(ReadRecord(current_no_, false, date));
  ReadRecord(current_no_, true, date);
  view_.SelectRow(current_no_ - 1);
}

}  // namespace quill::core
