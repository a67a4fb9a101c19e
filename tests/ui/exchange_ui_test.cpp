// Import and export from the window: the menu item and the tool bar button
// reach the exchange with the window's text pane, and the JPEG options of
// the settings page shape the file.
#include <filesystem>
#include <fstream>
#include <random>

#include "form_over_doubles.h"
#include "ui/settings_pages.h"

namespace quill::ui {
namespace {

class ExchangeUiTest : public FormOverDoubles {
 protected:
  void SetUp() override {
    FormOverDoubles::SetUp();
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() /
              ("quill-exchange-ui-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    FormOverDoubles::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::u16string PathOf(const std::string& name) const { return (folder_ / name).u16string(); }
  std::string ReadFile(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Components of the first frame header of a JPEG file; 0 if none.
  int JpegComponents(const std::string& name) const {
    const std::string bytes = ReadFile(name);
    for (std::size_t i = 2; i + 10 < bytes.size();) {
      if (static_cast<unsigned char>(bytes[i]) != 0xFF) return 0;
      const unsigned char marker = static_cast<unsigned char>(bytes[i + 1]);
      if (marker == 0xC0 || marker == 0xC2) return static_cast<unsigned char>(bytes[i + 9]);
      i += 2 + (static_cast<unsigned char>(bytes[i + 2]) << 8 |
                static_cast<unsigned char>(bytes[i + 3]));
    }
    return 0;
  }

  std::filesystem::path folder_;
};

TEST_F(ExchangeUiTest, TheMenuImportsTextThroughTheMemoAndItIsRecorded) {
  std::ofstream(folder_ / "notes.txt", std::ios::binary) << "one\ntwo";
  dialogs_.open_paths = {PathOf("notes.txt")};
  form_->menus().Click(L"MenuImport");
  Pump();
  EXPECT_EQ(c().Memo1->Text(), L"one\r\ntwo");
  EXPECT_EQ(form_->recorder().RecordCount(), 1);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(ExchangeUiTest, TheButtonExportsTheMemosTextAndTheOptionsShapeTheJpeg) {
  Copy("copied");
  c().Memo1->SetText(L"typed\r\ninto the pane");
  dialogs_.save_paths = {PathOf("x.txt")};
  c().ToolBar1->Click(L"ExportBtn");
  EXPECT_EQ(ReadFile("x.txt"), "typed\r\ninto the pane");

  // A picture on the clipboard, shown as the current record.
  ASSERT_TRUE(clipboard_.Open(other_));
  clipboard_.Empty();
  std::vector<std::uint8_t> dib(40 + 16 * 4 * 8, 0x80);
  const std::uint32_t header[] = {40, 16, 8, 0x00180001};
  std::memcpy(dib.data(), header, sizeof header);
  std::memset(dib.data() + 16, 0, 24);
  clipboard_.SetData(platform::cf::kBitmap, clipboard_.CreateBitmap(dib));
  clipboard_.Close();
  Pump();
  c().GrayCB->SetChecked(true);
  dialogs_.save_paths = {PathOf("gray.jpg")};
  c().ToolBar1->Click(L"ExportBtn");
  c().GrayCB->SetChecked(false);
  dialogs_.save_paths = {PathOf("colour.jpg")};
  form_->menus().Click(L"MenuSave");
  EXPECT_EQ(JpegComponents("gray.jpg"), 1);
  EXPECT_EQ(JpegComponents("colour.jpg"), 3);
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(ExchangeUiTest, TheTrackBarAndTheUpDownKeepInStep) {
  // Moved by the user, as the arrow keys do.
  c().QualityBar->SetPosition(31);
  ::SendMessageW(c().QualityBar->hwnd(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(c().QualityUpDown->Position(), 30);
  EXPECT_EQ(c().QualityEdit->Text(), L"30");
  // A typed number changes nothing until an arrow is clicked.
  c().QualityEdit->SetText(L"55");
  EXPECT_EQ(c().QualityBar->Position(), 30);
  form_->settings().QualityUpDownClick();
  EXPECT_EQ(c().QualityBar->Position(), 55);
}

}  // namespace
}  // namespace quill::ui
