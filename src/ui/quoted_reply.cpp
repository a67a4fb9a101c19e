// "整形書き込み": the text box's text, quoted if wished, becomes the
// clipboard's text and the current record's new content.
#include "core/quoted_text.h"
#include "ui/code_page.h"
#include "ui/main_form.h"

namespace quill::ui {

void TFQuillet::CopyBtnClick() {
  const int current = recorder_->CurrentNo();
  if (current <= 0) return;
  if (c_.ConvertCB->Checked()) ConvertText();
  std::string date;
  const core::RecordKind kind = recorder_->FormattedWrite(ToU16(MemoWholeText()), date);
  if (kind < 0) return;  // nothing was written
  framework::ListView& list = *c_.ListView;
  if (current - 1 < list.Count()) {
    list.SetSubItems(current - 1, {FromAnsi(date), MemoFirstLine()});
    list.SetImage(current - 1, kind);
  }
}

// Every line as the text box wraps it becomes a line of its own behind the
// prefix; the box is first narrowed by the prefix's width so that the
// quoted lines still fit.
void TFQuillet::ConvertText() {
  framework::Memo& memo = *c_.Memo1;
  // Every line is quoted as the box wraps it: all of it goes in the box.
  ShowMemoWhole();
  const framework::Box box = memo.Bounds();
  const std::wstring prefix = c_.ConvertEdit->Text();
  SIZE extent = {};
  {
    win32::WindowDC dc(memo.hwnd());
    win32::ScopedSelectObject font(dc.get(), this->font());
    ::GetTextExtentPoint32W(dc.get(), prefix.c_str(), static_cast<int>(prefix.size()), &extent);
  }
  memo.SetAlign(framework::Align::kNone);
  memo.SetBounds({box.x, box.y, std::max(1, box.width - static_cast<int>(extent.cx)), box.height});
  std::vector<std::u16string> lines;
  for (const std::wstring& line : memo.Lines()) lines.push_back(ToU16(line));
  const std::wstring quoted = FromU16(core::QuoteBoxLines(lines, ToU16(prefix)));
  memo.SetText(L"");
  memo.SetAlign(framework::Align::kClient);
  c_.TabSheet1->LayOut();
  memo.SetText(quoted);
}

}  // namespace quill::ui
