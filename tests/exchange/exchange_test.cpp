// Import and export through the clipboard, in every world.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include <jpeglib.h>
// jpeglib.h needs <cstdio> before it.
#include <jerror.h>

#include "bmp_samples.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"
#include "exchange/png_codec.h"
#include "exchange_fixture.h"
#include "platform/clipboard_guards.h"
#ifdef _WIN32
#include "exchange/win32/win32_metafiles.h"
#endif

namespace quill::exchange::testing {

std::vector<std::uint8_t> FakeMetafiles::WindowsToEnhanced(std::span<const std::uint8_t>,
                                                           const PlaceableBox& box) {
  const FrameSize frame = BoxFrame(box);
  return EnhancedMetafile(0, 0, frame.width, frame.height);
}

std::vector<std::uint8_t> FakeMetafiles::EnhancedToWindows(std::span<const std::uint8_t>) {
  return WindowsRecords();
}

void ExchangeTest::SetUp() {
  RecorderTest::SetUp();
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() /
            ("quill-exchange-" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(folder_);
#ifdef _WIN32
  if (GetParam().name == "Win32") metafiles_ = std::make_unique<Win32Metafiles>();
#endif
  if (!metafiles_) metafiles_ = std::make_unique<FakeMetafiles>();
  ASSERT_TRUE(Start());
}

void ExchangeTest::TearDown() {
  RecorderTest::TearDown();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

Exchange ExchangeTest::MakeExchange(std::size_t limit) {
  return Exchange({clipboard(), dialogs_, *metafiles_}, window_->id, pane_, limit);
}

std::u16string ExchangeTest::PathOf(const std::string& name) const {
  return (folder_ / name).u16string();
}

void ExchangeTest::WriteFile(const std::string& name,
                             const std::vector<std::uint8_t>& bytes) const {
  std::ofstream(folder_ / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void ExchangeTest::WriteFile(const std::string& name, const std::string& bytes) const {
  WriteFile(name, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> ExchangeTest::ReadFile(const std::string& name) const {
  std::ifstream in(folder_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

bool ExchangeTest::Exists(const std::string& name) const {
  return std::filesystem::exists(folder_ / name);
}

std::vector<std::string> ExchangeTest::FolderNames() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder_))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::uint8_t> ExchangeTest::ClipboardBlock(unsigned format) {
  platform::ClipboardSession session(clipboard(), other_->id);
  EXPECT_TRUE(session.is_open());
  platform::GlobalView view(clipboard(), clipboard().GetData(format));
  return {view.bytes().begin(), view.bytes().end()};
}

std::string ClipboardTextOf(const std::vector<std::uint8_t>& block) {
  std::string text(block.begin(), block.end());
  return text.substr(0, text.find('\0'));
}

std::string ExchangeTest::ClipboardText() {
  return ClipboardTextOf(ClipboardBlock(platform::cf::kText));
}

std::vector<std::uint8_t> ExchangeTest::ClipboardMetafile() {
  platform::ClipboardSession session(clipboard(), other_->id);
  const platform::DataHandle handle = clipboard().GetData(platform::cf::kEnhMetafile);
  return handle ? clipboard().GetEnhMetaFileBits(handle) : std::vector<std::uint8_t>{};
}

void ExchangeTest::CopyPicture(const dib::TKvDIB& picture) {
  core::DibClipboard board(clipboard(), other_->id);
  picture.AssignTo(board);
}

namespace {

std::vector<std::uint8_t> PackedDib(const dib::TKvDIB& picture) {
  std::vector<std::uint8_t> bytes(picture.InternalDIB().PackedDIBSize());
  picture.InternalDIB().WritePackedDIB(bytes.data());
  return bytes;
}

std::vector<std::uint8_t> PackedDibOfFile(const std::vector<std::uint8_t>& file) {
  dib::TKvDIB picture;
  dib::MemoryStream stream(file);
  picture.LoadFromStream(stream);
  return PackedDib(picture);
}

using namespace std::string_literals;

// libjpeg's number of "image too big".
const std::string kImageTooBig = std::to_string(JERR_IMAGE_TOO_BIG);

// --- import ---

TEST_P(ExchangeTest, ImportsEveryReadableBitmapAsTheFilesPixels) {
  auto exchange = MakeExchange();
  for (const auto& sample : dib::testing::SeedFiles()) {
    if (!sample.error.empty()) continue;
    SCOPED_TRACE(sample.name);
    const std::string name = sample.name == "plain_24bit.bmp" ? "PHOTO.BMP" : sample.name;
    WriteFile(name, sample.bytes);
    exchange.ImportFile(PathOf(name));
    const auto expected = PackedDibOfFile(sample.bytes);
    auto block = ClipboardBlock(platform::cf::kDib);
    ASSERT_GE(block.size(), expected.size());
    block.resize(expected.size());
    EXPECT_EQ(block, expected);
  }
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, ImportsOtherNamesAsTextWithCrLfEndingAtNul) {
  auto exchange = MakeExchange();
  const std::pair<std::string, std::string> files[] = {
      {"a.jpg", "one\ntwo\n"}, {"readme", "x\ry"}, {"data.csv", "1,2\r\n3\0,4\n"s}};
  const std::string expected[] = {"one\r\ntwo\r\n", "x\r\ny", "1,2\r\n3"};
  for (int i = 0; i < 3; ++i) {
    WriteFile(files[i].first, files[i].second);
    exchange.ImportFile(PathOf(files[i].first));
    EXPECT_EQ(ClipboardText(), expected[i]);
    EXPECT_EQ(pane_.text, expected[i]);
  }
  std::filesystem::create_directories(folder_ / "my.dir");
  WriteFile("my.dir/notes", "folder dot");
  exchange.ImportFile((folder_ / "my.dir" / "notes").u16string());
  EXPECT_EQ(ClipboardText(), "folder dot");
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, ImportsAnEnhancedMetafileUnderAnyOfTheTwoNamesByItsContent) {
  auto exchange = MakeExchange();
  const auto emf = EnhancedMetafile(0, 0, 2540, 1270);
  WriteFile("picture.wmf", emf);
  exchange.ImportFile(PathOf("picture.wmf"));
  EXPECT_EQ(ClipboardMetafile(), emf);
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, ImportsAPlaceableMetafileWithTheBoxAsFrame) {
  auto exchange = MakeExchange();
  WriteFile("p.WMF", Placeable({0, 0, 192, 96, 0}, WindowsRecords()));
  exchange.ImportFile(PathOf("p.WMF"));
  const auto emf = ClipboardMetafile();
  const auto frame = EnhancedFrame(emf);
  ASSERT_TRUE(frame);
  EXPECT_NEAR(frame->width, 5080, 2);
  EXPECT_NEAR(frame->height, 2540, 2);
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, EveryImportFailureIsShownAndLeavesTheClipboard) {
  CopyText("before");
  auto exchange = MakeExchange(8);
  auto lying = EnhancedMetafile(0, 0, 10, 10);
  Put32(lying, 48, 0x7FFFFFF0);
  WriteFile("lying.emf", lying);
  WriteFile("plain.wmf", WindowsRecords());
  WriteFile("no_records.wmf", Placeable({0, 0, 10, 10, 0}, {}));
  WriteFile("long.txt", "123456789");
  WriteFile("bad.bmp", "BM not a bitmap at all");
  const std::pair<std::string, std::u16string> cases[] = {
      {"lying.emf", text::kBadMetafile},
      {"plain.wmf", text::kBadMetafile},
      {"no_records.wmf", text::kBadMetafile},
      {"long.txt", text::kTextTooLong},
  };
  for (const auto& [name, message] : cases) {
    dialogs().shown.clear();
    exchange.ImportFile(PathOf(name));
    ASSERT_EQ(dialogs().shown.size(), 1u) << name;
    EXPECT_EQ(dialogs().shown[0], message);
  }
  dialogs().shown.clear();
  exchange.ImportFile(PathOf("bad.bmp"));
  ASSERT_EQ(dialogs().shown.size(), 1u);
  std::string library_error;
  try {
    PackedDibOfFile(ReadFile("bad.bmp"));
  } catch (const dib::Exception& error) {
    library_error = error.what();
  }
  ASSERT_FALSE(library_error.empty());
  EXPECT_EQ(dialogs().shown[0], std::u16string(library_error.begin(), library_error.end()));
  dialogs().shown.clear();
  exchange.ImportFile(PathOf("missing.txt"));
  ASSERT_EQ(dialogs().shown.size(), 1u);
  EXPECT_EQ(dialogs().shown[0].rfind(u"ファイル " + PathOf("missing.txt") + u" は開けません。 ", 0),
            0u);
  EXPECT_GT(dialogs().shown[0].size(), text::CannotOpen(PathOf("missing.txt"), u"").size());
  EXPECT_EQ(ClipboardText(), "before");
  EXPECT_EQ(pane_.text, "unchanged");
}

TEST_P(ExchangeTest, AutomaticModeRecordsOneRecordPerImportManualNone) {
  auto exchange = MakeExchange();
  WriteFile("a.txt", "alpha");
  recorder_->WatchRGClick(false);
  exchange.ImportFile(PathOf("a.txt"));
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 0);
  recorder_->WatchRGClick(true);
  exchange.ImportFile(PathOf("a.txt"));
  Pump();
  EXPECT_EQ(recorder_->RecordCount(), 1);
  EXPECT_EQ(TextOfRecord(1), "alpha");
}

TEST_P(ExchangeTest, ImportBtnClickOffersTheFileTypes) {
  auto exchange = MakeExchange();
  WriteFile("t.txt", "from the dialog");
  dialogs().open_paths = {std::nullopt, PathOf("t.txt")};
  exchange.ImportBtnClick();
  EXPECT_EQ(ClipboardText(), "");
  exchange.ImportBtnClick();
  EXPECT_EQ(ClipboardText(), "from the dialog");
  ASSERT_EQ(dialogs().filters.size(), 2u);
  EXPECT_EQ(dialogs().filters[0],
            u"テキストファイル(*.txt)|*.txt|ビットマップ(*.bmp)|*.bmp|PNG(*.png)|*.png|"
            u"メタファイル(*.wmf;*.emf)|*.wmf;*.emf|すべてのファイル(*.*)|*.*");
}

// --- export ---

void MakeSmallPicture(dib::TKvDIB& picture) {
  auto& body = picture.MutableInternalDIB();
  body.CreateDIB(5, 3, 24, 0);
  for (std::int32_t i = 0; i < body.DIBInfo.ImageSize; ++i)
    body.DIBInfo.Bits()[i] = static_cast<std::uint8_t>(i * 7);
}

TEST_P(ExchangeTest, TheChosenExtensionDecidesWhatIsWritten) {
  dib::TKvDIB picture;
  MakeSmallPicture(picture);
  CopyPicture(picture);
  {
    // Text beside the picture, as another program would add it.
    platform::ClipboardSession session(clipboard(), other_->id);
    platform::GlobalBlock block(clipboard(), 5);
    std::memcpy(platform::GlobalView(clipboard(), block.get()).bytes().data(), "text", 5);
    platform::HandOver(clipboard(), platform::cf::kText, block);
  }
  pane_.text = "pane\r\ntext";
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("x.bmp"), PathOf("x.txt"), PathOf("x.gif"), PathOf("X.JPG"),
                          PathOf("X.PNG")};
  for (int i = 0; i < 5; ++i) exchange.ExportBtnClick({});
  EXPECT_EQ(dialogs().filters[0],
            u"テキストファイル(*.txt)|*.txt|ビットマップ(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|"
            u"PNG(*.png)|*.png");
  EXPECT_EQ(dialogs().extensions[0], u"txt");
  EXPECT_EQ(PackedDibOfFile(ReadFile("x.bmp")), PackedDib(picture));
  const std::vector<std::uint8_t> text = {'p', 'a', 'n', 'e', '\r', '\n', 't', 'e', 'x', 't'};
  EXPECT_EQ(ReadFile("x.txt"), text);
  EXPECT_EQ(ReadFile("x.gif"), text);
  const auto jpeg = ReadFile("X.JPG");
  ASSERT_GE(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);
  EXPECT_TRUE(IsPng(ReadFile("X.PNG")));
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, ABitmapAloneUnderATextNameIsSaidToBeUnsupported) {
  dib::TKvDIB picture;
  MakeSmallPicture(picture);
  CopyPicture(picture);
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("x.txt")};
  exchange.ExportBtnClick({});
  EXPECT_EQ(dialogs().filters[0], u"ビットマップ(*.bmp)|*.bmp|JPEG(*.jpg)|*.jpg|PNG(*.png)|*.png");
  EXPECT_EQ(dialogs().extensions[0], u"bmp");
  EXPECT_EQ(dialogs().shown, std::vector<std::u16string>{text::kUnsupportedData});
  EXPECT_FALSE(Exists("x.txt"));
}

TEST_P(ExchangeTest, ALibjpegFailureIsShownWithItsNumberAndWritesNothing) {
  WriteFile("wide.jpg", "old picture");
  dib::TKvDIB picture;
  picture.MutableInternalDIB().CreateDIB(70000, 1, 24, 0);  // wider than JPEG allows
  CopyPicture(picture);
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("wide.jpg")};
  exchange.ExportBtnClick({});
  EXPECT_EQ(dialogs().shown,
            std::vector<std::u16string>{u"JPEG エラー #" +
                                        std::u16string(kImageTooBig.begin(), kImageTooBig.end())});
  EXPECT_EQ(ReadFile("wide.jpg"),
            (std::vector<std::uint8_t>{'o', 'l', 'd', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}));
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"wide.jpg"});
}

TEST_P(ExchangeTest, ExportsAMetafileAsItsBytesOrAsAPlaceableFileThatReadsBack) {
  CopyMetafile(EnhancedMetafile(0, 0, 2540, 1270));
  const auto emf = ClipboardMetafile();
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("m.emf"), PathOf("m.wmf")};
  exchange.ExportBtnClick({});
  exchange.ExportBtnClick({});
  EXPECT_EQ(dialogs().filters[0], u"メタファイル(*.wmf;*.emf)|*.wmf;*.emf");
  EXPECT_EQ(dialogs().extensions[0], u"wmf");
  EXPECT_EQ(ReadFile("m.emf"), emf);
  const auto wmf = ReadFile("m.wmf");
  const MetafileContent content = ParseMetafile(wmf);
  ASSERT_EQ(content.kind, MetafileKind::kPlaceable);
  EXPECT_EQ(content.box.right, 96);
  EXPECT_EQ(content.box.bottom, 48);
  EXPECT_EQ(content.box.inch, 96);
  exchange.ImportFile(PathOf("m.wmf"));
  const auto frame = EnhancedFrame(ClipboardMetafile());
  ASSERT_TRUE(frame);
  EXPECT_NEAR(frame->width, 2540, 2);
  EXPECT_NEAR(frame->height, 1270, 2);
  EXPECT_TRUE(dialogs().shown.empty());
}

TEST_P(ExchangeTest, AFailedWriteKeepsTheOldFileAndLeavesNoPartOne) {
  CopyText("new");
  pane_.text = "new";
  std::filesystem::create_directories(folder_ / "taken.txt" / "inside");
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("taken.txt"), PathOf("none/x.txt")};
  exchange.ExportBtnClick({});
  exchange.ExportBtnClick({});
  ASSERT_EQ(dialogs().shown.size(), 2u);
  const std::u16string prefix = u"ファイル \"" + PathOf("taken.txt") + u"\" を作成できません。";
  EXPECT_EQ(dialogs().shown[0].rfind(prefix, 0), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ / "taken.txt" / "inside"));
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"taken.txt"});
}

TEST_P(ExchangeTest, ExportReplacesAnExistingFileWhole) {
  WriteFile("old.txt", std::string(1000, 'o'));
  CopyText("short");
  pane_.text = "short";
  auto exchange = MakeExchange();
  dialogs().save_paths = {PathOf("old.txt")};
  exchange.ExportBtnClick({});
  EXPECT_EQ(ReadFile("old.txt"), (std::vector<std::uint8_t>{'s', 'h', 'o', 'r', 't'}));
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"old.txt"});
}

INSTANTIATE_TEST_SUITE_P(Worlds, ExchangeTest, ::testing::ValuesIn(core::testing::AllWorlds()),
                         core::testing::WorldName);

}  // namespace
}  // namespace quill::exchange::testing
