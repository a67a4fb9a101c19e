// The JPEG export of a 1920 × 1080 true-colour picture from the clipboard
// beside libjpeg's own compression of the same pixels, and the import of
// the same picture as a bitmap file beside reading the file plainly.
//   exchange_bench [--benchmark_...]
#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "collector.h"
#include "core/dib_clipboard.h"
#include "dib/kv_dib.h"
#include "dib/kv_stream.h"
#include "exchange/exchange.h"
#include "platform/memory/memory_clipboard.h"
#include "screen_like_pixels.h"

namespace {

using namespace quill;

constexpr int kWidth = 1920, kHeight = 1080;

void Paint(dib::TKvDIB& picture) {
  auto& body = picture.MutableInternalDIB();
  body.CreateDIB(kWidth, kHeight, 24, 0);
  const auto& info = body.DIBInfo;
  quill::bench::PaintScreenLike(info.Bits(), static_cast<int>(info.Stride()), kWidth, kHeight);
}

class NoPane : public exchange::TextPane {
 public:
  bool SetText(const std::string&) override { return true; }
  std::string Text() const override { return {}; }
};

class NoMetafiles : public exchange::MetafileConverter {
 public:
  std::vector<std::uint8_t> WindowsToEnhanced(std::span<const std::uint8_t>,
                                              const exchange::PlaceableBox&) override {
    return {};
  }
  std::vector<std::uint8_t> EnhancedToWindows(std::span<const std::uint8_t>) override { return {}; }
};

// Answers every save dialog with one name and counts the messages.
class FixedDialogs : public platform::Dialogs {
 public:
  explicit FixedDialogs(std::u16string path) : path_(std::move(path)) {}
  int ShowMessage(const std::u16string&, unsigned) override {
    ++messages;
    return platform::answer::kOk;
  }
  std::optional<std::u16string> OpenFile(const std::u16string&) override { return path_; }
  std::optional<std::u16string> OpenTextRecordFile(const std::u16string&, bool&) override {
    return path_;
  }
  std::optional<std::u16string> SaveFile(const std::u16string&, const std::u16string&) override {
    return path_;
  }
  int messages = 0;

 private:
  std::u16string path_;
};

std::filesystem::path Folder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / "quill-exchange-bench";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

struct World {
  platform::MemoryDesktop desktop;
  platform::MemoryClipboard clipboard{desktop};
  platform::WindowId window = desktop.AddWindow(
      [](platform::WindowId, unsigned, platform::WParam, platform::LParam) { return 0; });
};

void BM_ExportJpegFromClipboard(benchmark::State& state) {
  World world;
  {
    dib::TKvDIB picture;
    Paint(picture);
    core::DibClipboard board(world.clipboard, world.window);
    picture.AssignTo(board);
  }
  FixedDialogs dialogs((Folder() / "export.jpg").u16string());
  NoPane pane;
  NoMetafiles metafiles;
  exchange::Exchange exchange({world.clipboard, dialogs, metafiles}, world.window, pane);
  for (auto _ : state) exchange.ExportBtnClick({75, false, false});
  if (dialogs.messages) state.SkipWithError("the export failed");
}
BENCHMARK(BM_ExportJpegFromClipboard)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg(benchmark::State& state) {
  dib::TKvDIB picture;
  Paint(picture);
  for (auto _ : state) benchmark::DoNotOptimize(exchange::EncodeJpeg(picture, {75, false, false}));
}
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond);

// libjpeg alone: the same pixels, options and memory destination.
void BM_LibjpegCompress(benchmark::State& state) {
  dib::TKvDIB picture;
  Paint(picture);
  const auto& info = picture.InternalDIB().DIBInfo;
  for (auto _ : state) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = info.Bits() + info.Stride() * (kHeight - 1 - cinfo.next_scanline);
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    benchmark::DoNotOptimize(size);
    std::free(out);
  }
}
BENCHMARK(BM_LibjpegCompress)->Unit(benchmark::kMillisecond);

std::filesystem::path BitmapFile() {
  static const std::filesystem::path path = [] {
    dib::TKvDIB picture;
    Paint(picture);
    dib::MemoryStream stream;
    picture.SaveToStream(stream);
    const auto file = Folder() / "import.bmp";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.Bytes().data()),
               static_cast<std::streamsize>(stream.Bytes().size()));
    return file;
  }();
  return path;
}

void BM_ImportBmpToClipboard(benchmark::State& state) {
  World world;
  FixedDialogs dialogs(BitmapFile().u16string());
  NoPane pane;
  NoMetafiles metafiles;
  exchange::Exchange exchange({world.clipboard, dialogs, metafiles}, world.window, pane);
  for (auto _ : state) exchange.ImportFile(BitmapFile().u16string());
  if (dialogs.messages) state.SkipWithError("the import failed");
}
BENCHMARK(BM_ImportBmpToClipboard)->Unit(benchmark::kMillisecond);

void BM_ReadFilePlainly(benchmark::State& state) {
  const auto path = BitmapFile();
  for (auto _ : state) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes(std::filesystem::file_size(path));
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    benchmark::DoNotOptimize(bytes.data());
  }
}
BENCHMARK(BM_ReadFilePlainly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  quill::bench::Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  const double export_ms = collector.Ms("BM_ExportJpegFromClipboard");
  const double libjpeg_ms = collector.Ms("BM_LibjpegCompress");
  const double import_ms = collector.Ms("BM_ImportBmpToClipboard");
  const double read_ms = collector.Ms("BM_ReadFilePlainly");
  if (libjpeg_ms > 0) std::printf("JPEG export / libjpeg alone: %.2f\n", export_ms / libjpeg_ms);
  if (read_ms > 0) std::printf("BMP import / plain read: %.2f\n", import_ms / read_ms);
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
  benchmark::Shutdown();
}
