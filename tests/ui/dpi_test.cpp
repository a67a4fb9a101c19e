// The window on a scaled screen: declared for 96 dpi, every size is
// multiplied by the screen's dots per inch over 96 - when it is made there
// (the test command also runs these at 144 dpi) and when it moves there.
#include "form_over_doubles.h"

#include <commctrl.h>

#include <cstdlib>

#include "framework/dpi.h"
#include "ui/code_page.h"
#include "ui/picture_strip.h"
#include "ui/window_modes.h"
#include "window_shots.h"

namespace quill::ui {
namespace {

int FontHeight(HFONT font) {
  LOGFONTW described = {};
  ::GetObjectW(font, sizeof described, &described);
  return -described.lfHeight;
}

int PictureSize(HIMAGELIST pictures) {
  int width = 0, height = 0;
  ::ImageList_GetIconSize(pictures, &width, &height);
  return width == height ? width : -1;
}

// The pictures the tool bar and the record list show, as the controls hold them.
int ToolBarPictureSize(const framework::Control& bar) {
  return PictureSize(
      reinterpret_cast<HIMAGELIST>(::SendMessageW(bar.hwnd(), TB_GETIMAGELIST, 0, 0)));
}
int ListPictureSize(const framework::Control& list) {
  return PictureSize(ListView_GetImageList(list.hwnd(), LVSIL_SMALL));
}

TEST(PictureStrip, TheLargestDrawingTheScreenHasRoomFor) {
  const struct {
    UINT dpi;
    int step;
  } cases[] = {{72, 0},  {96, 0},  {119, 0}, {120, 1}, {143, 1},
               {144, 2}, {191, 2}, {192, 3}, {384, 3}};
  for (const auto& [dpi, step] : cases) EXPECT_EQ(StripStep(dpi), step) << dpi;
}

TEST_F(FormOverDoubles, ControlsAreSizedForTheScreensDpi) {
  const UINT dpi = framework::DpiOf(form_->hwnd());
  // Run on a scaled screen, the test is told which.
  if (const char* expected = std::getenv("QUILL_SCREEN_DPI")) {
    ASSERT_EQ(dpi, static_cast<UINT>(std::atoi(expected)));
  }
  const auto scaled = [dpi](int value) { return framework::Scaled(value, dpi); };
  const struct {
    const framework::Control* control;
    framework::Box declared;
  } placed[] = {
      {c().MaxEdit, {88, 56, 49, 20}},          {c().MiniCB, {16, 178, 137, 17}},
      {c().StayCB, {16, 200, 121, 17}},         {c().ConvertCB, {16, 222, 97, 17}},
      {c().ConvertEdit, {124, 221, 57, 20}},    {c().DelayEdit, {124, 245, 25, 20}},
      {c().FilterListView, {218, 0, 161, 331}}, {c().WatchRG, {0, 8, 203, 41}},
  };
  for (const auto& [control, declared] : placed) {
    const framework::Box box = control->Bounds();
    EXPECT_EQ(box.x, scaled(declared.x)) << ToAnsi(control->name());
    EXPECT_EQ(box.y, scaled(declared.y)) << ToAnsi(control->name());
    EXPECT_EQ(box.width, scaled(declared.width)) << ToAnsi(control->name());
    EXPECT_EQ(box.height, scaled(declared.height)) << ToAnsi(control->name());
  }
  EXPECT_EQ(c().ToolBar1->Bounds().height, scaled(29));
  EXPECT_EQ(c().StatusBar->Bounds().height, scaled(19));
  EXPECT_EQ(ListView_GetColumnWidth(c().ListView->hwnd(), 1), scaled(106));
  EXPECT_EQ(FontHeight(form_->font()), scaled(12));  // 9 points on every screen
  // The test's screens have a drawing of exactly their scale (16 pixels at 96 dpi).
  EXPECT_EQ(ToolBarPictureSize(*c().ToolBar1), scaled(16));
  EXPECT_EQ(ListPictureSize(*c().ListView), scaled(16));
  RECT window = {};
  ::GetWindowRect(form_->hwnd(), &window);
  EXPECT_EQ(window.right - window.left, scaled(380));
  Copy("9 points on a screen of " + std::to_string(dpi) + " dpi");
  EXPECT_TRUE(SaveWindowShot(form_->hwnd(), L"main_window_" + std::to_wstring(dpi) + L"dpi.bmp"));
}

TEST_F(FormOverDoubles, MovingToAScreenOfOtherDpiScalesTheWindow) {
  const UINT from = form_->dpi();
  const UINT to = from * 3 / 2;
  const auto scaled = [&](int value) {
    return ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
  };
  const auto font_of = [](const framework::Control& control) {
    return reinterpret_cast<HFONT>(::SendMessageW(control.hwnd(), WM_GETFONT, 0, 0));
  };
  std::vector<framework::Box> before;
  for (const framework::Control* control : form_->controls()) before.push_back(control->Bounds());
  const int column = ListView_GetColumnWidth(c().ListView->hwnd(), 2);
  RECT suggested = {};
  ::GetWindowRect(form_->hwnd(), &suggested);
  suggested.right = suggested.left + scaled(suggested.right - suggested.left);
  suggested.bottom = suggested.top + scaled(suggested.bottom - suggested.top);
  ::SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));

