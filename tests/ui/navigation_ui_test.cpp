// The link button and moves through the real window.
#include "recording_form.h"

namespace quill::ui {
namespace {

TEST_F(RecordingFormTest, TheLinkButtonShowsLinkModeAndAMoveEndsIt) {
  auto& tools = *form_->widgets().ToolBar1;
  tools.Click(L"LinkBtn");  // no record yet: stays off
  EXPECT_FALSE(tools.Down(L"LinkBtn"));
  EXPECT_EQ(tools.ImageOf(L"LinkBtn"), 9);

  for (const char* text : {"one", "two", "three"}) Copy(text);
  ASSERT_EQ(form_->recorder().RecordCount(), 3);
  tools.Click(L"LinkBtn");
  EXPECT_TRUE(tools.Down(L"LinkBtn"));
  EXPECT_EQ(tools.ImageOf(L"LinkBtn"), 10);
  EXPECT_TRUE(form_->menus().Checked(L"MenuLink"));

  tools.Click(L"FirstBtn");
  Pump();
  EXPECT_FALSE(tools.Down(L"LinkBtn"));
  EXPECT_EQ(tools.ImageOf(L"LinkBtn"), 9);
  EXPECT_FALSE(form_->menus().Checked(L"MenuLink"));
  EXPECT_EQ(form_->recorder().CurrentNo(), 1);
  EXPECT_EQ(RecordText(1), "one");
  EXPECT_EQ(form_->recorder().RecordCount(), 3);
}

TEST_F(RecordingFormTest, KeysInTheListMoveOnlyByTheArrows) {
  for (const char* text : {"one", "two", "three"}) Copy(text);
  auto& list = *form_->widgets().ListView;
  for (WPARAM key : {VK_HOME, VK_PRIOR, VK_NEXT}) ::SendMessageW(list.hwnd(), WM_KEYDOWN, key, 0);
  EXPECT_EQ(form_->recorder().CurrentNo(), 3);
  EXPECT_TRUE(list.Selected(2));
  ::SendMessageW(list.hwnd(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(form_->recorder().CurrentNo(), 2);
  EXPECT_TRUE(list.Selected(1));
  EXPECT_FALSE(list.Selected(2));
  ::SendMessageW(list.hwnd(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(form_->recorder().CurrentNo(), 1);
  Pump();
  EXPECT_EQ(form_->widgets().Memo1->Text(), L"one");
}

// One record is current at a time: the list keeps one row selected, as a
// Ctrl or Shift click that adds a row would otherwise leave two.
TEST_F(RecordingFormTest, TheRecordListSelectsOneRowAtATime) {
  for (const char* text : {"one", "two", "three"}) Copy(text);
  auto& list = *form_->widgets().ListView;
  for (int row : {0, 2}) {
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    ::SendMessageW(list.hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  EXPECT_EQ(::SendMessageW(list.hwnd(), LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_TRUE(list.Selected(2));
}

// The caption counts what is left, down to no record at all.
TEST_F(RecordingFormTest, DeletingTheOnlyRecordLeavesTheCaptionAtNone) {
  Copy("only");
  const auto caption = [this] {
    wchar_t text[64] = {};
    ::GetWindowTextW(form_->hwnd(), text, 64);
    return std::wstring(text);
  };
  ASSERT_EQ(caption(), L"Quilleteer  1/1");
  form_->MenuFileClick();
  form_->menus().Click(L"MenuDel");
  Pump();
  EXPECT_EQ(caption(), L"Quilleteer  0/0");
  EXPECT_EQ(form_->widgets().ListView->Count(), 0);
}

}  // namespace
}  // namespace quill::ui
