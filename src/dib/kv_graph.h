#pragma once
// KvGraph: the graphic base of the library's images. It keeps what the
// windows' picture holders rely on (size, palette, change notification,
// the palette-modified flag, streaming and files) and adds the one
// clipboard format a class reads and writes.
#include <cstdint>
#include <filesystem>
#include <functional>

#include "dib/kv_clipboard.h"
#include "dib/kv_palette.h"

namespace quill::dib {

class Stream;

class TKvGraphic {
 public:
  using ChangeHandler = std::function<void(TKvGraphic&)>;

  TKvGraphic() = default;
  virtual ~TKvGraphic() = default;
  TKvGraphic(const TKvGraphic&) = delete;
  TKvGraphic& operator=(const TKvGraphic&) = delete;

  virtual std::int32_t GetWidth() const = 0;
  virtual std::int32_t GetHeight() const = 0;
  virtual bool GetEmpty() const = 0;
  // The palette to realise when drawing; owned by the graphic; nullptr if none.
  virtual PaletteHandle GetPalette() = 0;

  virtual void LoadFromStream(Stream& stream) = 0;
  virtual void SaveToStream(Stream& stream) const = 0;
  // Open a file stream and call the stream operations.
  void LoadFromFile(const std::filesystem::path& name);
  void SaveToFile(const std::filesystem::path& name) const;

  // The clipboard format this class reads and writes.
  virtual unsigned ClipboardFormat() const = 0;
  // Replaces the image by the clipboard's data of `format`; `memory` locks
  // the block. The palette handle may be ignored.
  virtual void LoadFromClipboardFormat(unsigned format, ClipboardHandle data,
                                       ClipboardHandle palette, TKvClipboard& memory) = 0;
  // A new block (owned by the caller) holding the image in `format`;
  // `palette` is 0 unless a palette goes with it.
  virtual void SaveToClipboardFormat(unsigned& format, ClipboardHandle& data,
                                     ClipboardHandle& palette, TKvClipboard& memory) const = 0;

  // Loads the clipboard's ClipboardFormat data (and palette) with the
  // clipboard open; it is closed again also when the load fails. A
  // clipboard that cannot be opened raises EClipboardError.
  void Assign(TKvClipboard& clipboard);
  // Makes the image the clipboard's only content: open, empty, hand over
  // the block (and the palette when there is one), close. Raises
  // EClipboardError when the clipboard cannot be opened or refuses the
  // data; a refused block is freed.
  void AssignTo(TKvClipboard& clipboard) const;

  bool PaletteModified() const { return palette_modified_; }
  void SetPaletteModified(bool modified) { palette_modified_ = modified; }
  void SetOnChange(ChangeHandler handler) { on_change_ = std::move(handler); }

 protected:
  // The change notification.
  void Changed();

 private:
  bool palette_modified_ = false;
  ChangeHandler on_change_;
};

}  // namespace quill::dib
