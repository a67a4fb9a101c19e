// Loading a text file as records: each piece goes on the clipboard and is
// recorded by capture, as if another program had copied it.
#include <cstring>
#include <new>
#include <string>

#include "exchange/exchange.h"
#include "exchange/files.h"
#include "framework/application.h"
#include "platform/clipboard_guards.h"
#include "ui/main_form.h"
#include "ui/text_pieces.h"

namespace quill::ui {
namespace {

constexpr char16_t kTextRecordFilter[] = u"Text file (*.txt)|*.txt|All (*.*)|*.*";
// How long a piece waits for another program to let go of the clipboard,
// and for capture to read it, before the load stops with an error.
constexpr ULONGLONG kHeldTooLongMs = 5000;

// "N 行目で読み込みを中止しました": where a load that could not go on stopped.
std::u16string StoppedAtLine(std::size_t line) {
  const std::string number = std::to_string(line);
  return std::u16string(number.begin(), number.end()) + u" 行目で読み込みを中止しました";
}

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

TFQuillet::TextStep TFQuillet::PutClipboardText(const std::string& text) {
  platform::Clipboard& clipboard = services_.clipboard;
  platform::GlobalBlock block(clipboard, text.size() + 1);
  if (!block) throw std::bad_alloc();
  {
    platform::GlobalView view(clipboard, block.get());
    if (!view.locked()) throw std::bad_alloc();
    std::memcpy(view.bytes().data(), text.c_str(), text.size() + 1);
  }
  const ULONGLONG deadline = ::GetTickCount64() + kHeldTooLongMs;
  for (;;) {
    {
      platform::ClipboardSession session(clipboard, window_id());
      if (session.is_open() && clipboard.Empty() &&
          platform::HandOver(clipboard, platform::cf::kText, block))
        return TextStep::kDone;
    }
    if (!DeliverPending()) return TextStep::kEnding;
    if (::GetTickCount64() >= deadline) return TextStep::kHeld;
  }
}

TFQuillet::TextStep TFQuillet::AwaitCapture() {
  if (recorder_->CaptureState() == core::capture_state::kManual)
    return DeliverPending() ? TextStep::kDone : TextStep::kEnding;
  const std::uint32_t placed = services_.clipboard.SequenceNumber();
  const ULONGLONG deadline = ::GetTickCount64() + kHeldTooLongMs;
  for (;;) {
    if (!DeliverPending()) return TextStep::kEnding;
    if (recorder_->ExaminedSequence() == placed || !recorder_->HasStorage()) return TextStep::kDone;
    // Another change came meanwhile: ours is no longer there to be read
    // (capture counts it as lost if it had tried to).
    if (services_.clipboard.SequenceNumber() != placed) return TextStep::kDone;
    if (::GetTickCount64() >= deadline) return TextStep::kHeld;
    // No notification has brought it yet (a viewer before us in the chain
    // may pass nothing on): it is read now, and the request that may still
    // come finds it read. A clipboard held by another program is waited for.
    CaptureClip();
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
  // and closing waits for the current piece. However the load ends (an
  // error thrown by a piece too large for memory too), the window is
  // left as it was, and closes if that was asked meanwhile.
  struct Loading {
    TFQuillet& form;
    explicit Loading(TFQuillet& f) : form(f) {
      form.loading_text_ = true;
      form.load_shown_at_ = 0;
      form.menus().SetEnabled(L"MenuTextRecord", false);
    }
    ~Loading() {
      form.loading_text_ = false;
      try {
        form.ShowCaptured();
      } catch (...) {
        // The records are kept; a preview that cannot be drawn now leaves
        // the window as it was.
      }
      form.menus().SetEnabled(L"MenuTextRecord", true);
      form.CloseIfAsked();
    }
  } loading(*this);
  while (auto piece = pieces.Next()) {
    TextStep step = PutClipboardText(*piece);
    if (step == TextStep::kDone) step = AwaitCapture();
    if (step == TextStep::kHeld) {
      services_.dialogs.ShowMessage(exchange::text::kCannotOpenClipboard + std::u16string(u"\n") +
                                        StoppedAtLine(pieces.LineOfPiece()),
                                    platform::mb::kOk | platform::mb::kIconError);
      return;
    }
    if (step == TextStep::kEnding || close_after_load_) return;
  }
}

void TFQuillet::CloseIfAsked() {
  if (!close_after_load_) return;
  close_after_load_ = false;
  ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace quill::ui
