#include "core/settings.h"

#include <limits>

namespace quill::core {
namespace {

using platform::SettingValue;

// Decimal text as the settings accept it: optional blanks and sign, then
// digits only; anything else is not a number.
std::optional<int> ParseDecimal(const std::u16string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    value = value * 10 + (text[i] - u'0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void ReadInteger(platform::SettingsStore& store, const char16_t* name, int& field) {
  const SettingValue value = store.Read(name);
  if (value.kind == SettingValue::Kind::kNumber) {
    field = static_cast<int>(value.number);
  } else if (value.kind == SettingValue::Kind::kText) {
    if (const auto parsed = ParseDecimal(value.text)) field = *parsed;
  }
}

bool WriteInteger(platform::SettingsStore& store, const char16_t* name, int value) {
  // A value someone stored as text stays text.
  if (store.Read(name).kind == SettingValue::Kind::kText)
    return store.WriteText(name, Decimal(value));
  return store.WriteNumber(name, static_cast<std::uint32_t>(value));
}

}  // namespace

Settings ReadSettings(platform::SettingsStore& store) {
  Settings s;
  if (!store.Open()) return s;
  ReadInteger(store, u"Left", s.Left);
  ReadInteger(store, u"Top", s.Top);
  ReadInteger(store, u"Width", s.Width);
  ReadInteger(store, u"Height", s.Height);
  ReadInteger(store, u"Max", s.Max);
  ReadInteger(store, u"Manual", s.Manual);
  ReadInteger(store, u"Position", s.Position);
  ReadInteger(store, u"StayOnTop", s.StayOnTop);
  ReadInteger(store, u"Minimize", s.Minimize);
  const SettingValue convert = store.Read(u"Convert");
  if (convert.kind == SettingValue::Kind::kText) s.Convert = convert.text;
  ReadInteger(store, u"Timer", s.Timer);
  ReadInteger(store, u"Delay", s.Delay);
  ReadInteger(store, u"Color", s.Color);
  ReadInteger(store, u"Quality", s.Quality);
  ReadInteger(store, u"GrayScale", s.GrayScale);
  ReadInteger(store, u"Progressive", s.Progressive);
  ReadInteger(store, u"Expand", s.Expand);
  return s;
}

std::optional<std::u16string> WriteSettings(platform::SettingsStore& store, const Settings& s) {
  if (!store.Open()) return std::u16string(u"Left");
  const std::pair<const char16_t*, int> before[] = {
      {u"Left", s.Left},         {u"Top", s.Top},
      {u"Width", s.Width},       {u"Height", s.Height},
      {u"Max", s.Max},           {u"Manual", s.Manual},
      {u"Position", s.Position}, {u"StayOnTop", s.StayOnTop},
      {u"Minimize", s.Minimize}};
  for (const auto& [name, value] : before)
    if (!WriteInteger(store, name, value)) return std::u16string(name);
  if (!store.WriteText(u"Convert", s.Convert)) return std::u16string(u"Convert");
  const std::pair<const char16_t*, int> after[] = {{u"Timer", s.Timer},
                                                   {u"Color", s.Color},
                                                   {u"Quality", s.Quality},
                                                   {u"GrayScale", s.GrayScale},
                                                   {u"Progressive", s.Progressive},
                                                   {u"Expand", s.Expand}};
  for (const auto& [name, value] : after)
    if (!WriteInteger(store, name, value)) return std::u16string(name);
  return std::nullopt;
}

std::u16string PrefixOfConvert(const std::u16string& stored) {
  if (stored.size() >= 2 && stored.front() == u'"' && stored.back() == u'"')
    return stored.substr(1, stored.size() - 2);
  return stored;
}

std::u16string ConvertOf(bool quoting, const std::u16string& prefix) {
  return quoting ? u"\"" + prefix + u"\"" : u"";
}

std::u16string SettingFailedMessage(const std::u16string& name) {
  return u"'" + name + u"' の設定に失敗しました";
}

}  // namespace quill::core
