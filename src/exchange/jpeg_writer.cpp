#include "exchange/jpeg_writer.h"

#include "dib/kv_errors.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <jpeglib.h>
// jpeglib.h needs <cstdio> before it.
#include <jerror.h>

namespace quill::exchange {
namespace {

// libjpeg's own handler ends the process; this one jumps back to the
// compression with the message number.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void NoOutput(j_common_ptr) {}

// No object with a destructor may live in this frame: a longjmp leaves it.
int Compress(const std::uint8_t* top, std::int64_t stride, std::uint32_t width,
             std::uint32_t height, const JpegOptions& options, unsigned char** out,
             unsigned long* size) {
  jpeg_compress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ErrorExit;
  errors.base.output_message = NoOutput;
  if (setjmp(errors.jump)) {
    const int code = errors.base.msg_code;
    jpeg_destroy_compress(&info);
    return code == 0 ? JERR_BAD_STATE : code;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, options.quality, TRUE);
  if (options.grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  if (options.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg reads the row, it does not write it.
    JSAMPROW row =
        const_cast<JSAMPROW>(top + stride * static_cast<std::int64_t>(info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return 0;
}

}  // namespace

JpegResult CompressBgr(const std::uint8_t* top, std::int64_t stride, std::uint32_t width,
                       std::uint32_t height, const JpegOptions& options) noexcept {
  JpegResult result;
  unsigned char* out = nullptr;
  unsigned long size = 0;
  result.error = Compress(top, stride, width, height, options, &out, &size);
  if (result.error == 0) {
    try {
      result.bytes.assign(out, out + size);
    } catch (const std::bad_alloc&) {
      result.error = JERR_OUT_OF_MEMORY;
    }
  }
  std::free(out);
  return result;
}

JpegResult EncodeJpeg(const dib::TKvDIB& picture, const JpegOptions& options) {
  try {
    dib::TKvDIB wide;
    wide.Assign(picture);
    wide.SetPixelFormat(dib::TKvPixelFormat::kvPf24Bit);
    const dib::TDIBInfo& info = wide.InternalDIB().DIBInfo;
    const std::uint32_t width = static_cast<std::uint32_t>(info.Header.biWidth);
    const std::uint32_t height = static_cast<std::uint32_t>(info.AbsHeight());
    const std::int64_t stride = info.Stride();
    const std::uint8_t* bits = info.Bits();
    // Bottom-up rows are read from the last one in memory upwards.
    if (info.Header.biHeight > 0)
      return CompressBgr(bits + stride * (height - 1), -stride, width, height, options);
    return CompressBgr(bits, stride, width, height, options);
  } catch (const std::bad_alloc&) {
  } catch (const dib::EOutOfMemory&) {
  } catch (const dib::EOutOfResources&) {
  }
  // A picture too large for memory is refused as libjpeg refuses one.
  return {{}, JERR_OUT_OF_MEMORY};
}

}  // namespace quill::exchange
