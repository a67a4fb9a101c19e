#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "emf_bytes.h"
#include "fakes.h"
#include "pump.h"
#include "ui/main_form.h"
#include "ui/record_view.h"
#include "ui/system_services.h"

namespace quill::ui {

// The real window, recording what this process copies as another program
// would.
class RecordingFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TFQuillet>(system_.With(dialogs_), system_.screen, system_.shell);
    ASSERT_TRUE(form_->Create());
    form_->Show(SW_SHOW);
    form_->FormActivate();  // automatic capture
    Pump();
  }
  void TearDown() override {
    dialogs_.answers = {platform::answer::kNo};
    ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
    Pump();
    form_.reset();
  }
  // Lets the window handle what is waiting, including the showing of
  // captures that came quickly one after another, which waits a moment.
  void Pump() {
    PumpWhile([this] { return form_ && form_->view().CapturesWaiting(); }, 10000);
  }
  // Another window puts text (and a drawing) on the clipboard.
  void Copy(const std::string& text, bool with_drawing = false) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(block), text.c_str(), text.size() + 1);
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    if (with_drawing) {
      const std::vector<std::uint8_t> emf = platform::testing::MinimalEnhMetafile();
      ::SetClipboardData(CF_ENHMETAFILE,
                         ::SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data()));
    }
    ::CloseClipboard();
    Pump();
  }
  std::wstring MemoText() { return form_->widgets().Memo1->Text(); }
  void SetMemo(const std::wstring& text) { form_->widgets().Memo1->SetText(text); }
  std::string RecordText(int n) {
    std::string date;
    form_->recorder().ReadRecord(n, false, date);
    Pump();
    if (!::OpenClipboard(nullptr)) return {};
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
  }

  SystemServices system_;
  core::testing::ScriptedDialogs dialogs_;
  std::unique_ptr<TFQuillet> form_;
};

}  // namespace quill::ui
