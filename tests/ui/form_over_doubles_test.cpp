// The real main window over the doubles: what is copied shows in the
// window's own controls; the keyboard works as in a dialog; the window can
// go at awkward moments without a message reaching a destroyed object.
#include "form_over_doubles.h"

namespace quill::ui {
namespace {

TEST_F(FormOverDoubles, WhatIsCopiedShowsInTheWindowsOwnControls) {
  Copy("alpha");
  Copy("beta");
  ASSERT_EQ(c().ListView->Count(), 2);
  EXPECT_EQ(c().ListView->Caption(0), L" 001");
  EXPECT_EQ(c().ListView->SubItem(1, 2), L"beta");
  EXPECT_TRUE(c().ListView->Selected(1));
  EXPECT_EQ(c().Memo1->Text(), L"beta");
  EXPECT_EQ(form_->recorder().RecordCount(), 2);
}

TEST_F(FormOverDoubles, CopiesInQuickSuccessionAreRecordedAtOnceAndShownTogether) {
  const std::string wide(300, 'w');  // wider than the memo: its first line wraps
  const std::vector<std::string> texts = {
      "first", wide + " tail", "tab\there\r\nsecond", "lone\nfeed", "", "last\r\nline"};
  for (const std::string& text : texts) CopyQuickly(text);
  // Recorded as they came, whether shown yet or not.
  EXPECT_EQ(form_->recorder().RecordCount(), static_cast<int>(texts.size()));
  Pump();
  const framework::ListView& list = *c().ListView;
  ASSERT_EQ(list.Count(), static_cast<int>(texts.size()));
  EXPECT_TRUE(list.Selected(list.Count() - 1));
  EXPECT_EQ(c().Memo1->Text(), L"last\r\nline");
  wchar_t caption[64] = {};
  ::GetWindowTextW(form_->hwnd(), caption, 64);
  EXPECT_STREQ(caption, L"Quilleteer  6/6");
  // Each row holds the first line the memo shows for its record.
  for (int row = 0; row < list.Count(); ++row) {
    form_->recorder().SetCurrentNo(row + 1);
    form_->recorder().MovePosition(false);
    Pump();
    EXPECT_EQ(list.SubItem(row, 2), c().Memo1->Line(0)) << "row " << row;
  }
}

TEST_F(FormOverDoubles, ALoadedStorageGivesEachRowTheFirstLineTheMemoShows) {
  const std::vector<std::string> texts = {"short\r\nsecond", std::string(300, 'w') + " tail",
                                          "tab\there", ""};
  for (const std::string& text : texts) Copy(text);
  dialogs_.answers = {platform::answer::kYes};
  dialogs_.save_paths = {u"C:\\saved.stg"};
  dialogs_.open_paths = {u"C:\\saved.stg"};
  form_->OpenBtnClick();
  Pump();
  const framework::ListView& list = *c().ListView;
  ASSERT_EQ(list.Count(), static_cast<int>(texts.size()));
  for (int row = 0; row < list.Count(); ++row) {
    form_->recorder().SetCurrentNo(row + 1);
    form_->recorder().MovePosition(false);
    Pump();
    EXPECT_EQ(list.SubItem(row, 2), c().Memo1->Line(0)) << "row " << row;
  }
  EXPECT_EQ(list.SubItem(1, 2).substr(0, 4), L"wwww");
}

TEST_F(FormOverDoubles, ALoadingStorageAnswersMessagesButTakesNoCommand) {
  for (const char* text : {"one", "two", "three"}) Copy(text);
  dialogs_.answers = {platform::answer::kYes};
  dialogs_.save_paths = {u"C:\\saved.stg"};
  dialogs_.open_paths = {u"C:\\saved.stg"};
  // A delete asked for while the records come in.
  ::PostMessageW(form_->hwnd(), WM_COMMAND, form_->menus().Command(L"MenuDel"), 0);
  form_->OpenBtnClick();
  MSG waiting;
  EXPECT_FALSE(::PeekMessageW(&waiting, form_->hwnd(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
      << "the window answered nothing while it loaded";
  EXPECT_EQ(form_->recorder().RecordCount(), 3);
  EXPECT_EQ(c().ListView->Count(), 3);
  EXPECT_TRUE(::IsWindowEnabled(form_->hwnd()));
}

TEST_F(FormOverDoubles, ACommandDuringABurstSeesEveryRecordShown) {
  Copy("one");
  for (const char* text : {"two", "three", "four"}) CopyQuickly(text);
  form_->MoveKeyDown(VK_LEFT);
  EXPECT_EQ(c().ListView->Count(), 4);
  EXPECT_EQ(form_->recorder().CurrentNo(), 3);
  EXPECT_TRUE(c().ListView->Selected(2));
  EXPECT_EQ(c().ListView->SubItem(3, 2), L"four");
}

TEST_F(FormOverDoubles, TabLeavesMaxEditForTheNextTabStop) {
  c().PageControl->SetActivePage(1);
  ::SetFocus(c().MaxEdit->hwnd());
  Press({VK_TAB});
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() != c().MaxEdit->hwnd(); }));
  // The position group comes next, entered at its chosen button.
  const auto& position = *c().PositionRG;
  EXPECT_EQ(::GetFocus(), position.buttons()[position.ItemIndex()]);
  Press({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(PumpUntil([&] { return ::GetFocus() == c().MaxEdit->hwnd(); }));
}

TEST_F(FormOverDoubles, AMnemonicChoosesItsRadioButtonAndRunsTheHandler) {
  c().PageControl->SetActivePage(1);
  ::SetFocus(c().MaxEdit->hwnd());
  ASSERT_EQ(form_->recorder().CaptureState(), core::capture_state::kAutomatic);
  Press({VK_MENU, 'M'});
  ASSERT_TRUE(PumpUntil([&] { return c().WatchRG->ItemIndex() == 1; }));
  EXPECT_EQ(::SendMessageW(c().WatchRG->buttons()[1], BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(form_->recorder().CaptureState(), core::capture_state::kManual);
}

TEST_F(FormOverDoubles, ArrowKeysInTheListStillMoveThroughTheRecords) {
  for (const char* text : {"one", "two", "three"}) Copy(text);
  ::SetFocus(c().ListView->hwnd());
  const struct {
    WORD key;
    int current;
  } steps[] = {{VK_LEFT, 2}, {VK_UP, 1}, {VK_RIGHT, 2}, {VK_DOWN, 3}};
  for (const auto& step : steps) {
    Press({step.key});
    EXPECT_TRUE(PumpUntil([&] { return form_->recorder().CurrentNo() == step.current; }))
        << "key " << step.key << " left record " << form_->recorder().CurrentNo();
    EXPECT_EQ(::GetFocus(), c().ListView->hwnd());
  }
}

// --- the window going at awkward moments ---

TEST_F(FormOverDoubles, GoesWhileItsListHoldsTheMouseCapture) {
  const HWND list = c().ListView->hwnd();
  ::SetCapture(list);
  ASSERT_EQ(::GetCapture(), list);
  form_.reset();  // the list hears WM_CAPTURECHANGED on the way
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(FormOverDoubles, GoesWhileARowIsDragged) {
  Copy("one");
  Copy("two");
  const HWND list = c().ListView->hwnd();
  NMLISTVIEW begin = {};
  begin.hdr = {list, c().ListView->id(), LVN_BEGINDRAG};
  begin.iItem = 1;
  ::SendMessageW(form_->hwnd(), WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
  ASSERT_EQ(::GetCapture(), list);
  form_.reset();
  EXPECT_FALSE(::IsWindow(list));
  EXPECT_EQ(::GetCapture(), nullptr);
}

FormOverDoubles* g_closing = nullptr;

// Closes the window from inside the menu's own loop.
void CALLBACK CloseTheWindow(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_closing || !g_closing->form_) return;
  g_closing->dialogs_.answers = {platform::answer::kNo};
  ::SendMessageW(g_closing->form_->hwnd(), WM_CLOSE, 0, 0);
  g_closing->form_.reset();
}

TEST_F(FormOverDoubles, GoesWhileItsPopupMenuIsOpen) {
  g_closing = this;
  const HWND window = form_->hwnd();
  const HMENU popup = form_->menus().Submenu(L"MyPopup");
  ASSERT_NE(popup, nullptr);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CloseTheWindow);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, 50, 50, 0, window, nullptr);
  ::KillTimer(nullptr, timer);
  g_closing = nullptr;
  EXPECT_EQ(form_, nullptr);
  EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace quill::ui
