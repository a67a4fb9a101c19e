// The recorder's speed where a user waits, measured from outside as a user
// and another program meet it: Quilleteer.exe runs in a process of its own
// and this program opens storages through its open button and dialog,
// moves through the records with real keys and clicks, and copies texts
// and pictures. Prints each figure beside its goal.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/sample_storages.h"
#include "tests/e2e/program_under_test.h"
#include "tests/e2e/real_input.h"
#include "tests/e2e/storage_summary.h"

namespace {

using quill::e2e::CaptionOf;
using quill::e2e::ChildOfClass;
using quill::e2e::Click;
using quill::e2e::ClickIn;
using quill::e2e::PointAt;
using quill::e2e::ProgramUnderTest;
using quill::e2e::RemoteRect;

constexpr DWORD kWait = 120000;
constexpr int kOpenButton = 1;  // the tool bar's first button
constexpr int kNextButton = 8;
constexpr wchar_t kSettingsKey[] = L"Software\\Marlowin\\Quilleteer\\Setting";
constexpr DWORD k256Colours = 4;  // the colour setting's "256 colors (8 bit)"

double Now() {
  LARGE_INTEGER count, frequency;
  ::QueryPerformanceCounter(&count);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
  std::vector<double> ms;
  double Median() {
    if (ms.empty()) return -1;
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
  }
  double Max() const { return ms.empty() ? -1 : *std::max_element(ms.begin(), ms.end()); }
};

void Row(const char* what, const std::string& measured, const char* goal) {
  std::printf("  %-58s %-26s %s\n", what, measured.c_str(), goal);
  std::fflush(stdout);
}

std::string Ms(double ms) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f ms", ms);
  return text;
}

std::string MedianMax(Figures& f) {
  char text[64];
  std::snprintf(text, sizeof text, "median %.0f, max %.0f ms", f.Median(), f.Max());
  return text;
}

// Waits until `done` holds, checking every millisecond; false on timeout.
bool Await(const std::function<bool()>& done, DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > milliseconds) return false;
    ::Sleep(1);
  }
  return true;
}

std::wstring Counter(int current, int count) {
  return L"Quilleteer  " + std::to_wstring(current) + L"/" + std::to_wstring(count);
}

// The program answering again: everything before this message is done,
// the record's row and preview included.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 60000, &result) != 0;
}

struct OpenFigures {
  double ms = -1;
  int progress_steps = 0;      // counter captions seen while it loaded
  double longest_silence = 0;  // ms the window answered no message
  SIZE_T working_set = 0;
};

OpenFigures OpenThroughDialog(ProgramUnderTest& program, HWND window, const std::wstring& file,
                              int records) {
  OpenFigures figures;
  const HWND tool_bar = ChildOfClass(window, L"ToolbarWindow32");
  const RECT open_button = RemoteRect(program.process(), tool_bar, TB_GETRECT, kOpenButton, 0);
  // A window that has just come up may let the first click go by.
  HWND dialog = nullptr;
  for (int attempt = 0; attempt < 3 && !dialog; ++attempt) {
    ::SetForegroundWindow(window);
    ClickIn(open_button);
    dialog = program.WaitForDialog(5000);
  }
  if (!dialog || !quill::e2e::ChooseFile(dialog, file)) {
    std::printf("  (open: no open dialog)\n");
    return figures;
  }
  const double start = Now();
  const std::wstring done = Counter(1, records);
  std::wstring last;
  double last_answer = start;
  for (;;) {
    DWORD_PTR result = 0;
    const double asked = Now();
    if (::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20, &result)) last_answer = Now();
    figures.longest_silence = std::max(figures.longest_silence, asked - last_answer);
    const std::wstring caption = CaptionOf(window);
    if (caption == done) break;
    if (caption != last && caption.find(L"/") != std::wstring::npos) ++figures.progress_steps;
    last = caption;
    if (Now() - start > kWait) {
      std::printf("  (open: the window still reads \"%ls\")\n", caption.c_str());
      return figures;
    }
    ::Sleep(5);
  }
  Answers(window);
  figures.ms = Now() - start;
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(program.process(), &memory, sizeof memory))
    figures.working_set = memory.WorkingSetSize;
  return figures;
}

