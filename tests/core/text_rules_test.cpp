// The small rules every record depends on: element names, leading numbers,
// the Header's comma text and date, the format filter; and quoting a reply.
#include <gtest/gtest.h>

#include "core/comma_text.h"
#include "core/element_name.h"
#include "core/format_filter.h"
#include "core/header_date.h"
#include "core/quoted_text.h"

namespace quill::core {
namespace {

TEST(ElementName, IsTheDecimalTextOfTheLow16Bits) {
  EXPECT_EQ(ElementName(1), u"1");
  EXPECT_EQ(ElementName(999), u"999");
  EXPECT_EQ(ElementName(0), u"0");
  EXPECT_EQ(ElementName(49161), u"49161");
  EXPECT_EQ(ElementName(65536 + 7), u"7");
  EXPECT_EQ(ElementName(-1), u"65535");
}

TEST(LeadingNumber, ReadsDigitsUpToTheFirstOtherCharacter) {
  EXPECT_EQ(LeadingNumber(u"123"), 123);
  EXPECT_EQ(LeadingNumber(u"12a4"), 12);
  EXPECT_EQ(LeadingNumber(u""), 0);
  EXPECT_EQ(LeadingNumber(u"Header"), 0);
  EXPECT_EQ(LeadingNumber(u" 5"), 0);
  EXPECT_EQ(LeadingNumber("0042"), 42);
  EXPECT_EQ(LeadingNumber("99999999999999"), 2147483647);
}

TEST(CommaText, QuotesOnlyItemsThatNeedIt) {
  EXPECT_EQ(WriteCommaText({"2026/12/07 09:05", "Text", "Locale"}),
            "\"2026/12/07 09:05\",Text,Locale");
  EXPECT_EQ(WriteCommaText({"a,b", "say \"hi\"", "tab\there", "plain"}),
            "\"a,b\",\"say \"\"hi\"\"\",\"tab\there\",plain");
  EXPECT_EQ(WriteCommaText({""}), "\"\"");
  EXPECT_EQ(WriteCommaText({}), "");
  EXPECT_EQ(WriteCommaText({"a", "", "b"}), "a,,b");
}

TEST(CommaText, ReadsBackWhatItWrites) {
  const std::vector<std::vector<std::string>> lists = {
      {"2026/12/07 09:05", "Text", "Locale", "OEMText", "UniCodeText"},
      {"date", "Rich, \"Text\" Format", " leading", "trailing ", ""},
      {"\x83\x65\x83\x4C\x83\x58\x83\x67 \x8c\x60\x8e\xae"},  // Shift-JIS with a blank
      {"a", "", "b"},
  };
  for (const auto& list : lists) EXPECT_EQ(ReadCommaText(WriteCommaText(list)), list);
}

TEST(CommaText, ReadsTextsOfOtherWriters) {
  using L = std::vector<std::string>;
  EXPECT_EQ(ReadCommaText("  a , b,c"), (L{"a", "b", "c"}));
  EXPECT_EQ(ReadCommaText("a b"), (L{"a", "b"}));
  EXPECT_EQ(ReadCommaText("a,"), (L{"a", ""}));
  EXPECT_EQ(ReadCommaText("\"open"), (L{"open"}));
  EXPECT_EQ(ReadCommaText(""), L{});
  EXPECT_EQ(ReadCommaText("\"\""), L{""});
  EXPECT_EQ(ReadCommaText(std::string("a\0b", 3)), L{"a"});
}

TEST(CommaText, AZeroByteEndsTheTextAndEachItem) {
  using L = std::vector<std::string>;
  using namespace std::string_literals;
  // Nothing after it is read, inside quotes or not, and it makes no item.
  EXPECT_EQ(ReadCommaText("\"a b\"\0,c"s), L{"a b"});
  EXPECT_EQ(ReadCommaText("a \0"s), L{"a"});
  EXPECT_EQ(ReadCommaText("\t\0"s), L{});
  EXPECT_EQ(ReadCommaText("\"x\0y\",z"s), L{"x"});
  // An item is written up to it, so the items after it are kept.
  EXPECT_EQ(ReadCommaText(WriteCommaText({"a\0b"s, "c"})), (L{"a", "c"}));
  EXPECT_EQ(WriteCommaText({" \0"s}), "\" \"");
}

TEST(HeaderDate, PadsEveryFieldAndUsesTheSeparators) {
  EXPECT_EQ(FormatHeaderDate({2026, 1, 2, 3, 4, 5}, '/', ':'), "2026/01/02 03:04");
  EXPECT_EQ(FormatHeaderDate({999, 12, 31, 23, 59, 0}, '-', '.'), "0999-12-31 23.59");
}

TEST(FormatFilter, AllPassesEverythingOtherwiseEachFlagDecides) {
  FormatFilter filter("(all)", "Other");
  EXPECT_TRUE(filter.Passes(1, "Text"));
  EXPECT_TRUE(filter.Passes(49200, "Anything"));
  filter.SetFlag(FormatFilter::kAll, false);
  filter.SetFlag(1, true);
  EXPECT_TRUE(filter.Passes(1, "Text"));
  EXPECT_FALSE(filter.Passes(13, "UniCodeText"));
  EXPECT_FALSE(filter.Passes(49200, "Rich Text Format"));
  filter.SetFlag(FormatFilter::kOther, true);
  EXPECT_FALSE(filter.Passes(49200, "Rich Text Format"));  // caption still "Other"
  filter.SetCaption(FormatFilter::kOther, "Rich Text Format");
  EXPECT_TRUE(filter.Passes(49200, "Rich Text Format"));
  EXPECT_FALSE(filter.Passes(49201, "Rich Text Format Without Objects"));
  EXPECT_FALSE(filter.Passes(17, "#17"));
}

TEST(FormatFilter, StandardFormatsAreNamedByTheirEditableCaptions) {
  FormatFilter filter("(all)", "Other");
  EXPECT_EQ(filter.NameOf(1, ""), "Text");
  EXPECT_EQ(filter.NameOf(16, ""), "Locale");
  EXPECT_EQ(filter.NameOf(14, ""), "EnhancedMetaFile");
  EXPECT_EQ(filter.NameOf(49200, "Registered"), "Registered");
  filter.SetCaption(1, std::string(50, 'x'));
  EXPECT_EQ(filter.NameOf(1, ""), std::string(40, 'x'));
}

TEST(QuoteBoxLines, QuotesTheLinesOfTheLineListOnly) {
  // The box's lines as it reports them, and the quoted text.
  const struct {
    std::vector<std::u16string> box;
    std::u16string quoted;
  } cases[] = {
      {{u""}, u""},  // an empty box: nothing to quote
      {{}, u""},
      {{u"abc"}, u"> abc"},
      {{u"abc", u""}, u"> abc"},  // the line after a final break is not a line
      {{u"abc", u"", u""}, u"> abc\r\n> "},
      {{u"", u""}, u"> "},
      {{u"a", u"", u"b"}, u"> a\r\n> \r\n> b"},
      {{u"wrapped ", u"line"}, u"> wrapped \r\n> line"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuoteBoxLines(c.box, u"> "), c.quoted) << c.box.size() << " lines";
  }
}

}  // namespace
}  // namespace quill::core
