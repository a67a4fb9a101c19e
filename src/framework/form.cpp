#include "framework/form.h"

#include "framework/application.h"
#include "framework/dpi.h"

namespace quill::framework {

// The window goes while the controls it routes to still exist.
Form::~Form() { DestroyWindowNow(); }

bool Form::CreateCentred(const wchar_t* class_name, const std::wstring& caption, DWORD style,
                         int client_width, int client_height) {
  const UINT dpi = DpiOf(nullptr);
  RECT frame = {0, 0, Scaled(client_width, dpi), Scaled(client_height, dpi)};
  ::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const Box centred = {(::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                       (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height};
  if (!CreateTopLevel(class_name, caption, style, centred,
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  SetFont(L"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, 12);
  return true;
}

void Form::SetFont(const std::wstring& face, BYTE charset, int height) {
  font_face_ = face;
  font_charset_ = charset;
  font_height_ = height;
  dpi_ = DpiOf(hwnd());
  MakeFont();
}

void Form::MakeFont() {
  LOGFONTW font = {};
  font.lfHeight = -Scaled(font_height_, dpi_);
  font.lfCharSet = font_charset_;
  font.lfQuality = DEFAULT_QUALITY;
  font_face_.copy(font.lfFaceName, LF_FACESIZE - 1);
  font_.reset(::CreateFontIndirectW(&font));
}

Container& Form::AddPage(PageControl& pages, std::wstring name, std::wstring caption) {
  auto page = std::make_unique<Container>(std::move(name), L"TabSheet", Box{0, 0, 10, 10});
  Container& added = *page;
  Register(std::move(page), nullptr, pages.hwnd());
  pages.AddPage(&added, std::move(caption));
  return added;
}

void Form::Register(std::unique_ptr<Control> control, Container* parent, HWND window) {
  Control* added = control.get();
  added->Create(parent ? parent->hwnd() : window ? window : hwnd(), numbers_.Take(), font_.get());
  by_window_[added->hwnd()] = added;
  for (HWND owned : added->OwnedWindows()) by_window_[owned] = added;
  by_name_[added->name()] = added;
  order_.push_back(added);
  if (parent) {
    parent->AddChild(added);
  } else if (!window) {
    top_level_.push_back(added);
  }
  owned_.push_back(std::move(control));
}

std::string Form::Narrow(const std::wstring& name) {
  std::string narrow;
  for (const wchar_t c : name) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

Control* Form::Find(const std::wstring& name) const {
  const auto found = by_name_.find(name);
  return found == by_name_.end() ? nullptr : found->second;
}

Control* Form::ControlOf(HWND window) const {
  const auto found = by_window_.find(window);
  return found == by_window_.end() ? nullptr : found->second;
}

void Form::LayOut() {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  LayOutAligned(top_level_, client);
}

int Form::ShowModal(HWND owner) {
  modal_result_ = 0;
  const bool owner_enabled = owner && ::IsWindowEnabled(owner);
  if (owner_enabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(hwnd(), SW_SHOW);
  ::SetForegroundWindow(hwnd());
  if (const HWND first = ::GetNextDlgTabItem(hwnd(), nullptr, FALSE)) {
    ::SetFocus(first);
    ::SendMessageW(first, EM_SETSEL, 0, -1);  // an edit's text, ready to be typed over
  }
  in_modal_ = true;
  MSG message;
  while (modal_result_ == 0 && hwnd()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the loop above ours gets the quit again.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      modal_result_ = IDCANCEL;
      break;
    }
    Application::Deliver(message);
  }
  in_modal_ = false;
  // The owner is enabled before this form hides, so that it, not some
  // other program, becomes active.
  if (owner_enabled) ::EnableWindow(owner, TRUE);
  if (hwnd()) ::ShowWindow(hwnd(), SW_HIDE);
  if (owner) ::SetActiveWindow(owner);
  return modal_result_ ? modal_result_ : IDCANCEL;
}

void Form::Handle(UINT message, MessageHandler handler) { handlers_[message] = std::move(handler); }

void Form::HandleTimer(UINT_PTR id, std::function<void()> handler) {
  timers_[id] = std::move(handler);
}

void Form::ShowError(const std::wstring& text, const std::wstring& title) {
  ::MessageBoxW(hwnd(), text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND: {
      const auto source = reinterpret_cast<HWND>(lparam);
      if (!source) {
        if (menus_.Dispatch(LOWORD(wparam))) return 0;
        break;
      }
      if (Control* control = ControlOf(source))
        if (control->OnCommand(source, LOWORD(wparam), HIWORD(wparam))) return 0;
      break;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lparam);
      LRESULT result = 0;
      if (Control* control = ControlOf(header->hwndFrom))
        if (control->OnNotify(header, result)) return result;
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Control* control = ControlOf(reinterpret_cast<HWND>(lparam))) {
        control->OnScroll(reinterpret_cast<HWND>(lparam));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_MENU) {
        if (menus_.Draw(item, font_.get())) return TRUE;
      } else if (Control* control = ControlOf(item.hwndItem)) {
        if (control->OnDrawItem(item)) return TRUE;
      }
      break;
    }
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      if (item.CtlType == ODT_MENU && menus_.Measure(item, font_.get())) return TRUE;
      break;
    }
    case WM_INITMENUPOPUP:
      OnMenuPopup(menus_.NameOfSubmenu(reinterpret_cast<HMENU>(wparam)));
      break;
    case WM_SIZE:
      LayOut();
      break;
    case WM_DPICHANGED: {
      const UINT to = LOWORD(wparam);
      if (to != 0 && to != dpi_) Rescale(dpi_, to);
      const RECT& suggested = *reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      LayOut();
      break;
    }
    case WM_CLOSE:
      if (in_modal_) {
        EndModal(IDCANCEL);
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      // Keys pressed on the form itself are the form's (not the dialog
      // navigation's); Tab and the mnemonics still navigate.
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_TIMER:
      if (const auto timer = timers_.find(wparam); timer != timers_.end()) {
        timer->second();
        return 0;
      }
      break;
  }
  // A copy: the handler may replace itself.
  if (const auto found = handlers_.find(message); found != handlers_.end() && message != 0) {
    const MessageHandler handler = found->second;
    return handler(wparam, lparam);
  }
  return OnMessage(message, wparam, lparam);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

void Form::Rescale(UINT from, UINT to) {
  std::vector<HWND> inside;
  ::EnumChildWindows(hwnd(), CollectWindow, reinterpret_cast<LPARAM>(&inside));
  const auto scale = [from, to](LONG value) {
    return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
  };
  for (HWND child : inside) {
    RECT r = {};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right - r.left),
                   scale(r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The old font stays until no window uses it any more.
  win32::UniqueFont old = std::move(font_);
  dpi_ = to;
  MakeFont();
  for (HWND child : inside) {
    if (reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0)) == old.get())
      ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  for (Control* control : order_) control->OnDpiChanged(from, to);
}

LRESULT Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace quill::framework
