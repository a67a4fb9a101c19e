#include "framework/controls.h"

#include <algorithm>

#include "framework/window.h"

namespace quill::framework {

void Label::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(L"STATIC", caption_, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, parent, id, font,
                 box_);
}

// --- Edit ---

void Edit::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(L"EDIT", text_, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent,
                 id, font, box_);
  if (max_length_ > 0) ::SendMessageW(hwnd(), EM_LIMITTEXT, max_length_, 0);
}

LRESULT Edit::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CHAR && key_filter && !key_filter(static_cast<wchar_t>(wparam))) return 0;
  return Default(message, wparam, lparam);
}

bool Edit::OnCommand(HWND, UINT, UINT code) {
  if (code != EN_CHANGE || !on_change) return false;
  on_change();
  return true;
}

// --- Memo ---

namespace {

constexpr DWORD kMemoStyle =
    WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL;

// Line `index` of an edit control as it wraps it; empty past the last.
std::wstring EditLine(HWND edit, int index) {
  const int start = static_cast<int>(::SendMessageW(edit, EM_LINEINDEX, index, 0));
  if (start < 0) return {};
  const int length = static_cast<int>(::SendMessageW(edit, EM_LINELENGTH, start, 0));
  std::wstring line(static_cast<std::size_t>(std::max(length, 1)) + 1, L'\0');
  *reinterpret_cast<WORD*>(line.data()) = static_cast<WORD>(line.size());
  const int copied = static_cast<int>(
      ::SendMessageW(edit, EM_GETLINE, index, reinterpret_cast<LPARAM>(line.data())));
  line.resize(static_cast<std::size_t>(std::min(copied, length)));
  return line;
}

}  // namespace

void Memo::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(L"EDIT", L"", WS_VISIBLE | kMemoStyle, WS_EX_CLIENTEDGE, parent, id, font,
                 {0, 0, 100, 100});
  // No limit but memory: records can hold long texts.
  ::SendMessageW(hwnd(), EM_LIMITTEXT, 0, 0);
}

std::vector<std::wstring> Memo::Lines() const {
  std::vector<std::wstring> lines;
  const int count = static_cast<int>(::SendMessageW(hwnd(), EM_GETLINECOUNT, 0, 0));
  for (int i = 0; i < count; ++i) lines.push_back(Line(i));
  return lines;
}

void Memo::SetText(const std::wstring& text) {
  // A shown control redraws parts of itself at once on every change of
  // text, whatever WM_SETREDRAW says, at about ten times the cost of the
  // change. It is marked hidden for the change, as suspending redrawing
  // marks a window, and drawn once afterwards. The mark is the style bit
  // alone: hiding the control for real would uncover what lies behind it.
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd(), GWL_STYLE);
  const bool marked = (style & WS_VISIBLE) != 0;
  if (marked) ::SetWindowLongPtrW(hwnd(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  Control::SetText(text);
  if (!marked) return;
  ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) | WS_VISIBLE);
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
}

std::wstring Memo::Line(int index) const { return EditLine(hwnd(), index); }

std::vector<std::wstring> Memo::FirstLinesOf(const std::vector<std::wstring>& texts) const {
  RECT format = {};
  ::SendMessageW(hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const HDC dc = ::GetDC(hwnd());
  const HGDIOBJ old_font =
      ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)));
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc, &metrics);
  // A line narrower than this by a character is not wrapped.
  const LONG room = format.right - format.left - metrics.tmAveCharWidth;
  std::vector<std::wstring> lines;
  for (const std::wstring& text : texts) {
    const std::size_t end = text.find_first_of(L"\r\n");
    const std::wstring line = text.substr(0, end);
    const bool plain_break = end == std::wstring::npos || text.compare(end, 2, L"\r\n") == 0;
    const bool plain_characters =
        std::none_of(line.begin(), line.end(), [](wchar_t c) { return c < L' '; });
    SIZE extent = {};
    if (plain_break && plain_characters &&
        ::GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &extent) &&
        extent.cx < room) {
      lines.push_back(line);
    } else {
      lines.push_back(TwinFirstLine(text));
    }
  }
  ::SelectObject(dc, old_font);
  ::ReleaseDC(hwnd(), dc);
  return lines;
}

