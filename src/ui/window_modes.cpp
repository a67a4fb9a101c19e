#include "ui/window_modes.h"

#include "framework/dpi.h"
#include "ui/about_form.h"
#include "ui/help_file.h"
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

WindowModes::WindowModes(const Parts& parts) : parts_(parts) {
  MeasureMiniHeight();
  bounds_dpi_ = parts_.form.dpi();
  tray_ = std::make_unique<TrayIcon>(parts_.shell, hwnd(), parts_.icon,
                                     [this](UINT mouse_message) { WMTrayIcon(mouse_message); });
  // The icon is put back after the shell restarted.
  parts_.form.Handle(::RegisterWindowMessageW(L"TaskbarCreated"), [this](WPARAM, LPARAM) {
    tray_->AddAgain();
    return LRESULT{0};
  });
  help_ = std::make_unique<HelpFile>();
  about_ = std::make_unique<TFAbout>();
  about_->Create();
}

WindowModes::~WindowModes() = default;

void WindowModes::MeasureMiniHeight() {
  // The height at which only the bars around the client area remain.
  RECT window, client;
  ::GetWindowRect(hwnd(), &window);
  ::GetClientRect(hwnd(), &client);
  mini_height_ = (window.bottom - window.top) - (client.bottom - client.top) +
                 parts_.tool_bar.Bounds().height + parts_.status_bar.Bounds().height;
}

void WindowModes::OnDpiChanged() {
  saved_bounds_ = framework::Resized(saved_bounds_, bounds_dpi_, parts_.form.dpi());
  bounds_dpi_ = parts_.form.dpi();
  MeasureMiniHeight();
}

void WindowModes::PlaceFullView(const framework::Box& kept) {
  saved_bounds_ = framework::Resized(kept, framework::kDesignDpi, framework::DpiOf(hwnd()));
  const framework::Box& b = saved_bounds_;
  ::SetWindowPos(hwnd(), nullptr, b.x, b.y, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

framework::Box WindowModes::FullViewToKeep() {
  if (!mini_mode_) {
    // A minimized or maximized window is remembered at its normal place.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    ::GetWindowPlacement(hwnd(), &placement);
    RECT r = placement.rcNormalPosition;
    if (!::IsIconic(hwnd()) && !::IsZoomed(hwnd())) ::GetWindowRect(hwnd(), &r);
    saved_bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  return framework::Resized(saved_bounds_, framework::DpiOf(hwnd()), framework::kDesignDpi);
}

void WindowModes::SetTip(const std::wstring& caption) {
  if (tray_) tray_->SetTip(TrayTip(caption));
}

void WindowModes::WideBtnClick() {
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
  const platform::Rect screen = parts_.screen.PrimaryScreen();
  const int mini_width = framework::Scaled(kMiniWidth, framework::DpiOf(hwnd()));
  const int right = static_cast<int>(screen.Width()) - mini_width;
  const int bottom = static_cast<int>(screen.Height()) - mini_height_;
  int left = 0, top = 0;
  switch (parts_.placement.ItemIndex()) {
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

void WindowModes::MoveToTaskTray() {
  wchar_t caption[256] = {};
  ::GetWindowTextW(hwnd(), caption, static_cast<int>(std::size(caption)));
  if (!tray_->Add(TrayTip(caption))) {
    // With no icon to come back through, the window stays in the full view.
    mini_mode_ = false;
    return;
  }
  ::ShowWindow(hwnd(), SW_HIDE);
}

void WindowModes::RemoveTaskTray() {
  if (tray_) tray_->Remove();
}

bool WindowModes::InTray() const { return tray_ && tray_->Exists(); }

HWND WindowModes::NotifyWindow() const { return tray_ ? tray_->notify_window() : nullptr; }

void WindowModes::MenuRestoreClick() {
  mini_mode_ = false;
  RemoveTaskTray();
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
}

void WindowModes::WMTrayIcon(UINT mouse_message) {
  if (tray_busy_) return;
  const platform::Point at = parts_.screen.CursorPos();
  BusyScope busy(tray_busy_);
  if (mouse_message != WM_LBUTTONDOWN) return;
  parts_.screen.BringToForeground(window_id());
  const unsigned command =
      parts_.shell.TrackPopupMenu(parts_.form.menus().Submenu(L"MyPopup"), at, window_id());
  // The command runs from the window's queue, once this handler has
  // returned: it may remove the icon and destroy the window this message
  // came through.
  if (command) ::PostMessageW(hwnd(), WM_COMMAND, command, 0);
}

void WindowModes::StartMinimized() {
  WideBtnClick();
  // A window that is never shown is never activated: automatic capture is
  // armed here instead.
  if (InTray()) parts_.activate();
}

void WindowModes::MenuContentsClick() { help_->ShowContents(); }

void WindowModes::MenuAboutClick() { about_->ShowFor(hwnd()); }

}  // namespace quill::ui
