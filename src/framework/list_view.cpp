#include "framework/list_view.h"

#include <windowsx.h>

#include <climits>

#include "framework/dpi.h"

namespace quill::framework {

void ListView::Create(HWND parent, UINT id, HFONT font) {
  DWORD style = WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
                LVS_SINGLESEL;
  if (options_.edit_captions) style |= LVS_EDITLABELS;
  CreateWindowAs(WC_LISTVIEWW, L"", style, WS_EX_CLIENTEDGE, parent, id, font, box_);
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
  if (options_.check_boxes) extended = LVS_EX_CHECKBOXES | LVS_EX_DOUBLEBUFFER;
  ListView_SetExtendedListViewStyle(hwnd(), extended);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(columns_[i].caption.c_str());
    column.cx = Scaled(columns_[i].width, DpiOf(hwnd()));
    ListView_InsertColumn(hwnd(), static_cast<int>(i), &column);
  }
}

void ListView::OnDpiChanged(UINT from, UINT to) {
  for (int i = 0; i < static_cast<int>(columns_.size()); ++i) {
    const int width = ListView_GetColumnWidth(hwnd(), i);
    ListView_SetColumnWidth(hwnd(), i,
                            ::MulDiv(width, static_cast<int>(to), static_cast<int>(from)));
  }
}

std::vector<std::wstring> ListView::Items() const {
  std::vector<std::wstring> captions;
  for (const Column& c : columns_) captions.push_back(c.caption);
  return captions;
}

int ListView::Count() const { return ListView_GetItemCount(hwnd()); }
void ListView::Clear() { ListView_DeleteAllItems(hwnd()); }

int ListView::AddRow(const std::wstring& caption, int image) {
  LVITEMW item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = INT_MAX;  // after the last row, without asking how many there are
  item.iImage = image;
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  filling_ = true;  // a new row's initial state is no user's change
  const int row = ListView_InsertItem(hwnd(), &item);
  filling_ = false;
  return row;
}

void ListView::DeleteRow(int row) { ListView_DeleteItem(hwnd(), row); }

std::wstring ListView::SubItem(int row, int column) const {
  wchar_t text[4200] = {};
  ListView_GetItemText(hwnd(), row, column, text, static_cast<int>(std::size(text)));
  return text;
}

std::wstring ListView::Caption(int row) const { return SubItem(row, 0); }

void ListView::SetCaption(int row, const std::wstring& caption) {
  ListView_SetItemText(hwnd(), row, 0, const_cast<wchar_t*>(caption.c_str()));
}

void ListView::SetSubItems(int row, const std::vector<std::wstring>& items) {
  for (std::size_t i = 1; i < columns_.size(); ++i) {
    const std::wstring text = i - 1 < items.size() ? items[i - 1] : L"";
    ListView_SetItemText(hwnd(), row, static_cast<int>(i), const_cast<wchar_t*>(text.c_str()));
  }
}

int ListView::Image(int row) const {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ListView_GetItem(hwnd(), &item);
  return item.iImage;
}

void ListView::SetImage(int row, int image) {
  LVITEMW item = {};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = image;
  ListView_SetItem(hwnd(), &item);
}

bool ListView::Selected(int row) const {
  return (ListView_GetItemState(hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListView::EnsureVisible(int row) { ListView_EnsureVisible(hwnd(), row, FALSE); }

void ListView::SelectOnly(int row) {
  // The list takes one selection at a time: selecting a row lets go of the
  // other by itself. Clearing every row first would cost a pass over all
  // of them per call.
  if (row >= 0 && row < Count()) {
    ListView_SetItemState(hwnd(), row, LVIS_SELECTED, LVIS_SELECTED);
  } else {
    ListView_SetItemState(hwnd(), -1, 0, LVIS_SELECTED);
  }
}

// Only a list that is shown is suspended: letting redrawing go again would
// show a hidden one.
ListView::Filling::Filling(ListView& list)
    : list_(list), suspended_(list.hwnd() && ::IsWindowVisible(list.hwnd())) {
  if (suspended_) ::SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
}

ListView::Filling::~Filling() {
  if (!suspended_ || !list_.hwnd()) return;
  ::SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

bool ListView::Checked(int row) const { return ListView_GetCheckState(hwnd(), row) != FALSE; }

void ListView::SetChecked(int row, bool checked) { ListView_SetCheckState(hwnd(), row, checked); }

int ListView::RowAt(int x, int y) const {
  LVHITTESTINFO hit = {};
  hit.pt = {x, y};
  const int row = ListView_HitTest(hwnd(), &hit);
  return (hit.flags & LVHT_ONITEM) ? row : -1;
}

void ListView::SetSmallImages(HIMAGELIST images) {
  ListView_SetImageList(hwnd(), images, LVSIL_SMALL);
}

bool ListView::OnNotify(NMHDR* header, LRESULT& result) {
  switch (header->code) {
    case LVN_BEGINDRAG:
      if (!options_.drag_rows) return false;
      dragging_ = true;
      ::SetCapture(hwnd());
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      return true;
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (!options_.check_boxes || filling_ || !(change->uChanged & LVIF_STATE)) return false;
      if (((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) == 0) return false;
      // State image 1 is unchecked, 2 checked; 0 while the row is new.
      if ((change->uOldState & LVIS_STATEIMAGEMASK) == 0) return false;
      if (on_check_change)
        on_check_change(change->iItem,
                        (change->uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
      return true;
    }
    case LVN_BEGINLABELEDITW:
      result = options_.edit_captions ? FALSE : TRUE;
      return true;
    case LVN_ENDLABELEDITW: {
      const auto* edit = reinterpret_cast<NMLVDISPINFOW*>(header);
      result = FALSE;
      if (!edit->item.pszText) return true;  // cancelled
      result = TRUE;
      if (on_caption_edited) on_caption_edited(edit->item.iItem, edit->item.pszText);
      return true;
    }
    default:
      return false;
  }
}

LRESULT ListView::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETDLGCODE:
      // Arrows and characters stay in the list, for on_key_down; Tab and
      // the mnemonics go on to the dialog navigation.
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (on_key_down) {
        on_key_down(wparam);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (on_mouse_down) on_mouse_down(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      break;
    case WM_MOUSEMOVE:
      if (dragging_) {
        const bool over = RowAt(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)) >= 0;
        ::SetCursor(::LoadCursorW(nullptr, over ? IDC_ARROW : IDC_NO));
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ::ReleaseCapture();
        if (on_drag_drop) on_drag_drop(RowAt(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)));
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      break;
  }
  return Default(message, wparam, lparam);
}

}  // namespace quill::framework
