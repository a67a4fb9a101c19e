// "整形書き込み": quoting the text box and rewriting the current record.
#include "recording_form.h"

namespace quill::ui {
namespace {

TEST_F(RecordingFormTest, AShortLineGetsThePrefix) {
  SetMemo(L"hello");
  form_->ConvertText();
  EXPECT_EQ(MemoText(), L"> hello");
}

TEST_F(RecordingFormTest, AFinalLineBreakOrAnEmptyBoxAddsNoQuotedLine) {
  SetMemo(L"abc\r\n");
  form_->ConvertText();
  EXPECT_EQ(MemoText(), L"> abc");
  SetMemo(L"");
  form_->ConvertText();
  EXPECT_EQ(MemoText(), L"");
}

TEST_F(RecordingFormTest, ALongLineBecomesSeveralLinesEachWithThePrefix) {
  std::wstring line;
  for (int i = 0; i < 40; ++i) line += L"word" + std::to_wstring(i) + L" ";
  SetMemo(line + L"\r\nshort");
  form_->ConvertText();
  const std::vector<std::wstring> lines = form_->widgets().Memo1->Lines();
  ASSERT_GT(lines.size(), 3u);
  for (const std::wstring& l : lines)
    EXPECT_EQ(l.rfind(L"> ", 0), 0u) << static_cast<int>(l.size());
  EXPECT_EQ(lines.back(), L"> short");
  // The box has its full width again.
  EXPECT_EQ(form_->widgets().Memo1->Bounds().width, form_->widgets().TabSheet1->Bounds().width);
}

TEST_F(RecordingFormTest, AFormattedWriteStoresTheEditedTextAsTheCurrentRecord) {
  Copy("original");
  ASSERT_EQ(form_->recorder().RecordCount(), 1);
  SetMemo(L"edited by the user");
  form_->CopyBtnClick();
  Pump();
  EXPECT_EQ(form_->recorder().RecordCount(), 1);  // rewritten, not added
  EXPECT_EQ(RecordText(1), "edited by the user");
  EXPECT_EQ(form_->widgets().ListView->SubItem(0, 2), L"edited by the user");
}

TEST_F(RecordingFormTest, AFormattedWriteOfAnEmptyBoxWritesNothing) {
  Copy("original");
  form_->widgets().ConvertCB->SetChecked(true);
  SetMemo(L"");
  form_->CopyBtnClick();
  Pump();
  EXPECT_EQ(form_->recorder().CaptureState(), core::capture_state::kAutomatic);
  Copy("next");  // another program's copy is recorded
  EXPECT_EQ(form_->recorder().RecordCount(), 2);
  EXPECT_EQ(RecordText(1), "original");
}

TEST_F(RecordingFormTest, AFormattedWriteWithQuotingAndAPictureLeavesATextRecord) {
  Copy("reply to this", true);
  auto& list = *form_->widgets().ListView;
  ASSERT_EQ(list.Image(0), core::kHasText | core::kHasPicture);
  form_->widgets().ConvertCB->SetChecked(true);
  form_->CopyBtnClick();
  Pump();
  EXPECT_EQ(list.Image(0), core::kHasText);
  EXPECT_EQ(RecordText(1), "> reply to this");
  EXPECT_EQ(form_->recorder().RecordCount(), 1);
}

}  // namespace
}  // namespace quill::ui
