// Encodes and decodes screenshot-like 8-bit images (1920×1080, 3840×2160)
// with the RLE8 codec, beside a memcpy of the uncompressed pixels and
// netpbm's bmptopnm reading the same RLE8 file; prints milliseconds, MB/s
// of uncompressed pixels and the ratios.
//   rle_bench [--benchmark_...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "collector.h"
#include "dib/kv_dib.h"
#include "dib/kv_internal_dib.h"
#include "dib/kv_rle.h"

namespace {

namespace fs = std::filesystem;
using quill::dib::TDIBInfo;

using quill::bench::Collector;

// A desktop: flat background, windows with borders, shaded title bars and
// white client areas holding lines of small glyphs, and a few noisy icons.
TDIBInfo Screenshot(int width, int height) {
  TDIBInfo info;
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biBitCount = 8;
  info.Header.biClrUsed = 256;
  for (int i = 0; i < 256; ++i) {
    info.ColorTable[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i),
                                                    static_cast<std::uint8_t>(i),
                                                    static_cast<std::uint8_t>(255 - i), 0};
  }
  const std::int64_t stride = quill::dib::RowStride(width, 8);
  info.ImageSize = static_cast<std::int32_t>(stride * height);
  info.Pixels = quill::dib::GetFileMap(static_cast<std::size_t>(info.ImageSize));
  auto at = [&](int x, int y) -> std::uint8_t& { return info.Bits()[y * stride + x]; };
  for (int y = 0; y < height; ++y) std::memset(&at(0, y), 200, static_cast<std::size_t>(width));

  std::mt19937 rng(11);
  for (int w = 0; w < 6; ++w) {
    const int left = static_cast<int>(rng() % static_cast<unsigned>(width / 2));
    const int top = static_cast<int>(rng() % static_cast<unsigned>(height / 2));
    const int right = std::min(
        width - 1, left + width / 3 + static_cast<int>(rng() % static_cast<unsigned>(width / 4)));
    const int bottom = std::min(
        height - 1, top + height / 3 + static_cast<int>(rng() % static_cast<unsigned>(height / 4)));
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) {
        std::uint8_t v = 255;
        if (y == top || y == bottom || x == left || x == right) {
          v = 0;
        } else if (y < top + 24) {
          v = static_cast<std::uint8_t>(40 + 60 * (x - left) / (right - left + 1));
        } else {
          // Text: lines 18 px apart, glyph cells 8 × 12, about half the cells inked.
          const int line = (y - top - 30) % 18, cell = (x - left - 8) / 8;
          const unsigned hash =
              static_cast<unsigned>(cell * 2654435761u + (y - top - 30) / 18 * 40503u);
          if (y > top + 30 && line < 12 && x > left + 8 && x < right - 8 && (hash >> 7) % 2 == 0) {
            const unsigned bit = (hash >> ((line * 8 + (x - left - 8) % 8) % 29)) & 3;
            v = bit == 0 ? 0 : bit == 1 ? 128 : 255;
          }
        }
        at(x, y) = v;
      }
    }
  }
  for (int i = 0; i < 12; ++i) {
    const int left = static_cast<int>(rng() % static_cast<unsigned>(width - 32));
    const int top = static_cast<int>(rng() % static_cast<unsigned>(height - 32));
    for (int y = top; y < top + 32; ++y) {
      for (int x = left; x < left + 32; ++x) at(x, y) = static_cast<std::uint8_t>(rng());
    }
  }
  return info;
}

