#pragma once
// Stand-ins for the user and the window around the recorder: dialogs that
// answer from a script, compound files that fail on demand, a clock that is
// set by hand, and a view that keeps the record list and preview as plain
// data.
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/record_text.h"
#include "core/recorder_view.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/storage.h"

namespace quill::core::testing {

class ScriptedDialogs : public platform::Dialogs {
 public:
  int ShowMessage(const std::u16string& text, unsigned style) override;
  std::optional<std::u16string> OpenFile(const std::u16string& filter) override;
  // Answers from `open_paths`; a value in `page_clicks` is clicked first.
  std::optional<std::u16string> OpenTextRecordFile(const std::u16string& filter,
                                                   bool& page_separated) override;
  std::optional<std::u16string> SaveFile(const std::u16string& filter,
                                         const std::u16string& default_extension) override;

  // Answers for the next message boxes; with none left, a box is answered OK.
  std::deque<int> answers;
  std::deque<std::optional<std::u16string>> open_paths;
  std::deque<std::optional<bool>> page_clicks;
  // When set, the text-record dialog is this one's (the system's).
  platform::Dialogs* text_record_dialog = nullptr;
  std::deque<std::optional<std::u16string>> save_paths;
  std::vector<std::u16string> shown;  // texts of the boxes shown
  std::vector<std::u16string> filters;
  std::vector<std::u16string> extensions;
};

// The world's compound files, with failures on demand: a path in
// `refuse_open` cannot be opened, as if another program held it.
class FaultyFiles : public platform::StorageFiles {
 public:
  explicit FaultyFiles(platform::StorageFiles& files) : files_(files) {}
  platform::HResult CreateDocfile(const std::u16string& path, std::uint32_t mode,
                                  std::unique_ptr<platform::Storage>& out) override {
    return files_.CreateDocfile(path, mode, out);
  }
  platform::HResult OpenDocfile(const std::u16string& path, std::uint32_t mode,
                                std::unique_ptr<platform::Storage>& out) override {
    if (refuse_open.count(path)) return platform::stg_error::kShareViolation;
    return files_.OpenDocfile(path, mode, out);
  }
  bool Delete(const std::u16string& path) override { return files_.Delete(path); }
  bool Move(const std::u16string& from, const std::u16string& to) override {
    return files_.Move(from, to);
  }
  bool Replace(const std::u16string& from, const std::u16string& to) override {
    return files_.Replace(from, to);
  }
  bool Exists(const std::u16string& path) override { return files_.Exists(path); }

  std::set<std::u16string> refuse_open;

 private:
  platform::StorageFiles& files_;
};

class ManualClock : public platform::Clock {
 public:
  platform::LocalTime Now() override { return now; }
  char DateSeparator() override { return '/'; }
  char TimeSeparator() override { return ':'; }
  void Sleep(unsigned milliseconds) override {
    slept.push_back(milliseconds);
    if (while_asleep) while_asleep();
  }

  platform::LocalTime now = {2026, 12, 7, 9, 5, 30};
  std::vector<unsigned> slept;
  std::function<void()> while_asleep;  // what the world does meanwhile
};

struct ListRow {
  std::string caption;
  std::string date;
  std::string content;
  RecordKind icon;
};

class FakeView : public RecorderView {
 public:
  FakeView(platform::Clipboard& clipboard, platform::WindowId window)
      : clipboard_(clipboard), window_(window) {}

  void SetListRow(int number, RecordKind kind, const std::string& date) override;
  void DeleteListRow(int index) override { rows.erase(rows.begin() + index); }
  void ClearList() override { rows.clear(); }
  void SetRowCaption(int index, int number) override { rows.at(index).caption = Caption(number); }
  void MoveRowContent(int from, int to) override;
  void SelectRow(int index) override { selected = index; }
  void RefreshPreview(RecordKind kind) override;
  void BuildDisplayMenu(const std::vector<std::string>& items) override { display_menu = items; }
  void UpdateCounter(int current, int count) override { counter = {current, count}; }
  void BeginLoading() override { loading.push_back(-1); }
  void ShowLoading(int loaded) override { loading.push_back(loaded); }
  void EndLoading() override { loading.push_back(-2); }
  void ShowNoRecord() override { memo.clear(), memo_visible = true; }
  void HidePreview() override { memo_visible = false; }
  void SetFormattedWriteEnabled(bool enabled) override { formatted_write = enabled; }
  void SetExportEnabled(bool enabled) override { export_enabled = enabled; }
  void ShowLinkMode(bool on) override { link_mode = on; }
  void RetryCaptureLater() override { ++retries_asked; }
  void ShowLostChanges(int count) override { lost_shown = count; }
  int ColorRGIndex() override { return color_index; }

  static std::string Caption(int number);
  std::string ClipboardText();

  std::vector<ListRow> rows;
  int selected = -1;
  std::string memo;
  bool memo_visible = true;
  std::vector<std::string> display_menu;
  std::pair<int, int> counter = {-1, -1};
  // BeginLoading as -1, each ShowLoading's count, EndLoading as -2.
  std::vector<int> loading;
  // The recorder's CurrentNo and RecordCount: the window's preview shows
  // them in the caption, as UpdateCounter does.
  std::function<std::pair<int, int>()> counters;
  // The text the recorder keeps of a record: while a storage loads, the
  // window's rows show it, as nothing is put on the clipboard.
  std::function<const RecordText*(int)> kept_text;
  std::vector<RecordKind> previews;
  int retries_asked = 0;
  int lost_shown = 0;
  bool formatted_write = true;
  bool export_enabled = true;
  bool link_mode = true;
  int color_index = 0;

 private:
  platform::Clipboard& clipboard_;
  platform::WindowId window_;
};

}  // namespace quill::core::testing
