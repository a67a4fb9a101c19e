// The rules by which options are kept: defaults, numbers stored as text,
// the quoted prefix, the value never written, a write that fails.
#include <gtest/gtest.h>

#include "core/settings.h"
#include "platform/memory/memory_settings.h"

namespace quill::core {
namespace {

using platform::MemorySettings;
using platform::SettingValue;

TEST(Settings, AnEmptySectionGivesEveryDefault) {
  MemorySettings store;
  const Settings s = ReadSettings(store);
  EXPECT_EQ(s.Left, 100);
  EXPECT_EQ(s.Top, 80);
  EXPECT_EQ(s.Width, 380);
  EXPECT_EQ(s.Height, 440);
  EXPECT_EQ(s.Max, 999);
  EXPECT_EQ(s.Manual, 0);
  EXPECT_EQ(s.Position, 4);
  EXPECT_EQ(s.Convert, u"\"> \"");
  EXPECT_EQ(PrefixOfConvert(s.Convert), u"> ");
  EXPECT_EQ(s.Timer, 5);
  EXPECT_EQ(s.Delay, 2000);
  EXPECT_EQ(s.Quality, 75);
  EXPECT_EQ(s.Expand, 1);
}

TEST(Settings, NumbersStoredAsTextAreReadAndStayText) {
  MemorySettings store;
  store.WriteText(u"Max", u"12");
  store.WriteText(u"Timer", u"soon");
  store.WriteText(u"Quality", u"50x");
  Settings s = ReadSettings(store);
  EXPECT_EQ(s.Max, 12);
  EXPECT_EQ(s.Timer, 5);  // not a number: the default
  EXPECT_EQ(s.Quality, 75);
  s.Max = 34;
  ASSERT_FALSE(WriteSettings(store, s));
  const SettingValue max = store.Read(u"Max");
  EXPECT_EQ(max.kind, SettingValue::Kind::kText);
  EXPECT_EQ(max.text, u"34");
  EXPECT_EQ(store.Read(u"Left").kind, SettingValue::Kind::kNumber);
}

TEST(Settings, DelayIsReadButNeverWritten) {
  MemorySettings store;
  store.WriteNumber(u"Delay", 0);
  Settings s = ReadSettings(store);
  EXPECT_EQ(s.Delay, 0);
  MemorySettings fresh;
  ASSERT_FALSE(WriteSettings(fresh, s));
  EXPECT_FALSE(fresh.Has(u"Delay"));
  EXPECT_TRUE(fresh.Has(u"Expand"));
}

TEST(Settings, APrefixWithATrailingBlankSurvivesRestarts) {
  MemorySettings store;
  std::u16string prefix = u"| ";
  for (int restart = 0; restart < 10; ++restart) {
    Settings s = ReadSettings(store);
    s.Convert = ConvertOf(true, restart == 0 ? prefix : PrefixOfConvert(s.Convert));
    ASSERT_FALSE(WriteSettings(store, s));
  }
  EXPECT_EQ(PrefixOfConvert(ReadSettings(store).Convert), u"| ");
  // Quoting off stores nothing, and reads back as off with no prefix.
  Settings s = ReadSettings(store);
  s.Convert = ConvertOf(false, u"| ");
  ASSERT_FALSE(WriteSettings(store, s));
  EXPECT_EQ(ReadSettings(store).Convert, u"");
  EXPECT_EQ(PrefixOfConvert(u""), u"");
  EXPECT_EQ(PrefixOfConvert(u"\""), u"\"");
}

TEST(Settings, AFailedWriteStopsTheValuesAfterIt) {
  MemorySettings store;
  store.Refuse(u"Position");
  const auto failed = WriteSettings(store, Settings{});
  ASSERT_TRUE(failed);
  EXPECT_EQ(*failed, u"Position");
  EXPECT_TRUE(store.Has(u"Manual"));
  EXPECT_FALSE(store.Has(u"StayOnTop"));
  EXPECT_FALSE(store.Has(u"Expand"));
  EXPECT_EQ(SettingFailedMessage(u"Position"), u"'Position' の設定に失敗しました");
}

}  // namespace
}  // namespace quill::core
