// An exception that escapes a message handler is shown in the standard
// error box, answered as a user would, and the window goes on working.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>

#include "framework/application.h"
#include "framework/window.h"

namespace quill::framework {
namespace {

constexpr wchar_t kTitle[] = L"Boundary test";
constexpr UINT kThrowStd = WM_APP + 1;
constexpr UINT kThrowOther = WM_APP + 2;
constexpr UINT kAnswer = WM_APP + 3;

class ThrowingWindow : public Window {
 public:
  bool Create() {
    return CreateTopLevel(L"QuillBoundaryTest", L"boundary", WS_OVERLAPPEDWINDOW,
                          {10, 10, 200, 100}, nullptr);
  }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kThrowStd) throw std::runtime_error("TKvDIB.Test: boom");
    if (message == kThrowOther) throw 42;
    if (message == kAnswer) return 7;
    return Window::HandleMessage(message, wparam, lparam);
  }
};

// Waits for the error box on another thread, reads its text and presses OK.
class BoxAnswerer {
 public:
  BoxAnswerer()
      : thread_([this] {
          for (int tries = 0; tries < 500 && !done_; ++tries) {
            if (const HWND box = ::FindWindowW(L"#32770", kTitle)) {
              wchar_t text[256] = {};
              ::GetDlgItemTextW(box, 0xFFFF, text, 256);
              text_ = text;
              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              return;
            }
            ::Sleep(20);
          }
        }) {}
  ~BoxAnswerer() { Text(); }
  // What the box said; called once the box can no longer appear.
  std::wstring Text() {
    done_ = true;
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  std::atomic<bool> done_{false};
  std::wstring text_;
  std::thread thread_;
};

TEST(ErrorBoundary, AnEscapedExceptionIsShownAndTheWindowGoesOn) {
  Application application;
  application.Initialize(kTitle);
  ThrowingWindow window;
  ASSERT_TRUE(window.Create());
  const struct {
    UINT message;
    const wchar_t* shown;
  } cases[] = {{kThrowStd, L"TKvDIB.Test: boom"}, {kThrowOther, L"Unknown error"}};
  for (const auto& c : cases) {
    BoxAnswerer answerer;
    EXPECT_EQ(::SendMessageW(window.hwnd(), c.message, 0, 0), 0);
    EXPECT_EQ(answerer.Text(), c.shown);
    EXPECT_TRUE(::IsWindow(window.hwnd()));
    EXPECT_EQ(::SendMessageW(window.hwnd(), kAnswer, 0, 0), 7);
  }
}

}  // namespace
}  // namespace quill::framework
