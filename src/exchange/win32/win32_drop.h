#pragma once
// The system's side of a drop: the drop handle and its paths, and the
// icons of a file drawn as bitmaps.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace quill::exchange {

// Finishes the drop when it goes, however its handling ended.
class DropHandle {
 public:
  explicit DropHandle(HDROP drop) : drop_(drop) {}
  ~DropHandle() {
    if (drop_) ::DragFinish(drop_);
  }
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;

  // Every path, whole and in UTF-16: a path longer than the classic limit
  // or one the 8-bit code page cannot spell still names the real file.
  std::vector<std::u16string> Paths() const;

 private:
  HDROP drop_;
};

// The number of icons in the file; 0 for none, a folder or no such file.
int FileIconCount(const std::u16string& path);

// Icon `index` of the file drawn on white into a bitmap of the size of the
// icon's mask, compatible with `window`'s display; nullptr if the icon or
// the bitmap could not be made. The caller owns the bitmap.
HBITMAP FileIconBitmap(HWND window, const std::u16string& path, int index);

}  // namespace quill::exchange
