// Loads and saves the bitmap files named on the command line, in memory and
// through files, beside a plain memcpy of the same bytes and ImageMagick's
// convert doing the same load and save; prints milliseconds per operation
// and the ratios.
//   dib_bench [--benchmark_...] FILE.bmp...
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "collector.h"
#include "dib/kv_dib.h"
#include "dib/kv_stream.h"

namespace {

namespace fs = std::filesystem;
using quill::dib::MemoryStream;
using quill::dib::TKvDIB;

std::vector<std::uint8_t> ReadFile(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Quoted(const fs::path& name) {
  std::string quoted = "'";
  quoted += name.string();
  quoted += '\'';
  return quoted;
}

using quill::bench::Collector;

// Work through files runs as often for us as for convert: many back-to-back
// saves of a large file measure the disk's write-back, not the program.
constexpr int kFileIterations = 5;

struct Subject {
  std::string label;
  fs::path file;
  std::vector<std::uint8_t> bytes;
};

void Register(const Subject& s, const fs::path& scratch) {
  const std::string p = s.label + "/";
  benchmark::RegisterBenchmark((p + "memcpy").c_str(),
                               [&s](benchmark::State& state) {
                                 std::vector<std::uint8_t> dest(s.bytes.size(), 1);
                                 for (auto _ : state) {
                                   std::memcpy(dest.data(), s.bytes.data(), s.bytes.size());
                                   benchmark::ClobberMemory();
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark((p + "load").c_str(),
                               [&s](benchmark::State& state) {
                                 MemoryStream in(s.bytes);
                                 for (auto _ : state) {
                                   TKvDIB dib;
                                   in.Seek(0);
                                   dib.LoadFromStream(in);
                                   benchmark::DoNotOptimize(dib.InternalDIB().DIBInfo.Bits());
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark((p + "save").c_str(),
                               [&s](benchmark::State& state) {
                                 MemoryStream in(s.bytes);
                                 TKvDIB dib;
                                 dib.LoadFromStream(in);
                                 MemoryStream out;
                                 for (auto _ : state) {
                                   out.Clear();
                                   dib.SaveToStream(out);
                                   benchmark::DoNotOptimize(out.Bytes().data());
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  benchmark::RegisterBenchmark((p + "file_load").c_str(),
                               [&s](benchmark::State& state) {
                                 for (auto _ : state) {
                                   TKvDIB dib;
                                   dib.LoadFromFile(s.file);
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(kFileIterations);

  const fs::path out_file = scratch / (s.label + ".out.bmp");
  benchmark::RegisterBenchmark((p + "file_save").c_str(),
                               [&s, out_file](benchmark::State& state) {
                                 TKvDIB dib;
                                 dib.LoadFromFile(s.file);
                                 for (auto _ : state) dib.SaveToFile(out_file);
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(kFileIterations);

  const std::string command =
      "convert " + Quoted(s.file) + " BMP3:" + Quoted(scratch / (s.label + ".magick.bmp"));
  benchmark::RegisterBenchmark((p + "convert_load_save").c_str(),
                               [command](benchmark::State& state) {
                                 for (auto _ : state) {
                                   if (std::system(command.c_str()) != 0) {
                                     state.SkipWithError("convert failed");
                                     break;
                                   }
                                 }
                               })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(kFileIterations);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc < 2) {
    std::cerr << "usage: dib_bench [--benchmark_...] FILE.bmp...\n";
    return 2;
  }
  const fs::path scratch = fs::temp_directory_path() / "quill-dib-bench";
  fs::create_directories(scratch);
  std::vector<Subject> subjects;
  subjects.reserve(static_cast<std::size_t>(argc - 1));
  for (int i = 1; i < argc; ++i) {
    Subject s{fs::path(argv[i]).stem().string(), argv[i], ReadFile(argv[i])};
    if (s.bytes.empty()) {
      std::cerr << "cannot read " << argv[i] << "\n";
      return 1;
    }
    subjects.push_back(std::move(s));
  }
  for (const Subject& s : subjects) Register(s, scratch);

  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::Shutdown();

  std::printf("\n%-28s %10s %8s %8s %8s %10s %10s %9s\n", "file (bytes)", "memcpy ms", "load ms",
              "save ms", "x memcpy", "file l+s", "convert", "x faster");
  for (const Subject& s : subjects) {
    const std::string p = s.label + "/";
    const double copy = collector.Ms(p + "memcpy"), load = collector.Ms(p + "load"),
                 save = collector.Ms(p + "save"),
                 file = collector.Ms(p + "file_load") + collector.Ms(p + "file_save"),
                 magick = collector.Ms(p + "convert_load_save");
    const std::string name = s.label + " (" + std::to_string(s.bytes.size()) + ")";
    std::printf("%-28s %10.3f %8.3f %8.3f %8.2f %10.3f %10.1f %9.1f\n", name.c_str(), copy, load,
                save, copy > 0 ? std::max(load, save) / copy : 0, file, magick,
                file > 0 ? magick / file : 0);
  }
  std::printf(
      "x memcpy: the slower of load and save over one memcpy of the file's bytes.\n"
      "x faster: convert's load and save over ours, both through files.\n");
  fs::remove_all(scratch);
  return 0;
}
