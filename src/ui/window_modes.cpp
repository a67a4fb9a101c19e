// The full and the minimal view, the icon in the notification area with
// its popup menu, staying on top, the help file and the about box.
#include "framework/dpi.h"
#include "ui/about_form.h"
#include "ui/help_file.h"
#include "ui/main_form.h"
#include "ui/picture_strip.h"
#include "ui/tray_icon.h"

namespace quill::ui {
namespace {

constexpr int kMiniWidth = 320;

// Placements of the minimal view (PositionRG's items).
enum Placement { kTopLeft = 0, kBottomLeft = 1, kTray = 2, kTopRight = 3, kBottomRight = 4 };

// Clears a flag however the scope is left.
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TFQuillet::MeasureMiniHeight() {
  // The height at which only the bars around the client area remain.
  RECT window, client;
  ::GetWindowRect(hwnd(), &window);
  ::GetClientRect(hwnd(), &client);
  mini_height_ = (window.bottom - window.top) - (client.bottom - client.top) +
                 c_.ToolBar1->Bounds().height + c_.StatusBar->Bounds().height;
}

void TFQuillet::OnDpiChanged() {
  saved_bounds_ = framework::Resized(saved_bounds_, bounds_dpi_, dpi());
  bounds_dpi_ = dpi();
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
  MeasureMiniHeight();
}

void TFQuillet::CreateWindowModes() {
  MeasureMiniHeight();
  bounds_dpi_ = dpi();
  mini_mode_ = false;
  tray_ = std::make_unique<TrayIcon>(shell_, hwnd(), icon_small_.get(),
                                     [this](UINT mouse_message) { WMTrayIcon(mouse_message); });
  taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  help_ = std::make_unique<HelpFile>();
  about_ = std::make_unique<TFAbout>();
  about_->Create();
}

void TFQuillet::WideBtnClick() {
  if (mini_mode_) {
    if (InTray()) return MenuRestoreClick();
    mini_mode_ = false;
    const framework::Box& b = saved_bounds_;
    ::SetWindowPos(hwnd(), nullptr, b.x, b.y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  // A maximised window leaves at its normal bounds, and comes back to them.
  if (::IsZoomed(hwnd())) ::ShowWindow(hwnd(), SW_RESTORE);
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  saved_bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  mini_mode_ = true;
  const platform::Rect screen = screen_.PrimaryScreen();
  const int mini_width = framework::Scaled(kMiniWidth, framework::DpiOf(hwnd()));
  const int right = static_cast<int>(screen.Width()) - mini_width;
  const int bottom = static_cast<int>(screen.Height()) - mini_height_;
  int left = 0, top = 0;
  switch (c_.PositionRG->ItemIndex()) {
    case kTopLeft:
      break;
    case kBottomLeft:
      top = bottom;
      break;
    case kTopRight:
      left = right;
      break;
    case kBottomRight:
      left = right;
      top = bottom;
      break;
    default:
      MoveToTaskTray();
      return;
  }
  ::SetWindowPos(hwnd(), nullptr, left, top, mini_width, mini_height_,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFQuillet::MoveToTaskTray() {
  wchar_t caption[256] = {};
  ::GetWindowTextW(hwnd(), caption, static_cast<int>(std::size(caption)));
  if (!tray_->Add(TrayTip(caption))) {
    // With no icon to come back through, the window stays in the full view.
    mini_mode_ = false;
    return;
  }
  ::ShowWindow(hwnd(), SW_HIDE);
}

void TFQuillet::RemoveTaskTray() {
  if (tray_) tray_->Remove();
}

bool TFQuillet::InTray() const { return tray_ && tray_->Exists(); }

HWND TFQuillet::NotifyWindow() const { return tray_ ? tray_->notify_window() : nullptr; }

void TFQuillet::RestoreTrayIcon() { tray_->AddAgain(); }

void TFQuillet::MenuRestoreClick() {
  mini_mode_ = false;
  RemoveTaskTray();
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
}

void TFQuillet::WMTrayIcon(UINT mouse_message) {
  if (tray_busy_) return;
  const platform::Point at = screen_.CursorPos();
  BusyScope busy(tray_busy_);
  if (mouse_message != WM_LBUTTONDOWN) return;
  screen_.BringToForeground(window_id());
  const unsigned command = shell_.TrackPopupMenu(menus().Submenu(L"MyPopup"), at, window_id());
  // The command runs from the window's queue, once this handler has
  // returned: it may remove the icon and destroy the window this message
  // came through.
  if (command) ::PostMessageW(hwnd(), WM_COMMAND, command, 0);
}

void TFQuillet::StartMinimized() {
  WideBtnClick();
  // A window that is never shown is never activated: automatic capture is
  // armed here instead.
  if (InTray()) FormActivate();
}

void TFQuillet::MenuContentsClick() { help_->ShowContents(); }

void TFQuillet::MenuAboutClick() { about_->ShowFor(hwnd()); }

}  // namespace quill::ui
