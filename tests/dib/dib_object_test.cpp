// The DIB object: the default image, loading, sharing and copy-on-write,
// palettes, blank images and files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dib/kv_palette.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

Bytes Image8() {
  BmpFields f = PlainImage(8, 4, 3, 3);
  f.table = {10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0};
  return BuildBmp(f);
}

TEST(DIBObject, StartsWithTheDefaultImageAndSettings) {
  TKvDIB dib;
  ExpectDefaultImage(dib);
  EXPECT_EQ(dib.InternalDIB().RefCount, 1);
  EXPECT_EQ(dib.ClipboardFormat(), 8u);
  EXPECT_FALSE(dib.GetEmpty());
  EXPECT_EQ(dib.ConvertQuality(), 0);
  EXPECT_EQ(dib.OneBitColor(), 0xFFFFFFu);
  EXPECT_EQ(dib.HalfToneDraw(), 0);
}

TEST(DIBObject, LoadNotifiesOnceAndReportsThePaletteChange) {
  TKvDIB dib;
  int changes = 0;
  dib.SetOnChange([&](TKvGraphic& sender) {
    EXPECT_EQ(&sender, &dib);
    ++changes;
  });
  Load(dib, Image8());
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(dib.PaletteModified());
  EXPECT_FALSE(dib.InternalDIB().PaletteChanged) << "passed on to the graphic";
}

TEST(DIBObject, FailedLoadLeavesTheDefaultImage) {
  TKvDIB dib;
  Load(dib, BuildBmp(PlainImage(24, 7, 5, 0)));
  int changes = 0;
  dib.SetOnChange([&](TKvGraphic&) { ++changes; });

  Bytes broken = BuildBmp(PlainImage(24, 7, 5, 0));
  broken.erase(broken.end() - 3, broken.end());
  EXPECT_THROW(Load(dib, broken), EReadError);
  ExpectDefaultImage(dib);
  EXPECT_EQ(changes, 0);

  BmpFields zero_mask = PlainImage(16, 2, 2, 0);
  zero_mask.compression = kBiBitFields;
  zero_mask.masks = {0x7C00, 0, 0x1F};
  Load(dib, Image8());
  EXPECT_THROW(Load(dib, BuildBmp(zero_mask)), EKvDIBInvalidDIB);
  ExpectDefaultImage(dib);
}

TEST(DIBObject, AssignSharesTheBodyAndCopiesTheSettings) {
  TKvDIB a;
  Load(a, Image8());
  a.SetConvertQuality(1);
  a.SetOneBitColor(0x123456);
  a.SetHalfToneDraw(2);
  TKvDIB b;
  b.SetPaletteModified(false);
  b.Assign(a);
  EXPECT_EQ(&a.InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a.InternalDIB().RefCount, 2);
  EXPECT_EQ(b.ConvertQuality(), 1);
  EXPECT_EQ(b.OneBitColor(), 0x123456u);
  EXPECT_EQ(b.HalfToneDraw(), 2);
  EXPECT_TRUE(b.PaletteModified());

  b.Assign(b);
  b.Assign(a);
  EXPECT_EQ(a.InternalDIB().RefCount, 2) << "assigning again takes no second reference";
}

TEST(DIBObject, AChangeToOneOfTwoSharersLeavesTheOtherAlone) {
  TKvDIB a;
  Load(a, Image8());
  const Bytes original = Pixels(a);
  TKvDIB b;
  b.Assign(a);
  b.SetPaletteModified(false);

  TKvInternalDIB& own = b.MutableInternalDIB();
  own.DIBInfo.Bits()[5] ^= 0xFF;
  own.DIBInfo.ColorTable[0].rgbRed = 99;

  EXPECT_NE(&a.InternalDIB(), &b.InternalDIB());
  EXPECT_EQ(a.InternalDIB().RefCount, 1);
  EXPECT_EQ(b.InternalDIB().RefCount, 1);
  EXPECT_EQ(Pixels(a), original);
  EXPECT_EQ(Info(a).ColorTable[0].rgbRed, 30);
  Bytes changed = original;
  changed[5] ^= 0xFF;
  EXPECT_EQ(Pixels(b), changed);
  EXPECT_EQ(b.GetWidth(), 4);
  EXPECT_EQ(Info(b).Header, Info(a).Header);
  EXPECT_TRUE(b.PaletteModified()) << "the copy reports its palette";

  // An unshared body is changed in place.
  const TKvInternalDIB* body = &b.InternalDIB();
  b.MutableInternalDIB();
  EXPECT_EQ(&b.InternalDIB(), body);
}

TEST(DIBObject, SharersOutliveEachOther) {
  auto a = std::make_unique<TKvDIB>();
  Load(*a, Image8());
  const Bytes original = Pixels(*a);
  TKvDIB b;
  b.Assign(*a);
  a.reset();
  EXPECT_EQ(b.InternalDIB().RefCount, 1);
  EXPECT_EQ(Pixels(b), original);

  // Loading into one sharer replaces only its own body.
  TKvDIB c;
  c.Assign(b);
  Load(c, BuildBmp(PlainImage(24, 2, 2, 0)));
  EXPECT_EQ(Pixels(b), original);
  EXPECT_EQ(b.InternalDIB().RefCount, 1);
}

