// Converts a synthetic 1920 × 1080 true-colour picture (gradients, flat
// panels and a band of fine detail, like a screen capture) to each pixel
// format, plus the two 8-bit starts that reduce or widen, and prints
// milliseconds per conversion.
//   convert_bench [--benchmark_...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "collector.h"
#include "dib/kv_convert_dispatch.h"
#include "dib/kv_errors.h"
#include "screen_like_pixels.h"

namespace {

using quill::dib::TDIBInfo;
using quill::dib::TKvPixelFormat;

constexpr int kWidth = 1920, kHeight = 1080;

TDIBInfo Picture() {
  TDIBInfo info;
  info.Header.biWidth = kWidth;
  info.Header.biHeight = kHeight;
  info.Header.biBitCount = 24;
  info.ImageSize = *quill::dib::PixelBlockSize(kWidth, kHeight, 24);
  info.Pixels = quill::dib::GetFileMap(static_cast<std::size_t>(info.ImageSize));
  quill::bench::PaintScreenLike(info.Bits(), static_cast<int>(info.Stride()), kWidth, kHeight);
  return info;
}

const char* Name(TKvPixelFormat f) {
  static const char* const names[] = {"1Bit",    "4Bit",  "4BitRLE",  "8Bit",
                                      "8BitRLE", "24Bit", "HalfTone", "HalfToneBW"};
  return names[static_cast<int>(f)];
}

using quill::bench::Collector;

void Register(const std::string& label, const TDIBInfo& source, TKvPixelFormat target) {
  benchmark::RegisterBenchmark(label.c_str(),
                               [&source, target](benchmark::State& state) {
                                 for (auto _ : state) {
                                   try {
                                     TDIBInfo out = quill::dib::ConvertPixelFormat(source, target,
                                                                                   0, {}, 0xFFFFFF);
                                     benchmark::DoNotOptimize(out.Bits());
                                   } catch (const quill::dib::Exception& e) {
                                     state.SkipWithError(e.what());
                                     break;
                                   }
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const TDIBInfo true_color = Picture();
  const TDIBInfo eight =
      quill::dib::ConvertPixelFormat(true_color, TKvPixelFormat::kvPf8Bit, 0, {}, 0xFFFFFF);
  std::vector<std::string> order;
  for (int t = 0; t <= 7; ++t) {
    const auto target = static_cast<TKvPixelFormat>(t);
    if (target == TKvPixelFormat::kvPf24Bit) continue;
    order.push_back(std::string("24Bit->") + Name(target));
    Register(order.back(), true_color, target);
  }
  order.push_back("8Bit->4Bit");
  Register(order.back(), eight, TKvPixelFormat::kvPf4Bit);
  order.push_back("8Bit->24Bit");
  Register(order.back(), eight, TKvPixelFormat::kvPf24Bit);

  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  std::printf("\n%dx%d conversion, ms\n", kWidth, kHeight);
  for (const std::string& name : order) {
    const auto it = collector.All().find(name);
    if (it == collector.All().end()) {
      std::printf("%-22s %10s\n", name.c_str(), "failed");
    } else {
      std::printf("%-22s %10.2f\n", name.c_str(), it->second);
    }
  }
  return 0;
}
