// The preview of recorded pictures and texts in the real window: where a
// bitmap is drawn, what the status line says, and what is shown.
#include "preview_fixture.h"

namespace quill::ui {
namespace {

TEST_F(PreviewTest, ABitmapIsFittedAtTheTopLeftKeepingItsShapeAndNeverEnlarged) {
  struct Case {
    int width, height;  // of the bitmap
    int drawn_width, drawn_height;
  };
  const Case cases[] = {{1000, 500, 304, 152}, {100, 50, 100, 50}, {760, 100, 380, 50}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    SizeImage(380, 152);
    Capture({Dib({c.width, c.height})});
    EXPECT_TRUE(Image().Visible());
    const ColouredArea area = FindColour(Image().Picture());
    EXPECT_EQ(area.picture_width, 380);
    EXPECT_EQ(area.picture_height, 152);
    EXPECT_EQ(area.left, 0);
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.width(), c.drawn_width);
    EXPECT_EQ(area.height(), c.drawn_height);
    // The whole rectangle is the bitmap's, the rest stays white.
    EXPECT_EQ(area.coloured, static_cast<long long>(c.drawn_width) * c.drawn_height);
  }

  // A larger window leaves the picture as it was drawn.
  RECT r;
  ::GetWindowRect(form_->hwnd(), &r);
  ::SetWindowPos(form_->hwnd(), nullptr, 0, 0, r.right - r.left + 200, r.bottom - r.top + 100,
                 SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  ASSERT_GT(Image().Bounds().width, 380);
  const ColouredArea kept = FindColour(Image().Picture());
  EXPECT_EQ(kept.picture_width, 380);
  EXPECT_EQ(kept.width(), 380);
  EXPECT_EQ(kept.height(), 50);
}

TEST_F(PreviewTest, TheStatusNamesTheBitmapsSizeAndDepthThenTheTextsBytes) {
  struct Case {
    int bit_count;
    DWORD compression;
    const wchar_t* depth;
  };
  const Case cases[] = {
      {1, BI_RGB, L"2 colors (1 bit)"},    {4, BI_RGB, L"16 colors (4 bit)"},
      {4, BI_RLE4, L"16 colors (4 bit)"},  {8, BI_RGB, L"256 colors (8 bit)"},
      {8, BI_RLE8, L"256 colors (8 bit)"}, {24, BI_RGB, L"16M colors (24 bit)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bit_count);
    Capture({Dib({37, 11, c.bit_count, c.compression})});
    EXPECT_EQ(Status(), std::wstring(L"Bitmap: 37*11, ") + c.depth + L"    ");
  }

  // The text's bytes in the code page, line breaks included.
  Capture({Text("ab\r\ncd"), Dib({100, 50})});
  EXPECT_EQ(Status(), L"Bitmap: 100*50, 16M colors (24 bit)    Text: 6 bytes");
  Capture({Text(ToAnsi(L"漢字"))});
  EXPECT_EQ(Status(), L"Text: 4 bytes");
  EXPECT_EQ(Memo().Text(), L"漢字");
}

TEST_F(PreviewTest, ARecordWithTextAndBitmapOpensOnItsText) {
  Capture({Text("first line\r\nsecond"), Dib({100, 50})});
  EXPECT_TRUE(Memo().Visible());
  EXPECT_FALSE(Image().Visible());
  EXPECT_EQ(Memo().Text(), L"first line\r\nsecond");
  EXPECT_EQ(Status(), L"Bitmap: 100*50, 16M colors (24 bit)    Text: 18 bytes");
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"Text"});
  EXPECT_EQ(EnabledItems(), (std::vector<std::wstring>{L"Text", L"DIB"}));
  EXPECT_TRUE(Tools().ButtonEnabled(L"CopyBtn"));
  EXPECT_TRUE(form_->menus().Enabled(L"MenuConv"));
  EXPECT_TRUE(Tools().ButtonEnabled(L"ExportBtn"));
  EXPECT_TRUE(form_->menus().Enabled(L"MenuSave"));
  // The bitmap was drawn too, ready to be chosen.
  EXPECT_EQ(FindColour(Image().Picture()).coloured, 100 * 50);
}

TEST_F(PreviewTest, AMetafileFillsTheWholeImageAndAddsNothingToTheStatus) {
  Capture({Text("before")});
  SizeImage(380, 152);
  Capture({{CF_ENHMETAFILE, SolidMetafile(100, 100, RGB(200, 40, 40))}});
  EXPECT_TRUE(Image().Visible());
  EXPECT_FALSE(Memo().Visible());
  EXPECT_EQ(Memo().Text(), L"");
  EXPECT_EQ(Status(), L"");
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{L"EnhancedMetaFile"});
  EXPECT_FALSE(Tools().ButtonEnabled(L"CopyBtn"));
  EXPECT_TRUE(Tools().ButtonEnabled(L"ExportBtn"));
  // Stretched to the image, square or not.
  const ColouredArea area = FindColour(Image().Picture());
  EXPECT_EQ(area.picture_width, 380);
  EXPECT_EQ(area.picture_height, 152);
  EXPECT_LE(area.left, 1);
  EXPECT_LE(area.top, 1);
  EXPECT_GE(area.right, 379);
  EXPECT_GE(area.bottom, 151);
}

