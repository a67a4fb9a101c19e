#include "framework/tool_bar.h"

#include "framework/dpi.h"

namespace quill::framework {
namespace {
constexpr int kFirstCommand = 1;
}  // namespace

void ToolBar::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(TOOLBARCLASSNAMEW, L"",
                 WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                     CCS_NODIVIDER,
                 0, parent, id, font, {0, 0, 100, height_});
  const HWND bar = hwnd();
  ::SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  PassImages();
  // Hints are the buttons' texts, never shown on the buttons: the tool
  // bar then shows each as its button's tooltip.
  ::SendMessageW(bar, TB_SETMAXTEXTROWS, 0, 0);
  std::vector<TBBUTTON> buttons;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    TBBUTTON b = {};
    b.iBitmap = buttons_[i].image;
    b.idCommand = kFirstCommand + static_cast<int>(i);
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    b.iString = reinterpret_cast<INT_PTR>(buttons_[i].hint.c_str());
    buttons.push_back(b);
  }
  ::SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SizeButtons(DpiOf(bar));
}

void ToolBar::PassImages() {
  ::SendMessageW(hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  if (disabled_images_)
    ::SendMessageW(hwnd(), TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled_images_));
}

void ToolBar::SetImages(HIMAGELIST images, HIMAGELIST disabled_images) {
  images_ = images;
  disabled_images_ = disabled_images;
  PassImages();
  SizeButtons(DpiOf(hwnd()));
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ToolBar::SizeButtons(UINT dpi) {
  ::SendMessageW(hwnd(), TB_SETBUTTONSIZE, 0, MAKELPARAM(Scaled(23, dpi), Scaled(22, dpi)));
}

void ToolBar::OnDpiChanged(UINT, UINT to) { SizeButtons(to); }

bool ToolBar::OnCommand(HWND, UINT command, UINT) {
  const int index = static_cast<int>(command) - kFirstCommand;
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return false;
  if (buttons_[index].on_click) buttons_[index].on_click();
  return true;
}

std::vector<std::wstring> ToolBar::Items() const {
  std::vector<std::wstring> names;
  for (const Button& b : buttons_) names.push_back(b.name);
  return names;
}

int ToolBar::CommandOf(const std::wstring& button) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].name == button) return kFirstCommand + static_cast<int>(i);
  return -1;
}

const std::wstring& ToolBar::Hint(const std::wstring& button) const {
  static const std::wstring none;
  const int command = CommandOf(button);
  return command < 0 ? none : buttons_[command - kFirstCommand].hint;
}

int ToolBar::ImageOf(const std::wstring& button) const {
  TBBUTTONINFOW info = {};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_IMAGE;
  ::SendMessageW(hwnd(), TB_GETBUTTONINFOW, CommandOf(button), reinterpret_cast<LPARAM>(&info));
  return info.iImage;
}

void ToolBar::SetImage(const std::wstring& button, int image) {
  ::SendMessageW(hwnd(), TB_CHANGEBITMAP, CommandOf(button), image);
}

bool ToolBar::ButtonEnabled(const std::wstring& button) const {
  return ::SendMessageW(hwnd(), TB_ISBUTTONENABLED, CommandOf(button), 0) != 0;
}

void ToolBar::SetButtonEnabled(const std::wstring& button, bool enabled) {
  ::SendMessageW(hwnd(), TB_ENABLEBUTTON, CommandOf(button), MAKELPARAM(enabled, 0));
}

bool ToolBar::Down(const std::wstring& button) const {
  return ::SendMessageW(hwnd(), TB_ISBUTTONPRESSED, CommandOf(button), 0) != 0;
}

void ToolBar::SetDown(const std::wstring& button, bool down) {
  ::SendMessageW(hwnd(), TB_PRESSBUTTON, CommandOf(button), MAKELPARAM(down, 0));
}

void ToolBar::Click(const std::wstring& button) {
  const int command = CommandOf(button);
  if (command >= 0 && ButtonEnabled(button)) OnCommand(hwnd(), command, BN_CLICKED);
}

}  // namespace quill::framework
