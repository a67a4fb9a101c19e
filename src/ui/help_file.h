#pragma once
// The help file "Quillet.chm" beside the executable, opened through
// HtmlHelpA from "hhctrl.ocx", which is loaded the first time it is needed.
#include <windows.h>

#include <string>

namespace quill::ui {

class HelpFile {
 public:
  HelpFile() = default;
  ~HelpFile();
  HelpFile(const HelpFile&) = delete;
  HelpFile& operator=(const HelpFile&) = delete;

  // Opens the help file's contents; nothing happens when the viewer
  // cannot be loaded.
  void ShowContents();
  // The application's help file: "Quillet.hlp" until the first use.
  const std::string& name() const { return name_; }

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  std::string name_ = "Quillet.hlp";
  HMODULE library_ = nullptr;
  HtmlHelpFunction html_help_ = nullptr;
  bool tried_ = false;
};

}  // namespace quill::ui
