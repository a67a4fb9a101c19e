// The pixel format of a TKvDIB: classification, every cell of the
// conversion table, copy-on-write, progress events, and the rule that a
// failed conversion leaves the image as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert_test_util.h"
#include "dib/kv_convert_dispatch.h"
#include "dib/kv_dib.h"
#include "dib/kv_halftone.h"
#include "dib/kv_rle.h"
#include "dib_test_util.h"

namespace quill::dib::testing {
namespace {

using PF = TKvPixelFormat;

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr int kW = 64, kH = 4;

// A picture every format can show exactly: white and black halves, with
// row 2 different, in runs long enough for both RLE encoders.
bool WhiteAt(int x, int y) { return y == 2 ? x >= 48 : x < 32; }

TDIBInfo Picture(PF format) {
  switch (format) {
    case PF::kvPf1Bit: {
      TDIBInfo info = Blank(kW, kH, 1, 2);
      info.ColorTable[1] = Quad(kWhite);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) SetIndex(info, x, y, WhiteAt(x, y));
      return info;
    }
    case PF::kvPf4Bit:
    case PF::kvPf4BitRLE: {
      TDIBInfo info = Blank(kW, kH, 4, 16);
      info.ColorTable[3] = Quad(kWhite);
      info.ColorTable[9] = Quad(kBlack);
      info.ColorTable[0] = Quad({1, 2, 3});  // unused
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) SetIndex(info, x, y, WhiteAt(x, y) ? 3 : 9);
      return format == PF::kvPf4Bit ? std::move(info) : Convert4BitRGBTo4BitRLE(info);
    }
    case PF::kvPf8Bit:
    case PF::kvPf8BitRLE: {
      TDIBInfo info = Blank(kW, kH, 8, 256);
      info.ColorTable[17] = Quad(kWhite);
      info.ColorTable[200] = Quad(kBlack);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) SetIndex(info, x, y, WhiteAt(x, y) ? 17 : 200);
      return format == PF::kvPf8Bit ? std::move(info) : Convert8BitRGBTo8BitRLE(info);
    }
    default: {
      TDIBInfo info = Blank(kW, kH, 24);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) SetColor24(info, x, y, WhiteAt(x, y) ? kWhite : kBlack);
      return info;
    }
  }
}

void Install(TKvDIB& dib, TDIBInfo info) { dib.MutableInternalDIB().ReplaceImage(std::move(info)); }

// The colours the image shows, decoding RLE first.
void ExpectShowsPicture(const TDIBInfo& info, const std::string& what) {
  if (info.Header.biCompression == kBiRle8)
    return ExpectShowsPicture(Convert8BitRLETo8BitRGB(info), what);
  if (info.Header.biCompression == kBiRle4)
    return ExpectShowsPicture(Convert4BitRLETo4BitRGB(info), what);
  int wrong = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) wrong += ShownAt(info, x, y) != (WhiteAt(x, y) ? kWhite : kBlack);
  EXPECT_EQ(wrong, 0) << what;
}

TEST(ConvertPixelFormatTest, ClassifiesByBitCountAndCompression) {
  struct Case {
    int bits;
    std::uint32_t compression;
    PF format;
  };
  for (const Case& c : {Case{1, kBiRgb, PF::kvPf1Bit}, Case{4, kBiRgb, PF::kvPf4Bit},
                        Case{4, kBiRle4, PF::kvPf4BitRLE}, Case{8, kBiRgb, PF::kvPf8Bit},
                        Case{8, kBiRle8, PF::kvPf8BitRLE}, Case{24, kBiRgb, PF::kvPf24Bit}}) {
    TDIBInfo info;
    info.Header.biBitCount = static_cast<std::uint16_t>(c.bits);
    info.Header.biCompression = c.compression;
    EXPECT_EQ(GetPixelFormat(info), c.format) << c.bits << "/" << c.compression;
  }
  struct Bad {
    int bits;
    std::uint32_t compression;
    const char* message;
  };
  for (const Bad& b :
       {Bad{1, kBiRle8, "TKvInternalDIB.GetPixelFormat: Invalid DIB(1Bit)"},
        Bad{4, kBiRle8, "TKvInternalDIB.GetPixelFormat: Invalid DIB(4Bit)"},
        Bad{8, kBiRle4, "TKvInternalDIB.GetPixelFormat: Invalid DIB(8Bit)"},
        Bad{24, kBiBitFields, "TKvInternalDIB.GetPixelFormat: Invalid DIB(24Bit)"},
        Bad{16, kBiRgb, "TKvInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)"},
        Bad{32, kBiRgb, "TKvInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)"}}) {
    TDIBInfo info;
    info.Header.biBitCount = static_cast<std::uint16_t>(b.bits);
    info.Header.biCompression = b.compression;
    EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { GetPixelFormat(info); }), b.message);
  }
}

