#pragma once
// Screenshots of windows, for people to look at: saved as bitmap files in
// the "screens" folder beside the test program.
#include <windows.h>

#include <string>

namespace quill::ui {

bool SaveWindowShot(HWND window, const std::wstring& file_name);
// What the screen shows in `area`, menus open over the window included.
bool SaveScreenShot(const RECT& area, const std::wstring& file_name);

}  // namespace quill::ui
