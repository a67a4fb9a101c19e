#include "dib/kv_internal_dib.h"

#include "dib/kv_errors.h"

namespace quill::dib {

TKvInternalDIB::TKvInternalDIB() { CreateDIB(1, 1, 8, 2); }

TKvInternalDIB* TKvInternalDIB::Clone(const TKvInternalDIB& source) {
  // The copy is made in full before a body exists, so a failure leaks nothing.
  TDIBInfo info = CopyDIBInfo(source.DIBInfo);
  auto* body = new TKvInternalDIB(NoImage{});
  body->Width = source.Width;
  body->Height = source.Height;
  body->DIBInfo = std::move(info);
  body->PaletteChanged = true;
  return body;
}

void TKvInternalDIB::CreateDIB(std::int32_t width, std::int32_t height, int bit_count, int colors) {
  const bool known_bits = bit_count == 1 || bit_count == 4 || bit_count == 8 || bit_count == 24;
  const std::int64_t abs_height = height < 0 ? -static_cast<std::int64_t>(height) : height;
  const auto size = PixelBlockSize(width, abs_height, bit_count);
  if (width <= 0 || height == 0 || colors < 0 || colors > static_cast<int>(kMaxColors) ||
      !known_bits || !size) {
    throw EKvDIBInvalidDIBPara("TKvInternalDIB.CreateDIB: Invalid Parameters");
  }
  TDIBInfo info;
  info.ImageSize = *size;
  info.Pixels = GetFileMap(static_cast<std::size_t>(*size));
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = static_cast<std::uint16_t>(bit_count);
  info.Header.biClrUsed = static_cast<std::uint32_t>(colors);
  PaletteHandle.reset();
  Width = width;
  Height = static_cast<std::int32_t>(abs_height);
  DIBInfo = std::move(info);
  PaletteChanged = true;
}

void TKvInternalDIB::ReplaceImage(TDIBInfo&& info) {
  FileMap old = std::move(DIBInfo.Pixels);
  PaletteHandle.reset();
  DIBInfo = std::move(info);
  Width = DIBInfo.Header.biWidth;
  Height = DIBInfo.AbsHeight();
  UpdatePalette();
  // The old block goes last and explicitly, so that a failure to release it
  // is reported without leaving the new image half installed.
  old.Release();
}

void TKvInternalDIB::UpdatePalette() {
  if (RefCount != 1) throw EKvDIBAssert("TKvInternalDIB.UpdatePalette: RefCount Must be 1");
  PaletteHandle.reset();
  PaletteChanged = true;
}

}  // namespace quill::dib
