// Screen captures of the running program, commanded as a user does (the
// capture menu through the keyboard, Print Screen) while this process plays
// the other program whose windows are captured. What is recorded is read
// back from the clipboard and compared with the screen's own pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;
constexpr wchar_t kKey[] = L"Software\\Marlowin\\Quilleteer";
constexpr wchar_t kSettings[] = L"Software\\Marlowin\\Quilleteer\\Setting";
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Pixels as 0xRRGGBB, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

// Keeps this process's windows painted while it waits for the program.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = kWait) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > milliseconds) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    Pump();
  }
  return true;
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

void Keys(std::initializer_list<WORD> chord) {
  SendKeys(chord);
  PumpFor(150);  // the program takes each chord in turn
}

Picture FromDib(const BITMAPINFOHEADER* header) {
  Picture picture;
  picture.width = header->biWidth;
  picture.height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int bytes = header->biBitCount / 8;
  const int stride = (picture.width * header->biBitCount + 31) / 32 * 4;
  const auto* bits = reinterpret_cast<const std::uint8_t*>(header) + header->biSize +
                     (header->biCompression == BI_BITFIELDS ? 12 : 0);
  for (int y = 0; y < picture.height; ++y) {
    const int row = header->biHeight < 0 ? y : picture.height - 1 - y;
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p = bits + static_cast<std::size_t>(row) * stride + x * bytes;
      picture.pixels.push_back(std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0]);
    }
  }
  return picture;
}

// What the program left on the clipboard: the captured picture.
Picture ClipboardPicture() {
  Picture picture;
  if (!::OpenClipboard(nullptr)) return picture;
  if (const HANDLE data = ::GetClipboardData(CF_DIB)) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(data));
    if (header && (header->biBitCount == 24 || header->biBitCount == 32)) picture = FromDib(header);
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return picture;
}

// The screen's pixels in `area`, as this process sees them.
Picture ScreenPicture(const RECT& area) {
  Picture picture;
  picture.width = area.right - area.left;
  picture.height = area.bottom - area.top;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = -picture.height;  // top row first
  header.biPlanes = 1;
  header.biBitCount = 32;
  void* bits = nullptr;
  const HDC screen = ::GetDC(nullptr);
  const HDC memory = ::CreateCompatibleDC(screen);
  const HBITMAP bitmap = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY);
  ::SelectObject(memory, old);
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  if (pixels) picture.pixels.assign(pixels, pixels + picture.width * picture.height);
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF;
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

// The part of `picture` at (x, y) of the size of `part`.
bool SameAt(const Picture& picture, int x, int y, const Picture& part) {
  for (int j = 0; j < part.height; ++j)
    for (int i = 0; i < part.width; ++i)
      if (picture.At(x + i, y + j) != part.At(i, j)) return false;
  return true;
}

// A window of the other program: four coloured quarters and a button.
class Target {
 public:
  explicit Target(const RECT& at) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"QuillCaptureTarget";
    ::RegisterClassW(&wc);
    window_ = ::CreateWindowExW(0, wc.lpszClassName, L"Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                at.left, at.top, at.right - at.left, at.bottom - at.top, nullptr,
                                nullptr, wc.hInstance, nullptr);
    button_ = ::CreateWindowExW(0, L"BUTTON", L"Part", WS_CHILD | WS_VISIBLE, 20, 20, 90, 30,
                                window_, nullptr, wc.hInstance, nullptr);
  }
  ~Target() { ::DestroyWindow(window_); }
  HWND window() const { return window_; }
  HWND button() const { return button_; }
  RECT Rect(HWND which) const {
    RECT r;
    ::GetWindowRect(which, &r);
    return r;
  }
  // Brings it to the front and waits until it is painted there.
  bool Activate() {
    ::SetForegroundWindow(window_);
    const bool front = PumpUntil([this] { return ::GetForegroundWindow() == window_; });
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(200);
    return front;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window, &paint);
      RECT client;
      ::GetClientRect(window, &client);
      const COLORREF colours[] = {RGB(200, 30, 30), RGB(30, 160, 30), RGB(30, 30, 200),
                                  RGB(220, 200, 40)};
      for (int i = 0; i < 4; ++i) {
        RECT quarter = {i % 2 ? client.right / 2 : 0, i / 2 ? client.bottom / 2 : 0,
                        i % 2 ? client.right : client.right / 2,
                        i / 2 ? client.bottom : client.bottom / 2};
        const HBRUSH brush = ::CreateSolidBrush(colours[i]);
        ::FillRect(dc, &quarter, brush);
        ::DeleteObject(brush);
      }
      ::EndPaint(window, &paint);
      return 0;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  HWND window_;
  HWND button_;
};

