// "整形書き込み": quoting the text box and rewriting the current record.
#include <gtest/gtest.h>

#include <memory>

#include "emf_bytes.h"
#include "fakes.h"
#include "pump.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

class QuotedReplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = std::make_unique<TFQuillet>(&dialogs_);
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
  static void Pump() { PumpMessages(); }
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
      ::SetClipboardData(CF_ENHMETAFILE, ::SetEnhMetaFileBits(static_cast<UINT>(emf.size()), emf.data()));
    }
    ::CloseClipboard();
    Pump();
  }
  std::wstring MemoText() { return form_->Get<framework::Memo>(L"Memo1").Text(); }
  void SetMemo(const std::wstring& text) { form_->Get<framework::Memo>(L"Memo1").SetText(text); }
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

  core::testing::ScriptedDialogs dialogs_;
  std::unique_ptr<TFQuillet> form_;
};

TEST_F(QuotedReplyTest, AShortLineGetsThePrefix) {
  SetMemo(L"hello");
  form_->ConvertText();
  EXPECT_EQ(MemoText(), L"> hello");
}

TEST_F(QuotedReplyTest, ALongLineBecomesSeveralLinesEachWithThePrefix) {
  std::wstring line;
  for (int i = 0; i < 40; ++i) line += L"word" + std::to_wstring(i) + L" ";
  SetMemo(line + L"\r\nshort");
  form_->ConvertText();
  const std::vector<std::wstring> lines = form_->Get<framework::Memo>(L"Memo1").Lines();
  ASSERT_GT(lines.size(), 3u);
  for (const std::wstring& l : lines) EXPECT_EQ(l.rfind(L"> ", 0), 0u) << static_cast<int>(l.size());
  EXPECT_EQ(lines.back(), L"> short");
  // The box has its full width again.
  EXPECT_EQ(form_->Get<framework::Memo>(L"Memo1").Bounds().width,
            form_->Get<framework::Container>(L"TabSheet1").Bounds().width);
}

TEST_F(QuotedReplyTest, AFormattedWriteStoresTheEditedTextAsTheCurrentRecord) {
  Copy("original");
  ASSERT_EQ(form_->recorder().RecordCount(), 1);
  SetMemo(L"edited by the user");
  form_->CopyBtnClick();
  Pump();
  EXPECT_EQ(form_->recorder().RecordCount(), 1);  // rewritten, not added
  EXPECT_EQ(RecordText(1), "edited by the user");
  EXPECT_EQ(form_->Get<framework::ListView>(L"ListView").SubItem(0, 2), L"edited by the user");
}

TEST_F(QuotedReplyTest, AFormattedWriteWithQuotingAndAPictureLeavesATextRecord) {
  Copy("reply to this", true);
  auto& list = form_->Get<framework::ListView>(L"ListView");
  ASSERT_EQ(list.Image(0), core::kHasText | core::kHasPicture);
  form_->Get<framework::CheckBox>(L"ConvertCB").SetChecked(true);
  form_->ShowLoadedText(true);
  form_->CopyBtnClick();
  Pump();
  EXPECT_EQ(list.Image(0), core::kHasText);
  EXPECT_EQ(RecordText(1), "> reply to this");
  EXPECT_EQ(form_->recorder().RecordCount(), 1);
}

}  // namespace
}  // namespace quill::ui
