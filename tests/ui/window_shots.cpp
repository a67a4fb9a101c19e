#include "window_shots.h"

#include <vector>

#include "win32/handles.h"

namespace quill::ui {
namespace {

std::wstring ShotsFolder() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  path = path.substr(0, path.find_last_of(L'\\')) + L"\\screens";
  ::CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

}  // namespace

bool SaveWindowShot(HWND window, const std::wstring& file_name) {
  ::SetForegroundWindow(window);
  RECT r;
  ::GetWindowRect(window, &r);
  return SaveScreenShot(r, file_name);
}

bool SaveScreenShot(const RECT& r, const std::wstring& file_name) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  win32::WindowDC screen(nullptr);
  win32::MemoryDC memory(screen.get());
  win32::UniqueBitmap shot(::CreateCompatibleBitmap(screen.get(), width, height));
  {
    win32::ScopedSelectObject select(memory.get(), shot.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
  const int rows = ::GetDIBits(memory.get(), shot.get(), 0, height, pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  if (rows != height) return false;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const HANDLE out = ::CreateFileW((ShotsFolder() + L"\\" + file_name).c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(out, &file, sizeof file, &written, nullptr) &&
            ::WriteFile(out, &info, sizeof info, &written, nullptr) &&
            ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  ::CloseHandle(out);
  return ok;
}

}  // namespace quill::ui
