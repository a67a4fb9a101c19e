// Drawing a DIB onto a device context: stretched without blending, the
// context's own stretch mode and palette given back.
#include <windows.h>

#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "dib/kv_draw.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

// A 32-bit top-down canvas of its own, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                 nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc_, &all, brush);
    ::DeleteObject(brush);
    ::GdiFlush();
  }
  ~Canvas() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  // 0x00RRGGBB.
  std::uint32_t At(int x, int y) const {
    ::GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  std::uint32_t* bits_ = nullptr;
};

// 24 bits, bottom-up: the pixel colours of one row, left to right.
void LoadRow24(TKvDIB& dib, const std::vector<std::uint32_t>& colours) {
  BmpFields f;
  f.bit_count = 24;
  f.width = static_cast<std::int32_t>(colours.size());
  f.height = 1;
  for (std::uint32_t c : colours) {
    f.pixels.push_back(static_cast<std::uint8_t>(c));
    f.pixels.push_back(static_cast<std::uint8_t>(c >> 8));
    f.pixels.push_back(static_cast<std::uint8_t>(c >> 16));
  }
  f.pixels.resize(Stride(f.width, 24), 0);
  Load(dib, BuildBmp(f));
}

TEST(DrawTest, StretchesWithoutBlendingAndKeepsTheCanvasMode) {
  TKvDIB dib;
  LoadRow24(dib, {0x000000, 0xFFFFFF});
  Canvas canvas(8, 2, RGB(255, 0, 0));
  ::SetStretchBltMode(canvas.dc(), HALFTONE);
  StretchDraw(dib, canvas.dc(), {0, 0, 8, 2});
  EXPECT_EQ(::GetStretchBltMode(canvas.dc()), HALFTONE);
  for (int x = 0; x < 8; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(canvas.At(x, 0), x < 4 ? 0x000000u : 0xFFFFFFu) << "no grey between";
    EXPECT_EQ(canvas.At(x, 1), canvas.At(x, 0));
  }
}

TEST(DrawTest, DrawsOnlyIntoTheRectangle) {
  TKvDIB dib;
  LoadRow24(dib, {0x0000FF, 0x0000FF});
  Canvas canvas(6, 4, RGB(255, 255, 255));
  StretchDraw(dib, canvas.dc(), {1, 1, 5, 3});
  EXPECT_EQ(canvas.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(1, 1), 0x0000FFu);
  EXPECT_EQ(canvas.At(4, 2), 0x0000FFu);
  EXPECT_EQ(canvas.At(5, 3), 0xFFFFFFu);
}

TEST(DrawTest, PaletteImagesAndCompressedImagesDrawTheirColours) {
  // Two entries, blue and green; each row four green pixels, four blue.
  BmpFields f = PlainImage(8, 8, 2, 2);
  f.table = {0xFF, 0, 0, 0, 0, 0xFF, 0, 0};
  f.pixels = {1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0};
  TKvDIB dib;
  Load(dib, BuildBmp(f));
  Canvas canvas(8, 2, RGB(255, 255, 255));
  HGDIOBJ palette_before = ::GetCurrentObject(canvas.dc(), OBJ_PAL);
  StretchDraw(dib, canvas.dc(), {0, 0, 8, 2});
  EXPECT_EQ(canvas.At(3, 0), 0x00FF00u);
  EXPECT_EQ(canvas.At(4, 0), 0x0000FFu);
  EXPECT_EQ(::GetCurrentObject(canvas.dc(), OBJ_PAL), palette_before);

  dib.SetPixelFormat(TKvPixelFormat::kvPf8BitRLE);
  ASSERT_EQ(Info(dib).Header.biCompression, kBiRle8);
  Canvas again(8, 2, RGB(255, 255, 255));
  StretchDraw(dib, again.dc(), {0, 0, 8, 2});
  EXPECT_EQ(again.At(3, 1), 0x00FF00u);
  EXPECT_EQ(again.At(4, 1), 0x0000FFu);
}

}  // namespace
}  // namespace quill::dib::testing
