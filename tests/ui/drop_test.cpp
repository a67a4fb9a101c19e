// Files dropped on the real window, in this process (a drop handle from
// another process is not valid here), with the choice menu answered by
// key input.
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "recording_form.h"

namespace quill::ui {
namespace {

// Keys for the choice menu: the item (1 to 3) or 0 to dismiss it.
int g_menu_item = -1;

BOOL CALLBACK FindMenu(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && ::IsWindowVisible(window)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

void Key(std::vector<INPUT>& input, WORD key) {
  INPUT i = {};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = key;
  input.push_back(i);
  i.ki.dwFlags = KEYEVENTF_KEYUP;
  input.push_back(i);
}

void CALLBACK AnswerMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  bool open = false;
  ::EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&open));
  if (!open) return;
  ::KillTimer(nullptr, timer);
  std::vector<INPUT> input;
  for (int i = 0; i < g_menu_item; ++i) Key(input, VK_DOWN);
  Key(input, g_menu_item > 0 ? VK_RETURN : VK_ESCAPE);
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

class DropTest : public RecordingFormTest {
 protected:
  void SetUp() override {
    RecordingFormTest::SetUp();
    ::SetForegroundWindow(form_->hwnd());
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() /
              ("quill-drop-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    RecordingFormTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return (folder_ / name).wstring();
  }
  // Drops `paths` on the window and picks `item` from the menu.
  void Drop(const std::vector<std::wstring>& paths, int item) {
    std::wstring list;
    for (const auto& path : paths) list += path + L'\0';
    list += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    const HGLOBAL block = ::GlobalAlloc(GHND, bytes);
    auto* files = static_cast<DROPFILES*>(::GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    g_menu_item = item;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerMenu);
    // The window finishes the drop, which frees the block.
    ::SendMessageW(form_->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    ::KillTimer(nullptr, timer);
    Pump();
  }
  static std::wstring ClipboardUnicode() {
    if (!::OpenClipboard(nullptr)) return {};
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : L"";
    if (data) ::GlobalUnlock(data);
    ::CloseClipboard();
    return text;
  }
  static std::wstring SystemFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
  }
  int Records() { return form_->recorder().RecordCount(); }

  std::filesystem::path folder_;
};

TEST_F(DropTest, PathNamesBecomeTheTextWithALineEndAfterEach) {
  const std::wstring first = Write(L"one.txt", "1");
  const std::wstring second = Write(L"two.txt", "2");
  Drop({first, second}, 1);
  const std::wstring text = first + L"\r\n" + second + L"\r\n";
  EXPECT_EQ(ClipboardUnicode(), text);
  ASSERT_EQ(Records(), 1);
  EXPECT_EQ(RecordText(1), std::string(text.begin(), text.end()));
}

TEST_F(DropTest, APathLongerThanTheClassicLimitIsReadWhole) {
  const std::wstring path = folder_.wstring() + L"\\" + std::wstring(300, L'x') + L".txt";
  Drop({path}, 1);
  EXPECT_EQ(ClipboardUnicode(), path + L"\r\n");
}

TEST_F(DropTest, ContentIsImportedFileByFileInOrder) {
  // The second name cannot be spelt in an 8-bit code page.
  Drop({Write(L"first.txt", "first"), Write(L"\xD55C\xAE00.txt", "second")}, 2);
  ASSERT_EQ(Records(), 2);
  EXPECT_EQ(RecordText(1), "first");
  EXPECT_EQ(RecordText(2), "second");
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(DropTest, AFileThatCannotBeImportedIsShownAndEndsTheDrop) {
  Drop({folder_.wstring() + L"\\missing.txt", Write(L"later.txt", "later")}, 2);
  EXPECT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(Records(), 0);
}

TEST_F(DropTest, EveryIconBecomesOneRecordInEitherWatchMode) {
  const std::wstring library = SystemFile(L"user32.dll");
  const int icons = static_cast<int>(reinterpret_cast<INT_PTR>(
      ::ExtractIconW(::GetModuleHandleW(nullptr), library.c_str(), 0xFFFFFFFF)));
  ASSERT_GT(icons, 1);
  Drop({library}, 3);
  EXPECT_EQ(Records(), icons);
  // The last icon is on the clipboard: a bitmap of the mask's size.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  BITMAP facts = {};
  const HANDLE bitmap = ::GetClipboardData(CF_BITMAP);
  ::GetObjectW(bitmap, sizeof facts, &facts);
  ::CloseClipboard();
  EXPECT_GT(facts.bmWidth, 0);
  // The skip rule is not left armed: the next copy is recorded.
  Copy("after the icons");
  EXPECT_EQ(Records(), icons + 1);

  form_->recorder().WatchRGClick(false);
  Drop({library}, 3);
  EXPECT_EQ(Records(), 2 * icons + 1);
}

TEST_F(DropTest, NoIconsOrADismissedMenuChangeNothing) {
  Copy("before");
  const std::wstring text = Write(L"plain.txt", "plain");
  Drop({text}, 3);
  Drop({text}, 0);
  EXPECT_EQ(Records(), 1);
  EXPECT_EQ(ClipboardUnicode(), L"before");
  EXPECT_TRUE(dialogs_.shown.empty());
}

}  // namespace
}  // namespace quill::ui
