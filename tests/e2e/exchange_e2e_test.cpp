// Import and export through the program's own menu and the system's file
// dialogs, answered as a user answers them: texts, and pictures of every
// depth as PNG.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "../exchange/dib_pixels.h"
#include "dib/kv_dib_header.h"
#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

std::string ClipboardText() {
  std::string text;
  if (!::OpenClipboard(nullptr)) return text;
  if (const HANDLE data = ::GetClipboardData(CF_TEXT)) {
    text = static_cast<const char*>(::GlobalLock(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

std::string FileBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string ClipboardBytes(UINT format) {
  std::string bytes;
  for (int attempt = 0; attempt < 50 && !::OpenClipboard(nullptr); ++attempt) ::Sleep(20);
  if (const HANDLE data = ::GetClipboardData(format)) {
    const auto* p = static_cast<const char*>(::GlobalLock(data));
    if (p) bytes.assign(p, p + ::GlobalSize(data));
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return bytes;
}

exchange::testing::RgbaPixels PixelsOf(const std::string& dib) {
  return exchange::testing::RgbaOfPackedDib(
      std::span(reinterpret_cast<const std::uint8_t*>(dib.data()), dib.size()));
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

class ExchangeE2E : public ::testing::Test {
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
  // "ファイル(&F)" and one of its items, typed.
  HWND FileMenuDialog(WORD item) {
    ::SetForegroundWindow(window_);
    ::Sleep(200);
    SendKeys({VK_MENU, 'F'});
    ::Sleep(150);
    SendKeys({item});
    return program_.WaitForDialog(kWait);
  }

  // Waits until the file at `path` has been written.
  std::string WrittenFile(const std::wstring& path) {
    const DWORD start = ::GetTickCount();
    while (FileBytes(path).empty() && ::GetTickCount() - start < kWait) ::Sleep(50);
    ::Sleep(200);
    return FileBytes(path);
  }
  bool WaitForRecords(int count) {
    const std::wstring n = std::to_wstring(count);
    return WaitForCaption(window_, L"Quilleteer  " + n + L"/" + n, kWait);
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(ExchangeE2E, AFileWithoutExtensionIsImportedAsTextWithWindowsLineEnds) {
  const std::wstring path = program_.folder() + L"\\notes";
  std::ofstream(path.c_str(), std::ios::binary) << std::string("one\ntwo\n\0after", 15);
  const HWND dialog = FileMenuDialog('I');  // "ファイルから読み込み(&I)..."
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseFile(dialog, path));
  ASSERT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  EXPECT_EQ(ClipboardText(), "one\r\ntwo\r\n") << "line ends made CR LF, cut at the NUL";
}

TEST_F(ExchangeE2E, ARecordIsExportedAsTextUnderTheNameChosen) {
  ASSERT_TRUE(CopyText("exported\r\nas it is"));
  ASSERT_TRUE(WaitForCaption(window_, L"Quilleteer  1/1", kWait));
  const std::wstring path = program_.folder() + L"\\x.txt";
  const HWND dialog = FileMenuDialog('S');  // "ファイルへ保存(&S)..."
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ChooseFile(dialog, path));
  EXPECT_EQ(WrittenFile(path), "exported\r\nas it is") << "ANSI bytes, no BOM, nothing added";
}

TEST_F(ExchangeE2E, EveryDepthExportedAsPngImportsBackWithItsPixels) {
  const UINT png_format = ::RegisterClipboardFormatA("PNG");
  int records = 0;
  for (const int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    const auto original = Picture(bits);
    ASSERT_TRUE(CopyBlock(CF_DIB, original.data(), original.size()));
    ASSERT_TRUE(WaitForRecords(++records));
    const std::wstring path = program_.folder() + L"\\depth" + std::to_wstring(bits) + L".png";
    const HWND save = FileMenuDialog('S');  // "ファイルへ保存(&S)..."
    ASSERT_TRUE(save && ChooseFile(save, path));
    const std::string file = WrittenFile(path);
    ASSERT_GT(file.size(), 25u);
    EXPECT_EQ(file[24], bits <= 8 ? bits : 8) << "palettes stay palettes of their depth";

    const HWND open = FileMenuDialog('I');  // "ファイルから読み込み(&I)..."
    ASSERT_TRUE(open && ChooseFile(open, path));
    ASSERT_TRUE(WaitForRecords(++records));
    const auto imported = PixelsOf(ClipboardBytes(CF_DIB));
    EXPECT_EQ(imported.bit_count, bits);
    EXPECT_TRUE(imported.rgba == PixelsOf({original.begin(), original.end()}).rgba);
    EXPECT_EQ(ClipboardBytes(png_format), file);
  }
}

}  // namespace
}  // namespace quill::e2e
