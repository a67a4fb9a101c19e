#pragma once
// KvDIB: the device-independent bitmap. A TKvDIB always holds one body
// (TKvInternalDIB); Assign shares the body, and UniqueDIB gives an object
// its own copy before anything changes pixels or colours.
#include <cstdint>
#include <string>

#include "dib/kv_graph.h"
#include "dib/kv_internal_dib.h"
#include "dib/kv_pixel_format.h"
#include "dib/kv_progress.h"

namespace quill::dib {

class TKvDIB final : public TKvGraphic {
 public:
  static constexpr unsigned kClipboardFormat = 8;  // CF_DIB

  // A new default body (1 × 1, 8 bits, two black entries); quality 0,
  // one-bit colour white, draw mode 0.
  TKvDIB();
  ~TKvDIB() override;

  // Shares `source`'s body and copies its settings; marks the palette
  // modified. Assigning an object to itself changes nothing.
  void Assign(const TKvDIB& source);
  using TKvGraphic::Assign;

  std::int32_t GetWidth() const override;
  std::int32_t GetHeight() const override;
  bool GetEmpty() const override { return false; }
  // The body's palette, made from the colour table on first use; nullptr
  // for an image without colour table.
  PaletteHandle GetPalette() override;

  // Replaces the body by a new one read from `stream`. A failed read leaves
  // the default image and passes the error on.
  void LoadFromStream(Stream& stream) override;
  void SaveToStream(Stream& stream) const override;

  unsigned ClipboardFormat() const override { return kClipboardFormat; }
  // Reads a packed DIB (CF_DIB block). Another format or no data raises
  // EInvalidGraphic "TKvDIB.LoadFromClipboardFormat: Invalid Clipboard
  // Format or No Data"; a failed read leaves the default image and passes
  // the error on. Colours come from the block, never from `palette`.
  void LoadFromClipboardFormat(unsigned format, ClipboardHandle data, ClipboardHandle palette,
                               TKvClipboard& memory) override;
  // Format 8, palette 0, and a new block: info header, biClrUsed entries,
  // ImageSize pixel bytes (compressed ones as they are).
  void SaveToClipboardFormat(unsigned& format, ClipboardHandle& data, ClipboardHandle& palette,
                             TKvClipboard& memory) const override;

  // Makes the body private to this object (a copy when it is shared).
  void UniqueDIB();
  // Passes a palette change of the body on to the graphic's flag. Requires
  // an unshared body, else EKvDIBAssert "TKvDIB.UpdatePaletteModified
  // RefCount Must be 1".
  void UpdatePaletteModified();

  const TKvInternalDIB& InternalDIB() const;
  // The body for a change: UniqueDIB first, so no other object sees it.
  TKvInternalDIB& MutableInternalDIB();

  std::uint8_t ConvertQuality() const { return convert_quality_; }
  void SetConvertQuality(std::uint8_t quality) { convert_quality_ = quality; }
  // 0x00BBGGRR.
  std::uint32_t OneBitColor() const { return one_bit_color_; }
  void SetOneBitColor(std::uint32_t color) { one_bit_color_ = color; }
  std::uint8_t HalfToneDraw() const { return half_tone_draw_; }
  void SetHalfToneDraw(std::uint8_t mode) { half_tone_draw_ = mode; }

  // The format of the current image (never the two halftone targets).
  TKvPixelFormat GetPixelFormat() const;
  // Converts the image in place. The current format returns at once with
  // no change notification; the halftones always convert. On failure the
  // image keeps its content and format and the error is passed on.
  void SetPixelFormat(TKvPixelFormat format);
  // Receives the palette reductions' progress: start, running percentages,
  // end (also after a failure).
  void SetOnProgress(ProgressHandler handler) { on_progress_ = std::move(handler); }

 private:
  // The body, or EKvDIBAssert "<operation>: InternalDIB Should not be Nil".
  TKvInternalDIB& Body(const char* operation) const;
  // Drops the own body reference (freeing an unshared body) and takes `body`.
  void ReplaceInternalDIB(TKvInternalDIB* body);
  void ReleaseInternalDIB();

  void Progress(TProgressStage stage, std::uint8_t percent_done, bool redraw_now);
  // One leaf of a palette reduction done.
  void StepProgress();

  TKvInternalDIB* internal_dib_ = nullptr;
  std::uint8_t convert_quality_ = 0;
  std::uint32_t one_bit_color_ = 0xFFFFFF;
  std::uint8_t half_tone_draw_ = 0;
  // State of the running conversion's progress.
  std::string progress_message_;
  int progress_total_ = 0;
  int progress_done_ = 0;
  ProgressHandler on_progress_;
};

}  // namespace quill::dib
