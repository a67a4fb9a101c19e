#include <gtest/gtest.h>

#include "capture/capturer.h"
#include "capture/fix_size.h"

namespace quill::capture {
namespace {

TEST(FixSize, OnlyWholeNumbersFromOneTo32767AreSizes) {
  const std::u16string kRange = u"' は範囲外です。1 から 32767 までの整数を指定してください";
  const struct {
    std::u16string width, height;
    int w, h;  // 0: rejected
    std::u16string error;
  } cases[] = {
      {u"32", u"32", 32, 32, u""},
      {u"32767", u"1", 32767, 1, u""},
      {u" 12", u"+3", 12, 3, u""},
      {u"abc", u"32", 0, 0, u"'abc' は整数ではありません"},
      {u"32", u"1.5", 0, 0, u"'1.5' は整数ではありません"},
      {u"", u"5", 0, 0, u"'' は整数ではありません"},
      {u"12 ", u"5", 0, 0, u"'12 ' は整数ではありません"},
      {u"99999999999", u"5", 0, 0, u"'99999999999' は整数ではありません"},
      {u"0", u"5", 0, 0, u"'0" + kRange},
      {u"5", u"-5", 0, 0, u"'-5" + kRange},
      {u"70000", u"5", 0, 0, u"'70000" + kRange},
      {u"32768", u"5", 0, 0, u"'32768" + kRange},
  };
  for (const auto& c : cases) {
    const FixSizeResult result = ParseFixSize(c.width, c.height);
    EXPECT_EQ(result.error, c.error);
    ASSERT_EQ(result.size.has_value(), c.w != 0);
    if (result.size) {
      EXPECT_EQ(result.size->width, c.w);
      EXPECT_EQ(result.size->height, c.h);
    }
  }
}

}  // namespace
}  // namespace quill::capture
