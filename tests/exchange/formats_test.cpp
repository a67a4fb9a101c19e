// The pure rules: extensions, text normalising, the metafile checks.
#include <gtest/gtest.h>

#include "exchange/file_name.h"
#include "exchange/metafile_format.h"
#include "exchange/text_import.h"
#include "metafile_samples.h"

namespace quill::exchange {
namespace {

using namespace std::string_literals;

TEST(FileExtension, TakesTheLastDotOfTheFileNameInLowerCase) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"C:\\pics\\PHOTO.BMP", u".bmp"},
      {u"C:\\a.jpg", u".jpg"},
      {u"readme", u""},
      {u"data.csv", u".csv"},
      {u"C:\\my.dir\\notes", u""},
      {u"a.b.WmF", u".wmf"},
      {u"C:notes", u""},
      {u"x.", u"."},
      {u"C:/my.dir/notes", u""},
  };
  for (const auto& [path, extension] : cases)
    EXPECT_EQ(FileExtension(path), extension) << std::string(path.begin(), path.end());
}

TEST(TextNormaliser, MakesEveryLineBreakCrLfAndEndsAtNul) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"\n\r\r\n\n", "\r\n\r\n\r\n\r\n"},
      {"ab\0cd\n"s, "ab"},
      {"a\r\0\n"s, "a\r\n"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(NormaliseText(in), out);
}

TEST(TextNormaliser, ACrLfSplitBetweenPiecesStaysOneBreak) {
  TextNormaliser normaliser;
  EXPECT_TRUE(normaliser.Feed("a\r"));
  EXPECT_TRUE(normaliser.Feed("\nb\r"));
  EXPECT_FALSE(normaliser.Feed("c\0d"s));
  EXPECT_FALSE(normaliser.Feed("e"));
  EXPECT_EQ(normaliser.Text(), "a\r\nb\r\nc");
}

TEST(ParseMetafile, TakesAnEnhancedMetafileByItsHeaderAndItsOwnSize) {
  auto file = testing::EnhancedMetafile(0, 0, 2540, 1270);
  const std::size_t size = file.size();
  file.resize(size + 40, 0xAB);  // trailing bytes are not the picture's
  const MetafileContent content = ParseMetafile(file);
  ASSERT_EQ(content.kind, MetafileKind::kEnhanced);
  EXPECT_EQ(content.bytes.size(), size);
  EXPECT_EQ(content.bytes.data(), file.data());
}

TEST(ParseMetafile, RejectsSizesThatLie) {
  const auto emf = testing::EnhancedMetafile(0, 0, 100, 100);
  const auto with_total = [&](std::uint32_t total) {
    auto bytes = emf;
    testing::Put32(bytes, 48, total);
    return bytes;
  };
  const auto with_header = [&](std::uint32_t size) {
    auto bytes = emf;
    testing::Put32(bytes, 4, size);
    return bytes;
  };
  const std::vector<std::uint8_t> bad[] = {with_total(static_cast<std::uint32_t>(emf.size()) + 1),
                                           with_total(0xFFFFFFF0), with_total(40), with_header(8),
                                           with_header(0x7FFFFFFF)};
  for (const auto& bytes : bad) EXPECT_EQ(ParseMetafile(bytes).kind, MetafileKind::kInvalid);
}

TEST(ParseMetafile, ReadsThePlaceableHeaderAndChecksItsRecords) {
  const auto records = testing::WindowsRecords();
  const auto file = testing::Placeable({-10, 5, 190, 105, 200}, records);
  const MetafileContent content = ParseMetafile(file);
  ASSERT_EQ(content.kind, MetafileKind::kPlaceable);
  EXPECT_EQ(content.box.left, -10);
  EXPECT_EQ(content.box.bottom, 105);
  EXPECT_EQ(content.box.inch, 200);
  EXPECT_EQ(std::vector(content.bytes.begin(), content.bytes.end()), records);

  auto bad_sum = file;
  bad_sum[20] ^= 1;
  auto bad_key = file;
  bad_key[0] ^= 1;
  auto lying_size = file;
  testing::Put32(lying_size, 22 + 6, 1000);  // more words than the file has
  const std::vector<std::uint8_t> no_records(file.begin(), file.begin() + 22);
  const std::vector<std::uint8_t> short_file(file.begin(), file.begin() + 10);
  for (const auto& bytes : {bad_sum, bad_key, lying_size, no_records, short_file})
    EXPECT_EQ(ParseMetafile(bytes).kind, MetafileKind::kInvalid);
}

TEST(PlaceableHeader, GivesTheFrameAt96UnitsPerInchRoundedWithAValidChecksum) {
  const auto header = PlaceableHeader({2540, 1300});  // 1300 → 49.1 → 49
  const std::vector<std::uint8_t> file =
      testing::Concat(std::vector(header.begin(), header.end()), testing::WindowsRecords());
  const MetafileContent content = ParseMetafile(file);
  ASSERT_EQ(content.kind, MetafileKind::kPlaceable);
  EXPECT_EQ(content.box.right, 96);
  EXPECT_EQ(content.box.bottom, 49);
  EXPECT_EQ(content.box.inch, 96);
  EXPECT_EQ(PlaceableHeader({2553, 0})[10], 96);  // 96.49 rounds down
  EXPECT_EQ(PlaceableHeader({2554, 0})[10], 97);  // 96.51 rounds up
}

TEST(BoxFrame, ConvertsTheBoxAtItsUnitsPerInchWith96ForZero) {
  EXPECT_EQ(BoxFrame({0, 0, 96, 48, 0}).width, 2540);
  EXPECT_EQ(BoxFrame({0, 0, 96, 48, 0}).height, 1270);
  EXPECT_EQ(BoxFrame({10, 0, 1450, 0, 1440}).width, 2540);
}

}  // namespace
}  // namespace quill::exchange
