// The program beside other programs that hold the clipboard on every
// change or break the viewer chain, as on a busy desktop: every copy and
// every line of a loaded text file is recorded, once, with no error shown.
#include <gtest/gtest.h>

#include <objbase.h>

#include <fstream>
#include <string>

#include "program_under_test.h"
#include "storage_summary.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

class BusyDesktopE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  static void TearDownTestSuite() { ::CoUninitialize(); }
  void SetUp() override {
    SettleClipboard();
    ASSERT_TRUE(program_.Start());
    window_ = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window_, nullptr);
    ::SetForegroundWindow(window_);  // automatic capture
  }
  // Copies the texts `pause` ms apart; what the program recorded, saved.
  StorageSummary CopyAndSave(const std::vector<std::string>& texts, DWORD pause) {
    for (const std::string& text : texts) {
      EXPECT_TRUE(CopyText(text));
      ::Sleep(pause);
    }
    return Saved();
  }
  StorageSummary Saved() {
    WaitUntilQuiet(window_, kWait);
    EXPECT_EQ(program_.FindWindowOfClass(L"#32770"), nullptr) << "an error box came up";
    const std::wstring saved = SaveAndClose(program_, window_, L"busy.stg");
    EXPECT_FALSE(saved.empty());
    window_ = nullptr;
    return saved.empty() ? StorageSummary{} : Summarise(saved);
  }
  static std::vector<std::string> Numbered(const std::string& prefix, int count) {
    std::vector<std::string> texts;
    for (int i = 1; i <= count; ++i) texts.push_back(prefix + std::to_string(i));
    return texts;
  }
  static void ExpectEach(const StorageSummary& saved, const std::vector<std::string>& texts) {
    EXPECT_EQ(saved.records, static_cast<int>(texts.size()));
    EXPECT_EQ(saved.sound, saved.records);
    EXPECT_EQ(saved.sound_texts, std::set<std::string>(texts.begin(), texts.end()));
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(BusyDesktopE2E, AListenerHoldingTheClipboardOnEveryChangeCostsNoCopyAndNoLine) {
  HelperProgram listener(L"listen 15");
  ASSERT_TRUE(listener.running());
  const std::vector<std::string> copies = Numbered("copied ", 30);
  for (const std::string& text : copies) {
    ASSERT_TRUE(CopyText(text));
    ::Sleep(200);
  }
  // A text file loaded as records, one per line, mixed line ends.
  std::string file;
  std::vector<std::string> lines = Numbered("line ", 150);
  for (std::size_t i = 0; i < lines.size(); ++i) file += lines[i] + (i % 3 ? "\r\n" : "\n");
  const std::wstring path = program_.folder() + L"\\lines.txt";
  std::ofstream(path.c_str(), std::ios::binary) << file;
  ::SetForegroundWindow(window_);
  ::Sleep(200);
  SendKeys({VK_MENU, 'F'});
  ::Sleep(150);
  SendKeys({'R'});  // "テキストレコード読み込み(&R)..."
  const HWND open = program_.WaitForDialog(kWait);
  ASSERT_NE(open, nullptr);
  ASSERT_TRUE(ChooseFile(open, path));
  std::vector<std::string> all = copies;
  all.insert(all.end(), lines.begin(), lines.end());
  ExpectEach(Saved(), all);
}

TEST_F(BusyDesktopE2E, AClipboardHeldForASecondIsRecordedOnceLetGo) {
  HelperProgram holder(L"listen-once 1000");
  ASSERT_TRUE(holder.running());
  ExpectEach(CopyAndSave({"held a second", "after it"}, 2000), {"held a second", "after it"});
}

TEST_F(BusyDesktopE2E, AViewerThatJoinsLaterAndPassesNothingOnCostsNoCopy) {
  HelperProgram careless(L"careless-viewer");
  ASSERT_TRUE(careless.running());
  const std::vector<std::string> copies = Numbered("past the careless one ", 5);
  ExpectEach(CopyAndSave(copies, 300), copies);
}

}  // namespace
}  // namespace quill::e2e
