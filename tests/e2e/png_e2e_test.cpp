// PNG export and import, and bitmap files with the longer headers, through
// the program's own menu and the system's file dialogs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "../exchange/dib_pixels.h"
#include "dib/kv_dib_header.h"
#include "program_under_test.h"

namespace quill::e2e {
namespace {

using exchange::testing::RgbaOfPackedDib;
using exchange::testing::RgbaPixels;

constexpr DWORD kWait = 30000;

std::vector<std::uint8_t> ClipboardBytes(UINT format) {
  std::vector<std::uint8_t> bytes;
  for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt) ::Sleep(20);
  if (const HANDLE data = ::GetClipboardData(format)) {
    const auto* p = static_cast<const std::uint8_t*>(::GlobalLock(data));
    if (p) bytes.assign(p, p + ::GlobalSize(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return bytes;
}

std::vector<std::uint8_t> FileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A packed DIB of `bits` with a colour table where it needs one, and for 32
// bits an alpha that changes along each row.
std::vector<std::uint8_t> Picture(int bits) {
  const std::int32_t width = 29, height = 11;
  const std::uint32_t colors = bits <= 8 ? 1u << bits : 0;
  const std::int64_t stride = dib::RowStride(width, bits);
  std::vector<std::uint8_t> block(40 + 4 * colors + static_cast<std::size_t>(stride * height));
  dib::TBitmapInfoHeader header;
  header.biWidth = width;
  header.biHeight = height;
  header.biBitCount = static_cast<std::uint16_t>(bits);
  header.biClrUsed = colors;
  dib::PutInfoHeader(block.data(), header);
  for (std::uint32_t i = 0; i < colors; ++i) {
    block[40 + 4 * i] = static_cast<std::uint8_t>(i * 37);
    block[40 + 4 * i + 1] = static_cast<std::uint8_t>(255 - i);
    block[40 + 4 * i + 2] = static_cast<std::uint8_t>(i * 11);
  }
  std::uint8_t* pixels = block.data() + 40 + 4 * colors;
  for (std::int64_t i = 0; i < stride * height; ++i)
    pixels[i] = static_cast<std::uint8_t>((i * 89) >> 2);
  if (bits == 32)
    for (std::int32_t y = 0; y < height; ++y)
      for (std::int32_t x = 0; x < width; ++x)
        pixels[y * stride + x * 4 + 3] = static_cast<std::uint8_t>(x * 8);
  return block;
}

class PngE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    SettleClipboard();
    ASSERT_TRUE(program_.Start());
    window_ = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window_, nullptr);
    ::SetForegroundWindow(window_);  // automatic capture
  }
  void TearDown() override {
    if (window_) program_.CloseDiscarding(window_, kWait);
  }
  // "ファイル(&F)" and one of its items, typed, answered with `path`.
  bool FileMenu(WORD item, const std::wstring& path) {
    ::SetForegroundWindow(window_);
    ::Sleep(200);
    SendKeys({VK_MENU, 'F'});
    ::Sleep(150);
    SendKeys({item});
    const HWND dialog = program_.WaitForDialog(kWait);
    return dialog && ChooseFile(dialog, path);
  }
  bool WaitForRecords(int count) {
    const std::wstring n = std::to_wstring(count);
    return WaitForCaption(window_, L"Quilleteer  " + n + L"/" + n, kWait);
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(PngE2E, EveryDepthExportedAsPngImportsBackWithItsPixels) {
  const UINT png_format = ::RegisterClipboardFormatA("PNG");
  int records = 0;
  for (const int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto original = Picture(bits);
    ASSERT_TRUE(CopyBlock(CF_DIB, original.data(), original.size()));
    ASSERT_TRUE(WaitForRecords(++records));
    const std::wstring path = program_.folder() + L"\\depth" + std::to_wstring(bits) + L".png";
    ASSERT_TRUE(FileMenu('S', path));  // "ファイルへ保存(&S)..."
    const DWORD start = ::GetTickCount();
    while (FileBytes(path).size() < 8 && ::GetTickCount() - start < kWait) ::Sleep(50);
    ::Sleep(200);
    const auto file = FileBytes(path);
    ASSERT_GT(file.size(), 25u);
    EXPECT_EQ(file[24], bits <= 8 ? bits : 8) << "palettes stay palettes of their depth";

    ASSERT_TRUE(FileMenu('I', path));  // "ファイルから読み込み(&I)..."
    ASSERT_TRUE(WaitForRecords(++records));
    const RgbaPixels imported = RgbaOfPackedDib(ClipboardBytes(CF_DIB));
    const RgbaPixels expected = RgbaOfPackedDib(original);
    EXPECT_EQ(imported.bit_count, bits);
    EXPECT_TRUE(imported.rgba == expected.rgba);
    EXPECT_EQ(ClipboardBytes(png_format), file);
  }
}

TEST_F(PngE2E, FilesOtherProgramsWroteImportWithTheirPixels) {
  std::wstring folder = QUILL_FOREIGN_IMAGES_DIR_W;
  std::replace(folder.begin(), folder.end(), L'/', L'\\');
  int records = 0;
  for (const wchar_t* name : {L"v5_24.bmp", L"v4_16_565.bmp", L"im_rgba_interlaced.png",
                              L"pil_palette_transparent.png", L"im_grey16.png"}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    const std::wstring path = folder + L"\\" + name;
    const auto reported = FileBytes(path + L".rgba");
    ASSERT_FALSE(reported.empty()) << "the test files have not been written";
    ASSERT_TRUE(FileMenu('I', path));
    ASSERT_TRUE(WaitForRecords(++records));
    EXPECT_TRUE(RgbaOfPackedDib(ClipboardBytes(CF_DIB)).rgba == reported);
  }
}

}  // namespace
}  // namespace quill::e2e
