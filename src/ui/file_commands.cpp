#include "ui/file_commands.h"

#include <cstring>
#include <new>
#include <string>

#include "exchange/drop.h"
#include "exchange/exchange.h"
#include "exchange/files.h"
#include "exchange/win32/win32_drop.h"
#include "exchange/win32/win32_metafiles.h"
#include "framework/application.h"
#include "platform/clipboard_guards.h"
#include "ui/code_page.h"
#include "ui/text_pieces.h"

namespace quill::ui {

namespace {

template <typename Action>
auto WithExchange(exchange::TextPane& pane, const core::RecorderServices& services,
                  platform::WindowId window, Action action) {
  exchange::Win32Metafiles metafiles;
  exchange::Exchange exchange({services.clipboard, services.dialogs, metafiles}, window, pane);
  return action(exchange);
}

}  // namespace

void FileCommands::ImportBtnClick() {
  WithExchange(parts_.memo, parts_.services, window_id(),
               [](exchange::Exchange& e) { e.ImportBtnClick(); });
}

bool FileCommands::ImportFile(const std::wstring& path) {
  return WithExchange(parts_.memo, parts_.services, window_id(),
                      [&path](exchange::Exchange& e) { return e.ImportFile(ToU16(path)); });
}

void FileCommands::ExportBtnClick() {
  const MainControls& c = parts_.controls;
  const exchange::JpegOptions options{c.QualityBar->Position(), c.GrayCB->Checked(),
                                      c.ProgCB->Checked()};
  WithExchange(parts_.memo, parts_.services, window_id(),
               [&options](exchange::Exchange& e) { e.ExportBtnClick(options); });
}

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

FileCommands::TextStep FileCommands::PutClipboardText(const std::string& text) {
  platform::Clipboard& clipboard = parts_.services.clipboard;
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
    if (!framework::Application::DeliverPending()) return TextStep::kEnding;
    if (::GetTickCount64() >= deadline) return TextStep::kHeld;
  }
}

FileCommands::TextStep FileCommands::AwaitCapture() {
  if (parts_.recorder.CaptureState() == core::capture_state::kManual)
    return framework::Application::DeliverPending() ? TextStep::kDone : TextStep::kEnding;
  const std::uint32_t placed = parts_.services.clipboard.SequenceNumber();
  const ULONGLONG deadline = ::GetTickCount64() + kHeldTooLongMs;
  for (;;) {
    if (!framework::Application::DeliverPending()) return TextStep::kEnding;
    if (parts_.recorder.ExaminedSequence() == placed || !parts_.recorder.HasStorage())
      return TextStep::kDone;
    // Another change came meanwhile: ours is no longer there to be read
    // (capture counts it as lost if it had tried to).
    if (parts_.services.clipboard.SequenceNumber() != placed) return TextStep::kDone;
    if (::GetTickCount64() >= deadline) return TextStep::kHeld;
    // No notification has brought it yet (a viewer before us in the chain
    // may pass nothing on): it is read now, and the request that may still
    // come finds it read. A clipboard held by another program is waited for.
    parts_.host.CaptureClip();
  }
}

