// Time from the delay timer firing to a full-screen capture shown as a
// record, in the program's own window over the system's services. Prints
// milliseconds; run by tools/bench.sh under Wine at 1280 x 1024.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "ui/main_form.h"
#include "ui/system_services.h"

namespace {

// Answers No to the question on closing, so the run ends unattended.
class NoDialogs : public quill::platform::Dialogs {
 public:
  int ShowMessage(const std::u16string&, unsigned) override { return quill::platform::answer::kNo; }
  std::optional<std::u16string> OpenFile(const std::u16string&) override { return std::nullopt; }
  std::optional<std::u16string> OpenTextRecordFile(const std::u16string&, bool&) override {
    return std::nullopt;
  }
  std::optional<std::u16string> SaveFile(const std::u16string&, const std::u16string&) override {
    return std::nullopt;
  }
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    quill::framework::Application::Deliver(message);
}

}  // namespace

int main() {
  quill::framework::Application application;
  if (!application.Initialize(L"Quilleteer")) return 1;
  quill::ui::SystemServices system;
  NoDialogs answers;
  quill::ui::TFQuillet form(system.With(answers), system.screen, system.shell);
  if (!form.Create() || !form.HasStorage()) return 1;
  form.Show(SW_SHOW);
  form.widgets().DelayEdit->SetText(L"0");
  Pump();
  constexpr int kRuns = 10;
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    form.menus().Click(L"MenuFull");
    Pump();
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    ::SendMessageW(form.hwnd(), WM_TIMER, quill::platform::screen::kDelayTimerId, 0);
    ::UpdateWindow(form.hwnd());  // the new row and its picture painted
    ::QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end));
    Pump();
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "full-screen capture %dx%d, timer to record shown: median %.1f ms, min %.1f ms, "
      "max %.1f ms (%d runs, %d records)\n",
      ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), times[kRuns / 2],
      times.front(), times.back(), kRuns, form.recorder().RecordCount());
  ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  Pump();
  return 0;
}
