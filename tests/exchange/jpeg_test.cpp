// The JPEG files the export writes, decoded again with libjpeg.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
// jpeglib.h needs <cstdio> before it.
#include <jerror.h>

#include "bmp_samples.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"
#include "exchange/jpeg_writer.h"

namespace quill::exchange {
namespace {

struct Decoded {
  int width = 0, height = 0, components = 0;
  bool progressive = false;
  std::vector<std::uint16_t> luma_table;  // natural order
  std::vector<std::uint8_t> pixels;       // rows top down
};

struct Jump {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

bool Decode(const std::vector<std::uint8_t>& bytes, Decoded& out) {
  jpeg_decompress_struct info;
  Jump errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = [](j_common_ptr c) {
    std::longjmp(reinterpret_cast<Jump*>(c->err)->jump, 1);
  };
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  out.width = static_cast<int>(info.image_width);
  out.height = static_cast<int>(info.image_height);
  out.components = info.num_components;
  out.progressive = info.progressive_mode;
  out.luma_table.assign(info.quant_tbl_ptrs[0]->quantval, info.quant_tbl_ptrs[0]->quantval + 64);
  jpeg_start_decompress(&info);
  const std::size_t stride = info.output_width * static_cast<std::size_t>(info.output_components);
  out.pixels.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

// The luminance table libjpeg makes for a quality.
std::vector<std::uint16_t> TableFor(int quality) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  std::vector<std::uint16_t> table(info.quant_tbl_ptrs[0]->quantval,
                                   info.quant_tbl_ptrs[0]->quantval + 64);
  jpeg_destroy_compress(&info);
  return table;
}

// Top half red, bottom half blue, in either row order.
void MakeHalves(dib::TKvDIB& picture, bool top_down) {
  auto& body = picture.MutableInternalDIB();
  body.CreateDIB(17, top_down ? -16 : 16, 24, 0);
  const auto& info = body.DIBInfo;
  for (int y = 0; y < 16; ++y) {
    const bool top = top_down ? y < 8 : y >= 8;
    std::uint8_t* row = info.Bits() + info.Stride() * y;
    for (int x = 0; x < 17; ++x) {
      row[3 * x] = top ? 0 : 255;      // blue
      row[3 * x + 2] = top ? 255 : 0;  // red
    }
  }
}

TEST(EncodeJpeg, KeepsTheRowOrderOfBothKindsOfBitmap) {
  for (bool top_down : {false, true}) {
    dib::TKvDIB picture;
    MakeHalves(picture, top_down);
    const JpegResult result = EncodeJpeg(picture, {100, false, false});
    ASSERT_EQ(result.error, 0);
    Decoded d;
    ASSERT_TRUE(Decode(result.bytes, d));
    ASSERT_EQ(d.width, 17);
    ASSERT_EQ(d.height, 16);
    const std::uint8_t* top = &d.pixels[(2 * 17 + 8) * 3];
    const std::uint8_t* bottom = &d.pixels[(13 * 17 + 8) * 3];
    EXPECT_GT(top[0], 200) << top_down;
    EXPECT_LT(top[2], 60) << top_down;
    EXPECT_LT(bottom[0], 60) << top_down;
    EXPECT_GT(bottom[2], 200) << top_down;
  }
}

TEST(EncodeJpeg, PassesQualityGrayscaleAndProgressiveToTheLibrary) {
  dib::TKvDIB picture;
  MakeHalves(picture, false);
  for (int quality : {1, 75, 100}) {
    Decoded d;
    ASSERT_TRUE(Decode(EncodeJpeg(picture, {quality, false, false}).bytes, d));
    EXPECT_EQ(d.luma_table, TableFor(quality)) << quality;
    EXPECT_EQ(d.components, 3);
    EXPECT_FALSE(d.progressive);
  }
  Decoded gray, progressive;
  ASSERT_TRUE(Decode(EncodeJpeg(picture, {75, true, false}).bytes, gray));
  EXPECT_EQ(gray.components, 1);
  const auto bytes = EncodeJpeg(picture, {75, false, true}).bytes;
  ASSERT_TRUE(Decode(bytes, progressive));
  EXPECT_TRUE(progressive.progressive);
  bool sof2 = false;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    sof2 |= bytes[i] == 0xFF && bytes[i + 1] == 0xC2;
  EXPECT_TRUE(sof2);
}

TEST(EncodeJpeg, TakesEveryBitmapTheLibraryReads) {
  int encoded = 0;
  for (const auto& sample : dib::testing::SeedFiles()) {
    if (!sample.error.empty()) continue;
    SCOPED_TRACE(sample.name);
    dib::TKvDIB picture;
    dib::MemoryStream stream(sample.bytes);
    picture.LoadFromStream(stream);
    std::string widen_error;
    try {
      dib::TKvDIB wide;
      wide.Assign(picture);
      wide.SetPixelFormat(dib::TKvPixelFormat::kvPf24Bit);
    } catch (const dib::Exception& error) {
      widen_error = error.what();
    }
    if (!widen_error.empty()) {
      // Damaged RLE data: the imaging library's own error, not libjpeg's.
      EXPECT_THROW(EncodeJpeg(picture, {}), dib::Exception);
      continue;
    }
    const JpegResult result = EncodeJpeg(picture, {90, false, false});
    ASSERT_EQ(result.error, 0);
    Decoded d;
    ASSERT_TRUE(Decode(result.bytes, d));
    EXPECT_EQ(d.width, picture.GetWidth());
    EXPECT_EQ(d.height, picture.GetHeight());
    ++encoded;
  }
  EXPECT_GE(encoded, 10);
}

TEST(CompressBgr, ReportsTheLibrarysErrorInsteadOfEndingTheProcess) {
  const std::uint8_t row[3 * 4] = {};
  const JpegResult too_big = CompressBgr(row, 0, 70000, 1, {});
  EXPECT_EQ(too_big.error, JERR_IMAGE_TOO_BIG);
  EXPECT_TRUE(too_big.bytes.empty());
  EXPECT_EQ(CompressBgr(row, 0, 4, 1, {0, false, false}).error, 0);  // quality clamps to 1
}

}  // namespace
}  // namespace quill::exchange
