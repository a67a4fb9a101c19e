#pragma once
// The mouse as a hand moves it over another process's window: controls
// found by class, rectangles read from the control itself, real input.
#include <windows.h>

namespace quill::e2e {

// The first shown child of `parent` (at any depth) of that class, or
// nullptr: what a hand can reach (the settings pages' list is not).
HWND ChildOfClass(HWND parent, const wchar_t* class_name);
// A rectangle a control of another process fills in (a tool bar button, a
// list row: LVM_GETITEMRECT with `left` as its code), read through memory
// of that process, in screen coordinates.
RECT RemoteRect(HANDLE process, HWND control, UINT message, WPARAM wparam, LONG left);
// Moves the pointer to the middle of `r` and lets the window see it.
void PointAt(const RECT& r);
void Click();
void ClickIn(const RECT& r);
// Presses the left button over `from`, moves to `to` and lets go there.
void Drag(const RECT& from, const RECT& to);

}  // namespace quill::e2e