// Moves by `move` from record `from` and times until the next record is
// shown; `prepare` (not timed) comes before each move.
Figures TimeMoves(HWND window, int from, int count, const std::function<void(int)>& prepare,
                  const std::function<void()>& move) {
  Figures figures;
  for (int i = 0; i < count; ++i) {
    prepare(from + i);
    const double start = Now();
    move();
    // Looked at every millisecond: the tests' wait looks every 20.
    const std::wstring shown = Counter(from + i + 1, 999);
    if (!Await([&] { return CaptionOf(window) == shown; }, 10000) || !Answers(window)) {
      std::printf("  (move %d: the window still reads \"%ls\")\n", from + i,
                  CaptionOf(window).c_str());
      break;
    }
    figures.ms.push_back(Now() - start);
  }
  return figures;
}

// A block filled with `bytes`, for the clipboard.
HGLOBAL BlockOf(const std::vector<std::uint8_t>& bytes) {
  const HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) return nullptr;
  std::memcpy(::GlobalLock(block), bytes.data(), bytes.size());
  ::GlobalUnlock(block);
  return block;
}

// Puts a block on the clipboard as another program would.
bool CopyBlock(UINT format, HGLOBAL block) {
  if (!block || !::OpenClipboard(nullptr)) {
    if (block) ::GlobalFree(block);
    return false;
  }
  ::EmptyClipboard();
  ::SetClipboardData(format, block);
  ::CloseClipboard();
  return true;
}

// Copies a block as another program would; the clock starts with the copy.
constexpr DWORD kUserPause = 200;

double CopyAndTime(HWND window, UINT format, const std::vector<std::uint8_t>& bytes,
                   const std::wstring& shown) {
  // Copies a person makes one at a time, not a program's burst: those the
  // window shows together once the burst pauses.
  ::Sleep(kUserPause);
  const HGLOBAL block = BlockOf(bytes);
  const double start = Now();
  if (!CopyBlock(format, block)) return -1;
  if (!Await([&] { return CaptionOf(window) == shown; }, kWait) || !Answers(window)) return -1;
  return Now() - start;
}

void SetColourSetting(DWORD index) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
    return;
  ::RegSetValueExW(key, L"Color", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&index),
                   sizeof index);
  ::RegCloseKey(key);
}

// Lines of a log or a table, as large copies usually are: at most `bytes`.
std::string LinesOf(std::size_t bytes) {
  const std::string line = std::string(98, 'x') + "\r\n";
  std::string text;
  text.reserve(bytes);
  while (text.size() + line.size() <= bytes) text += line;
  return text;
}

PROCESS_MEMORY_COUNTERS MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  ::GetProcessMemoryInfo(process, &memory, sizeof memory);
  return memory;
}

HWND StartProgram(ProgramUnderTest& program) {
  if (!program.Start()) return nullptr;
  const HWND window = program.WaitForWindowOfClass(L"TFQuillet", kWait);
  if (window) ::SetForegroundWindow(window);
  return window;
}

// Started once the clipboard has settled, so that nothing copied before
// counts.
HWND StartOnSettledClipboard(ProgramUnderTest& program) {
  quill::e2e::SettleClipboard();
  return StartProgram(program);
}

