#pragma once
// The settings section in the registry: HKEY_CURRENT_USER\<key>\<section>.
#include "platform/settings_store.h"

namespace quill::platform {

class Win32Settings : public SettingsStore {
 public:
  Win32Settings(std::u16string key, std::u16string section)
      : key_(std::move(key)), section_(std::move(section)) {}
  ~Win32Settings() override;
  Win32Settings(const Win32Settings&) = delete;
  Win32Settings& operator=(const Win32Settings&) = delete;

  bool Open() override;
  SettingValue Read(const std::u16string& name) override;
  bool WriteNumber(const std::u16string& name, std::uint32_t value) override;
  bool WriteText(const std::u16string& name, const std::u16string& value) override;

 private:
  std::u16string key_;
  std::u16string section_;
  void* handle_ = nullptr;  // the open section's HKEY
};

}  // namespace quill::platform
