#include "platform/win32/win32_dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace quill::platform {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

// "Description|*.ext|..." as the dialogs want it: parts ended by zeros.
std::wstring DialogFilter(const std::u16string& filter) {
  std::wstring out(Wide(filter));
  for (wchar_t& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

std::optional<std::u16string> ShowFileDialog(HWND owner, const std::u16string& filter,
                                             const std::u16string* extension, bool save) {
  std::wstring path(32768, L'\0');
  const std::wstring filters = DialogFilter(filter);
  // The system tells the record's version by its size, which is the
  // platform's own: 88 bytes in the 32-bit build, 152 in the 64-bit one.
  static_assert(sizeof(OPENFILENAMEW) == (sizeof(void*) == 8 ? 152 : 88));
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filters.c_str();
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
  if (extension) dialog.lpstrDefExt = Wide(*extension);
  if (save) {
    dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  }
  path.resize(wcslen(path.c_str()));
  return std::u16string(reinterpret_cast<const char16_t*>(path.c_str()));
}

}  // namespace

int Win32Dialogs::ShowMessage(const std::u16string& text, unsigned style) {
  return ::MessageBoxW(reinterpret_cast<HWND>(owner_), Wide(text), Wide(title_), style);
}

std::optional<std::u16string> Win32Dialogs::OpenFile(const std::u16string& filter) {
  return ShowFileDialog(reinterpret_cast<HWND>(owner_), filter, nullptr, false);
}

std::optional<std::u16string> Win32Dialogs::SaveFile(const std::u16string& filter,
                                                     const std::u16string& default_extension) {
  return ShowFileDialog(reinterpret_cast<HWND>(owner_), filter, &default_extension, true);
}

}  // namespace quill::platform
