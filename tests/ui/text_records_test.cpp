// Loading a text file as records: how a file is cut into pieces, and the
// pieces recorded through the real clipboard, chosen in the system's open
// dialog with its extension.
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "recording_form.h"
#include "ui/text_pieces.h"

namespace quill::ui {
namespace {

struct PiecesCase {
  const char* name;
  std::string text;
  bool pages;
  std::vector<std::string> pieces;
  std::vector<std::size_t> lines;  // where each piece begins in the file
};

TEST(TextPiecesTest, CutsLinesAndPagesAsTheReaderDoes) {
  const PiecesCase cases[] = {
      {"empty line skipped", "a\n\nb", false, {"a", "b"}, {1, 3}},
      {"page keeps its breaks", "a\n\nb", true, {"a\n\nb"}, {1}},
      {"CR LF ends a line", "a\r\n\r\nb\r\n", false, {"a", "b"}, {1, 3}},
      {"empty pages skipped", "p1\f\fp2", true, {"p1", "p2"}, {1, 1}},
      {"form feed first", "\fp\f", true, {"p"}, {1}},
      {"only line ends", "\r\n\n\r\n\n", false, {}, {}},
      {"line after 0x1A", "one\x1Atwo\nthree", false, {"one"}, {1}},
      {"page after 0x1A", "x\fy\x1Az\fw", true, {"x", "y"}, {1, 1}},
      {"lone CR ends a line", "a\rb\rc", false, {"a", "b", "c"}, {1, 2, 3}},
      {"CR CR LF", "a\r\r\nb", false, {"a", "b"}, {1, 3}},
      {"form feed in a line", "a\fb\n", false, {"a\fb"}, {1}},
      {"no terminator", "last", false, {"last"}, {1}},
      {"pages over lines", "1\n2\f3\r\n\f\n5", true, {"1\n2", "3\r\n", "\n5"}, {1, 2, 3}},
  };
  for (const auto& c : cases) {
    TextPieces pieces(c.text, c.pages);
    std::vector<std::string> got;
    std::vector<std::size_t> lines;
    while (auto piece = pieces.Next()) {
      got.push_back(*piece);
      lines.push_back(pieces.LineOfPiece());
    }
    EXPECT_EQ(got, c.pieces) << c.name;
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

class TextRecordsTest : public RecordingFormTest {
 protected:
  void SetUp() override {
    RecordingFormTest::SetUp();
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() /
              ("quill-text-records-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    RecordingFormTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::u16string Write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).u16string();
  }
  // Loads the file in the mode given, as the open dialog would choose it.
  void Load(const std::string& bytes, bool pages) {
    dialogs_.page_clicks = {pages};
    dialogs_.open_paths = {Write("load.txt", bytes)};
    form_->menus().Click(L"MenuTextRecord");
    Pump();
  }
  static std::string ClipboardText() {
    if (!::OpenClipboard(nullptr)) return {};
    const HANDLE data = ::GetClipboardData(CF_TEXT);
    std::string text = data ? static_cast<const char*>(::GlobalLock(data)) : "";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
  }
  std::vector<std::string> Records() {
    std::vector<std::string> texts;
    for (int n = 1; n <= form_->recorder().RecordCount(); ++n) texts.push_back(RecordText(n));
    return texts;
  }

  std::filesystem::path folder_;
};

TEST_F(TextRecordsTest, EachPieceBecomesOneRecordInLineAndPageMode) {
  Load("a\n\nb", false);
  EXPECT_EQ(Records(), (std::vector<std::string>{"a", "b"}));
  Load("a\r\n\r\nb", true);
  Load("p1\f\fp2\x1Anever", true);
  EXPECT_EQ(Records(), (std::vector<std::string>{"a", "b", "a\r\n\r\nb", "p1", "p2"}));
  EXPECT_TRUE(form_->files().PageSeparated());
  EXPECT_TRUE(form_->menus().Enabled(L"MenuTextRecord"));
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(TextRecordsTest, AFullRingOverwritesTheOldestRecords) {
  form_->recorder().SetMaxRecords(3);
  Load("1\n2\n3\n4\n5\n", false);
  EXPECT_EQ(Records(), (std::vector<std::string>{"4", "5", "3"}));
  EXPECT_EQ(form_->recorder().CurrentNo(), 2);
}

TEST_F(TextRecordsTest, ManualModeLeavesOnlyTheLastPieceOnTheClipboard) {
  form_->recorder().WatchRGClick(false);
  Load("first\nsecond\nlast", false);
  EXPECT_EQ(form_->recorder().RecordCount(), 0);
  EXPECT_EQ(ClipboardText(), "last");
}

TEST_F(TextRecordsTest, AFileThatCannotBeOpenedIsShownAndRecordsNothing) {
  dialogs_.open_paths = {(folder_ / "missing.txt").u16string()};
  form_->menus().Click(L"MenuTextRecord");
  Pump();
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_NE(dialogs_.shown[0].find(u"missing.txt"), std::u16string::npos);
  EXPECT_EQ(form_->recorder().RecordCount(), 0);
}

// The messages the load delivers between pieces may ask for the command
// again or close the window: the command is not entered twice, and the
// load stops after the current piece before the storage is closed.
TEST_F(TextRecordsTest, TheCommandAgainOrClosingDuringALoadIsSafe) {
  std::string lines;
  for (int i = 0; i < 50; ++i) lines += "line " + std::to_string(i) + "\n";
  dialogs_.open_paths = {Write("long.txt", lines), Write("other.txt", "other")};
  dialogs_.answers = {platform::answer::kNo};
  const UINT command = form_->menus().Command(L"MenuTextRecord");
  ::PostMessageW(form_->hwnd(), WM_COMMAND, command, 0);
  ::PostMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
  form_->menus().Click(L"MenuTextRecord");
  EXPECT_EQ(dialogs_.filters.size(), 1u) << "the command ran again during the load";
  EXPECT_EQ(form_->recorder().RecordCount(), 1);
  EXPECT_TRUE(form_->HasStorage());
  Pump();  // the close put off until the load ended
  EXPECT_FALSE(form_->HasStorage());
}

// Another program keeps the clipboard longer than a load waits for it: the
// load stops with an error that says where, keeping what it recorded, and
// can be started again.
TEST_F(TextRecordsTest, AClipboardHeldForSecondsStopsTheLoadAndSaysAtWhichLine) {
  Load("kept\n", false);
  const HANDLE opened = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE let_go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    const bool open = ::OpenClipboard(nullptr) != FALSE;
    ::SetEvent(opened);
    ::WaitForSingleObject(let_go, 30000);
    if (open) ::CloseClipboard();
  });
  ::WaitForSingleObject(opened, INFINITE);
  Load("\r\n\nthird\nfourth", false);
  ::SetEvent(let_go);
  holder.join();
  ::CloseHandle(opened);
  ::CloseHandle(let_go);
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0], u"クリップボードを開けません\n3 行目で読み込みを中止しました");
  EXPECT_EQ(Records(), (std::vector<std::string>{"kept"}));
  EXPECT_TRUE(form_->menus().Enabled(L"MenuTextRecord"));
}

// Answers the system's open dialog from a thread timer, which its modal
// loop runs: notes the choice shown, clicks a choice, then opens a file or
// cancels.
struct DialogScript {
  int click = 0;      // 1000 page, 1001 line, 0 none
  std::wstring open;  // empty: cancel
  int shown_checked = 0;
  bool done = false;
};
DialogScript* g_script = nullptr;

BOOL CALLBACK FindPageChoice(HWND window, LPARAM found) {
  if (::GetDlgCtrlID(window) == 1000) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindOpenDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32770" && ::IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindOpenDialog, reinterpret_cast<LPARAM>(&dialog));
  HWND page = nullptr;
  if (dialog) ::EnumChildWindows(dialog, FindPageChoice, reinterpret_cast<LPARAM>(&page));
  if (!page || g_script->done) return;
  ::KillTimer(nullptr, timer);
  g_script->done = true;
  const HWND extension = ::GetParent(page);
  g_script->shown_checked = ::IsDlgButtonChecked(extension, 1000) == BST_CHECKED   ? 1000
                            : ::IsDlgButtonChecked(extension, 1001) == BST_CHECKED ? 1001
                                                                                   : 0;
  if (g_script->click) ::SendMessageW(::GetDlgItem(extension, g_script->click), BM_CLICK, 0, 0);
  if (g_script->open.empty()) {
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  ::SetDlgItemTextW(dialog, 0x47C, g_script->open.c_str());
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(TextRecordsTest, TheOpenDialogsChoiceIsKeptFromTheClickOnEvenWhenCancelled) {
  system_.dialogs.SetOwner(reinterpret_cast<platform::WindowId>(form_->hwnd()));
  dialogs_.text_record_dialog = &system_.dialogs;
  DialogScript cancelled{1000, L""};
  g_script = &cancelled;
  ::SetTimer(nullptr, 0, 20, AnswerDialog);
  form_->menus().Click(L"MenuTextRecord");
  ASSERT_TRUE(cancelled.done);
  EXPECT_EQ(cancelled.shown_checked, 1001);
  EXPECT_TRUE(form_->files().PageSeparated());
  EXPECT_EQ(form_->recorder().RecordCount(), 0);

  const std::u16string path = Write("chosen.txt", "one\ntwo\fthree");
  DialogScript opened{1001, std::wstring(path.begin(), path.end())};
  g_script = &opened;
  ::SetTimer(nullptr, 0, 20, AnswerDialog);
  form_->menus().Click(L"MenuTextRecord");
  Pump();
  g_script = nullptr;
  ASSERT_TRUE(opened.done);
  EXPECT_EQ(opened.shown_checked, 1000);
  EXPECT_FALSE(form_->files().PageSeparated());
  EXPECT_EQ(Records(), (std::vector<std::string>{"one", "two\fthree"}));
}

}  // namespace
}  // namespace quill::ui
