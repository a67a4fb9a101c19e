// Reading and writing bitmap files, in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "dib/kv_dib_header.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

TRGBQuad Quad(const Bytes& table, std::size_t i, int entry_size = 4) {
  const std::uint8_t* e = table.data() + i * entry_size;
  return {e[0], e[1], e[2], entry_size == 4 ? e[3] : std::uint8_t{0}};
}

struct DepthCase {
  int bits;
  std::int32_t height;
};

class EveryDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(EveryDepth, LoadsAsStoredAndSavesTheSameBytes) {
  const auto [bits, height] = GetParam();
  const std::uint32_t entries = bits == 24 ? 0 : bits == 8 ? 7 : 1u << bits;
  BmpFields fields = PlainImage(bits, 5, height, entries);
  fields.x_pels = 2835;
  fields.y_pels = -1;
  fields.clr_important = 3;
  const Bytes file = BuildBmp(fields);

  TKvDIB dib;
  Load(dib, file);
  EXPECT_EQ(dib.GetWidth(), 5);
  EXPECT_EQ(dib.GetHeight(), 3);
  const TDIBInfo& info = Info(dib);
  EXPECT_EQ(info.Header.biHeight, height) << "row order kept";
  EXPECT_EQ(info.Header.biBitCount, bits);
  EXPECT_EQ(info.Header.biClrUsed, entries);
  for (std::uint32_t i = 0; i < entries; ++i) EXPECT_EQ(info.ColorTable[i], Quad(fields.table, i));
  EXPECT_EQ(Pixels(dib), fields.pixels);
  EXPECT_EQ(Save(dib), file);
}

INSTANTIATE_TEST_SUITE_P(BitmapFile, EveryDepth,
                         ::testing::Values(DepthCase{1, 3}, DepthCase{4, 3}, DepthCase{8, 3},
                                           DepthCase{24, 3}, DepthCase{1, -3}, DepthCase{4, -3},
                                           DepthCase{8, -3}, DepthCase{24, -3}),
                         [](const auto& info) {
                           return std::to_string(info.param.bits) + "bit" +
                                  (info.param.height < 0 ? "TopDown" : "BottomUp");
                         });

TEST(BitmapFile, ZeroColorsUsedMeansTheFullTableOfTheBitCount) {
  for (int bits : {1, 4, 8}) {
    const std::uint32_t full = 1u << bits;
    BmpFields fields = PlainImage(bits, 3, 2, full);
    fields.clr_used = 0;
    TKvDIB dib;
    Load(dib, BuildBmp(fields));
    EXPECT_EQ(Info(dib).Header.biClrUsed, full) << bits;
    EXPECT_EQ(Info(dib).ColorTable[full - 1], Quad(fields.table, full - 1)) << bits;
    EXPECT_EQ(Pixels(dib), fields.pixels) << bits;
  }
}

TEST(BitmapFile, CoreHeaderBecomesAnInfoHeaderWithWidenedEntries) {
  for (int bits : {1, 4, 8, 24}) {
    const std::uint32_t entries = bits == 24 ? 0 : 1u << bits;
    BmpFields core = PlainImage(bits, 4, 2, 0);
    core.header_size = 12;
    core.planes = 1;
    core.table = Pattern(entries * 3, 11);
    TKvDIB dib;
    Load(dib, BuildBmp(core));

    const TBitmapInfoHeader& h = Info(dib).Header;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 4);
    EXPECT_EQ(h.biHeight, 2);
    EXPECT_EQ(h.biBitCount, bits);
    EXPECT_EQ(h.biClrUsed, entries) << bits;
    for (std::uint32_t i = 0; i < entries; ++i) {
      ASSERT_EQ(Info(dib).ColorTable[i], Quad(core.table, i, 3)) << bits << " entry " << i;
    }
    EXPECT_EQ(Pixels(dib), core.pixels);

    // Saved with an info header and four-byte entries.
    BmpFields info = PlainImage(bits, 4, 2, entries);
    info.table.clear();
    for (std::uint32_t i = 0; i < entries; ++i) {
      info.table.insert(info.table.end(), core.table.begin() + i * 3,
                        core.table.begin() + i * 3 + 3);
      info.table.push_back(0);
    }
    EXPECT_EQ(Save(dib), BuildBmp(info)) << bits;
  }
}

