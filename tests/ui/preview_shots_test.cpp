// Screenshots of the preview as the user sees it after copying a text, a
// bitmap and a drawing.
#include "preview_fixture.h"
#include "window_shots.h"

namespace quill::ui {
namespace {

class PreviewShotsTest : public PreviewTest {
 protected:
  void Shoot(const std::wstring& file_name) {
    ::RedrawWindow(form_->hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    Pump();
    EXPECT_TRUE(SaveWindowShot(form_->hwnd(), file_name));
  }
};

TEST_F(PreviewShotsTest, TextBitmapAndMetafileRecords) {
  Capture({Text(ToAnsi(L"クリップボードの記録\r\nQuilleteer のプレビュー"))});
  Shoot(L"preview_text.bmp");
  EXPECT_TRUE(Memo().Visible());

  Capture({{CF_DIB, GlobalCopy(BandedDib(520, 260))}});
  Shoot(L"preview_bitmap.bmp");
  EXPECT_TRUE(Image().Visible());

  Capture({{CF_ENHMETAFILE, DrawingMetafile()}});
  Shoot(L"preview_metafile.bmp");
  EXPECT_TRUE(Image().Visible());
}

}  // namespace
}  // namespace quill::ui
