#include "exchange/win32/win32_drop.h"

#include <memory>
#include <type_traits>

namespace quill::exchange {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

struct IconDeleter {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
struct GdiDeleter {
  void operator()(void* object) const { ::DeleteObject(static_cast<HGDIOBJ>(object)); }
};
struct DcDeleter {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;
using GdiObject = std::unique_ptr<void, GdiDeleter>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;

class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace

std::vector<std::u16string> DropHandle::Paths() const {
  std::vector<std::u16string> paths;
  const UINT count = ::DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop_, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    path.resize(::DragQueryFileW(drop_, i, path.data(), length + 1));
    paths.emplace_back(reinterpret_cast<const char16_t*>(path.c_str()), path.size());
  }
  return paths;
}

int FileIconCount(const std::u16string& path) {
  const HICON count = ::ExtractIconW(::GetModuleHandleW(nullptr), Wide(path), 0xFFFFFFFF);
  return static_cast<int>(reinterpret_cast<INT_PTR>(count));
}

HBITMAP FileIconBitmap(HWND window, const std::u16string& path, int index) {
  const Icon icon(
      ::ExtractIconW(::GetModuleHandleW(nullptr), Wide(path), static_cast<UINT>(index)));
  if (!icon || reinterpret_cast<INT_PTR>(icon.get()) == 1) return nullptr;
  ICONINFO info = {};
  if (!::GetIconInfo(icon.get(), &info)) return nullptr;
  const GdiObject mask(info.hbmMask);
  const GdiObject colour(info.hbmColor);
  BITMAP mask_facts = {};
  if (!::GetObjectW(info.hbmMask, sizeof mask_facts, &mask_facts)) return nullptr;
  const WindowDc window_dc(window);
  const MemoryDc dc(::CreateCompatibleDC(window_dc.get()));
  if (!window_dc.get() || !dc) return nullptr;
  GdiObject bitmap(
      ::CreateCompatibleBitmap(window_dc.get(), mask_facts.bmWidth, mask_facts.bmHeight));
  if (!bitmap) return nullptr;
  const HGDIOBJ old = ::SelectObject(dc.get(), bitmap.get());
  const RECT all = {0, 0, mask_facts.bmWidth, mask_facts.bmHeight};
  ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  ::DrawIcon(dc.get(), 0, 0, icon.get());
  ::SelectObject(dc.get(), old);
  return static_cast<HBITMAP>(bitmap.release());
}

}  // namespace quill::exchange
