#include "ui/main_form.h"

#include <objbase.h>
#include <shellapi.h>

#include "framework/application.h"
#include "framework/dpi.h"
#include "res/resource.h"
#include "ui/capture_commands.h"
#include "ui/code_page.h"
#include "ui/file_commands.h"
#include "ui/program_title.h"
#include "ui/record_finder.h"
#include "ui/record_view.h"
#include "ui/settings_pages.h"
#include "ui/window_modes.h"
#include "win32/error_boundary.h"

namespace quill::ui {

// OLE for the GUI thread, ended only if it was started.
class OleSession {
 public:
  OleSession() : started_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleSession() {
    if (started_) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool started_;
};

namespace {

constexpr wchar_t kClassName[] = L"TFQuillet";
// Where the window opens until the stored bounds are read.
constexpr framework::Box kDefaultBounds = {100, 80, 380, 440};

std::u16string ExecutableFolder() {
  std::wstring path(32768, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return ToU16(path.substr(0, path.find_last_of(L'\\') + 1));
}

}  // namespace

TFQuillet::TFQuillet(const core::RecorderServices& services, platform::Screen& screen,
                     platform::Shell& shell)
    : services_(services), screen_(screen), shell_(shell) {}

TFQuillet::~TFQuillet() {
  // The recorder leaves the viewer chain (where the window still takes
  // part) and releases its storage before OLE ends; the window goes
  // before the image lists and icons it draws with. A pending capture is
  // given up first: it would record into the recorder.
  framework::Application::SetAccelerators(nullptr, nullptr);
  modes_.reset();
  captures_.reset();
  files_.reset();
  recorder_.reset();
  view_.reset();
  DestroyWindowNow();
  ole_.reset();
}

bool TFQuillet::Create() {
  const framework::Box bounds =
      framework::Resized(kDefaultBounds, framework::kDesignDpi, framework::DpiOf(nullptr));
  if (!CreateTopLevel(kClassName, kProgramTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, bounds,
                      reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
    return false;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  // The icon file holds the sizes a scaled screen's title bar and task bar ask for.
  const int large = framework::Scaled(32, dpi()), small = framework::Scaled(16, dpi());
  icon_large_.reset(static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLETEER), IMAGE_ICON, large, large, 0)));
  icon_small_.reset(static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_QUILLETEER), IMAGE_ICON, small, small, 0)));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_large_.get()));
  ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_.get()));
  SetFont(L"ＭＳ Ｐゴシック", SHIFTJIS_CHARSET, 12);
  win32::SetErrorTitle(kProgramTitle);
  FormCreate();
  return true;
}

void TFQuillet::Show(int show_command) {
  ::ShowWindow(hwnd(), show_command);
  ::UpdateWindow(hwnd());
}

void TFQuillet::FormCreate() {
  ole_ = std::make_unique<OleSession>();
  const auto run = [this](std::function<void()> command) { Run(command); };
  view_ = std::make_unique<RecordView>(
      RecordView::Parts{{*this, c_, services_.clipboard, run}, [this](const std::wstring& counter) {
                          if (modes_) modes_->SetTip(counter);
                        }});
  recorder_ = std::make_unique<core::Recorder>(
      services_, reinterpret_cast<platform::WindowId>(hwnd()), ExecutableFolder(), *view_,
      core::FormatFilter(ToAnsi(kFilterAll), ToAnsi(kFilterOther)));
  view_->Attach(*recorder_);
  BuildControls();
  captures_ = std::make_unique<CaptureCommands>(CaptureCommands::Parts{
      *this, capture::CaptureServices{screen_, services_.clipboard, services_.dialogs, *recorder_},
      services_.clock, *c_.DelayEdit, *c_.ExpandRG, run});
  finder_ = std::make_unique<RecordFinder>(*this, *recorder_, *c_.ListView, services_.dialogs, run);
  BuildMenus();
  LayOut();
  modes_ = std::make_unique<WindowModes>(
      WindowModes::Parts{*this, screen_, shell_, icon_small_.get(), *c_.PositionRG, *c_.ToolBar1,
                         *c_.StatusBar, [this] { FormActivate(); }});
  settings_ = std::make_unique<SettingsPages>(*this, c_, *recorder_, *modes_);
  files_ = std::make_unique<FileCommands>(FileCommands::Parts{
      *this, c_, view_->preview(), services_, *recorder_, screen_, shell_, *view_, close_, run});
  view_->SetExportEnabled(false);
  // The controls are scaled by then; what the window keeps in pixels
  // follows them.
  Handle(WM_DPICHANGED, [this](WPARAM, LPARAM) {
    OnDpiChanged();
    return LRESULT{0};
  });
  HandleRecorderMessages();
  recorder_->FormCreate();
  ::DragAcceptFiles(hwnd(), TRUE);
}

