#include "ui/tray_icon.h"

#include "ui/code_page.h"
#include "win32/window.h"

namespace quill::ui {
namespace {

constexpr wchar_t kNotifyClass[] = L"TNotifyWindow";
constexpr unsigned kIconId = 1;

}  // namespace

std::string CutWhole(const std::string& text, std::size_t max_bytes,
                     const std::function<bool(unsigned char)>& is_lead) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length =
        is_lead(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + length > max_bytes) break;
    end += length;
  }
  return text.substr(0, end);
}

std::string TrayTip(const std::wstring& caption) {
  return CutWhole(ToAnsi(caption), platform::notify::kTipBytes,
                  [](unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; });
}

// A plain child window with no size and one message of interest.
class TrayIcon::NotifyWindow : public win32::HandledWindow {
 public:
  NotifyWindow(HWND parent, TrayIcon::Handler& on_mouse)
      : HandledWindow([&on_mouse](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
          if (message != WM_TRAYICON) return ::DefWindowProcW(hwnd, message, wparam, lparam);
          if (on_mouse) on_mouse(static_cast<UINT>(lparam));
          return LRESULT{0};
        }) {
    if (win32::EnsureWindowClass(kNotifyClass, Procedure, nullptr))
      CreateOwned(0, kNotifyClass, L"", WS_CHILD, {}, parent);
  }
};

TrayIcon::TrayIcon(platform::Shell& shell, HWND owner, HICON icon, Handler on_mouse)
    : shell_(shell), owner_(owner), on_mouse_(std::move(on_mouse)) {
  data_.id = kIconId;
  data_.flags = platform::notify::kMessage | platform::notify::kIcon | platform::notify::kTip;
  data_.callback_message = WM_TRAYICON;
  data_.icon = icon;
}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Add(const std::string& tip) {
  if (Exists()) return true;
  window_ = std::make_unique<NotifyWindow>(owner_, on_mouse_);
  data_.window = reinterpret_cast<platform::WindowId>(window_->hwnd());
  data_.tip = tip;
  if (window_->hwnd() && shell_.NotifyIcon(platform::notify::kAdd, data_)) return true;
  // No icon to click: the window would only be in the way.
  window_.reset();
  data_.window = 0;
  return false;
}

bool TrayIcon::Exists() const { return window_ && window_->hwnd(); }

void TrayIcon::SetTip(const std::string& tip) {
  if (!Exists()) return;
  data_.tip = tip;
  shell_.NotifyIcon(platform::notify::kModify, data_);
}

void TrayIcon::AddAgain() {
  if (Exists()) shell_.NotifyIcon(platform::notify::kAdd, data_);
}

void TrayIcon::Remove() {
  if (!window_) return;
  shell_.NotifyIcon(platform::notify::kDelete, data_);
  window_.reset();
  data_.window = 0;
}

HWND TrayIcon::notify_window() const { return window_ ? window_->hwnd() : nullptr; }

}  // namespace quill::ui
