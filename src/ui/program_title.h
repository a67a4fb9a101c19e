#pragma once
// The program's name as the user sees it: the main window's caption and
// the caption of the program's message boxes.

namespace quill::ui {

inline constexpr wchar_t kProgramTitle[] = L"Quilleteer";

}  // namespace quill::ui
