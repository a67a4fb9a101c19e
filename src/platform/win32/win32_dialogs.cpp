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

// The extension's two choices, and the template that holds them.
constexpr int kTextRecordTemplate = 100;
constexpr int kPageChoice = 1000;
constexpr int kLineChoice = 1001;

UINT_PTR CALLBACK TextRecordHook(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    const auto* record = reinterpret_cast<const OPENFILENAMEW*>(lparam);
    auto* page_separated = reinterpret_cast<bool*>(record->lCustData);
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(page_separated));
    ::CheckRadioButton(dialog, kPageChoice, kLineChoice,
                       *page_separated ? kPageChoice : kLineChoice);
    return 1;
  }
  if (message == WM_COMMAND && HIWORD(wparam) == 0) {
    auto* page_separated = reinterpret_cast<bool*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (page_separated) *page_separated = ::IsDlgButtonChecked(dialog, kPageChoice) == BST_CHECKED;
    return 1;
  }
  return 0;
}

}  // namespace

std::optional<std::u16string> Win32Dialogs::OpenTextRecordFile(const std::u16string& filter,
                                                               bool& page_separated) {
  // Wide names: a file whose name the 8-bit code page cannot spell opens
  // too.
  std::wstring path(32768, L'\0');
  const std::wstring filters = DialogFilter(filter);
  OPENFILENAMEW dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = reinterpret_cast<HWND>(owner_);
  dialog.hInstance = ::GetModuleHandleW(nullptr);
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK | OFN_HIDEREADONLY;
  dialog.lCustData = reinterpret_cast<LPARAM>(&page_separated);
  dialog.lpfnHook = TextRecordHook;
  dialog.lpTemplateName = MAKEINTRESOURCEW(kTextRecordTemplate);
  if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
  path.resize(wcslen(path.c_str()));
  return std::u16string(reinterpret_cast<const char16_t*>(path.c_str()));
}

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
