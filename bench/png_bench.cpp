// PNG export and import of a 1920 × 1080 screenshot-like picture in 24 and
// in 8 bits: encoding the DIB to a PNG and decoding the PNG to the
// clipboard's DIB block, each the median of several runs. Writes the
// pictures for the other programs the comparison runs (bench/png_compare.sh)
// into FOLDER: NAME.ppm (24 bits), NAME.bmp (8 bits, with its palette),
// NAME.raw and NAME.pal (the 8-bit indices and palette), and ours-NAME.png.
//   png_bench FOLDER
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "dib/kv_dib.h"
#include "dib/kv_stream.h"
#include "exchange/png_codec.h"
#include "screen_like_pixels.h"

namespace {

using namespace quill;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1920, kHeight = 1080, kRuns = 9;

template <typename Work>
double MedianMs(Work work) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[kRuns / 2];
}

void WriteBytes(const std::filesystem::path& path, const void* bytes, std::size_t size) {
  std::ofstream(path, std::ios::binary)
      .write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
}

// The rows top first, as the other programs read raw pixels.
std::vector<std::uint8_t> TopDownRows(const dib::TDIBInfo& info, int bytes_per_pixel, bool swap) {
  std::vector<std::uint8_t> rows;
  for (int y = kHeight - 1; y >= 0; --y) {
    const std::uint8_t* p = info.Bits() + y * info.Stride();
    for (int x = 0; x < kWidth; ++x, p += bytes_per_pixel) {
      if (swap)
        rows.insert(rows.end(), {p[2], p[1], p[0]});
      else
        rows.push_back(p[0]);
    }
  }
  return rows;
}

void Measure(const char* name, const dib::TKvDIB& picture, const std::filesystem::path& folder) {
  std::vector<std::uint8_t> png;
  const double encode = MedianMs([&] { png = exchange::EncodePng(picture); });
  exchange::DecodedPng decoded;
  const double decode = MedianMs([&] { decoded = exchange::DecodePng(png); });
  // The round trip must give the picture back, or the figures mean nothing.
  std::vector<std::uint8_t> original(picture.InternalDIB().PackedDIBSize());
  picture.InternalDIB().WritePackedDIB(original.data());
  const bool same = std::equal(decoded.dib.begin() + 40, decoded.dib.end(), original.begin() + 40,
                               original.end());
  WriteBytes(folder / ("ours-" + std::string(name) + ".png"), png.data(), png.size());
  std::printf("ours %s export_ms %.1f import_ms %.1f bytes %zu%s\n", name, encode, decode,
              png.size(), same ? "" : " ROUND-TRIP-DIFFERS");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: png_bench FOLDER\n");
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);

  dib::TKvDIB colour;
  colour.MutableInternalDIB().CreateDIB(kWidth, kHeight, 24, 0);
  const auto& info = colour.InternalDIB().DIBInfo;
  bench::PaintScreenLike(info.Bits(), static_cast<int>(info.Stride()), kWidth, kHeight);
  {
    const auto rows = TopDownRows(info, 3, true);
    std::ofstream ppm(folder / "screen24.ppm", std::ios::binary);
    ppm << "P6\n" << kWidth << ' ' << kHeight << "\n255\n";
    ppm.write(reinterpret_cast<const char*>(rows.data()),
              static_cast<std::streamsize>(rows.size()));
  }

  dib::TKvDIB indexed;
  indexed.Assign(colour);
  indexed.SetPixelFormat(dib::TKvPixelFormat::kvPf8Bit);
  {
    const auto& body = indexed.InternalDIB().DIBInfo;
    const auto rows = TopDownRows(body, 1, false);
    WriteBytes(folder / "screen8.raw", rows.data(), rows.size());
    std::vector<std::uint8_t> palette;
    for (std::uint32_t i = 0; i < 256; ++i) {
      const auto& c = body.ColorTable[i];
      palette.insert(palette.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
    WriteBytes(folder / "screen8.pal", palette.data(), palette.size());
    dib::FileStream bmp(folder / "screen8.bmp", dib::FileStream::Mode::kCreate);
    indexed.SaveToStream(bmp);
    bmp.Close();
  }

  Measure("screen24", colour, folder);
  Measure("screen8", indexed, folder);
  return 0;
}
