#include "ui/tray_icon.h"

#include "framework/error_boundary.h"
#include "framework/lifetime.h"
#include "framework/window.h"
#include "ui/code_page.h"

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

// A plain child window with no size and one message of interest. It owns
// its window as every window object does: unhooked, then destroyed.
class TrayIcon::NotifyWindow {
 public:
  NotifyWindow(HWND parent, Handler& on_mouse) : on_mouse_(on_mouse) {
    framework::lifetime::Born(this);
    if (!framework::EnsureWindowClass(kNotifyClass, Procedure, nullptr)) return;
    hwnd_ = ::CreateWindowExW(0, kNotifyClass, L"", WS_CHILD, 0, 0, 0, 0, parent, nullptr,
                              ::GetModuleHandleW(nullptr), this);
  }
  ~NotifyWindow() {
    framework::lifetime::Died(this);
    if (const HWND hwnd = hwnd_) {
      hwnd_ = nullptr;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      ::DestroyWindow(hwnd);
    }
  }
  NotifyWindow(const NotifyWindow&) = delete;
  NotifyWindow& operator=(const NotifyWindow&) = delete;
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    NotifyWindow* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<NotifyWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<NotifyWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wparam, lparam);
    if (!framework::lifetime::Alive(self)) {
      framework::lifetime::CountStray();
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      return ::DefWindowProcW(hwnd, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    } else if (message == WM_TRAYICON) {
      return framework::GuardMessage(hwnd, message, [&]() -> LRESULT {
        if (self->on_mouse_) self->on_mouse_(static_cast<UINT>(lparam));
        return 0;
      });
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }

  HWND hwnd_ = nullptr;
  Handler& on_mouse_;
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
