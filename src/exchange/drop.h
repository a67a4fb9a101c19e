#pragma once
// Files dropped on the main window become clipboard content: their path
// names as text, their content by import, or their icons as bitmaps, as
// the user chooses from a menu. The window supplies the menu and the
// system's part through DropSite; the order and the stopping rules are
// here.
#include <string>
#include <vector>

namespace quill::exchange {

namespace drop {
constexpr int kNone = 0;  // the menu was dismissed
constexpr int kPaths = 1;
constexpr int kContent = 2;
constexpr int kIcons = 3;
}  // namespace drop

class DropSite {
 public:
  virtual ~DropSite() = default;
  // Shows the choice menu at the pointer; one of the drop values.
  virtual int Choose() = 0;
  // Replaces the clipboard's content with `text`; false if it could not.
  virtual bool PutText(const std::u16string& text) = 0;
  // Imports the file onto the clipboard; false when it showed an error.
  virtual bool ImportFile(const std::u16string& path) = 0;
  // After a change of the clipboard, lets capture see it before the next.
  virtual void AwaitCapture() = 0;
  // Whether the drop is to end before its next step (the window closes).
  virtual bool Stopped() = 0;
  // How many icons the file holds (0 for none or no such file).
  virtual int IconCount(const std::u16string& path) = 0;
  // Puts icon `index` of the file on the clipboard as a bitmap, records it
  // in either watch mode and lets pending messages arrive; false when no
  // bitmap could be made of it.
  virtual bool RecordIcon(const std::u16string& path, int index) = 0;
};

// The text of choice "パス名": every path followed by CR LF.
std::u16string DropPathText(const std::vector<std::u16string>& paths);

// Handles one drop of `paths`, in the order the drop reports them. The
// first failure, or the site's stop, ends it: the files after it are left.
void HandleDrop(const std::vector<std::u16string>& paths, DropSite& site);

}  // namespace quill::exchange