TEST(ConvertPixelFormatTest, EveryCellOfTheTableKeepsThePicture) {
  for (int from = 0; from <= 5; ++from) {
    for (int to = 0; to <= 7; ++to) {
      if (from == to) continue;
      const std::string what = std::to_string(from) + " -> " + std::to_string(to);
      TKvDIB dib;
      Install(dib, Picture(PF(from)));
      dib.SetPixelFormat(PF(to));
      const TDIBInfo& info = Info(dib);
      if (to <= 5) {
        EXPECT_EQ(dib.GetPixelFormat(), PF(to)) << what;
      } else {
        EXPECT_EQ(info.Header.biBitCount, to == 6 ? 8 : 1) << what;
        EXPECT_EQ(info.Header.biClrUsed, to == 6 ? 215u : 2u) << what;
      }
      EXPECT_EQ(dib.GetWidth(), kW);
      EXPECT_EQ(dib.GetHeight(), kH);
      ExpectShowsPicture(info, what);
    }
  }
}

TEST(ConvertPixelFormatTest, CurrentFormatChangesNothingAndSendsNoEvent) {
  TKvDIB a;
  Install(a, Picture(PF::kvPf8Bit));
  TKvDIB b;
  b.Assign(a);
  int changes = 0;
  b.SetOnChange([&](TKvGraphic&) { ++changes; });
  b.SetPixelFormat(PF::kvPf8Bit);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(&a.InternalDIB(), &b.InternalDIB()) << "not even copied";
}

TEST(ConvertPixelFormatTest, ConvertingASharedImageLeavesTheOtherOwnerAlone) {
  TKvDIB a;
  Install(a, Picture(PF::kvPf8Bit));
  const Bytes before = Pixels(a);
  TKvDIB b;
  b.Assign(a);
  int changes = 0;
  b.SetOnChange([&](TKvGraphic&) { ++changes; });
  b.SetPaletteModified(false);
  b.SetPixelFormat(PF::kvPf24Bit);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(b.PaletteModified());
  EXPECT_EQ(b.GetPixelFormat(), PF::kvPf24Bit);
  EXPECT_EQ(a.GetPixelFormat(), PF::kvPf8Bit);
  EXPECT_EQ(Pixels(a), before);
  EXPECT_EQ(a.InternalDIB().RefCount, 1);
}

TEST(ConvertPixelFormatTest, HalftoneTargetsConvertEveryTime) {
  for (const PF target : {PF::kvPfHalfTone, PF::kvPfHalfToneBW}) {
    TKvDIB dib;
    Install(dib, Picture(PF::kvPf24Bit));
    int changes = 0;
    dib.SetOnChange([&](TKvGraphic&) { ++changes; });
    dib.SetPixelFormat(target);
    const std::uint8_t* first = Info(dib).Bits();
    dib.SetPixelFormat(target);
    EXPECT_EQ(changes, 2);
    EXPECT_NE(Info(dib).Bits(), first) << "a new block each time";
    ExpectShowsPicture(Info(dib), "twice");
  }
  // Halftoning again maps the extra grey onto the grid.
  TKvDIB dib;
  TDIBInfo grey = Blank(1, 1, 8, 215);
  std::copy(HalfTonePalette.begin(), HalfTonePalette.end(), grey.ColorTable.begin());
  SetIndex(grey, 0, 0, 214);
  Install(dib, std::move(grey));
  dib.SetPixelFormat(PF::kvPfHalfTone);
  EXPECT_EQ(IndexAt(Info(dib), 0, 0), 35u * 3 + 5 * 3 + 2) << "(0x99, 0x80, 0x80)";
}

struct Event {
  TProgressStage stage;
  int percent;
  bool redraw;
  TKvRect rect;
  std::string message;
};

