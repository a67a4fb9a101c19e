#include "ui/about_form.h"

#include "framework/dpi.h"
#include "quill_version.h"

namespace quill::ui {
namespace {

constexpr wchar_t kClassName[] = L"TFAbout";
constexpr int kClientWidth = 264;
constexpr int kClientHeight = 124;
// A fixed single border with the system menu as its only button.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

TFAbout::~TFAbout() { DestroyWindowNow(); }

bool TFAbout::Create() {
  if (!CreateCentred(kClassName, L"バージョン情報", kStyle, kClientWidth, kClientHeight))
    return false;
  title_font_.reset(::CreateFontW(-framework::Scaled(16, framework::DpiOf(hwnd())), 0, 0, 0,
                                  FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH, L"ＭＳ Ｐゴシック"));
  using framework::Box;
  // Each label is as wide as the space its left edge leaves, which centres it.
  title_ = &Add<framework::Label>(nullptr, L"Label1", Box{84, 8, 96, 16}, L"Quilleteer");
  ::SendMessageW(title_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(title_font_.get()), FALSE);
  version_ = &Add<framework::Label>(nullptr, L"Label2", Box{98, 26, 68, 13},
                                    L"Version " QUILL_VERSION_WIDE);
  ok_ = &Add<framework::Button>(nullptr, L"OKBtn", Box{94, 91, 75, 25}, L"OK", IDOK);
  ok_->on_click = [this] { EndModal(IDOK); };
  return true;
}

void TFAbout::ShowFor(HWND owner) { ShowModal(owner); }

}  // namespace quill::ui
