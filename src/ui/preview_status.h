#pragma once
// The status line under the preview: what the shown record's bitmap and
// text are.
#include <cstddef>
#include <optional>
#include <string>

#include "dib/kv_pixel_format.h"

namespace quill::ui {

// What a bitmap drawn in the preview is.
struct BitmapFacts {
  int width;
  int height;
  dib::TKvPixelFormat format;
};

// "Bitmap: W*H, depth" with four blanks before what follows; a bitmap that
// could not be read (no facts) says so instead.
std::wstring BitmapStatus(const std::optional<BitmapFacts>& bitmap);
// "Text: N bytes".
std::wstring TextStatus(std::size_t bytes);
// How many clipboard changes could not be recorded.
std::wstring LostChangesNote(int count);
// Said after the text's size when the memo shows only its first bytes.
std::wstring PartShownNote(std::size_t shown_bytes);

}  // namespace quill::ui
