#include "capture/size_form.h"

#include "framework/dpi.h"

namespace quill::capture {
namespace {

constexpr wchar_t kClassName[] = L"TFSize";
constexpr int kClientWidth = 158;
constexpr int kClientHeight = 98;
// A fixed single border and a caption, with no title-bar buttons.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;

}  // namespace

TFSize::~TFSize() { DestroyWindowNow(); }

bool TFSize::Create() {
  if (!CreateCentred(kClassName, L"サイズ指定", kStyle, kClientWidth, kClientHeight)) return false;
  using framework::Box;
  Add<framework::Label>(nullptr, L"Label1", Box{16, 16, 32, 14}, L"幅");
  w_edit_ = &Add<framework::Edit>(nullptr, L"WEdit", Box{56, 12, 81, 20}, L"32", 4);
  Add<framework::Label>(nullptr, L"Label2", Box{16, 42, 32, 14}, L"高さ");
  h_edit_ = &Add<framework::Edit>(nullptr, L"HEdit", Box{56, 38, 81, 20}, L"32", 4);
  ok_ = &Add<framework::Button>(nullptr, L"OKBtn", Box{8, 68, 68, 24}, L"OK", IDOK);
  cancel_ =
      &Add<framework::Button>(nullptr, L"CancelBTn", Box{82, 68, 68, 24}, L"キャンセル", IDCANCEL);
  ok_->on_click = [this] {
    if (accept_ && accept_(w_edit_->Text(), h_edit_->Text())) EndModal(IDOK);
  };
  cancel_->on_click = [this] { EndModal(IDCANCEL); };
  return true;
}

bool TFSize::ShowModalFor(
    HWND owner,
    const std::function<bool(const std::wstring& width, const std::wstring& height)>& accept) {
  accept_ = accept;
  const int result = ShowModal(owner);
  accept_ = nullptr;
  return result == IDOK;
}

}  // namespace quill::capture
