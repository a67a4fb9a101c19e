#include "framework/container.h"

#include <windowsx.h>

#include "framework/window.h"
#include "win32/handles.h"

namespace quill::framework {
namespace {

constexpr wchar_t kClassName[] = L"QuilleteerContainer";

bool IsForwarded(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return true;
    default:
      return false;
  }
}

}  // namespace

void Container::Create(HWND parent, UINT id, HFONT font) {
  win32::EnsureWindowClass(kClassName, ::DefWindowProcW,
                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           ::LoadCursorW(nullptr, IDC_ARROW));
  font_ = font;
  CreateWindowAs(kClassName, caption_, WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent,
                 id, font, box_);
}

void Container::LayOut() {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  LayOutAligned(children_, client);
}

LRESULT Container::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  if (IsForwarded(message))
    return ::SendMessageW(::GetAncestor(hwnd(), GA_ROOT), message, wparam, lparam);
  switch (message) {
    // The plain window class keeps no font: the caption is painted in the
    // one kept here, which a change of scale replaces like every other
    // control's.
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam)) ::InvalidateRect(hwnd(), nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_SETCURSOR:
      if (cursor && LOWORD(lparam) == HTCLIENT) {
        ::SetCursor(cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (on_mouse) {
        on_mouse(message, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        return 0;
      }
      break;
    case WM_PAINT:
      if (!group_caption.empty() || draw_caption) {
        PaintCaption();
        return 0;
      }
      break;
  }
  return Default(message, wparam, lparam);
}

void Container::PaintCaption() {
  // Both kinds paint the face, then their caption in the form font.
  win32::PaintDC paint(hwnd());
  const HDC dc = paint.get();
  RECT r;
  ::GetClientRect(hwnd(), &r);
  ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  win32::ScopedSelectObject font(dc, font_);
  ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
  if (!group_caption.empty()) {
    SIZE text = {};
    ::GetTextExtentPoint32W(dc, group_caption.c_str(), static_cast<int>(group_caption.size()),
                            &text);
    RECT frame = {r.left, r.top + text.cy / 2, r.right, r.bottom};
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::TextOutW(dc, r.left + 8, r.top, group_caption.c_str(),
               static_cast<int>(group_caption.size()));
  } else {
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, caption_.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace quill::framework