void FileCommands::MenuTextClick() {
  if (loading_text_ || dropping_) return;
  const auto path = parts_.services.dialogs.OpenTextRecordFile(kTextRecordFilter, page_separated_);
  if (!path) return;
  std::vector<std::uint8_t> bytes;
  std::u16string reason;
  if (!exchange::ReadWholeFile(*path, bytes, reason)) {
    parts_.services.dialogs.ShowMessage(exchange::text::CannotOpen(*path, reason),
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
    FileCommands& files;
    explicit Loading(FileCommands& f) : files(f) {
      files.loading_text_ = true;
      files.parts_.host.BeginBatches();
      files.parts_.form.menus().SetEnabled(L"MenuTextRecord", false);
    }
    ~Loading() {
      files.loading_text_ = false;
      try {
        files.parts_.host.EndBatches();
      } catch (...) {
        // The records are kept; a preview that cannot be drawn now leaves
        // the window as it was.
      }
      files.parts_.form.menus().SetEnabled(L"MenuTextRecord", true);
      files.parts_.close.CloseIfAsked();
    }
  } loading(*this);
  while (auto piece = pieces.Next()) {
    TextStep step = PutClipboardText(*piece);
    if (step == TextStep::kDone) step = AwaitCapture();
    if (step == TextStep::kHeld) {
      parts_.services.dialogs.ShowMessage(exchange::text::kCannotOpenClipboard +
                                              std::u16string(u"\n") +
                                              StoppedAtLine(pieces.LineOfPiece()),
                                          platform::mb::kOk | platform::mb::kIconError);
      return;
    }
    if (step == TextStep::kEnding || parts_.close.Asked()) return;
  }
}

namespace {

constexpr char16_t kNoIconBitmap[] = u"アイコンのビットマップを作成できません";

}  // namespace

class WindowDropSite final : public exchange::DropSite {
 public:
  explicit WindowDropSite(FileCommands& files) : files_(files), parts_(files.parts_) {}

  int Choose() override {
    files_.drop_choice_ = exchange::drop::kNone;
    const unsigned command = parts_.shell.TrackPopupMenu(
        parts_.form.menus().Submenu(L"DropPopup"), parts_.screen.CursorPos(), files_.window_id());
    if (command) parts_.form.menus().Dispatch(command);
    return files_.drop_choice_;
  }

  // As text in UTF-16: the system offers it in the 8-bit code page too, and
  // a name that code page cannot spell stays whole.
  bool PutText(const std::u16string& text) override {
    platform::Clipboard& clipboard = parts_.services.clipboard;
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    platform::GlobalBlock block(clipboard, bytes);
    if (!block) return false;
    {
      platform::GlobalView view(clipboard, block.get());
      if (!view.locked()) return false;
      std::memcpy(view.bytes().data(), text.c_str(), bytes);
    }
    platform::ClipboardSession session(clipboard, files_.window_id());
    if (!session.is_open() || !clipboard.Empty()) return false;
    return platform::HandOver(clipboard, platform::cf::kUnicodeText, block);
  }

  bool ImportFile(const std::u16string& path) override { return files_.ImportFile(FromU16(path)); }

  void AwaitCapture() override { files_.AwaitCapture(); }

  bool Stopped() override { return parts_.close.Asked(); }

  int IconCount(const std::u16string& path) override { return exchange::FileIconCount(path); }

  bool RecordIcon(const std::u16string& path, int index) override {
    const HBITMAP bitmap = exchange::FileIconBitmap(parts_.form.hwnd(), path, index);
    if (!bitmap) return Fail();
    platform::Clipboard& clipboard = parts_.services.clipboard;
    core::Recorder& recorder = parts_.recorder;
    {
      platform::ClipboardSession session(clipboard, files_.window_id());
      if (!session.is_open() || !clipboard.Empty() ||
          !clipboard.SetData(platform::cf::kBitmap, bitmap)) {
        ::DeleteObject(bitmap);
        return Fail();
      }
      // Only a bitmap that is on the clipboard makes a change of ours to
      // skip; the notification comes when the clipboard closes.
      recorder.SkipOwnChange();
    }
    recorder.CaptureClipboard();
    framework::Application::DeliverPending();
    return true;
  }

 private:
  bool Fail() {
    parts_.services.dialogs.ShowMessage(kNoIconBitmap,
                                        platform::mb::kOk | platform::mb::kIconError);
    return false;
  }

  FileCommands& files_;
  const FileCommands::Parts& parts_;
};

FileCommands::FileCommands(const Parts& parts) : parts_(parts) {
  parts_.form.Handle(WM_DROPFILES, [this](WPARAM wparam, LPARAM) {
    WMDropFiles(reinterpret_cast<HDROP>(wparam));
    return LRESULT{0};
  });
}

void FileCommands::WMDropFiles(HDROP drop) {
  const exchange::DropHandle handle(drop);
  // A drop that arrives while another drop or a text load delivers
  // messages would change the clipboard under them.
  if (dropping_ || loading_text_ || parts_.host.ListFilling()) return;
  dropping_ = true;
  parts_.host.BeginBatches();
  parts_.run([this, &handle] {
    WindowDropSite site(*this);
    exchange::HandleDrop(handle.Paths(), site);
  });
  dropping_ = false;
  parts_.host.EndBatches();
  parts_.close.CloseIfAsked();
}

}  // namespace quill::ui
