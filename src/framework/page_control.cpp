#include "framework/page_control.h"

namespace quill::framework {

void PageControl::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(WC_TABCONTROLW, L"",
                 WS_VISIBLE | WS_CLIPCHILDREN | TCS_OWNERDRAWFIXED | TCS_MULTILINE,
                 // The keyboard navigation goes into the pages.
                 WS_EX_CONTROLPARENT, parent, id, font, {0, 0, 100, 100});
}

void PageControl::AddPage(Container* page, std::wstring caption) {
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  TabCtrl_InsertItem(hwnd(), static_cast<int>(pages_.size()), &item);
  pages_.push_back(page);
  captions_.push_back(std::move(caption));
}

std::vector<std::wstring> PageControl::Items() const { return captions_; }

int PageControl::ActivePage() const { return TabCtrl_GetCurSel(hwnd()); }

void PageControl::SetActivePage(int index) {
  TabCtrl_SetCurSel(hwnd(), index);
  for (std::size_t i = 0; i < pages_.size(); ++i)
    pages_[i]->SetVisible(static_cast<int>(i) == index);
}

void PageControl::LayOutPages() {
  RECT area;
  ::GetClientRect(hwnd(), &area);
  TabCtrl_AdjustRect(hwnd(), FALSE, &area);
  for (Container* page : pages_)
    page->SetBounds({area.left, area.top, area.right - area.left, area.bottom - area.top});
}

bool PageControl::OnNotify(NMHDR* header, LRESULT&) {
  if (header->code != TCN_SELCHANGE) return false;
  SetActivePage(ActivePage());
  return true;
}

bool PageControl::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const int index = static_cast<int>(item.itemID);
  if (!on_draw_tab || index < 0 || index >= static_cast<int>(captions_.size())) return false;
  on_draw_tab(item.hDC, item.rcItem, captions_[index], (item.itemState & ODS_SELECTED) != 0);
  return true;
}

LRESULT PageControl::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = Default(message, wparam, lparam);
  if (message == WM_SIZE) LayOutPages();
  return result;
}

}  // namespace quill::framework
