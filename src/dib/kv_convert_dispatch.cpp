#include "dib/kv_convert_dispatch.h"

#include "dib/kv_convert_one_bit.h"
#include "dib/kv_convert_widen.h"
#include "dib/kv_errors.h"
#include "dib/kv_halftone.h"
#include "dib/kv_reduce.h"
#include "dib/kv_rle.h"

namespace quill::dib {

namespace {

using PF = TKvPixelFormat;

[[noreturn]] void DispatchError() {
  throw EKvDIBAssert("TKvIntenalDIB.SetPixelsFormat: PixelFormat Error");
}

struct Request {
  TKvPixelFormat target;
  std::uint8_t quality;
  const ProgressStep& step;
  std::uint32_t one_bit_color;
};

// From an uncompressed source of format `from` (not the target).
TDIBInfo FromUncompressed(const TDIBInfo& source, PF from, const Request& r) {
  switch (from) {
    case PF::kvPf1Bit:
      switch (r.target) {
        case PF::kvPf4Bit:
          return Convert1BitRGBTo4BitRGB(source);
        case PF::kvPf4BitRLE:
          return Convert4BitRGBTo4BitRLE(Convert1BitRGBTo4BitRGB(source));
        case PF::kvPf8Bit:
          return Convert1BitRGBTo8BitRGB(source);
        case PF::kvPf8BitRLE:
          return Convert8BitRGBTo8BitRLE(Convert1BitRGBTo8BitRGB(source));
        case PF::kvPf24Bit:
          return Convert1BitRGBToTrueColor(source);
        default:
          break;
      }
      break;
    case PF::kvPf4Bit:
      switch (r.target) {
        case PF::kvPf1Bit:
          return Convert4BitRGBTo1BitRGB(source, r.one_bit_color);
        case PF::kvPf4BitRLE:
          return Convert4BitRGBTo4BitRLE(source);
        case PF::kvPf8Bit:
          return Convert4BitRGBTo8BitRGB(source);
        case PF::kvPf8BitRLE:
          return Convert8BitRGBTo8BitRLE(Convert4BitRGBTo8BitRGB(source));
        case PF::kvPf24Bit:
          return Convert4BitRGBToTrueColor(source);
        default:
          break;
      }
      break;
    case PF::kvPf8Bit:
      switch (r.target) {
        case PF::kvPf1Bit:
          return Convert8BitTo1BitRGB(source, r.one_bit_color);
        case PF::kvPf4Bit:
          return Convert8BitRGBTo4BitRGB(source, r.step);
        case PF::kvPf4BitRLE:
          return Convert4BitRGBTo4BitRLE(Convert8BitRGBTo4BitRGB(source, r.step));
        case PF::kvPf8BitRLE:
          return Convert8BitRGBTo8BitRLE(source);
        case PF::kvPf24Bit:
          return Convert8BitRGBToTrueColor(source);
        default:
          break;
      }
      break;
    case PF::kvPf24Bit:
      if (r.target == PF::kvPf1Bit) return ConvertTrueColorTo1BitRGB(source, r.one_bit_color);
      // The High reduction is never selected by this program.
      if (r.quality != 0) break;
      switch (r.target) {
        case PF::kvPf4Bit:
          return ConvertTrueColorTo4BitRGBLow(source, r.step);
        case PF::kvPf4BitRLE:
          return Convert4BitRGBTo4BitRLE(ConvertTrueColorTo4BitRGBLow(source, r.step));
        case PF::kvPf8Bit:
          return ConvertTrueColorTo8BitRGBLow(source, r.step);
        case PF::kvPf8BitRLE:
          return Convert8BitRGBTo8BitRLE(ConvertTrueColorTo8BitRGBLow(source, r.step));
        default:
          break;
      }
      break;
    default:
      break;
  }
  DispatchError();
}

}  // namespace

TDIBInfo ConvertPixelFormat(const TDIBInfo& source, TKvPixelFormat target, std::uint8_t quality,
                            const ProgressStep& step, std::uint32_t one_bit_color) {
  const PF from = GetPixelFormat(source);
  if (target == from || target > PF::kvPfHalfToneBW) DispatchError();
  const Request request{target, quality, step, one_bit_color};

  // An RLE source is decoded first; the decoded image may be the result.
  if (from == PF::kvPf4BitRLE || from == PF::kvPf8BitRLE) {
    const bool four = from == PF::kvPf4BitRLE;
    const PF plain = four ? PF::kvPf4Bit : PF::kvPf8Bit;
    TDIBInfo decoded = four ? Convert4BitRLETo4BitRGB(source) : Convert8BitRLETo8BitRGB(source);
    if (target == plain) return decoded;
    return ConvertPixelFormat(decoded, target, quality, step, one_bit_color);
  }
  if (target == PF::kvPfHalfTone) return ConvertToHalfTone(source);
  if (target == PF::kvPfHalfToneBW) return ConvertToHalfToneBW(source);
  return FromUncompressed(source, from, request);
}

}  // namespace quill::dib
