#include "dib/kv_graph.h"

#include "dib/kv_errors.h"
#include "dib/kv_stream.h"

namespace quill::dib {

void TKvGraphic::LoadFromFile(const std::filesystem::path& name) {
  FileStream stream(name, FileStream::Mode::kOpenRead);
  LoadFromStream(stream);
}

void TKvGraphic::SaveToFile(const std::filesystem::path& name) const {
  FileStream stream(name, FileStream::Mode::kCreate);
  SaveToStream(stream);
  stream.Close();
}

namespace {

// Holds the clipboard open for the scope.
class OpenClipboard {
 public:
  enum AlreadyOpen { kAlreadyOpen };
  explicit OpenClipboard(TKvClipboard& clipboard) : clipboard_(clipboard) {
    if (!clipboard_.Open()) throw EClipboardError("Cannot open clipboard");
  }
  OpenClipboard(TKvClipboard& clipboard, AlreadyOpen) : clipboard_(clipboard) {}
  ~OpenClipboard() { clipboard_.Close(); }
  OpenClipboard(const OpenClipboard&) = delete;
  OpenClipboard& operator=(const OpenClipboard&) = delete;

 private:
  TKvClipboard& clipboard_;
};

}  // namespace

void TKvGraphic::Assign(TKvClipboard& clipboard) {
  const OpenClipboard open(clipboard);
  const unsigned format = ClipboardFormat();
  LoadFromClipboardFormat(format, clipboard.GetData(format), clipboard.GetData(kCfPalette),
                          clipboard);
}

void TKvGraphic::AssignTo(TKvClipboard& clipboard) const {
  // The block is made before the clipboard is emptied, so that a lack of
  // memory leaves the clipboard as it was.
  unsigned format = 0;
  ClipboardHandle data = nullptr;
  ClipboardHandle palette = nullptr;
  SaveToClipboardFormat(format, data, palette, clipboard);
  if (!clipboard.Open()) {
    clipboard.GlobalFree(data);
    throw EClipboardError("Cannot open clipboard");
  }
  const OpenClipboard open(clipboard, OpenClipboard::kAlreadyOpen);
  clipboard.Empty();
  if (!clipboard.SetData(format, data)) {
    clipboard.GlobalFree(data);
    throw EClipboardError("Cannot set clipboard data");
  }
  if (palette) clipboard.SetData(kCfPalette, palette);
}

void TKvGraphic::Changed() {
  if (on_change_) on_change_(*this);
}

}  // namespace quill::dib
