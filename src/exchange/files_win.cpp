#include <windows.h>

#include "exchange/files.h"

namespace quill::exchange {
namespace {

const wchar_t* Wide(const std::u16string& path) {
  return reinterpret_cast<const wchar_t*>(path.c_str());
}

std::u16string Reason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string reason(reinterpret_cast<const char16_t*>(text ? text : L""), length);
  if (text) ::LocalFree(text);
  while (!reason.empty() && (reason.back() == u'\n' || reason.back() == u'\r')) reason.pop_back();
  return reason;
}

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};

}  // namespace

InputFile::InputFile(const std::u16string& path) {
  const HANDLE file = ::CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason_ = Reason(::GetLastError());
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  open_ = true;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(file, &size)) size_hint_ = static_cast<std::uint64_t>(size.QuadPart);
}

InputFile::~InputFile() {
  if (open_) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::size_t InputFile::Read(void* buffer, std::size_t count) {
  if (!open_ || failed_) return 0;
  DWORD read = 0;
  const DWORD asked = count > 0x40000000 ? 0x40000000 : static_cast<DWORD>(count);
  if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, asked, &read, nullptr)) {
    failed_ = true;
    reason_ = Reason(::GetLastError());
    return 0;
  }
  return read;
}

bool WriteFileReplacing(const std::u16string& path, std::span<const std::uint8_t> bytes,
                        std::u16string& reason) {
  std::u16string temporary;
  DWORD error = 0;
  {
    FileHandle file{INVALID_HANDLE_VALUE};
    for (int i = 0; i < 10 && file.handle == INVALID_HANDLE_VALUE; ++i) {
      temporary = path + u".~tmp";
      if (i) temporary += static_cast<char16_t>(u'0' + i);
      file.handle = ::CreateFileW(Wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file.handle == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file.handle == INVALID_HANDLE_VALUE) {
      reason = Reason(::GetLastError());
      return false;
    }
    std::size_t done = 0;
    while (done < bytes.size() && !error) {
      const std::size_t rest = bytes.size() - done;
      const DWORD asked = rest > 0x40000000 ? 0x40000000 : static_cast<DWORD>(rest);
      DWORD written = 0;
      if (!::WriteFile(file.handle, bytes.data() + done, asked, &written, nullptr))
        error = ::GetLastError();
      else if (written == 0)
        error = ERROR_DISK_FULL;
      done += written;
    }
    if (!error && !::FlushFileBuffers(file.handle)) error = ::GetLastError();
  }
  if (!error && !::MoveFileExW(Wide(temporary), Wide(path),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = ::GetLastError();
  if (error) {
    ::DeleteFileW(Wide(temporary));
    reason = Reason(error);
    return false;
  }
  return true;
}

}  // namespace quill::exchange
