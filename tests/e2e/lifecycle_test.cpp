// The program as a user meets it: it starts from its own folder, records
// what other programs copy, asks before discarding it, and keeps the
// records of a run that did not end normally.
#include <gtest/gtest.h>

#include <objbase.h>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

// Writes a storage file element by element, as another program would.
bool WriteStorage(const std::wstring& path) {
  IStorage* root = nullptr;
  if (::StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0,
                         &root) != S_OK)
    return false;
  IStorage* record = nullptr;
  bool ok = root->CreateStorage(L"1", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0,
                                &record) == S_OK;
  if (ok) {
    IStream* stream = nullptr;
    ok = record->CreateStream(L"1", STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0,
                              &stream) == S_OK;
    if (ok) {
      ULONG written = 0;
      ok = stream->Write("left over", 10, &written) == S_OK;
      stream->Release();
    }
    record->Release();
  }
  root->Release();
  return ok;
}

bool HasRecordOne(const std::wstring& path) {
  IStorage* root = nullptr;
  if (::StgOpenStorage(path.c_str(), nullptr, STGM_SHARE_EXCLUSIVE | STGM_READ, nullptr, 0,
                       &root) != S_OK)
    return false;
  IStorage* record = nullptr;
  const bool found = root->OpenStorage(L"1", nullptr, STGM_SHARE_EXCLUSIVE | STGM_READ, nullptr, 0,
                                       &record) == S_OK;
  if (record) record->Release();
  root->Release();
  return found;
}

class Lifecycle : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  static void TearDownTestSuite() { ::CoUninitialize(); }
  void SetUp() override { SettleClipboard(); }
  ProgramUnderTest program_;
};

TEST_F(Lifecycle, ClosingWithoutRecordsAsksNothingAndLeavesNoTemporaryStorage) {
  ASSERT_TRUE(program_.Start());
  const HWND window = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(CaptionOf(window), L"Quilleteer");
  EXPECT_TRUE(program_.HasFile(L"Quillet.tmp"));

  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  ASSERT_TRUE(program_.WaitForExit(kWait));
  EXPECT_EQ(program_.ExitCode(), 0u);
  EXPECT_FALSE(program_.HasFile(L"Quillet.tmp"));
}

TEST_F(Lifecycle, ACopyIsRecordedAndClosingAsksWhetherToSaveIt) {
  ASSERT_TRUE(program_.Start());
  const HWND window = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  ::SetForegroundWindow(window);  // activation arms automatic capture
  ASSERT_TRUE(CopyText("copied by another program"));
  // The record shows in the caption's counter once it is made.
  const DWORD start = ::GetTickCount();
  while (CaptionOf(window) != L"Quilleteer  1/1" && ::GetTickCount() - start < kWait) ::Sleep(50);
  EXPECT_EQ(CaptionOf(window), L"Quilleteer  1/1");

  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  const HWND question = program_.WaitForDialog(kWait);
  ASSERT_NE(question, nullptr);
  EXPECT_NE(DialogText(question).find(L"現在のデータをストレージに保存しますか"),
            std::wstring::npos);
  PressButton(question, IDNO);
  ASSERT_TRUE(program_.WaitForExit(kWait));
  EXPECT_FALSE(program_.HasFile(L"Quillet.tmp"));
}

TEST_F(Lifecycle, AnsweringYesSavesTheRecordsUnderTheChosenName) {
  ASSERT_TRUE(program_.Start());
  const HWND window = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  ::SetForegroundWindow(window);
  ASSERT_TRUE(CopyText("to be saved"));
  const DWORD start = ::GetTickCount();
  while (CaptionOf(window) != L"Quilleteer  1/1" && ::GetTickCount() - start < kWait) ::Sleep(50);

  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  const HWND question = program_.WaitForDialog(kWait);
  ASSERT_NE(question, nullptr);
  PressButton(question, IDYES);
  const HWND save = program_.WaitForOtherDialog(question, kWait);  // the save dialog
  ASSERT_NE(save, nullptr);
  const std::wstring target = program_.folder() + L"\\saved.stg";
  ASSERT_TRUE(ChooseFile(save, target));
  ASSERT_TRUE(program_.WaitForExit(kWait));
  EXPECT_FALSE(program_.HasFile(L"Quillet.tmp"));
  EXPECT_TRUE(HasRecordOne(target));
}

TEST_F(Lifecycle, TheRecordsOfARunThatDidNotEndAreKeptUnderANewName) {
  ASSERT_TRUE(WriteStorage(program_.folder() + L"\\Quillet.tmp"));
  ASSERT_TRUE(program_.Start());
  const HWND notice = program_.WaitForDialog(kWait);
  ASSERT_NE(notice, nullptr);
  const std::vector<std::wstring> kept = program_.Files(L"Quillet-recovered-*.stg");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_NE(DialogText(notice).find(kept[0]), std::wstring::npos);
  // The box may still be setting up when first found: press until it goes.
  for (DWORD start = ::GetTickCount(); ::IsWindow(notice) && ::GetTickCount() - start < kWait;) {
    PressButton(notice, IDOK);
    ::Sleep(100);
  }
  ASSERT_FALSE(::IsWindow(notice));

  const HWND window = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(program_.CloseDiscarding(window, kWait));
  EXPECT_TRUE(HasRecordOne(program_.folder() + L"\\" + kept[0]));
  EXPECT_FALSE(program_.HasFile(L"Quillet.tmp"));
}

}  // namespace
}  // namespace quill::e2e
