#include "ui/capture_commands.h"

#include "framework/dpi.h"
#include "ui/code_page.h"
#include "ui/picture_strip.h"
#include "ui/program_title.h"

namespace quill::ui {
namespace {

constexpr int kImageCell = 28;  // the sunken frame of a checked item

// The cursor submenu: item name, caption, tag (the cursor) and picture.
struct CursorItem {
  const wchar_t* name;
  const wchar_t* caption;
  int tag;
  int image;
};
constexpr CursorItem kCursorItems[] = {
    {L"MenuCapCur", L"Current Cursor", 1, -1},
    {L"MenuArrow", L"Arrow", 32512, 0},
    {L"MenuIBeam", L"IBeam", 32513, 1},
    {L"MenuWait", L"Wait", 32514, 2},
    {L"MenuCross", L"Cross", 32515, 3},
    {L"MenuUpArrow", L"UpArrow", 32516, 4},
    {L"MenuSizeNWSE", L"SizeNWSE", 32642, 5},
    {L"MenuSizeNESW", L"SizeNESW", 32643, 6},
    {L"MenuSizeWE", L"SizeWE", 32644, 7},
    {L"MenuSizeNS", L"SizeNS", 32645, 8},
    {L"MenuSizeAll", L"SizeAll", 32646, 9},
    {L"MenuNo", L"No", 32648, 10},
    {L"MenuAppStarting", L"AppStarting", 32650, 11},
    {L"MenuHelp1", L"Help", 32651, 12},
    {L"MenuDrag", L"Drag", -12, 13},
    {L"MenuNoDrop", L"NoDrop", -13, 14},
    {L"MenuHSplit", L"HSplit", -14, 15},
    {L"MenuVSplit", L"VSplit", -15, 16},
    {L"MenuMultiDrag", L"MultiDrag", -16, 17},
    {L"MenuSQLWait", L"SQLWait", -17, 18},
    {L"MenuHandPoint", L"HandPoint", -21, 19},
};
constexpr int kSecondCursorColumn = 14;  // "Drag" starts the second column

}  // namespace

using framework::Item;
using framework::MenuItem;

CaptureCommands::CaptureCommands(const Parts& parts) : parts_(parts) {
  const auto window = reinterpret_cast<platform::WindowId>(parts_.form.hwnd());
  capturer_ = std::make_unique<capture::Capturer>(parts_.services, window,
                                                  capture::LayeredOverlayShowsScreen());
  area_selection_ =
      std::make_unique<capture::AreaSelection>(*capturer_, parts_.services.screen, parts_.clock);
  size_form_ = std::make_unique<capture::TFSize>();
  size_form_->Create();
  parts_.form.Handle(WM_HOTKEY, [this](WPARAM, LPARAM) {
    parts_.run([this] { capturer_->WMHotKey(); });
    return LRESULT{0};
  });
  parts_.form.HandleTimer(platform::screen::kDelayTimerId,
                          [this] { parts_.run([this] { capturer_->CaptureTimerProc(); }); });
}

// A pending capture is given up before the capturer goes.
CaptureCommands::~CaptureCommands() {
  area_selection_.reset();
  capturer_.reset();
}

void CaptureCommands::Close() {
  capturer_->Cancel();
  area_selection_->Close();
}

std::vector<MenuItem> CaptureCommands::MenuItems(bool popup) {
  const std::wstring suffix = popup ? L"P" : L"";
  const auto caption = [popup](std::wstring text) {
    return popup ? text.substr(0, text.find(L"(&")) : text;
  };
  const auto capture = TagCommand(parts_.run, this, &CaptureCommands::MenuCaptureClick);
  const auto area = TagCommand(parts_.run, this, &CaptureCommands::MenuAreaClick);
  return {
      Item(L"MenuArea" + suffix, caption(L"領域指定(&A)"), area, 0),
      Item(L"MenuFix" + suffix, caption(L"固定サイズ(&R)"), area, 1),
      Item(L"MenuWin" + suffix, caption(L"アクティブウィンドウ(&W)"), capture, 2),
      Item(L"MenuPart" + suffix, caption(L"部品/指定ウィンドウ(&P)"), capture, 3),
      Item(L"MenuFull" + suffix, caption(L"全画面(&F)"), capture, 4),
      framework::Separator(),
      Item(L"MenuMenu" + suffix, caption(L"ポップアップ合成(&M)"),
           [this](int) { parts_.run([this] { MenuMenuClick(); }); }),
  };
}

MenuItem CaptureCommands::CursorMenu() {
  // Menus are drawn at the system's scale, whichever screen the window is on.
  cursor_images_ = LoadStrip(Strip::kCursors, framework::DpiOf(nullptr));
  std::vector<MenuItem> cursors;
  for (int i = 0; i < static_cast<int>(std::size(kCursorItems)); ++i) {
    const CursorItem& c = kCursorItems[i];
    MenuItem item = Item(c.name, c.caption,
                         TagCommand(parts_.run, this, &CaptureCommands::MenuCapCurClick), c.tag);
    item.radio = true;
    item.owner_draw = true;
    item.image = c.image;
    item.column_break = i == kSecondCursorColumn;
    item.on_draw = [this](const MenuItem& drawn, HDC dc, const RECT& rect,
                          const framework::MenuItemLook& look) {
      MenuArrowDrawItem(drawn, dc, rect, look);
    };
    cursors.push_back(item);
  }
  return framework::Submenu(L"MenuCursor", L"カーソル(&C)", cursors);
}

void CaptureCommands::MenuCaptureClick(int tag) {
  // A selection still on the screen would be captured: it ends first.
  area_selection_->Cancel();
  capturer_->MenuCaptureClick(tag, ToU16(parts_.delay.Text()));
}

void CaptureCommands::MenuAreaClick(int tag) {
  capturer_->MenuAreaClick(tag);
  if (capturer_->FixMode()) {
    const bool accepted = size_form_->ShowModalFor(
        parts_.form.hwnd(), [this](const std::wstring& width, const std::wstring& height) {
          std::u16string error;
          if (capturer_->SetFixSize(ToU16(width), ToU16(height), error)) return true;
          size_form_->ShowError(FromU16(error), kProgramTitle);
          return false;
        });
    if (!accepted) return;
  }
  area_selection_->Start(parts_.expand.ItemIndex());
}

void CaptureCommands::MenuCapCurClick(int tag) {
  const std::int32_t choice = capturer_->MenuCapCurClick(tag);
  // A radio group: only the chosen cursor's item is checked, none for 0.
  for (const std::wstring& name : parts_.form.menus().Children(L"MenuCursor"))
    parts_.form.menus().SetChecked(name, choice != 0 && parts_.form.menus().Tag(name) == choice);
}

void CaptureCommands::MenuMenuClick() {
  const bool on = capturer_->MenuMenuClick();
  parts_.form.menus().SetChecked(L"MenuMenu", on);
  parts_.form.menus().SetChecked(L"MenuMenuP", on);
}

void CaptureCommands::MenuArrowDrawItem(const framework::MenuItem& item, HDC dc, const RECT& rect,
                                        const framework::MenuItemLook& look) {
  const UINT dpi = framework::DpiOf(nullptr);
  const auto scaled = [dpi](int value) { return framework::Scaled(value, dpi); };
  ::FillRect(dc, &rect, ::GetSysColorBrush(look.selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  RECT text = {rect.left + scaled(32), rect.top, rect.right - scaled(2), rect.bottom};
  std::wstring caption = item.caption;
  ::DrawTextExW(dc, caption.data(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, nullptr);
  if (item.image >= 0 && cursor_images_) {
    int width = 0, height = 0;
    ::ImageList_GetIconSize(cursor_images_.get(), &width, &height);
    const int top = rect.top + (rect.bottom - rect.top - height) / 2;
    ::ImageList_DrawEx(cursor_images_.get(), item.image, dc, rect.left + scaled(2), top, 0, 0,
                       CLR_NONE, CLR_NONE, look.enabled ? ILD_NORMAL : ILD_BLEND50);
  }
  if (look.checked) {
    RECT cell = {rect.left, rect.top, rect.left + scaled(kImageCell), rect.bottom};
    ::DrawEdge(dc, &cell, EDGE_SUNKEN, BF_RECT);
  }
}

}  // namespace quill::ui
