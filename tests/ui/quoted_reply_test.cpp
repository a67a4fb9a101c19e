// "整形書き込み": quoting the text box and rewriting the current record.
#include <algorithm>
#include <string>

#include "recording_form.h"

namespace quill::ui {
namespace {

TEST_F(RecordingFormTest, AShortLineGetsThePrefix) {
  SetMemo(L"hello");
  form_->view().preview().ConvertText();
  EXPECT_EQ(MemoText(), L"> hello");
}

TEST_F(RecordingFormTest, AFinalLineBreakOrAnEmptyBoxAddsNoQuotedLine) {
  SetMemo(L"abc\r\n");
  form_->view().preview().ConvertText();
  EXPECT_EQ(MemoText(), L"> abc");
  SetMemo(L"");
  form_->view().preview().ConvertText();
  EXPECT_EQ(MemoText(), L"");
}

TEST_F(RecordingFormTest, ALongLineBecomesSeveralLinesEachWithThePrefix) {
  std::wstring line;
  for (int i = 0; i < 40; ++i) line += L"word" + std::to_wstring(i) + L" ";
  SetMemo(line + L"\r\nshort");
  form_->view().preview().ConvertText();
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
  form_->view().CopyBtnClick();
  Pump();
  EXPECT_EQ(form_->recorder().RecordCount(), 1);  // rewritten, not added
  EXPECT_EQ(RecordText(1), "edited by the user");
  EXPECT_EQ(form_->widgets().ListView->SubItem(0, 2), L"edited by the user");
}

TEST_F(RecordingFormTest, AFormattedWriteOfAnEmptyBoxWritesNothing) {
  Copy("original");
  form_->widgets().ConvertCB->SetChecked(true);
  SetMemo(L"");
  form_->view().CopyBtnClick();
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
  form_->view().CopyBtnClick();
  Pump();
  EXPECT_EQ(list.Image(0), core::kHasText);
  EXPECT_EQ(RecordText(1), "> reply to this");
  EXPECT_EQ(form_->recorder().RecordCount(), 1);
}

TEST_F(RecordingFormTest, ALongTextIsShownInPartButWrittenAndQuotedWhole) {
  std::string text;
  for (int i = 1; i <= 4000; ++i) text += "line " + std::to_string(i) + " of a long copy\r\n";
  Copy(text);
  const std::wstring shown = MemoText();
  ASSERT_LT(shown.size(), text.size());
  EXPECT_EQ(shown.substr(shown.size() - 2), L"\r\n") << "cut at a line's end";
  const std::wstring status = form_->widgets().StatusBar->SimpleText();
  EXPECT_NE(status.find(L"Text: " + std::to_wstring(text.size()) + L" bytes"), std::wstring::npos);
  EXPECT_NE(status.find(L"(先頭の " + std::to_wstring(shown.size()) + L" bytes を表示)"),
            std::wstring::npos)
      << std::string(status.begin(), status.end());

  form_->view().CopyBtnClick();
  Pump();
  EXPECT_EQ(RecordText(1), text) << "written whole";

  form_->widgets().ConvertCB->SetChecked(true);
  form_->view().CopyBtnClick();
  Pump();
  const std::string quoted = RecordText(1);
  EXPECT_EQ(quoted.rfind("> line 1 of a long copy\r\n", 0), 0u);
  EXPECT_EQ(std::count(quoted.begin(), quoted.end(), '>'), 4000);
}

}  // namespace
}  // namespace quill::ui
