// The display menu of the real window: which of a record's formats can be
// chosen, which is checked, and what choosing one shows.
#include <algorithm>

#include "preview_fixture.h"

namespace quill::ui {
namespace {

// Every command number of the window's menu bar, read from the menus.
void CollectCommands(HMENU menu, std::vector<UINT>& commands) {
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    if (const HMENU sub = ::GetSubMenu(menu, i)) {
      CollectCommands(sub, commands);
    } else if (const UINT id = ::GetMenuItemID(menu, i); id != 0 && id != UINT(-1)) {
      commands.push_back(id);
    }
  }
}

TEST_F(PreviewTest, ChoosingTheBitmapShowsThePictureAndTextBringsTheMemoBack) {
  SizeImage(200, 100);
  Capture({Text("words"), Dib({80, 40})});
  ASSERT_EQ(CheckedItems(), std::vector<std::wstring>{L"Text"});

  ChooseDisplay(L"DIB");
  EXPECT_FALSE(Memo().Visible());
  EXPECT_TRUE(Image().Visible());
  EXPECT_FALSE(Tools().ButtonEnabled(L"CopyBtn"));
  EXPECT_FALSE(form_->menus().Enabled(L"MenuConv"));
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"DIB"});
  EXPECT_EQ(FindColour(Image().Picture()).coloured, 80 * 40);

  ChooseDisplay(L"Text");
  EXPECT_TRUE(Memo().Visible());
  EXPECT_FALSE(Image().Visible());
  EXPECT_TRUE(Tools().ButtonEnabled(L"CopyBtn"));
  EXPECT_TRUE(form_->menus().Enabled(L"MenuConv"));
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"Text"});
  EXPECT_EQ(Memo().Text(), L"words");
}

TEST_F(PreviewTest, ChoosingAnItemDrawsWhatTheClipboardHoldsThen) {
  Capture({Text("words"), Dib({80, 40})});
  // The image has changed size since the record was shown: drawn anew, the
  // bitmap is fitted to the new size.
  SizeImage(40, 100);
  ChooseDisplay(L"DIB");
  const ColouredArea area = FindColour(Image().Picture());
  EXPECT_EQ(area.picture_width, 40);
  EXPECT_EQ(area.width(), 40);
  EXPECT_EQ(area.height(), 20);

  Capture({Text("drawing"), {CF_ENHMETAFILE, SolidMetafile(50, 50, RGB(20, 120, 20))}});
  EXPECT_EQ(EnabledItems(), (std::vector<std::wstring>{L"Text", L"EnhancedMetaFile"}));
  SizeImage(120, 60);
  ChooseDisplay(L"EnhancedMetaFile");
  EXPECT_TRUE(Image().Visible());
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"EnhancedMetaFile"});
  const ColouredArea drawing = FindColour(Image().Picture());
  EXPECT_EQ(drawing.picture_width, 120);
  EXPECT_GE(drawing.right, 119);
  EXPECT_GE(drawing.bottom, 59);
}

TEST_F(PreviewTest, TheTextThenTheBitmapThenTheMetafileIsCheckedFirst) {
  const auto build = [this](std::vector<std::string> names) {
    names.insert(names.begin(), "2026/12/07 09:05");
    form_->view().BuildDisplayMenu(names);
  };
  build({"Locale", "DIB", "EnhancedMetaFile", "Text"});
  EXPECT_EQ(EnabledItems(), (std::vector<std::wstring>{L"DIB", L"EnhancedMetaFile", L"Text"}));
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"Text"});
  build({"EnhancedMetaFile", "DIB"});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"DIB"});
  build({"Bitmap", "EnhancedMetaFile"});
  EXPECT_EQ(EnabledItems(), std::vector<std::wstring>{L"EnhancedMetaFile"});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"EnhancedMetaFile"});
  // Names are matched exactly; the date is no item.
  build({"text", "dib", "Text "});
  EXPECT_EQ(DisplayItems().size(), 3u);
  EXPECT_EQ(EnabledItems(), std::vector<std::wstring>{});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{});
}

TEST_F(PreviewTest, AnEditedFilterCaptionIsTheNameMatched) {
  auto& filter = *form_->widgets().FilterListView;
  // The user renames the text entry, as an edit in place does.
  filter.SetCaption(1, L"テキスト");
  form_->settings().FilterCaptionEdited(1, L"テキスト");
  Capture({Text("renamed"), Dib({30, 30})});
  EXPECT_EQ(EnabledItems(), (std::vector<std::wstring>{L"テキスト", L"DIB"}));
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"テキスト"});
  ChooseDisplay(L"DIB");
  ChooseDisplay(L"テキスト");
  EXPECT_TRUE(Memo().Visible());
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"テキスト"});

  // A list naming the formats the old way no longer matches the text.
  form_->view().BuildDisplayMenu({"2026/12/07 09:05", "Text", "DIB"});
  EXPECT_EQ(EnabledItems(), std::vector<std::wstring>{L"DIB"});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"DIB"});

  // A caption longer than a record keeps of it (40 bytes) still names the text.
  const std::wstring long_caption(50, L'T');
  filter.SetCaption(1, long_caption);
  form_->settings().FilterCaptionEdited(1, long_caption);
  Capture({Text("long")});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{std::wstring(40, L'T')});
}

// Rebuilding the menu for every shown record must not use up command
// numbers: they come back for the next build, so none grows past the
// 16 bits a command carries or lands on a fixed command.
TEST_F(PreviewTest, RebuildingTheDisplayMenuReusesItsCommandNumbers) {
  const auto commands = [this] {
    std::vector<UINT> all;
    CollectCommands(::GetMenu(form_->hwnd()), all);
    std::sort(all.begin(), all.end());
    return all;
  };
  form_->view().BuildDisplayMenu({"2026/12/07 09:05", "Text", "DIB", "Locale"});
  const std::vector<UINT> first = commands();
  for (int i = 0; i < 2000; ++i)
    form_->view().BuildDisplayMenu(
        i % 2 ? std::vector<std::string>{"2026/12/07 09:05", "DIB"}
              : std::vector<std::string>{"2026/12/07 09:05", "Text", "DIB", "Locale"});
  form_->view().BuildDisplayMenu({"2026/12/07 09:05", "Text", "DIB", "Locale"});
  const std::vector<UINT> later = commands();
  EXPECT_EQ(later, first);
  EXPECT_EQ(std::adjacent_find(later.begin(), later.end()), later.end()) << "a number used twice";

  // The system's own click on the rebuilt item reaches the display handler.
  const HMENU display = form_->menus().Submenu(L"MenuDisplay");
  ASSERT_EQ(form_->menus().Caption(DisplayItems().at(1)), L"DIB");
  ::SendMessageW(form_->hwnd(), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(display, 1), 0), 0);
  Pump();
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"DIB"});
}

}  // namespace
}  // namespace quill::ui
