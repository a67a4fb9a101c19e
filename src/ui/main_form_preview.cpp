// The preview of the record shown: its text in the memo, its picture in the
// image, and the status line saying what they are.
#include <exception>

#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "dib/kv_draw.h"
#include "platform/clipboard_guards.h"
#include "ui/code_page.h"
#include "ui/main_form.h"
#include "ui/picture_fit.h"

namespace quill::ui {

void TFQuillet::RefreshPreview(core::RecordKind kind) {
  if (collecting_capture_) {
    captured_preview_ = kind;
    return;
  }
  UpdateCounter(recorder_->CurrentNo(), recorder_->RecordCount());
  std::wstring status;
  // Bit tests: a failed read (-1) counts as both.
  if (kind & core::kHasPicture) {
    if (services_.clipboard.IsFormatAvailable(platform::cf::kDib))
      status += BitmapStatus(DrawClipboardBitmap());
    else
      DrawClipboardMetafile();
  }
  // The memo is cleared and filled in one change: each change costs a
  // redraw of its scroll bar.
  // A text just captured is not read from the clipboard a second time.
  std::shared_ptr<const std::string> text;
  if (kind & core::kHasText) {
    text = recorder_->CapturedText(recorder_->CurrentNo(), services_.clipboard.SequenceNumber());
    if (!text) text = std::make_shared<const std::string>(ClipboardAnsiText());
  }
  const std::size_t size = text ? text->size() : 0;
  const std::size_t unshown = ShowMemoText(std::move(text));
  if (kind & core::kHasText) status += TextStatus(size);
  if (unshown > 0) status += PartShownNote(size - unshown);
  // A record with text and picture opens on its text.
  c_.Memo1->SetVisible(kind != core::kHasPicture);
  c_.Image1->SetVisible(kind == core::kHasPicture);
  SetFormattedWriteEnabled((kind & core::kHasText) != 0);
  SetExportEnabled(kind > 0);
  // Copies that could not be recorded stay told.
  if (recorder_->LostChanges() > 0)
    status = LostChangesNote(recorder_->LostChanges()) + L"  " + status;
  c_.StatusBar->SetSimpleText(status);
}

std::optional<BitmapFacts> TFQuillet::DrawClipboardBitmap() {
  if (!services_.clipboard.IsFormatAvailable(platform::cf::kDib)) return std::nullopt;
  std::optional<BitmapFacts> drawn;
  try {
    core::DibClipboard source(services_.clipboard, window_id());
    dib::TKvDIB bitmap;
    bitmap.Assign(source);
    const BitmapFacts facts = {bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPixelFormat()};
    if (facts.width > 0 && facts.height > 0) {
      const framework::Box area = c_.Image1->Bounds();
      const PictureSize fit = FitPicture({facts.width, facts.height}, {area.width, area.height});
      c_.Image1->ClearPicture();
      c_.Image1->DrawOnPicture([&](HDC dc, int, int) {
        dib::StretchDraw(bitmap, dc, dib::TKvRect{0, 0, fit.width, fit.height});
      });
      drawn = facts;
    }
  } catch (const std::exception&) {
    // Shown as an empty picture; the status line tells.
  }
  if (!drawn) c_.Image1->ClearPicture();
  return drawn;
}

void TFQuillet::DrawClipboardMetafile() {
  c_.Image1->ClearPicture();
  platform::ClipboardSession session(services_.clipboard, window_id());
  if (!session.is_open()) return;
  // The clipboard keeps the metafile; it is only played here.
  const auto metafile =
      static_cast<HENHMETAFILE>(services_.clipboard.GetData(platform::cf::kEnhMetafile));
  if (!metafile) return;
  c_.Image1->DrawOnPicture([metafile](HDC dc, int width, int height) {
    const RECT all = {0, 0, width, height};
    ::PlayEnhMetaFile(dc, metafile, &all);
  });
}

}  // namespace quill::ui
