#include "exchange/win32/win32_drop.h"

#include "win32/handles.h"

namespace quill::exchange {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

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
  const win32::UniqueIcon icon(
      ::ExtractIconW(::GetModuleHandleW(nullptr), Wide(path), static_cast<UINT>(index)));
  if (!icon || reinterpret_cast<INT_PTR>(icon.get()) == 1) return nullptr;
  ICONINFO info = {};
  if (!::GetIconInfo(icon.get(), &info)) return nullptr;
  const win32::UniqueGdiObject mask(info.hbmMask);
  const win32::UniqueGdiObject colour(info.hbmColor);
  BITMAP mask_facts = {};
  if (!::GetObjectW(info.hbmMask, sizeof mask_facts, &mask_facts)) return nullptr;
  const win32::WindowDC window_dc(window);
  const win32::MemoryDC dc(window_dc.get());
  if (!window_dc.get() || !dc) return nullptr;
  win32::UniqueGdiObject bitmap(
      ::CreateCompatibleBitmap(window_dc.get(), mask_facts.bmWidth, mask_facts.bmHeight));
  if (!bitmap) return nullptr;
  {
    const win32::ScopedSelectObject selected(dc.get(), bitmap.get());
    const RECT all = {0, 0, mask_facts.bmWidth, mask_facts.bmHeight};
    ::FillRect(dc.get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::DrawIcon(dc.get(), 0, 0, icon.get());
  }
  return static_cast<HBITMAP>(bitmap.release());
}

}  // namespace quill::exchange