void OpenAndMove(const std::wstring& texts, const std::wstring& ansi, const std::wstring& mixed,
                 const std::wstring& mixed_4096) {
  std::printf("Opening a storage of 999 records through the open dialog:\n");
  {
    ProgramUnderTest program;
    const HWND window = StartProgram(program);
    if (!window) return;
    OpenFigures open = OpenThroughDialog(program, window, ansi, 999);
    Row("999 texts in CF_TEXT only, 512-byte sectors", Ms(open.ms), "goal <= 3000 ms");
    program.CloseDiscarding(window, kWait);
  }
  {
    ProgramUnderTest program;
    const HWND window = StartProgram(program);
    if (!window) return;
    OpenFigures open = OpenThroughDialog(program, window, texts, 999);
    Row("999 texts (four text formats): OK to record 1 shown", Ms(open.ms), "goal <= 1500 ms");
    Row("  counter steps seen while loading", std::to_string(open.progress_steps), "");
    Row("  longest time answering no message", Ms(open.longest_silence), "");

    const HWND list = ChildOfClass(window, L"SysListView32");
    const HWND tool_bar = ChildOfClass(window, L"ToolbarWindow32");
    ClickIn(RemoteRect(program.process(), list, LVM_GETITEMRECT, 0, LVIR_LABEL));
    Answers(window);
    const auto nothing = [](int) {};
    Figures keys = TimeMoves(window, 1, 20, nothing, [] { quill::e2e::SendKeys({VK_RIGHT}); });
    Row("move with the Right key (20 moves)", MedianMax(keys), "goal <= 20 ms each");
    const RECT next = RemoteRect(program.process(), tool_bar, TB_GETRECT, kNextButton, 0);
    PointAt(next);
    Figures buttons = TimeMoves(window, 21, 20, nothing, Click);
    Row("move with the next button (20 moves)", MedianMax(buttons), "goal <= 20 ms each");
    // Back to the first record: the rows below it are in view.
    quill::e2e::SendKeys({VK_UP});
    quill::e2e::WaitForCaption(window, Counter(1, 999), 10000);
    // Rows in view only: those below would need the list scrolled first.
    const int in_view =
        std::min(10, static_cast<int>(::SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0)) - 1);
    Figures rows = TimeMoves(
        window, 1, in_view,
        [&](int at) {
          // Past the double-click time: each click is a click of its own.
          ::Sleep(::GetDoubleClickTime());
          PointAt(RemoteRect(program.process(), list, LVM_GETITEMRECT, at, LVIR_LABEL));
        },
        Click);
    const std::string clicks =
        "move with a click on the next row (" + std::to_string(in_view) + " moves)";
    Row(clicks.c_str(), MedianMax(rows), "goal <= 20 ms each");
    program.CloseDiscarding(window, kWait);
  }
  for (const auto& [file, what] :
       {std::pair{mixed, "999 mixed (texts, 1920x1080 pictures, drawings)"},
        std::pair{mixed_4096, "the same in 4096-byte sectors, as saved now"}}) {
    ProgramUnderTest program;
    const HWND window = StartProgram(program);
    if (!window) return;
    OpenFigures open = OpenThroughDialog(program, window, file, 999);
    Row(what, Ms(open.ms), "goal <= 10000 ms");
    Row("  counter steps seen while loading", std::to_string(open.progress_steps), "");
    Row("  longest time answering no message", Ms(open.longest_silence), "");
    Row("  working set after the open", std::to_string(open.working_set / (1024 * 1024)) + " MB",
        "goal < 100 MB");
    program.CloseDiscarding(window, kWait);
  }
}

