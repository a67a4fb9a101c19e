// The real main window, created in this process: its controls as declared,
// the record list, the caption, the menus and the splitter.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fakes.h"
#include "pump.h"
#include "ui/code_page.h"
#include "ui/main_form.h"
#include "ui/record_view.h"
#include "ui/system_services.h"
#include "window_shots.h"

namespace quill::ui {
namespace {

using framework::Box;

class MainFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
  }
  void SetUp() override {
    form_ = std::make_unique<TFQuillet>(system_.With(dialogs_), system_.screen, system_.shell);
    ASSERT_TRUE(form_->Create());
    ASSERT_TRUE(form_->HasStorage());
    form_->Show(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    ::SendMessageW(form_->hwnd(), WM_CLOSE, 0, 0);
    Pump();
    form_.reset();
  }
  static void Pump() { PumpMessages(); }
  framework::Control& Control(const wchar_t* name) {
    framework::Control* control = form_->Find(name);
    EXPECT_NE(control, nullptr) << "no control named " << ToAnsi(name);
    return *control;
  }
  std::wstring Caption() {
    wchar_t text[128] = {};
    ::GetWindowTextW(form_->hwnd(), text, 128);
    return text;
  }

  SystemServices system_;
  core::testing::ScriptedDialogs dialogs_;
  std::unique_ptr<TFQuillet> form_;
};

struct Declared {
  const wchar_t* name;
  const wchar_t* kind;
  Box box;
  const wchar_t* caption;
};

TEST_F(MainFormTest, TheSettingsControlsStandWhereTheyAreDeclared) {
  const Declared declared[] = {
      {L"WatchRG", L"RadioGroup", {0, 8, 203, 41}, L"クリップボード取り込み"},
      {L"Label1", L"Label", {8, 60, 78, 14}, L"最大記録個数"},
      {L"MaxEdit", L"Edit", {88, 56, 49, 20}, L"999"},
      {L"PositionRG", L"RadioGroup", {0, 84, 203, 89}, L"最小表示時の位置"},
      {L"MiniCB", L"CheckBox", {16, 178, 137, 17}, L"起動時、最小表示(&S)"},
      {L"StayCB", L"CheckBox", {16, 200, 121, 17}, L"常に前面表示(&O)"},
      {L"ConvertCB", L"CheckBox", {16, 222, 97, 17}, L"引用文整形(&C)"},
      {L"ConvertEdit", L"Edit", {124, 221, 57, 20}, L"> "},
      {L"DelayEdit", L"Edit", {124, 245, 25, 20}, L"5"},
      {L"FilterListView", L"ListView", {218, 0, 161, 331}, L""},
      {L"ColorRG", L"RadioGroup", {8, 8, 345, 105}, L"DIB カラー自動変換"},
      {L"JPEGGB", L"GroupBox", {8, 128, 345, 81}, L""},
      {L"QualityBar", L"TrackBar", {40, 16, 233, 33}, L""},
      {L"QualityEdit", L"Edit", {280, 20, 41, 20}, L"75"},
      {L"ExpandRG", L"RadioGroup", {8, 224, 345, 41}, L"キャプチャ時、拡大画面を表示"},
  };
  for (const Declared& d : declared) {
    framework::Control& c = Control(d.name);
    SCOPED_TRACE(ToAnsi(d.name));
    EXPECT_EQ(c.kind(), d.kind);
    const Box box = c.Bounds();
    EXPECT_EQ(box.x, d.box.x);
    EXPECT_EQ(box.y, d.box.y);
    EXPECT_EQ(box.width, d.box.width);
    EXPECT_EQ(box.height, d.box.height);
    EXPECT_EQ(c.Text(), d.caption);
  }
  EXPECT_EQ(Control(L"WatchRG").Items(), (std::vector<std::wstring>{L"自動(&A)", L"手動(&M)"}));
  EXPECT_EQ(Control(L"ExpandRG").Items(),
            (std::vector<std::wstring>{L"なし", L"左上隅", L"右上隅"}));
  EXPECT_EQ(Control(L"ColorRG").Items().size(), 9u);
  EXPECT_EQ(form_->widgets().PositionRG->ItemIndex(), 4);
  EXPECT_EQ(form_->widgets().ExpandRG->ItemIndex(), 1);
  EXPECT_EQ(form_->widgets().QualityBar->Position(), 75);
  // Controls inside the JPEG group show when their page does.
  form_->widgets().PageControl->SetActivePage(2);
  EXPECT_TRUE(::IsWindowVisible(Control(L"Label3").hwnd()));
  for (const wchar_t* inside : {L"QualityBar", L"QualityEdit", L"GrayCB", L"ProgCB"}) {
    const HWND child = Control(inside).hwnd();
    EXPECT_TRUE(::IsWindowVisible(child)) << ToAnsi(inside);
    // Nothing covers it: the point at its centre belongs to it.
    POINT centre = {Control(inside).Bounds().width / 2, Control(inside).Bounds().height / 2};
    ::ClientToScreen(child, &centre);
    const HWND hit = ::WindowFromPoint(centre);
    EXPECT_TRUE(hit == child || ::IsChild(child, hit)) << ToAnsi(inside);
  }

  auto& filter = *form_->widgets().FilterListView;
  ASSERT_EQ(filter.Count(), 18);
  EXPECT_EQ(filter.Caption(0), L"(すべて)");
  EXPECT_EQ(filter.Caption(14), L"EnhancedMetaFile");
  EXPECT_EQ(filter.Caption(17), L"その他");
  EXPECT_TRUE(filter.Checked(0));
  EXPECT_FALSE(filter.Checked(1));
}

TEST_F(MainFormTest, TheViewerPageStacksListSplitterAndPreview) {
  EXPECT_EQ(Control(L"ToolBar1").Bounds().height, 29);
  EXPECT_EQ(Control(L"StatusBar").Bounds().height, 19);
  const Box list = Control(L"ListView").Bounds();
  const Box splitter = Control(L"SplitterPanel").Bounds();
  const Box memo = Control(L"Memo1").Bounds();
  EXPECT_EQ(list.y, 0);
  EXPECT_EQ(list.height, 161);
  EXPECT_EQ(splitter.y, 161);
  EXPECT_EQ(splitter.height, 12);
  EXPECT_EQ(memo.y, 173);
  EXPECT_EQ(Control(L"ListView").Items(), (std::vector<std::wstring>{L"No.", L"日時", L"内容"}));
  auto& pages = *form_->widgets().PageControl;
  EXPECT_EQ(pages.Items(), (std::vector<std::wstring>{L"表示", L"設定 1", L"設定 2"}));
  auto& tools = *form_->widgets().ToolBar1;
  EXPECT_EQ(tools.Items().size(), 11u);
  EXPECT_EQ(tools.Hint(L"LinkBtn"), L"アプリと連動して移動");
  EXPECT_EQ(tools.ImageOf(L"WideBtn"), 11);
  EXPECT_FALSE(tools.ButtonEnabled(L"ExportBtn"));
  EXPECT_TRUE(tools.ButtonEnabled(L"CopyBtn"));
  EXPECT_FALSE(form_->menus().Enabled(L"MenuSave"));
  EXPECT_FALSE(form_->menus().Enabled(L"MenuConv"));
  EXPECT_EQ(Caption(), L"Quilleteer");
}

TEST_F(MainFormTest, RowsShowNumberDateFirstLineAndIcon) {
  auto& list = *form_->widgets().ListView;
  auto& memo = *form_->widgets().Memo1;
  memo.SetText(L"最初の行\r\n二行目");
  form_->view().SetListRow(1, core::kHasText, "2026/12/07 09:05");
  memo.SetText(L"");
  for (int n = 2; n <= 7; ++n) form_->view().SetListRow(n, core::kHasPicture, "2026/12/07 09:06");
  ASSERT_EQ(list.Count(), 7);
  EXPECT_EQ(list.Caption(0), L" 001");
  EXPECT_EQ(list.Caption(6), L" 007");
  EXPECT_EQ(list.SubItem(0, 1), L"2026/12/07 09:05");
  EXPECT_EQ(list.SubItem(0, 2), L"最初の行");
  EXPECT_EQ(list.Image(0), core::kHasText);
  EXPECT_EQ(list.SubItem(6, 2), L"");
  EXPECT_EQ(list.Image(6), core::kHasPicture);
  EXPECT_TRUE(list.Selected(6));

  // A full ring rewrites the row of the overwritten record in place.
  memo.SetText(L"rewritten");
  form_->view().SetListRow(3, core::kHasText, "2026/12/08 10:00");
  EXPECT_EQ(list.Count(), 7);
  EXPECT_EQ(list.SubItem(2, 2), L"rewritten");
  EXPECT_TRUE(list.Selected(2));
  EXPECT_FALSE(list.Selected(6));

  ::SendMessageW(list.hwnd(), WM_SETREDRAW, FALSE, 0);
  for (int n = 8; n <= 1000; ++n) list.AddRow(L"");
  ::SendMessageW(list.hwnd(), WM_SETREDRAW, TRUE, 0);
  form_->view().SetListRow(1000, 3, "2026/12/08 10:01");
  EXPECT_EQ(list.Caption(999), L" 1000");
}

TEST_F(MainFormTest, TheCaptionCountsAndDeleteNeedsACurrentRecord) {
  form_->view().UpdateCounter(3, 5);
  EXPECT_EQ(Caption(), L"Quilleteer  3/5");
  form_->MenuFileClick();
  EXPECT_FALSE(form_->menus().Enabled(L"MenuDel"));
  form_->recorder().SetCurrentNo(1);
  form_->MenuFileClick();
  EXPECT_TRUE(form_->menus().Enabled(L"MenuDel"));
  form_->recorder().SetCurrentNo(0);
}

TEST_F(MainFormTest, TheFindCommandEndsTheRecordGroupOfTheFileMenu) {
  const std::vector<std::wstring> items = form_->menus().Children(L"MenuFile");
  const auto del = std::find(items.begin(), items.end(), L"MenuDel");
  ASSERT_NE(del, items.begin());
  EXPECT_EQ(*(del - 1), L"MenuFind");
  EXPECT_EQ(form_->menus().Caption(L"MenuFind"), L"レコード検索(&F)...\tCtrl+F");
}

TEST_F(MainFormTest, NumericEditsTakeOnlyDigits) {
  for (const wchar_t* name : {L"MaxEdit", L"DelayEdit"}) {
    framework::Control& edit = Control(name);
    edit.SetText(L"");
    for (wchar_t c : std::wstring(L"a1-b2 ")) ::SendMessageW(edit.hwnd(), WM_CHAR, c, 0);
    EXPECT_EQ(edit.Text(), L"12");
    ::SendMessageW(edit.hwnd(), WM_CHAR, 8, 0);  // backspace goes through
    EXPECT_EQ(edit.Text(), L"1");
  }
  Control(L"MaxEdit").SetText(L"");
  EXPECT_EQ(form_->recorder().MaxRecords(), 0);
  Control(L"MaxEdit").SetText(L"250");
  EXPECT_EQ(form_->recorder().MaxRecords(), 250);
}

TEST_F(MainFormTest, TheSplitterKeepsListAndPreviewAbove20Pixels) {
  framework::Control& list = Control(L"ListView");
  framework::Control& memo = Control(L"Memo1");
  const int memo_height = memo.Bounds().height;
  form_->SplitterPanelMouse(WM_LBUTTONDOWN, 5, 5);
  form_->SplitterPanelMouse(WM_MOUSEMOVE, 5, -141);  // the list would be 20
  EXPECT_EQ(list.Bounds().height, 161);
  form_->SplitterPanelMouse(WM_MOUSEMOVE, 5, memo_height - 20);  // the preview would be 20
  EXPECT_EQ(list.Bounds().height, 161);
  form_->SplitterPanelMouse(WM_MOUSEMOVE, 5, 40);
  EXPECT_EQ(list.Bounds().height, 201);
  EXPECT_EQ(memo.Bounds().height, memo_height - 40);
  EXPECT_EQ(Control(L"SplitterPanel").Bounds().y, 201);
  form_->SplitterPanelMouse(WM_LBUTTONUP, 5, 5);
  form_->SplitterPanelMouse(WM_MOUSEMOVE, 5, 30);  // released: no longer follows
  EXPECT_EQ(list.Bounds().height, 201);
}

TEST_F(MainFormTest, ScreenshotsOfThePages) {
  auto& pages = *form_->widgets().PageControl;
  auto& memo = *form_->widgets().Memo1;
  memo.SetText(L"クリップボードの記録\r\nQuilleteer");
  form_->view().SetListRow(1, core::kHasText, "2026/12/07 09:05");
  form_->view().UpdateCounter(1, 1);
  for (int page = 0; page < 3; ++page) {
    pages.SetActivePage(page);
    ::RedrawWindow(form_->hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    EXPECT_TRUE(SaveWindowShot(form_->hwnd(), L"page" + std::to_wstring(page + 1) + L".bmp"));
  }
}

}  // namespace
}  // namespace quill::ui
