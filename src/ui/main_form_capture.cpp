// The capture menu: window captures, the fixed-size dialog, the cursor
// drawn into captures and popup composition. The capture itself is the
// capturer's; the window holds the menu's check marks.
#include "framework/dpi.h"
#include "ui/code_page.h"
#include "ui/main_form.h"

namespace quill::ui {
namespace {

constexpr wchar_t kTitle[] = L"Quilleteer";
constexpr int kImageCell = 28;  // the sunken frame of a checked item

}  // namespace

bool TFQuillet::LayeredMode() { return capture::LayeredOverlayShowsScreen(); }

void TFQuillet::MenuCaptureClick(int tag) {
  // A selection still on the screen would be captured: it ends first.
  area_selection_->Cancel();
  capturer_->MenuCaptureClick(tag, ToU16(c_.DelayEdit->Text()));
}

void TFQuillet::MenuAreaClick(int tag) {
  capturer_->MenuAreaClick(tag);
  if (capturer_->FixMode()) {
    const bool accepted = size_form_->ShowModalFor(
        hwnd(), [this](const std::wstring& width, const std::wstring& height) {
          std::u16string error;
          if (capturer_->SetFixSize(ToU16(width), ToU16(height), error)) return true;
          size_form_->ShowError(FromU16(error), kTitle);
          return false;
        });
    if (!accepted) return;
  }
  StartAreaSelection();
}

void TFQuillet::MenuCapCurClick(int tag) {
  const std::int32_t choice = capturer_->MenuCapCurClick(tag);
  // A radio group: only the chosen cursor's item is checked, none for 0.
  for (const std::wstring& name : menus().Children(L"MenuCursor"))
    menus().SetChecked(name, choice != 0 && menus().Tag(name) == choice);
}

void TFQuillet::MenuMenuClick() {
  const bool on = capturer_->MenuMenuClick();
  menus().SetChecked(L"MenuMenu", on);
  menus().SetChecked(L"MenuMenuP", on);
}

void TFQuillet::MenuArrowDrawItem(const framework::MenuItem& item, HDC dc, const RECT& rect,
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

void TFQuillet::StartAreaSelection() { area_selection_->Start(c_.ExpandRG->ItemIndex()); }

}  // namespace quill::ui
