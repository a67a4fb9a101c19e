// Another program copying as fast as it can: every change that the
// recorder sees becomes a sound record. How many it sees is measured and
// printed, not asserted: the system may merge changes that come quickly.
// But one clipboard state is never recorded twice.
#include <gtest/gtest.h>

#include <objbase.h>

#include <cstdio>
#include <string>

#include "program_under_test.h"
#include "storage_summary.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

// Copies `count` distinct texts, `pause` milliseconds apart.
void CopyMany(const std::string& prefix, int count, DWORD pause) {
  for (int i = 0; i < count; ++i) {
    CopyText(prefix + std::to_string(i));
    if (pause) ::Sleep(pause);
  }
}

class Burst : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  static void TearDownTestSuite() { ::CoUninitialize(); }

  // Records one burst in a fresh program, saves it, and sums it up.
  StorageSummary RecordBurst(const std::string& prefix, DWORD pause) {
    ProgramUnderTest program;
    EXPECT_TRUE(program.Start());
    const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
    EXPECT_NE(window, nullptr);
    if (!window) return {};
    ::SetForegroundWindow(window);
    CopyMany(prefix, 200, pause);
    WaitUntilQuiet(window, kWait);
    const std::wstring saved = SaveAndClose(program, window, L"burst.stg");
    EXPECT_FALSE(saved.empty());
    if (saved.empty()) return {};
    KeepSample(saved, L"burst.stg");
    return Summarise(saved);
  }
};

TEST_F(Burst, EveryRecordOfABurstIsSound) {
  const StorageSummary fast = RecordBurst("fast ", 0);
  std::printf("burst: 200 texts copied at once: %d records, %d distinct texts kept\n", fast.records,
              static_cast<int>(fast.texts.size()));
  EXPECT_GT(fast.records, 0);
  EXPECT_EQ(fast.sound, fast.records);
  EXPECT_EQ(static_cast<int>(fast.texts.size()), fast.records) << "a state recorded twice";

  const StorageSummary paced = RecordBurst("paced ", 20);
  std::printf("burst: 200 texts copied 20 ms apart: %d records, %d distinct texts kept\n",
              paced.records, static_cast<int>(paced.texts.size()));
  EXPECT_GT(paced.records, 0);
  EXPECT_EQ(paced.sound, paced.records);
  EXPECT_EQ(static_cast<int>(paced.texts.size()), paced.records) << "a state recorded twice";
}

}  // namespace
}  // namespace quill::e2e
