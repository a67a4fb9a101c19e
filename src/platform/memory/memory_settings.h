#pragma once
// The settings section, in memory; a value can be made to refuse writes.
#include <map>
#include <set>

#include "platform/settings_store.h"

namespace quill::platform {

class MemorySettings : public SettingsStore {
 public:
  bool Open() override { return true; }
  SettingValue Read(const std::u16string& name) override {
    const auto found = values_.find(name);
    return found == values_.end() ? SettingValue{} : found->second;
  }
  bool WriteNumber(const std::u16string& name, std::uint32_t value) override {
    if (refused_.count(name)) return false;
    values_[name] = {SettingValue::Kind::kNumber, value, {}};
    return true;
  }
  bool WriteText(const std::u16string& name, const std::u16string& value) override {
    if (refused_.count(name)) return false;
    values_[name] = {SettingValue::Kind::kText, 0, value};
    return true;
  }

  void Refuse(const std::u16string& name) { refused_.insert(name); }
  bool Has(const std::u16string& name) const { return values_.count(name) != 0; }

 private:
  std::map<std::u16string, SettingValue> values_;
  std::set<std::u16string> refused_;
};

}  // namespace quill::platform
