#include "ui/record_view.h"

#include <cstdio>
#include <utility>

#include "framework/application.h"
#include "ui/code_page.h"

namespace quill::ui {
namespace {

std::wstring RowCaption(int number) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L" %.3d", number);
  return text;
}

// A row's summary of a line: the line, cut to the most bytes a row keeps.
std::wstring RowSummary(const std::wstring& line) {
  constexpr std::size_t kMaxSummaryBytes = 4096;
  const std::string bytes = ToAnsi(line);
  if (bytes.size() <= kMaxSummaryBytes) return line;
  return FromAnsi(bytes.substr(0, kMaxSummaryBytes));
}

}  // namespace

RecordView::RecordView(const Parts& parts) : parts_(parts), preview_(parts) {}

void RecordView::SetListRow(int number, core::RecordKind kind, const std::string& date) {
  if (collecting_capture_) {
    captured_rows_.push_back({number, kind, date});
    return;
  }
  // While a storage loads the list is not drawn: its rows are put in with
  // the progress and at the end, and only the row shown then is selected.
  if (list_filling_) {
    loaded_rows_.push_back({number, kind, date});
    return;
  }
  parts_.controls.ListView->SelectOnly(
      PutListRow(number, kind, date, RowSummary(preview_.FirstLine())));
}

std::wstring RecordView::KeptTextOf(const PendingRow& row) const {
  const core::RecordText* kept =
      (row.kind & core::kHasText) ? recorder_->KeptText(row.number) : nullptr;
  return !kept                ? std::wstring()
         : kept->ansi.empty() ? FromU16(kept->unicode)
                              : FromAnsi(kept->ansi);
}

void RecordView::PutRowsTogether(const std::vector<PendingRow>& rows) {
  std::vector<std::wstring> texts;
  for (const PendingRow& row : rows) texts.push_back(KeptTextOf(row));
  const std::vector<std::wstring> first_lines = preview_.FirstLinesOf(texts);
  for (std::size_t i = 0; i < rows.size(); ++i)
    PutListRow(rows[i].number, rows[i].kind, rows[i].date, RowSummary(first_lines[i]));
}

int RecordView::PutListRow(int number, core::RecordKind kind, const std::string& date,
                           const std::wstring& first_line) {
  framework::ListView& list = *parts_.controls.ListView;
  int row = number - 1;
  if (list.Count() < number) {
    row = list.AddRow(RowCaption(number), kind);
  } else {
    list.SetCaption(row, RowCaption(number));
    list.SetImage(row, kind);
  }
  list.SetSubItems(row, {FromAnsi(date), first_line});
  return row;
}

void RecordView::CopyBtnClick() {
  const int current = recorder_->CurrentNo();
  if (current <= 0) return;
  if (parts_.controls.ConvertCB->Checked()) preview_.ConvertText();
  std::string date;
  const core::RecordKind kind = recorder_->FormattedWrite(ToU16(preview_.WholeText()), date);
  if (kind < 0) return;  // nothing was written
  framework::ListView& list = *parts_.controls.ListView;
  if (current - 1 < list.Count()) {
    list.SetSubItems(current - 1, {FromAnsi(date), RowSummary(preview_.FirstLine())});
    list.SetImage(current - 1, kind);
  }
}

void RecordView::DeleteListRow(int index) { parts_.controls.ListView->DeleteRow(index); }
void RecordView::ClearList() { parts_.controls.ListView->Clear(); }
void RecordView::SetRowCaption(int index, int number) {
  parts_.controls.ListView->SetCaption(index, RowCaption(number));
}

void RecordView::MoveRowContent(int from, int to) {
  framework::ListView& list = *parts_.controls.ListView;
  const std::vector<std::wstring> kept = {list.SubItem(from, 1), list.SubItem(from, 2)};
  const int kept_image = list.Image(from);
  const int step = from < to ? 1 : -1;
  for (int row = from; row != to; row += step) {
    list.SetSubItems(row, {list.SubItem(row + step, 1), list.SubItem(row + step, 2)});
    list.SetImage(row, list.Image(row + step));
  }
  list.SetSubItems(to, kept);
  list.SetImage(to, kept_image);
}

void RecordView::SelectRow(int index) { parts_.controls.ListView->SelectOnly(index); }

void RecordView::RefreshPreview(core::RecordKind kind) {
  if (collecting_capture_) {
    captured_preview_ = kind;
    return;
  }
  UpdateCounter(recorder_->CurrentNo(), recorder_->RecordCount());
  // A text just captured is not read from the clipboard a second time.
  std::shared_ptr<const std::string> text;
  if (kind & core::kHasText)
    text = recorder_->CapturedText(recorder_->CurrentNo(), parts_.clipboard.SequenceNumber());
  preview_.Show(kind, std::move(text), recorder_->LostChanges());
}

void RecordView::BuildDisplayMenu(const std::vector<std::string>& names) {
  // Captures shown together build it once, for the record shown.
  if (collecting_capture_) {
    captured_menu_ = names;
    return;
  }
  preview_.BuildDisplayMenu(names, recorder_->Filter());
}

void RecordView::UpdateCounter(int current, int count) {
  wchar_t caption[64];
  std::swprintf(caption, std::size(caption), L"Quilleteer  %d/%d", current, count);
  ::SetWindowTextW(hwnd(), caption);
  parts_.show_counter(caption);
}

void RecordView::BeginLoading() {
  list_filling_.emplace(*parts_.controls.ListView);
  loading_shown_at_ = 0;  // the first record shows the progress
  // The window answers messages while it loads, with its input held as a
  // dialog's owner's is: no command may start before the records are in.
  focus_before_loading_ = ::GetFocus();
  ::EnableWindow(hwnd(), FALSE);
}

void RecordView::ShowLoading(int loaded) {
  // Often enough to be seen counting, seldom enough to cost nothing.
  constexpr ULONGLONG kProgressEveryMs = 100;
  const ULONGLONG now = ::GetTickCount64();
  if (now - loading_shown_at_ < kProgressEveryMs) return;
  loading_shown_at_ = now;
  UpdateCounter(loaded, loaded);
  // The memo shows the first line of the record loaded last.
  const std::wstring last = loaded_rows_.empty() ? std::wstring() : KeptTextOf(loaded_rows_.back());
  preview_.ShowLine(last.substr(0, last.find_first_of(L"\r\n")));
  // The rows go in a batch at a time, so that the window answers between.
  PutRowsTogether(std::exchange(loaded_rows_, {}));
  wchar_t text[64];
  std::swprintf(text, std::size(text), L"読み込み中: %d レコード", loaded);
  parts_.controls.StatusBar->SetSimpleText(text);
  ::UpdateWindow(hwnd());
  ::UpdateWindow(parts_.controls.StatusBar->hwnd());
  framework::Application::DeliverPending();
}

void RecordView::EndLoading() {
  PutRowsTogether(std::exchange(loaded_rows_, {}));
  list_filling_.reset();
  ::EnableWindow(hwnd(), TRUE);
  if (focus_before_loading_ && ::GetActiveWindow() == hwnd() &&
      ::IsChild(hwnd(), focus_before_loading_))
    ::SetFocus(focus_before_loading_);
}

void RecordView::ShowLinkMode(bool on) {
  parts_.controls.ToolBar1->SetDown(L"LinkBtn", on);
  parts_.controls.ToolBar1->SetImage(L"LinkBtn", on ? 10 : 9);
  parts_.form.menus().SetChecked(L"MenuLink", on);
}

}  // namespace quill::ui
