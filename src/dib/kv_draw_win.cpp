// Drawing a DIB onto a Windows device context.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_dib_header.h"
#include "dib/kv_draw.h"

namespace quill::dib {
namespace {

// A palette selected as a background palette and realised; the previous
// one goes back (also as background) at the end.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette) : dc_(dc) {
    if (palette) {
      previous_ = ::SelectPalette(dc_, palette, TRUE);
      ::RealizePalette(dc_);
    }
  }
  ~SelectedPalette() {
    if (previous_) ::SelectPalette(dc_, previous_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;

 private:
  HDC dc_;
  HPALETTE previous_ = nullptr;
};

// COLORONCOLOR for the scope: deleted rows and columns, no blending.
class StretchMode {
 public:
  StretchMode(HDC dc, int mode) : dc_(dc), previous_(::SetStretchBltMode(dc, mode)) {}
  ~StretchMode() {
    if (previous_) ::SetStretchBltMode(dc_, previous_);
  }
  StretchMode(const StretchMode&) = delete;
  StretchMode& operator=(const StretchMode&) = delete;

 private:
  HDC dc_;
  int previous_;
};

}  // namespace

void StretchDraw(TKvDIB& dib, DeviceContext context, const TKvRect& rect, std::uint32_t copy_mode) {
  HDC dc = static_cast<HDC>(context);
  const HPALETTE palette = static_cast<HPALETTE>(dib.GetPalette());
  const TKvInternalDIB& body = dib.InternalDIB();
  const TDIBInfo& info = body.DIBInfo;
  // BITMAPINFO: the header and the table, in the system's own layout.
  std::vector<std::uint8_t> bitmap_info(kInfoHeaderSize + 4 * kMaxColors);
  PutInfoHeader(bitmap_info.data(), info.Header);
  std::memcpy(bitmap_info.data() + kInfoHeaderSize, info.ColorTable.data(),
              4 * static_cast<std::size_t>(std::min(info.Header.biClrUsed, kMaxColors)));

  const SelectedPalette selected(dc, palette);
  const StretchMode mode(dc, COLORONCOLOR);
  ::StretchDIBits(dc, rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top, 0, 0,
                  body.Width, body.Height, info.Bits(),
                  reinterpret_cast<const BITMAPINFO*>(bitmap_info.data()), DIB_RGB_COLORS,
                  copy_mode);
}

}  // namespace quill::dib