TEST_F(PreviewTest, ARecordOfNeitherTextNorPictureShowsAnEmptyMemo) {
  Capture({Text("some text"), Dib({10, 10})});
  const UINT private_format = ::RegisterClipboardFormatW(L"Quilleteer Sample");
  const char sample[] = "sample";
  Capture({{private_format, GlobalCopy(sample, sizeof sample)}});
  EXPECT_TRUE(Memo().Visible());
  EXPECT_FALSE(Image().Visible());
  EXPECT_EQ(Memo().Text(), L"");
  EXPECT_EQ(Status(), L"");
  EXPECT_FALSE(Tools().ButtonEnabled(L"ExportBtn"));
  EXPECT_FALSE(form_->menus().Enabled(L"MenuSave"));
  EXPECT_FALSE(Tools().ButtonEnabled(L"CopyBtn"));
  ASSERT_EQ(DisplayItems().size(), 1u);
  EXPECT_EQ(form_->menus().Caption(DisplayItems().front()), L"Quilleteer Sample");
  EXPECT_EQ(EnabledItems(), std::vector<std::wstring>{});
  EXPECT_EQ(CheckedItems(), std::vector<std::wstring>{});
}

TEST_F(PreviewTest, AFailedReadCountsAsTextAndPictureButCannotBeExported) {
  Capture({Text("kept"), Dib({20, 10})});
  form_->view().RefreshPreview(core::kNoRecord);
  EXPECT_EQ(Status(), L"Bitmap: 20*10, 16M colors (24 bit)    Text: 4 bytes");
  EXPECT_TRUE(Memo().Visible());
  EXPECT_FALSE(Image().Visible());
  EXPECT_TRUE(Tools().ButtonEnabled(L"CopyBtn"));
  EXPECT_FALSE(Tools().ButtonEnabled(L"ExportBtn"));
  EXPECT_FALSE(form_->menus().Enabled(L"MenuSave"));
  EXPECT_TRUE(dialogs_.shown.empty());
}

TEST_F(PreviewTest, AnUnreadableBitmapLeavesABlankPictureAndSaysSo) {
  // Only the text and the DIB are recorded: asked for the formats it derives
  // from a DIB, Wine 8 corrupts its state on a zero-width one.
  form_->settings().FilterListViewChange(core::FormatFilter::kAll, false);
  form_->settings().FilterListViewChange(CF_TEXT, true);
  form_->settings().FilterListViewChange(CF_DIB, true);
  SizeImage(200, 100);
  Capture({Dib({60, 30})});
  ASSERT_GT(FindColour(Image().Picture()).coloured, 0);

  std::vector<std::uint8_t> odd_depth = SolidDib({60, 30});
  reinterpret_cast<BITMAPINFOHEADER*>(odd_depth.data())->biBitCount = 7;
  std::vector<std::uint8_t> no_width = SolidDib({60, 30});
  reinterpret_cast<BITMAPINFOHEADER*>(no_width.data())->biWidth = 0;
  const std::vector<std::uint8_t> cut_short(odd_depth.begin(), odd_depth.begin() + 20);
  const std::pair<const char*, const std::vector<std::uint8_t>*> unreadable[] = {
      {"7 bits", &odd_depth}, {"no width", &no_width}, {"cut short", &cut_short}};
  for (const auto& [name, bytes] : unreadable) {
    SCOPED_TRACE(name);
    Capture({Text("note"), {CF_DIB, GlobalCopy(*bytes)}});
    EXPECT_EQ(Status(), L"Bitmap: unreadable    Text: 4 bytes");
    const ColouredArea area = FindColour(Image().Picture());
    EXPECT_EQ(area.picture_width, 200);
    EXPECT_EQ(area.picture_height, 100);
    EXPECT_EQ(area.coloured, 0);
  }
  EXPECT_TRUE(dialogs_.shown.empty());

  // The next good bitmap is drawn again.
  Capture({Dib({60, 30})});
  EXPECT_EQ(Status(), L"Bitmap: 60*30, 16M colors (24 bit)    ");
  EXPECT_EQ(FindColour(Image().Picture()).coloured, 60 * 30);
}

}  // namespace
}  // namespace quill::ui
