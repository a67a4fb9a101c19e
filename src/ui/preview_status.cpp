#include "ui/preview_status.h"

#include <cwchar>
#include <iterator>

namespace quill::ui {
namespace {

const wchar_t* DepthName(dib::TKvPixelFormat format) {
  using dib::TKvPixelFormat;
  switch (format) {
    case TKvPixelFormat::kvPf1Bit:
      return L"2 colors (1 bit)";
    case TKvPixelFormat::kvPf4Bit:
    case TKvPixelFormat::kvPf4BitRLE:
      return L"16 colors (4 bit)";
    case TKvPixelFormat::kvPf8Bit:
    case TKvPixelFormat::kvPf8BitRLE:
      return L"256 colors (8 bit)";
    case TKvPixelFormat::kvPf24Bit:
      return L"16M colors (24 bit)";
    default:
      return L"";  // conversion targets only, never an image's format
  }
}

}  // namespace

std::wstring BitmapStatus(const std::optional<BitmapFacts>& bitmap) {
  if (!bitmap) return L"Bitmap: unreadable    ";
  wchar_t text[96];
  std::swprintf(text, std::size(text), L"Bitmap: %d*%d, %ls    ", bitmap->width, bitmap->height,
                DepthName(bitmap->format));
  return text;
}

std::wstring TextStatus(std::size_t bytes) {
  wchar_t text[48];
  std::swprintf(text, std::size(text), L"Text: %d bytes", static_cast<int>(bytes));
  return text;
}

std::wstring PartShownNote(std::size_t shown_bytes) {
  return L"  (先頭の " + std::to_wstring(shown_bytes) + L" bytes を表示)";
}

std::wstring LostChangesNote(int count) {
  return std::to_wstring(count) + L" 件の変更を記録できませんでした";
}

}  // namespace quill::ui
