#include "bmp_samples.h"

#include <climits>

namespace quill::dib::testing {
namespace {

const char kReadError[] = "Stream read error";
const char kFileType[] = "TKvInternalDIB.LoadFromFile: File type is invalid";
const char kHeaderSize[] = "TKvInternalDIB.LoadFromStream: Invalid Bitmap Header Size";
const char kInfoBits[] = "TKvInternalDIB.LoadFromStream: Invalid BitCout";
const char kCoreBits[] = "TKvInternalDIB.LoadFromStream: Invalid BitCount";
const char kSize[] = "TKvInternalDIB.LoadFromStream: Invalid Width or Height";
const char kCompression[] = "TKvInternalDIB.LoadFromStream: Invalid Compression";
const char kTooLarge[] = "TKvInternalDIB.LoadFromStream: Image Too Large";
const char kMasks[] = "TKvInternalDIB.LoadFromStream: Invalid Masks";

Bytes Cut(Bytes bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

BmpFields Small8() { return PlainImage(8, 3, 2, 4); }

template <class T, class Change>
T With(T value, Change change) {
  change(value);
  return value;
}

BmpFields Fields16(std::vector<std::uint32_t> masks) {
  BmpFields f = PlainImage(16, 3, 2, 0);
  f.compression = masks.empty() ? 0 : 3;
  f.masks = std::move(masks);
  return f;
}

}  // namespace

std::vector<SampleFile> MalformedFiles() {
  std::vector<SampleFile> files;
  auto add = [&](std::string name, Bytes bytes, const char* error) {
    files.push_back({std::move(name) + ".bmp", std::move(bytes), error});
  };
  auto add_fields = [&](std::string name, const BmpFields& f, const char* error) {
    add(std::move(name), BuildBmp(f), error);
  };
  const Bytes good = BuildBmp(Small8());

  // Cut short at every part of the file.
  add("empty", {}, kReadError);
  add("truncated_file_header", Cut(good, 9), kReadError);
  add("truncated_header_size", Cut(good, 16), kReadError);
  add("truncated_info_header", Cut(good, 30), kReadError);
  add("truncated_core_header",
      Cut(BuildBmp(With(Small8(), [](auto& f) { f.header_size = 12; })), 20), kReadError);
  add("truncated_color_table", Cut(good, 54 + 6), kReadError);
  add("truncated_pixels", Cut(good, good.size() - 1), kReadError);
  add("truncated_masks", Cut(BuildBmp(Fields16({0xF800, 0x07E0, 0x001F})), 54 + 8), kReadError);
  add("truncated_rows_16bit", Cut(BuildBmp(Fields16({})), 54 + 8), kReadError);
  add("truncated_rows_32bit", Cut(BuildBmp(PlainImage(32, 2, 2, 0)), 54 + 12), kReadError);

  // Sizes that cannot be: none of them may allocate what they announce.
  add_fields("bf_size_huge", With(Small8(), [](auto& f) { f.bf_size = 0xFFFFFFFF; }), kReadError);
  add_fields("bf_size_past_end", With(Small8(), [](auto& f) { f.bf_size = 54 + 16 + 9; }),
             kReadError);
  add_fields("bf_size_before_table", With(Small8(), [](auto& f) { f.bf_size = 60; }), kReadError);
  // bfSize ends inside the gap before the pixels.
  add_fields("bf_size_before_pixels",
             With(Small8(),
                  [](auto& f) {
                    f.gap = Pattern(6);
                    f.bf_size = 54 + 16 + 4;
                  }),
             kReadError);
  add_fields("bf_size_zero", With(Small8(), [](auto& f) { f.bf_size = 0; }), kReadError);
  add_fields("clr_used_huge", With(Small8(), [](auto& f) { f.clr_used = 0x40000000; }), kReadError);
  add_fields("clr_used_max", With(Small8(), [](auto& f) { f.clr_used = 0xFFFFFFFF; }), kReadError);
  add_fields("rle8_stream_past_end",
             With(Small8(),
                  [](auto& f) {
                    f.compression = 1;
                    f.pixels = {2, 5, 0, 0, 0, 1};
                    f.bf_size = 54 + 16 + 600;
                  }),
             kReadError);
  add_fields("dimensions_too_large_24bit",
             With(PlainImage(24, 1, 1, 0),
                  [](auto& f) {
                    f.width = 65536;
                    f.height = 65536;
                  }),
             kTooLarge);
  add_fields("dimensions_too_large_32bit",
             With(PlainImage(32, 1, 1, 0),
                  [](auto& f) {
                    f.width = 30000;
                    f.height = -30000;
                  }),
             kTooLarge);
  add_fields("width_max", With(Small8(), [](auto& f) { f.width = INT_MAX; }), kTooLarge);
  // stride × height would not even fit 64 bits.
  add_fields("dimensions_overflow_32bit",
             With(PlainImage(32, 1, 1, 0),
                  [](auto& f) {
                    f.width = INT_MAX;
                    f.height = -INT_MAX;
                  }),
             kTooLarge);

  // Header fields out of range.
  add("not_bm", With(good, [](Bytes& b) { b[0] = 'M', b[1] = 'B'; }), kFileType);
  for (std::uint32_t size : {0u, 64u, 108u, 124u, 0xFFFFFFFFu}) {
    add_fields("header_size_" + std::to_string(size),
               With(Small8(), [&](auto& f) { f.header_size = size; }), kHeaderSize);
  }
  for (std::uint16_t bits : {0, 2, 3, 7, 15, 64, 0xFFFF}) {
    add_fields("bit_count_" + std::to_string(bits),
               With(Small8(), [&](auto& f) { f.bit_count = bits; }), kInfoBits);
  }
  for (std::uint16_t bits : {0, 16, 32}) {
    add_fields("core_bit_count_" + std::to_string(bits),
               With(Small8(),
                    [&](auto& f) {
                      f.header_size = 12;
                      f.bit_count = bits;
                    }),
               kCoreBits);
  }
  add_fields("width_zero", With(Small8(), [](auto& f) { f.width = 0; }), kSize);
  add_fields("width_negative", With(Small8(), [](auto& f) { f.width = -3; }), kSize);
  add_fields("width_int_min", With(Small8(), [](auto& f) { f.width = INT_MIN; }), kSize);
  add_fields("height_zero", With(Small8(), [](auto& f) { f.height = 0; }), kSize);
  add_fields("height_int_min", With(Small8(), [](auto& f) { f.height = INT_MIN; }), kSize);
  add_fields("core_width_zero",
             With(Small8(),
                  [](auto& f) {
                    f.header_size = 12;
                    f.width = 0;
                  }),
             kSize);
  add_fields("core_height_zero",
             With(Small8(),
                  [](auto& f) {
                    f.header_size = 12;
                    f.height = 0;
                  }),
             kSize);
  for (auto [bits, compression] : {std::pair{24, 1u},
                                   {24, 3u},
                                   {8, 2u},
                                   {8, 3u},
                                   {4, 1u},
                                   {1, 1u},
                                   {8, 4u},
                                   {8, 5u},
                                   {16, 1u},
                                   {32, 2u},
                                   {16, 6u}}) {
    add_fields("compression_" + std::to_string(compression) + "_" + std::to_string(bits) + "bit",
               With(PlainImage(bits, 3, 2, 0), [c = compression](auto& f) { f.compression = c; }),
               kCompression);
  }

  // Bit fields with a channel of no bits.
  add_fields("mask_red_zero_16bit", Fields16({0, 0x03E0, 0x001F}), kMasks);
  add_fields("mask_green_zero_32bit",
             With(PlainImage(32, 2, 2, 0),
                  [](auto& f) {
                    f.compression = 3;
                    f.masks = {0xFF0000, 0, 0xFF};
                  }),
             kMasks);
  add_fields("mask_blue_zero_16bit", Fields16({0x7C00, 0x03E0, 0}), kMasks);
  return files;
}

std::vector<SampleFile> SeedFiles() {
  std::vector<SampleFile> files;
  auto add = [&](std::string name, const BmpFields& f) {
    files.push_back({std::move(name) + ".bmp", BuildBmp(f), ""});
  };
  for (int bits : {1, 4, 8, 24}) {
    const std::uint32_t entries = bits == 24 ? 0 : (bits == 8 ? 5 : 1u << bits);
    add("plain_" + std::to_string(bits) + "bit", PlainImage(bits, 5, 3, entries));
    add("top_down_" + std::to_string(bits) + "bit", PlainImage(bits, 3, -2, entries));
    add("core_" + std::to_string(bits) + "bit", With(PlainImage(bits, 4, 2, 0), [&](auto& f) {
          f.header_size = 12;
          f.table = Pattern(3 * (bits == 24 ? 0 : 1u << bits), 9);
        }));
  }
  add("plain_16bit", Fields16({}));
  add("bitfields_16bit_565", Fields16({0xF800, 0x07E0, 0x001F}));
  add("plain_32bit", PlainImage(32, 3, 2, 0));
  add("bitfields_32bit", With(PlainImage(32, 3, 2, 2), [](auto& f) {
        f.compression = 3;
        f.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
      }));
  add("rle8", With(PlainImage(8, 4, 2, 3), [](auto& f) {
        f.compression = 1;
        f.pixels = {4, 1, 0, 0, 0, 4, 1, 2, 2, 1, 0, 1};
      }));
  add("rle4", With(PlainImage(4, 5, 2, 16), [](auto& f) {
        f.compression = 2;
        f.pixels = {5, 0x12, 0, 0, 0, 2, 1, 1, 0, 3, 0x34, 0x50, 0, 1};
      }));
  add("clr_used_300", With(PlainImage(8, 2, 2, 300), [](auto& f) { f.table = Pattern(1200); }));
  add("short_pixels", With(PlainImage(24, 4, 4, 0), [](auto& f) { f.pixels.resize(20); }));
  add("gap_before_pixels", With(PlainImage(8, 3, 2, 4), [](auto& f) { f.gap = Pattern(6, 200); }));
  return files;
}

std::string ExpectedErrorsText(const std::vector<SampleFile>& files) {
  std::string text;
  for (const SampleFile& file : files) text += file.name + "\t" + file.error + "\n";
  return text;
}

}  // namespace quill::dib::testing