void WriteBmp(const fs::path& name, const TDIBInfo& info) {
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const std::uint32_t offset = 14 + 40 + 4 * 256;
  out.push_back('B');
  out.push_back('M');
  put(offset + static_cast<std::uint32_t>(info.ImageSize), 4);
  put(0, 4);
  put(offset, 4);
  const auto& h = info.Header;
  put(40, 4);
  put(static_cast<std::uint32_t>(h.biWidth), 4);
  put(static_cast<std::uint32_t>(h.biHeight), 4);
  put(1, 2);
  put(h.biBitCount, 2);
  put(h.biCompression, 4);
  put(h.biSizeImage, 4);
  put(0, 4);
  put(0, 4);
  put(256, 4);
  put(0, 4);
  for (const auto& c : info.ColorTable) out.insert(out.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
  out.insert(out.end(), info.Bits(), info.Bits() + info.ImageSize);
  std::ofstream(name, std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

struct Subject {
  std::string label;
  TDIBInfo pixels;
  TDIBInfo rle;
  fs::path file;
};

constexpr int kProcessIterations = 10;

void Register(const Subject& s) {
  const std::string p = s.label + "/";
  const auto bytes = static_cast<std::size_t>(s.pixels.ImageSize);
  benchmark::RegisterBenchmark((p + "memcpy").c_str(),
                               [&s, bytes](benchmark::State& state) {
                                 std::vector<std::uint8_t> dest(bytes, 1);
                                 for (auto _ : state) {
                                   std::memcpy(dest.data(), s.pixels.Bits(), bytes);
                                   benchmark::ClobberMemory();
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark((p + "encode").c_str(),
                               [&s](benchmark::State& state) {
                                 for (auto _ : state) {
                                   TDIBInfo out = quill::dib::Convert8BitRGBTo8BitRLE(s.pixels);
                                   benchmark::DoNotOptimize(out.Bits());
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark((p + "decode").c_str(),
                               [&s](benchmark::State& state) {
                                 for (auto _ : state) {
                                   TDIBInfo out = quill::dib::Convert8BitRLETo8BitRGB(s.rle);
                                   benchmark::DoNotOptimize(out.Bits());
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark(
      (p + "file_load_decode").c_str(),
      [&s](benchmark::State& state) {
        for (auto _ : state) {
          quill::dib::TKvDIB dib;
          dib.LoadFromFile(s.file);
          TDIBInfo out = quill::dib::Convert8BitRLETo8BitRGB(dib.InternalDIB().DIBInfo);
          benchmark::DoNotOptimize(out.Bits());
        }
      })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(kProcessIterations);

  const std::string command = "bmptopnm '" + s.file.string() + "' > /dev/null 2>&1";
  benchmark::RegisterBenchmark((p + "bmptopnm").c_str(),
                               [command](benchmark::State& state) {
                                 for (auto _ : state) {
                                   if (std::system(command.c_str()) != 0) {
                                     state.SkipWithError("bmptopnm failed or is missing");
                                     break;
                                   }
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(kProcessIterations);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path scratch = fs::temp_directory_path() / "quill-rle-bench";
  fs::create_directories(scratch);
  std::vector<Subject> subjects;
  subjects.reserve(2);
  for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}}) {
    Subject s;
    s.label = "screen-" + std::to_string(w) + "x" + std::to_string(h);
    s.pixels = Screenshot(w, h);
    s.rle = quill::dib::Convert8BitRGBTo8BitRLE(s.pixels);
    s.file = scratch / (s.label + ".rle8.bmp");
    WriteBmp(s.file, s.rle);
    subjects.push_back(std::move(s));
  }
  for (const Subject& s : subjects) Register(s);

  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  std::printf("\n%-22s %9s %9s %7s %8s %8s %7s %8s %8s %9s %8s\n", "image", "pixels", "rle",
              "memcpy", "encode", "enc MB/s", "x copy", "decode", "dec MB/s", "file+dec",
              "bmptopnm");
  for (const Subject& s : subjects) {
    const std::string p = s.label + "/";
    const double mb = s.pixels.ImageSize / 1e6;
    const double copy = collector.Ms(p + "memcpy"), enc = collector.Ms(p + "encode"),
                 dec = collector.Ms(p + "decode"), file = collector.Ms(p + "file_load_decode"),
                 netpbm = collector.Ms(p + "bmptopnm");
    std::printf("%-22s %9d %9d %7.3f %8.3f %8.0f %7.2f %8.3f %8.0f %9.3f %8.2f\n", s.label.c_str(),
                s.pixels.ImageSize, s.rle.ImageSize, copy, enc, enc > 0 ? mb / enc * 1e3 : 0,
                copy > 0 ? enc / copy : 0, dec, dec > 0 ? mb / dec * 1e3 : 0, file, netpbm);
    if (netpbm > 0 && dec > 0) {
      std::printf("%-22s bmptopnm / decode: %.1fx, bmptopnm / (file load + decode): %.1fx\n", "",
                  netpbm / dec, file > 0 ? netpbm / file : 0);
    }
  }
  std::printf(
      "All times in ms; MB/s of uncompressed pixels; x copy: encode over one memcpy of the\n"
      "pixels; bmptopnm converts the same RLE8 file to PNM (process start included).\n");
  fs::remove_all(scratch);
  return 0;
}
