// The main window's handlers: each hands its work to the recorder or
// changes only what the window shows.
#include "framework/dpi.h"
#include "ui/main_form.h"
#include "ui/record_view.h"

namespace quill::ui {

void TFQuillet::OpenBtnClick() {
  recorder_->OpenBtnClick();
  close_.CloseIfAsked();
}
void TFQuillet::CloseClick() { ::PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void TFQuillet::OnMenuPopup(const std::wstring& menu_name) {
  if (menu_name == L"MenuFile") MenuFileClick();
}

void TFQuillet::MenuFileClick() { menus().SetEnabled(L"MenuDel", recorder_->CurrentNo() > 0); }

void TFQuillet::ListViewMouseDown(int x, int y) {
  if (view_->ListFilling()) return;
  const int row = c_.ListView->RowAt(x, y);
  if (row < 0) return;
  recorder_->SetCurrentNo(row + 1);
  Run([this] { recorder_->MovePosition(false); });
}

void TFQuillet::ListViewDragDrop(int target) {
  Run([this, target] { recorder_->ListViewDragDrop(target + 1); });
}

// Every key pressed in the list or on the bare window ends here, so that
// the list never moves or scrolls by itself; the arrows move between records.
void TFQuillet::MoveKeyDown(WPARAM key) {
  Run([this, key] { recorder_->MoveKeyDown(static_cast<unsigned>(key)); });
}

void TFQuillet::SplitterPanelMouse(UINT message, int, int y) {
  const HWND panel = c_.SplitterPanel->hwnd();
  switch (message) {
    case WM_LBUTTONDOWN:
      ::SetCapture(panel);
      splitter_captured_ = true;
      break;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      ::ReleaseCapture();
      splitter_captured_ = false;
      break;
    case WM_MOUSEMOVE: {
      if (!splitter_captured_ || ::GetCapture() != panel) break;
      framework::ListView& list = *c_.ListView;
      const framework::Box box = list.Bounds();
      const int list_height = box.height + y;
      const int memo_height = c_.Memo1->Bounds().height - y;
      const int least = framework::Scaled(20, framework::DpiOf(panel));
      if (list_height > least && memo_height > least) {
        list.SetBounds({box.x, box.y, box.width, list_height});
        c_.TabSheet1->LayOut();
      }
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (splitter_captured_) ::ReleaseCapture();
      splitter_captured_ = false;
      break;
  }
}

}  // namespace quill::ui
