#pragma once
// The options and window bounds kept between runs, and the rules by which
// they are read from and written to the settings section.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace quill::core {

struct Settings {
  int Left = 100, Top = 80, Width = 380, Height = 440;
  int Max = 999;
  int Manual = 0;
  int Position = 4;
  int StayOnTop = 0;
  int Minimize = 0;
  std::u16string Convert = u"\"> \"";
  int Timer = 5;
  int Delay = 2000;  // read, never written
  int Color = 0;
  int Quality = 75;
  int GrayScale = 0;
  int Progressive = 0;
  int Expand = 1;
};

// Reads every value in order; a missing value, or a text that is not a
// number, gives the default.
Settings ReadSettings(platform::SettingsStore& store);

// Writes every value but "Delay" in order. A number already stored as text
// is written as decimal text. Returns the name of the value that could not
// be written (the values after it are not written), or nothing.
std::optional<std::u16string> WriteSettings(platform::SettingsStore& store, const Settings& s);

// The quote prefix stored in "Convert" (its enclosing quotes removed), and
// the stored form of a prefix ("" when quoting is off).
std::u16string PrefixOfConvert(const std::u16string& stored);
std::u16string ConvertOf(bool quoting, const std::u16string& prefix);

// The message for a value that could not be written.
std::u16string SettingFailedMessage(const std::u16string& name);

}  // namespace quill::core