TEST(BitmapFile, CoreHeaderSizesAreUnsigned) {
  // 0x8000 would be negative as a signed 16-bit value.
  for (auto [width, height] : {std::pair{0x8000, 1}, {1, 0x8000}}) {
    BmpFields core = PlainImage(1, width, height, 0);
    core.header_size = 12;
    core.table = Pattern(6);
    TKvDIB dib;
    Load(dib, BuildBmp(core));
    EXPECT_EQ(dib.GetWidth(), width);
    EXPECT_EQ(dib.GetHeight(), height);
    EXPECT_EQ(Info(dib).Header.biHeight, height);
    EXPECT_EQ(Pixels(dib), core.pixels);
  }
}

// 3 × 2 16-bit pixels; the row padding holds bytes that must not show.
Bytes Rows16(std::initializer_list<std::uint16_t> row0, std::initializer_list<std::uint16_t> row1) {
  Bytes out;
  for (const auto& row : {row0, row1}) {
    for (std::uint16_t p : row) Put16(out, p);
    Put16(out, 0xAAAA);
  }
  return out;
}

Bytes Rows24(std::initializer_list<std::uint32_t> row0, std::initializer_list<std::uint32_t> row1) {
  Bytes out;
  for (const auto& row : {row0, row1}) {
    for (std::uint32_t rgb : row) {
      out.push_back(static_cast<std::uint8_t>(rgb));        // blue
      out.push_back(static_cast<std::uint8_t>(rgb >> 8));   // green
      out.push_back(static_cast<std::uint8_t>(rgb >> 16));  // red
    }
    out.resize(out.size() + (4 - row.size() * 3 % 4) % 4, 0);
  }
  return out;
}

void ExpectWidenedTo24(const TKvDIB& dib, const Bytes& pixels) {
  const TBitmapInfoHeader& h = Info(dib).Header;
  EXPECT_EQ(h.biBitCount, 24);
  EXPECT_EQ(h.biCompression, kBiRgb);
  EXPECT_EQ(h.biSizeImage, 0u);
  EXPECT_EQ(Pixels(dib), pixels);
}

TEST(BitmapFile, SixteenBitsWidenWithTheDefault555Masks) {
  BmpFields fields = PlainImage(16, 3, 2, 0);
  fields.size_image = 16;
  fields.pixels = Rows16({0x7FFF, 0x7C00, 0x001F}, {0x03E0, 0x0000, 0x4210});
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  ExpectWidenedTo24(dib, Rows24({0xF8F8F8, 0xF80000, 0x0000F8}, {0x00F800, 0, 0x808080}));
}

TEST(BitmapFile, SixteenBitFieldsWidenWithTheFileMasks) {
  BmpFields fields = PlainImage(16, 3, 2, 0);
  fields.compression = kBiBitFields;
  fields.masks = {0xF800, 0x07E0, 0x001F};
  fields.pixels = Rows16({0xFFFF, 0x07E0, 0x0821}, {0xF800, 0x001F, 0x0020});
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  ExpectWidenedTo24(dib, Rows24({0xF8FCF8, 0x00FC00, 0x080408}, {0xF80000, 0x0000F8, 0x000400}));
}

TEST(BitmapFile, ThirtyTwoBitsTakeRedGreenBlueFromTheLowThreeBytes) {
  BmpFields fields = PlainImage(32, 2, 1, 0);
  fields.pixels = {0x56, 0x34, 0x12, 0x00, 0x01, 0x02, 0x03, 0xFF};
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  EXPECT_EQ(Pixels(dib), (Bytes{0x56, 0x34, 0x12, 0x01, 0x02, 0x03, 0, 0}));
  ExpectWidenedTo24(dib, Pixels(dib));
}

