// Finding a record by its text, as a user does it: Ctrl+F opens the
// system's find dialog over the program, "次を検索" and F3 move to the next
// record that holds the text, and the dialog stays while the user goes on.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <objbase.h>

#include <string>

#include "program_under_test.h"
#include "real_input.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr int kNextButton = 8;  // the tool bar's "次に移動"

struct Record {
  const char* ansi;        // nullptr: the record has no text in the code page
  const wchar_t* unicode;  // nullptr: no Unicode text
};

bool WriteStream(IStorage* record, const wchar_t* name, const void* bytes, ULONG size) {
  IStream* stream = nullptr;
  if (record->CreateStream(name, STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, &stream) !=
      S_OK)
    return false;
  ULONG written = 0;
  const bool ok = stream->Write(bytes, size, &written) == S_OK && written == size;
  stream->Release();
  return ok;
}

// A storage file of text records, written as another program would.
bool WriteRecords(const std::wstring& path, std::initializer_list<Record> records) {
  IStorage* root = nullptr;
  if (::StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, 0,
                         &root) != S_OK)
    return false;
  bool ok = true;
  int n = 0;
  for (const Record& r : records) {
    IStorage* record = nullptr;
    ok = ok && root->CreateStorage(std::to_wstring(++n).c_str(),
                                   STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0,
                                   &record) == S_OK;
    if (!ok) break;
    std::string header = "\"2026/12/08 10:00\"";
    if (r.ansi) {
      ok = ok && WriteStream(record, L"1", r.ansi, static_cast<ULONG>(strlen(r.ansi) + 1));
      header += ",Text";
    }
    if (r.unicode) {
      ok = ok && WriteStream(record, L"13", r.unicode,
                             static_cast<ULONG>((wcslen(r.unicode) + 1) * sizeof(wchar_t)));
      header += ",UniCodeText";
    }
    ok = ok && WriteStream(record, L"Header", header.data(), static_cast<ULONG>(header.size()));
    record->Release();
  }
  root->Release();
  return ok;
}

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return "<busy>";
  if (const HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text = bytes;
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

std::wstring Counter(int current) { return L"Quilleteer  " + std::to_wstring(current) + L"/4"; }

class FindE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  static void TearDownTestSuite() { ::CoUninitialize(); }
  void SetUp() override {
    SettleClipboard();
    const std::wstring path = program_.folder() + L"\\records.stg";
    ASSERT_TRUE(
        WriteRecords(path, {{"apple\r\nbanana\r\ncherry pie", L"apple\r\nbanana\r\ncherry pie"},
                            {nullptr, L"\xFF21\xFF22\xFF23 only in Unicode"},
                            {"Cherry tart", L"Cherry tart"},
                            {"nothing here", L"nothing here"}}));
    ASSERT_TRUE(program_.Start());
    window_ = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window_, nullptr);
    // The storage, opened as the user opens it.
    ::SetForegroundWindow(window_);
    ::Sleep(200);
    SendKeys({VK_MENU, 'F'});
    ::Sleep(150);
    SendKeys({'O'});
    const HWND open = program_.WaitForDialog(kWait);
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(ChooseFile(open, path));
    ASSERT_TRUE(WaitForCaption(window_, Counter(1), kWait));
  }
  void TearDown() override {
    if (window_) program_.CloseDiscarding(window_, kWait);
  }

  HWND OpenFindDialog() {
    ::SetForegroundWindow(window_);
    ::Sleep(200);
    SendKeys({VK_CONTROL, 'F'});
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kWait) {
      const HWND dialog = program_.FindWindowOfClass(L"#32770");
      if (dialog && ::IsWindowVisible(dialog) && ::GetDlgItem(dialog, edt1)) return dialog;
      ::Sleep(50);
    }
    return nullptr;
  }

  // Fills the dialog in and presses its "次を検索".
  void Find(HWND dialog, const wchar_t* text, bool match_case, bool down) {
    ::SetDlgItemTextW(dialog, edt1, text);
    ::SendDlgItemMessageW(dialog, chx2, BM_SETCHECK, match_case ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendDlgItemMessageW(dialog, rad1, BM_SETCHECK, down ? BST_UNCHECKED : BST_CHECKED, 0);
    ::SendDlgItemMessageW(dialog, rad2, BM_SETCHECK, down ? BST_CHECKED : BST_UNCHECKED, 0);
    PressButton(dialog, IDOK);
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(FindE2E, FindsInEveryLineAndInUnicodeTextWithCaseDirectionAndWrap) {
  const HWND dialog = OpenFindDialog();
  ASSERT_NE(dialog, nullptr);
  const struct {
    const wchar_t* text;
    bool match_case, down;
    int found;
    const char* clipboard;
  } steps[] = {
      {L"cherry", false, true, 3, "Cherry tart"},                    // after record 1
      {L"cherry", false, true, 1, "apple\r\nbanana\r\ncherry pie"},  // wrapped, third line
      {L"Cherry", true, true, 3, "Cherry tart"},                     // case matters
      {L"\xFF41\xFF42\xFF43", false, true, 2, nullptr},              // full-width, Unicode only
      {L"CHERRY", false, false, 1, nullptr},                         // upwards
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.found));
    Find(dialog, step.text, step.match_case, step.down);
    ASSERT_TRUE(WaitForCaption(window_, Counter(step.found), kWait)) << CaptionOf(window_).size();
    if (step.clipboard) {
      EXPECT_EQ(ClipboardText(), step.clipboard);
    }
  }
  // F3 in the window repeats the last search: upwards from record 1, round
  // to record 3.
  ::SetForegroundWindow(window_);
  ::Sleep(200);
  SendKeys({VK_F3});
  EXPECT_TRUE(WaitForCaption(window_, Counter(3), kWait));

  // The dialog stays while the user moves on; Ctrl+F brings the same one.
  const HWND tool_bar = ChildOfClass(window_, L"ToolbarWindow32");
  ClickIn(RemoteRect(program_.process(), tool_bar, TB_GETRECT, kNextButton, 0));
  EXPECT_TRUE(WaitForCaption(window_, Counter(4), kWait));
  EXPECT_TRUE(::IsWindowVisible(dialog));
  EXPECT_EQ(OpenFindDialog(), dialog);

  // Nothing found: the notice, and nothing moves.
  const DWORD sequence = ::GetClipboardSequenceNumber();
  Find(dialog, L"zebra", false, true);
  const HWND notice = program_.WaitForOtherDialog(dialog, kWait);
  ASSERT_NE(notice, nullptr);
  EXPECT_NE(DialogText(notice).find(L"「zebra」が見つかりません。"), std::wstring::npos);
  PressButton(notice, IDOK);
  EXPECT_EQ(CaptionOf(window_), Counter(4));
  EXPECT_EQ(::GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(ClipboardText(), "nothing here");
  PressButton(dialog, IDCANCEL);
}

}  // namespace
}  // namespace quill::e2e
