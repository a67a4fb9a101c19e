#pragma once
// Everything modal the recorder asks the user: message boxes and the file
// dialogs. Tests answer through a double; the program shows the real ones.
#include <optional>
#include <string>

namespace quill::platform {

// Message box styles and answers (the system's MB_* and ID* values).
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNoCancel = 0x3;
constexpr unsigned kIconError = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconWarning = 0x30;
constexpr unsigned kIconInformation = 0x40;
}  // namespace mb
namespace answer {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace answer

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows `text` with the application's title; returns the answer.
  virtual int ShowMessage(const std::u16string& text, unsigned style) = 0;
  // `filter` in the form "Description|*.ext|...". No value if cancelled.
  virtual std::optional<std::u16string> OpenFile(const std::u16string& filter) = 0;
  // The open dialog with the choice between pages and lines as the unit of
  // a text file's records. `page_separated` is shown chosen and follows
  // every click on the choice at once, also when the dialog is then
  // cancelled.
  virtual std::optional<std::u16string> OpenTextRecordFile(const std::u16string& filter,
                                                           bool& page_separated) = 0;
  // Asks before overwriting an existing file; the default extension is
  // added to a name typed without one.
  virtual std::optional<std::u16string> SaveFile(const std::u16string& filter,
                                                 const std::u16string& default_extension) = 0;
};

}  // namespace quill::platform
