#pragma once
// JPEG compression of a DIB through libjpeg, with the export's options.
#include <cstdint>
#include <vector>

#include "dib/kv_dib.h"

namespace quill::exchange {

struct JpegOptions {
  int quality = 75;  // 1 to 100
  bool grayscale = false;
  bool progressive = false;
};

struct JpegResult {
  std::vector<std::uint8_t> bytes;
  int error = 0;  // libjpeg's message number; 0 on success
};

// Any image the DIB object holds (every depth, palettes, RLE, either row
// order) is widened to 24 bits first. Running out of memory is reported
// as libjpeg's out-of-memory error; a picture the imaging library cannot
// widen (damaged RLE data) raises that library's error.
JpegResult EncodeJpeg(const dib::TKvDIB& picture, const JpegOptions& options);

// The compression itself, of `height` rows of 24-bit blue-green-red pixels
// `stride` bytes apart, the first row at `top` (a negative stride walks
// upwards through a bottom-up image).
JpegResult CompressBgr(const std::uint8_t* top, std::int64_t stride, std::uint32_t width,
                       std::uint32_t height, const JpegOptions& options) noexcept;

}  // namespace quill::exchange
