// With a colour mode chosen, a picture another program copies is recorded
// once, converted, and the clipboard keeps only the converted picture.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr wchar_t kKey[] = L"Software\\Marlowin\\Quilleteer";
constexpr wchar_t kSettings[] = L"Software\\Marlowin\\Quilleteer\\Setting";
constexpr DWORD kTwoColours = 1;  // the item after "no conversion"

// A 24-bit packed DIB with a gradient.
std::vector<std::uint8_t> Picture(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> block(sizeof(BITMAPINFOHEADER) + stride * height);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = 24;
  std::uint8_t* pixels = block.data() + sizeof(BITMAPINFOHEADER);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width * 3; ++x)
      pixels[y * stride + x] = static_cast<std::uint8_t>(x * 3 + y * 5);
  }
  return block;
}

class ColourCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Color", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kTwoColours),
                     sizeof kTwoColours);
    ::RegCloseKey(key);
    SettleClipboard();
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
};

TEST_F(ColourCapture, TwoColourModeRecordsTheConvertedPictureOnce) {
  ProgramUnderTest program;
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  const std::vector<std::uint8_t> picture = Picture(48, 20);
  ASSERT_TRUE(CopyBlock(CF_DIB, picture.data(), picture.size()));
  ASSERT_TRUE(WaitForCaption(window, L"Quilleteer  1/1", kWait));
  // The conversion changed the clipboard again; that change is not a record.
  ::Sleep(1500);
  EXPECT_EQ(CaptionOf(window), L"Quilleteer  1/1");

  ASSERT_TRUE(::OpenClipboard(nullptr));
  std::vector<UINT> formats;
  for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) formats.push_back(f);
  int bit_count = 0;
  if (const HANDLE data = ::GetClipboardData(CF_DIB)) {
    bit_count = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data))->biBitCount;
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  ASSERT_FALSE(formats.empty());
  EXPECT_EQ(formats.front(), static_cast<UINT>(CF_DIB)) << "put there by the program";
  for (UINT f : formats) {
    EXPECT_TRUE(f == CF_DIB || f == CF_BITMAP || f == CF_DIBV5 || f == CF_PALETTE)
        << "only the picture and what the system derives from it: " << f;
  }
  EXPECT_EQ(bit_count, 1);
  ASSERT_TRUE(program.CloseDiscarding(window, kWait));
}

// A picture its owner marks as private is neither converted nor recorded:
// the clipboard keeps the owner's content, marker and all.
TEST_F(ColourCapture, APrivatePictureIsLeftAsItsOwnerMadeIt) {
  ProgramUnderTest program;
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
  ASSERT_NE(window, nullptr);
  const UINT marker = ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  ASSERT_TRUE(CopyBlocks({{CF_DIB, Picture(48, 20)}, {marker, {0}}}));

  // Watched for a while: a conversion would put a 1-bit picture back alone.
  for (int i = 0; i < 15; ++i) {
    ::Sleep(100);
    ASSERT_TRUE(::OpenClipboard(nullptr));
    const bool marked = ::IsClipboardFormatAvailable(marker);
    int bit_count = 0;
    if (const HANDLE data = ::GetClipboardData(CF_DIB)) {
      bit_count = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data))->biBitCount;
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    ASSERT_TRUE(marked);
    ASSERT_EQ(bit_count, 24);
  }
  // The next ordinary copy is the first record.
  ASSERT_TRUE(CopyText("after"));
  ASSERT_TRUE(WaitForCaption(window, L"Quilleteer  1/1", kWait));
  ASSERT_TRUE(program.CloseDiscarding(window, kWait));
}

}  // namespace
}  // namespace quill::e2e
