#pragma once
// The program's section of the per-user registry: named values that are
// numbers (DWORD) or text.
#include <cstdint>
#include <string>

namespace quill::platform {

struct SettingValue {
  enum class Kind { kMissing, kNumber, kText };
  Kind kind = Kind::kMissing;
  std::uint32_t number = 0;
  std::u16string text;
};

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the section, creating it when missing; false if it cannot be.
  virtual bool Open() = 0;
  virtual SettingValue Read(const std::u16string& name) = 0;
  virtual bool WriteNumber(const std::u16string& name, std::uint32_t value) = 0;
  virtual bool WriteText(const std::u16string& name, const std::u16string& value) = 0;
};

}  // namespace quill::platform
