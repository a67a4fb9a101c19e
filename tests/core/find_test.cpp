// Finding a record by its text: the matching rules, and the search over
// the records in either direction, read from the storage alone.
#include "core/text_search.h"
#include "recorder_fixture.h"

namespace quill::core::testing {
namespace {

TEST(ContainsText, FoldsAsciiAndFullWidthLettersUnlessCaseMatters) {
  const struct {
    std::u16string_view text, what;
    bool match_case, found;
  } cases[] = {
      {u"Hello world", u"WORLD", false, true},
      {u"Hello world", u"WORLD", true, false},
      {u"ＡＢＣの表", u"ａｂｃ", false, true},
      {u"ＡＢＣの表", u"ａｂｃ", true, false},
      {u"ＡＢＣ", u"abc", false, false},
      {u"Ärger", u"ä", false, false},
      {u"日本語のテキスト", u"テキ", true, true},
      {u"anything", u"", false, false},
      {u"ab", u"abc", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ContainsText(c.text, c.what, c.match_case), c.found)
        << std::string(c.what.begin(), c.what.end()) << " " << c.match_case;
  }
}

class FindTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    ASSERT_TRUE(Start());
    recorder_->FormActivate(true);
    CopyText("alpha\r\nbeta\r\nthe gamma line");
    const std::u16string unicode = u"ＡＢＣ only in Unicode";
    Copy({{platform::cf::kUnicodeText,
           std::string(reinterpret_cast<const char*>(unicode.c_str()), (unicode.size() + 1) * 2)}});
    CopyText("Gamma ray");
    CopyText("omega");
  }
  static std::u16string Ascii(std::string_view bytes) { return {bytes.begin(), bytes.end()}; }
};

TEST_P(FindTest, FindsAfterTheCurrentRecordInEitherDirectionAndWrapsOnce) {
  const struct {
    int current;
    std::u16string_view what;
    bool match_case, down;
    int found;
  } cases[] = {
      {1, u"gamma", false, true, 3},  {3, u"gamma", false, true, 1},
      {1, u"Gamma", true, true, 3},   {3, u"Gamma", true, true, 3},
      {2, u"gamma", false, false, 1}, {1, u"gamma", false, false, 3},
      {1, u"ａｂｃ", false, true, 2}, {4, u"UNICODE", false, true, 2},
      {1, u"zeta", false, true, 0},
  };
  const std::uint32_t sequence = clipboard().SequenceNumber();
  for (const auto& c : cases) {
    recorder_->SetCurrentNo(c.current);
    EXPECT_EQ(recorder_->FindRecord(c.what, c.match_case, c.down, Ascii), c.found)
        << c.current << " " << std::string(c.what.begin(), c.what.end());
    Pump();
  }
  // Only the storage was read.
  EXPECT_EQ(clipboard().SequenceNumber(), sequence);
  EXPECT_EQ(recorder_->RecordCount(), 4);
  EXPECT_EQ(recorder_->CurrentNo(), 1);
  EXPECT_EQ(TextOfRecord(4), "omega");
}

TEST_P(FindTest, FollowsDeletesMovesAndOverwrites) {
  recorder_->SetCurrentNo(1);
  EXPECT_EQ(recorder_->FindRecord(u"omega", false, true, Ascii), 4);
  recorder_->MenuDelClick();  // record 1 goes; omega is record 3
  Pump();
  recorder_->SetCurrentNo(1);
  EXPECT_EQ(recorder_->FindRecord(u"omega", false, true, Ascii), 3);
  recorder_->SetCurrentNo(3);
  recorder_->ListViewDragDrop(1);  // omega to the top
  Pump();
  EXPECT_EQ(recorder_->FindRecord(u"omega", false, true, Ascii), 1);
  EXPECT_EQ(recorder_->FindRecord(u"gamma", false, true, Ascii), 3);
  recorder_->SetMaxRecords(3);
  recorder_->SetCurrentNo(2);
  CopyText("delta");  // the ring is full: replaces record 3, Gamma ray
  EXPECT_EQ(recorder_->FindRecord(u"delta", false, true, Ascii), 3);
  EXPECT_EQ(recorder_->FindRecord(u"gamma", false, true, Ascii), 0);
}

TEST_P(FindTest, KeepsOnlyTheStartOfALongTextYetFindsItsEnd) {
  std::string long_text(200'000, 'x');
  long_text += " needle at the end";
  CopyText(long_text);
  const RecordText* kept = recorder_->KeptText(5);
  ASSERT_NE(kept, nullptr);
  EXPECT_LE(kept->ansi.size(), kKeptTextChars);
  EXPECT_LE(kept->unicode.size(), kKeptTextChars);
  EXPECT_FALSE(kept->whole);
  recorder_->SetCurrentNo(1);
  EXPECT_EQ(recorder_->FindRecord(u"NEEDLE", false, true, Ascii), 5);
  EXPECT_EQ(recorder_->FindRecord(u"needle at the end!", false, true, Ascii), 0);
  EXPECT_EQ(recorder_->KeptText(5)->ansi.size(), kept->ansi.size()) << "still only its start";
}

INSTANTIATE_TEST_SUITE_P(Worlds, FindTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace
}  // namespace quill::core::testing
