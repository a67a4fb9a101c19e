// Import and export: the window lends the exchange its text pane, its
// dialogs and the JPEG options of the settings page.
#include "exchange/exchange.h"
#include "exchange/win32/win32_metafiles.h"
#include "ui/code_page.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

// Memo1 in the system's code page, with the part of a long text it does
// not show.
class MemoPane final : public exchange::TextPane {
 public:
  MemoPane(framework::Memo& memo, HiddenText& rest) : memo_(memo), rest_(rest) {}

  bool SetText(const std::string& text) override {
    const std::wstring wide = FromAnsi(text);
    memo_.SetText(wide);
    rest_.clear();
    // The edit control keeps less than it was given when it is full.
    return static_cast<std::size_t>(::GetWindowTextLengthW(memo_.hwnd())) == wide.size();
  }
  std::string Text() const override { return ToAnsi(memo_.Text()) + std::string(rest_.view()); }

 private:
  framework::Memo& memo_;
  HiddenText& rest_;
};

template <typename Action>
auto WithExchange(framework::Memo& memo, HiddenText& rest, const core::RecorderServices& services,
                  platform::WindowId window, Action action) {
  MemoPane pane(memo, rest);
  exchange::Win32Metafiles metafiles;
  exchange::Exchange exchange({services.clipboard, services.dialogs, metafiles}, window, pane);
  return action(exchange);
}

}  // namespace

void TFQuillet::ImportBtnClick() {
  WithExchange(*c_.Memo1, memo_rest_, services_, window_id(),
               [](exchange::Exchange& e) { e.ImportBtnClick(); });
}

bool TFQuillet::ImportFile(const std::wstring& path) {
  return WithExchange(*c_.Memo1, memo_rest_, services_, window_id(),
                      [&path](exchange::Exchange& e) { return e.ImportFile(ToU16(path)); });
}

void TFQuillet::ExportBtnClick() {
  const exchange::JpegOptions options{c_.QualityBar->Position(), c_.GrayCB->Checked(),
                                      c_.ProgCB->Checked()};
  WithExchange(*c_.Memo1, memo_rest_, services_, window_id(),
               [&options](exchange::Exchange& e) { e.ExportBtnClick(options); });
}

}  // namespace quill::ui
