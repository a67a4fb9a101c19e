// The preview of the record shown: its text in the memo, its picture in the
// image, and the status line saying what they are.
#include <exception>

#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "dib/kv_draw.h"
#include "platform/clipboard_guards.h"
#include "ui/picture_fit.h"
#include "ui/record_preview.h"

namespace quill::ui {

void RecordPreview::Show(core::RecordKind kind, std::shared_ptr<const std::string> text,
                         int lost_changes) {
  const MainControls& c = parts_.controls;
  std::wstring status;
  // Bit tests: a failed read (-1) counts as both.
  if (kind & core::kHasPicture) {
    if (parts_.clipboard.IsFormatAvailable(platform::cf::kDib))
      status += BitmapStatus(DrawClipboardBitmap());
    else
      DrawClipboardMetafile();
  }
  // The memo is cleared and filled in one change: each change costs a
  // redraw of its scroll bar.
  if (kind & core::kHasText) {
    if (!text) text = std::make_shared<const std::string>(ClipboardAnsiText());
  } else {
    text.reset();
  }
  const std::size_t size = text ? text->size() : 0;
  const std::size_t unshown = ShowMemoText(std::move(text));
  if (kind & core::kHasText) status += TextStatus(size);
  if (unshown > 0) status += PartShownNote(size - unshown);
  // A record with text and picture opens on its text.
  c.Memo1->SetVisible(kind != core::kHasPicture);
  c.Image1->SetVisible(kind == core::kHasPicture);
  SetFormattedWriteEnabled((kind & core::kHasText) != 0);
  SetExportEnabled(kind > 0);
  // Copies that could not be recorded stay told.
  if (lost_changes > 0) status = LostChangesNote(lost_changes) + L"  " + status;
  c.StatusBar->SetSimpleText(status);
}

void RecordPreview::ShowNoRecord() {
  parts_.controls.Image1->SetVisible(false);
  ShowLine(L"");
  parts_.controls.Memo1->SetVisible(true);
}

void RecordPreview::Hide() {
  parts_.controls.Memo1->SetVisible(false);
  parts_.controls.Image1->SetVisible(false);
}

void RecordPreview::SetFormattedWriteEnabled(bool enabled) {
  parts_.controls.ToolBar1->SetButtonEnabled(L"CopyBtn", enabled);
  parts_.form.menus().SetEnabled(L"MenuConv", enabled);
}

void RecordPreview::SetExportEnabled(bool enabled) {
  parts_.controls.ToolBar1->SetButtonEnabled(L"ExportBtn", enabled);
  parts_.form.menus().SetEnabled(L"MenuSave", enabled);
}

std::optional<BitmapFacts> RecordPreview::DrawClipboardBitmap() {
  if (!parts_.clipboard.IsFormatAvailable(platform::cf::kDib)) return std::nullopt;
  std::optional<BitmapFacts> drawn;
  try {
    core::DibClipboard source(parts_.clipboard, window_id());
    dib::TKvDIB bitmap;
    bitmap.Assign(source);
    const BitmapFacts facts = {bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetPixelFormat()};
    if (facts.width > 0 && facts.height > 0) {
      const framework::Box area = parts_.controls.Image1->Bounds();
      const PictureSize fit = FitPicture({facts.width, facts.height}, {area.width, area.height});
      parts_.controls.Image1->ClearPicture();
      parts_.controls.Image1->DrawOnPicture([&](HDC dc, int, int) {
        dib::StretchDraw(bitmap, dc, dib::TKvRect{0, 0, fit.width, fit.height});
      });
      drawn = facts;
    }
  } catch (const std::exception&) {
    // Shown as an empty picture; the status line tells.
  }
  if (!drawn) parts_.controls.Image1->ClearPicture();
  return drawn;
}

void RecordPreview::DrawClipboardMetafile() {
  parts_.controls.Image1->ClearPicture();
  platform::ClipboardSession session(parts_.clipboard, window_id());
  if (!session.is_open()) return;
  // The clipboard keeps the metafile; it is only played here.
  const auto metafile =
      static_cast<HENHMETAFILE>(parts_.clipboard.GetData(platform::cf::kEnhMetafile));
  if (!metafile) return;
  parts_.controls.Image1->DrawOnPicture([metafile](HDC dc, int width, int height) {
    const RECT all = {0, 0, width, height};
    ::PlayEnhMetaFile(dc, metafile, &all);
  });
}

}  // namespace quill::ui
