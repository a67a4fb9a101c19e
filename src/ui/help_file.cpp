#include "ui/help_file.h"

namespace quill::ui {
namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x12;   // HH_CLOSE_ALL

std::string ExecutableFolderAnsi() {
  std::string path(MAX_PATH, '\0');
  path.resize(::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of('\\') + 1);
}

}  // namespace

HelpFile::~HelpFile() {
  if (!library_) return;
  // The viewer's windows run on this thread: they go before its code.
  if (html_help_) html_help_(nullptr, nullptr, kCloseAll, 0);
  ::FreeLibrary(library_);
}

void HelpFile::ShowContents() {
  name_ = ExecutableFolderAnsi() + "Quillet.chm";
  if (!tried_) {
    tried_ = true;
    library_ = ::LoadLibraryW(L"hhctrl.ocx");
    if (library_)
      html_help_ = reinterpret_cast<HtmlHelpFunction>(
          reinterpret_cast<void*>(::GetProcAddress(library_, "HtmlHelpA")));
  }
  if (html_help_) html_help_(nullptr, name_.c_str(), kDisplayTopic, 0);
}

}  // namespace quill::ui
