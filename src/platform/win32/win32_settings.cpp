#include "platform/win32/win32_settings.h"

#include <windows.h>

#include <vector>

namespace quill::platform {
namespace {

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

Win32Settings::~Win32Settings() {
  if (handle_) ::RegCloseKey(static_cast<HKEY>(handle_));
}

bool Win32Settings::Open() {
  if (handle_) return true;
  const std::u16string path = key_ + u"\\" + section_;
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  handle_ = key;
  return true;
}

SettingValue Win32Settings::Read(const std::u16string& name) {
  SettingValue value;
  if (!handle_) return value;
  DWORD type = 0, size = 0;
  const HKEY key = static_cast<HKEY>(handle_);
  if (::RegQueryValueExW(key, Wide(name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return value;
  std::vector<BYTE> bytes(size + sizeof(wchar_t));
  if (::RegQueryValueExW(key, Wide(name), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS)
    return value;
  if (type == REG_DWORD && size >= sizeof(DWORD)) {
    value.kind = SettingValue::Kind::kNumber;
    value.number = *reinterpret_cast<const DWORD*>(bytes.data());
  } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
    value.kind = SettingValue::Kind::kText;
    value.text = reinterpret_cast<const char16_t*>(bytes.data());
  }
  return value;
}

bool Win32Settings::WriteNumber(const std::u16string& name, std::uint32_t number) {
  const DWORD value = number;
  return handle_ &&
         ::RegSetValueExW(static_cast<HKEY>(handle_), Wide(name), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
}

bool Win32Settings::WriteText(const std::u16string& name, const std::u16string& text) {
  return handle_ && ::RegSetValueExW(static_cast<HKEY>(handle_), Wide(name), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))) ==
                        ERROR_SUCCESS;
}

}  // namespace quill::platform