TEST(DIBObject, PaletteBookkeepingNeedsAnUnsharedBody) {
  TKvDIB a;
  TKvDIB b;
  b.Assign(a);
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { a.UpdatePaletteModified(); }),
            "TKvDIB.UpdatePaletteModified RefCount Must be 1");
  auto& shared = const_cast<TKvInternalDIB&>(a.InternalDIB());
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { shared.UpdatePalette(); }),
            "TKvInternalDIB.UpdatePalette: RefCount Must be 1");
}

TEST(DIBObject, PaletteIsMadeFromTheTableOnceAndOwnedByTheBody) {
  TKvDIB dib;
  Load(dib, Image8());
  const PaletteHandle palette = dib.GetPalette();
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(dib.GetPalette(), palette);
  EXPECT_EQ(GetPaletteEntries(palette),
            (std::vector<PaletteEntry>{{30, 20, 10, 0}, {60, 50, 40, 0}, {90, 80, 70, 0}}));

  // A private copy makes its own palette; the first stays valid.
  TKvDIB copy;
  copy.Assign(dib);
  EXPECT_EQ(copy.GetPalette(), palette);
  copy.MutableInternalDIB().DIBInfo.ColorTable[0] = {1, 2, 3, 0};
  const PaletteHandle own = copy.GetPalette();
  ASSERT_NE(own, nullptr);
  EXPECT_NE(own, palette);
  EXPECT_EQ(GetPaletteEntries(own)[0], (PaletteEntry{3, 2, 1, 0}));
  EXPECT_EQ(GetPaletteEntries(palette)[0], (PaletteEntry{30, 20, 10, 0}));

  // A new image drops the old palette.
  Load(dib, BuildBmp(PlainImage(24, 2, 2, 0)));
  EXPECT_EQ(dib.GetPalette(), nullptr) << "true colour without a table";
  Load(dib, BuildBmp(PlainImage(1, 2, 2, 2)));
  ASSERT_NE(dib.GetPalette(), nullptr);
  EXPECT_EQ(GetPaletteEntries(dib.GetPalette()).size(), 2u);
}

TEST(CreateDIB, MakesABlankImageOfWholeRows) {
  struct Case {
    std::int32_t width, height;
    int bits;
    std::int32_t size;
  };
  for (const Case& c :
       {Case{1, 1, 1, 4}, Case{32, 1, 1, 4}, Case{33, 2, 1, 16}, Case{9, 1, 4, 8},
        Case{5, -3, 8, 24}, Case{1, 1, 24, 4}, Case{3, 2, 24, 24}, Case{5, 1, 24, 16}}) {
    TKvInternalDIB body;
    body.CreateDIB(c.width, c.height, c.bits, 16);
    const TDIBInfo& info = body.DIBInfo;
    EXPECT_EQ(info.ImageSize, c.size) << c.width << "x" << c.height << "x" << c.bits;
    EXPECT_EQ(body.Width, c.width);
    EXPECT_EQ(body.Height, std::abs(c.height));
    EXPECT_EQ(info.Header.biHeight, c.height);
    EXPECT_EQ(info.Header.biClrUsed, 16u);
    EXPECT_TRUE(body.PaletteChanged);
    EXPECT_EQ(Bytes(info.Bits(), info.Bits() + info.ImageSize), Bytes(c.size, 0));
  }
}

TEST(CreateDIB, RefusesImpossibleImages) {
  struct Case {
    std::int32_t width, height;
    int bits, colors;
  };
  for (const Case& c : {Case{0, 1, 8, 0}, Case{-1, 1, 8, 0}, Case{1, 0, 8, 0}, Case{1, 1, 8, -1},
                        Case{1, 1, 8, 257}, Case{1, 1, 16, 0}, Case{1, 1, 32, 0}, Case{1, 1, 2, 0},
                        Case{70000, 70000, 24, 0}, Case{INT32_MAX, 1, 8, 0}}) {
    TKvInternalDIB body;
    EXPECT_EQ(MessageOf<EKvDIBInvalidDIBPara>(
                  [&] { body.CreateDIB(c.width, c.height, c.bits, c.colors); }),
              "TKvInternalDIB.CreateDIB: Invalid Parameters")
        << c.width << "x" << c.height << "x" << c.bits << " " << c.colors;
    EXPECT_EQ(body.Width, 1) << "the old image stays";
  }
}

class DIBFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("quill-dib-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(DIBFiles, SaveAndLoadByName) {
  TKvDIB dib;
  Load(dib, Image8());
  const auto name = folder_ / u8"画像 1.bmp";
  dib.SaveToFile(name);
  std::ifstream in(name, std::ios::binary);
  const Bytes written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, Image8());

  TKvDIB again;
  again.LoadFromFile(name);
  EXPECT_EQ(Pixels(again), Pixels(dib));
  EXPECT_EQ(Info(again).Header, Info(dib).Header);
}

TEST_F(DIBFiles, MissingFilesAreReportedAndChangeNothing) {
  TKvDIB dib;
  Load(dib, Image8());
  EXPECT_THROW(dib.LoadFromFile(folder_ / "missing.bmp"), EFOpenError);
  EXPECT_EQ(dib.GetWidth(), 4) << "the image stays when the file does not open";
  EXPECT_THROW(dib.SaveToFile(folder_ / "no such folder" / "x.bmp"), EFCreateError);
}

}  // namespace
}  // namespace quill::dib::testing