class CaptureE2E : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window_) program_.CloseDiscarding(window_, kWait);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  }
  // Starts the program with these settings.
  void Start(DWORD delay, DWORD manual = 0) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Timer", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&delay),
                     sizeof delay);
    ::RegSetValueExW(key, L"Manual", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&manual),
                     sizeof manual);
    ::RegCloseKey(key);
    SettleClipboard();
    ASSERT_TRUE(program_.Start());
    window_ = program_.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window_, nullptr);
  }
  // Chooses a capture item with the keyboard: Alt+C opens "キャプチャ(&C)".
  void Command(std::initializer_list<WORD> keys) {
    ::SetForegroundWindow(window_);
    ASSERT_TRUE(PumpUntil([this] { return ::GetForegroundWindow() == window_; }));
    Keys({VK_MENU, 'C'});
    for (WORD key : keys) Keys({key});
  }
  void WindowCapture(WORD item) {
    Command({item});
    ASSERT_TRUE(PumpUntil([this] { return ::IsIconic(window_) != FALSE; })) << "not minimised";
  }
  bool WaitForRecords(int count) {
    const std::wstring caption =
        L"Quilleteer  " + std::to_wstring(count) + L"/" + std::to_wstring(count);
    return PumpUntil([&] { return CaptionOf(window_) == caption; });
  }

  ProgramUnderTest program_;
  HWND window_ = nullptr;
};

TEST_F(CaptureE2E, TheActiveWindowIsRecordedAsTheScreenShowsIt) {
  Start(2);
  Target target({200, 150, 520, 390});
  WindowCapture('W');
  ASSERT_TRUE(target.Activate());
  const Picture expected = ScreenPicture(target.Rect(target.window()));
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  ASSERT_EQ(recorded.width, expected.width);
  ASSERT_EQ(recorded.height, expected.height);
  EXPECT_TRUE(SameAt(recorded, 0, 0, expected)) << "frame and client as on the screen";
  EXPECT_TRUE(PumpUntil([this] { return !::IsIconic(window_); })) << "the window came back";
  // The capture was recorded once, although the program changed the clipboard.
  PumpFor(1500);
  EXPECT_EQ(CaptionOf(window_), L"Quilleteer  1/1");
}