void TFQuillet::FormActivate() { recorder_->FormActivate(c_.WatchRG->ItemIndex() == 0); }

bool TFQuillet::FormClose() {
  view_->ShowCaptured();
  if (!recorder_->FormClose()) return false;
  // The storage is closed: a pending capture must not fire any more, and
  // the selection windows go with their classes.
  captures_->Close();
  ole_.reset();
  modes_->RemoveTaskTray();
  return true;
}

LRESULT TFQuillet::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (!recorder_) return Form::OnMessage(message, wparam, lparam);  // still being created
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) FormActivate();
      break;
    case WM_KEYDOWN:
      MoveKeyDown(wparam);
      return 0;
    case WM_CLOSE:
      // A text load or a drop delivers messages between its steps: it
      // stops after the current one and closes the window then. A storage
      // load finishes first.
      if (files_->Busy() || view_->ListFilling()) {
        close_.Ask();
        return 0;
      }
      // The window stays until the settings have been taken from it.
      if (FormClose()) {
        ::ShowWindow(hwnd(), SW_HIDE);
        framework::Application::Terminate();
      }
      return 0;
  }
  return Form::OnMessage(message, wparam, lparam);
}

void TFQuillet::HandleRecorderMessages() {
  const auto handle = [this](UINT message, std::function<void(WPARAM, LPARAM)> handler) {
    Handle(message, [handler](WPARAM wparam, LPARAM lparam) {
      handler(wparam, lparam);
      return LRESULT{0};
    });
  };
  handle(WM_DRAWCLIPBOARD,
         [this](WPARAM wparam, LPARAM lparam) { recorder_->WMDrawClipboard(wparam, lparam); });
  handle(WM_CHANGECBCHAIN, [this](WPARAM wparam, LPARAM lparam) {
    recorder_->WMChangeCBChain(wparam, static_cast<platform::WindowId>(lparam));
  });
  handle(WM_CLIPBOARDUPDATE, [this](WPARAM, LPARAM) { recorder_->WMClipboardUpdate(); });
  handle(core::WM_CAPTURECLIP,
         [this](WPARAM, LPARAM) { Run([this] { view_->CaptureClip(); }, false); });
  handle(WM_RENDERFORMAT, [this](WPARAM, LPARAM) {
    // Only a paste the user is making right now gets the record.
    const bool held =
        (::GetAsyncKeyState(VK_CONTROL) & 0x8000) && (::GetAsyncKeyState('V') & 0x8000);
    // The clipboard is open for the paste: the preview cannot read it now.
    Run([this, held] { recorder_->WMRenderFormat(held); }, false);
  });
  handle(core::WM_LINKNEXT, [this](WPARAM, LPARAM) { Run([this] { recorder_->WMLinkNext(); }); });
  HandleTimer(RecordView::kShowCapturedTimer,
              [this] { Run([this] { view_->ShowCapturedWhenDue(); }, false); });
  HandleTimer(RecordView::kRetryCaptureTimer, [this] {
    ::KillTimer(hwnd(), RecordView::kRetryCaptureTimer);
    Run([this] { view_->CaptureClip(); }, false);
  });
}

void TFQuillet::Run(const std::function<void()>& command, bool show_captured_first) {
  // A storage being loaded answers messages but takes no command: the
  // records are not all there yet.
  if (view_->ListFilling()) return;
  win32::GuardCommand(hwnd(), [&] {
    if (show_captured_first) view_->ShowCaptured();
    command();
  });
}

}  // namespace quill::ui
