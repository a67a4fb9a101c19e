// The program's main block: the application, its main window, the loop.
#include <windows.h>

#include "framework/application.h"
#include "ui/main_form.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show_command) {
  quill::framework::Application application;
  if (!application.Initialize(L"Quilleteer")) return 1;
  quill::ui::TFQuillet main_form;
  if (!main_form.Create()) return 1;
  // Without a storage to record into there is nothing to do: end quietly.
  if (!main_form.HasStorage()) return 0;
  main_form.Show(show_command);
  return application.Run();
}
