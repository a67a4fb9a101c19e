#pragma once
// The main window, TFQuillet: the record list and preview, the settings
// pages, the tool bar, menus and status bar. It owns the recorder, works
// through the services it is given, and shows what the recorder reports.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/recorder.h"
#include "framework/controls.h"
#include "framework/form.h"
#include "framework/list_view.h"
#include "framework/page_control.h"
#include "framework/tool_bar.h"
#include "platform/screen.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "ui/capture_pacing.h"
#include "ui/file_commands.h"
#include "ui/hidden_text.h"
#include "ui/main_controls.h"
#include "ui/preview_status.h"

namespace quill::ui {

class OleSession;
class SettingsPages;
class CaptureCommands;
class WindowModes;
class RecordFinder;

// The captions of the filter's first and last entries.
inline constexpr wchar_t kFilterAll[] = L"(すべて)";
inline constexpr wchar_t kFilterOther[] = L"その他";

class TFQuillet : public framework::Form, public core::RecorderView, private FileCommands::Host {
 public:
  // The services must outlive the window.
  TFQuillet(const core::RecorderServices& services, platform::Screen& screen,
            platform::Shell& shell);
  ~TFQuillet() override;

  // Creates the window, hidden, and runs FormCreate; false if the window
  // could not be made.
  bool Create();
  void Show(int show_command);
  // Whether the recorder has a storage open: without one the program ends.
  bool HasStorage() const { return recorder_ && recorder_->HasStorage(); }
  core::Recorder& recorder() { return *recorder_; }
  // The capture menu's commands, the capturer and the area selection.
  CaptureCommands& captures() { return *captures_; }

  // The controls, made by BuildControls in the declared order.
  using Controls = MainControls;
  const Controls& widgets() const { return c_; }

  // --- what the recorder asks of the window ---
  void SetListRow(int number, core::RecordKind kind, const std::string& date) override;
  void DeleteListRow(int index) override;
  void ClearList() override;
  void SetRowCaption(int index, int number) override;
  void MoveRowContent(int from, int to) override;
  void SelectRow(int index) override;
  void RefreshPreview(core::RecordKind kind) override;
  void BuildDisplayMenu(const std::vector<std::string>& items) override;
  void UpdateCounter(int current, int count) override;
  void BeginLoading() override;
  void ShowLoading(int loaded) override;
  void EndLoading() override;
  void ShowNoRecord() override;
  void HidePreview() override;
  void SetFormattedWriteEnabled(bool enabled) override;
  void SetExportEnabled(bool enabled) override;
  void ShowLinkMode(bool on) override;
  void RetryCaptureLater() override;
  void ShowLostChanges(int count) override;
  int ColorRGIndex() override;

  // The settings pages and the options kept between runs.
  SettingsPages& settings() { return *settings_; }

  // --- handlers ---
  void FormCreate();
  void FormActivate();
  bool FormClose();
  void OpenBtnClick();
  void PasteBtnClick();
  void CopyBtnClick();
  void ConvertText();
  void MenuDelClick();
  void MenuFileClick();
  void ListViewMouseDown(int x, int y);
  void ListViewDragDrop(int target);
  void MoveKeyDown(WPARAM key);
  void FirstBtnClick() { recorder_->FirstBtnClick(); }
  void PrevBtnClick() { recorder_->PrevBtnClick(); }
  void NextBtnClick() { recorder_->NextBtnClick(); }
  void LastBtnClick() { recorder_->LastBtnClick(); }
  void LinkBtnClick() { recorder_->LinkBtnClick(); }
  void SplitterPanelMouse(UINT message, int x, int y);
  void PageControlDrawTab(HDC dc, const RECT& rect, const std::wstring& caption, bool selected);
  void CloseClick();
  // The display menu's items, each by the tag of the item clicked.
  void DisplayTextClick(int tag);
  void DisplayBitmapClick(int tag);
  void DisplayMetafileClick(int tag);

  // Import, export, dropped files and text files loaded as records.
  FileCommands& files() { return *files_; }

  // --- showing captured records ---
  // Records of a burst of captures recorded but not shown yet.
  bool CapturesWaiting() const { return !captured_rows_.empty(); }

  // The full and minimal views, the tray icon, help and about box.
  WindowModes& modes() { return *modes_; }

  // --- the preview of pictures ---
  // Draws the clipboard's DIB into Image1, fitted; its facts, or nothing
  // when the clipboard has no DIB or it could not be drawn (the picture is
  // then blank).
  std::optional<BitmapFacts> DrawClipboardBitmap();
  // Draws the clipboard's enhanced metafile over the whole of Image1.
  void DrawClipboardMetafile();

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnMenuPopup(const std::wstring& menu_name) override;

