// What the main window shows of the records: the list rows, the counter in
// the caption, the preview and the commands that follow the record shown.
#include <cstdio>
#include <utility>

#include "framework/application.h"
#include "platform/clipboard_guards.h"
#include "ui/code_page.h"
#include "ui/main_form.h"
#include "ui/tray_icon.h"
#include "ui/window_modes.h"

namespace quill::ui {
namespace {

std::wstring RowCaption(int number) {
  wchar_t text[16];
  std::swprintf(text, std::size(text), L" %.3d", number);
  return text;
}

constexpr std::size_t kMaxSummaryBytes = 4096;

}  // namespace

std::wstring TFQuillet::MemoFirstLine() const { return RowSummary(c_.Memo1->Line(0)); }

std::wstring TFQuillet::RowSummary(const std::wstring& line) {
  const std::string bytes = ToAnsi(line);
  if (bytes.size() <= kMaxSummaryBytes) return line;
  return FromAnsi(bytes.substr(0, kMaxSummaryBytes));
}

void TFQuillet::SetListRow(int number, core::RecordKind kind, const std::string& date) {
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
  c_.ListView->SelectOnly(PutListRow(number, kind, date, MemoFirstLine()));
}

std::wstring TFQuillet::KeptTextOf(const PendingRow& row) const {
  const core::RecordText* kept =
      (row.kind & core::kHasText) ? recorder_->KeptText(row.number) : nullptr;
  return !kept                ? std::wstring()
         : kept->ansi.empty() ? FromU16(kept->unicode)
                              : FromAnsi(kept->ansi);
}

void TFQuillet::PutRowsTogether(const std::vector<PendingRow>& rows) {
  std::vector<std::wstring> texts;
  for (const PendingRow& row : rows) texts.push_back(KeptTextOf(row));
  const std::vector<std::wstring> first_lines = c_.Memo1->FirstLinesOf(texts);
  for (std::size_t i = 0; i < rows.size(); ++i)
    PutListRow(rows[i].number, rows[i].kind, rows[i].date, RowSummary(first_lines[i]));
}

int TFQuillet::PutListRow(int number, core::RecordKind kind, const std::string& date,
                          const std::wstring& first_line) {
  framework::ListView& list = *c_.ListView;
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

void TFQuillet::DeleteListRow(int index) { c_.ListView->DeleteRow(index); }
void TFQuillet::ClearList() { c_.ListView->Clear(); }
void TFQuillet::SetRowCaption(int index, int number) {
  c_.ListView->SetCaption(index, RowCaption(number));
}

void TFQuillet::MoveRowContent(int from, int to) {
  framework::ListView& list = *c_.ListView;
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

void TFQuillet::SelectRow(int index) { c_.ListView->SelectOnly(index); }

void TFQuillet::UpdateCounter(int current, int count) {
  wchar_t caption[64];
  std::swprintf(caption, std::size(caption), L"Quilleteer  %d/%d", current, count);
  ::SetWindowTextW(hwnd(), caption);
  if (modes_) modes_->SetTip(caption);
}

std::string TFQuillet::ClipboardAnsiText() {
  platform::ClipboardSession session(services_.clipboard,
                                     reinterpret_cast<platform::WindowId>(hwnd()));
  if (!session.is_open()) return {};
  platform::GlobalView view(services_.clipboard, services_.clipboard.GetData(platform::cf::kText));
  if (!view.locked()) return {};
  const char* bytes = reinterpret_cast<const char*>(view.bytes().data());
  return std::string(bytes, strnlen(bytes, view.bytes().size()));
}

std::size_t TFQuillet::ShowMemoText(std::shared_ptr<const std::string> text) {
  memo_rest_.clear();
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
  c_.Memo1->SetText(FromAnsi(ansi.substr(0, shown)));
  memo_rest_ = {std::move(text), shown};
  return memo_rest_.view().size();
}

std::wstring TFQuillet::MemoWholeText() const {
  return c_.Memo1->Text() +
         (memo_rest_.empty() ? std::wstring() : FromAnsi(std::string(memo_rest_.view())));
}

void TFQuillet::ShowMemoWhole() {
  if (memo_rest_.empty()) return;
  c_.Memo1->SetText(MemoWholeText());
  memo_rest_.clear();
}

void TFQuillet::BeginLoading() {
  list_filling_.emplace(*c_.ListView);
  loading_shown_at_ = 0;  // the first record shows the progress
  // The window answers messages while it loads, with its input held as a
  // dialog's owner's is: no command may start before the records are in.
  focus_before_loading_ = ::GetFocus();
  ::EnableWindow(hwnd(), FALSE);
}

void TFQuillet::ShowLoading(int loaded) {
  // Often enough to be seen counting, seldom enough to cost nothing.
  constexpr ULONGLONG kProgressEveryMs = 100;
  const ULONGLONG now = ::GetTickCount64();
  if (now - loading_shown_at_ < kProgressEveryMs) return;
  loading_shown_at_ = now;
  UpdateCounter(loaded, loaded);
  // The memo shows the first line of the record loaded last.
  const std::wstring last = loaded_rows_.empty() ? std::wstring() : KeptTextOf(loaded_rows_.back());
  c_.Memo1->SetText(last.substr(0, last.find_first_of(L"\r\n")));
  memo_rest_.clear();
  // The rows go in a batch at a time, so that the window answers between.
  PutRowsTogether(std::exchange(loaded_rows_, {}));
  wchar_t text[64];
  std::swprintf(text, std::size(text), L"読み込み中: %d レコード", loaded);
  c_.StatusBar->SetSimpleText(text);
  ::UpdateWindow(hwnd());
  ::UpdateWindow(c_.StatusBar->hwnd());
  framework::Application::DeliverPending();
}

void TFQuillet::EndLoading() {
  PutRowsTogether(std::exchange(loaded_rows_, {}));
  list_filling_.reset();
  ::EnableWindow(hwnd(), TRUE);
  if (focus_before_loading_ && ::GetActiveWindow() == hwnd() &&
      ::IsChild(hwnd(), focus_before_loading_))
    ::SetFocus(focus_before_loading_);
}

void TFQuillet::ShowNoRecord() {
  c_.Image1->SetVisible(false);
  c_.Memo1->SetText(L"");
  memo_rest_.clear();
  c_.Memo1->SetVisible(true);
}

void TFQuillet::HidePreview() {
  c_.Memo1->SetVisible(false);
  c_.Image1->SetVisible(false);
}

void TFQuillet::SetFormattedWriteEnabled(bool enabled) {
  c_.ToolBar1->SetButtonEnabled(L"CopyBtn", enabled);
  menus().SetEnabled(L"MenuConv", enabled);
}

void TFQuillet::SetExportEnabled(bool enabled) {
  c_.ToolBar1->SetButtonEnabled(L"ExportBtn", enabled);
  menus().SetEnabled(L"MenuSave", enabled);
}

void TFQuillet::ShowLinkMode(bool on) {
  c_.ToolBar1->SetDown(L"LinkBtn", on);
  c_.ToolBar1->SetImage(L"LinkBtn", on ? 10 : 9);
  menus().SetChecked(L"MenuLink", on);
}

int TFQuillet::ColorRGIndex() { return c_.ColorRG->ItemIndex(); }

}  // namespace quill::ui