class ProgressTest : public ::testing::Test {
 protected:
  void Watch(TKvDIB& dib) {
    dib.SetOnProgress([this, &dib](TKvGraphic& sender, TProgressStage stage, std::uint8_t percent,
                                   bool redraw, const TKvRect& rect, const std::string& message) {
      EXPECT_EQ(&sender, &dib);
      events.push_back({stage, percent, redraw, rect, message});
    });
  }
  void ExpectRun(int total, const std::string& message, int width, int height) {
    ASSERT_EQ(events.size(), static_cast<std::size_t>(total + 1)) << message;
    EXPECT_EQ(events.front().stage, TProgressStage::psStarting);
    EXPECT_EQ(events.front().percent, 0);
    EXPECT_FALSE(events.front().redraw);
    for (int k = 1; k < total; ++k) {
      EXPECT_EQ(events[k].stage, TProgressStage::psRunning);
      EXPECT_EQ(events[k].percent, k * 100 / total);
      EXPECT_FALSE(events[k].redraw);
    }
    EXPECT_EQ(events.back().stage, TProgressStage::psEnding);
    EXPECT_EQ(events.back().percent, 100);
    EXPECT_TRUE(events.back().redraw);
    for (const Event& e : events) {
      EXPECT_EQ(e.message, message);
      EXPECT_EQ(e.rect, (TKvRect{0, 0, width, height}));
    }
  }
  std::vector<Event> events;
};

TEST_F(ProgressTest, PaletteReductionsReportEveryLeafButTheLast) {
  struct Case {
    PF from, to;
    int total;
    const char* message;
  };
  for (const Case& c :
       {Case{PF::kvPf8Bit, PF::kvPf4Bit, 16, "PixelFormat 8Bit -> 4Bit"},
        Case{PF::kvPf8Bit, PF::kvPf4BitRLE, 16, "PixelFormat 8Bit -> 4BitRLE"},
        Case{PF::kvPf8BitRLE, PF::kvPf4Bit, 16, "PixelFormat 8BitRLE -> 4Bit"},
        Case{PF::kvPf8BitRLE, PF::kvPf4BitRLE, 16, "PixelFormat 8BitRLE -> 4BitRLE"},
        Case{PF::kvPf24Bit, PF::kvPf4Bit, 16, "PixelFormat 24Bit -> 4Bit"},
        Case{PF::kvPf24Bit, PF::kvPf4BitRLE, 16, "PixelFormat 24Bit -> 4BitRLE"},
        Case{PF::kvPf24Bit, PF::kvPf8Bit, 256, "PixelFormat 24Bit -> 8Bit"},
        Case{PF::kvPf24Bit, PF::kvPf8BitRLE, 256, "PixelFormat 24Bit -> 8BitRLE"}}) {
    TKvDIB dib;
    Install(dib, Picture(c.from));
    events.clear();
    Watch(dib);
    dib.SetPixelFormat(c.to);
    ExpectRun(c.total, c.message, kW, kH);
  }
}

TEST_F(ProgressTest, OtherConversionsReportNothing) {
  for (const auto& [from, to] :
       {std::pair{PF::kvPf24Bit, PF::kvPf1Bit}, std::pair{PF::kvPf24Bit, PF::kvPfHalfTone},
        std::pair{PF::kvPf8Bit, PF::kvPf8BitRLE}, std::pair{PF::kvPf8BitRLE, PF::kvPf8Bit},
        std::pair{PF::kvPf4Bit, PF::kvPf8Bit}}) {
    TKvDIB dib;
    Install(dib, Picture(from));
    Watch(dib);
    dib.SetPixelFormat(to);
  }
  EXPECT_TRUE(events.empty());
}

// The image before a failed conversion, to compare with after it.
struct Snapshot {
  explicit Snapshot(const TKvDIB& dib)
      : header(Info(dib).Header), table(Info(dib).ColorTable), pixels(Pixels(dib)) {}
  void ExpectSame(const TKvDIB& dib) const {
    EXPECT_EQ(Info(dib).Header, header);
    EXPECT_EQ(Info(dib).ColorTable, table);
    EXPECT_EQ(Pixels(dib), pixels);
  }
  TBitmapInfoHeader header;
  std::array<TRGBQuad, kMaxColors> table;
  Bytes pixels;
};

TEST_F(ProgressTest, HighQualityIsRefusedAndTheImageStays) {
  for (const std::uint8_t quality : {1, 2}) {
    TKvDIB dib;
    Install(dib, Picture(PF::kvPf24Bit));
    dib.SetConvertQuality(quality);
    const Snapshot before(dib);
    int changes = 0;
    dib.SetOnChange([&](TKvGraphic&) { ++changes; });
    events.clear();
    Watch(dib);
    EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { dib.SetPixelFormat(PF::kvPf8Bit); }),
              "TKvIntenalDIB.SetPixelsFormat: PixelFormat Error");
    before.ExpectSame(dib);
    EXPECT_EQ(changes, 0);
    ASSERT_EQ(events.size(), 2u) << "start and end, nothing between";
    EXPECT_EQ(events.back().stage, TProgressStage::psEnding);
    // Quality does not matter where no true-colour reduction runs.
    dib.SetPixelFormat(PF::kvPf1Bit);
    EXPECT_EQ(dib.GetPixelFormat(), PF::kvPf1Bit);
  }
}

