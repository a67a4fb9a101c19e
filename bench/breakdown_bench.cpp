// Where the time of opening a storage and of recording a copied picture
// goes, in the program's own window over the system's services: the
// compound-file calls, the clipboard calls and the rest (the window: list
// rows, preview, menus, painting). Makes a storage of 999 short texts and
// one of 999 mixed records; records a 1920 x 1080 picture copied five
// times, then opens each storage twice. Prints milliseconds.
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/sample_storages.h"
#include "bench/timed_services.h"
#include "framework/application.h"
#include "ui/code_page.h"
#include "ui/file_commands.h"
#include "ui/main_form.h"
#include "ui/record_view.h"
#include "ui/system_services.h"

namespace {

// Answers the open dialog with the file to open and No to every question.
class Answers : public quill::platform::Dialogs {
 public:
  std::u16string path;
  std::u16string text_path;
  int ShowMessage(const std::u16string&, unsigned) override { return quill::platform::answer::kNo; }
  std::optional<std::u16string> OpenFile(const std::u16string&) override { return path; }
  std::optional<std::u16string> OpenTextRecordFile(const std::u16string&, bool& pages) override {
    pages = false;
    return text_path;
  }
  std::optional<std::u16string> SaveFile(const std::u16string&, const std::u16string&) override {
    return std::nullopt;
  }
};

double Now() {
  LARGE_INTEGER count, frequency;
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
    quill::framework::Application::Deliver(message);
}

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

}  // namespace

