// The behaviour every screen implementation must show, run against the
// in-memory double and against the system's screen.
#include <algorithm>
#include <vector>

#include "screen_contract.h"

namespace quill::platform::testing {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;

// The box around every pixel that is not white.
Rect InkedBox(const ScreenBitmap& bitmap) {
  Rect box = {bitmap.Width(), bitmap.Height(), -1, -1};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.PixelAt(x, y) != kWhite)
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
  return box;
}

TEST_P(ScreenContract, CopiesTheScreenAndWhitensWhatLiesOffIt) {
  Screen& screen = world_->screen();
  const Rect whole = screen.PrimaryScreen();
  ASSERT_GT(whole.right, 200);
  ASSERT_GT(whole.bottom, 300);
  world_->ShowPopup({whole.right - 60, 100, whole.right - 20, 140}, kRed);
  world_->ShowPopup({0, 200, 40, 240}, kGreen);

  // Across the right edge: our window, then the screen, then white.
  std::unique_ptr<ScreenBitmap> right = screen.CreateBitmap(80, 20);
  ASSERT_TRUE(right);
  right->CopyFromScreen({whole.right - 40, 110, whole.right + 40, 130}, {0, 0});
  for (int x : {0, 19}) EXPECT_EQ(right->PixelAt(x, 10), kRed) << x;
  for (int x : {40, 79}) EXPECT_EQ(right->PixelAt(x, 10), kWhite) << x;

  // Across the left edge, copied to an offset.
  std::unique_ptr<ScreenBitmap> left = screen.CreateBitmap(50, 30);
  ASSERT_TRUE(left);
  left->CopyFromScreen({-20, 210, 20, 230}, {10, 5});
  for (int x : {10, 29}) EXPECT_EQ(left->PixelAt(x, 15), kWhite) << x;
  for (int x : {30, 49}) EXPECT_EQ(left->PixelAt(x, 15), kGreen) << x;

  // From an earlier picture, as from the screen: what lies off it is white.
  std::unique_ptr<ScreenBitmap> cut = screen.CreateBitmap(30, 10);
  ASSERT_TRUE(cut);
  cut->CopyFromBitmap(*left, {40, 10, 70, 20}, {0, 0});
  for (int x : {0, 9}) EXPECT_EQ(cut->PixelAt(x, 5), kGreen) << x;
  for (int x : {10, 29}) EXPECT_EQ(cut->PixelAt(x, 5), kWhite) << x;

  left->FillWhite();
  EXPECT_EQ(left->PixelAt(49, 29), kWhite);
  EXPECT_FALSE(screen.CreateBitmap(0, 10));
  EXPECT_FALSE(screen.CreateBitmap(10, -1));
}

TEST_P(ScreenContract, PopupsAreFoundByPointRectangleStyleAndZOrder) {
  Screen& screen = world_->screen();
  const Rect lower_rect = {300, 150, 360, 190};
  const WindowId lower = world_->ShowPopup(lower_rect, kRed);
  const WindowId upper = world_->ShowPopup({320, 160, 380, 200}, kGreen);
  EXPECT_EQ(screen.WindowRect(lower), lower_rect);
  EXPECT_EQ(screen.WindowFromPoint({305, 155}), lower);
  EXPECT_EQ(screen.WindowFromPoint({340, 170}), upper);
  EXPECT_EQ(screen.WindowStyle(upper) & screen::kPopupStyleMask, screen::kPopupStyle);
  EXPECT_TRUE(screen.WindowRect(0).IsEmpty());

  std::vector<WindowId> order;
  for (WindowId w = screen.TopWindow(); w && order.size() < 10000; w = screen.NextWindow(w))
    order.push_back(w);
  const auto at = [&](WindowId w) { return std::find(order.begin(), order.end(), w); };
  ASSERT_NE(at(lower), order.end());
  EXPECT_LT(at(upper), at(lower));
}

TEST_P(ScreenContract, PrintScreenBelongsToOneRegistrationAtATime) {
  Screen& screen = world_->screen();
  const WindowId first = world_->NewWindow();
  const WindowId second = world_->NewWindow();
  const int id = screen::kPrintScreenHotKeyId;
  ASSERT_TRUE(screen.RegisterHotKey(first, id, 0, screen::kVkSnapshot));
  EXPECT_FALSE(screen.RegisterHotKey(second, id, 0, screen::kVkSnapshot));
  EXPECT_FALSE(screen.RegisterHotKey(first, id, 0, screen::kVkSnapshot));
  EXPECT_TRUE(screen.UnregisterHotKey(first, id));
  EXPECT_FALSE(screen.UnregisterHotKey(first, id));
  EXPECT_TRUE(screen.RegisterHotKey(second, id, 0, screen::kVkSnapshot));
  EXPECT_TRUE(screen.UnregisterHotKey(second, id));

  EXPECT_TRUE(screen.SetTimer(first, screen::kDelayTimerId, 60000));
  EXPECT_TRUE(screen.SetTimer(first, screen::kDelayTimerId, 30000));  // restarted
  EXPECT_TRUE(screen.KillTimer(first, screen::kDelayTimerId));
  EXPECT_FALSE(screen.KillTimer(first, screen::kDelayTimerId));
}

TEST_P(ScreenContract, AWindowIsHiddenMinimisedOrShown) {
  Screen& screen = world_->screen();
  const WindowId window = world_->NewWindow();
  EXPECT_EQ(screen.ShowStateOf(window), ShowState::kHidden);
  screen.Minimize(window);
  EXPECT_EQ(screen.ShowStateOf(window), ShowState::kMinimized);
  screen.Restore(window);
  EXPECT_EQ(screen.ShowStateOf(window), ShowState::kNormal);
}

TEST_P(ScreenContract, CursorsAreDrawnWithTheirHotSpotOnThePoint) {
  Screen& screen = world_->screen();
  std::unique_ptr<ScreenBitmap> bitmap = screen.CreateBitmap(64, 64);
  ASSERT_TRUE(bitmap);
  const Point point = {32, 32};
  const auto drawn = [&](std::int32_t choice) {
    bitmap->FillWhite();
    return bitmap->DrawCursor(choice, 0, point) ? InkedBox(*bitmap) : Rect{};
  };
  // The arrow's tip is its hot spot: it hangs below and right of the point.
  const Rect arrow = drawn(32512);
  EXPECT_GE(arrow.left, point.x - 1);
  EXPECT_GE(arrow.top, point.y - 1);
  EXPECT_LE(arrow.left, point.x + 1);
  EXPECT_LE(arrow.top, point.y + 1);
  // The cross and the framework's vertical split are centred on it.
  for (std::int32_t centred : {32515, -15}) {
    const Rect box = drawn(centred);
    EXPECT_LT(box.left, point.x - 2) << centred;
    EXPECT_LT(box.top, point.y - 2) << centred;
    EXPECT_GT(box.right, point.x + 2) << centred;
    EXPECT_GT(box.bottom, point.y + 2) << centred;
  }
  // Our own current cursor, whatever it is, draws something.
  EXPECT_FALSE(drawn(1).IsEmpty());
  EXPECT_FALSE(bitmap->DrawCursor(12345, 0, point));
  EXPECT_FALSE(bitmap->DrawCursor(-5, 0, point));
}

}  // namespace
}  // namespace quill::platform::testing