TEST_F(ProgressTest, AHandlerErrorMidwayLeavesTheImageAndStillEnds) {
  TKvDIB dib;
  Install(dib, Picture(PF::kvPf24Bit));
  const Snapshot before(dib);
  int running = 0;
  std::vector<TProgressStage> stages;
  dib.SetOnProgress([&](TKvGraphic&, TProgressStage stage, std::uint8_t, bool, const TKvRect&,
                        const std::string&) {
    stages.push_back(stage);
    if (stage == TProgressStage::psRunning && ++running == 10) throw EKvDIBAssert("stop");
  });
  EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { dib.SetPixelFormat(PF::kvPf8Bit); }), "stop");
  before.ExpectSame(dib);
  EXPECT_EQ(stages.size(), 12u);
  EXPECT_EQ(stages.back(), TProgressStage::psEnding);
}

TEST(ConvertPixelFormatTest, FailedCompressionKeepsTheImage) {
  // One pixel leaves 4 bytes of room; a pair and its end-of-line need more.
  TKvDIB dib;
  TDIBInfo tiny = Blank(1, 1, 8, 2);
  tiny.ColorTable[1] = Quad(kWhite);
  SetIndex(tiny, 0, 0, 1);
  Install(dib, std::move(tiny));
  TKvDIB other;
  other.Assign(dib);
  const Snapshot before(dib);
  int changes = 0;
  dib.SetOnChange([&](TKvGraphic&) { ++changes; });
  EXPECT_EQ(MessageOf<EKvDIBCompressionFailed>([&] { dib.SetPixelFormat(PF::kvPf8BitRLE); }),
            "Convert8BitRGBTo8BitRLE: Compression Failed");
  before.ExpectSame(dib);
  before.ExpectSame(other);
  EXPECT_EQ(dib.GetPixelFormat(), PF::kvPf8Bit);
  EXPECT_EQ(changes, 0);
}

TEST(ConvertPixelFormatTest, UnknownBodyFormatIsReported) {
  TKvDIB dib;
  Install(dib, Picture(PF::kvPf8Bit));
  dib.MutableInternalDIB().DIBInfo.Header.biBitCount = 16;
  EXPECT_EQ(MessageOf<EKvDIBInvalidDIB>([&] { dib.SetPixelFormat(PF::kvPf24Bit); }),
            "TKvInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)");
}

TEST(ConvertDispatchTest, AssertionCellsAndUnknownTargets) {
  const char* const kError = "TKvIntenalDIB.SetPixelsFormat: PixelFormat Error";
  for (int f = 0; f <= 5; ++f) {
    const TDIBInfo source = Picture(PF(f));
    EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertPixelFormat(source, PF(f), 0, {}, 0xFFFFFF); }),
              kError)
        << f;
    EXPECT_EQ(MessageOf<EKvDIBAssert>([&] { ConvertPixelFormat(source, PF(8), 0, {}, 0xFFFFFF); }),
              kError)
        << f;
  }
  const TDIBInfo true_color = Picture(PF::kvPf24Bit);
  for (const PF target : {PF::kvPf4Bit, PF::kvPf4BitRLE, PF::kvPf8Bit, PF::kvPf8BitRLE}) {
    EXPECT_EQ(
        MessageOf<EKvDIBAssert>([&] { ConvertPixelFormat(true_color, target, 1, {}, 0xFFFFFF); }),
        kError);
  }
}

TEST(ConvertDispatchTest, OneBitColourReachesTheReductions) {
  // Black is the colour kept: the white half turns black and vice versa.
  for (int f = 1; f <= 5; ++f) {
    const TDIBInfo out = ConvertPixelFormat(Picture(PF(f)), PF::kvPf1Bit, 0, {}, 0x000000);
    EXPECT_EQ(IndexAt(out, 0, 0), 0u) << f;
    EXPECT_EQ(IndexAt(out, 63, 0), 1u) << f;
  }
}

}  // namespace
}  // namespace quill::dib::testing
