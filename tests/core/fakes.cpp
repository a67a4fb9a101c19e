#include "fakes.h"

#include <cstdio>
#include <cstring>

#include "platform/clipboard_guards.h"

namespace quill::core::testing {

int ScriptedDialogs::ShowMessage(const std::u16string& text, unsigned) {
  shown.push_back(text);
  if (answers.empty()) return platform::answer::kOk;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::u16string> ScriptedDialogs::OpenFile(const std::u16string& filter) {
  filters.push_back(filter);
  if (open_paths.empty()) return std::nullopt;
  auto path = open_paths.front();
  open_paths.pop_front();
  return path;
}

std::optional<std::u16string> ScriptedDialogs::OpenTextRecordFile(const std::u16string& filter,
                                                                  bool& page_separated) {
  if (text_record_dialog) return text_record_dialog->OpenTextRecordFile(filter, page_separated);
  if (!page_clicks.empty()) {
    if (page_clicks.front()) page_separated = *page_clicks.front();
    page_clicks.pop_front();
  }
  return OpenFile(filter);
}

std::optional<std::u16string> ScriptedDialogs::SaveFile(const std::u16string& filter,
                                                        const std::u16string& extension) {
  filters.push_back(filter);
  extensions.push_back(extension);
  if (save_paths.empty()) return std::nullopt;
  auto path = save_paths.front();
  save_paths.pop_front();
  return path;
}

std::string FakeView::Caption(int number) {
  char text[16];
  std::snprintf(text, sizeof text, " %.3d", number);
  return text;
}

std::string FakeView::ClipboardText() {
  platform::ClipboardSession session(clipboard_, window_);
  if (!session.is_open()) return {};
  platform::GlobalView view(clipboard_, clipboard_.GetData(platform::cf::kText));
  if (!view.locked()) return {};
  const char* text = reinterpret_cast<const char*>(view.bytes().data());
  return std::string(text, strnlen(text, view.bytes().size()));
}

void FakeView::SetListRow(int number, RecordKind kind, const std::string& date) {
  if (static_cast<int>(rows.size()) < number) rows.resize(number);
  ListRow& row = rows[number - 1];
  row.caption = Caption(number);
  row.date = date;
  // While a storage loads, the row shows the text kept of the record read.
  const bool loading_storage = !loading.empty() && loading.back() != -2;
  std::string text = memo;
  if (loading_storage) {
    const RecordText* kept = (kind & kHasText) && kept_text ? kept_text(number) : nullptr;
    text = !kept                ? std::string()
           : kept->ansi.empty() ? std::string(kept->unicode.begin(), kept->unicode.end())
                                : kept->ansi;
  }
  row.content = text.substr(0, text.find_first_of("\r\n"));
  row.icon = kind;
  selected = number - 1;
}

void FakeView::MoveRowContent(int from, int to) {
  std::vector<std::string> captions;
  for (const ListRow& row : rows) captions.push_back(row.caption);
  const ListRow moved = rows.at(from);
  rows.erase(rows.begin() + from);
  rows.insert(rows.begin() + to, moved);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].caption = captions[i];
}

void FakeView::RefreshPreview(RecordKind kind) {
  previews.push_back(kind);
  if (counters) counter = counters();
  memo = (kind >= 0 && (kind & kHasText)) ? ClipboardText() : "";
}

}  // namespace quill::core::testing