// The floor of recording a copy: only the steps a record needs - the
// clipboard opened, every format it lists read, each written to a new
// record of a storage file of the kind the program saves in (4096-byte
// sectors, opened for direct writing, as the program keeps its own).
double FloorProbe(UINT format, const std::vector<std::uint8_t>& bytes, IStorage& root, int n) {
  ::Sleep(kUserPause);
  const HGLOBAL block = BlockOf(bytes);
  const double start = Now();
  if (!CopyBlock(format, block)) return -1;
  IStorage* record = nullptr;
  if (root.CreateStorage(std::to_wstring(n).c_str(),
                         STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0, &record) != S_OK)
    return -1;
  if (::OpenClipboard(nullptr)) {
    for (UINT f = ::EnumClipboardFormats(0); f; f = ::EnumClipboardFormats(f)) {
      const HANDLE data = ::GetClipboardData(f);
      const void* locked = data ? ::GlobalLock(data) : nullptr;
      if (!locked) continue;
      IStream* stream = nullptr;
      if (record->CreateStream(std::to_wstring(f).c_str(),
                               STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_WRITE, 0, 0,
                               &stream) == S_OK) {
        ULONG written = 0;
        stream->Write(locked, static_cast<ULONG>(::GlobalSize(data)), &written);
        stream->Release();
      }
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  record->Release();
  return Now() - start;
}

// The floor's median of five copies.
Figures FloorOf(UINT format, const std::vector<std::uint8_t>& bytes) {
  Figures floor;
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"quill-floor.stg";
  IStorage* root = nullptr;
  STGOPTIONS options = {};
  options.usVersion = 1;
  options.ulSectorSize = 4096;
  if (::StgCreateStorageEx(file.c_str(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE,
                           STGFMT_DOCFILE, 0, &options, nullptr, IID_IStorage,
                           reinterpret_cast<void**>(&root)) != S_OK)
    return floor;
  for (int n = 1; n <= 5; ++n) floor.ms.push_back(FloorProbe(format, bytes, *root, n));
  root->Release();
  ::DeleteFileW(file.c_str());
  return floor;
}

void Captures() {
  std::printf("From another program's copy to the record shown:\n");
  const std::vector<std::uint8_t> picture = quill::bench::PictureBlock(1920, 1080, 11);
  Figures floor = FloorOf(CF_DIB, picture);
  const double floor_ms = floor.Median();
  Row("floor: 1920x1080 picture read and written bare (5)", MedianMax(floor), "");
  for (const DWORD colour : {DWORD{0}, k256Colours}) {
    SetColourSetting(colour);
    ProgramUnderTest program;
    const HWND window = StartOnSettledClipboard(program);
    if (!window) return;
    int n = 0;
    Figures texts, pictures;
    if (colour == 0) {
      for (int i = 0; i < 10; ++i) {
        const std::string text = "short text " + std::to_string(i);
        ++n;
        texts.ms.push_back(CopyAndTime(window, CF_TEXT,
                                       std::vector<std::uint8_t>(text.begin(), text.end() + 1),
                                       Counter(n, n)));
      }
      Row("short text (10 copies)", MedianMax(texts), "goal <= 30 ms");
    }
    for (int i = 0; i < 5; ++i) {
      ++n;
      pictures.ms.push_back(CopyAndTime(window, CF_DIB, picture, Counter(n, n)));
    }
    char goal[64];
    std::snprintf(goal, sizeof goal, "goal <= 1.3 x floor = %.0f ms", 1.3 * floor_ms);
    Row(colour == 0 ? "1920x1080 24-bit picture, no conversion (5 copies)"
                    : "1920x1080 24-bit picture, \"256 colors\" (5 copies)",
        MedianMax(pictures), colour == 0 ? goal : "");
    program.CloseDiscarding(window, kWait);
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Marlowin\\Quilleteer");
}

// Copies `count` distinct texts `pause` ms apart into a fresh program and
// sums up what it saved.
quill::e2e::StorageSummary CopyIntoProgram(const std::string& prefix, int count, DWORD pause) {
  ProgramUnderTest program;
  const HWND window = StartOnSettledClipboard(program);
  if (!window) return {};
  for (int i = 0; i < count; ++i) {
    quill::e2e::CopyText(prefix + std::to_string(i));
    ::Sleep(pause);
  }
  quill::e2e::WaitUntilQuiet(window, kWait);
  const std::wstring saved = quill::e2e::SaveAndClose(program, window, L"copied.stg");
  return saved.empty() ? quill::e2e::StorageSummary{} : quill::e2e::Summarise(saved);
}

std::string RecordedOf(const quill::e2e::StorageSummary& summary, int made) {
  char text[96];
  std::snprintf(text, sizeof text, "%d of %d, %d distinct", summary.records, made,
                static_cast<int>(summary.texts.size()));
  return text;
}

void Bursts() {
  std::printf("200 distinct texts copied by another program:\n");
  for (const DWORD pause : {DWORD{20}, DWORD{5}}) {
    const quill::e2e::StorageSummary summary = CopyIntoProgram("burst ", 200, pause);
    Row(pause == 20 ? "copied 20 ms apart" : "copied 5 ms apart", RecordedOf(summary, 200),
        pause == 20 ? "goal: 200 of 200, no duplicate" : "");
  }
}

// Beside a third program that opens the clipboard on every change and
// holds it for 15 ms, as clipboard tools and remote desktops do.
void BesideAHolder() {
  std::printf("Texts copied beside a program holding the clipboard 15 ms on each change:\n");
  const quill::e2e::HelperProgram holder(L"listen 15");
  if (!holder.running()) {
    std::printf("  (no holder program)\n");
    return;
  }
  const struct {
    int count;
    DWORD pause;
    const char* what;
  } runs[] = {{30, 200, "30 copied 200 ms apart"}, {100, 20, "100 copied 20 ms apart"}};
  for (const auto& run : runs)
    Row(run.what, RecordedOf(CopyIntoProgram("held ", run.count, run.pause), run.count),
        run.pause == 200 ? "goal: all" : "");
}

// The program's working set after `copies` 1 MB texts (a full ring: 999).
void MemoryOfLongTexts(int copies) {
  std::printf("Memory after %d copies of 1 MB texts:\n", copies);
  ProgramUnderTest program;
  const HWND window = StartOnSettledClipboard(program);
  if (!window) return;
  const PROCESS_MEMORY_COUNTERS before = MemoryOf(program.process());
  const double start = Now();
  std::string text = LinesOf(1 << 20);
  for (int i = 1; i <= copies; ++i) {
    const std::string number = std::to_string(i) + " ";
    text.replace(0, number.size(), number);
    quill::e2e::CopyText(text);
    if (!Await([&] { return CaptionOf(window) == Counter(i, i); }, kWait)) {
      std::printf("  (copy %d: the window still reads \"%ls\")\n", i, CaptionOf(window).c_str());
      break;
    }
  }
  const PROCESS_MEMORY_COUNTERS after = MemoryOf(program.process());
  char text_before[64], text_after[64];
  std::snprintf(text_before, sizeof text_before, "%.0f MB", before.WorkingSetSize / 1048576.0);
  std::snprintf(text_after, sizeof text_after, "%.0f MB (peak %.0f MB), %.0f s",
                after.WorkingSetSize / 1048576.0, after.PeakWorkingSetSize / 1048576.0,
                (Now() - start) / 1000);
  Row("working set at start", text_before, "");
  Row("working set after the last", text_after, copies == 999 ? "goal <= 150 MB" : "");
  program.CloseDiscarding(window, kWait);
}

// Three copies of a 32 MB text (a large log or table), then a short one.
void LargeTexts() {
  std::printf("A 32 MB text copied three times by another program, then a short one:\n");
  const std::string lines = LinesOf(32u << 20);
  std::vector<std::uint8_t> text(lines.begin(), lines.end() + 1);
  // The floor first, with no program watching the clipboard.
  Figures floor = FloorOf(CF_TEXT, text);
  Row("floor: 32 MB text read and written bare (5)", MedianMax(floor), "");
  ProgramUnderTest program;
  const HWND window = StartOnSettledClipboard(program);
  if (!window) return;
  const PROCESS_MEMORY_COUNTERS before = MemoryOf(program.process());
  for (int i = 1; i <= 3; ++i) {
    text[0] = static_cast<std::uint8_t>('0' + i);
    Row(("32 MB text, copy " + std::to_string(i)).c_str(),
        Ms(CopyAndTime(window, CF_TEXT, text, Counter(i, i))), "goal <= 2000 ms");
  }
  const std::string short_text = "a short text after them";
  Row("short text after them",
      Ms(CopyAndTime(window, CF_TEXT,
                     std::vector<std::uint8_t>(short_text.begin(), short_text.end() + 1),
                     Counter(4, 4))),
      "goal <= 100 ms");
  const PROCESS_MEMORY_COUNTERS after = MemoryOf(program.process());
  char memory[64];
  std::snprintf(memory, sizeof memory, "%.0f -> %.0f MB (peak %.0f MB)",
                before.WorkingSetSize / 1048576.0, after.WorkingSetSize / 1048576.0,
                after.PeakWorkingSetSize / 1048576.0);
  Row("working set", memory, "goal <= 150 MB after");
  program.CloseDiscarding(window, kWait);
}

// A text file of `lines` lines loaded as records through the menu and its
// dialog; the time runs from the dialog's OK to the last record shown.
void LoadLines(int lines) {
  ProgramUnderTest program;
  const HWND window = StartOnSettledClipboard(program);
  if (!window) return;
  std::string file;
  for (int i = 1; i <= lines; ++i) file += "line " + std::to_string(i) + " of a loaded file\r\n";
  const std::wstring path = program.folder() + L"\\lines.txt";
  const HANDLE out =
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(out, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
  ::CloseHandle(out);
  ::SetForegroundWindow(window);
  ::Sleep(200);
  quill::e2e::SendKeys({VK_MENU, 'F'});
  ::Sleep(150);
  quill::e2e::SendKeys({'R'});  // "テキストレコード読み込み(&R)..."
  const HWND dialog = program.WaitForDialog(kWait);
  if (!dialog || !quill::e2e::ChooseFile(dialog, path)) {
    std::printf("  (load: no dialog)\n");
    return;
  }
  // Ended once the counter has stood still for two seconds.
  const double start = Now();
  double changed = start;
  std::wstring last = CaptionOf(window);
  while (Now() - changed < 2000 && Now() - start < 600000) {
    ::Sleep(5);
    const std::wstring caption = CaptionOf(window);
    if (caption != last) {
      last = caption;
      changed = Now();
    }
  }
  const double seconds = (changed - start) / 1000;
  char measured[64];
  std::snprintf(measured, sizeof measured, "%.1f s (%.0f records a second)", seconds,
                lines / seconds);
  Row(("load a text file of " + std::to_string(lines) + " lines as records").c_str(), measured,
      lines == 1000    ? "goal <= 5 s"
      : lines == 10000 ? "goal <= 60 s"
                       : "");
  program.CloseDiscarding(window, kWait);
}

}  // namespace

int main(int argc, char** argv) {
  ::CoInitialize(nullptr);
  const std::string only = argc > 1 ? argv[1] : "";
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring texts = std::wstring(temp) + L"quill-bench-texts.stg";
  const std::wstring ansi = std::wstring(temp) + L"quill-bench-ansi.stg";
  const std::wstring mixed = std::wstring(temp) + L"quill-bench-mixed.stg";
  const std::wstring mixed_4096 = std::wstring(temp) + L"quill-bench-mixed-4096.stg";
  if (only.empty() || only == "open") {
    // Made once and kept in the temporary folder: making them takes longer
    // than the runs.
    const double start = Now();
    struct Sample {
      std::wstring file;
      quill::bench::Mix mix;
      unsigned sectors;
    };
    for (const Sample& sample : {Sample{texts, quill::bench::Mix::kText, 512},
                                 Sample{ansi, quill::bench::Mix::kAnsiText, 512},
                                 Sample{mixed, quill::bench::Mix::kMixed, 512},
                                 Sample{mixed_4096, quill::bench::Mix::kMixed, 4096}}) {
      const std::wstring& file = sample.file;
      if (::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      if (!quill::bench::MakeSampleStorage(file, 999, sample.mix, sample.sectors)) {
        std::printf("cannot make the sample storage %ls\n", file.c_str());
        ::DeleteFileW(file.c_str());
        return 1;
      }
    }
    std::printf("(sample storages ready in %.0f s)\n", (Now() - start) / 1000);
    OpenAndMove(texts, ansi, mixed, mixed_4096);
  }
  // "load N": a file of N lines instead of 1,000 and 10,000.
  if (only.empty() || only == "load") {
    std::printf("Loading a text file as records, one a line:\n");
    if (argc > 2) {
      LoadLines(std::atoi(argv[2]));
    } else {
      LoadLines(1000);
      LoadLines(10000);
    }
  }
  if (only.empty() || only == "capture") Captures();
  if (only.empty() || only == "large") LargeTexts();
  if (only.empty() || only == "burst") Bursts();
  if (only.empty() || only == "holder") BesideAHolder();
  // "memory N": after N copies instead of a full ring.
  if (only.empty() || only == "memory") MemoryOfLongTexts(argc > 2 ? std::atoi(argv[2]) : 999);
  ::CoUninitialize();
  return 0;
}
