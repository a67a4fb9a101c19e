// The program's main block: the application, its main window, the loop,
// and the settings read before and written after it.
#include <windows.h>

#include "framework/application.h"
#include "platform/win32/win32_settings.h"
#include "ui/main_form.h"
#include "ui/program_title.h"
#include "ui/settings_pages.h"
#include "ui/system_services.h"
#include "ui/window_modes.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  quill::framework::Application application;
  if (!application.Initialize(quill::ui::kProgramTitle)) return 1;
  // The services outlive the window that works through them.
  quill::ui::SystemServices system;
  quill::ui::TFQuillet main_form(system.All(), system.screen, system.shell);
  if (!main_form.Create()) return 1;
  system.dialogs.SetOwner(reinterpret_cast<quill::platform::WindowId>(main_form.hwnd()));
  // Without a storage to record into there is nothing to do: end quietly.
  if (!main_form.HasStorage()) return 0;
  quill::platform::Win32Settings settings(u"Software\\Marlowin\\Quilleteer", u"Setting");
  main_form.settings().ReadIni(settings);
  // Started in the notification area, the window stays hidden.
  if (!main_form.modes().InTray())
    main_form.Show(main_form.modes().MiniMode() ? SW_SHOWNORMAL : show_command);
  const int exit_code = application.Run();
  main_form.settings().WriteIni(settings);
  return exit_code;
}