int main(int argc, char** argv) {
  // "texts": only the storages of texts, opened once. "lines N": only the
  // loading of a text file of N lines, one record per line. "find": a
  // storage of 999 texts of 1 KB, opened, then searched for a text that no
  // record holds.
  const bool texts_only = argc > 1 && std::string(argv[1]) == "texts";
  const bool find_only = argc > 1 && std::string(argv[1]) == "find";
  // "large": a 32 MB text copied three times, then a short one.
  const bool large_only = argc > 1 && std::string(argv[1]) == "large";
  const int lines = argc > 2 && std::string(argv[1]) == "lines" ? std::atoi(argv[2]) : 0;
  ::CoInitialize(nullptr);
  constexpr int kRecords = 999;
  struct Sample {
    const char* what;
    const wchar_t* file;
    quill::bench::Mix mix;
  };
  const Sample samples[] = {
      {"999 texts", L"quill-open-texts.stg", quill::bench::Mix::kText},
      {"999 texts in CF_TEXT only", L"quill-open-ansi.stg", quill::bench::Mix::kAnsiText},
      {"999 mixed", L"quill-open-mixed.stg", quill::bench::Mix::kMixed}};
  const std::size_t count = lines || find_only || large_only ? 0
                            : texts_only                     ? 2
                                                             : std::size(samples);
  const std::wstring find_file = TempFile(L"quill-find-texts.stg");
  if (find_only &&
      !quill::bench::MakeSampleStorage(find_file, kRecords, quill::bench::Mix::kLongText, 4096))
    return 1;
  for (std::size_t i = 0; i < count; ++i) {
    const Sample& sample = samples[i];
    const double start = Now();
    if (!quill::bench::MakeSampleStorage(TempFile(sample.file), kRecords, sample.mix)) {
      std::printf("cannot make %ls\n", sample.file);
      return 1;
    }
    std::printf("made %s in %.0f ms\n", sample.what, Now() - start);
  }
  ::CoUninitialize();

  quill::framework::Application application;
  if (!application.Initialize(L"Quilleteer")) return 1;
  quill::ui::SystemServices system;
  quill::bench::Stopwatch clipboard_time, storage_time;
  quill::bench::TimedClipboard clipboard(system.clipboard, clipboard_time);
  quill::bench::TimedStorageFiles files(system.files, storage_time);
  Answers answers;
  const quill::core::RecorderServices services{clipboard, system.messages, files, answers,
                                               system.clock};
  quill::ui::TFQuillet form(services, system.screen, system.shell);
  if (!form.Create() || !form.HasStorage()) return 1;
  form.Show(SW_SHOW);
  Pump();
  if (find_only) {
    answers.path.assign(find_file.begin(), find_file.end());
    double start = Now();
    form.OpenBtnClick();
    ::UpdateWindow(form.hwnd());
    std::printf("open 999 texts of 1 KB: %.0f ms\n", Now() - start);
    Pump();
    const auto decode = [](std::string_view ansi) {
      const std::wstring wide = quill::ui::FromAnsi(std::string(ansi));
      return std::u16string(wide.begin(), wide.end());
    };
    for (int round = 0; round < 3; ++round) {
      start = Now();
      const int found = form.recorder().FindRecord(u"not in any record", false, true, decode);
      std::printf("find a text no record holds: %.0f ms (found %d)\n", Now() - start, found);
    }
    ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    Pump();
    ::DeleteFileW(find_file.c_str());
    return 0;
  }
  if (lines) {
    const std::wstring file = TempFile(L"quill-lines.txt");
    std::string text;
    for (int i = 1; i <= lines; ++i) text += "line " + std::to_string(i) + " of a loaded file\r\n";
    const HANDLE out =
        ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(out);
    answers.text_path.assign(file.begin(), file.end());
    form.recorder().FormActivate(true);
    clipboard_time.Reset();
    storage_time.Reset();
    const double start = Now();
    form.files().MenuTextClick();
    const double ms = Now() - start;
    std::printf(
        "load %d lines as records: %.1f s, %.1f records a second (%d records kept); a line: "
        "%.2f ms (storage %.2f, clipboard %.2f, window and the rest %.2f)\n",
        lines, ms / 1000, lines / (ms / 1000), form.recorder().RecordCount(), ms / lines,
        storage_time.ms() / lines, clipboard_time.ms() / lines,
        (ms - storage_time.ms() - clipboard_time.ms()) / lines);
    ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    Pump();
    ::DeleteFileW(file.c_str());
    return 0;
  }
  // First into the temporary storage, as at start. The picture is copied
  // by this process as another program would; the window records it when
  // the notification's posted capture runs.
  const std::vector<std::uint8_t> picture = quill::bench::PictureBlock(1920, 1080, 5);
  form.recorder().FormActivate(true);
  // Copies a block as another program would and waits until the window
  // has recorded it; prints the total and its parts.
  const auto record_copy = [&](const char* what, UINT format,
                               const std::vector<std::uint8_t>& bytes, bool picture_preview) {
    // A copy on its own, not one of a burst, is shown as soon as recorded.
    for (const double pause = Now(); Now() - pause < quill::ui::CapturePacing::kBurstGap;) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      Pump();
    }
    const int before = form.recorder().CurrentNo();
    const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    clipboard_time.Reset();
    storage_time.Reset();
    const double start = Now();
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    ::SetClipboardData(format, block);
    ::CloseClipboard();
    const double copied = Now();
    while ((form.recorder().CurrentNo() == before || form.view().CapturesWaiting()) &&
           Now() - start < 600000) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      Pump();
    }
    ::UpdateWindow(form.hwnd());
    const double total = Now() - start;
    std::printf(
        "record a copied %s: %.1f ms (the copy itself %.1f, storage %.1f, clipboard %.1f, "
        "window and the rest %.1f",
        what, total, copied - start, storage_time.ms(), clipboard_time.ms(),
        total - (copied - start) - storage_time.ms() - clipboard_time.ms());
    if (picture_preview) {
      // Drawn again alone: about what the preview took of the rest.
      const double preview_start = Now();
      form.view().RefreshPreview(quill::core::kHasPicture);
      ::UpdateWindow(form.hwnd());
      std::printf(", of which the preview about %.1f", Now() - preview_start);
    }
    std::printf(")\n");
  };
  if (large_only) {
    // Lines of a log or a table, as large copies usually are.
    std::string line(98, 'x');
    line += "\r\n";
    std::vector<std::uint8_t> text;
    text.reserve((32 << 20) + 1);
    while (text.size() + line.size() <= (32 << 20))
      text.insert(text.end(), line.begin(), line.end());
    text.push_back(0);
    for (int copy = 0; copy < 3; ++copy) {
      text[0] = static_cast<std::uint8_t>('1' + copy);
      record_copy("32 MB text", CF_TEXT, text, false);
      const double preview_start = Now();
      form.view().RefreshPreview(quill::core::kHasText);
      ::UpdateWindow(form.hwnd());
      std::printf("  its preview drawn again alone: %.1f ms\n", Now() - preview_start);
    }
    const std::string short_text = "a short text after them";
    record_copy("short text", CF_TEXT,
                std::vector<std::uint8_t>(short_text.begin(), short_text.end() + 1), false);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    std::printf("working set after: %.0f MB (peak %.0f MB)\n", memory.WorkingSetSize / 1048576.0,
                memory.PeakWorkingSetSize / 1048576.0);
    ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    Pump();
    return 0;
  }
  for (int copy = 0; copy < 5; ++copy) record_copy("1920x1080 picture", CF_DIB, picture, true);
  for (int copy = 0; copy < 5; ++copy) {
    const std::string text = "a short text " + std::to_string(copy);
    record_copy("short text", CF_TEXT, std::vector<std::uint8_t>(text.begin(), text.end() + 1),
                false);
  }
  {
    // The steps of showing a short text's record, each drawn at once.
    const auto timed = [&](const char* what, const std::function<void()>& step) {
      double total = 0;
      for (int i = 0; i < 10; ++i) {
        const double start = Now();
        step();
        ::UpdateWindow(form.hwnd());
        ::RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        total += Now() - start;
      }
      std::printf("  showing a short text, %s: %.1f ms\n", what, total / 10);
    };
    const int n = form.recorder().CurrentNo();
    timed("preview", [&] { form.view().RefreshPreview(quill::core::kHasText); });
    timed("list row",
          [&] { form.view().SetListRow(n, quill::core::kHasText, "2026/12/09 10:00:00"); });
    timed("display menu", [&] {
      form.view().BuildDisplayMenu(
          {"2026/12/09 10:00:00", "CF_UNICODETEXT", "CF_LOCALE", "CF_TEXT", "CF_OEMTEXT"});
    });
    timed("counter", [&] { form.view().UpdateCounter(n, n); });
  }
  for (int round = 0; round < (texts_only ? 1 : 2); ++round) {
    for (std::size_t i = 0; i < count; ++i) {
      const Sample& sample = samples[i];
      const std::wstring path = TempFile(sample.file);
      answers.path.assign(path.begin(), path.end());
      clipboard_time.Reset();
      storage_time.Reset();
      const double start = Now();
      form.OpenBtnClick();
      ::UpdateWindow(form.hwnd());
      const double total = Now() - start;
      std::printf(
          "open %s: %.0f ms (storage %.0f, clipboard %.0f, window and the rest %.0f); "
          "%d records\n",
          sample.what, total, storage_time.ms(), clipboard_time.ms(),
          total - storage_time.ms() - clipboard_time.ms(), form.recorder().RecordCount());
      Pump();
      clipboard_time.Reset();
      storage_time.Reset();
      const double moves_start = Now();
      for (int move = 0; move < 20; ++move) {
        form.recorder().NextBtnClick();
        ::UpdateWindow(form.hwnd());
      }
      const double moves = (Now() - moves_start) / 20;
      std::printf("  next record: %.1f ms a move (storage %.1f, clipboard %.1f, the rest %.1f)\n",
                  moves, storage_time.ms() / 20, clipboard_time.ms() / 20,
                  moves - (storage_time.ms() + clipboard_time.ms()) / 20);
      Pump();
    }
  }
  ::SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  Pump();
  for (const Sample& sample : samples) ::DeleteFileW(TempFile(sample.file).c_str());
  return 0;
}