TEST(BitmapFile, ThirtyTwoBitFieldsScaleWideChannelsAndKeepTheTableAfterTheMasks) {
  // 10-10-10 channels shift right by 22, 12 and 2; the table follows the masks.
  BmpFields fields = PlainImage(32, 3, 2, 2);
  fields.compression = kBiBitFields;
  fields.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  fields.table = {1, 2, 3, 4, 5, 6, 7, 8};
  Bytes pixels;
  for (std::uint32_t p : {0x3FF00000u | 0x200u << 10 | 0x001u, 0x3FFFFFFFu, 0u, 0x00100000u,
                          0x00000400u, 0x00000004u}) {
    Put32(pixels, p);
  }
  fields.pixels = pixels;
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  ExpectWidenedTo24(dib, Rows24({0xFF8000, 0xFFFFFF, 0}, {0x000000, 0x000000, 0x000001}));
  EXPECT_EQ(Info(dib).Header.biClrUsed, 2u);
  EXPECT_EQ(Info(dib).ColorTable[0], (TRGBQuad{1, 2, 3, 4}));
  EXPECT_EQ(Info(dib).ColorTable[1], (TRGBQuad{5, 6, 7, 8}));

  // Saved back as plain 24 bits with its table and no masks.
  const Bytes saved = Save(dib);
  BmpFields plain = PlainImage(24, 3, 2, 2);
  plain.table = fields.table;
  plain.pixels = Pixels(dib);
  EXPECT_EQ(saved, BuildBmp(plain));
}

TEST(BitmapFile, MoreThan256ColorsReadsTheFirst256AndFindsThePixelsAfterAll) {
  BmpFields fields = PlainImage(8, 2, 2, 300);
  fields.table = Pattern(1200, 5);
  const Bytes file = BuildBmp(fields);
  TKvDIB dib;
  MemoryStream stream(file);
  dib.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), file.size());
  EXPECT_EQ(Info(dib).Header.biClrUsed, 256u);
  EXPECT_EQ(Info(dib).ColorTable[255], Quad(fields.table, 255));
  EXPECT_EQ(Pixels(dib), fields.pixels);

  const Bytes saved = Save(dib);
  ASSERT_EQ(saved.size(), 54u + 1024 + 8);
  EXPECT_EQ(GetU32(saved.data() + 10), 54u + 1024);
  EXPECT_EQ(GetU32(saved.data() + 2), saved.size());
}

TEST(BitmapFile, PixelsFollowTheTableWhenTheOffsetIsBeforeItOrOutsideTheFile) {
  BmpFields fields = PlainImage(8, 3, 2, 4);
  const Bytes canonical = BuildBmp(fields);
  for (std::uint32_t off_bits : {0u, 54u, 54u + 16 + 8, 1078u, 0xFFFFFFFFu}) {
    fields.off_bits = off_bits;
    TKvDIB dib;
    Load(dib, BuildBmp(fields));
    EXPECT_EQ(Pixels(dib), fields.pixels);
    const Bytes saved = Save(dib);
    EXPECT_EQ(GetU32(saved.data() + 10), 54u + 4 * 4);
    EXPECT_EQ(saved, canonical);
  }
}

