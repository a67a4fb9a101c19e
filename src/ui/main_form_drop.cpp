// Files dropped on the window: the choice menu, and the clipboard changes
// each choice makes.
#include <cstring>

#include "exchange/drop.h"
#include "exchange/win32/win32_drop.h"
#include "platform/clipboard_guards.h"
#include "ui/code_page.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

constexpr char16_t kNoIconBitmap[] = u"アイコンのビットマップを作成できません";

}  // namespace

class WindowDropSite final : public exchange::DropSite {
 public:
  explicit WindowDropSite(TFQuillet& form) : form_(form) {}

  int Choose() override {
    form_.drop_choice_ = exchange::drop::kNone;
    const unsigned command = form_.shell_.TrackPopupMenu(
        form_.menus().Submenu(L"DropPopup"), form_.screen_.CursorPos(), form_.window_id());
    if (command) form_.menus().Dispatch(command);
    return form_.drop_choice_;
  }

  // As text in UTF-16: the system offers it in the 8-bit code page too, and
  // a name that code page cannot spell stays whole.
  bool PutText(const std::u16string& text) override {
    platform::Clipboard& clipboard = form_.services_.clipboard;
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    platform::GlobalBlock block(clipboard, bytes);
    if (!block) return false;
    {
      platform::GlobalView view(clipboard, block.get());
      if (!view.locked()) return false;
      std::memcpy(view.bytes().data(), text.c_str(), bytes);
    }
    platform::ClipboardSession session(clipboard, form_.window_id());
    if (!session.is_open() || !clipboard.Empty()) return false;
    return platform::HandOver(clipboard, platform::cf::kUnicodeText, block);
  }

  bool ImportFile(const std::u16string& path) override { return form_.ImportFile(FromU16(path)); }

  void AwaitCapture() override { form_.AwaitCapture(); }

  bool Stopped() override { return form_.close_after_load_; }

  int IconCount(const std::u16string& path) override { return exchange::FileIconCount(path); }

  bool RecordIcon(const std::u16string& path, int index) override {
    const HBITMAP bitmap = exchange::FileIconBitmap(form_.hwnd(), path, index);
    if (!bitmap) return Fail();
    platform::Clipboard& clipboard = form_.services_.clipboard;
    core::Recorder& recorder = *form_.recorder_;
    {
      platform::ClipboardSession session(clipboard, form_.window_id());
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
    TFQuillet::DeliverPending();
    return true;
  }

 private:
  bool Fail() {
    form_.services_.dialogs.ShowMessage(kNoIconBitmap,
                                        platform::mb::kOk | platform::mb::kIconError);
    return false;
  }

  TFQuillet& form_;
};

void TFQuillet::WMDropFiles(HDROP drop) {
  const exchange::DropHandle handle(drop);
  // A drop that arrives while another drop or a text load delivers
  // messages would change the clipboard under them.
  if (dropping_ || loading_text_ || list_filling_) return;
  dropping_ = true;
  load_shown_at_ = 0;
  Run([this, &handle] {
    WindowDropSite site(*this);
    exchange::HandleDrop(handle.Paths(), site);
  });
  dropping_ = false;
  ShowCaptured();
  CloseIfAsked();
}

}  // namespace quill::ui
