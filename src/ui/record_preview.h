#pragma once
// The preview of the record shown: its text in the memo (a long one only in
// part, the rest kept aside), its picture in the image, the display menu of
// its formats and the status line saying what they are. The memo is also
// the text pane that import, export and the quoted reply work on.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/format_filter.h"
#include "core/record_kind.h"
#include "exchange/exchange.h"
#include "framework/form.h"
#include "platform/clipboard.h"
#include "ui/command_runner.h"
#include "ui/hidden_text.h"
#include "ui/main_controls.h"
#include "ui/preview_status.h"

namespace quill::ui {

class RecordPreview final : public exchange::TextPane {
 public:
  struct Parts {
    framework::Form& form;
    const MainControls& controls;
    platform::Clipboard& clipboard;
    CommandRunner run;
  };
  // Everything in `parts` must outlive the preview.
  explicit RecordPreview(const Parts& parts) : parts_(parts) {}
  RecordPreview(const RecordPreview&) = delete;
  RecordPreview& operator=(const RecordPreview&) = delete;

  // Shows what the clipboard holds for a record of `kind`. `text` is its
  // text when that has been read already; otherwise the clipboard's is.
  // Copies lost so far are told on the status line.
  void Show(core::RecordKind kind, std::shared_ptr<const std::string> text, int lost_changes);
  // No record: an empty memo, no picture.
  void ShowNoRecord();
  // A line of text alone, as a storage's load shows its progress.
  void ShowLine(const std::wstring& line);
  void Hide();
  void SetFormattedWriteEnabled(bool enabled);
  void SetExportEnabled(bool enabled);

  // Draws the clipboard's DIB into the image, fitted; its facts, or nothing
  // when the clipboard has no DIB or it could not be drawn (the picture is
  // then blank).
  std::optional<BitmapFacts> DrawClipboardBitmap();
  // Draws the clipboard's enhanced metafile over the whole image.
  void DrawClipboardMetafile();

  // Rebuilds the display menu from a record's name list (date first); the
  // standard formats are known by the filter's captions.
  void BuildDisplayMenu(const std::vector<std::string>& names, const core::FormatFilter& filter);
  // The display menu's items, each by the tag of the item clicked.
  void DisplayTextClick(int tag);
  void DisplayBitmapClick(int tag);
  void DisplayMetafileClick(int tag);

  // The memo's first line as the memo lays it out.
  std::wstring FirstLine() const;
  // The first line of each text as the memo would lay it out, all measured
  // at once.
  std::vector<std::wstring> FirstLinesOf(const std::vector<std::wstring>& texts) const;
  // The memo's text with what was kept aside: the text every command that
  // takes "the text box's text" works on.
  std::wstring WholeText() const;
  // Quotes every line as the memo wraps it, behind the prefix of the
  // settings.
  void ConvertText();

  // The memo as the exchange's text pane, in the system's code page.
  bool SetText(const std::string& text) override;
  std::string Text() const override;

 private:
  // Puts a text in the memo; a long one only in part (the edit control
  // lays out every line it holds, about a tenth of a millisecond each
  // here), the rest kept aside. Returns the bytes not shown.
  std::size_t ShowMemoText(std::shared_ptr<const std::string> ansi);
  // Puts all of the text in the memo, for commands that lay it out.
  void ShowWhole();
  // The clipboard's text (CF_TEXT up to its zero byte).
  std::string ClipboardAnsiText();
  // Shows the text or the picture, as the display item `name` asks.
  void SelectDisplay(const std::wstring& name, bool show_text);
  platform::WindowId window_id() const {
    return reinterpret_cast<platform::WindowId>(parts_.form.hwnd());
  }

  Parts parts_;
  HiddenText rest_;  // what the memo does not show of its text
};

}  // namespace quill::ui
