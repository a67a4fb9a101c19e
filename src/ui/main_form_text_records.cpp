// Loading a text file as records: each piece goes on the clipboard and is
// recorded by capture, as if another program had copied it.
#include <cstring>

#include "exchange/exchange.h"
#include "exchange/files.h"
#include "framework/application.h"
#include "platform/clipboard_guards.h"
#include "ui/main_form.h"
#include "ui/text_pieces.h"

namespace quill::ui {
namespace {

constexpr char16_t kTextRecordFilter[] = u"Text file (*.txt)|*.txt|All (*.*)|*.*";
// How long a piece waits for capture to look at it; a piece the filter
// does not let through is not recorded and must not stop the load.
constexpr ULONGLONG kCaptureWaitMs = 2000;

}  // namespace

bool TFQuillet::DeliverPending() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    framework::Application::Deliver(message);
  }
  return true;
}

bool TFQuillet::PutClipboardText(const std::string& text) {
  platform::Clipboard& clipboard = services_.clipboard;
  platform::GlobalBlock block(clipboard, text.size() + 1);
  if (!block) return false;
  {
    platform::GlobalView view(clipboard, block.get());
    if (!view.locked()) return false;
    std::memcpy(view.bytes().data(), text.c_str(), text.size() + 1);
  }
  platform::ClipboardSession session(clipboard, window_id());
  if (!session.is_open() || !clipboard.Empty()) return false;
  return platform::HandOver(clipboard, platform::cf::kText, block);
}

bool TFQuillet::AwaitCapture() {
  if (recorder_->CaptureState() == core::capture_state::kManual) return DeliverPending();
  const std::uint32_t placed = services_.clipboard.SequenceNumber();
  const ULONGLONG deadline = ::GetTickCount64() + kCaptureWaitMs;
  for (;;) {
    if (!DeliverPending()) return false;
    if (recorder_->ExaminedSequence() == placed || !recorder_->HasStorage()) return true;
    // Another change came meanwhile: ours will not be looked at alone.
    if (services_.clipboard.SequenceNumber() != placed) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return true;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
  }
}

void TFQuillet::MenuTextClick() {
  if (loading_text_ || dropping_) return;
  const auto path = services_.dialogs.OpenTextRecordFile(kTextRecordFilter, page_separated_);
  if (!path) return;
  std::vector<std::uint8_t> bytes;
  std::u16string reason;
  if (!exchange::ReadWholeFile(*path, bytes, reason)) {
    services_.dialogs.ShowMessage(exchange::text::CannotOpen(*path, reason),
                                  platform::mb::kOk | platform::mb::kIconError);
    return;
  }
  TextPieces pieces(std::string(bytes.begin(), bytes.end()), page_separated_);
  bytes = {};
  // Messages arrive between the pieces: the command must not start again
  // and closing waits for the current piece.
  loading_text_ = true;
  menus().SetEnabled(L"MenuTextRecord", false);
  while (auto piece = pieces.Next()) {
    if (!PutClipboardText(*piece)) {
      services_.dialogs.ShowMessage(exchange::text::kCannotOpenClipboard,
                                    platform::mb::kOk | platform::mb::kIconError);
      break;
    }
    if (!AwaitCapture() || close_after_load_) break;
  }
  loading_text_ = false;
  menus().SetEnabled(L"MenuTextRecord", true);
  CloseIfAsked();
}

void TFQuillet::CloseIfAsked() {
  if (!close_after_load_) return;
  close_after_load_ = false;
  ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace quill::ui
