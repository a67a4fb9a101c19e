#pragma once
// Pictures as other programs put them on the clipboard: packed DIBs of one
// colour in each pixel format, enhanced metafiles; and reading back where
// a picture is coloured.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace quill::ui {

struct DibShape {
  int width;
  int height;
  int bit_count = 24;          // 1, 4, 8 or 24
  DWORD compression = BI_RGB;  // or BI_RLE4 / BI_RLE8 with 4 or 8 bits
  COLORREF colour = RGB(40, 90, 200);
};

// A packed DIB (info header, colour table, pixels) filled with the colour.
std::vector<std::uint8_t> SolidDib(const DibShape& shape);
// A 24-bit packed DIB with colour bands, for people to look at.
std::vector<std::uint8_t> BandedDib(int width, int height);

// One format's data for the clipboard; the clipboard takes it over.
struct ClipboardItem {
  UINT format;
  HANDLE data;
};
HANDLE GlobalCopy(const void* bytes, std::size_t size);
HANDLE GlobalCopy(const std::vector<std::uint8_t>& bytes);
HANDLE AnsiText(const std::string& text);
// A metafile that fills its whole frame with the colour.
HANDLE SolidMetafile(int width, int height, COLORREF colour);
// A metafile with shapes and a caption, for people to look at.
HANDLE DrawingMetafile();
// Empties the clipboard and puts the items on it, as another program would.
bool PutOnClipboard(const std::vector<ClipboardItem>& items);

// Where a picture differs from white.
struct ColouredArea {
  int picture_width = 0;
  int picture_height = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // bounding box; empty when all white
  long long coloured = 0;                        // pixels that are not white
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};
ColouredArea FindColour(HBITMAP picture);

}  // namespace quill::ui
