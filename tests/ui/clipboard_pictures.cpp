#include "clipboard_pictures.h"

#include <algorithm>
#include <cstring>

#include "win32/handles.h"

namespace quill::ui {
namespace {

void Append(std::vector<std::uint8_t>& bytes, const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  bytes.insert(bytes.end(), p, p + size);
}

int Stride(int width, int bit_count) { return ((width * bit_count + 31) / 32) * 4; }

// Runs of colour 0 filling each row, then the end of the bitmap.
std::vector<std::uint8_t> RunLengthPixels(int width, int height) {
  std::vector<std::uint8_t> pixels;
  for (int y = 0; y < height; ++y) {
    for (int left = width; left > 0; left -= std::min(left, 255)) {
      pixels.push_back(static_cast<std::uint8_t>(std::min(left, 255)));
      pixels.push_back(0);
    }
    pixels.insert(pixels.end(), {0, 0});
  }
  pixels.back() = 1;  // the last end of line becomes the end of the bitmap
  return pixels;
}

}  // namespace

std::vector<std::uint8_t> SolidDib(const DibShape& shape) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = shape.width;
  header.biHeight = shape.height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(shape.bit_count);
  header.biCompression = shape.compression;
  std::vector<std::uint8_t> pixels;
  if (shape.compression == BI_RGB) {
    const int stride = Stride(shape.width, shape.bit_count);
    pixels.assign(static_cast<std::size_t>(stride) * shape.height, 0);
    if (shape.bit_count == 24) {
      for (int y = 0; y < shape.height; ++y)
        for (int x = 0; x < shape.width; ++x) {
          std::uint8_t* p = &pixels[static_cast<std::size_t>(y) * stride + x * 3];
          p[0] = GetBValue(shape.colour);
          p[1] = GetGValue(shape.colour);
          p[2] = GetRValue(shape.colour);
        }
    }
  } else {
    pixels = RunLengthPixels(shape.width, shape.height);
  }
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  // Palette formats: entry 0, which every pixel uses, is the colour.
  const int entries = shape.bit_count <= 8 ? 1 << shape.bit_count : 0;
  header.biClrUsed = static_cast<DWORD>(entries);
  std::vector<std::uint8_t> dib;
  Append(dib, &header, sizeof header);
  for (int i = 0; i < entries; ++i) {
    const RGBQUAD entry = i == 0 ? RGBQUAD{GetBValue(shape.colour), GetGValue(shape.colour),
                                           GetRValue(shape.colour), 0}
                                 : RGBQUAD{255, 255, 255, 0};
    Append(dib, &entry, sizeof entry);
  }
  Append(dib, pixels.data(), pixels.size());
  return dib;
}

std::vector<std::uint8_t> BandedDib(int width, int height) {
  std::vector<std::uint8_t> dib = SolidDib({width, height});
  const int stride = Stride(width, 24);
  std::uint8_t* pixels = dib.data() + sizeof(BITMAPINFOHEADER);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = pixels + static_cast<std::size_t>(y) * stride + x * 3;
      p[0] = static_cast<std::uint8_t>(255 * x / width);   // blue rises to the right
      p[1] = static_cast<std::uint8_t>(255 * y / height);  // green rises upwards
      p[2] = static_cast<std::uint8_t>((x / 20 + y / 20) % 2 ? 220 : 60);  // red checks
    }
  return dib;
}

HANDLE GlobalCopy(const void* bytes, std::size_t size) {
  const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  std::memcpy(::GlobalLock(block), bytes, size);
  ::GlobalUnlock(block);
  return block;
}

HANDLE GlobalCopy(const std::vector<std::uint8_t>& bytes) {
  return GlobalCopy(bytes.data(), bytes.size());
}

HANDLE AnsiText(const std::string& text) { return GlobalCopy(text.c_str(), text.size() + 1); }

HANDLE SolidMetafile(int width, int height, COLORREF colour) {
  const HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  win32::UniqueBrush brush(::CreateSolidBrush(colour));
  const RECT all = {0, 0, width, height};
  ::FillRect(recording, &all, brush.get());
  return ::CloseEnhMetaFile(recording);
}

HANDLE DrawingMetafile() {
  // Everything inside 300 × 200, so that this is the picture's frame.
  const HDC recording = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, L"Quilleteer\0shapes\0");
  const auto fill = [recording](RECT r, COLORREF colour) {
    win32::UniqueBrush brush(::CreateSolidBrush(colour));
    ::FillRect(recording, &r, brush.get());
  };
  fill({0, 0, 300, 150}, RGB(210, 230, 255));   // sky
  fill({0, 150, 300, 200}, RGB(60, 150, 70));   // meadow
  fill({40, 100, 120, 160}, RGB(190, 90, 60));  // house
  win32::UniqueBrush sun(::CreateSolidBrush(RGB(250, 200, 40)));
  {
    win32::ScopedSelectObject select(recording, sun.get());
    ::Ellipse(recording, 210, 20, 270, 80);
  }
  win32::UniqueFont font(::CreateFontW(26, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                       0, 0, 0, 0, L"ＭＳ Ｐゴシック"));
  {
    win32::ScopedSelectObject select(recording, font.get());
    ::SetBkMode(recording, TRANSPARENT);
    ::TextOutW(recording, 16, 16, L"EMF 図形", 6);
  }
  return ::CloseEnhMetaFile(recording);
}

bool PutOnClipboard(const std::vector<ClipboardItem>& items) {
  if (!::OpenClipboard(nullptr)) return false;
  ::EmptyClipboard();
  bool all = true;
  for (const ClipboardItem& item : items) all = ::SetClipboardData(item.format, item.data) && all;
  ::CloseClipboard();
  return all;
}

ColouredArea FindColour(HBITMAP picture) {
  ColouredArea area;
  BITMAP info = {};
  if (!picture || !::GetObjectW(picture, sizeof info, &info)) return area;
  area.picture_width = info.bmWidth;
  area.picture_height = info.bmHeight;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = -info.bmHeight;  // top row first
  header.biPlanes = 1;
  header.biBitCount = 32;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(info.bmWidth) * info.bmHeight);
  win32::WindowDC screen(nullptr);
  if (::GetDIBits(screen.get(), picture, 0, info.bmHeight, pixels.data(),
                  reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) != info.bmHeight)
    return area;
  area.left = info.bmWidth;
  area.top = info.bmHeight;
  for (int y = 0; y < info.bmHeight; ++y)
    for (int x = 0; x < info.bmWidth; ++x) {
      if ((pixels[static_cast<std::size_t>(y) * info.bmWidth + x] & 0xFFFFFF) == 0xFFFFFF) continue;
      ++area.coloured;
      area.left = std::min(area.left, x);
      area.top = std::min(area.top, y);
      area.right = std::max(area.right, x + 1);
      area.bottom = std::max(area.bottom, y + 1);
    }
  if (area.coloured == 0) area.left = area.top = 0;
  return area;
}

}  // namespace quill::ui
