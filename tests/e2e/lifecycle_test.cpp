// The program as a user meets it: it starts, shows its window, and ends
// when the window is closed.
#include <gtest/gtest.h>

#include "program_under_test.h"

namespace quill::e2e {
namespace {

TEST(Lifecycle, TheMainWindowOpensAndClosingItEndsTheProgram) {
  ProgramUnderTest program;
  ASSERT_TRUE(program.Start());
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", 20000);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(::IsWindowVisible(window));
  EXPECT_EQ(CaptionOf(window), L"Quilleteer");

  ASSERT_TRUE(::PostMessageW(window, WM_CLOSE, 0, 0));
  ASSERT_TRUE(program.WaitForExit(20000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
}  // namespace quill::e2e
