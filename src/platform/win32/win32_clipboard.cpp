#include "platform/win32/win32_clipboard.h"

#include <windows.h>

#include <cstring>

namespace quill::platform {
namespace {

HWND Hwnd(WindowId id) { return reinterpret_cast<HWND>(id); }
WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

}  // namespace

WindowId Win32Clipboard::SetViewer(WindowId viewer) {
  return Id(::SetClipboardViewer(Hwnd(viewer)));
}

bool Win32Clipboard::ChangeChain(WindowId viewer, WindowId next) {
  // The result is the next viewer's answer to WM_CHANGECBCHAIN, not a
  // success flag; leaving the chain itself does not fail for a window.
  ::ChangeClipboardChain(Hwnd(viewer), Hwnd(next));
  return viewer != 0;
}

bool Win32Clipboard::AddListener(WindowId window) {
  return ::AddClipboardFormatListener(Hwnd(window)) != FALSE;
}

void Win32Clipboard::RemoveListener(WindowId window) {
  ::RemoveClipboardFormatListener(Hwnd(window));
}

bool Win32Clipboard::Open(WindowId owner) { return ::OpenClipboard(Hwnd(owner)) != FALSE; }

void Win32Clipboard::WaitForRelease(unsigned milliseconds) {
  const ULONGLONG end = ::GetTickCount64() + milliseconds;
  for (;;) {
    // Only messages sent by other threads and programs are handled here:
    // a holder may be asking us to render a format or passing a chain
    // notification, and must not wait on us while we wait on it.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_SENDMESSAGE, 0);
  }
}
bool Win32Clipboard::Close() { return ::CloseClipboard() != FALSE; }
bool Win32Clipboard::Empty() { return ::EmptyClipboard() != FALSE; }
int Win32Clipboard::CountFormats() { return ::CountClipboardFormats(); }
unsigned Win32Clipboard::EnumFormats(unsigned previous) { return ::EnumClipboardFormats(previous); }
bool Win32Clipboard::IsFormatAvailable(unsigned format) {
  return ::IsClipboardFormatAvailable(format) != FALSE;
}
DataHandle Win32Clipboard::GetData(unsigned format) { return ::GetClipboardData(format); }

bool Win32Clipboard::SetData(unsigned format, DataHandle data) {
  // Announcing a format (no data) returns no handle even on success, so the
  // error code tells.
  ::SetLastError(ERROR_SUCCESS);
  const HANDLE result = ::SetClipboardData(format, data);
  return data ? result != nullptr : ::GetLastError() == ERROR_SUCCESS;
}

std::string Win32Clipboard::GetFormatName(unsigned format) {
  char buffer[40] = {};
  const int length = ::GetClipboardFormatNameA(format, buffer, sizeof buffer);
  // A name cut to the buffer may be reported with length 0; what the buffer
  // holds is the name either way.
  return std::string(
      buffer, length > 0 ? static_cast<std::size_t>(length) : strnlen(buffer, sizeof buffer - 1));
}

unsigned Win32Clipboard::RegisterFormat(const std::string& name) {
  return ::RegisterClipboardFormatA(name.c_str());
}

DataHandle Win32Clipboard::GlobalAlloc(std::size_t size) {
  return ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
}
void Win32Clipboard::GlobalFree(DataHandle block) { ::GlobalFree(block); }
void* Win32Clipboard::GlobalLock(DataHandle block) { return ::GlobalLock(block); }
void Win32Clipboard::GlobalUnlock(DataHandle block) { ::GlobalUnlock(block); }
std::size_t Win32Clipboard::GlobalSize(DataHandle block) { return ::GlobalSize(block); }

std::vector<std::uint8_t> Win32Clipboard::GetEnhMetaFileBits(DataHandle metafile) {
  const auto handle = static_cast<HENHMETAFILE>(metafile);
  const UINT size = ::GetEnhMetaFileBits(handle, 0, nullptr);
  std::vector<std::uint8_t> bytes(size);
  if (size == 0 || ::GetEnhMetaFileBits(handle, size, bytes.data()) != size) return {};
  return bytes;
}

DataHandle Win32Clipboard::SetEnhMetaFileBits(std::span<const std::uint8_t> bytes) {
  return ::SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
}

void Win32Clipboard::DeleteEnhMetaFile(DataHandle metafile) {
  ::DeleteEnhMetaFile(static_cast<HENHMETAFILE>(metafile));
}

std::uint32_t Win32Clipboard::SequenceNumber() { return ::GetClipboardSequenceNumber(); }

std::string Win32Clipboard::ForegroundClassName() {
  char buffer[64] = {};
  const HWND foreground = ::GetForegroundWindow();
  if (!foreground) return {};
  const int length = ::GetClassNameA(foreground, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

}  // namespace quill::platform
