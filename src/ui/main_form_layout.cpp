// The declared control tree and menus of the main window.
#include "framework/application.h"
#include "framework/dpi.h"
#include "ui/capture_commands.h"
#include "ui/code_page.h"
#include "ui/file_commands.h"
#include "ui/main_form.h"
#include "ui/picture_strip.h"
#include "ui/record_finder.h"
#include "ui/record_view.h"
#include "ui/settings_pages.h"
#include "ui/window_modes.h"

namespace quill::ui {

using framework::Align;
using framework::CheckBox;
using framework::Container;
using framework::Edit;
using framework::GroupBox;
using framework::ImageView;
using framework::Label;

using framework::Item;
using framework::Memo;
using framework::MenuItem;
using framework::PageControl;
using framework::RadioGroup;
using framework::Separator;
using framework::StatusBar;
using framework::Submenu;
using framework::ToolBar;
using framework::TrackBar;
using framework::UpDown;

namespace {

// Keeps a typed pointer to a control as it is added.
template <typename T>
T& Keep(T*& member, T& control) {
  member = &control;
  return control;
}

// The pages' tabs: the chosen one on a grey band, the others on white.
void DrawTab(HDC dc, const RECT& rect, const std::wstring& caption, bool selected, HFONT font,
             UINT dpi) {
  const COLORREF band = selected ? RGB(128, 128, 128) : RGB(255, 255, 255);
  win32::ScopedSelectObject chosen(dc, font);
  ::SetBkMode(dc, OPAQUE);
  ::SetBkColor(dc, band);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  ::TextOutW(dc, rect.left + framework::Scaled(4, dpi), rect.top + framework::Scaled(3, dpi),
             caption.c_str(), static_cast<int>(caption.size()));
}

}  // namespace

void TFQuillet::OnDpiChanged() {
  // The controls take the pictures drawn for the new scale before the old
  // lists are destroyed.
  win32::UniqueImageList tools = LoadStrip(Strip::kToolBar, dpi());
  win32::UniqueImageList disabled_tools = LoadStrip(Strip::kToolBarDisabled, dpi());
  win32::UniqueImageList kinds = LoadStrip(Strip::kKinds, dpi());
  c_.ToolBar1->SetImages(tools.get(), disabled_tools.get());
  c_.ListView->SetSmallImages(kinds.get());
  tool_images_ = std::move(tools);
  disabled_tool_images_ = std::move(disabled_tools);
  kind_images_ = std::move(kinds);
  modes_->OnDpiChanged();
}

void TFQuillet::BuildControls() {
  tool_images_ = LoadStrip(Strip::kToolBar, dpi());
  disabled_tool_images_ = LoadStrip(Strip::kToolBarDisabled, dpi());
  kind_images_ = LoadStrip(Strip::kKinds, dpi());

  const auto import_click = Command([this] { files_->ImportBtnClick(); });
  const auto export_click = Command([this] { files_->ExportBtnClick(); });
  auto& tool_bar = Keep(
      c_.ToolBar1,
      Add<ToolBar>(
          nullptr, L"ToolBar1", 29,
          std::vector<ToolBar::Button>{
              {L"OpenBtn", L"ストレージを開く", 0, Command(&TFQuillet::OpenBtnClick)},
              {L"PasteBtn", L"手動読み込み", 1, Command([this] { recorder_->CaptureClipboard(); })},
              {L"CopyBtn", L"整形書き込み", 2, Command([this] { view_->CopyBtnClick(); })},
              {L"ImportBtn", L"外部ファイルから読み込む", 3, import_click},
              {L"ExportBtn", L"外部ファイルへ保存", 4, export_click},
              {L"FirstBtn", L"先頭へ移動", 5, Command([this] { recorder_->FirstBtnClick(); })},
              {L"PrevBtn", L"手前に移動", 6, Command([this] { recorder_->PrevBtnClick(); })},
              {L"NextBtn", L"次に移動", 7, Command([this] { recorder_->NextBtnClick(); })},
              {L"LastBtn", L"最後に移動", 8, Command([this] { recorder_->LastBtnClick(); })},
              {L"LinkBtn", L"アプリと連動して移動", 9,
               Command([this] { recorder_->LinkBtnClick(); })},
              {L"WideBtn", L"全体／最小表示", 11, Command([this] { modes_->WideBtnClick(); })},
          },
          tool_images_.get(), disabled_tool_images_.get()));
  tool_bar.SetAlign(Align::kTop);
  Keep(c_.StatusBar, Add<StatusBar>(nullptr, L"StatusBar", 19)).SetAlign(Align::kBottom);
  auto& pages = Keep(c_.PageControl, Add<PageControl>(nullptr, L"PageControl"));
  pages.SetAlign(Align::kClient);
  pages.on_draw_tab = [this](HDC dc, const RECT& r, const std::wstring& caption, bool selected) {
    DrawTab(dc, r, caption, selected, font(), dpi());
  };

  BuildViewerPage(pages);
  BuildSettingsPage1(pages);
  BuildSettingsPage2(pages);
  pages.LayOutPages();
  pages.SetActivePage(0);
  c_.Image1->SetVisible(false);
}

// "表示": the record list over the preview.
void TFQuillet::BuildViewerPage(PageControl& pages) {
  auto& viewer = Keep(c_.TabSheet1, AddPage(pages, L"TabSheet1", L"表示"));
  auto& list = Keep(c_.ListView,
                    Add<framework::ListView>(&viewer, L"ListView", framework::Box{0, 0, 10, 161},
                                             std::vector<framework::ListView::Column>{
                                                 {L"No.", 60}, {L"日時", 106}, {L"内容", 300}},
                                             framework::ListView::Options{.drag_rows = true}));
  list.SetAlign(Align::kTop);
  list.SetSmallImages(kind_images_.get());
  list.on_mouse_down = [this](int x, int y) { ListViewMouseDown(x, y); };
  list.on_key_down = [this](WPARAM key) { MoveKeyDown(key); };
  list.on_drag_drop = [this](int target) { ListViewDragDrop(target); };
  auto& splitter =
      Keep(c_.SplitterPanel, Add<Container>(&viewer, L"SplitterPanel", L"Panel",
                                            framework::Box{0, 161, 10, 12}, L" Content"));
  splitter.SetAlign(Align::kTop);
  splitter.draw_caption = true;
  splitter.cursor = ::LoadCursorW(nullptr, IDC_SIZENS);
  splitter.on_mouse = [this](UINT message, int x, int y) { SplitterPanelMouse(message, x, y); };
  Keep(c_.Memo1, Add<Memo>(&viewer, L"Memo1")).SetAlign(Align::kClient);
  Keep(c_.Image1, Add<ImageView>(&viewer, L"Image1")).SetAlign(Align::kClient);
}

// "設定 1": capture, the number kept, the minimal view, quoting, the filter.
void TFQuillet::BuildSettingsPage1(PageControl& pages) {
  auto& settings1 = AddPage(pages, L"TabSheet2", L"設定 1");
  auto& watch =
      Keep(c_.WatchRG, Add<RadioGroup>(&settings1, L"WatchRG", framework::Box{0, 8, 203, 41},
                                       L"クリップボード取り込み",
                                       std::vector<std::wstring>{L"自動(&A)", L"手動(&M)"}, 2, 0));
  watch.on_click = Command([this] { settings_->WatchRGClick(); });
  Add<Label>(&settings1, L"Label1", framework::Box{8, 60, 78, 14}, L"最大記録個数");
  auto& max_edit = Keep(
      c_.MaxEdit, Add<Edit>(&settings1, L"MaxEdit", framework::Box{88, 56, 49, 20}, L"999", 4));
  max_edit.key_filter = SettingsPages::MaxEditKeyPress;
  max_edit.on_change = Command([this] { settings_->MaxEditChange(); });
  Keep(c_.PositionRG,
       Add<RadioGroup>(&settings1, L"PositionRG", framework::Box{0, 84, 203, 89},
                       L"最小表示時の位置",
                       std::vector<std::wstring>{L"左上(&K)", L"左下(&L)", L"タスクトレイ(&T)",
                                                 L"右上(&Q)", L"右下(&R)"},
                       2, 4));
  Keep(c_.MiniCB, Add<CheckBox>(&settings1, L"MiniCB", framework::Box{16, 178, 137, 17},
                                L"起動時、最小表示(&S)"));
  Keep(c_.StayCB,
       Add<CheckBox>(&settings1, L"StayCB", framework::Box{16, 200, 121, 17}, L"常に前面表示(&O)"))
      .on_click = Command([this] { settings_->StayCBClick(); });
  Keep(c_.ConvertCB,
       Add<CheckBox>(&settings1, L"ConvertCB", framework::Box{16, 222, 97, 17}, L"引用文整形(&C)"));
  Keep(c_.ConvertEdit,
       Add<Edit>(&settings1, L"ConvertEdit", framework::Box{124, 221, 57, 20}, L"> "));
  Add<Label>(&settings1, L"Label2", framework::Box{16, 248, 104, 14}, L"キャプチャ遅延秒数");
  Keep(c_.DelayEdit, Add<Edit>(&settings1, L"DelayEdit", framework::Box{124, 245, 25, 20}, L"5", 2))
      .key_filter = SettingsPages::MaxEditKeyPress;
  auto& filter =
      Keep(c_.FilterListView,
           Add<framework::ListView>(
               &settings1, L"FilterListView", framework::Box{218, 0, 161, 331},
               std::vector<framework::ListView::Column>{{L"フィルター", 155}},
               framework::ListView::Options{.check_boxes = true, .edit_captions = true}));
  for (int i = 0; i < core::FormatFilter::kEntries; ++i)
    filter.AddRow(i == core::FormatFilter::kAll     ? std::wstring(kFilterAll)
                  : i == core::FormatFilter::kOther ? std::wstring(kFilterOther)
                                                    : FromAnsi(recorder_->Filter().Caption(i)));
  filter.SetChecked(core::FormatFilter::kAll, true);
  filter.on_check_change = [this](int row, bool ticked) {
    settings_->FilterListViewChange(row, ticked);
  };
  filter.on_caption_edited = [this](int row, const std::wstring& caption) {
    settings_->FilterCaptionEdited(row, caption);
  };
}

// "設定 2": colour conversion, JPEG and the capture magnifier.
void TFQuillet::BuildSettingsPage2(PageControl& pages) {
  auto& settings2 = AddPage(pages, L"TabSheet3", L"設定 2");
  Keep(c_.ColorRG,
       Add<RadioGroup>(
           &settings2, L"ColorRG", framework::Box{8, 8, 345, 105}, L"DIB カラー自動変換",
           std::vector<std::wstring>{L"変換しない", L"2 colors (1 bit)", L"16 colors (4 bit)",
                                     L"16 colors 圧縮 (4 bit)", L"256 colors (8 bit)",
                                     L"256 colors 圧縮 (8 bit)", L"True color (24 bit)",
                                     L"ハーフトーン(8 bit)", L"白黒ハーフトーン (1 bit)"},
           2, 0));
  auto& jpeg = Add<GroupBox>(&settings2, L"JPEGGB", framework::Box{8, 128, 345, 81}, L"JPEG");
  Add<Label>(&jpeg, L"Label3", framework::Box{16, 24, 24, 14}, L"品質");
  Keep(c_.QualityBar,
       Add<TrackBar>(&jpeg, L"QualityBar", framework::Box{40, 16, 233, 33}, 1, 100, 5, 75))
      .on_change = Command([this] { settings_->QualityBarChange(); });
  auto& quality = Keep(c_.QualityEdit,
                       Add<Edit>(&jpeg, L"QualityEdit", framework::Box{280, 20, 41, 20}, L"75"));
  Keep(c_.QualityUpDown,
       Add<UpDown>(&jpeg, L"QualityUpDown", framework::Box{321, 20, 15, 20}, quality, 1, 100, 75))
      .on_click = Command([this] { settings_->QualityUpDownClick(); });
  Keep(c_.GrayCB,
       Add<CheckBox>(&jpeg, L"GrayCB", framework::Box{16, 56, 120, 17}, L"グレースケール"));
  Keep(c_.ProgCB,
       Add<CheckBox>(&jpeg, L"ProgCB", framework::Box{151, 55, 160, 17}, L"プログレッシブJPEG"));
  Keep(c_.ExpandRG,
       Add<RadioGroup>(&settings2, L"ExpandRG", framework::Box{8, 224, 345, 41},
                       L"キャプチャ時、拡大画面を表示",
                       std::vector<std::wstring>{L"なし", L"左上隅", L"右上隅"}, 3, 1));
}

void TFQuillet::BuildMenus() {
  std::vector<MenuItem> capture = captures_->MenuItems(false);
  capture.push_back(captures_->CursorMenu());

  MenuItem save = Item(L"MenuSave", L"ファイルへ保存(&S)...",
                       MenuCommand([this] { files_->ExportBtnClick(); }));
  save.enabled = false;
  const auto import_menu = MenuCommand([this] { files_->ImportBtnClick(); });
  const HMENU bar = menus().BuildMenuBar({
      Submenu(L"MenuFile", L"ファイル(&F)",
              {Item(L"MenuOpen", L"ストレージを開く(&O)...", MenuCommand(&TFQuillet::OpenBtnClick)),
               Item(L"MenuImport", L"ファイルから読み込み(&I)...", import_menu), save, Separator(),
               Item(L"MenuTextRecord", L"テキストレコード読み込み(&R)...",
                    MenuCommand([this] { files_->MenuTextClick(); })),
               Separator(), Item(L"MenuFind", L"レコード検索(&F)...\tCtrl+F", MenuCommand([this] {
                                   finder_->MenuFindClick();
                                 })),
               Item(L"MenuDel", L"カレントレコード削除(&D)",
                    MenuCommand([this] { recorder_->MenuDelClick(); })),
               Separator(), Item(L"MenuExit", L"終了(&X)", MenuCommand(&TFQuillet::CloseClick))}),
      Submenu(L"MenuDisplay", L"表示(&D)", {}),
      Submenu(L"MenuCapture", L"キャプチャ(&C)", capture),
      Submenu(
          L"MenuHelp", L"ヘルプ(&H)",
          {Item(L"MenuContents", L"目次(&C)", MenuCommand([this] { modes_->MenuContentsClick(); })),
           Item(L"MenuAbout", L"バージョン情報(&A)...",
                MenuCommand([this] { modes_->MenuAboutClick(); }))}),
  });
  ::SetMenu(hwnd(), bar);
  // Ctrl+F finds a record; F3 finds the next one with the same text.
  ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'F', static_cast<WORD>(menus().Command(L"MenuFind"))},
      {FVIRTKEY, VK_F3,
       static_cast<WORD>(menus().AddCommand(MenuCommand([this] { finder_->FindNextClick(); })))}};
  accelerators_.reset(::CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys))));
  framework::Application::SetAccelerators(hwnd(), accelerators_.get());

  MenuItem conv =
      Item(L"MenuConv", L"整形書き込み", MenuCommand([this] { view_->CopyBtnClick(); }));
  conv.enabled = false;
  menus().BuildPopup(
      L"MyPopup",
      {Item(L"MenuRestore", L"元のサイズに戻す",
            MenuCommand([this] { modes_->MenuRestoreClick(); })),
       Separator(),
       Item(L"MenuRead", L"手動読み込み", MenuCommand([this] { recorder_->CaptureClipboard(); })),
       conv, Separator(), Submenu(L"MenuCap", L"キャプチャ", captures_->MenuItems(true)),
       Separator(),
       Item(L"MenuFirst", L"先頭に移動", MenuCommand([this] { recorder_->FirstBtnClick(); })),
       Item(L"MenuPrev", L"手前に移動", MenuCommand([this] { recorder_->PrevBtnClick(); })),
       Item(L"MenuNext", L"次に移動", MenuCommand([this] { recorder_->NextBtnClick(); })),
       Item(L"MenuLast", L"最後に移動", MenuCommand([this] { recorder_->LastBtnClick(); })),
       Item(L"MenuLink", L"アプリと連動して移動",
            MenuCommand([this] { recorder_->LinkBtnClick(); })),
       Separator(), Item(L"MenuExitP", L"終了", MenuCommand(&TFQuillet::CloseClick))});
  const auto drop = [this](int tag) { Run([this, tag] { files_->MenuDropClick(tag); }); };
  menus().BuildPopup(L"DropPopup", {Item(L"MenuDropPath", L"パス名", drop, 1),
                                    Item(L"MenuDropContent", L"内容", drop, 2),
                                    Item(L"MenuDropIcon", L"アイコン", drop, 3)});
}

}  // namespace quill::ui