// Some writers leave bytes between the table and the pixels; the offset
// finds the pixels whichever way the file comes in.
TEST(BitmapFile, PixelsAfterAGapAreReadFromTheOffset) {
  BmpFields core4 = PlainImage(4, 5, 2, 0);
  core4.header_size = 12;
  core4.table = Pattern(16 * 3, 9);
  BmpFields fields565 = PlainImage(16, 3, 2, 0);
  fields565.compression = kBiBitFields;
  fields565.masks = {0xF800, 0x07E0, 0x001F};
  BmpFields rle8 = PlainImage(8, 4, 2, 3);
  rle8.compression = kBiRle8;
  rle8.pixels = {4, 1, 0, 0, 0, 4, 1, 2, 2, 1, 0, 1};
  const std::pair<const char*, BmpFields> cases[] = {{"8bit", PlainImage(8, 3, 2, 4)},
                                                     {"24bit", PlainImage(24, 3, 2, 0)},
                                                     {"core4bit", core4},
                                                     {"bitfields16", fields565},
                                                     {"rle8", rle8}};
  const auto name = std::filesystem::temp_directory_path() / "quill-dib-gap-test.bmp";
  for (auto [label, fields] : cases) {
    SCOPED_TRACE(label);
    TKvDIB expected;
    Load(expected, BuildBmp(fields));
    fields.gap = Pattern(6, 200);
    const Bytes file = BuildBmp(fields);

    TKvDIB from_memory, after_other_bytes, from_file;
    Load(from_memory, file);
    Bytes prefixed(5, 0xEE);
    prefixed.insert(prefixed.end(), file.begin(), file.end());
    MemoryStream stream(prefixed);
    stream.Seek(5);
    after_other_bytes.LoadFromStream(stream);
    std::ofstream(name, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    from_file.LoadFromFile(name);
    // Saved, the pixels follow the table again.
    EXPECT_EQ(Save(from_memory), Save(expected));
    EXPECT_EQ(Save(after_other_bytes), Save(expected));
    EXPECT_EQ(Save(from_file), Save(expected));
  }
  std::filesystem::remove(name);
}

TEST(BitmapFile, ShortPixelBlockIsZeroFilledToWholeRows) {
  BmpFields fields = PlainImage(24, 4, -4, 0);
  fields.pixels.resize(20);
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  Bytes expected = fields.pixels;
  expected.resize(Stride(4, 24) * 4, 0);
  EXPECT_EQ(Pixels(dib), expected);
  EXPECT_EQ(GetU32(Save(dib).data() + 2), 54u + 48);
}

TEST(BitmapFile, ExtraAnnouncedBytesAreKept) {
  BmpFields fields = PlainImage(8, 3, 2, 4);
  fields.pixels.insert(fields.pixels.end(), {9, 9, 9, 9});
  const Bytes file = BuildBmp(fields);
  TKvDIB dib;
  Load(dib, file);
  EXPECT_EQ(Info(dib).ImageSize, 12);
  EXPECT_EQ(Save(dib), file);
}

TEST(BitmapFile, RunLengthImagesStayCompressed) {
  for (auto [bits, compression] : {std::pair{8, kBiRle8}, {4, kBiRle4}}) {
    BmpFields fields = PlainImage(bits, 6, 2, 3);
    fields.compression = compression;
    fields.size_image = 999;  // wrong; the stream's length counts
    fields.pixels = {3, 1, 0, 3, 1, 2, 2, 0, 0, 0, 0, 1};
    TKvDIB dib;
    Load(dib, BuildBmp(fields));
    const TDIBInfo& info = Info(dib);
    EXPECT_EQ(info.Header.biCompression, compression);
    EXPECT_EQ(info.ImageSize, 12);
    EXPECT_EQ(info.Header.biSizeImage, 12u);
    EXPECT_EQ(Pixels(dib), fields.pixels);
    fields.size_image = 12;
    EXPECT_EQ(Save(dib), BuildBmp(fields));
  }
}

TEST(BitmapFile, EmptyRunLengthStreamLoadsAsAnEmptyBlock) {
  BmpFields fields = PlainImage(8, 6, 2, 3);
  fields.compression = kBiRle8;
  fields.pixels.clear();
  TKvDIB dib;
  Load(dib, BuildBmp(fields));
  EXPECT_EQ(Info(dib).ImageSize, 0);
  EXPECT_EQ(Save(dib).size(), 54u + 12);
}

TEST(BitmapFile, ReadingStopsAtTheEndOfTheImage) {
  for (int bits : {8, 16}) {
    Bytes file = BuildBmp(PlainImage(bits, 3, 2, bits == 8 ? 4 : 0));
    const std::size_t end = file.size();
    file.insert(file.end(), {1, 2, 3, 4, 5});
    MemoryStream stream(file);
    TKvDIB dib;
    dib.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), end) << bits;
  }
}

TEST(BitmapFile, ErrorsNameTheirCause) {
  Bytes not_bm = BuildBmp(PlainImage(8, 1, 1, 2));
  not_bm[1] = 'A';
  TKvDIB dib;
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIBFile>([&] { Load(dib, not_bm); }),
            "TKvInternalDIB.LoadFromFile: File type is invalid");

  BmpFields masks = PlainImage(32, 2, 2, 0);
  masks.compression = kBiBitFields;
  masks.masks = {0xFF0000, 0, 0xFF};
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { Load(dib, BuildBmp(masks)); }),
            "TKvInternalDIB.LoadFromStream: Invalid Masks");

  BmpFields rle = PlainImage(16, 2, 2, 0);
  rle.compression = kBiRle8;
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { Load(dib, BuildBmp(rle)); }),
            "TKvInternalDIB.LoadFromStream: Invalid Compression");

  Bytes truncated = BuildBmp(PlainImage(24, 2, 2, 0));
  truncated.pop_back();
  EXPECT_EQ(MessageOf<EReadError>([&] { Load(dib, truncated); }), "Stream read error");
}

}  // namespace
}  // namespace quill::dib::testing
