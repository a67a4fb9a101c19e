// The quoted reply: the text box's lines behind a prefix, as "整形書き込み"
// writes them when quoting is wished.
#include <algorithm>

#include "core/quoted_text.h"
#include "ui/code_page.h"
#include "ui/record_preview.h"

namespace quill::ui {

// Every line as the text box wraps it becomes a line of its own behind the
// prefix; the box is first narrowed by the prefix's width so that the
// quoted lines still fit.
void RecordPreview::ConvertText() {
  const MainControls& c = parts_.controls;
  framework::Memo& memo = *c.Memo1;
  // Every line is quoted as the box wraps it: all of it goes in the box.
  ShowWhole();
  const framework::Box box = memo.Bounds();
  const std::wstring prefix = c.ConvertEdit->Text();
  SIZE extent = {};
  {
    win32::WindowDC dc(memo.hwnd());
    win32::ScopedSelectObject font(dc.get(), parts_.form.font());
    ::GetTextExtentPoint32W(dc.get(), prefix.c_str(), static_cast<int>(prefix.size()), &extent);
  }
  memo.SetAlign(framework::Align::kNone);
  memo.SetBounds({box.x, box.y, std::max(1, box.width - static_cast<int>(extent.cx)), box.height});
  std::vector<std::u16string> lines;
  for (const std::wstring& line : memo.Lines()) lines.push_back(ToU16(line));
  const std::wstring quoted = FromU16(core::QuoteBoxLines(lines, ToU16(prefix)));
  memo.SetText(L"");
  memo.SetAlign(framework::Align::kClient);
  c.TabSheet1->LayOut();
  memo.SetText(quoted);
}

}  // namespace quill::ui
