#pragma once
// The body of a DIB: pixel memory, header and colour table, shared by
// reference count between the TKvDIB objects that show the same image.
#include <cstddef>
#include <cstdint>

#include "dib/kv_dib_info.h"
#include "dib/kv_palette.h"

namespace quill::dib {

class Stream;

class TKvInternalDIB {
 public:
  // The default image: CreateDIB(1, 1, 8, 2), one zero pixel, two black
  // table entries.
  TKvInternalDIB();
  TKvInternalDIB(const TKvInternalDIB&) = delete;
  TKvInternalDIB& operator=(const TKvInternalDIB&) = delete;

  // A private copy of `source`: same sizes and description, its own pixel
  // block with the same bytes, no palette handle, RefCount 1.
  static TKvInternalDIB* Clone(const TKvInternalDIB& source);

  // Replaces the image by a blank one. Requires width > 0, height ≠ 0 (its
  // sign is the row order), 0 ≤ colors ≤ 256, bit count 1, 4, 8 or 24, and a
  // block within kMaxImageSize; else EKvDIBInvalidDIBPara
  // "TKvInternalDIB.CreateDIB: Invalid Parameters".
  void CreateDIB(std::int32_t width, std::int32_t height, int bit_count, int colors);

  // Reads a bitmap file. The current image stays until the new one is
  // complete; on failure the new pixel block is released.
  void LoadFromStream(Stream& stream);
  // Writes a bitmap file: 14-byte file header, info header, biClrUsed
  // entries, then the ImageSize pixel bytes (compressed ones as they are).
  void SaveToStream(Stream& stream) const;

  // Reads a packed DIB (the clipboard's CF_DIB block): header, masks,
  // colour table, pixels up to the end of the block. Every length is
  // checked against `size`; the current image stays until the new one is
  // complete.
  void LoadFromPackedDIB(const std::uint8_t* block, std::size_t size);
  // Bytes of the packed DIB WritePackedDIB writes: 40 + 4·biClrUsed + ImageSize.
  std::size_t PackedDIBSize() const;
  // Writes the info header, biClrUsed entries and the pixel block
  // (compressed ones as they are) to `block`, PackedDIBSize() bytes.
  void WritePackedDIB(std::uint8_t* block) const;

  // Takes `info` as the image: releases the old pixels and palette, sets
  // Width and Height from the header, then UpdatePalette.
  void ReplaceImage(TDIBInfo&& info);

  // Drops the palette handle and marks the palette changed. Requires
  // RefCount 1, else EKvDIBAssert "TKvInternalDIB.UpdatePalette: RefCount
  // Must be 1".
  void UpdatePalette();

  // Number of TKvDIB objects sharing the body; 1 at creation.
  std::int32_t RefCount = 1;
  // biWidth, and the absolute value of biHeight.
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // Made from the colour table on demand; owned here.
  LogicalPalette PaletteHandle;
  TDIBInfo DIBInfo;
  // Set by every change of colours or pixels not yet reported to the graphic.
  bool PaletteChanged = false;

 private:
  struct NoImage {};
  explicit TKvInternalDIB(NoImage) {}
};

}  // namespace quill::dib