  RECT window = {};
  ::GetWindowRect(form_->hwnd(), &window);
  EXPECT_TRUE(::EqualRect(&window, &suggested));
  EXPECT_EQ(FontHeight(form_->font()), framework::Scaled(12, to));
  EXPECT_EQ(ListView_GetColumnWidth(c().ListView->hwnd(), 2), scaled(column));
  constexpr int kPictureSizes[] = {16, 20, 24, 32};
  EXPECT_EQ(ToolBarPictureSize(*c().ToolBar1), kPictureSizes[StripStep(to)]);
  EXPECT_EQ(ListPictureSize(*c().ListView), kPictureSizes[StripStep(to)]);
  // The system's frame and tabs do not change in this test: the controls
  // that fill what they leave of the client area are not compared.
  for (std::size_t i = 0; i < before.size(); ++i) {
    const framework::Control& control = *form_->controls()[i];
    const std::string name = ToAnsi(control.name());
    // Every control that shows text draws it in the new font, the panels
    // and group frames that paint their own captions too: the old font is
    // deleted.
    const bool shows_text =
        control.kind() != L"Image" && control.kind() != L"TrackBar" && control.kind() != L"UpDown";
    if (shows_text) {
      EXPECT_EQ(font_of(control), form_->font()) << name;
    }
    if (control.align() == framework::Align::kClient || control.kind() == L"TabSheet") continue;
    const framework::Box box = control.Bounds();
    EXPECT_NEAR(box.height, scaled(before[i].height), 1) << name;
    if (control.align() != framework::Align::kNone) continue;
    EXPECT_NEAR(box.x, scaled(before[i].x), 1) << name;
    EXPECT_NEAR(box.y, scaled(before[i].y), 1) << name;
    EXPECT_NEAR(box.width, scaled(before[i].width), 1) << name;
  }
}

// A place on the screen stays that place at any scale; only sizes scale. The
// full view left for the minimal one on one screen comes back where it was
// after the window moved to a screen of other dots per inch.
TEST_F(FormOverDoubles, TheFullViewComesBackToItsPlaceAfterAChangeOfScale) {
  const UINT from = form_->dpi();
  const UINT to = from * 3 / 2;
  ::SetWindowPos(form_->hwnd(), nullptr, 210, 130, framework::Scaled(380, from),
                 framework::Scaled(440, from), SWP_NOZORDER | SWP_NOACTIVATE);
  form_->modes().WideBtnClick();  // to the minimal view, at a corner of the screen
  ASSERT_TRUE(form_->modes().MiniMode());
  RECT suggested = {};
  ::GetWindowRect(form_->hwnd(), &suggested);
  ::SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(to, to),
                 reinterpret_cast<LPARAM>(&suggested));
  form_->modes().WideBtnClick();
  RECT full = {};
  ::GetWindowRect(form_->hwnd(), &full);
  EXPECT_EQ(full.left, 210);
  EXPECT_EQ(full.top, 130);
  EXPECT_EQ(full.right - full.left, framework::Scaled(380, to));
  EXPECT_EQ(full.bottom - full.top, framework::Scaled(440, to));
}

}  // namespace
}  // namespace quill::ui