std::wstring Memo::TwinFirstLine(const std::wstring& text) const {
  RECT shown = {};
  ::GetWindowRect(hwnd(), &shown);
  if (!twin_) {
    twin_.reset(::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kMemoStyle, 0, 0, 0, 0,
                                  HWND_MESSAGE, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!twin_) return {};
    ::SendMessageW(twin_.get(), EM_LIMITTEXT, 0, 0);
  }
  ::SendMessageW(twin_.get(), WM_SETFONT, ::SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
  ::SetWindowPos(twin_.get(), nullptr, 0, 0, shown.right - shown.left, shown.bottom - shown.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  ::SetWindowTextW(twin_.get(), text.c_str());
  return EditLine(twin_.get(), 0);
}

// --- CheckBox ---

void CheckBox::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(L"BUTTON", caption_, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, parent, id,
                 font, box_);
}

bool CheckBox::OnCommand(HWND, UINT, UINT code) {
  if (code != BN_CLICKED) return false;
  if (on_click) on_click();
  return true;
}

bool CheckBox::Checked() const { return ::SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  ::SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// --- Button ---

void Button::Create(HWND parent, UINT id, HFONT font) {
  const DWORD kind = dialog_id_ == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  CreateWindowAs(L"BUTTON", caption_, WS_VISIBLE | WS_TABSTOP | kind, 0, parent,
                 dialog_id_ ? static_cast<UINT>(dialog_id_) : id, font, box_);
}

bool Button::OnCommand(HWND, UINT, UINT code) {
  if (code != BN_CLICKED) return false;
  if (on_click) on_click();
  return true;
}

// --- RadioGroup ---

RadioGroup::~RadioGroup() {
  // A frame still alive means the parent is, and with it the buttons.
  if (hwnd())
    for (HWND button : buttons_) ::DestroyWindow(button);
}

void RadioGroup::Create(HWND parent, UINT id, HFONT font) {
  // A group box does not pass its children's notifications on; the
  // buttons are siblings placed over it instead. The system finds a
  // radio group in the window order: from a window with WS_GROUP to the
  // next one. New windows go below their siblings, so the buttons are made
  // first, in order, and the frame after them closes the group with its
  // own WS_GROUP; it also lies beneath them, so they are drawn over it.
  const int text_height = 12;
  const int count = static_cast<int>(items_.size());
  const int per_column = std::max(1, (count + columns_ - 1) / columns_);
  const int width = (box_.width - 10) / columns_;
  const int free_height = box_.height - text_height - 5;
  const int height = free_height / per_column;
  const int top_margin = text_height + 1 + (free_height % per_column) / 2;
  for (int i = 0; i < count; ++i) {
    const int x = box_.x + (i / per_column) * width + 8;
    const int y = box_.y + (i % per_column) * height + top_margin;
    const Box place = ScaledFor(parent, {x, y, width, height});
    const HWND button = ::CreateWindowExW(
        0, L"BUTTON", items_[i].c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0),
        place.x, place.y, place.width, place.height, parent,
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    buttons_.push_back(button);
  }
  // The frame is the control.
  CreateWindowAs(L"BUTTON", caption_, WS_VISIBLE | WS_GROUP | BS_GROUPBOX, WS_EX_CONTROLPARENT,
                 parent, id, font, box_);
  SetItemIndex(index_);
}

bool RadioGroup::OnCommand(HWND source, UINT, UINT code) {
  if (code != BN_CLICKED) return false;
  const auto found = std::find(buttons_.begin(), buttons_.end(), source);
  if (found == buttons_.end()) return false;
  index_ = static_cast<int>(found - buttons_.begin());
  MarkTabStop();
  if (on_click) on_click();
  return true;
}

void RadioGroup::SetItemIndex(int index) {
  index_ = index;
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    ::SendMessageW(buttons_[i], BM_SETCHECK,
                   static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED, 0);
  MarkTabStop();
}

void RadioGroup::MarkTabStop() {
  // Tab comes into the group at the chosen button (the first if none is).
  const int stop = index_ >= 0 && index_ < static_cast<int>(buttons_.size()) ? index_ : 0;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const LONG_PTR style = ::GetWindowLongPtrW(buttons_[i], GWL_STYLE);
    ::SetWindowLongPtrW(buttons_[i], GWL_STYLE,
                        static_cast<int>(i) == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

// --- GroupBox ---

void GroupBox::Create(HWND parent, UINT id, HFONT font) {
  // The container draws the frame itself, beneath its children.
  group_caption = caption_;
  Container::Create(parent, id, font);
}

// --- TrackBar ---

void TrackBar::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(TRACKBAR_CLASSW, L"", WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 0,
                 parent, id, font, box_);
  ::SendMessageW(hwnd(), TBM_SETRANGE, FALSE, MAKELPARAM(min_, max_));
  ::SendMessageW(hwnd(), TBM_SETTICFREQ, frequency_, 0);
  ::SendMessageW(hwnd(), TBM_SETPOS, TRUE, position_);
}

void TrackBar::OnScroll(HWND) {
  if (on_change) on_change();
}

int TrackBar::Position() const {
  return static_cast<int>(::SendMessageW(hwnd(), TBM_GETPOS, 0, 0));
}

void TrackBar::SetPosition(int position) { ::SendMessageW(hwnd(), TBM_SETPOS, TRUE, position); }

// --- UpDown ---

void UpDown::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(UPDOWN_CLASSW, L"", WS_VISIBLE | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                 0, parent, id, font, box_);
  ::SendMessageW(hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy_.hwnd()), 0);
  ::SendMessageW(hwnd(), UDM_SETRANGE32, min_, max_);
  ::SendMessageW(hwnd(), UDM_SETPOS32, 0, position_);
  SetBounds(box_);  // setting the buddy may move it
}

void UpDown::OnScroll(HWND) {
  if (on_click) on_click();
}

int UpDown::Position() const {
  return static_cast<int>(::SendMessageW(hwnd(), UDM_GETPOS32, 0, 0));
}

void UpDown::SetPosition(int position) { ::SendMessageW(hwnd(), UDM_SETPOS32, 0, position); }

// --- StatusBar ---

void StatusBar::Create(HWND parent, UINT id, HFONT font) {
  CreateWindowAs(STATUSCLASSNAMEW, L"",
                 WS_VISIBLE | CCS_NORESIZE | CCS_NOPARENTALIGN | SBARS_SIZEGRIP, 0, parent, id,
                 font, {0, 0, 100, height_});
  ::SendMessageW(hwnd(), SB_SIMPLE, TRUE, 0);
}

void StatusBar::SetSimpleText(const std::wstring& text) {
  ::SendMessageW(hwnd(), SB_SETTEXTW, 255, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring StatusBar::SimpleText() const {
  // Read back as part 0: a simple status bar answers with its simple text
  // there, while some implementations refuse the index it was set with.
  const auto length = LOWORD(::SendMessageW(hwnd(), SB_GETTEXTLENGTHW, 0, 0));
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  ::SendMessageW(hwnd(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
  text.resize(length);
  return text;
}

// --- ImageView ---

void ImageView::Create(HWND parent, UINT id, HFONT font) {
  constexpr wchar_t kClassName[] = L"QuilleteerImage";
  win32::EnsureWindowClass(kClassName, ::DefWindowProcW,
                           reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                           ::LoadCursorW(nullptr, IDC_ARROW));
  CreateWindowAs(kClassName, L"", 0, 0, parent, id, font, {0, 0, 100, 100});
}

void ImageView::SetPicture(win32::UniqueBitmap bitmap) {
  picture_ = std::move(bitmap);
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageView::ClearPicture() {
  RECT client = {};
  ::GetClientRect(hwnd(), &client);
  win32::UniqueBitmap blank;
  if (client.right > 0 && client.bottom > 0) {
    win32::WindowDC screen(nullptr);
    blank.reset(::CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
  }
  SetPicture(std::move(blank));
  DrawOnPicture([](HDC dc, int width, int height) {
    const RECT all = {0, 0, width, height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  });
}

void ImageView::DrawOnPicture(const std::function<void(HDC dc, int width, int height)>& draw) {
  if (!picture_) return;
  BITMAP info = {};
  ::GetObjectW(picture_.get(), sizeof info, &info);
  {
    win32::WindowDC screen(nullptr);
    win32::MemoryDC memory(screen.get());
    win32::ScopedSelectObject select(memory.get(), picture_.get());
    draw(memory.get(), info.bmWidth, info.bmHeight);
  }
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ImageView::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != WM_PAINT) return Default(message, wparam, lparam);
  win32::PaintDC paint(hwnd());
  const HDC dc = paint.get();
  RECT client;
  ::GetClientRect(hwnd(), &client);
  ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
  if (picture_) {
    BITMAP info = {};
    ::GetObjectW(picture_.get(), sizeof info, &info);
    win32::MemoryDC memory(dc);
    win32::ScopedSelectObject select(memory.get(), picture_.get());
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
  }
  return 0;
}

}  // namespace quill::framework
