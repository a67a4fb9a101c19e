// The preview's memo: a long text shown in part, the rest kept aside for
// the commands that take the whole text, and the memo as the exchange's
// text pane.
#include <utility>

#include "platform/clipboard_guards.h"
#include "ui/code_page.h"
#include "ui/record_preview.h"

namespace quill::ui {

std::size_t RecordPreview::ShowMemoText(std::shared_ptr<const std::string> text) {
  rest_.clear();
  if (!text) text = std::make_shared<const std::string>();
  const std::string& ansi = *text;
  // A tenth of a second of laying out at most; cut at a line's end, which no
  // double-byte character holds, so the part shown is whole characters.
  constexpr std::size_t kShownBytes = 64 * 1024;
  std::size_t shown = ansi.size();
  if (shown > kShownBytes) {
    const std::size_t line_end = ansi.rfind('\n', kShownBytes - 1);
    shown = line_end != std::string::npos ? line_end + 1 : kShownBytes;
    // Without a line's end, whole characters: a lead byte stays with its
    // trail byte.
    if (line_end == std::string::npos) {
      std::size_t at = 0;
      while (at < shown) at += ::IsDBCSLeadByte(static_cast<BYTE>(ansi[at])) ? 2 : 1;
      shown = at;
    }
  }
  parts_.controls.Memo1->SetText(FromAnsi(ansi.substr(0, shown)));
  rest_ = {std::move(text), shown};
  return rest_.view().size();
}

void RecordPreview::ShowLine(const std::wstring& line) {
  parts_.controls.Memo1->SetText(line);
  rest_.clear();
}

std::wstring RecordPreview::FirstLine() const { return parts_.controls.Memo1->Line(0); }

std::vector<std::wstring> RecordPreview::FirstLinesOf(
    const std::vector<std::wstring>& texts) const {
  return parts_.controls.Memo1->FirstLinesOf(texts);
}

std::wstring RecordPreview::WholeText() const {
  return parts_.controls.Memo1->Text() +
         (rest_.empty() ? std::wstring() : FromAnsi(std::string(rest_.view())));
}

void RecordPreview::ShowWhole() {
  if (rest_.empty()) return;
  parts_.controls.Memo1->SetText(WholeText());
  rest_.clear();
}

bool RecordPreview::SetText(const std::string& text) {
  const std::wstring wide = FromAnsi(text);
  framework::Memo& memo = *parts_.controls.Memo1;
  memo.SetText(wide);
  rest_.clear();
  // The edit control keeps less than it was given when it is full.
  return static_cast<std::size_t>(::GetWindowTextLengthW(memo.hwnd())) == wide.size();
}

std::string RecordPreview::Text() const {
  return ToAnsi(parts_.controls.Memo1->Text()) + std::string(rest_.view());
}

std::string RecordPreview::ClipboardAnsiText() {
  platform::ClipboardSession session(parts_.clipboard, window_id());
  if (!session.is_open()) return {};
  platform::GlobalView view(parts_.clipboard, parts_.clipboard.GetData(platform::cf::kText));
  if (!view.locked()) return {};
  const char* bytes = reinterpret_cast<const char*>(view.bytes().data());
  return std::string(bytes, strnlen(bytes, view.bytes().size()));
}

}  // namespace quill::ui
