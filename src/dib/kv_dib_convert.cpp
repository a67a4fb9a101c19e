// TKvDIB's pixel format: classification and in-place conversion.
#include <optional>

#include "dib/kv_convert_dispatch.h"
#include "dib/kv_dib.h"

namespace quill::dib {

namespace {

struct ProgressPlan {
  const char* message;
  int total;
};

// The conversions that reduce through the palette algorithm report
// progress: one step per leaf, 16 for 4 bits and 256 for 8 bits.
std::optional<ProgressPlan> PlanOf(TKvPixelFormat from, TKvPixelFormat to) {
  using PF = TKvPixelFormat;
  if (from == PF::kvPf8Bit || from == PF::kvPf8BitRLE) {
    const bool rle = from == PF::kvPf8BitRLE;
    if (to == PF::kvPf4Bit) {
      return ProgressPlan{rle ? "PixelFormat 8BitRLE -> 4Bit" : "PixelFormat 8Bit -> 4Bit", 16};
    }
    if (to == PF::kvPf4BitRLE) {
      return ProgressPlan{rle ? "PixelFormat 8BitRLE -> 4BitRLE" : "PixelFormat 8Bit -> 4BitRLE",
                          16};
    }
  }
  if (from == PF::kvPf24Bit) {
    switch (to) {
      case PF::kvPf4Bit:
        return ProgressPlan{"PixelFormat 24Bit -> 4Bit", 16};
      case PF::kvPf4BitRLE:
        return ProgressPlan{"PixelFormat 24Bit -> 4BitRLE", 16};
      case PF::kvPf8Bit:
        return ProgressPlan{"PixelFormat 24Bit -> 8Bit", 256};
      case PF::kvPf8BitRLE:
        return ProgressPlan{"PixelFormat 24Bit -> 8BitRLE", 256};
      default:
        break;
    }
  }
  return std::nullopt;
}

}  // namespace

TKvPixelFormat TKvDIB::GetPixelFormat() const {
  return quill::dib::GetPixelFormat(Body("TKvDIB.GetPixelFormat").DIBInfo);
}

void TKvDIB::SetPixelFormat(TKvPixelFormat format) {
  if (format == GetPixelFormat()) return;
  UniqueDIB();
  TKvInternalDIB& body = *internal_dib_;
  const auto plan = PlanOf(quill::dib::GetPixelFormat(body.DIBInfo), format);
  if (plan) {
    progress_message_ = plan->message;
    progress_total_ = plan->total;
    progress_done_ = 0;
    Progress(TProgressStage::psStarting, 0, false);
  }
  const quill::dib::ProgressStep step = [this] { StepProgress(); };
  // The new image is made aside and installed only when complete.
  const auto finish = [&] {
    UpdatePaletteModified();
    if (plan) Progress(TProgressStage::psEnding, 100, true);
  };
  try {
    body.ReplaceImage(
        ConvertPixelFormat(body.DIBInfo, format, ConvertQuality(), step, OneBitColor()));
  } catch (...) {
    finish();
    throw;
  }
  finish();
  UpdatePaletteModified();
  Changed();
}

void TKvDIB::Progress(TProgressStage stage, std::uint8_t percent_done, bool redraw_now) {
  if (!on_progress_) return;
  const TKvRect rect{0, 0, GetWidth(), GetHeight()};
  on_progress_(*this, stage, percent_done, redraw_now, rect, progress_message_);
}

void TKvDIB::StepProgress() {
  ++progress_done_;
  if (progress_done_ == progress_total_) return;
  Progress(TProgressStage::psRunning,
           static_cast<std::uint8_t>(progress_done_ * 100 / progress_total_), false);
}

}  // namespace quill::dib
