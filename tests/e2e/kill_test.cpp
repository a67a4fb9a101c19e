// The program killed at a moment chosen at random while it records, deletes
// or moves a record, or saves: the next start keeps every record that was
// shown before, each readable with its Header, and leaves no storage that
// cannot be opened. QUILL_KILL_ROUNDS sets the number of rounds (the test
// command runs a few; the long run many).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "program_under_test.h"
#include "real_input.h"
#include "storage_summary.h"

namespace quill::e2e {
namespace {

constexpr DWORD kWait = 30000;

enum class Step { kCapturing, kDeleting, kMoving, kSaving };
const char* NameOf(Step step) {
  switch (step) {
    case Step::kCapturing:
      return "capturing";
    case Step::kDeleting:
      return "deleting";
    case Step::kMoving:
      return "moving";
    case Step::kSaving:
      return "saving";
  }
  return "";
}

std::wstring Counter(int current, int count) {
  return L"Quilleteer  " + std::to_wstring(current) + L"/" + std::to_wstring(count);
}

int Rounds() {
  const char* text = std::getenv("QUILL_KILL_ROUNDS");
  const int rounds = text ? std::atoi(text) : 0;
  return rounds > 0 ? rounds : 4;
}

class KillTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::CoInitialize(nullptr); }
  static void TearDownTestSuite() { ::CoUninitialize(); }
  void SetUp() override { SettleClipboard(); }

  // Copies texts one by one, each shown before the next; the texts shown.
  std::set<std::string> CopyShown(HWND window, const std::string& prefix, int count) {
    std::set<std::string> shown;
    for (int i = 1; i <= count; ++i) {
      const std::string text = prefix + std::to_string(i);
      // The clipboard may be held a moment by another program: try again.
      bool copied = false;
      for (int attempt = 0; attempt < 20 && !copied; ++attempt) {
        copied = CopyText(text);
        if (!copied) ::Sleep(50);
      }
      EXPECT_TRUE(copied);
      if (!WaitForCaption(window, Counter(i, i), kWait)) {
        ADD_FAILURE() << "not shown: " << text;
        break;
      }
      shown.insert(text);
    }
    return shown;
  }

  // Starts the step, waits `delay` milliseconds and kills the program. The
  // text that a delete may have taken away is returned through `deleted`.
  void StepAndKill(ProgramUnderTest& program, HWND window, Step step, int records, DWORD delay,
                   const std::string& prefix, std::string& deleted) {
    const HWND list = ChildOfClass(window, L"SysListView32");
    const auto row = [&](int index) {
      return RemoteRect(program.process(), list, LVM_GETITEMRECT, index, LVIR_LABEL);
    };
    switch (step) {
      case Step::kCapturing:
        for (int i = 1; i <= 5; ++i) {
          CopyText(prefix + "more " + std::to_string(i));
          ::Sleep(delay / 5);
        }
        break;
      case Step::kDeleting:
        // The second record: every record above it is renumbered.
        ClickIn(row(1));
        WaitForCaption(window, Counter(2, records), kWait);
        deleted = prefix + "2";
        SendKeys({VK_MENU, 'F'});
        ::Sleep(150);
        SendKeys({'D'});  // "カレントレコード削除(&D)"
        ::Sleep(delay);
        break;
      case Step::kMoving:
        // The first record onto the last row: every record moves.
        Drag(row(0), row(records - 1));
        ::Sleep(delay);
        break;
      case Step::kSaving: {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        const HWND question = program.WaitForDialog(kWait);
        ASSERT_NE(question, nullptr);
        PressButton(question, IDYES);
        const HWND save = program.WaitForOtherDialog(question, kWait);
        ASSERT_NE(save, nullptr);
        ASSERT_TRUE(ChooseFile(save, program.folder() + L"\\saved.stg"));
        ::Sleep(delay);
        break;
      }
    }
    program.Kill();
  }

  // Starts the program again after a kill, answers the notice of kept
  // records if one comes, and closes it again.
  void Recover(ProgramUnderTest& program) {
    ASSERT_TRUE(program.Start());
    HWND window = nullptr;
    const DWORD start = ::GetTickCount();
    while (!window && ::GetTickCount() - start < kWait) {
      if (const HWND notice = program.FindWindowOfClass(L"#32770")) {
        if (::IsWindowVisible(notice)) PressButton(notice, IDOK);
      }
      window = program.FindWindowOfClass(L"TFQuillet");
      if (window && !::IsWindowVisible(window)) window = nullptr;
      ::Sleep(50);
    }
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(program.CloseDiscarding(window, kWait));
  }
};

TEST_F(KillTest, EveryRecordShownBeforeAKillIsKept) {
  std::mt19937 random(::GetTickCount());
  const int rounds = Rounds();
  int shown_total = 0, kept_total = 0;
  for (int round = 1; round <= rounds; ++round) {
    const Step step = static_cast<Step>((round - 1) % 4);
    const int records = std::uniform_int_distribution<int>(3, 12)(random);
    const DWORD delay = std::uniform_int_distribution<DWORD>(0, 80)(random);
    const std::string prefix = "round " + std::to_string(round) + " text ";
    SCOPED_TRACE(std::string(NameOf(step)) + ", round " + std::to_string(round) + ", " +
                 std::to_string(records) + " records, killed after " + std::to_string(delay) +
                 " ms");
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
    ASSERT_NE(window, nullptr);
    ::SetForegroundWindow(window);  // automatic capture
    std::set<std::string> shown = CopyShown(window, prefix, records);
    ASSERT_EQ(static_cast<int>(shown.size()), records);
    std::string deleted;
    StepAndKill(program, window, step, records, delay, prefix, deleted);
    Recover(program);

    // What the next start left: the kept storage, and the saved one if the
    // save got that far. Every storage there opens.
    std::set<std::string> kept;
    for (const std::wstring& name : program.Files(L"*.stg")) {
      const StorageSummary summary = Summarise(program.folder() + L"\\" + name);
      EXPECT_TRUE(summary.opened) << "cannot be opened: " << std::string(name.begin(), name.end());
      kept.insert(summary.sound_texts.begin(), summary.sound_texts.end());
    }
    EXPECT_FALSE(program.HasFile(L"Quillet.tmp"));
    shown.erase(deleted);
    int found = 0;
    for (const std::string& text : shown) {
      if (kept.count(text))
        ++found;
      else
        ADD_FAILURE() << "lost: " << text;
    }
    // How far the step got before the kill, as the kept records tell.
    int more = 0;
    for (int i = 1; i <= 5; ++i)
      more += static_cast<int>(kept.count(prefix + "more " + std::to_string(i)));
    const char* outcome =
        step == Step::kCapturing  ? (more ? "copies kept" : "no copy kept")
        : step == Step::kDeleting ? (kept.count(deleted) ? "not deleted" : "deleted")
        : step == Step::kSaving   ? (program.HasFile(L"saved.stg") ? "saved" : "not saved")
                                  : "";
    std::printf("kill: round %2d, %-9s killed after %2lu ms: %2d shown, %2d kept; %s\n", round,
                NameOf(step), static_cast<unsigned long>(delay), static_cast<int>(shown.size()),
                found, outcome);
    shown_total += static_cast<int>(shown.size());
    kept_total += found;
  }
  std::printf("kill: %d rounds, %d records shown, %d kept\n", rounds, shown_total, kept_total);
}

}  // namespace
}  // namespace quill::e2e