TEST_F(CaptureE2E, FullScreenInManualModeIsRecordedOnceAtTheScreensSize) {
  Start(1, 1);
  WindowCapture('F');
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  // The display mode is in the screen's own pixels whatever its scale (the
  // test command also runs this at 144 dpi).
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  ASSERT_TRUE(::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(recorded.width, static_cast<int>(mode.dmPelsWidth));
  EXPECT_EQ(recorded.height, static_cast<int>(mode.dmPelsHeight));
  PumpFor(1500);
  EXPECT_EQ(CaptionOf(window_), L"Quilleteer  1/1");
}

TEST_F(CaptureE2E, TheControlUnderThePointerIsRecorded) {
  Start(2);
  Target target({240, 200, 560, 440});
  WindowCapture('P');
  ASSERT_TRUE(target.Activate());
  const RECT part = target.Rect(target.button());
  ::SetCursorPos(part.left + 40, part.top + 15);
  PumpFor(200);
  const Picture expected = ScreenPicture(part);
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  ASSERT_EQ(recorded.width, part.right - part.left);
  ASSERT_EQ(recorded.height, part.bottom - part.top);
  EXPECT_TRUE(SameAt(recorded, 0, 0, expected));
}

TEST_F(CaptureE2E, AWindowOffTheScreenIsClippedWhenActiveButNotUnderThePointer) {
  Start(2);
  const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  Target target({screen_width - 120, 200, screen_width + 200, 440});
  const RECT whole = target.Rect(target.window());
  const RECT visible = {whole.left, whole.top, screen_width, whole.bottom};

  WindowCapture('W');
  ASSERT_TRUE(target.Activate());
  Picture expected = ScreenPicture(visible);
  ASSERT_TRUE(WaitForRecords(1));
  Picture recorded = ClipboardPicture();
  EXPECT_EQ(recorded.width, 120);
  EXPECT_TRUE(recorded.width == 120 && SameAt(recorded, 0, 0, expected));

  WindowCapture('P');
  ASSERT_TRUE(target.Activate());
  ::SetCursorPos(screen_width - 20, whole.top + 150);  // on the client, not the button
  PumpFor(200);
  expected = ScreenPicture(visible);
  ASSERT_TRUE(WaitForRecords(2));
  recorded = ClipboardPicture();
  ASSERT_EQ(recorded.width, whole.right - whole.left);
  EXPECT_TRUE(SameAt(recorded, 0, 0, expected)) << "the visible part as shown";
  EXPECT_EQ(recorded.At(recorded.width - 1, recorded.height / 2), kWhite) << "beyond the edge";
}

TEST_F(CaptureE2E, WithNoDelayPrintScreenCaptures) {
  Start(0);
  WindowCapture('F');
  PumpFor(1500);
  EXPECT_EQ(CaptionOf(window_), L"Quilleteer") << "nothing before Print Screen";
  Keys({VK_SNAPSHOT});
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_EQ(ClipboardPicture().width, ::GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(CaptureE2E, PrintScreenBeforeTheDelayEndsCapturesOnceOnly) {
  Start(3);
  WindowCapture('F');
  const DWORD pressed = ::GetTickCount();
  Keys({VK_SNAPSHOT});
  ASSERT_TRUE(WaitForRecords(1));
  EXPECT_LT(::GetTickCount() - pressed, 3000u) << "the timer, not the key, captured";
  PumpFor(4000);  // past the delay: the timer was stopped with the capture
  EXPECT_EQ(CaptionOf(window_), L"Quilleteer  1/1");
}

INPUT Mouse(int x, int y, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = (x * 65536 + 65535) / ::GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = (y * 65536 + 65535) / ::GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

void MouseTo(int x, int y, DWORD flags = 0) {
  INPUT input = Mouse(x, y, flags);
  ::SendInput(1, &input, sizeof input);
  PumpFor(100);
}

// The pixels that differ between two pictures of the same size, as a box.
RECT Difference(const Picture& a, const Picture& b) {
  RECT box = {a.width, a.height, -1, -1};
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (a.At(x, y) != b.At(x, y)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

// The overlay the program chose for this system, not one forced by a test.
HWND Overlay() { return ::FindWindowW(L"FGrab", nullptr); }

// An area command's overlay is up and has taken the screen.
bool OverlayUp() {
  return PumpUntil([] { return Overlay() && ::IsWindowVisible(Overlay()); });
}

// This process plays a program that is busy when the selection ends: its
// windows cannot repaint what the overlay covered, as a real one's may not.
void BusyFor(DWORD milliseconds) { ::Sleep(milliseconds); }

void DragArea(POINT from, POINT to) {
  MouseTo(from.x, from.y);
  MouseTo(from.x, from.y, MOUSEEVENTF_LEFTDOWN);
  MouseTo((from.x + to.x) / 2, (from.y + to.y) / 2);
  MouseTo(to.x, to.y);
  INPUT release = Mouse(to.x, to.y, MOUSEEVENTF_LEFTUP);
  ::SendInput(1, &release, sizeof release);
  BusyFor(1500);
}

TEST_F(CaptureE2E, AnAreaDraggedWithTheMouseIsRecordedAsTheScreenShowedIt) {
  Start(5);
  Target target({200, 150, 520, 390});
  ASSERT_TRUE(target.Activate());
  // Across the button and the quarters' borders, below the title bar (it
  // turns inactive when the program comes forward); corners in either order.
  const RECT area = {230, 190, 430, 350};
  const Picture expected = ScreenPicture(area);
  Command({'A'});
  ASSERT_TRUE(OverlayUp());
  DragArea({area.right, area.bottom}, {area.left, area.top});
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  ASSERT_EQ(recorded.width, 200);
  ASSERT_EQ(recorded.height, 160);
  const RECT wrong = Difference(recorded, expected);
  EXPECT_GE(wrong.left, wrong.right) << "pixels differ from (" << wrong.left << "," << wrong.top
                                     << ") to (" << wrong.right << "," << wrong.bottom << ")";
  EXPECT_TRUE(PumpUntil([this] { return !::IsIconic(window_); })) << "the window came back";
}

TEST_F(CaptureE2E, AFixedSizeAreaIsPlacedWithTheMouseAndConfirmedWithAKey) {
  Start(5);
  Target target({300, 250, 620, 490});
  ASSERT_TRUE(target.Activate());
  const RECT area = {488, 378, 520, 410};  // 32 x 32 ending at the pointer
  const Picture expected = ScreenPicture(area);
  Command({'R'});
  HWND dialog = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    return (dialog = ::FindWindowW(L"TFSize", L"サイズ指定")) && ::IsWindowVisible(dialog);
  }));
  Keys({VK_RETURN});  // the size as it stands: 32 x 32
  ASSERT_TRUE(OverlayUp());
  MouseTo(500, 400);
  MouseTo(area.right, area.bottom);
  SendKeys({VK_SPACE});
  BusyFor(1500);
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  ASSERT_EQ(recorded.width, 32);
  ASSERT_EQ(recorded.height, 32);
  EXPECT_TRUE(SameAt(recorded, 0, 0, expected));
  CURSORINFO cursor = {};
  cursor.cbSize = sizeof cursor;
  ASSERT_TRUE(::GetCursorInfo(&cursor));
  EXPECT_TRUE(cursor.flags & CURSOR_SHOWING) << "the pointer is back";
}

TEST_F(CaptureE2E, AltF4EndsASelectionAndAnAreaGivesUpAWaitingWindowCapture) {
  Start(3);
  WindowCapture('F');
  ::ShowWindow(window_, SW_RESTORE);  // the user brings the window back at once
  ASSERT_TRUE(PumpUntil([this] { return !::IsIconic(window_); }));
  Command({'A'});
  ASSERT_TRUE(OverlayUp());
  MouseTo(300, 300);
  Keys({VK_MENU, VK_F4});
  EXPECT_TRUE(PumpUntil([] { return !::IsWindowVisible(Overlay()); })) << "the overlay is gone";
  EXPECT_TRUE(PumpUntil([this] { return !::IsIconic(window_); })) << "the window came back";
  Command({'A'});
  ASSERT_TRUE(OverlayUp()) << "a second selection starts";
  DragArea({200, 200}, {290, 260});
  ASSERT_TRUE(WaitForRecords(1));
  PumpFor(4000);  // past the window capture's delay
  EXPECT_EQ(CaptionOf(window_), L"Quilleteer  1/1");
  const Picture recorded = ClipboardPicture();
  EXPECT_EQ(recorded.width, 90);
  EXPECT_EQ(recorded.height, 60);
}

TEST_F(CaptureE2E, TheChosenCursorIsDrawnWithItsHotSpotOnThePointer) {
  Start(2);
  Target target({200, 150, 520, 390});
  const RECT r = target.Rect(target.window());
  const POINT pointer = {160, 150};  // within the window, away from the button
  const struct {
    int downs;  // from "Current Cursor", the first item of "カーソル(&C)"
    bool tip_on_pointer;
  } cursors[] = {{1, true}, {2, false}};  // Arrow, IBeam
  int records = 0;
  for (const auto& cursor : cursors) {
    Command({'C'});
    for (int i = 0; i < cursor.downs; ++i) Keys({VK_DOWN});
    Keys({VK_RETURN});
    WindowCapture('W');
    ASSERT_TRUE(target.Activate());
    ::SetCursorPos(r.left + pointer.x, r.top + pointer.y);
    PumpFor(200);
    const Picture expected = ScreenPicture(r);
    ASSERT_TRUE(WaitForRecords(++records));
    const Picture recorded = ClipboardPicture();
    ASSERT_EQ(recorded.width, expected.width);
    const RECT drawn = Difference(recorded, expected);
    ASSERT_LT(drawn.left, drawn.right) << "no cursor drawn";
    if (cursor.tip_on_pointer) {
      EXPECT_EQ(drawn.left, pointer.x);
      EXPECT_EQ(drawn.top, pointer.y);
    } else {
      // Centred on its hot spot: it reaches both sides of the pointer.
      EXPECT_LT(drawn.left, pointer.x);
      EXPECT_GT(drawn.right, pointer.x);
      EXPECT_LT(drawn.top, pointer.y);
      EXPECT_GT(drawn.bottom, pointer.y);
    }
  }
}

TEST_F(CaptureE2E, APopupCloseBelowTheWindowJoinsTheCaptureOnWhite) {
  Start(2);
  Command({'M'});  // "ポップアップ合成(&M)" on
  Target target({200, 150, 520, 390});
  const RECT r = target.Rect(target.window());
  // Menu-like windows: 15 pixels below joins, 25 below (tested first, being
  // on top) does not.
  const auto popup = [](int x, int y, int width, int height) {
    return ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"",
                             WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER, x, y, width,
                             height, nullptr, nullptr, nullptr, nullptr);
  };
  const HWND joins = popup(r.left + 30, r.bottom + 15, 120, 60);
  const HWND stays_out = popup(r.left + 200, r.bottom + 25, 80, 40);
  ::SetWindowPos(stays_out, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  WindowCapture('W');
  ASSERT_TRUE(target.Activate());
  RECT piece;
  ::GetWindowRect(joins, &piece);
  const Picture window_part = ScreenPicture(r);
  const Picture popup_part = ScreenPicture(piece);
  ASSERT_TRUE(WaitForRecords(1));
  const Picture recorded = ClipboardPicture();
  ::DestroyWindow(joins);
  ::DestroyWindow(stays_out);
  EXPECT_EQ(recorded.width, r.right - r.left);
  ASSERT_EQ(recorded.height, piece.bottom - r.top);
  EXPECT_TRUE(SameAt(recorded, 0, 0, window_part));
  EXPECT_TRUE(SameAt(recorded, piece.left - r.left, piece.top - r.top, popup_part));
  EXPECT_EQ(recorded.At(5, r.bottom - r.top + 5), kWhite) << "between the pieces";
}

}  // namespace
}  // namespace quill::e2e