 private:
  void BuildControls();
  void BuildMenus();
  // The recorder's messages, the clipboard's and the timers of captures.
  void HandleRecorderMessages();
  // After the window moved to a screen of other dots per inch.
  void OnDpiChanged();
  // Runs a command; an error it raises is shown and ends the command.
  // Captured records still waiting to be shown are shown first, so that
  // the command sees the list as the records are.
  void Run(const std::function<void()>& command, bool show_captured_first = true);
  // A handler (of this window, or any other callable) run as a command.
  template <typename Handler>
  std::function<void()> Command(Handler handler) {
    return [this, handler] { Run([this, handler] { Call(handler); }); };
  }
  template <typename Handler>
  std::function<void(int)> MenuCommand(Handler handler) {
    return [this, handler](int) { Run([this, handler] { Call(handler); }); };
  }
  template <typename Handler>
  void Call(const Handler& handler) {
    if constexpr (std::is_member_function_pointer_v<Handler>) {
      (this->*handler)();
    } else {
      handler();
    }
  }
  std::wstring MemoFirstLine() const;
  // Creates or refreshes record `number`'s row, without selecting it.
  int PutListRow(int number, core::RecordKind kind, const std::string& date,
                 const std::wstring& first_line);
  // A row's summary of a line: the line, cut to the most bytes a row keeps.
  static std::wstring RowSummary(const std::wstring& line);
  // Shows the text or the picture, as the display item `name` asks.
  void SelectDisplay(const std::wstring& name, bool show_text);
  std::function<void(int)> TagCommand(void (TFQuillet::*handler)(int));
  // The clipboard's text for the memo (CF_TEXT up to its zero byte).
  // The clipboard's text in the system's code page.
  std::string ClipboardAnsiText();
  // Puts a text in the memo; a long one only in part (the edit control
  // lays out every line it holds, about a tenth of a millisecond each
  // here), the rest kept aside. Returns the bytes not shown.
  std::size_t ShowMemoText(std::shared_ptr<const std::string> ansi);
  // The memo's text with what was kept aside: the text every command that
  // takes "the text box's text" works on.
  std::wstring MemoWholeText() const;
  // Puts all of the text in the memo, for commands that lay it out.
  void ShowMemoWhole();
  HiddenText memo_rest_;
  // --- what a load or a drop asks of the window ---
  void ShowInBatches() override { load_shown_at_ = 0; }
  bool ListFilling() const override { return list_filling_.has_value(); }
  bool CloseAsked() const override { return close_after_load_; }
  // Closes the window now if it was closed during a load or a drop.
  void CloseIfAsked() override;
  platform::WindowId window_id() const { return reinterpret_cast<platform::WindowId>(hwnd()); }

  core::RecorderServices services_;
  platform::Screen& screen_;
  platform::Shell& shell_;
  std::unique_ptr<OleSession> ole_;
  std::unique_ptr<core::Recorder> recorder_;
  std::unique_ptr<CaptureCommands> captures_;
  win32::UniqueImageList tool_images_;
  win32::UniqueImageList disabled_tool_images_;
  win32::UniqueImageList kind_images_;
  win32::UniqueIcon icon_large_;
  win32::UniqueIcon icon_small_;
  Controls c_;
  bool splitter_captured_ = false;
  std::unique_ptr<WindowModes> modes_;
  std::unique_ptr<SettingsPages> settings_;
  std::unique_ptr<FileCommands> files_;
  bool close_after_load_ = false;  // closed during a load or a drop
  // A row set while it is not drawn, put in the list later with others.
  struct PendingRow {
    int number;
    core::RecordKind kind;
    std::string date;
  };
  // Puts rows in the list, each with the first line of its record's kept
  // text as the memo would lay it out, all measured at once.
  void PutRowsTogether(const std::vector<PendingRow>& rows);
  std::wstring KeptTextOf(const PendingRow& row) const;
  // While a storage loads: the list's redrawing held, the rows loaded
  // since progress was last shown, and when that was.
  std::optional<framework::ListView::Filling> list_filling_;
  std::vector<PendingRow> loaded_rows_;
  ULONGLONG loading_shown_at_ = 0;
  HWND focus_before_loading_ = nullptr;
  // Captures: the rows and the preview a capture asks for are collected
  // and shown at once or, during a burst, together later.
  void CaptureClip() override;
  void ShowCaptured() override;
  // The timer's: the rows once due, until then the counter.
  void ShowCapturedWhenDue();
  void ShowCapturedTogether(const std::vector<PendingRow>& rows, core::RecordKind preview);
  static constexpr UINT_PTR kShowCapturedTimer = 2;
  // A clipboard state another program held too long is read again then.
  static constexpr UINT_PTR kRetryCaptureTimer = 3;
  static constexpr UINT kRetryCaptureMs = 250;
  bool collecting_capture_ = false;
  std::vector<PendingRow> captured_rows_;
  core::RecordKind captured_preview_ = core::kNoRecord;
  std::optional<std::vector<std::string>> captured_menu_;  // the display menu asked for
  // A text load or a drop shows its records in batches, this often.
  static constexpr ULONGLONG kLoadShownEveryMs = 250;
  ULONGLONG load_shown_at_ = 0;
  void CollectCapture();
  void ReadWaitingChanges();
  CapturePacing capture_pacing_;
  std::unique_ptr<RecordFinder> finder_;
  win32::UniqueAccelerators accelerators_;
};

}  // namespace quill::ui
